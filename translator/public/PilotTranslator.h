// What an application needs of the Pilot image translator beyond the
// kit's own headers, and the one place these names are spelt: the add-on,
// its tests and the hosts all use them. Hosts include this header; they
// never link the add-on's code, and reach it only through the roster.
//
// PILOT_IMAGE_TYPE is the Pilot image format's type code. The options'
// keys name them in extension messages and stored settings: the database
// name (a string, of which PILOT_DB_NAME_SIZE - 1 bytes are kept), and
// compression, dithering and high contrast (bools); PilotSettingTable.h
// gives each its type, default, label and command-line flag.
//
// Facts about a Pilot image. Identify and Translate add them to the
// ioExtension message they are given, when there is one, replacing any
// earlier values of the same names, so that an application learns what a
// file holds without reading the Pilot layout itself:
//
//   by Identify and Translate, when the source is a Pilot image:
//     PILOT_DB_NAME_INFO        string  the database name
//     PILOT_BITS_PER_PIXEL_INFO int32   1, 2 or 4, as the file stores it
//     PILOT_PACKED_INFO         bool    whether the pixel data is packed
//     PILOT_WIDTH_INFO          int32   the image header's width
//     PILOT_HEIGHT_INFO         int32   and height
//
//   by Translate, once a Pilot image has been read into a bitmap stream:
//     PILOT_MISSING_ROWS_INFO   int32   rows some of whose pixel data never
//                                       arrived: a file cut short, or a
//                                       packed stream that ends early
//     PILOT_MISSING_PIXELS_INFO int32   the pixels of those rows that never
//                                       arrived; they are white in the
//                                       stream. Both are 0 for a whole file.
//
//   by Identify and Translate, when the source is a Pilot image:
//     PILOT_ROW_BYTES_INFO      int32   the bytes a row takes in the file,
//                                       as the image is stored and read
//
//   by Identify and Translate, when the source is a Pilot image whose size
//   they can learn:
//     PILOT_RECORD_BYTES_INFO   int32   the bytes of the first record, from
//                                       its start to the end of the file:
//                                       in a database of one record (as the
//                                       translator writes them), the record
//                                       a handheld loads; compare it with
//                                       PILOT_MAX_RECORD_BYTES
//
// A per-call option, read from the ioExtension message of Translate when a
// Pilot image is written, and never stored with the settings (an
// application chooses it for each picture, as it chooses the output type):
//     PILOT_DEPTH_OPTION        int32   the bits a pixel of the image written:
//                                       1 (black and white), 2 (four greys),
//                                       4 (sixteen greys), or PILOT_DEPTH_AUTO
//                                       (1 for a picture holding only black
//                                       and white, 2 otherwise). Absent: 1 for
//                                       a B_GRAY1 source, 2 for any other.
//     Any other value fails the call with B_BAD_VALUE, nothing written.
//     Packed data is marked 1 at every depth; sixteen greys are pixel
//     type 2. With auto the whole picture is read before anything is
//     written.
//
// What dithering and high contrast do at each depth. A pixel's darkness
// runs from 0 (white) to 255 (black); it takes one of the image's levels,
// and with dithering the difference is spread over its neighbours
// (Floyd-Steinberg). Without high contrast the levels are the even steps
// from white to black (0 and 255; 0, 85, 170 and 255; 0, 17 .. 255) and
// a pixel takes the nearest, an exact half going to the darker. With high
// contrast the range is cut into equal bands (of 128, 64 or 16) and a
// pixel takes its band's level, the difference spread being measured
// from the band's middle: light and dark areas become solid white and
// black, and the middle greys keep their contrast. A B_GRAY1 source's
// pixels are white and black at any depth.
#ifndef QUORVEL_PILOT_TRANSLATOR_H
#define QUORVEL_PILOT_TRANSLATOR_H

#include <SupportDefs.h>

const uint32 PILOT_IMAGE_TYPE = 'PPiv';
// The database name's field, in the options and in the file.
const size_t PILOT_DB_NAME_SIZE = 32;

// Constant expressions, so that the options' table (PilotSettingTable.h)
// is one.
static constexpr const char *PILOT_DB_NAME_SETTING = "database_name";
static constexpr const char *PILOT_COMPRESS_SETTING = "compression";
static constexpr const char *PILOT_DITHER_SETTING = "dithering";
static constexpr const char *PILOT_CONTRAST_SETTING = "high_contrast";

static const char *const PILOT_DB_NAME_INFO = "pilot:database_name";
static const char *const PILOT_BITS_PER_PIXEL_INFO = "pilot:bits_per_pixel";
static const char *const PILOT_PACKED_INFO = "pilot:packed";
static const char *const PILOT_WIDTH_INFO = "pilot:width";
static const char *const PILOT_HEIGHT_INFO = "pilot:height";
static const char *const PILOT_MISSING_ROWS_INFO = "pilot:missing_rows";
static const char *const PILOT_MISSING_PIXELS_INFO = "pilot:missing_pixels";
static const char *const PILOT_ROW_BYTES_INFO = "pilot:row_bytes";
static const char *const PILOT_RECORD_BYTES_INFO = "pilot:record_bytes";

static const char *const PILOT_DEPTH_OPTION = "pilot:depth";
const int32 PILOT_DEPTH_AUTO = 0;

// The largest picture the translator reads or writes, in pixels (for
// instance 16384 x 16384). A Pilot image may claim up to 32767 x 32767,
// about 1 GiB at eight bits a pixel; no handheld ever showed one, and a
// few bytes of a hostile file must not cost gigabytes.
const int64 PILOT_MAX_PIXELS = (int64)1 << 28;
// The image header keeps width and height as signed 16-bit numbers.
const int32 PILOT_MAX_SIDE = 32767;
// The handheld's screen; a smaller picture is written padded to it.
const int32 PILOT_SCREEN_WIDTH = 160;
const int32 PILOT_SCREEN_HEIGHT = 160;
// The largest record a handheld loads: a Pilot image's record (its 58-byte
// image header and its pixel data, packed or not) must not be longer for
// the image to open there.
const int32 PILOT_MAX_RECORD_BYTES = 65505;

// The greys a Pilot image reads as, from white (stored value 0) to black:
// the screen's colour map entries nearest to its even steps. A picture
// made only of these greys is already a Pilot image's picture.
const uint8 PILOT_FOUR_GREYS[4] = {255, 168, 88, 0};
const uint8 PILOT_SIXTEEN_GREYS[16] = {255, 240, 224, 203, 184, 168, 152,
	136, 120, 102, 88, 64, 51, 32, 16, 0};

#endif // QUORVEL_PILOT_TRANSLATOR_H
