#include "runtime/gc.h"

#include <cstdio>
#include <cstdlib>
#include <new>
#include <vector>

namespace {

// A list is a circular doubly linked ring through a sentinel node.
struct GcList {
    gc_node head;
    constexpr GcList() : head{&head, &head} {}
    bool Empty() const { return head.gc_next == &head; }
    gc_object* First() { return static_cast<gc_object*>(head.gc_next); }
    gc_object* Last() { return static_cast<gc_object*>(head.gc_prev); }

    void PushBack(gc_node* p) {
        p->gc_prev = head.gc_prev;
        p->gc_next = &head;
        head.gc_prev->gc_next = p;
        head.gc_prev = p;
    }
    // Moves every node of other to the end of this list.
    void Splice(GcList& other) {
        if (other.Empty()) return;
        gc_node* first = other.head.gc_next;
        gc_node* last = other.head.gc_prev;
        first->gc_prev = head.gc_prev;
        head.gc_prev->gc_next = first;
        last->gc_next = &head;
        head.gc_prev = last;
        other.head.gc_next = other.head.gc_prev = &other.head;
    }
    bool Contains(const void* p) const {
        for (const gc_node* o = head.gc_next; o != &head; o = o->gc_next)
            if (static_cast<const gc_object*>(o) == p) return true;
        return false;
    }
    int Count() const {
        int n = 0;
        for (const gc_node* o = head.gc_next; o != &head; o = o->gc_next) ++n;
        return n;
    }
};

void Unlink(gc_node* p) {
    p->gc_prev->gc_next = p->gc_next;
    p->gc_next->gc_prev = p->gc_prev;
}

struct FreeBlock {
    FreeBlock* next;
};

struct Collector {
    GcList white, grey, deferred, black, dead;
    int markDepth = 0;  // Mark operations running, one inside the other
    int markBit = 1;
    int allocatedBytes = 0;
    int markedBytes = 0;
    int markCount = 0;
    int deadBytes = 0;
    int allocatedAfterSweep = 0;
    bool force = false;
    long long sweeps = 0;
    long long destroyed = 0;
    FreeBlock* pools[gc::kMaxPooled / 8 + 1] = {};
    // Blocks handed out by Allocate whose constructor has not run yet; more
    // than one when a new-expression's arguments allocate too. Made on first
    // use, since not every standard library can build a vector at compile
    // time.
    std::vector<std::pair<void*, int>>* pending = nullptr;
};

// Constant-initialised, so it is ready before any static constructor
// allocates, and never destroyed: objects may still be alive when statics
// are torn down.
union CollectorStorage {
    Collector c;
    constexpr CollectorStorage() : c() {}
    ~CollectorStorage() {}
};
constinit CollectorStorage gCollector;

Collector& C() { return gCollector.c; }

std::vector<std::pair<void*, int>>& Pending() {
    Collector& c = C();
    if (!c.pending) c.pending = new std::vector<std::pair<void*, int>>;
    return *c.pending;
}

std::vector<GcRoot*>& Roots() {
    static auto* roots = new std::vector<GcRoot*>;
    return *roots;
}

int SizeOf(const gc_object* p) { return p->gc_flags & ~7; }
bool IsWhite(const Collector& c, const gc_object* p) {
    return (p->gc_flags & (3 | gc::kPermanent)) == c.markBit;
}

// Removes block from the pending list; returns its size or -1.
int TakePending(const void* block) {
    auto& pending = Pending();
    for (size_t i = pending.size(); i-- > 0;) {
        if (pending[i].first == block) {
            int size = pending[i].second;
            pending.erase(pending.begin() + static_cast<long>(i));
            return size;
        }
    }
    return -1;
}

void ReturnBlock(void* block, int size) {
    if (size <= gc::kMaxPooled) {
        auto* b = static_cast<FreeBlock*>(block);
        b->next = C().pools[size / 8];
        C().pools[size / 8] = b;
    } else {
        std::free(block);
    }
}

void Destroy(gc_object* p) {
    int size = SizeOf(p);
    p->~gc_object();
    C().deadBytes -= size;
    ++C().destroyed;
    ReturnBlock(p, size);
}

// Counts a reached object, whose colour is already flipped, as marked.
void CountMarked(Collector& c, gc_object* p, GcList& into) {
    Unlink(p);
    into.PushBack(p);
    c.markedBytes += SizeOf(p);
    ++c.markCount;
}

void RunMark(Collector& c, gc_object* p) {
    ++c.markDepth;
    p->Mark();
    --c.markDepth;
}

// Newest first, so a long chain keeps the list short.
void ScanDeferred(Collector& c) {
    while (!c.deferred.Empty()) {
        gc_object* p = c.deferred.Last();
        Unlink(p);
        c.black.PushBack(p);
        RunMark(c, p);
    }
}

// Marks what p references at once, while p is still in the cache; the
// outermost mark also empties the deferred list before it returns.
void Scan(Collector& c, gc_object* p) {
    RunMark(c, p);
    if (c.markDepth == 0) ScanDeferred(c);
}

void Sweep() {
    Collector& c = C();
    if (c.allocatedBytes != c.markedBytes) {
        c.dead.Splice(c.white);
        c.deadBytes += c.allocatedBytes - c.markedBytes;
    }
    c.markBit ^= 1;
    c.white.Splice(c.black);
    c.allocatedBytes = c.markedBytes;
    c.markedBytes = 0;
    c.markCount = 0;
    ++c.sweeps;
}

}  // namespace

gc_object::gc_object() {
    Collector& c = C();
    int size = TakePending(this);
    if (size < 0) {
        gc_next = gc_prev = this;
        gc_flags = gc::kPermanent;
        return;
    }
    gc_flags = size | c.markBit;
    c.white.PushBack(this);
}

void* gc_object::operator new(std::size_t size) { return gc::Allocate(size); }

void gc_object::operator delete(void* p) {
    // Only reached when a new-expression throws.
    int size = TakePending(p);
    if (size < 0) {
        auto* o = static_cast<gc_object*>(p);
        size = SizeOf(o);
        Unlink(o);
    }
    C().allocatedBytes -= size;
    ReturnBlock(p, size);
}

GcRoot::GcRoot() { Roots().push_back(this); }

GcRoot::~GcRoot() {
    auto& roots = Roots();
    for (size_t i = 0; i < roots.size(); ++i) {
        if (roots[i] == this) {
            roots.erase(roots.begin() + static_cast<long>(i));
            break;
        }
    }
}

namespace gc {

void Init() {
    Collector& c = C();
    c.markBit = 1;
    c.allocatedBytes = c.markedBytes = c.markCount = 0;
    c.deadBytes = c.allocatedAfterSweep = 0;
    c.force = false;
}

void* Allocate(std::size_t requested) {
    Collector& c = C();
    int size = static_cast<int>((requested + 7) & ~static_cast<std::size_t>(7));
    Release(size);
    void* p = nullptr;
    if (size <= kMaxPooled && c.pools[size / 8]) {
        FreeBlock* block = c.pools[size / 8];
        c.pools[size / 8] = block->next;
        p = block;
    } else {
        p = std::malloc(static_cast<std::size_t>(size));
        if (!p) throw std::bad_alloc();
    }
    Pending().emplace_back(p, size);
    c.allocatedBytes += size;
    return p;
}

void Enqueue(gc_object* p) {
    if (!p) return;
    Collector& c = C();
    if (!IsWhite(c, p)) return;
    p->gc_flags ^= 1;
    Unlink(p);
    c.grey.PushBack(p);
}

void Mark(gc_object* p) {
    if (!p) return;
    Collector& c = C();
    if (!IsWhite(c, p)) return;
    p->gc_flags ^= 1;
    if (c.markDepth >= gc::kMaxMarkDepth) {
        CountMarked(c, p, c.deferred);
        return;
    }
    CountMarked(c, p, c.black);
    Scan(c, p);
}

void MarkRoots() {
    for (GcRoot* r : Roots()) r->EnqueueRoot();
}

void CollectStep() {
    Collector& c = C();
    int sinceSweep = c.allocatedBytes - c.allocatedAfterSweep;
    bool full = c.force || sinceSweep > kFullThreshold;
    int budget = c.markCount + kMarkBudget;
    while (!c.grey.Empty() && (full || c.markCount < budget)) {
        gc_object* p = c.grey.First();
        CountMarked(c, p, c.black);
        Scan(c, p);
    }
    if (!(full || (sinceSweep > kSweepThreshold && c.grey.Empty()))) return;
    Sweep();
    MarkRoots();
    if (c.force) {
        Release(c.deadBytes);
        c.force = false;
    }
    c.allocatedAfterSweep = c.allocatedBytes;
}

void Release(int bytes) {
    Collector& c = C();
    int start = c.deadBytes;
    int target = start - bytes > 0 ? start - bytes : 0;
    while (c.deadBytes > target) {
        if (c.dead.Empty()) {
            std::printf("ERROR:p=%p gc_free_bytes=%i\n", static_cast<void*>(c.dead.head.gc_next),
                        c.deadBytes);
            std::fflush(stdout);
            c.deadBytes = 0;
            return;
        }
        gc_object* p = c.dead.First();
        Unlink(p);
        Destroy(p);
    }
}

void SetForce() { C().force = true; }

Stats GetStats() {
    const Collector& c = C();
    return Stats{c.allocatedBytes, c.markedBytes, c.markCount, c.deadBytes,
                 c.allocatedAfterSweep, c.markBit, c.force, c.sweeps, c.destroyed};
}

bool IsLive(const void* p) {
    const Collector& c = C();
    return p && (c.white.Contains(p) || c.grey.Contains(p) || c.deferred.Contains(p) || c.black.Contains(p));
}

int LiveCount() {
    const Collector& c = C();
    return c.white.Count() + c.grey.Count() + c.deferred.Count() + c.black.Count();
}

int PoolCount(int size) {
    if (size < 8 || size > kMaxPooled || size % 8) return 0;
    int n = 0;
    for (FreeBlock* b = C().pools[size / 8]; b; b = b->next) ++n;
    return n;
}

}  // namespace gc
