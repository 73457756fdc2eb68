// What an application needs of the standard translators (PNG, JPEG, PNM,
// GIF, BMP) beyond the kit's own headers: the names of the fields they put
// into the ioExtension message they are given, when there is one,
// replacing any earlier values of the same names. Hosts include this
// header; they reach the translators only through the roster.
//
//   by Identify (from the file's headers alone) and by Translate to a
//   bitmap stream, when the source is the translator's own format; they
//   describe the file as stored, not the bitmap stream it becomes:
//     IMAGE_WIDTH_INFO           int32   the picture's width
//     IMAGE_HEIGHT_INFO          int32   and height
//     IMAGE_DEPTH_INFO           string  IMAGE_DEPTH_BILEVEL (what becomes
//                                        B_GRAY1), IMAGE_DEPTH_GREY (grey
//                                        PNG other than 1-bit, grey JPEG,
//                                        PGM) or IMAGE_DEPTH_COLOUR
//                                        (everything else)
//     IMAGE_BITS_PER_SAMPLE_INFO int32   bits of one stored sample, or of
//                                        one palette index: 16 for a
//                                        16-bit PNG, 8 for a JPEG, 1 for
//                                        PBM, 10 for PGM of maxval 1000
//     IMAGE_BITS_PER_PIXEL_INFO  int32   bits of one stored pixel, all its
//                                        samples (or its palette index):
//                                        48 for a 16-bit RGB PNG, 2 for a
//                                        2-bit palette PNG, 16 for a 5-6-5
//                                        BMP
//     IMAGE_COLOUR_KIND_INFO     string  one of the IMAGE_KIND_ words
//     IMAGE_ALPHA_INFO           bool    whether it stores transparency
//                                        (an alpha channel, a transparent
//                                        palette entry or colour)
//     IMAGE_INTERLACED_INFO      bool    Adam7 PNG, progressive JPEG,
//                                        interlaced GIF
//
//   by Translate to a bitmap stream, when the source is the translator's
//   own format and it decoded (a file cut short is mostly refused, but a
//   BMP's run-length data may end its picture before the last row):
//     IMAGE_MISSING_ROWS_INFO    int32   rows, in the order the file
//                                        stores them, from the first
//                                        whose pixels did not all arrive
//                                        to the last; white in the stream
//     IMAGE_MISSING_PIXELS_INFO  int32   the pixels of those rows that
//                                        never arrived. Both are 0 for a
//                                        whole file.
//     IMAGE_MISSING_AT_TOP_INFO  bool    whether those rows are the
//                                        picture's top ones (a BMP stored
//                                        bottom up) rather than its bottom
//
//   by Translate when it fails, as every translator does:
//     TRANSLATOR_FAILURE_INFO (TranslatorFailure.h)
//
//   read by the JPEG translator when it writes (GetConfigMessage gives
//   the default):
//     JPEG_QUALITY_OPTION        int32   1 to 100, 90 when absent
//
//   read by the PPM translator when it makes PBM of a grey or colour
//   picture (black where a pixel's darkness, ((255 - 0.11 blue) - 0.59
//   green) - 0.3 red, is at least 127.5):
//     PBM_DITHER_OPTION          bool    spread each pixel's rounding over
//                                        its neighbours (Floyd-Steinberg);
//                                        true when absent
#ifndef QUORVEL_STANDARD_IMAGE_INFO_H
#define QUORVEL_STANDARD_IMAGE_INFO_H

#include "TranslatorFailure.h"

static const char *const IMAGE_WIDTH_INFO = "width";
static const char *const IMAGE_HEIGHT_INFO = "height";
static const char *const IMAGE_DEPTH_INFO = "depth";
static const char *const IMAGE_BITS_PER_SAMPLE_INFO = "bits_per_sample";
static const char *const IMAGE_BITS_PER_PIXEL_INFO = "bits_per_pixel";
static const char *const IMAGE_COLOUR_KIND_INFO = "colour_kind";
static const char *const IMAGE_ALPHA_INFO = "alpha";
static const char *const IMAGE_INTERLACED_INFO = "interlaced";
static const char *const IMAGE_MISSING_ROWS_INFO = "missing_rows";
static const char *const IMAGE_MISSING_PIXELS_INFO = "missing_pixels";
static const char *const IMAGE_MISSING_AT_TOP_INFO = "missing_rows_at_top";
static const char *const JPEG_QUALITY_OPTION = "quality";
static const char *const PBM_DITHER_OPTION = "dithering";

// The words of IMAGE_DEPTH_INFO.
static const char *const IMAGE_DEPTH_BILEVEL = "1-bit black and white";
static const char *const IMAGE_DEPTH_GREY = "8-bit grey";
static const char *const IMAGE_DEPTH_COLOUR = "24-bit colour";

// The words of IMAGE_COLOUR_KIND_INFO.
static const char *const IMAGE_KIND_GREY = "grey";
static const char *const IMAGE_KIND_GREY_ALPHA = "grey+alpha";
static const char *const IMAGE_KIND_RGB = "RGB";
static const char *const IMAGE_KIND_RGBA = "RGBA";
static const char *const IMAGE_KIND_PALETTE = "palette";
static const char *const IMAGE_KIND_YCBCR = "YCbCr";
static const char *const IMAGE_KIND_CMYK = "CMYK";
static const char *const IMAGE_KIND_YCCK = "YCCK";

#endif // QUORVEL_STANDARD_IMAGE_INFO_H
