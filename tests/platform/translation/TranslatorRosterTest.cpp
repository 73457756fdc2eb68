// The roster: loading add-ons from files, folders and lists, its ids and
// format tables, and how it asks translators to identify and translate.
#include <TranslatorRoster.h>

#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>

#include <DataIO.h>
#include <Message.h>
#include <Rect.h>
#include <SkippedAddOns.h>

#include <gtest/gtest.h>

#include "LoadedTranslator.h"
#include "TempFolder.h"
#include "TestStreams.h"

namespace fs = std::filesystem;

namespace {

const uint32 kFakeType = 'FAKE';
const uint32 kFakeOutput = 'FOUT';

int32 CountTranslators(BTranslatorRoster &roster)
{
	translator_id *list = NULL;
	int32 count = -1;
	EXPECT_EQ(roster.GetAllTranslators(&list, &count), B_OK);
	delete[] list;
	return count;
}


std::string NameOf(BTranslatorRoster &roster, translator_id id)
{
	const char *name = NULL;
	const char *info = NULL;
	int32 version = 0;
	if (roster.GetTranslatorInfo(id, &name, &info, &version) != B_OK) {
		return "(none)";
	}
	return name;
}


std::string Text(const BMallocIO &stream)
{
	Bytes bytes = BytesOf(stream);
	return std::string(bytes.begin(), bytes.end());
}


// A stream holding the text, left at its end as a caller that has just
// written or read it would leave it.
void FillAtEnd(BMallocIO &stream, const char *text)
{
	Fill(stream, Bytes(text, text + strlen(text)));
	stream.Seek(0, SEEK_END);
}


// FakeLow first, then FakeHigh: the better translator is not the first.
class TranslatorRosterWithFakesTest : public testing::Test {
protected:
	void SetUp() override
	{
		ASSERT_EQ(fRoster.AddTranslators(FAKE_LOW_PATH ":" FAKE_HIGH_PATH),
			B_OK);
		ASSERT_EQ(NameOf(fRoster, kLow), "FakeLow");
		ASSERT_EQ(NameOf(fRoster, kHigh), "FakeHigh");
	}

	static constexpr translator_id kLow = 1;
	static constexpr translator_id kHigh = 2;
	BTranslatorRoster fRoster;
};


class UnseekableIO : public BMallocIO {
public:
	off_t Seek(off_t, uint32) override { return B_IO_ERROR; }
};

} // namespace


TEST(TranslatorRosterTest, LoadsTheAddOnFromItsModuleFile)
{
	LoadedTranslator addOn;
	ASSERT_EQ(addOn.InitCheck(), B_OK);
	EXPECT_EQ(addOn.ID(), 1u);

	const char *name = NULL;
	const char *info = NULL;
	int32 version = 0;
	ASSERT_EQ(addOn.Roster().GetTranslatorInfo(addOn.ID(), &name, &info,
		&version), B_OK);
	EXPECT_STREQ(name, "Quorvel");
	EXPECT_GT(strlen(info), 0u);
	EXPECT_EQ(version, 220);

	const translation_format *formats = NULL;
	int32 count = 0;
	ASSERT_EQ(addOn.Roster().GetInputFormats(addOn.ID(), &formats, &count),
		B_OK);
	ASSERT_EQ(count, 2);
	EXPECT_EQ(formats[0].type, PILOT_IMAGE_TYPE);
	EXPECT_EQ(formats[1].type, 'bits');
	ASSERT_EQ(addOn.Roster().GetOutputFormats(addOn.ID(), &formats, &count),
		B_OK);
	ASSERT_EQ(count, 2);
	EXPECT_EQ(formats[0].type, 'bits');
	EXPECT_EQ(formats[1].type, PILOT_IMAGE_TYPE);
}


TEST(TranslatorRosterTest, LoadsAFolderInNameOrderSkippingNonTranslators)
{
	TempFolder folder;
	ASSERT_FALSE(folder.Path().empty());
	fs::copy_file(FAKE_HIGH_PATH, folder / "b-high");
	fs::copy_file(FAKE_LOW_PATH, folder / "a-low");
	fs::copy_file(FAKE_INCOMPLETE_PATH, folder / "c-incomplete");
	fs::copy_file(FAKE_ENDLESS_PATH, folder / "d-endless");
	std::ofstream(folder / "e-notes.txt") << "not a module\n";
	fs::create_directory(folder / "f-folder");
	fs::copy_file(FAKE_HIGH_PATH, folder / "f-folder/high");
	fs::copy_file(NON_TRANSLATOR_LIBRARY_PATH, folder / "g-library");
	// Copies of an add-on cut inside its ELF header, its program headers,
	// its segments and its last byte: mapped, each would kill the process.
	std::ifstream module(FAKE_HIGH_PATH, std::ios::binary);
	std::string whole((std::istreambuf_iterator<char>(module)),
		std::istreambuf_iterator<char>());
	for (size_t size : {(size_t)20, (size_t)100, whole.size() / 3,
			whole.size() - 1}) {
		std::ofstream(folder / ("h-cut-" + std::to_string(size)),
			std::ios::binary) << whole.substr(0, size);
	}

	static std::vector<std::string> skipped;
	skipped.clear();
	BPrivate::SetSkippedAddOnHook([](const char *path, const char *why) {
		skipped.push_back(fs::path(path).filename().string() + ": " + why);
	});
	BTranslatorRoster roster;
	status_t status = roster.AddTranslators(folder.Path().c_str());
	BPrivate::SetSkippedAddOnHook(NULL);
	ASSERT_EQ(status, B_OK);
	ASSERT_EQ(CountTranslators(roster), 2);
	EXPECT_EQ(NameOf(roster, 1), "FakeLow");
	EXPECT_EQ(NameOf(roster, 2), "FakeHigh");

	std::string cutShort = "cut short: its headers describe more than its ";
	std::vector<std::string> expected = {
		"c-incomplete: defines no Translate",
		"d-endless: a format table without its end",
		"e-notes.txt: not a shared object",
		"g-library: defines no translatorName",
		"h-cut-100: " + cutShort + "100 bytes",
		"h-cut-20: " + cutShort + "20 bytes",
		"h-cut-" + std::to_string(whole.size() / 3) + ": " + cutShort
			+ std::to_string(whole.size() / 3) + " bytes",
		"h-cut-" + std::to_string(whole.size() - 1) + ": " + cutShort
			+ std::to_string(whole.size() - 1) + " bytes"};
	std::sort(expected.begin(), expected.end());
	EXPECT_EQ(skipped, expected);
}


TEST(TranslatorRosterTest, ReportsPathsWithoutTranslators)
{
	TempFolder folder;
	ASSERT_FALSE(folder.Path().empty());
	std::ofstream(folder / "notes.txt") << "not a module\n";
	fs::create_directory(folder / "empty");

	BTranslatorRoster roster;
	EXPECT_EQ(roster.AddTranslators(""), B_BAD_VALUE);
	EXPECT_EQ(roster.AddTranslators((folder / "missing").c_str()),
		B_ENTRY_NOT_FOUND);
	EXPECT_EQ(roster.AddTranslators((folder / "empty").c_str()),
		B_ENTRY_NOT_FOUND);
	EXPECT_EQ(roster.AddTranslators((folder / "notes.txt").c_str()),
		B_BAD_VALUE);
	// libbe: a real library, but no translator.
	EXPECT_EQ(roster.AddTranslators(NON_TRANSLATOR_LIBRARY_PATH),
		B_BAD_VALUE);
	EXPECT_EQ(roster.AddTranslators(FAKE_ENDLESS_PATH), B_BAD_VALUE);
	EXPECT_EQ(roster.AddTranslators(FAKE_INCOMPLETE_PATH), B_BAD_VALUE);
	EXPECT_EQ(CountTranslators(roster), 0);

	// A list: missing and empty entries are passed over.
	std::string list = "::" + (folder / "missing") + ":" FAKE_HIGH_PATH ":";
	EXPECT_EQ(roster.AddTranslators(list.c_str()), B_OK);
	EXPECT_EQ(CountTranslators(roster), 1);
	// A module already loaded keeps its id and is not added again.
	EXPECT_EQ(roster.AddTranslators(FAKE_HIGH_PATH), B_OK);
	EXPECT_EQ(CountTranslators(roster), 1);
}


TEST(TranslatorRosterTest, DefaultFolderComesFromTheEnvironment)
{
	TempFolder data;
	ASSERT_FALSE(data.Path().empty());
	fs::create_directories(data / "TranslationKit/translators");
	fs::copy_file(FAKE_LOW_PATH, data / "TranslationKit/translators/low");

	setenv("TRANSLATORS_PATH", FAKE_TRANSLATORS_DIR, 1);
	BTranslatorRoster fromVariable;
	EXPECT_EQ(fromVariable.AddTranslators(NULL), B_OK);
	EXPECT_EQ(CountTranslators(fromVariable), 2);

	unsetenv("TRANSLATORS_PATH");
	setenv("XDG_DATA_HOME", data.Path().c_str(), 1);
	BTranslatorRoster fromDataHome;
	EXPECT_EQ(fromDataHome.AddTranslators(NULL), B_OK);
	ASSERT_EQ(CountTranslators(fromDataHome), 1);
	EXPECT_EQ(NameOf(fromDataHome, 1), "FakeLow");

	unsetenv("XDG_DATA_HOME");
	setenv("HOME", (data / "nobody").c_str(), 1);
	BTranslatorRoster nothing;
	EXPECT_EQ(nothing.AddTranslators(NULL), B_ENTRY_NOT_FOUND);
}


TEST(TranslatorRosterTest, DefaultRosterIsSharedAndLoaded)
{
	setenv("TRANSLATORS_PATH", FAKE_HIGH_PATH, 1);
	BTranslatorRoster *roster = BTranslatorRoster::Default();
	ASSERT_NE(roster, nullptr);
	EXPECT_EQ(BTranslatorRoster::Default(), roster);
	EXPECT_GE(CountTranslators(*roster), 1);
}


TEST_F(TranslatorRosterWithFakesTest, FormatTablesAreCountedToTheirEnd)
{
	const translation_format *formats = NULL;
	int32 count = 0;
	ASSERT_EQ(fRoster.GetInputFormats(kHigh, &formats, &count), B_OK);
	ASSERT_EQ(count, 2);
	EXPECT_EQ(formats[0].type, kFakeType);
	EXPECT_EQ(formats[1].type, 'FAK2');
	ASSERT_EQ(fRoster.GetOutputFormats(kLow, &formats, &count), B_OK);
	ASSERT_EQ(count, 1);
	EXPECT_EQ(formats[0].type, kFakeOutput);

	const char *name, *info;
	int32 version;
	ASSERT_EQ(fRoster.GetTranslatorInfo(kLow, &name, &info, &version), B_OK);
	EXPECT_EQ(version, 120);
}


TEST_F(TranslatorRosterWithFakesTest, RefusesUnknownIdsAndNullPointers)
{
	const char *name, *info;
	int32 version, count;
	const translation_format *formats;
	BMallocIO source, destination;
	FillAtEnd(source, "FAKE");
	BMessage message;
	BView *view;
	BRect extent;

	for (translator_id id : {0u, 3u, 1000u}) {
		SCOPED_TRACE(id);
		EXPECT_EQ(fRoster.GetTranslatorInfo(id, &name, &info, &version),
			B_BAD_VALUE);
		EXPECT_EQ(fRoster.GetInputFormats(id, &formats, &count),
			B_BAD_VALUE);
		EXPECT_EQ(fRoster.GetOutputFormats(id, &formats, &count),
			B_BAD_VALUE);
		EXPECT_EQ(fRoster.Translate(id, &source, NULL, &destination,
			kFakeOutput), B_BAD_VALUE);
		EXPECT_EQ(fRoster.MakeConfigurationView(id, NULL, &view, &extent),
			B_BAD_VALUE);
		EXPECT_EQ(fRoster.GetConfigurationMessage(id, &message),
			B_BAD_VALUE);
		translator_info bad = {};
		bad.type = kFakeType;
		bad.translator = id;
		EXPECT_EQ(fRoster.Translate(&source, &bad, NULL, &destination,
			kFakeOutput), B_BAD_VALUE);
	}

	translator_info found;
	EXPECT_EQ(fRoster.GetAllTranslators(NULL, &count), B_BAD_VALUE);
	EXPECT_EQ(fRoster.GetTranslatorInfo(kHigh, NULL, &info, &version),
		B_BAD_VALUE);
	EXPECT_EQ(fRoster.GetInputFormats(kHigh, NULL, &count), B_BAD_VALUE);
	EXPECT_EQ(fRoster.GetOutputFormats(kHigh, &formats, NULL), B_BAD_VALUE);
	EXPECT_EQ(fRoster.Identify(NULL, NULL, &found), B_BAD_VALUE);
	EXPECT_EQ(fRoster.Identify(&source, NULL, NULL), B_BAD_VALUE);
	EXPECT_EQ(fRoster.GetTranslators(&source, NULL, NULL, &count),
		B_BAD_VALUE);
	EXPECT_EQ(fRoster.Translate((BPositionIO *)NULL, NULL, NULL,
		&destination, 0), B_BAD_VALUE);
	EXPECT_EQ(fRoster.Translate(&source, NULL, NULL, NULL, 0), B_BAD_VALUE);
	EXPECT_EQ(fRoster.Translate(kHigh, &source, NULL, NULL, kFakeOutput),
		B_BAD_VALUE);
	EXPECT_EQ(fRoster.MakeConfigurationView(kHigh, NULL, NULL, &extent),
		B_BAD_VALUE);
	EXPECT_EQ(fRoster.GetConfigurationMessage(kHigh, NULL), B_BAD_VALUE);
}


TEST_F(TranslatorRosterWithFakesTest, IdentifyRewindsAndPicksTheBestTranslator)
{
	BMallocIO source;
	FillAtEnd(source, "FAKE and more");
	translator_info info;
	ASSERT_EQ(fRoster.Identify(&source, NULL, &info), B_OK);
	EXPECT_EQ(info.translator, kHigh);
	EXPECT_EQ(info.type, kFakeType);
	EXPECT_STREQ(info.name, "FakeHigh");
	EXPECT_FLOAT_EQ(info.quality, 0.9f);

	translator_info *all = NULL;
	int32 count = 0;
	ASSERT_EQ(fRoster.GetTranslators(&source, NULL, &all, &count), B_OK);
	ASSERT_EQ(count, 2);
	EXPECT_EQ(all[0].translator, kHigh);
	EXPECT_EQ(all[1].translator, kLow);
	EXPECT_STREQ(all[1].name, "FakeLow");
	delete[] all;

	EXPECT_EQ(fRoster.Identify(&source, NULL, &info, 0, NULL, 'JUNK'),
		B_NO_TRANSLATOR);
	FillAtEnd(source, "something else");
	EXPECT_EQ(fRoster.Identify(&source, NULL, &info), B_NO_TRANSLATOR);
	all = NULL;
	EXPECT_EQ(fRoster.GetTranslators(&source, NULL, &all, &count),
		B_NO_TRANSLATOR);
	EXPECT_EQ(all, nullptr);
	EXPECT_EQ(count, 0);
}


TEST_F(TranslatorRosterWithFakesTest, IdentifyHandsOnTheTranslatorsOwnHintRow)
{
	BMallocIO source;
	FillAtEnd(source, "FAKE");
	translator_info info;
	ASSERT_EQ(fRoster.Identify(&source, NULL, &info, kFakeType), B_OK);
	EXPECT_EQ(info.group, 'HINT');
	ASSERT_EQ(fRoster.Identify(&source, NULL, &info, 0,
		"application/x-fake2"), B_OK);
	EXPECT_EQ(info.group, 'HINT');
	ASSERT_EQ(fRoster.Identify(&source, NULL, &info, 'ELSE',
		"image/else"), B_OK);
	EXPECT_EQ(info.group, kFakeType);
}


TEST_F(TranslatorRosterWithFakesTest, IdentifyEndsTheTranslatorsStrings)
{
	BMallocIO source;
	FillAtEnd(source, "NOTE");
	translator_info info;
	ASSERT_EQ(fRoster.Identify(&source, NULL, &info), B_OK);
	EXPECT_EQ(strlen(info.name), sizeof(info.name) - 1);
}


TEST_F(TranslatorRosterWithFakesTest, TranslateRewindsAndPassesTheIdentifiedType)
{
	BMallocIO source;
	FillAtEnd(source, "FAKE");

	BMallocIO best;
	ASSERT_EQ(fRoster.Translate(&source, NULL, NULL, &best, kFakeOutput),
		B_OK);
	EXPECT_EQ(Text(best), "FakeHigh");

	BMallocIO chosen;
	source.Seek(2, SEEK_SET);
	ASSERT_EQ(fRoster.Translate(kLow, &source, NULL, &chosen, kFakeOutput),
		B_OK);
	EXPECT_EQ(Text(chosen), "FakeLow");

	translator_info *all = NULL;
	int32 count = 0;
	ASSERT_EQ(fRoster.GetTranslators(&source, NULL, &all, &count), B_OK);
	ASSERT_EQ(count, 2);
	BMallocIO second;
	EXPECT_EQ(fRoster.Translate(&source, &all[1], NULL, &second,
		kFakeOutput), B_OK);
	EXPECT_EQ(Text(second), "FakeLow");
	delete[] all;

	FillAtEnd(source, "none of these");
	BMallocIO nothing;
	EXPECT_EQ(fRoster.Translate(&source, NULL, NULL, &nothing, kFakeOutput),
		B_NO_TRANSLATOR);
	EXPECT_EQ(fRoster.Translate(kHigh, &source, NULL, &nothing, kFakeOutput),
		B_NO_TRANSLATOR);
	EXPECT_EQ(nothing.BufferLength(), 0u);
}


TEST_F(TranslatorRosterWithFakesTest, AStreamThatCannotRewindIsRefused)
{
	UnseekableIO source;
	const char magic[] = "FAKE";
	source.WriteAt(0, magic, 4);
	translator_info info;
	EXPECT_EQ(fRoster.Identify(&source, NULL, &info), B_IO_ERROR);
	BMallocIO destination;
	EXPECT_EQ(fRoster.Translate(&source, NULL, NULL, &destination,
		kFakeOutput), B_IO_ERROR);
	EXPECT_EQ(fRoster.Translate(kHigh, &source, NULL, &destination,
		kFakeOutput), B_IO_ERROR);
}


TEST_F(TranslatorRosterWithFakesTest, ConfigurationNeedsTheAddOnsEntryPoints)
{
	BView *view = NULL;
	BRect extent;
	EXPECT_EQ(fRoster.MakeConfigurationView(kHigh, NULL, &view, &extent),
		B_OK);
	EXPECT_EQ(extent, BRect(0, 0, 99, 49));
	EXPECT_EQ(fRoster.MakeConfigurationView(kLow, NULL, &view, &extent),
		B_ERROR);

	BMessage message;
	EXPECT_EQ(fRoster.GetConfigurationMessage(kHigh, &message), B_OK);
	EXPECT_STREQ(message.GetString("fake"), "FakeHigh");
	EXPECT_EQ(fRoster.GetConfigurationMessage(kLow, &message), B_ERROR);
}
