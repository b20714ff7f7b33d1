#include "CObArray.h"
#include "CPtrArray.h"
#include "CStringArray.h"
#include "CTypedPtrArray.h"

#include <gtest/gtest.h>

TEST(CArrays, AddInsertRemoveKeepOrder) {
    CStringArray names;
    EXPECT_EQ(names.Add("b"), 0);
    EXPECT_EQ(names.Add("d"), 1);
    names.InsertAt(0, "a");
    names.InsertAt(2, "c");
    ASSERT_EQ(names.GetSize(), 4);
    EXPECT_STREQ(names[0], "a");
    EXPECT_STREQ(names[3], "d");
    names.RemoveAt(1, 2);
    ASSERT_EQ(names.GetSize(), 2);
    EXPECT_STREQ(names.GetAt(1), "d");
    EXPECT_EQ(names.GetUpperBound(), 1);
}

TEST(CArrays, OutOfRangeNeverTouchesMemory) {
    CPtrArray pointers;
    int value = 0;
    pointers.Add(&value);
    EXPECT_EQ(pointers.GetAt(-1), nullptr);
    EXPECT_EQ(pointers.GetAt(1), nullptr);
    pointers.SetAt(3, &value);
    pointers.RemoveAt(5);
    pointers.RemoveAt(0, 10);
    EXPECT_EQ(pointers.GetSize(), 0);
    pointers.SetAtGrow(2, &value);
    EXPECT_EQ(pointers.GetSize(), 3);
    EXPECT_EQ(pointers.GetAt(0), nullptr);
    EXPECT_EQ(pointers.GetAt(2), &value);
    pointers.InsertAt(5, &value);
    EXPECT_EQ(pointers.GetSize(), 6);
}

namespace {
struct Item : CObject {
    explicit Item(int v) : value(v) {}
    int value;
};
}  // namespace

TEST(CArrays, TypedViewOverObArray) {
    CTypedPtrArray<CObArray, Item*> items;
    Item one(1), two(2);
    items.Add(&one);
    items.Add(&two);
    EXPECT_EQ(items.GetAt(1)->value, 2);
    items[0] = &two;
    EXPECT_EQ(items[0]->value, 2);
    EXPECT_EQ(items.GetData()[1], &two);
    CTypedPtrArray<CPtrArray, int*> ints;
    EXPECT_EQ(ints.GetAt(0), nullptr);
}

TEST(CArrays, CopyAndAppend) {
    CStringArray a, b;
    a.Add("1");
    b.Add("2");
    b.Add("3");
    EXPECT_EQ(a.Append(b), 1);
    EXPECT_EQ(a.GetSize(), 3);
    CStringArray c;
    c.Copy(a);
    a.SetAt(0, "changed");
    EXPECT_STREQ(c[0], "1");
}

TEST(CArrays, ReferenceAccessOutsideTheArrayThrowsInsteadOfTouchingMemory) {
    CStringArray names;
    names.Add("only");
    EXPECT_THROW(names.ElementAt(1), std::out_of_range);
    EXPECT_THROW(names.ElementAt(-1), std::out_of_range);
    EXPECT_THROW(names[5] = "x", std::out_of_range);
    EXPECT_EQ(names.GetSize(), 1) << "nothing was written";
    names[0] = "changed";
    EXPECT_STREQ(names.GetAt(0), "changed");

    CTypedPtrArray<CPtrArray, int*> typed;
    EXPECT_THROW(typed[0], std::out_of_range);
    EXPECT_THROW(typed.ElementAt(0), std::out_of_range);
    const CStringArray& readOnly = names;
    EXPECT_STREQ(readOnly[7], "") << "reads give an empty element";
}

// Growing the array moved the element a reference pointed to: the value
// written was read from freed memory.
TEST(CArrays, ElementsOfTheArrayItselfCanBeWrittenInsertedAndAppended) {
    CStringArray names;
    names.Add("first");
    names.Add("second");
    names.FreeExtra();  // no spare room: the next growth must reallocate
    names.SetAtGrow(40, names.ElementAt(1));
    ASSERT_EQ(names.GetSize(), 41);
    EXPECT_STREQ(names[40], "second");
    names.FreeExtra();
    names.InsertAt(60, names.ElementAt(0), 2);
    ASSERT_EQ(names.GetSize(), 62);
    EXPECT_STREQ(names[60], "first");
    EXPECT_STREQ(names[61], "first");

    CStringArray twice;
    twice.Add("a");
    twice.Add("b");
    EXPECT_EQ(twice.Append(twice), 2);
    ASSERT_EQ(twice.GetSize(), 4);
    EXPECT_STREQ(twice[2], "a");
    EXPECT_STREQ(twice[3], "b");
}
