// JPEG files made with libjpeg from given pixels, for the tests and the
// fuzz seeds: grey or colour, baseline, progressive or arithmetic-coded.
#ifndef QUORVEL_TESTS_COMMON_JPEG_FILES_H
#define QUORVEL_TESTS_COMMON_JPEG_FILES_H

#include <stdio.h>
#include <stdlib.h>

#include <jpeglib.h>

#include "TestBytes.h"

struct JpegOptions {
	J_COLOR_SPACE colorSpace = JCS_RGB;
	int components = 3;
	bool arithmetic = false;
	bool progressive = false;
	// libjpeg's own default.
	int quality = 75;
	// The colour space stored, when not libjpeg's default for the input's
	// (JCS_YCCK from CMYK, say), and whether an Adobe marker says so.
	J_COLOR_SPACE storedSpace = JCS_UNKNOWN;
	bool adobeMarker = true;
};

// pixels holds height rows of width * options.components samples.
inline Bytes EncodeJpeg(uint32 width, uint32 height, const Bytes &pixels,
	const JpegOptions &options)
{
	jpeg_compress_struct info;
	jpeg_error_mgr errors;
	info.err = jpeg_std_error(&errors);
	jpeg_create_compress(&info);
	unsigned char *buffer = NULL;
	unsigned long size = 0;
	jpeg_mem_dest(&info, &buffer, &size);
	info.image_width = width;
	info.image_height = height;
	info.input_components = options.components;
	info.in_color_space = options.colorSpace;
	jpeg_set_defaults(&info);
	jpeg_set_quality(&info, options.quality, TRUE);
	if (options.storedSpace != JCS_UNKNOWN) {
		jpeg_set_colorspace(&info, options.storedSpace);
	}
	info.write_Adobe_marker = info.write_Adobe_marker && options.adobeMarker;
	info.arith_code = options.arithmetic;
	if (options.progressive) {
		jpeg_simple_progression(&info);
	}
	jpeg_start_compress(&info, TRUE);
	size_t rowBytes = (size_t)width * options.components;
	while (info.next_scanline < height) {
		JSAMPROW row = const_cast<JSAMPROW>(pixels.data())
			+ info.next_scanline * rowBytes;
		jpeg_write_scanlines(&info, &row, 1);
	}
	jpeg_finish_compress(&info);
	Bytes jpeg(buffer, buffer + size);
	jpeg_destroy_compress(&info);
	free(buffer);
	return jpeg;
}

#endif // QUORVEL_TESTS_COMMON_JPEG_FILES_H
