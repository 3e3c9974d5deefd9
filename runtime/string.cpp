#include "runtime/string.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwctype>
#include <string>
#include <utility>
#include <vector>

#include "runtime/array.h"
#include "runtime/recent_lines.h"

String::Rep* String::EmptyRep() {
    // Never written: Retain and Drop leave length-0 representations alone.
    static const Rep empty{0, 0, {0}};
    return const_cast<Rep*>(&empty);
}

String::Rep* String::Alloc(int length) {
    if (length <= 0) return EmptyRep();
    std::size_t bytes = offsetof(Rep, units) + sizeof(char16_t) * static_cast<std::size_t>(length);
    auto* rep = static_cast<Rep*>(std::malloc(bytes));
    rep->refs = 1;
    rep->length = length;
    return rep;
}

void String::Drop() {
    if (rep_->length != 0 && --rep_->refs == 0) std::free(rep_);
}

String::String(const char* text) {
    int n = static_cast<int>(std::strlen(text));
    rep_ = Alloc(n);
    for (int i = 0; i < n; ++i) rep_->units[i] = static_cast<unsigned char>(text[i]);
}

String::String(const char16_t* units, int length) : rep_(Alloc(length)) {
    if (length > 0) std::memcpy(rep_->units, units, sizeof(char16_t) * static_cast<std::size_t>(length));
}

String& String::operator=(const String& o) {
    if (rep_ != o.rep_) {
        if (o.rep_->length != 0) ++o.rep_->refs;
        Drop();
        rep_ = o.rep_;
    }
    return *this;
}

String& String::operator=(String&& o) noexcept {
    if (this != &o) {
        Drop();
        rep_ = o.rep_;
        o.rep_ = EmptyRep();
    }
    return *this;
}

String String::FromInt(int value) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%i", value);
    return String(buf);
}

String String::FromFloat(double value) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.17lg", value);
    if (!std::strchr(buf, '.') && !std::strchr(buf, 'e')) std::strcat(buf, ".0");
    return String(buf);
}

String String::FromChar(int unit) {
    char16_t u = static_cast<char16_t>(unit);
    return String(&u, 1);
}

namespace {

String FromUtf16(const unsigned char* p, std::size_t count, bool bigEndian) {
    std::size_t n = count / 2;
    std::vector<char16_t> units(n);
    for (std::size_t i = 0; i < n; ++i) {
        unsigned hi = p[2 * i + (bigEndian ? 0 : 1)], lo = p[2 * i + (bigEndian ? 1 : 0)];
        units[i] = static_cast<char16_t>(hi << 8 | lo);
    }
    return String(units.data(), static_cast<int>(n));
}

// Decodes UTF-8 into out; false on any invalid or cut-off sequence.
bool DecodeUtf8(const unsigned char* p, std::size_t count, std::vector<char16_t>& out) {
    out.reserve(count);
    std::size_t i = 0;
    while (i < count) {
        unsigned c = p[i++];
        int extra;
        if (c < 0x80) {
            out.push_back(static_cast<char16_t>(c));
            continue;
        } else if ((c & 0xE0) == 0xC0) {
            extra = 1;
            c &= 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            extra = 2;
            c &= 0x0F;
        } else {
            return false;
        }
        if (count - i < static_cast<std::size_t>(extra)) return false;
        for (int k = 0; k < extra; ++k) {
            unsigned t = p[i++];
            if ((t & 0xC0) != 0x80) return false;
            c = c << 6 | (t & 0x3F);
        }
        out.push_back(static_cast<char16_t>(c));
    }
    return true;
}

}  // namespace

String String::Decode(const unsigned char* p, std::size_t count) {
    if (count >= 2 && p[0] == 0xFE && p[1] == 0xFF) return FromUtf16(p + 2, count - 2, true);
    if (count >= 2 && p[0] == 0xFF && p[1] == 0xFE) return FromUtf16(p + 2, count - 2, false);
    if (count >= 3 && p[0] == 0xEF && p[1] == 0xBB && p[2] == 0xBF) {
        p += 3;
        count -= 3;
    }
    std::vector<char16_t> units;
    if (!DecodeUtf8(p, count, units)) {
        std::fputs("Invalid UTF-8!\n", stdout);
        std::fflush(stdout);
        units.assign(p, p + count);
    }
    return String(units.data(), static_cast<int>(units.size()));
}

String String::operator+(const String& o) const {
    if (o.Empty()) return *this;
    if (Empty()) return o;
    Rep* r = Alloc(Length() + o.Length());
    std::memcpy(r->units, Data(), sizeof(char16_t) * static_cast<std::size_t>(Length()));
    std::memcpy(r->units + Length(), o.Data(), sizeof(char16_t) * static_cast<std::size_t>(o.Length()));
    return String(r);
}

String operator+(const char* a, const String& b) { return String(a) + b; }

bool String::operator==(const String& o) const {
    if (rep_ == o.rep_) return true;
    return Length() == o.Length() &&
           std::memcmp(Data(), o.Data(), sizeof(char16_t) * static_cast<std::size_t>(Length())) == 0;
}

int String::Compare(const String& o) const {
    int n = Length() < o.Length() ? Length() : o.Length();
    for (int i = 0; i < n; ++i) {
        int d = int((*this)[i]) - int(o[i]);
        if (d) return d;
    }
    return Length() - o.Length();
}

int String::Find(const String& needle, int start) const {
    if (start < 0) start = 0;
    int n = needle.Length();
    for (int i = start; i + n <= Length(); ++i) {
        if (std::memcmp(Data() + i, needle.Data(), sizeof(char16_t) * static_cast<std::size_t>(n)) == 0)
            return i;
    }
    return -1;
}

bool String::StartsWith(const String& prefix) const {
    int n = prefix.Length();
    return n <= Length() &&
           std::memcmp(Data(), prefix.Data(), sizeof(char16_t) * static_cast<std::size_t>(n)) == 0;
}

bool String::EndsWith(const String& suffix) const {
    int n = suffix.Length();
    return n <= Length() && std::memcmp(Data() + Length() - n, suffix.Data(),
                                        sizeof(char16_t) * static_cast<std::size_t>(n)) == 0;
}

String String::Slice(int from, int to) const {
    int len = Length();
    if (from < 0) {
        from += len;
        if (from < 0) from = 0;
    } else if (from > len) {
        from = len;
    }
    if (to < 0) {
        to += len;
    } else if (to > len) {
        to = len;
    }
    if (to <= from) return String();
    if (from == 0 && to == len) return *this;
    return String(Data() + from, to - from);
}

Array<String> String::Split(const String& sep) const {
    if (sep.Empty()) {
        Array<String> out(Length());
        for (int i = 0; i < Length(); ++i) out[i] = String(Data() + i, 1);
        return out;
    }
    int pieces = 1;
    for (int i = Find(sep); i != -1; i = Find(sep, i + sep.Length())) ++pieces;
    Array<String> out(pieces);
    if (pieces == 1) {
        out[0] = *this;
        return out;
    }
    int begin = 0;
    for (int k = 0; k < pieces - 1; ++k) {
        int at = Find(sep, begin);
        out[k] = Slice(begin, at);
        begin = at + sep.Length();
    }
    out[pieces - 1] = Slice(begin);
    return out;
}

String String::ToLower() const {
    for (int i = 0; i < Length(); ++i) {
        char16_t c = Data()[i];
        if (static_cast<char16_t>(std::towlower(c)) == c) continue;
        Rep* r = Alloc(Length());
        for (int k = 0; k < Length(); ++k) r->units[k] = static_cast<char16_t>(std::towlower(Data()[k]));
        return String(r);
    }
    return *this;
}

int String::ToInt() const {
    std::string narrow = ToNarrow();
    long long v = std::strtoll(narrow.c_str(), nullptr, 10);  // saturates on overflow
    if (v > INT_MAX) return INT_MAX;
    if (v < INT_MIN) return INT_MIN;
    return static_cast<int>(v);
}

std::string String::ToUtf8() const {
    std::string out;
    out.reserve(static_cast<std::size_t>(Length()));
    for (int i = 0; i < Length(); ++i) {
        unsigned c = Data()[i];
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | c >> 6);
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | c >> 12);
            out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::string String::ToNarrow() const {
    std::string out(static_cast<std::size_t>(Length()), '\0');
    for (int i = 0; i < Length(); ++i) out[static_cast<std::size_t>(i)] = static_cast<char>(Data()[i]);
    return out;
}

namespace {
void WriteLine(std::string line) {
    line += '\n';
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fflush(stdout);
}
}  // namespace

void PrintUnrecorded(const String& text) { WriteLine(text.ToNarrow()); }

void Print(const String& text) {
    std::string line = text.ToNarrow();
    RecordPrintedText(line.data(), line.size());
    WriteLine(std::move(line));
}
