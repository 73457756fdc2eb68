// Small file makers and readers that tests share: PNG (stored deflate, so
// that no PNG library is involved in making test input), GIF (LZW codes of
// one width) and BMP made by hand, the PNM that quorvel writes, and bitmap
// streams.
#ifndef QUORVEL_TEST_IMAGE_FILES_H
#define QUORVEL_TEST_IMAGE_FILES_H

#include <string.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include <ByteOrder.h>
#include <TranslatorFormats.h>

#include <gtest/gtest.h>

#include "BitmapStreamBytes.h"
#include "TestBytes.h"

inline Bytes BytesOfText(const std::string &text)
{
	return Bytes(text.begin(), text.end());
}

// --- PNG, made by hand ---------------------------------------------------

inline uint32 Crc32(const uint8 *data, size_t size, uint32 crc = 0)
{
	crc = ~crc;
	for (size_t i = 0; i < size; i++) {
		crc ^= data[i];
		for (int bit = 0; bit < 8; bit++) {
			crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
		}
	}
	return ~crc;
}

inline void PutBE32(Bytes &bytes, uint32 value)
{
	for (int shift = 24; shift >= 0; shift -= 8) {
		bytes.push_back((uint8)(value >> shift));
	}
}

inline void PutChunk(Bytes &png, const char *type, const Bytes &data)
{
	PutBE32(png, (uint32)data.size());
	size_t start = png.size();
	png.insert(png.end(), type, type + 4);
	png.insert(png.end(), data.begin(), data.end());
	PutBE32(png, Crc32(png.data() + start, png.size() - start));
}

// The rows (each rowBytes long, no filter byte) as a zlib stream of stored
// blocks.
inline Bytes StoredZlib(const Bytes &rows, size_t rowBytes)
{
	Bytes raw;
	for (size_t offset = 0; offset < rows.size(); offset += rowBytes) {
		raw.push_back(0);
		raw.insert(raw.end(), rows.begin() + offset,
			rows.begin() + offset + rowBytes);
	}
	Bytes zlib = {0x78, 0x01};
	size_t offset = 0;
	do {
		size_t length = std::min<size_t>(65535, raw.size() - offset);
		zlib.push_back(offset + length == raw.size() ? 1 : 0);
		zlib.push_back((uint8)length);
		zlib.push_back((uint8)(length >> 8));
		zlib.push_back((uint8)~length);
		zlib.push_back((uint8)(~length >> 8));
		zlib.insert(zlib.end(), raw.begin() + offset,
			raw.begin() + offset + length);
		offset += length;
	} while (offset < raw.size());
	uint32 a = 1, b = 0;
	for (uint8 byte : raw) {
		a = (a + byte) % 65521;
		b = (b + a) % 65521;
	}
	PutBE32(zlib, (b << 16) | a);
	return zlib;
}

// A PNG of the given zlib stream of rows (each with its filter byte).
// With interlace 1 the rows are Adam7's passes.
inline Bytes PngOfData(uint32 width, uint32 height, uint8 bitDepth,
	uint8 colorType, const Bytes &zlib, const Bytes &palette = Bytes(),
	const Bytes &transparency = Bytes(), uint8 interlace = 0)
{
	Bytes png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
	Bytes header;
	PutBE32(header, width);
	PutBE32(header, height);
	header.insert(header.end(), {bitDepth, colorType, 0, 0, interlace});
	PutChunk(png, "IHDR", header);
	if (!palette.empty()) {
		PutChunk(png, "PLTE", palette);
	}
	if (!transparency.empty()) {
		PutChunk(png, "tRNS", transparency);
	}
	PutChunk(png, "IDAT", zlib);
	PutChunk(png, "IEND", Bytes());
	return png;
}

// colorType 0 grey, 2 RGB, 3 palette, 4 grey+alpha, 6 RGBA.
inline Bytes MakePng(uint32 width, uint32 height, uint8 bitDepth,
	uint8 colorType, const Bytes &rows, const Bytes &palette = Bytes(),
	const Bytes &transparency = Bytes())
{
	static const int kChannels[] = {1, 0, 3, 1, 2, 0, 4};
	size_t rowBytes = ((size_t)width * kChannels[colorType] * bitDepth + 7)
		/ 8;
	return PngOfData(width, height, bitDepth, colorType,
		StoredZlib(rows, rowBytes), palette, transparency);
}

// The IHDR fields of a PNG file.
struct PngHeader {
	uint32 width;
	uint32 height;
	int bitDepth;
	int colorType;
};

inline PngHeader ReadPngHeader(const Bytes &png)
{
	EXPECT_GE(png.size(), 33u);
	if (png.size() < 33) {
		return {0, 0, 0, 0};
	}
	return {GetBE32(png, 16), GetBE32(png, 20), png[24], png[25]};
}

// --- PNM -------------------------------------------------------------------

struct Pnm {
	char type = 0;
	uint32 width = 0;
	uint32 height = 0;
	Bytes pixels;  // as stored after the header
};

// Reads what quorvel writes: P4, P5 or P6 with single spaces and
// newlines, maxval 255.
inline Pnm ParsePnm(const Bytes &bytes)
{
	Pnm pnm;
	std::string text(bytes.begin(), bytes.end());
	std::istringstream in(text);
	std::string magic;
	in >> magic >> pnm.width >> pnm.height;
	pnm.type = magic.size() == 2 ? magic[1] : 0;
	if (pnm.type != '4') {
		int maxval;
		in >> maxval;
	}
	in.get();
	size_t start = (size_t)in.tellg();
	pnm.pixels.assign(bytes.begin() + start, bytes.end());
	return pnm;
}

// --- GIF, made by hand -----------------------------------------------------

inline void PutLE(Bytes &bytes, uint32 value, int count)
{
	for (int i = 0; i < count; i++) {
		bytes.push_back((uint8)(value >> (8 * i)));
	}
}

// The indexes as LZW codes of the minimum code size plus one bits: a clear
// code before the table would need wider codes, so that every pixel is a
// code of its own. In sub-blocks, with the code size before them.
inline Bytes GifImageData(const Bytes &indexes, int codeSize)
{
	const uint32 clear = 1u << codeSize;
	const int width = codeSize + 1;
	std::vector<uint32> codes;
	for (size_t i = 0; i < indexes.size(); i++) {
		if (i % (clear - 2) == 0) {
			codes.push_back(clear);
		}
		codes.push_back(indexes[i]);
	}
	codes.push_back(clear + 1);
	Bytes packed;
	uint32 buffer = 0;
	int bits = 0;
	for (uint32 code : codes) {
		buffer |= code << bits;
		for (bits += width; bits >= 8; bits -= 8, buffer >>= 8) {
			packed.push_back((uint8)buffer);
		}
	}
	if (bits > 0) {
		packed.push_back((uint8)buffer);
	}
	Bytes data = {(uint8)codeSize};
	for (size_t at = 0; at < packed.size(); at += 255) {
		size_t length = std::min<size_t>(255, packed.size() - at);
		data.push_back((uint8)length);
		data.insert(data.end(), packed.begin() + at,
			packed.begin() + at + length);
	}
	data.push_back(0);
	return data;
}

struct GifOptions {
	int transparent = -1;
	bool interlaced = false;
	// The table after the image descriptor instead of the screen's.
	bool localTable = false;
};

// A GIF89a of one image; palette holds red, green, blue of each entry
// (padded with black to a power of two), indexes the rows top to bottom.
inline Bytes MakeGif(uint16 width, uint16 height, Bytes palette,
	const Bytes &indexes, const GifOptions &options = GifOptions())
{
	int tableBits = 1;
	while ((3u << tableBits) < palette.size()) {
		tableBits++;
	}
	palette.resize(3u << tableBits, 0);
	const uint8 tableFlags = (uint8)(0x80 | (tableBits - 1));
	Bytes gif = BytesOfText("GIF89a");
	PutLE(gif, width, 2);
	PutLE(gif, height, 2);
	gif.insert(gif.end(), {(uint8)(options.localTable ? 0 : tableFlags
		| 0x70), 0, 0});
	if (!options.localTable) {
		gif.insert(gif.end(), palette.begin(), palette.end());
	}
	if (options.transparent >= 0) {
		gif.insert(gif.end(), {0x21, 0xF9, 4, 1, 0, 0,
			(uint8)options.transparent, 0});
	}
	gif.push_back(0x2C);
	PutLE(gif, 0, 4);
	PutLE(gif, width, 2);
	PutLE(gif, height, 2);
	gif.push_back((uint8)((options.interlaced ? 0x40 : 0)
		| (options.localTable ? tableFlags : 0)));
	if (options.localTable) {
		gif.insert(gif.end(), palette.begin(), palette.end());
	}
	Bytes stored = indexes;
	if (options.interlaced) {
		stored.clear();
		static const uint16 kStart[] = {0, 4, 2, 1};
		static const uint16 kStep[] = {8, 8, 4, 2};
		for (int pass = 0; pass < 4; pass++) {
			for (uint16 y = kStart[pass]; y < height; y += kStep[pass]) {
				stored.insert(stored.end(), indexes.begin() + y * width,
					indexes.begin() + (y + 1) * width);
			}
		}
	}
	Bytes data = GifImageData(stored, std::max(2, tableBits));
	gif.insert(gif.end(), data.begin(), data.end());
	gif.push_back(0x3B);
	return gif;
}

// --- BMP, made by hand -----------------------------------------------------

struct BmpFields {
	int32 width = 0;
	// Negative for rows stored top to bottom.
	int32 height = 0;
	uint16 bitsPerPixel = 24;
	uint32 compression = 0;
	// 12 (OS/2 core), 40, 56, 108 or 124.
	uint32 headerSize = 40;
	// Entries as stored: blue, green, red (and 0 unless headerSize is 12).
	Bytes colourTable;
	// Red, green, blue and alpha masks: after a 40-byte header, else in it.
	std::vector<uint32> masks;
	// The pixel data as stored (PadBmpRows pads rows).
	Bytes data;
};

inline Bytes MakeBmp(const BmpFields &fields)
{
	Bytes info;
	PutLE(info, fields.headerSize, 4);
	if (fields.headerSize == 12) {
		PutLE(info, (uint32)fields.width, 2);
		PutLE(info, (uint32)fields.height, 2);
		PutLE(info, 1, 2);
		PutLE(info, fields.bitsPerPixel, 2);
	} else {
		PutLE(info, (uint32)fields.width, 4);
		PutLE(info, (uint32)fields.height, 4);
		PutLE(info, 1, 2);
		PutLE(info, fields.bitsPerPixel, 2);
		PutLE(info, fields.compression, 4);
		PutLE(info, (uint32)fields.data.size(), 4);
		PutLE(info, 2835, 4);
		PutLE(info, 2835, 4);
		PutLE(info, 0, 4);
		PutLE(info, 0, 4);
		for (uint32 mask : fields.masks) {
			PutLE(info, mask, 4);
		}
		info.resize(std::max<size_t>(info.size(), fields.headerSize), 0);
	}
	const uint32 offset = (uint32)(14 + info.size() + fields.colourTable.size());
	Bytes bmp = {'B', 'M'};
	PutLE(bmp, offset + (uint32)fields.data.size(), 4);
	PutLE(bmp, 0, 4);
	PutLE(bmp, offset, 4);
	bmp.insert(bmp.end(), info.begin(), info.end());
	bmp.insert(bmp.end(), fields.colourTable.begin(), fields.colourTable.end());
	bmp.insert(bmp.end(), fields.data.begin(), fields.data.end());
	return bmp;
}

// Rows of rowBytes each, padded to whole 32-bit words.
inline Bytes PadBmpRows(const Bytes &rows, size_t rowBytes)
{
	Bytes padded;
	for (size_t at = 0; at < rows.size(); at += rowBytes) {
		padded.insert(padded.end(), rows.begin() + at,
			rows.begin() + at + rowBytes);
		padded.resize((padded.size() + 3) / 4 * 4, 0);
	}
	return padded;
}

// --- Bitmap streams ---------------------------------------------------------

// A stream whose bounds start at 0, 0 (BitmapStreamBytes.h builds it).
inline Bytes MakeBitmapStream(color_space colors, float right, float bottom,
	uint32 rowBytes, uint32 dataSize, const Bytes &data)
{
	BitmapStreamBytes stream = BitmapStreamBytes::Header(0, 0, right, bottom,
		rowBytes, colors, dataSize);
	stream.rows = data;
	return stream.Serialize();
}

#endif // QUORVEL_TEST_IMAGE_FILES_H
