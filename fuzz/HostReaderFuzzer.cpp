// Any bytes through the quorvel host's input readers, as far as our own
// code goes: the file is recognised by its first bytes as the host does
// (a bitmap stream, PNG, JPEG or PNM) and decoded; the reasons the readers
// give for a damaged file arrive as Failure, a lack of memory as
// bad_alloc, and nothing else may leave them.
//
// Beyond the sanitizers' checks: a decoded picture is within the host's
// size cap and holds exactly its rows; and a small one comes back the same
// from the bitmap stream the translator is handed, from PNM and from PNG.
#include <stdlib.h>
#include <string.h>

#include <new>

#include "BitmapStream.h"
#include "Failure.h"
#include "JpegCodec.h"
#include "PngCodec.h"
#include "PnmCodec.h"

// Pictures of up to this many pixels go through the round trips.
const uint64 kRoundTripPixels = 1 << 16;

static Image Decode(const ByteVector &bytes)
{
	if (LooksLikeBitmapStream(bytes)) {
		return BitmapStreamToImage(bytes);
	}
	if (LooksLikePng(bytes)) {
		return DecodePng(bytes);
	}
	if (LooksLikeJpeg(bytes)) {
		return DecodeJpeg(bytes);
	}
	return DecodePnm(bytes);
}

// The bits past the width of 1-bit rows carry no pixels, and not every
// format keeps them: the pictures are compared without them.
static Image WithoutPadding(Image image)
{
	const uint32 usedBits = image.width % 8;
	if (image.kind != PixelKind::Mono || usedBits == 0) {
		return image;
	}
	const uint8 mask = (uint8)(0xFF << (8 - usedBits));
	for (uint32 y = 0; y < image.height; y++) {
		image.Row(y)[image.RowBytes() - 1] &= mask;
	}
	return image;
}

static bool SamePicture(const Image &a, const Image &b)
{
	return a.width == b.width && a.height == b.height && a.kind == b.kind
		&& a.pixels == b.pixels;
}

static void CheckShape(const Image &image)
{
	if (image.width == 0 || image.height == 0
		|| image.width > kMaxImagePixels / image.height
		|| image.pixels.size() != image.RowBytes() * image.height) {
		abort();
	}
}

static void CheckRoundTrips(const Image &decoded)
{
	const Image image = WithoutPadding(decoded);
	// The stream holds Mono pictures as B_GRAY1 and others as B_RGB32.
	const Image asStream = image.kind == PixelKind::Mono ? image
		: Widen(image, PixelKind::Rgb);
	if (!SamePicture(WithoutPadding(BitmapStreamToImage(
			ImageToBitmapStream(image))), asStream)
		|| !SamePicture(DecodePnm(EncodePnm(image)), image)
		|| !SamePicture(WithoutPadding(DecodePng(EncodePng(image))),
			image)) {
		abort();
	}
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
	const ByteVector bytes(data, data + size);
	Image image;
	try {
		image = Decode(bytes);
	} catch (const Failure &) {
		return 0;
	} catch (const std::bad_alloc &) {
		return 0;
	}
	// A good picture must make the round trips without any exception.
	CheckShape(image);
	if ((uint64)image.width * image.height <= kRoundTripPixels) {
		CheckRoundTrips(image);
	}
	return 0;
}
