// BMessage's fields in memory: typed finds, order, removal, replacement,
// copies, comparison and the dump.
#include <string.h>

#include <string>

#include <gtest/gtest.h>

#include <Message.h>

namespace {

std::string NameAt(const BMessage &message, int32 index)
{
	char *name = NULL;
	if (message.GetInfo(B_ANY_TYPE, index, &name, NULL) != B_OK) {
		return "<none>";
	}
	return name;
}

} // namespace

TEST(MessageFindTest, FindsOnlyValuesOfTheAskedType)
{
	BMessage message('abcd');
	ASSERT_EQ(B_OK, message.AddBool("flag", true));
	ASSERT_EQ(B_OK, message.AddString("name", "pilot"));

	bool flag = false;
	EXPECT_EQ(B_OK, message.FindBool("flag", &flag));
	EXPECT_TRUE(flag);

	int32 number = 7;
	EXPECT_EQ(B_BAD_TYPE, message.FindInt32("flag", &number));
	EXPECT_EQ(7, number);
	const char *text = NULL;
	EXPECT_EQ(B_BAD_TYPE, message.FindString("flag", &text));
	EXPECT_EQ(B_BAD_TYPE, message.FindBool("name", &flag));
	EXPECT_EQ(B_NAME_NOT_FOUND, message.FindBool("missing", &flag));
	EXPECT_EQ(B_BAD_INDEX, message.FindBool("flag", 1, &flag));
	EXPECT_EQ(B_BAD_INDEX, message.FindBool("flag", -1, &flag));
	EXPECT_EQ(B_BAD_VALUE, message.FindBool(NULL, &flag));
	EXPECT_EQ(B_BAD_VALUE, message.FindBool("flag", (bool *)NULL));

	// Adding another type under an existing name is refused, and the
	// field is left as it was.
	EXPECT_EQ(B_BAD_TYPE, message.AddInt32("flag", 1));
	EXPECT_EQ(B_BAD_TYPE, message.AddString("flag", "x"));
	type_code type;
	int32 count;
	EXPECT_EQ(B_OK, message.GetInfo("flag", &type, &count));
	EXPECT_EQ((type_code)B_BOOL_TYPE, type);
	EXPECT_EQ(1, count);
}

TEST(MessageFindTest, FormsWithoutIndexFindTheFirstValue)
{
	BMessage message;
	ASSERT_EQ(B_OK, message.AddString("name", "first"));
	ASSERT_EQ(B_OK, message.AddString("name", "second"));
	ASSERT_EQ(B_OK, message.AddBool("flag", false));
	ASSERT_EQ(B_OK, message.AddBool("flag", true));

	const char *text = NULL;
	ASSERT_EQ(B_OK, message.FindString("name", &text));
	EXPECT_STREQ("first", text);
	ASSERT_EQ(B_OK, message.FindString("name", 1, &text));
	EXPECT_STREQ("second", text);
	bool flag = true;
	ASSERT_EQ(B_OK, message.FindBool("flag", &flag));
	EXPECT_FALSE(flag);
	EXPECT_EQ(B_BAD_INDEX, message.FindString("name", 2, &text));
}

TEST(MessageFindTest, EveryTypedAddIsFoundAgain)
{
	BMessage message;
	int marker = 0;
	ASSERT_EQ(B_OK, message.AddRect("rect", BRect(1, 2, 30.5f, 40)));
	ASSERT_EQ(B_OK, message.AddPoint("point", BPoint(-3, 4.25f)));
	ASSERT_EQ(B_OK, message.AddInt8("int8", -8));
	ASSERT_EQ(B_OK, message.AddUInt8("uint8", 200));
	ASSERT_EQ(B_OK, message.AddInt16("int16", -16000));
	ASSERT_EQ(B_OK, message.AddUInt16("uint16", 60000));
	ASSERT_EQ(B_OK, message.AddInt32("int32", -2000000000));
	ASSERT_EQ(B_OK, message.AddUInt32("uint32", 4000000000u));
	ASSERT_EQ(B_OK, message.AddInt64("int64", -((int64)1 << 40)));
	ASSERT_EQ(B_OK, message.AddUInt64("uint64", (uint64)1 << 63));
	ASSERT_EQ(B_OK, message.AddFloat("float", 0.5f));
	ASSERT_EQ(B_OK, message.AddDouble("double", 1e300));
	ASSERT_EQ(B_OK, message.AddPointer("pointer", &marker));

	BRect rect;
	EXPECT_EQ(B_OK, message.FindRect("rect", &rect));
	EXPECT_EQ(BRect(1, 2, 30.5f, 40), rect);
	BPoint point;
	EXPECT_EQ(B_OK, message.FindPoint("point", &point));
	EXPECT_EQ(BPoint(-3, 4.25f), point);
	int8 i8;
	EXPECT_EQ(B_OK, message.FindInt8("int8", &i8));
	EXPECT_EQ(-8, i8);
	uint8 u8;
	EXPECT_EQ(B_OK, message.FindUInt8("uint8", &u8));
	EXPECT_EQ(200, u8);
	int16 i16;
	EXPECT_EQ(B_OK, message.FindInt16("int16", &i16));
	EXPECT_EQ(-16000, i16);
	uint16 u16;
	EXPECT_EQ(B_OK, message.FindUInt16("uint16", &u16));
	EXPECT_EQ(60000, u16);
	int32 i32;
	EXPECT_EQ(B_OK, message.FindInt32("int32", &i32));
	EXPECT_EQ(-2000000000, i32);
	uint32 u32;
	EXPECT_EQ(B_OK, message.FindUInt32("uint32", &u32));
	EXPECT_EQ(4000000000u, u32);
	int64 i64;
	EXPECT_EQ(B_OK, message.FindInt64("int64", &i64));
	EXPECT_EQ(-((int64)1 << 40), i64);
	uint64 u64;
	EXPECT_EQ(B_OK, message.FindUInt64("uint64", &u64));
	EXPECT_EQ((uint64)1 << 63, u64);
	float f;
	EXPECT_EQ(B_OK, message.FindFloat("float", &f));
	EXPECT_EQ(0.5f, f);
	double d;
	EXPECT_EQ(B_OK, message.FindDouble("double", &d));
	EXPECT_EQ(1e300, d);
	void *pointer = NULL;
	EXPECT_EQ(B_OK, message.FindPointer("pointer", &pointer));
	EXPECT_EQ(&marker, pointer);

	// The signed and unsigned types are distinct.
	EXPECT_EQ(B_BAD_TYPE, message.FindUInt32("int32", &u32));
	EXPECT_EQ(B_BAD_TYPE, message.FindInt8("uint8", &i8));
}

TEST(MessageFindTest, ValuesOfTheWrongSizeAreBadData)
{
	BMessage message;
	const char bytes[3] = {'a', 'b', 'c'};
	ASSERT_EQ(B_OK, message.AddData("short", B_INT32_TYPE, bytes, 2));
	ASSERT_EQ(B_OK, message.AddData("unterminated", B_STRING_TYPE, bytes, 3,
		false));
	ASSERT_EQ(B_OK, message.AddData("empty", B_STRING_TYPE, NULL, 0, false));

	int32 number;
	EXPECT_EQ(B_BAD_DATA, message.FindInt32("short", &number));
	const char *text = NULL;
	EXPECT_EQ(B_BAD_DATA, message.FindString("unterminated", &text));
	EXPECT_EQ(B_BAD_DATA, message.FindString("empty", &text));
	EXPECT_EQ(NULL, text);
	EXPECT_STREQ("fallback", message.GetString("unterminated", "fallback"));
}

TEST(MessageFindTest, StringsKeepTheirNul)
{
	BMessage message;
	ASSERT_EQ(B_OK, message.AddString("empty", ""));
	ASSERT_EQ(B_OK, message.AddString("text", "abc"));
	EXPECT_EQ(B_BAD_VALUE, message.AddString("null", NULL));

	const void *data;
	ssize_t size;
	ASSERT_EQ(B_OK, message.FindData("text", B_STRING_TYPE, &data, &size));
	ASSERT_EQ(4, size);
	EXPECT_EQ(0, memcmp("abc", data, 4));
	const char *text = NULL;
	ASSERT_EQ(B_OK, message.FindString("empty", &text));
	EXPECT_STREQ("", text);
}

TEST(MessageDataTest, AddDataChecksItsArguments)
{
	BMessage message;
	const char bytes[4] = {1, 2, 3, 4};
	EXPECT_EQ(B_BAD_VALUE, message.AddData("a", B_RAW_TYPE, NULL, 4));
	EXPECT_EQ(B_BAD_VALUE, message.AddData("a", B_RAW_TYPE, bytes, -1));
	EXPECT_EQ(B_BAD_VALUE, message.AddData(NULL, B_RAW_TYPE, bytes, 4));
	EXPECT_EQ(B_BAD_VALUE, message.AddData("a", B_ANY_TYPE, bytes, 4));
	// Bytes that are not a flattened message cannot pose as one.
	EXPECT_EQ(B_BAD_VALUE, message.AddData("a", B_MESSAGE_TYPE, bytes, 4));
	std::string longest(B_FIELD_NAME_LENGTH, 'n');
	EXPECT_EQ(B_OK, message.AddInt32(longest.c_str(), 1));
	std::string tooLong(B_FIELD_NAME_LENGTH + 1, 'n');
	EXPECT_EQ(B_BAD_VALUE, message.AddInt32(tooLong.c_str(), 1));
	EXPECT_EQ(1, message.CountNames(B_ANY_TYPE));

	// An empty value is a value.
	EXPECT_EQ(B_OK, message.AddData("empty", B_RAW_TYPE, NULL, 0, false));
	const void *data = NULL;
	ssize_t size = -1;
	EXPECT_EQ(B_OK, message.FindData("empty", B_RAW_TYPE, &data, &size));
	EXPECT_EQ(0, size);
}

TEST(MessageDataTest, FixedSizeFieldsKeepOneSize)
{
	BMessage message;
	const char bytes[4] = {1, 2, 3, 4};
	ASSERT_EQ(B_OK, message.AddData("fixed", 'TEST', bytes, 2, true));
	EXPECT_EQ(B_BAD_VALUE, message.AddData("fixed", 'TEST', bytes, 3));
	EXPECT_EQ(B_OK, message.AddData("fixed", 'TEST', bytes + 2, 2));
	EXPECT_EQ(B_BAD_VALUE, message.ReplaceData("fixed", 'TEST', 1, bytes, 4));

	ASSERT_EQ(B_OK, message.AddData("loose", 'TEST', bytes, 2, false));
	EXPECT_EQ(B_OK, message.AddData("loose", 'TEST', bytes, 4));

	type_code type;
	bool fixedSize = false;
	EXPECT_EQ(B_OK, message.GetInfo("fixed", &type, &fixedSize));
	EXPECT_TRUE(fixedSize);
	EXPECT_EQ(B_OK, message.GetInfo("loose", &type, &fixedSize));
	EXPECT_FALSE(fixedSize);
}

TEST(MessageDataTest, FindDataWithAnyTypeMatchesEveryField)
{
	BMessage message;
	ASSERT_EQ(B_OK, message.AddInt32("number", 5));
	const void *data = NULL;
	ssize_t size = 0;
	ASSERT_EQ(B_OK, message.FindData("number", B_ANY_TYPE, &data, &size));
	ASSERT_EQ(4, size);
	int32 number;
	memcpy(&number, data, sizeof(number));
	EXPECT_EQ(5, number);
	EXPECT_TRUE(message.HasData("number", B_ANY_TYPE));
	EXPECT_FALSE(message.HasData("number", B_STRING_TYPE));
	EXPECT_FALSE(message.HasInt32("number", 1));
}

TEST(MessageRemoveTest, RemoveNameRemovesEveryValue)
{
	BMessage message;
	ASSERT_EQ(B_OK, message.AddString("name", "a"));
	ASSERT_EQ(B_OK, message.AddString("name", "b"));
	ASSERT_EQ(B_OK, message.AddString("name", "a"));
	ASSERT_EQ(B_OK, message.AddBool("flag", true));

	EXPECT_EQ(B_OK, message.RemoveName("name"));
	const char *text;
	EXPECT_EQ(B_NAME_NOT_FOUND, message.FindString("name", &text));
	EXPECT_EQ(B_NAME_NOT_FOUND, message.RemoveName("name"));
	EXPECT_EQ(1, message.CountNames(B_ANY_TYPE));
	EXPECT_TRUE(message.HasBool("flag"));

	// A name added again starts afresh, with any type.
	EXPECT_EQ(B_OK, message.AddInt32("name", 3));
	EXPECT_EQ(3, message.GetInt32("name", 0));
}

TEST(MessageRemoveTest, RemoveDataRemovesOneValue)
{
	BMessage message;
	ASSERT_EQ(B_OK, message.AddInt32("n", 10));
	ASSERT_EQ(B_OK, message.AddInt32("n", 11));
	ASSERT_EQ(B_OK, message.AddInt32("n", 12));

	EXPECT_EQ(B_BAD_INDEX, message.RemoveData("n", 3));
	EXPECT_EQ(B_NAME_NOT_FOUND, message.RemoveData("other"));
	EXPECT_EQ(B_OK, message.RemoveData("n", 1));
	int32 value;
	ASSERT_EQ(B_OK, message.FindInt32("n", 1, &value));
	EXPECT_EQ(12, value);
	EXPECT_EQ(B_OK, message.RemoveData("n"));
	EXPECT_EQ(B_OK, message.RemoveData("n"));
	// The field goes with its last value.
	type_code type;
	EXPECT_EQ(B_NAME_NOT_FOUND, message.GetInfo("n", &type));
	EXPECT_TRUE(message.IsEmpty());
}

TEST(MessageInfoTest, FieldsKeepTheOrderOfTheirFirstAdd)
{
	BMessage message;
	ASSERT_EQ(B_OK, message.AddInt32("c", 1));
	ASSERT_EQ(B_OK, message.AddString("a", "x"));
	ASSERT_EQ(B_OK, message.AddInt32("b", 2));
	ASSERT_EQ(B_OK, message.AddInt32("c", 3));
	ASSERT_EQ(B_OK, message.AddString("d", "y"));

	EXPECT_EQ("c", NameAt(message, 0));
	EXPECT_EQ("a", NameAt(message, 1));
	EXPECT_EQ("b", NameAt(message, 2));
	EXPECT_EQ("d", NameAt(message, 3));

	ASSERT_EQ(B_OK, message.RemoveName("a"));
	ASSERT_EQ(B_OK, message.AddString("a", "z"));
	EXPECT_EQ("b", NameAt(message, 1));
	EXPECT_EQ("a", NameAt(message, 3));
}

TEST(MessageInfoTest, GetInfoAndCountNamesByType)
{
	BMessage message;
	ASSERT_EQ(B_OK, message.AddInt32("first", 1));
	ASSERT_EQ(B_OK, message.AddString("text", "x"));
	ASSERT_EQ(B_OK, message.AddInt32("second", 2));
	ASSERT_EQ(B_OK, message.AddInt32("second", 3));

	EXPECT_EQ(3, message.CountNames(B_ANY_TYPE));
	EXPECT_EQ(2, message.CountNames(B_INT32_TYPE));
	EXPECT_EQ(1, message.CountNames(B_STRING_TYPE));
	EXPECT_EQ(0, message.CountNames(B_BOOL_TYPE));

	char *name = NULL;
	type_code type = 0;
	int32 count = 0;
	ASSERT_EQ(B_OK, message.GetInfo(B_INT32_TYPE, 1, &name, &type, &count));
	EXPECT_STREQ("second", name);
	EXPECT_EQ((type_code)B_INT32_TYPE, type);
	EXPECT_EQ(2, count);
	ASSERT_EQ(B_OK, message.GetInfo(B_ANY_TYPE, 1, &name, &type, &count));
	EXPECT_STREQ("text", name);
	EXPECT_EQ((type_code)B_STRING_TYPE, type);

	EXPECT_EQ(B_BAD_INDEX, message.GetInfo(B_INT32_TYPE, 2, &name, &type));
	EXPECT_EQ(B_BAD_INDEX, message.GetInfo(B_ANY_TYPE, 3, &name, &type));
	EXPECT_EQ(B_BAD_INDEX, message.GetInfo(B_ANY_TYPE, -1, &name, &type));
	EXPECT_EQ(B_BAD_TYPE, message.GetInfo(B_BOOL_TYPE, 0, &name, &type));

	ASSERT_EQ(B_OK, message.GetInfo("second", &type, &count));
	EXPECT_EQ(2, count);
	EXPECT_EQ(B_NAME_NOT_FOUND, message.GetInfo("none", &type, &count));
}

TEST(MessageInfoTest, MakeEmptyKeepsWhat)
{
	BMessage message('abcd');
	ASSERT_EQ(B_OK, message.AddInt32("n", 1));
	EXPECT_FALSE(message.IsEmpty());
	EXPECT_EQ(B_OK, message.MakeEmpty());
	EXPECT_TRUE(message.IsEmpty());
	EXPECT_EQ(0, message.CountNames(B_ANY_TYPE));
	EXPECT_EQ((uint32)'abcd', message.what);
}

TEST(MessageReplaceTest, ReplacesOneValueOfTheSameType)
{
	BMessage message;
	ASSERT_EQ(B_OK, message.AddString("name", "old"));
	ASSERT_EQ(B_OK, message.AddString("name", "kept"));
	ASSERT_EQ(B_OK, message.AddInt32("n", 1));
	ASSERT_EQ(B_OK, message.AddBool("flag", false));

	EXPECT_EQ(B_OK, message.ReplaceString("name", "a much longer string"));
	EXPECT_STREQ("a much longer string", message.GetString("name"));
	const char *text;
	ASSERT_EQ(B_OK, message.FindString("name", 1, &text));
	EXPECT_STREQ("kept", text);
	EXPECT_EQ(B_OK, message.ReplaceInt32("n", 9));
	EXPECT_EQ(9, message.GetInt32("n", 0));
	EXPECT_EQ(B_OK, message.ReplaceBool("flag", true));
	EXPECT_TRUE(message.GetBool("flag"));

	EXPECT_EQ(B_BAD_TYPE, message.ReplaceInt32("name", 1));
	EXPECT_EQ(B_NAME_NOT_FOUND, message.ReplaceInt32("none", 1));
	EXPECT_EQ(B_BAD_INDEX, message.ReplaceString("name", 2, "x"));
	EXPECT_EQ(B_BAD_VALUE, message.ReplaceString("name", NULL));
}

TEST(MessageConvenienceTest, GetReturnsTheDefaultUnlessFound)
{
	BMessage message;
	ASSERT_EQ(B_OK, message.AddInt32("n", 4));
	ASSERT_EQ(B_OK, message.AddBool("on", true));
	ASSERT_EQ(B_OK, message.AddString("s", "text"));

	EXPECT_EQ(4, message.GetInt32("n", -1));
	EXPECT_EQ(-1, message.GetInt32("on", -1));
	EXPECT_TRUE(message.GetBool("on"));
	EXPECT_TRUE(message.GetBool("n", true));
	EXPECT_STREQ("text", message.GetString("s"));
	EXPECT_EQ(NULL, message.GetString("n"));
}

TEST(MessageCopyTest, CopiesAreIndependent)
{
	BMessage original('orig');
	ASSERT_EQ(B_OK, original.AddString("name", "first"));
	ASSERT_EQ(B_OK, original.AddInt32("n", 1));

	BMessage copy(original);
	EXPECT_EQ((uint32)'orig', copy.what);
	EXPECT_TRUE(copy.HasSameData(original));
	ASSERT_EQ(B_OK, copy.ReplaceString("name", "changed"));
	ASSERT_EQ(B_OK, copy.AddInt32("n", 2));
	EXPECT_STREQ("first", original.GetString("name"));
	int32 count;
	type_code type;
	ASSERT_EQ(B_OK, original.GetInfo("n", &type, &count));
	EXPECT_EQ(1, count);

	BMessage assigned('othr');
	ASSERT_EQ(B_OK, assigned.AddBool("gone", true));
	assigned = original;
	EXPECT_EQ((uint32)'orig', assigned.what);
	EXPECT_FALSE(assigned.HasBool("gone"));
	ASSERT_EQ(B_OK, original.RemoveName("name"));
	EXPECT_STREQ("first", assigned.GetString("name"));

	const BMessage &self = assigned;
	assigned = self;
	EXPECT_STREQ("first", assigned.GetString("name"));
}

TEST(MessageNestedTest, AddMessageStoresACopy)
{
	BMessage inner('innr');
	ASSERT_EQ(B_OK, inner.AddString("text", "inside"));
	BMessage outer;
	ASSERT_EQ(B_OK, outer.AddMessage("inner", &inner));
	ASSERT_EQ(B_OK, inner.ReplaceString("text", "changed"));
	EXPECT_EQ(B_BAD_VALUE, outer.AddMessage("inner", NULL));

	BMessage found;
	ASSERT_EQ(B_OK, outer.FindMessage("inner", &found));
	EXPECT_EQ((uint32)'innr', found.what);
	EXPECT_STREQ("inside", found.GetString("text"));
	EXPECT_EQ(B_BAD_INDEX, outer.FindMessage("inner", 1, &found));

	// A message may be found into itself.
	ASSERT_EQ(B_OK, outer.FindMessage("inner", &outer));
	EXPECT_STREQ("inside", outer.GetString("text"));
}

TEST(MessageNestedTest, NestingDepthIsBounded)
{
	BMessage message('deep');
	int32 added = 0;
	while (added < 100) {
		BMessage outer('deep');
		if (outer.AddMessage("inner", &message) != B_OK) {
			break;
		}
		message = outer;
		added++;
	}
	// Deep enough for any real use, but not without end.
	EXPECT_GE(added, 16);
	EXPECT_LT(added, 100);
}

TEST(MessageCompareTest, HasSameDataComparesFieldsAndValues)
{
	BMessage a('aaaa');
	ASSERT_EQ(B_OK, a.AddInt32("n", 1));
	ASSERT_EQ(B_OK, a.AddString("s", "x"));
	BMessage b('bbbb');
	ASSERT_EQ(B_OK, b.AddString("s", "x"));
	ASSERT_EQ(B_OK, b.AddInt32("n", 1));

	EXPECT_TRUE(a.HasSameData(b));
	EXPECT_FALSE(a.HasSameData(b, false));
	ASSERT_EQ(B_OK, b.AddInt32("n", 1));
	EXPECT_FALSE(a.HasSameData(b));
	ASSERT_EQ(B_OK, b.RemoveData("n", 1));
	ASSERT_EQ(B_OK, b.ReplaceString("s", "y"));
	EXPECT_FALSE(a.HasSameData(b));
}

TEST(MessageCompareTest, DeepComparisonLooksInsideNestedMessages)
{
	BMessage inner1;
	ASSERT_EQ(B_OK, inner1.AddInt32("a", 1));
	ASSERT_EQ(B_OK, inner1.AddInt32("b", 2));
	BMessage inner2;
	ASSERT_EQ(B_OK, inner2.AddInt32("b", 2));
	ASSERT_EQ(B_OK, inner2.AddInt32("a", 1));
	BMessage a;
	ASSERT_EQ(B_OK, a.AddMessage("m", &inner1));
	BMessage b;
	ASSERT_EQ(B_OK, b.AddMessage("m", &inner2));

	EXPECT_FALSE(a.HasSameData(b));
	EXPECT_TRUE(a.HasSameData(b, true, true));
	EXPECT_FALSE(a.HasSameData(b, false, true));
}

TEST(MessagePrintTest, DumpShowsWhatNamesAndValues)
{
	BMessage inner('innr');
	ASSERT_EQ(B_OK, inner.AddBool("deep", true));
	BMessage message('abcd');
	ASSERT_EQ(B_OK, message.AddString("name", "pilot"));
	ASSERT_EQ(B_OK, message.AddInt32("count", 42));
	ASSERT_EQ(B_OK, message.AddInt32("count", 43));
	ASSERT_EQ(B_OK, message.AddData("raw", B_RAW_TYPE, "\x01\xff", 2));
	ASSERT_EQ(B_OK, message.AddMessage("inner", &inner));

	testing::internal::CaptureStdout();
	message.PrintToStream();
	std::string dump = testing::internal::GetCapturedStdout();

	EXPECT_NE(std::string::npos, dump.find("'abcd'")) << dump;
	EXPECT_NE(std::string::npos, dump.find("name = string(\"pilot\"")) << dump;
	EXPECT_NE(std::string::npos, dump.find("count[1] = int32(43)")) << dump;
	EXPECT_NE(std::string::npos, dump.find("01 ff")) << dump;
	EXPECT_NE(std::string::npos, dump.find("'innr'")) << dump;
	EXPECT_NE(std::string::npos, dump.find("deep = bool(true)")) << dump;
}
