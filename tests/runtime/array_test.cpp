#include <gtest/gtest.h>

#include "runtime/object.h"

namespace {

Global<Array<String>> gNames;

TEST(ArrayTest, NewElementsAreZeroAndEmptyArraysAllocateNothing) {
    Array<int> ints(4);
    Array<float> floats(3);
    Array<bool> flags(2);
    Array<String> texts(2);
    Array<Ref<Object>> refs(2);
    EXPECT_EQ(ints[3], 0);
    EXPECT_EQ(floats[2], 0.0f);
    EXPECT_FALSE(flags[1]);
    EXPECT_TRUE(texts[0].Empty());
    EXPECT_EQ(refs[1].get(), nullptr);
    Array<int> none(0), none2;
    EXPECT_EQ(none.Length(), 0);
    EXPECT_EQ(none.rep(), nullptr);
    EXPECT_TRUE(none.SameAs(none2));
}

TEST(ArrayTest, ResizeCopiesTheLeadingElements) {
    Array<int> a(3);
    a[0] = 1;
    a[2] = 3;
    Array<int> b = a.Resize(5);
    EXPECT_EQ(b.Length(), 5);
    EXPECT_EQ(b[2], 3);
    EXPECT_EQ(b[4], 0);
    EXPECT_EQ(a.Resize(1).Length(), 1);
}

TEST(ArrayTest, StringArraysReleaseTheirElements) {
    gNames = Array<String>(2);
    gNames[0] = String("abc") + String("def");
    String keep = gNames[0];
    gNames = Array<String>();
    gc::SetForce();
    gc::CollectStep();
    gc::SetForce();
    gc::CollectStep();
    EXPECT_EQ(keep, String("abcdef"));  // our copy outlives the array's
}

}  // namespace
