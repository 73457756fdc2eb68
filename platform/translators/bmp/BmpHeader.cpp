#include "BmpHeader.h"

#include <string.h>

#include "BitmapStreamHeader.h"
#include "TranslationError.h"

namespace {

const uint32 kCoreHeaderBytes = 12;
const uint32 kInfoHeaderBytes = 40;
const uint32 kOs2HeaderBytes = 64;
const uint32 kLargestHeaderBytes = 124;
// Where the masks are, from the start of the info header.
const size_t kMasksAt = 40;

const char *const kWhatIsRead = "uncompressed BMPs of 1, 2, 4, 8, 16, 24 "
	"or 32 bits a pixel, RLE4, RLE8 and bit-field BMPs can";

uint16 Little16(const uint8 *bytes)
{
	return (uint16)(bytes[0] | bytes[1] << 8);
}

uint32 Little32(const uint8 *bytes)
{
	return (uint32)bytes[0] | (uint32)bytes[1] << 8 | (uint32)bytes[2] << 16
		| (uint32)bytes[3] << 24;
}

bool KnownHeaderSize(uint32 size)
{
	return size == kCoreHeaderBytes || size == kInfoHeaderBytes
		|| size == 52 || size == 56 || size == kOs2HeaderBytes
		|| size == 108 || size == kLargestHeaderBytes;
}

bool UsesMasks(const BmpHeader &header)
{
	return header.headerSize != kOs2HeaderBytes
		&& (header.compression == kBmpBitFields
			|| header.compression == kBmpAlphaBitFields);
}

// A mask must be one run of bits within the pixel.
BmpMask MaskOf(uint32 mask, int bitsPerPixel)
{
	BmpMask result;
	result.mask = mask;
	if (mask == 0) {
		return result;
	}
	while ((mask >> result.shift & 1) == 0) {
		result.shift++;
	}
	while (result.shift + result.bits < 32
		&& (mask >> (result.shift + result.bits) & 1) != 0) {
		result.bits++;
	}
	uint64 run = (((uint64)1 << result.bits) - 1) << result.shift;
	if (run != mask || result.shift + result.bits > bitsPerPixel) {
		BmpDamaged("a colour mask is not one run of bits within the pixel");
	}
	return result;
}

void SetMasks(BmpHeader *header, const uint32 masks[4])
{
	for (int i = 0; i < 4; i++) {
		header->masks[i] = MaskOf(masks[i], header->bitsPerPixel);
	}
}

void ReadMasks(const uint8 *info, BmpHeader *header)
{
	uint32 masks[4] = {0, 0, 0, 0};
	if (UsesMasks(*header)) {
		bool alpha = header->compression == kBmpAlphaBitFields
			|| header->headerSize >= 56;
		for (int i = 0; i < (alpha ? 4 : 3); i++) {
			masks[i] = Little32(info + kMasksAt + 4 * i);
		}
	} else if (header->bitsPerPixel == 16) {
		masks[0] = 0x7C00;
		masks[1] = 0x03E0;
		masks[2] = 0x001F;
	} else if (header->bitsPerPixel == 32) {
		masks[0] = 0xFF0000;
		masks[1] = 0x00FF00;
		masks[2] = 0x0000FF;
	}
	if (header->bitsPerPixel == 16 || header->bitsPerPixel == 32) {
		SetMasks(header, masks);
	}
}

// Entries of 3 bytes for the core header, else 4; as many as the pixel
// data's offset leaves room for.
void ReadColourTable(BPositionIO *source, uint64 tableStart, uint32 used,
	BmpHeader *header)
{
	uint64 count = (uint64)1 << header->bitsPerPixel;
	if (header->headerSize != kCoreHeaderBytes && used != 0 && used < count) {
		count = used;
	}
	size_t entryBytes = header->headerSize == kCoreHeaderBytes ? 3 : 4;
	uint64 room = (header->dataOffset - tableStart) / entryBytes;
	if (room < count) {
		count = room;
	}
	uint8 table[256 * 4];
	size_t bytes = (size_t)count * entryBytes;
	if (source->ReadAt((off_t)tableStart, table, bytes) != (ssize_t)bytes) {
		BmpDamaged("the file is cut short");
	}
	header->palette.count = (int)count;
	for (size_t i = 0; i < count; i++) {
		const uint8 *entry = table + i * entryBytes;
		header->palette.entries[i][0] = entry[2];
		header->palette.entries[i][1] = entry[1];
		header->palette.entries[i][2] = entry[0];
	}
}

} // namespace

void BmpDamaged(const std::string &why)
{
	Damaged("not a readable BMP image (" + why + ")");
}

PixelKind BmpHeader::Kind() const
{
	return Indexed() ? palette.Kind() : PixelKind::Rgb;
}

bool LooksLikeBmp(BPositionIO *source)
{
	uint8 bytes[kBmpFileHeaderBytes + 4];
	return source->ReadAt(0, bytes, sizeof(bytes)) == sizeof(bytes)
		&& bytes[0] == 'B' && bytes[1] == 'M'
		&& KnownHeaderSize(Little32(bytes + kBmpFileHeaderBytes));
}

BmpHeader ReadBmpHeader(BPositionIO *source)
{
	// The file header, the largest info header, and the masks after the
	// smallest one that has them.
	uint8 bytes[kBmpFileHeaderBytes + kLargestHeaderBytes + 16];
	memset(bytes, 0, sizeof(bytes));
	ssize_t got = source->ReadAt(0, bytes, sizeof(bytes));
	if (got < (ssize_t)kBmpFileHeaderBytes + 4 || bytes[0] != 'B'
		|| bytes[1] != 'M') {
		BmpDamaged("no BM signature and header");
	}
	BmpHeader header;
	header.dataOffset = Little32(bytes + 10);
	header.headerSize = Little32(bytes + kBmpFileHeaderBytes);
	if (!KnownHeaderSize(header.headerSize)) {
		BmpDamaged("an info header of " + std::to_string(header.headerSize)
			+ " bytes");
	}
	const uint8 *info = bytes + kBmpFileHeaderBytes;
	uint32 used = 0;
	if (header.headerSize == kCoreHeaderBytes) {
		header.width = Little16(info + 4);
		header.height = Little16(info + 6);
		header.bitsPerPixel = Little16(info + 10);
	} else {
		int32 width = (int32)Little32(info + 4);
		int32 height = (int32)Little32(info + 8);
		if (width < 0) {
			BmpDamaged("the width is negative");
		}
		header.width = (uint32)width;
		header.topDown = height < 0;
		header.height = height < 0 ? (uint32)(-(int64)height) : (uint32)height;
		header.bitsPerPixel = Little16(info + 14);
		header.compression = Little32(info + 16);
		used = Little32(info + 32);
	}
	uint64 tableStart = kBmpFileHeaderBytes + header.headerSize;
	if (header.headerSize == kInfoHeaderBytes && UsesMasks(header)) {
		tableStart += header.compression == kBmpAlphaBitFields ? 16 : 12;
	}
	if ((uint64)got < tableStart) {
		BmpDamaged("the file is cut short");
	}
	if (header.dataOffset < tableStart) {
		BmpDamaged("the pixel data starts inside the headers");
	}
	ReadMasks(info, &header);
	if (header.Indexed()) {
		ReadColourTable(source, tableStart, used, &header);
	}
	return header;
}

void CheckBmpReadable(const BmpHeader &header)
{
	const uint32 compression = header.compression;
	const int bits = header.bitsPerPixel;
	if (header.headerSize == kOs2HeaderBytes && compression >= 3) {
		Refuse(std::string("an OS/2 BMP coded with Huffman or RLE24 cannot "
			"be read (") + kWhatIsRead + ")");
	}
	if (compression == kBmpJpeg || compression == kBmpPng) {
		Refuse(std::string("a BMP holding a ")
			+ (compression == kBmpJpeg ? "JPEG" : "PNG") + " cannot be read ("
			+ kWhatIsRead + ")");
	}
	if (compression > kBmpAlphaBitFields) {
		Refuse("a BMP of compression " + std::to_string(compression)
			+ " cannot be read (" + kWhatIsRead + ")");
	}
	if (bits != 1 && bits != 2 && bits != 4 && bits != 8 && bits != 16
		&& bits != 24 && bits != 32) {
		Refuse("a BMP of " + std::to_string(bits) + " bits a pixel cannot "
			"be read (" + kWhatIsRead + ")");
	}
	if ((compression == kBmpRle8 && bits != 8)
		|| (compression == kBmpRle4 && bits != 4)
		|| (UsesMasks(header) && bits != 16 && bits != 32)) {
		BmpDamaged("its compression does not fit " + std::to_string(bits)
			+ " bits a pixel");
	}
	CheckPictureSize(header.width, header.height);
}
