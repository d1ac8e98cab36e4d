#include <gtest/gtest.h>

#include <limits>
#include <new>

#include "base/CIError.h"
#include "value/CArrayData.h"
#include "ValueErrorMatchers.h"

namespace {

using Index = std::vector<int32_t>;

}  // namespace

TEST(ArrayData, KeepsTypeAndDimensions) {
    const CArrayData array(VTYPE_SHORT, {2, 3, 4});
    EXPECT_EQ(array.ElementType(), VTYPE_SHORT);
    EXPECT_EQ(array.Dims(), (std::vector<int32_t>{2, 3, 4}));
}

TEST(ArrayData, StoringConvertsToTheElementType) {
    CArrayData chars(VTYPE_CHAR, {4});
    chars.SetElement(Index{1}, CValueData::Int(300));
    const CValueData element = chars.GetElement(Index{1});
    EXPECT_EQ(element.Type(), VTYPE_CHAR);
    EXPECT_EQ(element.AsChar(), 44);

    CArrayData bools(VTYPE_BOOL, {2});
    bools.SetElement(Index{0}, CValueData::Int(2));
    EXPECT_TRUE(bools.GetElement(Index{0}).AsBool());

    CArrayData ints(VTYPE_INT, {2});
    ints.SetElement(Index{0}, CValueData::Double(1e10));
    ints.SetElement(Index{1}, CValueData::Fraction(CFraction(7, 2)));
    EXPECT_EQ(ints.GetElement(Index{0}).AsInt(), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(ints.GetElement(Index{1}).AsInt(), 3);
    EXPECT_EQ(ints.GetElement(Index{1}).Type(), VTYPE_INT);

    CArrayData dwords(VTYPE_DWORD, {1});
    dwords.SetElement(Index{0}, CValueData::Int(-1));
    EXPECT_EQ(dwords.GetElement(Index{0}).AsDword(), 4294967295u);

    CArrayData fractions(VTYPE_FRACTION, {1});
    fractions.SetElement(Index{0}, CValueData::Fraction(CFraction::Raw(2, 4)));
    EXPECT_EQ(fractions.GetElement(Index{0}).AsFraction(), CFraction::Raw(2, 4));   // the pair as given
}

TEST(ArrayData, PositionsAreRowMajor) {
    CArrayData array(VTYPE_INT, {2, 3});
    array.SetElement(Index{1, 2}, CValueData::Int(42));
    EXPECT_EQ(array.GetElement(Index{0, 5}).AsInt(), 42);   // 0 * 3 + 5
    EXPECT_EQ(array.GetElement(Index{5}).AsInt(), 42);      // one index: the position itself
    array.SetElement(Index{1, 0}, CValueData::Int(7));
    EXPECT_EQ(array.GetElement(Index{3}).AsInt(), 7);

    CArrayData cube(VTYPE_BYTE, {2, 3, 4});
    cube.SetElement(Index{1, 2, 3}, CValueData::Int(9));
    EXPECT_EQ(cube.GetElement(Index{23}).AsByte(), 9);       // (1 * 3 + 2) * 4 + 3
}

TEST(ArrayData, NewElementsReadAsTheZeroOfTheirType) {
    const CArrayData fractions(VTYPE_FRACTION, {3});
    for (int32_t i = 0; i < 3; ++i) EXPECT_EQ(fractions.GetElement(Index{i}).AsFraction(), CFraction::Raw(0, 1));
    const CArrayData strings(VTYPE_STRING, {2, 2});
    const CValueData text = strings.GetElement(Index{1, 1});
    EXPECT_EQ(text.Type(), VTYPE_STRING);
    EXPECT_EQ(text.StringRef().View(), "");
    const CArrayData doubles(VTYPE_DOUBLE, {2});
    EXPECT_EQ(doubles.GetElement(Index{1}).AsDouble(), 0.0);
}

TEST(ArrayData, StringElementsNeedStrings) {
    CArrayData strings(VTYPE_STRING, {2});
    strings.SetElement(Index{0}, CValueData::String("keep"));
    EXPECT_TRUE(RaisesAt(2002, [&] { strings.SetElement(Index{0}, CValueData::Int(1)); }));
    EXPECT_EQ(strings.GetElement(Index{0}).StringRef().View(), "keep");

    CArrayData numbers(VTYPE_DOUBLE, {1});
    numbers.SetElement(Index{0}, CValueData::Double(1.5));
    EXPECT_TRUE(RaisesAt(1944, [&] { numbers.SetElement(Index{0}, CValueData::String("x")); }));
    EXPECT_EQ(numbers.GetElement(Index{0}).AsDouble(), 1.5);
}

TEST(ArrayData, ReadElementsAreCopies) {
    CArrayData strings(VTYPE_STRING, {1});
    strings.SetElement(Index{0}, CValueData::String("a"));
    CValueData copy = strings.GetElement(Index{0});
    copy.Assign(CValueData::String("b"));
    EXPECT_EQ(strings.GetElement(Index{0}).StringRef().View(), "a");
}

TEST(ArrayData, NoIndex) {
    CArrayData array(VTYPE_DOUBLE, {2});
    array.SetElement(Index{}, CValueData::Double(5));
    const CValueData zero = array.GetElement(Index{});
    EXPECT_EQ(zero.Type(), VTYPE_INT);
    EXPECT_EQ(zero.AsInt(), 0);
    EXPECT_EQ(array.GetElement(Index{0}).AsDouble(), 0.0);
    EXPECT_EQ(CArrayData(VTYPE_INT, {}).GetElement(Index{}).AsInt(), 0);
}

TEST(ArrayData, UnknownElementTypeHasNoElements) {
    CArrayData array(13, {4});
    array.SetElement(Index{0}, CValueData::Int(1));
    EXPECT_TRUE(array.GetElement(Index{0}).IsEmpty());
}

TEST(ArrayData, OversizedBlocksFailInsteadOfShrinking) {
    EXPECT_THROW(CArrayData(VTYPE_CHAR, {65536, 65536}), std::bad_alloc);         // 2^32 elements
    EXPECT_THROW(CArrayData(VTYPE_INT, {1 << 30, 2}), std::bad_alloc);            // 2^33 bytes
    EXPECT_THROW(CArrayData(VTYPE_DOUBLE, {1 << 29}), std::bad_alloc);            // 2^32 bytes
    EXPECT_THROW(CArrayData(VTYPE_WORD, {std::numeric_limits<int32_t>::max(), 3}), std::bad_alloc);
    EXPECT_THROW(CArrayData(VTYPE_INT, {-1}), std::bad_alloc);
}

// Callers check indices against the dimensions; a position that still falls
// outside the block is a fault of the container, never a stray access.
TEST(ArrayData, PositionsOutsideTheBlockFail) {
    CArrayData array(VTYPE_INT, {2, 3});
    EXPECT_THROW(array.GetElement(Index{2, 0}), CIRangeError);
    EXPECT_THROW(array.GetElement(Index{-1}), CIRangeError);
    EXPECT_THROW(array.SetElement(Index{0, 6}, CValueData::Int(1)), CIRangeError);
    EXPECT_THROW(array.GetElement(Index{0, 0, 0}), CIRangeError);
    EXPECT_THROW(array.GetElement(Index{std::numeric_limits<int32_t>::max(), std::numeric_limits<int32_t>::max()}),
                 CIRangeError);
    EXPECT_THROW(CArrayData(VTYPE_INT, {0}).GetElement(Index{0}), CIRangeError);
    EXPECT_THROW(CArrayData(VTYPE_INT, {65536, 65536, 0}).GetElement(Index{0}), CIRangeError);   // 0 elements
}
