// JPEG reading through libjpeg-turbo: grey JPEGs become grey pictures,
// YCbCr and RGB ones colour pictures. CMYK JPEGs are refused.
#ifndef QUORVEL_HOST_JPEG_CODEC_H
#define QUORVEL_HOST_JPEG_CODEC_H

#include "Image.h"

bool LooksLikeJpeg(const ByteVector &bytes);

// Throws Failure with libjpeg's reason for a damaged or cut-short file.
Image DecodeJpeg(const ByteVector &bytes);

#endif // QUORVEL_HOST_JPEG_CODEC_H
