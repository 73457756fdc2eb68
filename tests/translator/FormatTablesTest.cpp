// What the roster reads from the module before calling it.
#include <string.h>

#include <gtest/gtest.h>

#include "LoadedTranslator.h"

static uint32 FloatBits(float value)
{
	uint32 bits;
	memcpy(&bits, &value, sizeof(bits));
	return bits;
}

// A row's strings are NUL-terminated and zero-filled to their full width.
static void ExpectString(const char (&field)[251], const char *text)
{
	EXPECT_STREQ(field, text);
	for (size_t i = strlen(text); i < sizeof(field); i++) {
		ASSERT_EQ(field[i], '\0') << "byte " << i << " of \"" << text << '"';
	}
}

static void ExpectPilotRow(const translation_format &row)
{
	EXPECT_EQ(row.type, 0x50506976u);
	EXPECT_EQ(row.group, 0x62697473u);
	EXPECT_EQ(FloatBits(row.quality), 0x3DCCCCCDu);
	EXPECT_EQ(FloatBits(row.capability), 0x3F4CCCCDu);
	ExpectString(row.MIME, "image/x-pilotimage");
	ExpectString(row.name, "PalmPilot image");
}

static void ExpectBitmapRow(const translation_format &row)
{
	EXPECT_EQ(row.type, 0x62697473u);
	EXPECT_EQ(row.group, 0x62697473u);
	EXPECT_EQ(FloatBits(row.quality), 0x3ECCCCCDu);
	EXPECT_EQ(FloatBits(row.capability), 0x3F19999Au);
	ExpectString(row.MIME, "image/x-be-bitmap");
	ExpectString(row.name, "Be bitmap");
}

static void ExpectTerminatingRow(const translation_format &row)
{
	static const translation_format zero = {};
	EXPECT_EQ(memcmp(&row, &zero, sizeof(row)), 0);
}

class FormatTables : public testing::Test {
protected:
	void SetUp() override { ASSERT_EQ(fAddon.InitCheck(), B_OK); }
	LoadedTranslator fAddon;
};

TEST_F(FormatTables, NameInfoAndVersion)
{
	const char *name = NULL;
	const char *info = NULL;
	int32 version = 0;
	ASSERT_EQ(fAddon.Roster().GetTranslatorInfo(fAddon.ID(), &name, &info,
		&version), B_OK);
	EXPECT_STREQ(name, "Quorvel");
	ASSERT_NE(info, nullptr);
	EXPECT_GT(strlen(info), 0u);
	EXPECT_EQ(strchr(info, '\n'), nullptr) << "one line";
	EXPECT_EQ(version, 220);
}

TEST_F(FormatTables, InputsArePilotThenBitmap)
{
	const translation_format *formats = NULL;
	int32 count = 0;
	ASSERT_EQ(fAddon.Roster().GetInputFormats(fAddon.ID(), &formats, &count),
		B_OK);
	ASSERT_EQ(count, 2);
	ExpectPilotRow(formats[0]);
	ExpectBitmapRow(formats[1]);
	ExpectTerminatingRow(formats[2]);
}

TEST_F(FormatTables, OutputsAreBitmapThenPilot)
{
	const translation_format *formats = NULL;
	int32 count = 0;
	ASSERT_EQ(fAddon.Roster().GetOutputFormats(fAddon.ID(), &formats, &count),
		B_OK);
	ASSERT_EQ(count, 2);
	ExpectBitmapRow(formats[0]);
	ExpectPilotRow(formats[1]);
	ExpectTerminatingRow(formats[2]);
}
