// What an application needs of the Pilot image translator beyond the
// kit's own headers, and the one place these names are spelt: the add-on,
// its tests and the hosts all use them. Hosts include this header; they
// never link the add-on's code, and reach it only through the roster.
//
// PILOT_IMAGE_TYPE is the Pilot image format's type code. The options'
// keys name them in extension messages and stored settings: the database
// name (a string, of which PILOT_DB_NAME_SIZE - 1 bytes are kept), and
// compression, dithering and high contrast (bools).
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
#ifndef QUORVEL_PILOT_TRANSLATOR_H
#define QUORVEL_PILOT_TRANSLATOR_H

#include <SupportDefs.h>

const uint32 PILOT_IMAGE_TYPE = 'PPiv';
// The database name's field, in the options and in the file.
const size_t PILOT_DB_NAME_SIZE = 32;

static const char *const PILOT_DB_NAME_SETTING = "database_name";
static const char *const PILOT_COMPRESS_SETTING = "compression";
static const char *const PILOT_DITHER_SETTING = "dithering";
static const char *const PILOT_CONTRAST_SETTING = "high_contrast";

static const char *const PILOT_DB_NAME_INFO = "pilot:database_name";
static const char *const PILOT_BITS_PER_PIXEL_INFO = "pilot:bits_per_pixel";
static const char *const PILOT_PACKED_INFO = "pilot:packed";
static const char *const PILOT_WIDTH_INFO = "pilot:width";
static const char *const PILOT_HEIGHT_INFO = "pilot:height";
static const char *const PILOT_MISSING_ROWS_INFO = "pilot:missing_rows";
static const char *const PILOT_MISSING_PIXELS_INFO = "pilot:missing_pixels";

#endif // QUORVEL_PILOT_TRANSLATOR_H
