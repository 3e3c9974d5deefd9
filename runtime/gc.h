// Incremental tri-colour mark-and-sweep collector.
//
// Invariants:
// - Every collected object is in exactly one list: white, grey, deferred,
//   black or dead.
// - An object is white when (flags & 3) == markBit; marking flips bit 0.
// - No black object points to a white one that is not also queued grey: every
//   store of a reference goes through gc_enqueue (see Ref<T> in ref.h), which
//   greys the stored value.
// - Marking is bounded in depth, whatever the shape of the graph: gc_mark
//   runs an object's Mark at once (while the object is still in the cache)
//   up to kMaxMarkDepth levels deep; an object reached deeper is counted as
//   marked and waits in the deferred list, which the outermost mark empties
//   before it returns. The deferred list is empty whenever application code
//   runs.
// - Steps run only between host events, so locals are never roots: the roots
//   are the registered globals (GcRoot), enqueued at start and after a sweep.
// - Dead objects are destroyed lazily: each allocation first releases garbage
//   of its own size; a forced step releases it all.
// - The header is written by gc_object's constructor: a block handed out by
//   gc::Allocate joins the white list there. A gc_object made any other way
//   (a static, a local in a test) is permanent: never enqueued, marked or
//   destroyed.
#pragma once
#include <cstddef>
#include <cstdint>

// The links every collected object carries; also the sentinel of each list.
struct gc_node {
    gc_node* gc_next;
    gc_node* gc_prev;
};

struct gc_object : gc_node {
    int gc_flags;  // allocated size (multiple of 8) | colour in bits 0..1

    gc_object();
    gc_object(const gc_object&) = delete;
    gc_object& operator=(const gc_object&) = delete;
    virtual ~gc_object() = default;
    // Marks every object and array this one references (gc_mark on each).
    virtual void Mark() {}

    static void* operator new(std::size_t size);
    // Objects are destroyed only by the collector; this exists so that a
    // constructor that throws gives its block back.
    static void operator delete(void* p);
};

// A global that holds references. It registers itself on construction and
// is enqueued at start and after every sweep.
class GcRoot {
public:
    GcRoot();
    virtual ~GcRoot();
    GcRoot(const GcRoot&) = delete;
    GcRoot& operator=(const GcRoot&) = delete;
    virtual void EnqueueRoot() = 0;
};

namespace gc {

constexpr int kMarkBudget = 2500;
constexpr int kMaxMarkDepth = 64;
constexpr int kSweepThreshold = 4 * 1024 * 1024;
constexpr int kFullThreshold = 64 * 1024 * 1024;
constexpr int kMaxPooled = 56;
constexpr int kPermanent = 4;  // flag bit; sizes are multiples of 8

struct Stats {
    int allocatedBytes;
    int markedBytes;
    int markCount;
    int deadBytes;
    int allocatedAfterSweep;
    int markBit;
    bool forceFlag;
    long long sweeps;
    long long destroyed;
};

void Init();
void* Allocate(std::size_t size);
void Enqueue(gc_object* p);
void Mark(gc_object* p);
void CollectStep();
void MarkRoots();
void SetForce();
void Release(int bytes);
Stats GetStats();
// True when p is a live collected object (in the white, grey, deferred or
// black list).
bool IsLive(const void* p);
// Number of objects in the white, grey, deferred and black lists (for tests
// and the debug read-out).
int LiveCount();
// Blocks waiting in the pool for the given rounded size (8..56).
int PoolCount(int size);

}  // namespace gc

inline void gc_enqueue(gc_object* p) { gc::Enqueue(p); }
inline void gc_mark(gc_object* p) { gc::Mark(p); }
