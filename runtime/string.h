// String: immutable, reference-counted UTF-16 text. Not a collected object.
// One shared empty representation serves every empty String and is never
// freed; operations whose result equals an operand return that operand.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

template <class T>
class Array;

class String {
public:
    String() : rep_(EmptyRep()) {}
    // 8-bit text: one unit per byte (used for plain ASCII literals).
    String(const char* text);
    String(const char16_t* units, int length);
    String(const String& o) : rep_(o.rep_) { Retain(); }
    String(String&& o) noexcept : rep_(o.rep_) { o.rep_ = EmptyRep(); }
    ~String() { Drop(); }
    String& operator=(const String& o);
    String& operator=(String&& o) noexcept;

    static String FromInt(int value);
    // "%.17lg" of the value, with ".0" appended when neither "." nor "e" shows.
    static String FromFloat(double value);
    static String FromChar(int unit);
    // File contents: UTF-16 with a byte-order mark, else UTF-8 (mark skipped);
    // invalid UTF-8 prints "Invalid UTF-8!" and falls back to one unit a byte.
    static String Decode(const unsigned char* bytes, std::size_t count);

    int Length() const { return rep_->length; }
    // No bounds test, as with arrays.
    int operator[](int i) const { return rep_->units[i]; }
    const char16_t* Data() const { return rep_->units; }
    bool Empty() const { return rep_->length == 0; }
    // True when both handles share one representation (no copy was made).
    bool SameAs(const String& o) const { return rep_ == o.rep_; }

    String operator+(const String& o) const;
    String& operator+=(const String& o) { return *this = *this + o; }
    bool operator==(const String& o) const;
    bool operator!=(const String& o) const { return !(*this == o); }
    // Code-unit order, then length.
    int Compare(const String& o) const;
    bool operator<(const String& o) const { return Compare(o) < 0; }

    int Find(const String& needle, int start = 0) const;
    bool Contains(const String& needle) const { return Find(needle) >= 0; }
    bool StartsWith(const String& prefix) const;
    bool EndsWith(const String& suffix) const;
    String Slice(int from) const { return Slice(from, Length()); }
    String Slice(int from, int to) const;
    Array<String> Split(const String& separator) const;
    String ToLower() const;
    // Low byte of each unit, then a decimal parse clamped to the int range.
    int ToInt() const;

    std::string ToUtf8() const;
    // Each unit narrowed to its low byte.
    std::string ToNarrow() const;

private:
    struct Rep {
        int refs;
        int length;
        char16_t units[1];
    };
    explicit String(Rep* rep) : rep_(rep) {}
    static Rep* EmptyRep();
    static Rep* Alloc(int length);
    void Retain() {
        if (rep_->length != 0) ++rep_->refs;
    }
    void Drop();

    Rep* rep_;
};

String operator+(const char* a, const String& b);

// One line to standard output (low byte of each unit), then a flush. The
// line is also kept among the recent lines that a crash report shows.
void Print(const String& text);
// Print for text that must never reach a crash report (the saved record).
void PrintUnrecorded(const String& text);
