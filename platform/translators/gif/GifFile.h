// A GIF file read through giflib up to its first image, whose rows it then
// hands out. Only the first image of a file is read.
//
//   header            "GIF87a" or "GIF89a"
//   screen            width (2), height (2), flags (bit 7: a global colour
//                     table of 2^(bits 0-2 + 1) entries follows), background,
//                     aspect ratio; little-endian
//   blocks            extensions (0x21, a label, sub-blocks), of which the
//                     graphic control extension (label 0xF9) before an
//                     image names its transparent index; then
//   image descriptor  0x2C, left, top, width, height (2 each), flags (bit 7:
//                     a local colour table follows, bit 6: interlaced)
//   image data        the LZW minimum code size (1), then sub-blocks of 1
//                     to 255 bytes, each after its length byte, ending with
//                     a length of 0
//
// An interlaced image stores rows 0, 8, 16 ... then 4, 12 ... then 2, 6 ...
// then 1, 3, 5 ...
#ifndef QUORVEL_GIF_FILE_H
#define QUORVEL_GIF_FILE_H

#include <string>

#include <DataIO.h>

#include <gif_lib.h>

#include "ByteSource.h"
#include "Palette.h"

struct GifImage {
	uint32 width = 0;
	uint32 height = 0;
	bool interlaced = false;
	// The local colour table, else the global one; its transparent entry
	// from the graphic control extension before the image.
	Palette palette;
	bool hasColourTable = false;
	// Bits an index of the colour table takes (1 to 8).
	int tableBits = 0;
	// The LZW minimum code size, and where the image's sub-blocks start.
	int codeSize = 0;
	uint64 dataStart = 0;
};

class GifFile {
public:
	explicit GifFile(BPositionIO *source);
	~GifFile();

	// Reads up to the first image's data; false when the file is not a
	// GIF giflib reads or ends first (Failure() says why).
	bool ReadFirstImage(GifImage *image);

	// Decodes the next row of the image as stored into width indexes;
	// false when the data is damaged or cut short.
	bool ReadRow(uint8 *indexes, uint32 width);

	// Why the last call failed, in the user's words; OutOfMemory() when
	// giflib could not allocate.
	std::string Failure() const;
	bool OutOfMemory() const { return fError == D_GIF_ERR_NOT_ENOUGH_MEM; }

private:
	static int ReadBytes(GifFileType *gif, GifByteType *out, int count);
	bool ReadTransparency(GifImage *image);

	BPositionIO *fStream;
	ByteSource fSource;
	GifFileType *fGif = NULL;
	int fError = D_GIF_SUCCEEDED;
};

// Whether the stream starts with a GIF signature.
bool LooksLikeGif(BPositionIO *source);

#endif // QUORVEL_GIF_FILE_H
