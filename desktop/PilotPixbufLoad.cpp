#include "PilotPixbufLoad.h"

#include <stdarg.h>

#include <algorithm>

#include <Message.h>
#include <PilotTranslator.h>

#include "BitmapStreamSink.h"
#include "GreyDownscaler.h"
#include "PilotCodec.h"
#include "RunLength.h"

namespace {

// The bytes are kept in blocks of this size, so that a file handed over in
// small pieces is not reallocated for each.
const size_t kByteBlock = 64 * 1024;
// A database's record can lie anywhere the record entry says, but real
// ones follow their record list closely (8 bytes a record); bytes that
// show no Pilot image headers by then are not one.
const size_t kMaxBytesBeforeHeaders = 16 * 1024 * 1024;

void SetError(GError **error, GdkPixbufError code, const char *format, ...)
	G_GNUC_PRINTF(3, 4);

void SetError(GError **error, GdkPixbufError code, const char *format, ...)
{
	va_list arguments;
	va_start(arguments, format);
	gchar *message = g_strdup_vprintf(format, arguments);
	va_end(arguments);
	g_set_error_literal(error, GDK_PIXBUF_ERROR, code, message);
	g_free(message);
}

// Refusals that more bytes may still turn into a picture: the headers, or
// the record they point to, have not all arrived yet.
bool AwaitsMoreBytes(HeaderCheck check)
{
	switch (check) {
		case kDatabaseHeaderCut:
		case kRecordEntryCut:
		case kRecordUnreachable:
		case kImageHeaderCut:
		case kTealPaintRecordCut:
		case kPixelsUnreachable:
			return true;
		default:
			return false;
	}
}

// The most bytes a picture can use: its pixel data's offset, plus its
// pixel data at bitsPerPixel, plus, when packed, the most its runs can
// take for that data.
uint64 UsefulBytes(uint64 pixelsAt, uint32 width, uint32 height,
	uint32 bitsPerPixel, bool packed)
{
	const uint64 stored = ((uint64)width * bitsPerPixel + 7) / 8 * height;
	return pixelsAt + (packed ? PackedInputBound(stored) : stored);
}

} // namespace

PilotPixbufLoad::PilotPixbufLoad(const PixbufCallbacks &callbacks,
	const PixelLimit &limit)
	: fCallbacks(callbacks),
	  fLimit(limit)
{
	fBytes.SetBlockSize(kByteBlock);
}

PilotPixbufLoad::~PilotPixbufLoad()
{
	if (fPixbuf != NULL) {
		g_object_unref(fPixbuf);
	}
}

bool PilotPixbufLoad::Append(const uint8 *bytes, size_t size, GError **error)
{
	if (fFailed) {
		return false;
	}
	const uint64 have = fBytes.BufferLength();
	if (fIdentified) {
		// Bytes past what the picture can use are dropped.
		if (have >= fUsefulBytes) {
			return true;
		}
		size = (size_t)std::min<uint64>(size, fUsefulBytes - have);
	}
	if (fBytes.WriteAt((off_t)have, bytes, size) != (ssize_t)size) {
		SetError(error, GDK_PIXBUF_ERROR_INSUFFICIENT_MEMORY,
			"Not enough memory to hold a PalmPilot image of %" G_GUINT64_FORMAT
			" bytes", have + size);
		fFailed = true;
		return false;
	}
	fFailed = !fIdentified && !TryIdentify(false, error);
	return !fFailed;
}

bool PilotPixbufLoad::Finish(GError **error)
{
	// gdk-pixbuf stops a load that failed with no place for an error.
	if (fFailed) {
		return false;
	}
	if (!fIdentified && !TryIdentify(true, error)) {
		return false;
	}
	if (!PreparePixbuf(error) || !ReadPicture(error)) {
		return false;
	}
	if (fCallbacks.updated != NULL) {
		fCallbacks.updated(fPixbuf, 0, 0, gdk_pixbuf_get_width(fPixbuf),
			gdk_pixbuf_get_height(fPixbuf), fCallbacks.userData);
	}
	return true;
}

bool PilotPixbufLoad::TryIdentify(bool final, GError **error)
{
	BMemoryIO bytes(fBytes.Buffer(), fBytes.BufferLength());
	BMessage facts;
	PilotRefusal refusal;
	if (IdentifyPilotImage(bytes, &facts, &refusal) != B_OK) {
		const bool wait = !final && AwaitsMoreBytes(refusal.check)
			&& fBytes.BufferLength() < kMaxBytesBeforeHeaders;
		if (!wait) {
			SetError(error, GDK_PIXBUF_ERROR_CORRUPT_IMAGE,
				"Not a PalmPilot image: %s", RefusalText(refusal).c_str());
		}
		return wait;
	}

	const int32 width = facts.GetInt32(PILOT_WIDTH_INFO, 0);
	const int32 height = facts.GetInt32(PILOT_HEIGHT_INFO, 0);
	if (width <= 0 || height <= 0) {
		SetError(error, GDK_PIXBUF_ERROR_CORRUPT_IMAGE,
			"The PalmPilot image's picture has no pixels (%d x %d)",
			(int)width, (int)height);
		return false;
	}
	// Refused here, before a byte of the picture is kept.
	if ((int64)width * height > PILOT_MAX_PIXELS) {
		SetError(error, GDK_PIXBUF_ERROR_INSUFFICIENT_MEMORY,
			"The PalmPilot image of %d x %d pixels is larger than the "
			"%" G_GINT64_FORMAT " pixels Quorvel reads", (int)width,
			(int)height, (gint64)PILOT_MAX_PIXELS);
		return false;
	}
	fWidth = (uint32)width;
	fHeight = (uint32)height;
	fUsefulBytes = UsefulBytes((uint64)bytes.Position(), fWidth, fHeight,
		(uint32)facts.GetInt32(PILOT_BITS_PER_PIXEL_INFO, 4),
		facts.GetBool(PILOT_PACKED_INFO, true));
	fIdentified = AgreeSize(error);
	return fIdentified;
}

// The caller may ask for a smaller pixbuf (a thumbnail), or for none at
// all (only the size was wanted). A larger one it scales up itself.
bool PilotPixbufLoad::AgreeSize(GError **error)
{
	int wantedWidth = (int)fWidth;
	int wantedHeight = (int)fHeight;
	if (fCallbacks.size != NULL) {
		fCallbacks.size(&wantedWidth, &wantedHeight, fCallbacks.userData);
		if (wantedWidth <= 0 || wantedHeight <= 0) {
			SetError(error, GDK_PIXBUF_ERROR_FAILED,
				"No pixels of the PalmPilot image were asked for");
			return false;
		}
	}
	fOutWidth = std::min((uint32)wantedWidth, fWidth);
	fOutHeight = std::min((uint32)wantedHeight, fHeight);
	if ((uint64)fOutWidth * fOutHeight > fLimit.pixels) {
		SetError(error, GDK_PIXBUF_ERROR_INSUFFICIENT_MEMORY,
			"The PalmPilot image of %u x %u pixels is larger than the "
			"%" G_GUINT64_FORMAT " pixels Quorvel loads at once; ask for a "
			"smaller size, or raise the limit with %s=N", fOutWidth,
			fOutHeight, (guint64)fLimit.pixels, kMaxPixelsVariable);
		return false;
	}
	return true;
}

// The pixbuf is made once every byte is in, so that it stays within what
// those bytes substantiate, as quorvel's pictures do (PixelLimit.h): a
// few bytes claiming a large picture get a thumbnail of it, not hundreds
// of megabytes. Only the bytes kept count: those the picture can use.
bool PilotPixbufLoad::PreparePixbuf(GError **error)
{
	const uint64 bytes = fBytes.BufferLength();
	const PixelAllowance allowance = AllowanceFor(fLimit, (int64)bytes);
	if ((uint64)fOutWidth * fOutHeight > allowance.pixels) {
		SetError(error, GDK_PIXBUF_ERROR_INSUFFICIENT_MEMORY,
			"The PalmPilot image of %u x %u pixels is more than its %"
			G_GUINT64_FORMAT " bytes may claim (%" G_GUINT64_FORMAT " pixels); "
			"ask for a smaller size, or set %s=N", fOutWidth, fOutHeight, bytes,
			(guint64)allowance.pixels, kMaxPixelsVariable);
		return false;
	}
	fPixbuf = gdk_pixbuf_new(GDK_COLORSPACE_RGB, FALSE, 8, (int)fOutWidth,
		(int)fOutHeight);
	if (fPixbuf == NULL) {
		SetError(error, GDK_PIXBUF_ERROR_INSUFFICIENT_MEMORY,
			"Not enough memory for a %u x %u picture", fOutWidth, fOutHeight);
		return false;
	}
	// White until the picture is read, as missing pixels stay.
	gdk_pixbuf_fill(fPixbuf, 0xFFFFFFFF);
	if (fCallbacks.prepared != NULL) {
		fCallbacks.prepared(fPixbuf, NULL, fCallbacks.userData);
	}
	return true;
}

bool PilotPixbufLoad::ReadPicture(GError **error)
{
	GreyDownscaler scaler(fWidth, fHeight, gdk_pixbuf_get_width(fPixbuf),
		gdk_pixbuf_get_height(fPixbuf), gdk_pixbuf_get_pixels(fPixbuf),
		(size_t)gdk_pixbuf_get_rowstride(fPixbuf));
	BitmapStreamSink sink(fWidth, fHeight, scaler);
	BMemoryIO bytes(fBytes.Buffer(), fBytes.BufferLength());
	PilotRefusal refusal;
	const status_t status = LoadPilotImage(bytes, sink, NULL, &refusal);
	if (status == B_NO_MEMORY) {
		SetError(error, GDK_PIXBUF_ERROR_INSUFFICIENT_MEMORY,
			"Not enough memory to read the %u x %u PalmPilot image", fWidth,
			fHeight);
		return false;
	}
	if (status != B_OK || !sink.Complete()) {
		SetError(error, GDK_PIXBUF_ERROR_CORRUPT_IMAGE,
			"The PalmPilot image could not be read: %s",
			status == B_NO_TRANSLATOR ? RefusalText(refusal).c_str()
				: "its bitmap stream was not the picture identified");
		return false;
	}
	return true;
}
