// The Pilot image file: a Palm database holding one record, the picture.
//
//   offset  size  content
//        0    78  database header
//       78     8  record entry (the first; the only one we write)
//       86    58  image header, where the record entry points
//      144     -  pixel data, plain or packed, to the end of the file
//
// Every multi-byte field is big-endian; a four-character code is stored
// first character first.
//
// Database header (78 bytes):
//    0  32  name, NUL-padded
//   32   2  attributes             34   2  version
//   36   4  creationDate           40   4  modificationDate
//   44   4  lastBackupDate         48   4  modificationNumber
//   52   4  appInfoID              56   4  sortInfoID
//   60   4  type ('vIMG')          64   4  creator ('View'; 'TlPt' below)
//   68   4  uniqueIDSeed           72   4  nextRecordListID
//   76   2  numRecords (signed)
//
// Record entry (8 bytes): 0 4 offset (signed, from the start of the file),
// 4 1 attributes, 5 3 uniqueID.
//
// Image header (58 bytes):
//    0  32  name, equal to the database name up to its first NUL
//   32   1  packing: low four bits 1 = packed runs, anything else plain;
//           for sixteen greys the low three bits 1 = packed (see below)
//   33   1  pixelType: 0xFF = 1 bit per pixel, 0x02 = 4 bits (sixteen
//           greys), anything else 2 bits (four greys)
//   34   4  reserved1   38  4  reserved2   42  2  reserved3
//   44   2  reserved4   46  4  reserved5   50  2  reserved6 (-1)
//   52   2  reserved7 (-1)
//   54   2  width (signed)   56  2  height (signed)
//
// Pixel data: rows top first with no padding between them. Two bits per
// pixel: width / 4 bytes a row, leftmost pixel in bits 7-6; 0 white,
// 1 light grey, 2 dark grey, 3 black. Four bits per pixel: width / 2
// bytes a row, leftmost pixel in bits 7-4; 0 white to 15 black in even
// steps (grey 255 - 17 x value). One bit per pixel: width / 8 bytes a
// row, leftmost pixel in bit 7, with B_GRAY1's meaning. Packed data is
// one run-length stream over all rows (RunLength.h).
//
// Of the other programs that write sixteen-grey images, ImageMagick marks
// them packed with 0x01, Netpbm with 0x09, so for them only the low three
// bits of packing count. Every other pixel type keeps the four-bit rule,
// which stored files rely on. We mark packed data 0x01 at every depth:
// the one value both of them take as packed.
//
// Databases of creator 'TlPt' (whatever their type) have no image header:
// the record holds a plain 1-bit picture whose size and data sit at fixed
// places, R being the record's offset:
//   type 'GbDb':  width at R + 0, height at R + 2, pixels at R + 24
//   other types:  width at R + 22, height at R + 24, pixels at R + the
//                 32-bit data offset stored at R + 8
// All of them are big-endian; width and height are signed 16-bit.
#ifndef QUORVEL_PILOT_DATABASE_H
#define QUORVEL_PILOT_DATABASE_H

#include <PilotTranslator.h>
#include <SupportDefs.h>

// The name fields are PILOT_DB_NAME_SIZE (32) bytes.
enum {
	kDatabaseHeaderSize = 78,
	kRecordEntrySize = 8,
	kImageHeaderSize = 58,
	// Where our writer puts the record: straight after the record entry.
	kWrittenRecordOffset = kDatabaseHeaderSize + kRecordEntrySize
};

const uint32 kImageDatabaseType = 'vIMG';
const uint32 kPilotViewerCreator = 'View';
const uint32 kTealPaintCreator = 'TlPt';
const uint32 kTealPaintGameboyType = 'GbDb';

const uint8 kPackingMask = 0x0F;
const uint8 kSixteenGreyPackingMask = 0x07;
const uint8 kPackedRuns = 1;
const uint8 kOneBitPixels = 0xFF;
const uint8 kTwoBitPixels = 0x00;
const uint8 kFourBitPixels = 0x02;

// The bits of a pixel of the pixel type: 0xFF one, 0x02 four (sixteen
// greys), any other two.
inline uint32 BitsPerPixelOfType(uint8 pixelType)
{
	if (pixelType == kOneBitPixels) {
		return 1;
	}
	return pixelType == kFourBitPixels ? 4 : 2;
}

// The fields of the database header that the reader looks at; of the
// record entry it takes only the offset.
struct PilotDatabaseHeader {
	char name[PILOT_DB_NAME_SIZE];
	uint32 type;
	uint32 creator;
	int16 numRecords;
};

struct PilotImageHeader {
	char name[PILOT_DB_NAME_SIZE];
	uint8 packing;
	uint8 pixelType;
	uint32 reserved1;
	uint32 reserved2;
	int16 reserved3;
	int16 reserved4;
	uint32 reserved5;
	int16 reserved6;
	int16 reserved7;
	int16 width;
	int16 height;
};

PilotDatabaseHeader ParseDatabaseHeader(const uint8 *bytes);
PilotImageHeader ParseImageHeader(const uint8 *bytes);

// The headers our writer produces. Everything but the name, the packing,
// the pixel type and the size is fixed, the dates included, so that the
// same bitmap always gives the same file. SerializeWrittenDatabase fills
// kWrittenRecordOffset bytes: the database header and the record entry.
void SerializeWrittenDatabase(const char (&name)[PILOT_DB_NAME_SIZE],
	uint8 *bytes);
PilotImageHeader WrittenImageHeader(const char (&name)[PILOT_DB_NAME_SIZE],
	uint8 packing, uint8 pixelType, int16 width, int16 height);
void SerializeImageHeader(const PilotImageHeader &header, uint8 *bytes);

// Names compare as NUL-terminated strings of at most 32 bytes.
bool PilotNamesMatch(const char *a, const char *b);

#endif // QUORVEL_PILOT_DATABASE_H
