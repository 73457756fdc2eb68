// Recognising Pilot images: what is accepted in each layout, what the job
// learns from it and where the stream is left, and what is refused.
#include <string>

#include <DataIO.h>

#include <gtest/gtest.h>

#include "LoadedTranslator.h"
#include "PilotFileBuilder.h"
#include "PilotTranslate.h"

namespace {

struct Identified {
	status_t status;
	PilotImageHeader header;
	off_t position;
};

Identified IdentifyJob(const Bytes &file)
{
	BMemoryIO source(file.data(), file.size());
	PilotTranslate job(&source, NULL, NULL);
	memset(&job.imageHeader, 0, sizeof(job.imageHeader));
	Identified result;
	result.status = job.IdentifyPilotImage();
	result.header = job.imageHeader;
	result.position = source.Position();
	return result;
}

PilotFile GreyFile()
{
	PilotFile file;
	file.width = 16;
	file.height = 3;
	file.packing = 0x11;
	file.pixels = Bytes(12, 0x1B);
	return file;
}

Bytes Cut(Bytes bytes, size_t size)
{
	bytes.resize(size);
	return bytes;
}

} // namespace

TEST(IdentifyPilotTest, AcceptsTheWrittenLayoutAndStopsAtThePixels)
{
	const Identified result = IdentifyJob(GreyFile().Build());
	ASSERT_EQ(B_OK, result.status);
	EXPECT_STREQ("Picture", result.header.name);
	EXPECT_EQ(0x11, result.header.packing);
	EXPECT_EQ(kTwoBitPixels, result.header.pixelType);
	EXPECT_EQ(16, result.header.width);
	EXPECT_EQ(3, result.header.height);
	EXPECT_EQ(-1, result.header.reserved6);
	EXPECT_EQ(144, result.position);
}

TEST(IdentifyPilotTest, FollowsTheRecordEntryWhereverItPoints)
{
	PilotFile file = GreyFile();
	file.recordOffset = 88;
	const Identified result = IdentifyJob(file.Build());
	ASSERT_EQ(B_OK, result.status);
	EXPECT_EQ(16, result.header.width);
	EXPECT_EQ(88 + 58, result.position);
}

TEST(IdentifyPilotTest, AcceptsWhatTheRuleAllows)
{
	struct Case {
		const char *what;
		void (*change)(PilotFile &);
	} cases[] = {
		{"two records", [](PilotFile &f) { f.numRecords = 2; }},
		{"any creator", [](PilotFile &f) { f.creator = 'ABCD'; }},
		{"names differing after the NUL", [](PilotFile &f) {
			f.name = std::string("Pic\0one", 7);
			f.imageName = std::string("Pic\0two", 7);
		}},
		{"a 31-character name", [](PilotFile &f) {
			f.name = std::string(31, 'n');
		}},
		{"no pixel data", [](PilotFile &f) { f.pixels.clear(); }},
		{"any size", [](PilotFile &f) { f.width = -5; f.height = 0; }},
	};
	for (const Case &c : cases) {
		PilotFile file = GreyFile();
		c.change(file);
		EXPECT_EQ(B_OK, IdentifyJob(file.Build()).status) << c.what;
	}
}

TEST(IdentifyPilotTest, RefusesWhatTheRuleDoesNot)
{
	struct Case {
		const char *what;
		void (*change)(PilotFile &);
	} cases[] = {
		{"no records", [](PilotFile &f) { f.numRecords = 0; }},
		{"record count 0x8000", [](PilotFile &f) { f.numRecords = -32768; }},
		{"record count 0xFFFF", [](PilotFile &f) { f.numRecords = -1; }},
		{"another type", [](PilotFile &f) { f.type = 'vIMH'; }},
		{"another name", [](PilotFile &f) { f.imageName = "Picturf"; }},
		{"a longer name", [](PilotFile &f) { f.imageName = "Pictures"; }},
		{"negative record offset", [](PilotFile &f) {
			f.recordOffset = (int32)0x80000005;
		}},
	};
	for (const Case &c : cases) {
		PilotFile file = GreyFile();
		c.change(file);
		EXPECT_EQ(B_NO_TRANSLATOR, IdentifyJob(file.Build()).status)
			<< c.what;
	}

	// A record entry pointing past the end of the file.
	Bytes file = GreyFile().Build();
	WriteBE32(&file[78], 5000);
	EXPECT_EQ(B_NO_TRANSLATOR, IdentifyJob(file).status);
}

TEST(IdentifyPilotTest, RefusesEveryCutBeforeThePixels)
{
	const Bytes file = GreyFile().Build();
	for (size_t size = 0; size < 144; size++) {
		EXPECT_EQ(B_NO_TRANSLATOR, IdentifyJob(Cut(file, size)).status)
			<< size << " bytes";
	}
	EXPECT_EQ(B_OK, IdentifyJob(Cut(file, 144)).status);
}

TEST(IdentifyPilotTest, ReadsTealPaintGameboyRecords)
{
	const Identified result = IdentifyJob(
		TealPaintFile(kTealPaintGameboyType, 24, 2, Bytes(6, 0xF0)));
	ASSERT_EQ(B_OK, result.status);
	EXPECT_STREQ("Picture", result.header.name);
	EXPECT_EQ(0, result.header.packing);
	EXPECT_EQ(kOneBitPixels, result.header.pixelType);
	EXPECT_EQ(0u, result.header.reserved1);
	EXPECT_EQ(-1, result.header.reserved7);
	EXPECT_EQ(24, result.header.width);
	EXPECT_EQ(2, result.header.height);
	EXPECT_EQ(86 + 24, result.position);
}

TEST(IdentifyPilotTest, ReadsOtherTealPaintRecordsAtTheirDataOffset)
{
	// The creator decides the layout even when the type is 'vIMG'.
	for (uint32 type : {(uint32)'Imag', kImageDatabaseType}) {
		const Identified result = IdentifyJob(
			TealPaintFile(type, 40, 3, Bytes(15, 0x0F), 48));
		ASSERT_EQ(B_OK, result.status);
		EXPECT_EQ(kOneBitPixels, result.header.pixelType);
		EXPECT_EQ(0, result.header.packing);
		EXPECT_EQ(40, result.header.width);
		EXPECT_EQ(3, result.header.height);
		EXPECT_EQ(86 + 48, result.position);
	}
}

TEST(IdentifyPilotTest, RefusesTealPaintRecordsThatCannotBeRead)
{
	const Bytes gameboy = TealPaintFile(kTealPaintGameboyType, 8, 1, {});
	EXPECT_EQ(B_NO_TRANSLATOR, IdentifyJob(Cut(gameboy, 86 + 3)).status);

	const Bytes other = TealPaintFile('Imag', 8, 1, {}, 48);
	EXPECT_EQ(B_NO_TRANSLATOR, IdentifyJob(Cut(other, 86 + 25)).status);
	EXPECT_EQ(B_NO_TRANSLATOR, IdentifyJob(Cut(other, 86 + 11)).status);

	// A data offset that takes the pixels before the start of the file.
	Bytes before = other;
	WriteBE32(&before[86 + 8], (uint32)-100);
	EXPECT_EQ(B_NO_TRANSLATOR, IdentifyJob(before).status);
}

TEST(IdentifyPilotTest, TheRosterAnswersWithThePilotFormat)
{
	LoadedTranslator translator;
	ASSERT_EQ(B_OK, translator.InitCheck());
	const Bytes file = GreyFile().Build();
	BMemoryIO source(file.data(), file.size());
	translator_info info;
	ASSERT_EQ(B_OK, translator.Roster().Identify(&source, NULL, &info));
	EXPECT_EQ(PILOT_IMAGE_TYPE, info.type);
	EXPECT_EQ((uint32)'bits', info.group);
	EXPECT_STREQ("PalmPilot image", info.name);
	EXPECT_STREQ("image/x-pilotimage", info.MIME);

	const Bytes tealPaint = TealPaintFile(kTealPaintGameboyType, 8, 1,
		{0xAA});
	BMemoryIO tealSource(tealPaint.data(), tealPaint.size());
	ASSERT_EQ(B_OK, translator.Roster().Identify(&tealSource, NULL, &info));
	EXPECT_EQ(PILOT_IMAGE_TYPE, info.type);

	// Not a Pilot image, nor a bitmap stream.
	const Bytes other = Cut(file, 60);
	BMemoryIO otherSource(other.data(), other.size());
	EXPECT_EQ(B_NO_TRANSLATOR,
		translator.Roster().Identify(&otherSource, NULL, &info));
}
