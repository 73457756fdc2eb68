// libjpeg's source and destination managers over the kit's streams, and
// its error handling.
//
// libjpeg reports fatal errors through error_exit, which must not return;
// ours jumps back to the setjmp of the method that called libjpeg, which
// keeps no C++ object on its stack that the jump would skip.
#ifndef QUORVEL_JPEG_STREAMS_H
#define QUORVEL_JPEG_STREAMS_H

#include <setjmp.h>
#include <stdio.h>

#include <DataIO.h>

#include <jpeglib.h>

#include "ByteSource.h"

struct JpegErrors {
	jpeg_error_mgr base;
	jmp_buf jump;
	char message[JMSG_LENGTH_MAX];
	// The data ended, or a marker came, where entropy-coded data should.
	bool cutShort;
	// A write to the destination failed with this status.
	status_t writeStatus;
	// The decoding stopped at a scan past the limit (JpegReader.cpp).
	bool tooManyScans;
};

// Sets up the handler; the caller's jump buffer must be set before any
// libjpeg call that may fail.
void InstallJpegErrors(j_common_ptr info, JpegErrors *errors);

// Reads through a ByteSource, passing over skipped segments without
// reading them. The manager must outlive the decompression.
struct JpegSource {
	jpeg_source_mgr base;
	ByteSource *bytes;
};

void UseJpegSource(j_decompress_ptr info, JpegSource *source,
	ByteSource *bytes);

// The offset in the stream of the next byte libjpeg will read.
uint64 JpegSourcePosition(const JpegSource &source);

// Writes to a stream through a buffer that the manager owns.
struct JpegDestination {
	jpeg_destination_mgr base;
	BPositionIO *stream;
	JOCTET buffer[16384];
	JpegErrors *errors;
};

void UseJpegDestination(j_compress_ptr info, JpegDestination *destination,
	BPositionIO *stream, JpegErrors *errors);

#endif // QUORVEL_JPEG_STREAMS_H
