#include "VekArray.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{
struct GrowthStep
{
    int nAppended; // elements appended so far
    int nCapacity;
    int nGrowBy;
};

// Capacity and step after the given number of appends, from a new array.
const GrowthStep g_arrGrowth[] = {
    {0, 10, 1},   {10, 10, 1},  {11, 11, 4},   {12, 15, 7},    {15, 15, 7},
    {16, 22, 10}, {22, 22, 10}, {23, 32, 12},  {33, 44, 14},   {45, 58, 16},
    {59, 74, 19}, {75, 93, 22}, {94, 115, 26}, {116, 141, 31},
};
} // namespace

TEST(VekArray, NewArrayIsInResetState)
{
    VekArray<int> arr;
    EXPECT_EQ(0, arr.GetSize());
    EXPECT_EQ(10, arr.GetCapacity());
    EXPECT_EQ(1, arr.GetGrowBy());
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(0, arr.GetData()[i]);
}

TEST(VekArray, GrowthFollowsSharedRule)
{
    VekArray<int> arr;
    int nAppended = 0;
    for (const GrowthStep& step : g_arrGrowth)
    {
        while (nAppended < step.nAppended)
        {
            EXPECT_EQ(nAppended, arr.Append(nAppended * 3));
            ++nAppended;
        }
        EXPECT_EQ(step.nCapacity, arr.GetCapacity()) << "after " << step.nAppended << " appends";
        EXPECT_EQ(step.nGrowBy, arr.GetGrowBy()) << "after " << step.nAppended << " appends";
    }
    // Every element survived the reallocations, and the slots beyond the count are zero.
    for (int i = 0; i < arr.GetSize(); ++i)
        ASSERT_EQ(i * 3, arr[i]);
    for (int i = arr.GetSize(); i < arr.GetCapacity(); ++i)
        EXPECT_EQ(0, arr.GetData()[i]);
}

TEST(VekArray, ResetKeepsOrReplacesStorageAndZeroes)
{
    VekArray<double> arr;
    for (int i = 0; i < 5; ++i)
        arr.Append(1.5 * (i + 1));
    arr.Reset();
    EXPECT_EQ(0, arr.GetSize());
    EXPECT_EQ(10, arr.GetCapacity());
    EXPECT_EQ(1, arr.GetGrowBy());
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(0.0, arr.GetData()[i]);

    for (int i = 0; i < 30; ++i)
        arr.Append(2.0);
    ASSERT_NE(10, arr.GetCapacity());
    arr.RemoveAll();
    EXPECT_EQ(0, arr.GetSize());
    EXPECT_EQ(10, arr.GetCapacity());
    EXPECT_EQ(1, arr.GetGrowBy());
    // The growth starts again from step 1.
    for (int i = 0; i < 11; ++i)
        arr.Append(3.0);
    EXPECT_EQ(11, arr.GetCapacity());
    EXPECT_EQ(4, arr.GetGrowBy());
}

TEST(VekArray, RemoveAtShiftsAndClamps)
{
    struct Case
    {
        int nIndex;
        int nCount;
        std::vector<int> vecExpected;
    };
    const Case arrCases[] = {
        {0, 1, {2, 3, 4, 5}},    {4, 1, {1, 2, 3, 4}},    {1, 2, {1, 4, 5}},
        {3, 9, {1, 2, 3}},       {5, 1, {1, 2, 3, 4, 5}}, {-1, 1, {1, 2, 3, 4, 5}},
        {2, 0, {1, 2, 3, 4, 5}},
    };
    for (const Case& c : arrCases)
    {
        VekArray<int> arr;
        for (int i = 1; i <= 5; ++i)
            arr.Add(i);
        arr.RemoveAt(c.nIndex, c.nCount);
        std::vector<int> vecActual(arr.GetData(), arr.GetData() + arr.GetSize());
        EXPECT_EQ(c.vecExpected, vecActual) << "RemoveAt(" << c.nIndex << ", " << c.nCount << ")";
        // The vacated slots are zero again.
        for (int i = arr.GetSize(); i < 5; ++i)
            EXPECT_EQ(0, arr.GetData()[i]);
    }
}

TEST(VekArray, CopyIsIndependent)
{
    VekArray<int> arr;
    for (int i = 0; i < 12; ++i)
        arr.Append(i);
    VekArray<int> copy(arr);
    copy[0] = 99;
    copy.Append(12);
    EXPECT_EQ(0, arr[0]);
    EXPECT_EQ(12, arr.GetSize());
    EXPECT_EQ(13, copy.GetSize());
    EXPECT_EQ(arr.GetCapacity(), 15);
    arr = copy;
    EXPECT_EQ(99, arr[0]);
    EXPECT_EQ(13, arr.GetSize());
}
