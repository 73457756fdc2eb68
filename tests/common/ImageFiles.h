// Small file makers and readers that tests share: PNG (stored deflate, so
// that no PNG library is involved in making test input), the PNM that
// quorvel writes, and bitmap streams.
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

typedef std::vector<uint8> Bytes;

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

inline uint32 GetBE32(const Bytes &bytes, size_t offset)
{
	return ((uint32)bytes[offset] << 24) | ((uint32)bytes[offset + 1] << 16)
		| ((uint32)bytes[offset + 2] << 8) | bytes[offset + 3];
}

inline uint16 GetBE16(const Bytes &bytes, size_t offset)
{
	return (uint16)((bytes[offset] << 8) | bytes[offset + 1]);
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
inline Bytes PngOfData(uint32 width, uint32 height, uint8 bitDepth,
	uint8 colorType, const Bytes &zlib, const Bytes &palette = Bytes(),
	const Bytes &transparency = Bytes())
{
	Bytes png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
	Bytes header;
	PutBE32(header, width);
	PutBE32(header, height);
	header.insert(header.end(), {bitDepth, colorType, 0, 0, 0});
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

// --- Bitmap streams ---------------------------------------------------------

inline Bytes MakeBitmapStream(color_space colors, float right, float bottom,
	uint32 rowBytes, uint32 dataSize, const Bytes &data)
{
	TranslatorBitmap header;
	header.magic = B_TRANSLATOR_BITMAP;
	header.bounds = BRect(0, 0, right, bottom);
	header.rowBytes = rowBytes;
	header.colors = colors;
	header.dataSize = dataSize;
	swap_data(B_UINT32_TYPE, &header.magic, 4, B_SWAP_HOST_TO_BENDIAN);
	swap_data(B_RECT_TYPE, &header.bounds, 16, B_SWAP_HOST_TO_BENDIAN);
	swap_data(B_UINT32_TYPE, &header.rowBytes, 4, B_SWAP_HOST_TO_BENDIAN);
	swap_data(B_UINT32_TYPE, &header.colors, 4, B_SWAP_HOST_TO_BENDIAN);
	swap_data(B_UINT32_TYPE, &header.dataSize, 4, B_SWAP_HOST_TO_BENDIAN);
	Bytes bytes(32 + data.size());
	memcpy(&bytes[0], &header.magic, 4);
	memcpy(&bytes[4], &header.bounds, 16);
	memcpy(&bytes[20], &header.rowBytes, 4);
	memcpy(&bytes[24], &header.colors, 4);
	memcpy(&bytes[28], &header.dataSize, 4);
	std::copy(data.begin(), data.end(), bytes.begin() + 32);
	return bytes;
}

#endif // QUORVEL_TEST_IMAGE_FILES_H
