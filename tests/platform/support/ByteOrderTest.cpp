#include <string.h>

#include <vector>

#include <gtest/gtest.h>

#include <ByteOrder.h>

namespace {

typedef std::vector<uint8> Bytes;

Bytes BytesOf(const void *data, size_t length)
{
	const uint8 *bytes = static_cast<const uint8 *>(data);
	return Bytes(bytes, bytes + length);
}

TEST(SwapData, Uint32GoesToBigEndianBytesAndBack)
{
	uint32 value = 0x01020304;
	ASSERT_EQ(B_OK, swap_data(B_UINT32_TYPE, &value, sizeof(value),
		B_SWAP_HOST_TO_BENDIAN));
	EXPECT_EQ((Bytes{0x01, 0x02, 0x03, 0x04}), BytesOf(&value, 4));

	ASSERT_EQ(B_OK, swap_data(B_UINT32_TYPE, &value, sizeof(value),
		B_SWAP_BENDIAN_TO_HOST));
	EXPECT_EQ(0x01020304u, value);
}

// A rectangle as a bitmap header stores it: four big-endian floats, here
// in an unaligned spot of a byte buffer.
TEST(SwapData, RectGoesToBigEndianFloatsAndBack)
{
	const float rect[4] = {0.0f, 1.0f, -2.0f, 159.0f};
	uint8 buffer[1 + sizeof(rect)];
	memcpy(buffer + 1, rect, sizeof(rect));

	ASSERT_EQ(B_OK, swap_data(B_RECT_TYPE, buffer + 1, sizeof(rect),
		B_SWAP_HOST_TO_BENDIAN));
	EXPECT_EQ((Bytes{0x00, 0x00, 0x00, 0x00, 0x3f, 0x80, 0x00, 0x00,
		0xc0, 0x00, 0x00, 0x00, 0x43, 0x1f, 0x00, 0x00}),
		BytesOf(buffer + 1, sizeof(rect)));

	ASSERT_EQ(B_OK, swap_data(B_RECT_TYPE, buffer + 1, sizeof(rect),
		B_SWAP_BENDIAN_TO_HOST));
	EXPECT_EQ(0, memcmp(rect, buffer + 1, sizeof(rect)));
}

TEST(SwapData, EachWidthSwapsItsOwnElements)
{
	struct Case {
		type_code type;
		Bytes swapped;
	};
	const Bytes original = {1, 2, 3, 4, 5, 6, 7, 8};
	const Case cases[] = {
		{B_INT16_TYPE, {2, 1, 4, 3, 6, 5, 8, 7}},
		{B_UINT16_TYPE, {2, 1, 4, 3, 6, 5, 8, 7}},
		{B_FLOAT_TYPE, {4, 3, 2, 1, 8, 7, 6, 5}},
		{B_TIME_TYPE, {4, 3, 2, 1, 8, 7, 6, 5}},
		{B_SIZE_T_TYPE, {4, 3, 2, 1, 8, 7, 6, 5}},
		{B_POINT_TYPE, {4, 3, 2, 1, 8, 7, 6, 5}},
		{B_INT64_TYPE, {8, 7, 6, 5, 4, 3, 2, 1}},
		{B_DOUBLE_TYPE, {8, 7, 6, 5, 4, 3, 2, 1}},
		{B_OFF_T_TYPE, {8, 7, 6, 5, 4, 3, 2, 1}},
		{B_UINT8_TYPE, {1, 2, 3, 4, 5, 6, 7, 8}},
	};
	for (const Case &test : cases) {
		Bytes data = original;
		EXPECT_EQ(B_OK, swap_data(test.type, data.data(), data.size(),
			B_SWAP_ALWAYS)) << std::hex << test.type;
		EXPECT_EQ(test.swapped, data) << std::hex << test.type;
	}
}

TEST(SwapData, LittleEndianActionsLeaveThisHostsDataAlone)
{
	ASSERT_TRUE(B_HOST_IS_LENDIAN);
	uint32 value = 0x01020304;
	EXPECT_EQ(B_OK, swap_data(B_UINT32_TYPE, &value, 4,
		B_SWAP_HOST_TO_LENDIAN));
	EXPECT_EQ(B_OK, swap_data(B_UINT32_TYPE, &value, 4,
		B_SWAP_LENDIAN_TO_HOST));
	EXPECT_EQ(0x01020304u, value);
}

// Nothing is converted when the call is refused: half a rectangle or an
// odd byte of a 32-bit value would leave the data half swapped.
TEST(SwapData, RefusesUnknownTypesAndPartialElements)
{
	Bytes data = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
	const Bytes original = data;

	EXPECT_EQ(B_BAD_VALUE, swap_data(B_RECT_TYPE, data.data(), 12,
		B_SWAP_ALWAYS));
	EXPECT_EQ(B_BAD_VALUE, swap_data(B_POINT_TYPE, data.data(), 12,
		B_SWAP_ALWAYS));
	EXPECT_EQ(B_BAD_VALUE, swap_data(B_INT32_TYPE, data.data(), 6,
		B_SWAP_ALWAYS));
	EXPECT_EQ(B_BAD_VALUE, swap_data(B_INT64_TYPE, data.data(), 12,
		B_SWAP_ALWAYS));
	EXPECT_EQ(B_BAD_VALUE, swap_data(B_STRING_TYPE, data.data(), 12,
		B_SWAP_ALWAYS));
	EXPECT_EQ(B_BAD_VALUE, swap_data(B_INT32_TYPE, data.data(), 12,
		(swap_action)7));
	EXPECT_EQ(original, data);

	EXPECT_TRUE(is_type_swapped(B_RECT_TYPE));
	EXPECT_FALSE(is_type_swapped(B_STRING_TYPE));
}

} // namespace
