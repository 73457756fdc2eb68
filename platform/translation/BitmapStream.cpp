#include <BitmapStream.h>

#include <math.h>
#include <string.h>

#include <algorithm>
#include <new>

#include <Bitmap.h>
#include <SeekTarget.h>

namespace {

const size_t kHeaderSize = sizeof(TranslatorBitmap);
const uint32 kWholeHeader = 0xFFFFFFFF;

static_assert(kHeaderSize == 32, "the stream's header is 32 bytes");

// The pixels from low to high, both included, when that is a whole number
// of at least one; 0 otherwise.
double PixelCount(float low, float high)
{
	double count = (double)high - (double)low + 1.0;
	if (!isfinite(count) || count < 1.0 || count != floor(count)) {
		return 0;
	}
	return count;
}

// Bit i set for each byte i of the header in [offset, offset + size).
uint32 HeaderBytesMask(size_t offset, size_t size)
{
	uint64 mask = (((uint64)1 << size) - 1) << offset;
	return (uint32)mask;
}

} // namespace


BBitmapStream::BBitmapStream(BBitmap *bitmap)
	:
	fBitmap(bitmap),
	fPosition(0),
	fSize(0),
	fDetached(false),
	fHeaderWritten(0)
{
	fHeader = TranslatorBitmap();
	fBigEndianHeader = TranslatorBitmap();
	if (bitmap == NULL || !bitmap->IsValid()) {
		return;
	}
	fHeader.magic = B_TRANSLATOR_BITMAP;
	fHeader.bounds = bitmap->Bounds();
	fHeader.rowBytes = (uint32)bitmap->BytesPerRow();
	fHeader.colors = bitmap->ColorSpace();
	fHeader.dataSize = (uint32)bitmap->BitsLength();
	SwapHeader(&fHeader, &fBigEndianHeader);
	fHeaderWritten = kWholeHeader;
	fSize = kHeaderSize + fHeader.dataSize;
}


BBitmapStream::~BBitmapStream()
{
	if (!fDetached) {
		delete fBitmap;
	}
}


ssize_t
BBitmapStream::ReadAt(off_t offset, void *buffer, size_t size)
{
	if (fDetached) {
		return B_ERROR;
	}
	if (offset < 0 || (buffer == NULL && size > 0)) {
		return B_BAD_VALUE;
	}
	if ((uint64)offset >= fSize) {
		return 0;
	}
	size_t at = (size_t)offset;
	size_t count = std::min(size, fSize - at);
	uint8 *out = static_cast<uint8 *>(buffer);
	size_t done = 0;
	if (at < kHeaderSize) {
		done = std::min(count, kHeaderSize - at);
		memcpy(out, reinterpret_cast<const uint8 *>(&fBigEndianHeader) + at,
			done);
	}
	if (done < count) {
		const uint8 *bits = static_cast<const uint8 *>(fBitmap->Bits());
		memcpy(out + done, bits + (at + done - kHeaderSize), count - done);
	}
	return (ssize_t)count;
}


ssize_t
BBitmapStream::WriteAt(off_t offset, const void *buffer, size_t size)
{
	if (fDetached || (fBitmap != NULL && !fBitmap->IsValid())) {
		return B_ERROR;
	}
	if (offset < 0 || (buffer == NULL && size > 0)) {
		return B_BAD_VALUE;
	}
	if (size == 0) {
		return 0;
	}
	const uint8 *in = static_cast<const uint8 *>(buffer);
	size_t at = (size_t)offset;
	size_t done = 0;
	if (at < kHeaderSize) {
		ssize_t written = _WriteHeader(at, in,
			std::min(size, kHeaderSize - at));
		if (written < 0) {
			return written;
		}
		done = (size_t)written;
	}
	if (done < size) {
		// Pixels come after a whole header, and within its dataSize.
		size_t start = at + done;
		size_t count = size - done;
		if (fBitmap == NULL || start > _FullSize()
			|| count > _FullSize() - start) {
			return B_BAD_VALUE;
		}
		uint8 *bits = static_cast<uint8 *>(fBitmap->Bits());
		memcpy(bits + (start - kHeaderSize), in + done, count);
		done = size;
	}
	fSize = std::max(fSize, at + done);
	return (ssize_t)done;
}


off_t
BBitmapStream::Seek(off_t position, uint32 seekMode)
{
	off_t target;
	status_t status = BPrivate::SeekTarget(position, seekMode,
		(off_t)fPosition, (off_t)fSize, &target);
	if (status != B_OK) {
		return status;
	}
	fPosition = (size_t)target;
	return target;
}


off_t
BBitmapStream::Position() const
{
	return (off_t)fPosition;
}


off_t
BBitmapStream::Size() const
{
	return (off_t)fSize;
}


status_t
BBitmapStream::GetSize(off_t *size) const
{
	if (size == NULL) {
		return B_BAD_VALUE;
	}
	*size = (off_t)fSize;
	return B_OK;
}


status_t
BBitmapStream::SetSize(off_t size)
{
	if (fDetached || fBitmap == NULL || size < 0
		|| (uint64)size > _FullSize()) {
		return B_BAD_VALUE;
	}
	fSize = (size_t)size;
	return B_OK;
}


status_t
BBitmapStream::DetachBitmap(BBitmap **_bitmap)
{
	if (_bitmap == NULL) {
		return B_BAD_VALUE;
	}
	if (fBitmap == NULL || fDetached) {
		return B_ERROR;
	}
	*_bitmap = fBitmap;
	fDetached = true;
	return B_OK;
}


void
BBitmapStream::SwapHeader(const TranslatorBitmap *source,
	TranslatorBitmap *destination)
{
	if (source == NULL || destination == NULL) {
		return;
	}
	*destination = *source;
	// Every field is four bytes, the bounds' floats too; the swap is its
	// own inverse, so one action serves both ways.
	swap_data(B_UINT32_TYPE, destination, sizeof(TranslatorBitmap),
		B_SWAP_HOST_TO_BENDIAN);
}


// Header bytes are kept until all 32 have come, in any order; then the
// bitmap is made. Once it exists the header may be written again only as
// it is: the bitmap's size cannot change under its pixels.
ssize_t
BBitmapStream::_WriteHeader(size_t offset, const uint8 *bytes, size_t size)
{
	uint8 *header = reinterpret_cast<uint8 *>(&fBigEndianHeader);
	if (fBitmap != NULL) {
		if (memcmp(header + offset, bytes, size) != 0) {
			return B_NOT_ALLOWED;
		}
		return (ssize_t)size;
	}
	memcpy(header + offset, bytes, size);
	fHeaderWritten |= HeaderBytesMask(offset, size);
	if (fHeaderWritten != kWholeHeader) {
		return (ssize_t)size;
	}
	status_t status = _MakeBitmap();
	if (status != B_OK) {
		// The header may be written again from the start.
		fHeaderWritten = 0;
		return status;
	}
	return (ssize_t)size;
}


// Every field is checked before the bitmap's memory is asked for.
status_t
BBitmapStream::_MakeBitmap()
{
	TranslatorBitmap header;
	SwapHeader(&fBigEndianHeader, &header);
	double width = PixelCount(header.bounds.left, header.bounds.right);
	double height = PixelCount(header.bounds.top, header.bounds.bottom);
	if (header.magic != B_TRANSLATOR_BITMAP || width == 0 || height == 0
		|| header.rowBytes > (uint32)INT32_MAX
		|| (double)header.rowBytes * height != (double)header.dataSize) {
		return B_BAD_VALUE;
	}
	BBitmap *bitmap = new (std::nothrow) BBitmap(header.bounds, 0,
		header.colors, (int32)header.rowBytes);
	if (bitmap == NULL) {
		return B_NO_MEMORY;
	}
	status_t status = bitmap->InitCheck();
	if (status != B_OK) {
		delete bitmap;
		return status;
	}
	fBitmap = bitmap;
	fHeader = header;
	return B_OK;
}


size_t
BBitmapStream::_FullSize() const
{
	if (fBitmap == NULL) {
		return kHeaderSize;
	}
	return kHeaderSize + (size_t)fBitmap->BitsLength();
}
