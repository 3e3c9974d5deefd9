#include <gtest/gtest.h>

#include <random>
#include <set>
#include <vector>

#include "runtime/object.h"

namespace {

// Tracks which nodes exist, so tests can tell destroyed from alive without
// touching freed memory.
std::set<const void*>& Alive() {
    static std::set<const void*> alive;
    return alive;
}

class Node : public Object {
public:
    explicit Node(int id = 0, int payload = 0) : id(id), payload(payload) { Alive().insert(this); }
    ~Node() override { Alive().erase(this); }
    void Mark() override {
        gc_mark(left);
        gc_mark(right);
        gc_mark(payload);
    }
    int id;
    Ref<Node> left, right;
    Array<int> payload;
};

Global<Ref<Node>> gRoot;
Global<Array<Ref<Node>>> gSlots;

// A forced step is a full collection: everything unreachable is destroyed.
void FullCollect() {
    gc::SetForce();
    gc::CollectStep();
}

bool IsAlive(const void* p) { return Alive().count(p) != 0; }

class CollectorTest : public testing::Test {
protected:
    void SetUp() override {
        gRoot = nullptr;
        gSlots = Array<Ref<Node>>();
        FullCollect();
        FullCollect();
    }
};

TEST_F(CollectorTest, RootedObjectsSurviveAndLocalsDieAfterALaterSweep) {
    gRoot = new Node(1);
    gRoot->left = new Node(2);
    const void* kept = gRoot->left.get();
    const void* local = new Node(3);  // nothing stores it
    for (int i = 0; i < 5; ++i) FullCollect();
    EXPECT_TRUE(IsAlive(kept));
    EXPECT_TRUE(IsAlive(gRoot.get()));
    EXPECT_FALSE(IsAlive(local));
}

TEST_F(CollectorTest, OverwrittenGlobalDiesAtTheLatestOnTheSecondSweep) {
    gRoot = new Node(1);
    FullCollect();
    const void* old = gRoot.get();
    gRoot = new Node(2);
    FullCollect();
    FullCollect();
    EXPECT_FALSE(IsAlive(old));
    EXPECT_TRUE(IsAlive(gRoot.get()));
}

TEST_F(CollectorTest, SmallStepsNeverSweepBelowTheThreshold) {
    gRoot = new Node(1);
    auto before = gc::GetStats();
    new Node(9);
    for (int i = 0; i < 50; ++i) gc::CollectStep();
    auto after = gc::GetStats();
    EXPECT_EQ(after.sweeps, before.sweeps);
    EXPECT_LT(after.allocatedBytes - after.allocatedAfterSweep, gc::kSweepThreshold);
}

TEST_F(CollectorTest, IncrementalStepsSweepAfterFourMebibytes) {
    gRoot = new Node(1);
    auto before = gc::GetStats();
    const void* garbage = nullptr;
    for (int i = 0; i < 300; ++i) {
        Node* n = new Node(i, 0);
        n->payload = Array<int>(4096);  // 16 KiB each
        if (i == 0) garbage = n;
        gc::CollectStep();
    }
    for (int i = 0; i < 10; ++i) {
        new Node(0, 0);  // allocations release dead objects lazily
        gc::CollectStep();
    }
    EXPECT_GT(gc::GetStats().sweeps, before.sweeps);
    FullCollect();
    EXPECT_FALSE(IsAlive(garbage));
    EXPECT_TRUE(IsAlive(gRoot.get()));
}

TEST_F(CollectorTest, ForceFlagCollectsEverythingAtOnceAndClears) {
    for (int i = 0; i < 100; ++i) new Node(i);
    gc::CollectStep();  // enqueued by nothing: they are white
    FullCollect();
    FullCollect();
    auto s = gc::GetStats();
    EXPECT_FALSE(s.forceFlag);
    EXPECT_EQ(s.deadBytes, 0);
    EXPECT_EQ(Alive().size(), 0u);
}

TEST_F(CollectorTest, PoolsReuseSmallBlocks) {
    // A Node is a small object (at most 56 bytes), so it comes from a pool.
    static_assert(sizeof(Node) <= gc::kMaxPooled);
    const int size = (sizeof(Node) + 7) & ~7;
    new Node(1);
    FullCollect();
    FullCollect();
    int pooled = gc::PoolCount(size);
    ASSERT_GT(pooled, 0);
    Node* again = new Node(2);
    EXPECT_EQ(gc::PoolCount(size), pooled - 1);
    EXPECT_EQ(again->gc_flags & ~7, size);
}

TEST_F(CollectorTest, ArraysOfReferencesKeepTheirElements) {
    gSlots = Array<Ref<Node>>(8);
    gSlots[3] = new Node(3);
    gSlots[5] = new Node(5);
    const void* three = gSlots[3].get();
    gSlots[5] = nullptr;
    FullCollect();
    FullCollect();
    EXPECT_TRUE(IsAlive(three));
    EXPECT_EQ(Alive().size(), 1u);
}

TEST_F(CollectorTest, LiveObjectsAreKnownAndStrangersAreNot) {
    gRoot = new Node(1);
    EXPECT_TRUE(gc::IsLive(gRoot.get()));
    int local = 0;
    EXPECT_FALSE(gc::IsLive(&local));
    EXPECT_FALSE(gc::IsLive(nullptr));
    Node permanent;  // not made by the collector
    gc::Enqueue(&permanent);
    gc::Mark(&permanent);
    EXPECT_FALSE(gc::IsLive(&permanent));
}

// One link of a long chain; a counter instead of Alive(), which would be slow
// at a million entries. The chain is not the last reference marked, so a
// compiler cannot turn recursive marking into a loop.
class Link : public Object {
public:
    Link() { ++count; }
    ~Link() override { --count; }
    void Mark() override {
        gc_mark(next);
        gc_mark(label);
    }
    Ref<Link> next;
    Array<int> label;
    static int count;
};
int Link::count = 0;

Global<Ref<Link>> gChain;

constexpr int kChainLength = 1000003;

// Builds the chain and runs one full step, after which every link is white
// again and only the head is queued: marking has to walk the links.
Link* BuildChain(int length = kChainLength, bool labelled = false) {
    gChain = new Link();
    Link* tail = gChain.get();
    for (int i = 1; i < length; ++i) {
        tail->next = new Link();
        tail = tail->next.get();
        if (labelled) tail->label = Array<int>(3);
    }
    FullCollect();
    return tail;
}

// Drops the chain; everything in it dies, and nothing else.
void ExpectChainCollected(int liveBefore) {
    gChain = nullptr;
    FullCollect();
    FullCollect();
    EXPECT_EQ(Link::count, 0);
    EXPECT_EQ(gc::LiveCount(), liveBefore);
}

TEST_F(CollectorTest, AMillionLinkChainIsMarkedWithoutDeepRecursion) {
    const int before = gc::LiveCount();
    const Link* tail = BuildChain();
    ASSERT_EQ(Link::count, kChainLength);

    // Reached from a queued root inside a step: one incremental step marks
    // the whole chain, since what a grey object reaches counts in its step.
    auto start = gc::GetStats();
    gc::CollectStep();
    EXPECT_GE(gc::GetStats().markCount - start.markCount, kChainLength);
    FullCollect();
    FullCollect();
    EXPECT_EQ(Link::count, kChainLength);
    EXPECT_EQ(gc::LiveCount(), before + kChainLength);
    EXPECT_TRUE(gc::IsLive(tail));
    ExpectChainCollected(before);
}

// Every link past the depth limit waits with its label, two objects at a time.
TEST_F(CollectorTest, EverythingReachedPastTheDepthLimitIsMarked) {
    const int before = gc::LiveCount();
    const int length = 50 * gc::kMaxMarkDepth + 7;
    BuildChain(length, true);
    FullCollect();
    FullCollect();
    EXPECT_EQ(Link::count, length);
    EXPECT_EQ(gc::LiveCount(), before + 2 * length - 1);  // the head has no label
    ExpectChainCollected(before);
}

// As the host marks its delegate: the head is queued, the rest is white.
TEST_F(CollectorTest, MarkingAChainFromOutsideAStepCountsEveryLinkOnce) {
    const int before = gc::LiveCount();
    BuildChain();
    Link* second = gChain->next.get();
    auto start = gc::GetStats();
    gc::Mark(second);
    auto after = gc::GetStats();
    EXPECT_EQ(after.markCount - start.markCount, kChainLength - 1);
    EXPECT_EQ(after.markedBytes - start.markedBytes, (kChainLength - 1) * (second->gc_flags & ~7));
    gc::Mark(second);  // already marked: nothing more
    EXPECT_EQ(gc::GetStats().markCount, after.markCount);
    ExpectChainCollected(before);
}

// Builds and rewires random graphs through the barrier while incremental and
// full steps run, and checks after every step that everything reachable from
// the roots is alive; at the end everything must die.
TEST_F(CollectorTest, RandomisedGraphsNeverLoseReachableObjects) {
    std::mt19937 rng(12345);
    const int kSlots = 64;
    gSlots = Array<Ref<Node>>(kSlots);
    auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };

    auto checkReachable = [&] {
        std::vector<Node*> stack;
        std::set<Node*> seen;
        for (int i = 0; i < kSlots; ++i)
            if (gSlots[i]) stack.push_back(gSlots[i].get());
        while (!stack.empty()) {
            Node* n = stack.back();
            stack.pop_back();
            if (!seen.insert(n).second) continue;
            ASSERT_TRUE(IsAlive(n)) << "reachable node destroyed";
            if (n->left) stack.push_back(n->left.get());
            if (n->right) stack.push_back(n->right.get());
        }
    };

    for (int step = 0; step < 4000; ++step) {
        for (int op = 0; op < 20; ++op) {
            int s = pick(kSlots);
            switch (pick(6)) {
                case 0:
                    gSlots[s] = new Node(step, pick(4) == 0 ? 0 : 0);
                    if (pick(8) == 0) gSlots[s]->payload = Array<int>(1024 + pick(4096));
                    break;
                case 1:
                    if (gSlots[s]) gSlots[s]->left = new Node(step);
                    break;
                case 2:
                    if (gSlots[s]) gSlots[s]->right = gSlots[pick(kSlots)];
                    break;
                case 3:
                    if (gSlots[s] && gSlots[s]->left) gSlots[pick(kSlots)] = gSlots[s]->left;
                    break;
                case 4:
                    gSlots[s] = nullptr;
                    break;
                default:
                    new Node(-1);  // garbage from the start
                    break;
            }
        }
        if (step % 97 == 0) FullCollect();
        else gc::CollectStep();
        checkReachable();
        if (HasFatalFailure()) return;
    }
    gSlots = Array<Ref<Node>>();
    FullCollect();
    FullCollect();
    EXPECT_EQ(Alive().size(), 0u);
}

}  // namespace
