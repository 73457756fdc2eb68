// The two header checks, each refusal by its reason: which Pilot images and
// bitmap streams are taken for identifying and for converting, what the
// Pilot check learns and where it leaves the stream.
#include <math.h>

#include <functional>
#include <set>
#include <string>

#include <DataIO.h>

#include <gtest/gtest.h>

#include "BitmapHeader.h"
#include "BitmapStreamBytes.h"
#include "PilotCodec.h"
#include "PilotImageBytes.h"
#include "PilotImageCheck.h"

namespace {

struct PilotChecked {
	std::string reason;
	PilotImageLayout layout;
	off_t position;
};

PilotChecked CheckPilot(const Bytes &file, HeaderUse use = kConverting)
{
	BMemoryIO source(file.data(), file.size());
	PilotChecked result;
	memset(&result.layout, 0, sizeof(result.layout));
	result.reason = HeaderCheckName(CheckPilotImage(&source, use,
		&result.layout));
	result.position = source.Position();
	return result;
}

std::string CheckBitmap(const Bytes &stream, HeaderUse use,
	PilotSize *size = NULL)
{
	BMemoryIO source(stream.data(), stream.size());
	TranslatorBitmap header;
	PilotSize ignored;
	return HeaderCheckName(CheckBitmapHeader(&source, use, &header,
		size != NULL ? size : &ignored));
}

// Sixteen greys, 16 x 3, packing with its high bits set.
PilotBytes GreyFile()
{
	PilotBytes file;
	file.width = 16;
	file.height = 3;
	file.packing = 0x19;
	file.pixelType = kSixteenGreyPixelType;
	file.pixels = Bytes(24, 0x1B);
	return file;
}

Bytes Cut(Bytes bytes, size_t size)
{
	bytes.resize(size);
	return bytes;
}

} // namespace

TEST(PilotImageCheck, AcceptsTheWrittenLayoutAndStopsAtThePixels)
{
	const PilotChecked result = CheckPilot(GreyFile().Build());
	ASSERT_EQ("accepted", result.reason);
	const PilotImageLayout &layout = result.layout;
	EXPECT_STREQ("Sample", layout.header.name);
	EXPECT_EQ(0x19, layout.header.packing);
	EXPECT_EQ(-1, layout.header.reserved6);
	EXPECT_EQ(4u, layout.bitsPerPixel);
	EXPECT_TRUE(layout.packed);
	EXPECT_EQ(16u, layout.width);
	EXPECT_EQ(3u, layout.height);
	EXPECT_EQ(8u, layout.storedRowBytes);
	EXPECT_EQ(16u * 3, layout.dataSize);
	EXPECT_EQ(144, result.position);

	PilotBytes file = GreyFile();
	file.recordOffset = 88;
	EXPECT_EQ(88 + 58, CheckPilot(file.Build()).position);
}

TEST(PilotImageCheck, EachRuleHasItsReason)
{
	struct Case {
		const char *what;
		std::function<void(PilotBytes &)> change;
		const char *identifying;
		const char *converting;
	} cases[] = {
		{"two records", [](PilotBytes &f) { f.numRecords = 2; },
			"accepted", "accepted"},
		{"any creator", [](PilotBytes &f) { f.creator = 'ABCD'; },
			"accepted", "accepted"},
		{"names differing after the NUL", [](PilotBytes &f) {
			f.name = std::string("Pic\0one", 7);
			f.imageName = std::string("Pic\0two", 7);
		}, "accepted", "accepted"},
		{"a 31-character name", [](PilotBytes &f) {
			f.name = std::string(31, 'n');
		}, "accepted", "accepted"},
		{"no pixel data", [](PilotBytes &f) { f.pixels.clear(); },
			"accepted", "accepted"},
		{"no records", [](PilotBytes &f) { f.numRecords = 0; },
			"no-records", "no-records"},
		{"record count 0x8000", [](PilotBytes &f) { f.numRecords = -32768; },
			"no-records", "no-records"},
		{"record count 0xFFFF", [](PilotBytes &f) { f.numRecords = -1; },
			"no-records", "no-records"},
		{"another type", [](PilotBytes &f) { f.type = 'vIMH'; },
			"not-an-image-database", "not-an-image-database"},
		{"another name", [](PilotBytes &f) { f.imageName = "Samplf"; },
			"names-differ", "names-differ"},
		{"a longer name", [](PilotBytes &f) { f.imageName = "Samples"; },
			"names-differ", "names-differ"},
		{"negative record offset", [](PilotBytes &f) {
			f.recordOffset = (int32)0x80000005;
		}, "record-unreachable", "record-unreachable"},
		{"width 0", [](PilotBytes &f) { f.width = 0; },
			"accepted", "picture-empty"},
		{"height -1", [](PilotBytes &f) { f.height = -1; },
			"accepted", "picture-empty"},
		{"32767 square", [](PilotBytes &f) { f.width = f.height = 32767; },
			"accepted", "picture-beyond-cap"},
		{"16384 x 16385", [](PilotBytes &f) {
			f.width = 16384;
			f.height = 16385;
		}, "accepted", "picture-beyond-cap"},
		{"16384 square", [](PilotBytes &f) { f.width = f.height = 16384; },
			"accepted", "accepted"},
	};
	for (const Case &c : cases) {
		for (uint8 pixelType : {kOneBitPixelType, kFourGreyPixelType,
				kSixteenGreyPixelType}) {
			PilotBytes file = GreyFile();
			file.pixelType = pixelType;
			c.change(file);
			EXPECT_EQ(c.identifying, CheckPilot(file.Build(),
				kIdentifying).reason) << c.what;
			EXPECT_EQ(c.converting, CheckPilot(file.Build()).reason)
				<< c.what << ", pixel type " << (int)pixelType;
		}
	}

	// A record entry pointing past the end of the file.
	Bytes file = GreyFile().Build();
	PutBE32(file, 78, 5000);
	EXPECT_EQ("image-header-cut", CheckPilot(file).reason);
}

TEST(PilotImageCheck, DepthAndPackingFollowThePixelType)
{
	const struct {
		uint8 pixelType;
		uint8 packing;
		uint32 bitsPerPixel;
		bool packed;
	} kinds[] = {{kOneBitPixelType, 0x11, 1, true}, {kFourGreyPixelType, 0,
		2, false}, {0xFE, 0x09, 2, false}, {0x01, 0x02, 2, false},
		{kSixteenGreyPixelType, 0x09, 4, true},
		{kSixteenGreyPixelType, 0x0A, 4, false}};
	for (const auto &kind : kinds) {
		PilotBytes file = GreyFile();
		file.pixelType = kind.pixelType;
		file.packing = kind.packing;
		const PilotChecked result = CheckPilot(file.Build(), kIdentifying);
		EXPECT_EQ(kind.bitsPerPixel, result.layout.bitsPerPixel)
			<< (int)kind.pixelType;
		EXPECT_EQ(kind.packed, result.layout.packed) << (int)kind.packing;
	}
}

TEST(PilotImageCheck, EveryCutBeforeThePixelsIsRefused)
{
	const Bytes file = GreyFile().Build();
	for (size_t size = 0; size < 144; size++) {
		EXPECT_EQ(size < 78 ? "database-header-cut" : size < 86
			? "record-entry-cut" : "image-header-cut",
			CheckPilot(Cut(file, size)).reason) << size << " bytes";
	}
	EXPECT_EQ("accepted", CheckPilot(Cut(file, 144)).reason);
}

TEST(PilotImageCheck, TealPaintRecordsGiveTheirSizeAndPixels)
{
	PilotBytes gameboy;
	gameboy.type = 'GbDb';
	gameboy.creator = 'TlPt';
	gameboy.width = 24;
	PilotChecked result = CheckPilot(gameboy.Build());
	ASSERT_EQ("accepted", result.reason);
	EXPECT_STREQ("Sample", result.layout.header.name);
	EXPECT_EQ(0, result.layout.header.packing);
	EXPECT_EQ(kOneBitPixelType, result.layout.header.pixelType);
	EXPECT_EQ(0u, result.layout.header.reserved1);
	EXPECT_EQ(-1, result.layout.header.reserved7);
	EXPECT_EQ(24, result.layout.header.width);
	EXPECT_EQ(2, result.layout.header.height);
	EXPECT_EQ(86 + 24, result.position);

	// The creator decides the layout even when the type is 'vIMG'.
	for (uint32 type : {(uint32)'Imag', (uint32)'vIMG'}) {
		PilotBytes other = gameboy;
		other.type = type;
		other.dataOffset = 48;
		other.width = 40;
		result = CheckPilot(other.Build());
		ASSERT_EQ("accepted", result.reason);
		EXPECT_EQ(1u, result.layout.bitsPerPixel);
		EXPECT_FALSE(result.layout.packed);
		EXPECT_EQ(40u, result.layout.width);
		EXPECT_EQ(86 + 48, result.position);
	}
}

TEST(PilotImageCheck, TealPaintRecordsThatCannotBeReadAreRefused)
{
	PilotBytes file;
	file.type = 'GbDb';
	file.creator = 'TlPt';
	EXPECT_EQ("tealpaint-record-cut", CheckPilot(Cut(file.Build(), 86 + 3))
		.reason);

	file.type = 'Imag';
	file.dataOffset = 48;
	const Bytes other = file.Build();
	EXPECT_EQ("tealpaint-record-cut", CheckPilot(Cut(other, 86 + 25)).reason);
	EXPECT_EQ("tealpaint-record-cut", CheckPilot(Cut(other, 86 + 11)).reason);

	// A data offset that takes the pixels before the start of the file,
	// written over the built one: built as given, the record would be
	// padded to 4 GB.
	Bytes unreachable = other;
	PutBE32(unreachable, 86 + 8, (uint32)-100);
	EXPECT_EQ("pixels-unreachable", CheckPilot(unreachable).reason);
}

TEST(BitmapHeaderCheck, EachRuleHasItsReason)
{
	struct Case {
		const char *what;
		std::function<void(BitmapStreamBytes &)> change;
		const char *identifying;
		const char *converting;
	} cases[] = {
		{"the smallest", [](BitmapStreamBytes &) {}, "accepted", "accepted"},
		{"little-endian magic", [](BitmapStreamBytes &b) {
			b.magic = 'stib';
		}, "not-a-bitmap-stream", "not-a-bitmap-stream"},
		{"no magic", [](BitmapStreamBytes &b) { b.magic = 0; },
			"not-a-bitmap-stream", "not-a-bitmap-stream"},
		{"the empty rectangle", [](BitmapStreamBytes &b) {
			b.right = b.bottom = -1;
		}, "bounds-disordered", "bounds-disordered"},
		{"right below left", [](BitmapStreamBytes &b) {
			b.left = 10;
			b.right = 9;
		}, "bounds-disordered", "bounds-disordered"},
		{"bottom above top", [](BitmapStreamBytes &b) { b.top = 1; },
			"bounds-disordered", "bounds-disordered"},
		{"NaN bottom", [](BitmapStreamBytes &b) { b.bottom = NAN; },
			"bounds-disordered", "bounds-disordered"},
		{"NaN left", [](BitmapStreamBytes &b) { b.left = NAN; },
			"bounds-disordered", "bounds-disordered"},
		{"dataSize 8", [](BitmapStreamBytes &b) { b.dataSize = 8; },
			"data-size-disagrees", "accepted"},
		{"wider than rowBytes", [](BitmapStreamBytes &b) { b.right = 99; },
			"accepted", "accepted"},
		{"rows from the float bounds", [](BitmapStreamBytes &b) {
			b.bottom = 1.5f;
			b.dataSize = 10;
		}, "accepted", "accepted"},
		{"no 32-bit wraparound", [](BitmapStreamBytes &b) {
			b.bottom = 99;
			b.rowBytes = 0x80000000u;
			b.dataSize = 0;
		}, "data-size-disagrees", "accepted"},
		{"32761 wide, 32768 on the grey path", [](BitmapStreamBytes &b) {
			b.right = 32760;
			b.dataSize = 0;
		}, "data-size-disagrees", "beyond-pilot-fields"},
		{"32753 wide, 32768 on the 1-bit path", [](BitmapStreamBytes &b) {
			b.colors = B_GRAY1;
			b.right = 32752;
		}, "accepted", "beyond-pilot-fields"},
		{"infinite", [](BitmapStreamBytes &b) { b.left = -INFINITY; },
			"accepted", "beyond-pilot-fields"},
		{"16384 x 16385", [](BitmapStreamBytes &b) {
			b.right = 16383;
			b.bottom = 16384;
			b.dataSize = 16385 * 4;
		}, "accepted", "picture-beyond-cap"},
	};
	for (const Case &c : cases) {
		BitmapStreamBytes bitmap;
		c.change(bitmap);
		EXPECT_EQ(c.identifying, CheckBitmap(bitmap.Serialize(),
			kIdentifying)) << c.what;
		EXPECT_EQ(c.converting, CheckBitmap(bitmap.Serialize(), kConverting))
			<< c.what;
	}

	for (uint32 colors : {(uint32)B_GRAY1, (uint32)B_CMAP8, (uint32)B_RGB32,
			(uint32)B_GRAY8, (uint32)B_RGB24, (uint32)B_RGBA32,
			(uint32)B_RGB32_BIG, 0u}) {
		BitmapStreamBytes bitmap;
		bitmap.colors = colors;
		const bool converted = colors == B_GRAY1 || colors == B_CMAP8
			|| colors == B_RGB32;
		for (HeaderUse use : {kIdentifying, kConverting}) {
			EXPECT_EQ(converted ? "accepted" : "colour-space-not-converted",
				CheckBitmap(bitmap.Serialize(), use)) << colors;
		}
	}

	const Bytes stream = BitmapStreamBytes().Serialize();
	for (size_t length = 0; length < stream.size(); length++) {
		EXPECT_EQ("bitmap-header-cut", CheckBitmap(Cut(stream, length),
			kConverting)) << length << " bytes";
	}
}

TEST(BitmapHeaderCheck, ConvertingGivesThePilotSize)
{
	BitmapStreamBytes bitmap = BitmapStreamBytes::Make(B_CMAP8, 161, 170);
	PilotSize size;
	ASSERT_EQ("accepted", CheckBitmap(bitmap.Serialize(), kConverting,
		&size));
	EXPECT_EQ(168, size.width);
	EXPECT_EQ(170, size.height);
}

TEST(HeaderCheckNames, EachReasonHasItsOwnNameAndWords)
{
	std::set<std::string> names;
	std::set<std::string> words;
	for (int check = 0; check < kHeaderCheckCount; check++) {
		names.insert(HeaderCheckName((HeaderCheck)check));
		words.insert(RefusalText({(HeaderCheck)check, 20000, 20000}));
	}
	EXPECT_EQ((size_t)kHeaderCheckCount, names.size());
	EXPECT_EQ((size_t)kHeaderCheckCount, words.size());
	EXPECT_EQ(0u, names.count("?"));
	EXPECT_STREQ("?", HeaderCheckName(kHeaderCheckCount));
}

// The size that decided a refusal is said: a Pilot image's own, or the
// size a bitmap would take as one (its own when it has none).
TEST(HeaderCheckNames, RefusalsSayTheSizeThatDecided)
{
	struct Case {
		float right;
		float bottom;
		const char *words;
	} cases[] = {
		{32760, 0, "32761 x 1 is larger than a Pilot image may be (at most "
			"32767 pixels a side)"},
		{INFINITY, 0, "the bitmap's size is larger than a Pilot image may "
			"be"},
		{16383, 16384, "16384 x 16385 is more pixels than a Pilot image may "
			"hold (at most 268435456, such as 16384 x 16384)"},
	};
	for (const Case &c : cases) {
		BitmapStreamBytes bitmap;
		bitmap.right = c.right;
		bitmap.bottom = c.bottom;
		const Bytes stream = bitmap.Serialize();
		BMemoryIO source(stream.data(), stream.size());
		BMallocIO destination;
		PilotRefusal refusal;
		EXPECT_EQ(B_NO_TRANSLATOR, SavePilotImage(source, destination,
			PilotOptions(), NULL, &refusal));
		EXPECT_EQ(0, RefusalText(refusal).rfind(c.words, 0))
			<< RefusalText(refusal);
	}

	const Bytes file = PilotImageOfType(20000, 20000, 0, 0, Bytes());
	BMemoryIO source(file.data(), file.size());
	BMallocIO destination;
	PilotRefusal refusal;
	EXPECT_EQ(B_NO_TRANSLATOR, LoadPilotImage(source, destination, NULL,
		&refusal));
	EXPECT_EQ("20000 x 20000 is more pixels than a Pilot image may hold (at "
		"most 268435456, such as 16384 x 16384)", RefusalText(refusal));
}
