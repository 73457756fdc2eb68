// Writes the fuzzers' seed corpus: small valid inputs of every kind each
// fuzzer reads, so that fuzzing starts from deep inside the formats. One
// folder per fuzzer:
//   translate     Pilot images (every pixel type, plain and packed with
//                 either packing byte for sixteen greys, record at 86 and
//                 88, both 'TlPt' layouts, odd widths, cut short)
//                 and bitmap streams (B_GRAY1, B_CMAP8, B_RGB32), each
//                 followed by an options byte
//   bitmap        bitmap streams of every kind the writer takes, with odd
//                 bounds and row lengths, each followed by a destination
//                 limit and an options byte
//   pack          byte strings with long, short and no runs
//   settings      flattened messages: the add-on's options, stored
//                 settings files, and messages of every field type
//   pictures      PNG (every colour type and depth, interlaced), JPEG
//                 (grey, colour, progressive), PNM (P1 to P6, two-byte
//                 samples) and bitmap streams of every colour space the
//                 standard translators read: run-fuzzers.sh gives them to
//                 the png, jpeg and pnm fuzzers
//   gif, bmp      beside those (copied by run-fuzzers.sh): GIF (global and
//                 local tables, transparency, interlaced, black and white)
//                 and BMP (every depth, RLE4 and RLE8 with moves, bit
//                 fields, the OS/2 core header, top-down), made by the
//                 tests' file makers
#include <stdio.h>
#include <string.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include <Message.h>
#include <PilotTranslator.h>
#include <TranslatorFormats.h>

#include <png.h>

#include "BitmapStreamBytes.h"
#include "ImageFiles.h"
#include "JpegFiles.h"
#include "PilotImageBytes.h"
#include "RunLength.h"

static Bytes Packed(const Bytes &plain)
{
	Bytes packed(PackedSizeBound(plain.size()));
	packed.resize(PackRuns(packed.data(), plain.data(),
		(uint32)plain.size()));
	return packed;
}

// A Pilot image of pattern pixels, packed by our packer when the packing
// byte says so (for sixteen greys its low three bits, else its low four).
static Bytes PilotImage(int16 width, int16 height, uint8 pixelType,
	uint8 packing, int32 recordOffset = 86)
{
	PilotBytes file;
	file.name = "Seed";
	file.recordOffset = recordOffset;
	file.packing = packing;
	file.pixelType = pixelType;
	file.width = width;
	file.height = height;
	const uint32 bits = pixelType == kOneBitPixelType ? 1
		: pixelType == kSixteenGreyPixelType ? 4 : 2;
	const Bytes plain = PatternBytes((size_t)(width / (8 / bits)) * height,
		1 + 2 * (int)bits);
	const bool packed = (packing & (bits == 4 ? 0x07 : 0x0F)) == 1;
	file.pixels = packed ? Packed(plain) : plain;
	return file.Build();
}

static Bytes TealPaint(bool gameboy)
{
	PilotBytes file;
	file.name = "Seed";
	file.type = gameboy ? 'GbDb' : 'Imag';
	file.creator = 'TlPt';
	file.width = 16;
	file.height = 4;
	file.pixels = PatternBytes(8, 7);
	return file.Build();
}

// A bitmap stream: the header as given, then pixelBytes bytes of pattern.
static Bytes BitmapStream(BRect bounds, uint32 rowBytes, uint32 colors,
	uint32 dataSize, size_t pixelBytes)
{
	BitmapStreamBytes stream = BitmapStreamBytes::Header(bounds.left,
		bounds.top, bounds.right, bounds.bottom, rowBytes, colors, dataSize);
	stream.rows = PatternBytes(pixelBytes, 11);
	return stream.Serialize();
}

// A whole, consistent stream of width x height pixels, rows padded with
// extra bytes each.
static Bytes BitmapStream(int width, int height, uint32 colors,
	uint32 extra = 0)
{
	return BitmapStreamBytes::Patterned(colors, width, height, extra)
		.Serialize();
}

// The bitmap fuzzer's tail: the destination's limit, then the options.
static Bytes WithLimit(Bytes stream, uint16 limit, uint8 options)
{
	stream.push_back((uint8)limit);
	stream.push_back((uint8)(limit >> 8));
	stream.push_back(options);
	return stream;
}

static Bytes FlattenedBytes(const BMessage &message)
{
	BMallocIO stream;
	message.Flatten(&stream);
	const uint8 *bytes = static_cast<const uint8 *>(stream.Buffer());
	return Bytes(bytes, bytes + stream.BufferLength());
}

static BMessage OptionsMessage(const char *name, bool flags)
{
	BMessage message;
	message.AddString(PILOT_DB_NAME_SETTING, name);
	message.AddBool(PILOT_COMPRESS_SETTING, flags);
	message.AddBool(PILOT_DITHER_SETTING, !flags);
	message.AddBool(PILOT_CONTRAST_SETTING, flags);
	return message;
}

// The settings file as the kit stores it: the options with the kit's own
// name and version fields.
static BMessage StoredSettings(const char *translator)
{
	BMessage message = OptionsMessage("Holiday", false);
	message.AddString("translator:name", translator);
	message.AddInt32("translator:version", 220);
	return message;
}

// One field of every type, several values in one field, and a nested
// message, with keys of the add-on's options holding the wrong types.
static BMessage EveryType()
{
	BMessage message('Ever');
	message.AddInt8("int8", -8);
	message.AddUInt8("uint8", 8);
	message.AddInt16("int16", -16);
	message.AddUInt16("uint16", 16);
	message.AddInt32(PILOT_COMPRESS_SETTING, 1);
	message.AddUInt32("uint32", 32);
	message.AddInt64("int64", -64);
	message.AddUInt64("uint64", 64);
	message.AddFloat(PILOT_DITHER_SETTING, 0.5f);
	message.AddDouble("double", 2.5);
	message.AddRect("rect", BRect(1, 2, 3, 4));
	message.AddPoint("point", BPoint(5, 6));
	message.AddData(PILOT_DB_NAME_SETTING, B_RAW_TYPE, "raw", 3, false);
	message.AddString("strings", "one");
	message.AddString("strings", "two");
	message.AddBool(PILOT_CONTRAST_SETTING, true);
	message.AddBool(PILOT_CONTRAST_SETTING, false);
	BMessage nested = OptionsMessage("Nested", true);
	nested.AddMessage("deeper", &message);
	message.AddMessage("nested", &nested);
	return message;
}

static bool Save(const std::string &path, const Bytes &bytes)
{
	FILE *file = fopen(path.c_str(), "wb");
	if (file == NULL) {
		return false;
	}
	const bool written = fwrite(bytes.data(), 1, bytes.size(), file)
		== bytes.size();
	return fclose(file) == 0 && written;
}

static void AppendToBytes(png_structp png, png_bytep data, png_size_t size)
{
	Bytes *bytes = static_cast<Bytes *>(png_get_io_ptr(png));
	bytes->insert(bytes->end(), data, data + size);
}

// A small PNG of the colour type and depth, its samples a pattern; a
// palette of greys and a transparent entry or colour where the type has
// room for one.
static Bytes Png(int width, int height, int colorType, int bitDepth,
	bool interlaced, bool transparency)
{
	Bytes file;
	png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, NULL,
		NULL, NULL);
	png_infop info = png_create_info_struct(png);
	if (setjmp(png_jmpbuf(png))) {
		png_destroy_write_struct(&png, &info);
		return Bytes();
	}
	png_set_write_fn(png, &file, AppendToBytes, NULL);
	png_set_IHDR(png, info, width, height, bitDepth, colorType,
		interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
		PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
	if (colorType == PNG_COLOR_TYPE_PALETTE) {
		png_color palette[16];
		for (int i = 0; i < 16; i++) {
			palette[i].red = (png_byte)(i * 17);
			palette[i].green = (png_byte)(255 - i * 17);
			palette[i].blue = (png_byte)(i * 5);
		}
		png_set_PLTE(png, info, palette, 1 << (bitDepth < 4 ? bitDepth : 4));
		if (transparency) {
			png_byte alpha[2] = {0, 128};
			png_set_tRNS(png, info, alpha, 2, NULL);
		}
	} else if (transparency && (colorType & PNG_COLOR_MASK_ALPHA) == 0) {
		png_color_16 colour = {};
		png_set_tRNS(png, info, NULL, 0, &colour);
	}
	png_write_info(png, info);
	const size_t rowBytes = png_get_rowbytes(png, info);
	const Bytes pixels = PatternBytes(rowBytes * height, 3);
	if (colorType == PNG_COLOR_TYPE_PALETTE && bitDepth == 8) {
		// Indexes within the 16 entries.
		Bytes indexes(pixels);
		for (uint8 &index : indexes) {
			index &= 15;
		}
		for (int y = 0; y < height; y++) {
			png_write_row(png, &indexes[y * rowBytes]);
		}
	} else {
		for (int pass = png_set_interlace_handling(png); pass > 0; pass--) {
			for (int y = 0; y < height; y++) {
				png_write_row(png,
					const_cast<png_bytep>(&pixels[y * rowBytes]));
			}
		}
	}
	png_write_end(png, NULL);
	png_destroy_write_struct(&png, &info);
	return file;
}

static Bytes Jpeg(int width, int height, bool grey, bool progressive)
{
	JpegOptions options;
	options.colorSpace = grey ? JCS_GRAYSCALE : JCS_RGB;
	options.components = grey ? 1 : 3;
	options.progressive = progressive;
	options.quality = 50;
	const size_t rowBytes = (size_t)width * options.components;
	return EncodeJpeg(width, height, PatternBytes(rowBytes * height, 5),
		options);
}

static Bytes Text(const std::string &text)
{
	return Bytes(text.begin(), text.end());
}

// A binary PNM: the header text, then pattern samples.
static Bytes Pnm(const std::string &header, size_t sampleBytes)
{
	Bytes file = Text(header);
	const Bytes samples = PatternBytes(sampleBytes, 7);
	file.insert(file.end(), samples.begin(), samples.end());
	return file;
}

struct Seed {
	const char *name;
	Bytes bytes;
};

static bool SaveAll(const std::string &folder,
	const std::vector<Seed> &seeds)
{
	mkdir(folder.c_str(), 0755);
	bool ok = true;
	for (const Seed &seed : seeds) {
		ok = !seed.bytes.empty() && Save(folder + "/" + seed.name, seed.bytes)
			&& ok;
	}
	return ok;
}

static Bytes WithOptions(Bytes bytes, uint8 options)
{
	bytes.push_back(options);
	return bytes;
}

static std::vector<Seed> TranslateSeeds()
{
	Bytes cut = PilotImage(32, 8, kFourGreyPixelType, 1);
	cut.resize(cut.size() - 10);
	Bytes sixteenCut = PilotImage(21, 5, kSixteenGreyPixelType, 0);
	sixteenCut.resize(sixteenCut.size() - 17);
	std::vector<Seed> seeds = {
		{"grey-plain", PilotImage(16, 4, kFourGreyPixelType, 0)},
		{"grey-packed", PilotImage(32, 8, kFourGreyPixelType, 1)},
		{"grey-odd-width", PilotImage(18, 3, kFourGreyPixelType, 0)},
		{"grey-record-88", PilotImage(16, 2, kFourGreyPixelType, 0, 88)},
		{"grey-cut", cut},
		{"sixteen-plain", PilotImage(16, 3, kSixteenGreyPixelType, 0)},
		{"sixteen-packed-01", PilotImage(32, 7, kSixteenGreyPixelType, 1)},
		{"sixteen-packed-09", PilotImage(24, 5, kSixteenGreyPixelType, 9)},
		{"sixteen-odd-width", PilotImage(21, 5, kSixteenGreyPixelType, 9)},
		{"sixteen-cut", sixteenCut},
		{"mono-plain", PilotImage(24, 4, kOneBitPixelType, 0)},
		{"mono-packed", PilotImage(48, 6, kOneBitPixelType, 1)},
		{"mono-odd-width", PilotImage(21, 3, kOneBitPixelType, 0)},
		{"tealpaint-gameboy", TealPaint(true)},
		{"tealpaint-other", TealPaint(false)},
		{"bits-gray1", BitmapStream(20, 3, B_GRAY1)},
		{"bits-cmap8", BitmapStream(7, 4, B_CMAP8)},
		{"bits-rgb32", BitmapStream(5, 3, B_RGB32)},
	};
	int options = 0;
	for (Seed &seed : seeds) {
		seed.bytes = WithOptions(seed.bytes, (uint8)(options++ % 16));
	}
	return seeds;
}

static std::vector<Seed> BitmapSeeds()
{
	const uint16 kWhole = 0xFFFF;
	Bytes cut = BitmapStream(12, 6, B_RGB32);
	cut.resize(cut.size() - 20);
	return {
		{"gray1", WithLimit(BitmapStream(20, 3, B_GRAY1), kWhole, 0x80)},
		{"gray1-padded", WithLimit(BitmapStream(170, 2, B_GRAY1, 2), kWhole,
			0x81)},
		{"cmap8", WithLimit(BitmapStream(7, 4, B_CMAP8), kWhole, 0x83)},
		{"cmap8-wide", WithLimit(BitmapStream(161, 1, B_CMAP8, 3), kWhole,
			0x86)},
		{"rgb32", WithLimit(BitmapStream(5, 3, B_RGB32), kWhole, 0x87)},
		{"rgb32-named", WithLimit(BitmapStream(3, 3, B_RGB32), kWhole, 0x9A)},
		{"rgb32-comment", WithLimit(BitmapStream(3, 2, B_RGB32), kWhole,
			0xB0)},
		{"rgb32-cut", WithLimit(cut, kWhole, 0x82)},
		{"rgb32-offset-bounds", WithLimit(BitmapStream(BRect(10, 20, 13.5f,
			21), 16, B_RGB32, 48, 48), kWhole, 0x85)},
		{"rgb32-size-disagrees", WithLimit(BitmapStream(BRect(0, 0, 1, 1), 8,
			B_RGB32, 99, 16), kWhole, 0xC1)},
		{"gray1-limit-header", WithLimit(BitmapStream(8, 2, B_GRAY1), 100,
			0x00)},
		{"rgb32-limit-pixels", WithLimit(BitmapStream(4, 4, B_RGB32), 200,
			0x01)},
	};
}

static std::vector<Seed> PackSeeds()
{
	Bytes mixed = PatternBytes(600, 13);
	memset(&mixed[100], 0x55, 300);
	return {
		{"mixed", mixed},
		{"no-runs", PatternBytes(300, 1)},
		{"one-run", Bytes(260, 0xAA)},
		{"packed-picture", Packed(PatternBytes(500, 9))},
	};
}

static std::vector<Seed> SettingsSeeds()
{
	BMessage longName;
	longName.AddString(PILOT_DB_NAME_SETTING,
		"A name of far more than thirty-one characters");
	return {
		{"options", FlattenedBytes(OptionsMessage("Holiday", true))},
		{"options-empty-name", FlattenedBytes(OptionsMessage("", false))},
		{"stored", FlattenedBytes(StoredSettings("Quorvel"))},
		{"stored-other-translator", FlattenedBytes(StoredSettings("Other"))},
		{"long-name", FlattenedBytes(longName)},
		{"every-type", FlattenedBytes(EveryType())},
		{"empty", FlattenedBytes(BMessage('empt'))},
	};
}

static std::vector<Seed> PictureSeeds()
{
	return {
		{"png-gray1", Png(13, 5, PNG_COLOR_TYPE_GRAY, 1, false, false)},
		{"png-gray2-transparent", Png(9, 4, PNG_COLOR_TYPE_GRAY, 2, false,
			true)},
		{"png-gray8-interlaced", Png(11, 9, PNG_COLOR_TYPE_GRAY, 8, true,
			false)},
		{"png-gray16", Png(6, 3, PNG_COLOR_TYPE_GRAY, 16, false, false)},
		{"png-gray-alpha", Png(5, 4, PNG_COLOR_TYPE_GRAY_ALPHA, 8, false,
			false)},
		{"png-rgb8", Png(7, 5, PNG_COLOR_TYPE_RGB, 8, false, false)},
		{"png-rgb16-interlaced", Png(9, 9, PNG_COLOR_TYPE_RGB, 16, true,
			true)},
		{"png-rgba8", Png(6, 6, PNG_COLOR_TYPE_RGB_ALPHA, 8, false, false)},
		{"png-palette4", Png(10, 3, PNG_COLOR_TYPE_PALETTE, 4, false, true)},
		{"png-palette8", Png(8, 8, PNG_COLOR_TYPE_PALETTE, 8, false, false)},
		{"jpeg-grey", Jpeg(16, 9, true, false)},
		{"jpeg-colour", Jpeg(17, 8, false, false)},
		{"jpeg-progressive", Jpeg(20, 12, false, true)},
		{"pbm-plain", Text("P1\n# a comment\n5 2\n1 0 1 0 1\n01010\n")},
		{"pbm-packed", Pnm("P4\n10 3\n", 6)},
		{"pgm-plain", Text("P2 3 2 15\n0 5 10\n15 7 3\n")},
		{"pgm-binary", Pnm("P5\n4 3\n255\n", 12)},
		{"pgm-maxval-100", Text("P5 2 2 100\n\x01\x32\x63\x05")},
		{"pgm-two-byte", Pnm("P5\n3 2\n1000\n", 12)},
		{"ppm-plain", Text("P3\n2 2\n255\n255 0 0 0 255 0\n0 0 255 9 9 9\n")},
		{"ppm-binary", Pnm("P6\n3 3\n255\n", 27)},
		{"bits-gray1", BitmapStream(12, 3, B_GRAY1)},
		{"bits-gray8", BitmapStream(5, 3, B_GRAY8, 3)},
		{"bits-cmap8", BitmapStream(7, 4, B_CMAP8)},
		{"bits-rgb32", BitmapStream(5, 3, B_RGB32)},
		{"bits-rgba32", BitmapStream(4, 2, B_RGBA32)},
	};
}

// Pattern bytes as indexes below count.
static Bytes Indexes(size_t size, int count)
{
	Bytes indexes = PatternBytes(size, 5);
	for (uint8 &index : indexes) {
		index %= count;
	}
	return indexes;
}

static std::vector<Seed> GifSeeds()
{
	const Bytes colours = {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255,
		9, 9, 9};
	GifOptions local;
	local.localTable = true;
	local.transparent = 2;
	GifOptions interlaced;
	interlaced.interlaced = true;
	return {
		{"gif-colour", MakeGif(7, 5, colours, Indexes(35, 5))},
		{"gif-local-transparent", MakeGif(5, 4, colours, Bytes(20, 2), local)},
		{"gif-interlaced", MakeGif(3, 11, colours, Bytes(33, 1), interlaced)},
		{"gif-black-white", MakeGif(10, 2, {0, 0, 0, 255, 255, 255},
			Bytes(20, 1))},
	};
}

static Bytes Bmp(int32 width, int32 height, uint16 bits, uint32 compression,
	const Bytes &data, uint32 headerSize = 40,
	const std::vector<uint32> &masks = {})
{
	BmpFields fields;
	fields.width = width;
	fields.height = height;
	fields.bitsPerPixel = bits;
	fields.compression = compression;
	fields.headerSize = headerSize;
	fields.masks = masks;
	fields.data = data;
	if (bits <= 8) {
		const size_t entry = headerSize == 12 ? 3 : 4;
		fields.colourTable = PatternBytes(entry << (bits < 4 ? bits : 4), 9);
	}
	return MakeBmp(fields);
}

static std::vector<Seed> BmpSeeds()
{
	// Row 0: a run, four pixels as they are; a move; a run; an end of row
	// and of the picture.
	const Bytes rle8 = {2, 1, 0, 4, 2, 3, 2, 3, 0, 0, 0, 2, 2, 1, 3, 2, 0, 0,
		0, 1};
	const Bytes rle4 = {2, 0x11, 0, 5, 0x23, 0x23, 0x40, 0, 0, 0, 0, 2, 1, 1,
		3, 0x22, 0, 1};
	return {
		{"bmp-1", Bmp(10, 3, 1, 0, PadBmpRows(PatternBytes(6, 1), 2))},
		{"bmp-4", Bmp(5, 3, 4, 0, PadBmpRows(Indexes(9, 16), 3))},
		{"bmp-8-top-down", Bmp(3, -2, 8, 0, PadBmpRows(Indexes(6, 16), 3))},
		{"bmp-16", Bmp(3, 2, 16, 0, PadBmpRows(PatternBytes(12, 2), 6))},
		{"bmp-16-565", Bmp(3, 2, 16, 3, PadBmpRows(PatternBytes(12, 2), 6), 40,
			{0xF800, 0x07E0, 0x001F})},
		{"bmp-24", Bmp(3, 2, 24, 0, PadBmpRows(PatternBytes(18, 4), 9))},
		{"bmp-32-v5-alpha", Bmp(3, 2, 32, 3, PatternBytes(24, 6), 124,
			{0xFF0000, 0xFF00, 0xFF, 0xFF000000})},
		{"bmp-core-8", Bmp(4, 2, 8, 0, Indexes(8, 16), 12)},
		{"bmp-rle8", Bmp(6, 4, 8, 1, rle8)},
		{"bmp-rle4", Bmp(6, 4, 4, 2, rle4)},
	};
}

int main(int argc, char **argv)
{
	if (argc != 2) {
		fprintf(stderr, "usage: %s <corpus folder>\n", argv[0]);
		return 2;
	}
	const std::string folder = argv[1];
	mkdir(folder.c_str(), 0755);
	bool ok = SaveAll(folder + "/translate", TranslateSeeds());
	ok = SaveAll(folder + "/bitmap", BitmapSeeds()) && ok;
	ok = SaveAll(folder + "/pack", PackSeeds()) && ok;
	ok = SaveAll(folder + "/settings", SettingsSeeds()) && ok;
	ok = SaveAll(folder + "/pictures", PictureSeeds()) && ok;
	ok = SaveAll(folder + "/gif", GifSeeds()) && ok;
	ok = SaveAll(folder + "/bmp", BmpSeeds()) && ok;
	return ok ? 0 : 1;
}
