// The bits are one block of memory. Blocks of 2 MiB or more are mapped on
// their own, aligned and advised to be backed by huge pages: a picture of
// tens of megabytes then costs one page fault per 2 MiB on first touch
// instead of 512, which was a third of a conversion's time at those sizes.
// Mapped memory reads as zero and takes no room until written, so a bitmap
// that is filled row by row grows as it is filled.
#include <Bitmap.h>

#include <math.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>
#include <sys/mman.h>

#include <algorithm>

namespace {

const size_t kHugePage = (size_t)2 << 20;
const size_t kMaxBitsLength = INT32_MAX;

// The platform's bits per pixel of a colour space; 0 for one that no
// bitmap can hold.
uint32 BitsPerPixel(color_space space)
{
	switch (space) {
		case B_GRAY1:
			return 1;
		case B_CMAP8:
		case B_GRAY8:
			return 8;
		case B_RGB15:
		case B_RGBA15:
		case B_RGB16:
		case B_RGB15_BIG:
		case B_RGBA15_BIG:
		case B_RGB16_BIG:
			return 16;
		case B_RGB24:
		case B_RGB24_BIG:
			return 24;
		case B_RGB32:
		case B_RGBA32:
		case B_RGB32_BIG:
		case B_RGBA32_BIG:
			return 32;
		default:
			return 0;
	}
}

// The pixels one side of the bounds spans: the whole number of pixels
// from low to high, both included; 0 when there is none.
int64 Span(float low, float high)
{
	double span = (double)high - (double)low;
	if (!isfinite(span) || span < 0 || span >= (double)INT32_MAX) {
		return 0;
	}
	return (int64)ceil(span) + 1;
}

size_t MappedLength(size_t bytes)
{
	return (bytes + kHugePage - 1) & ~(kHugePage - 1);
}

// Maps a huge page more than needed, then returns the slack on either
// side, so that the block starts on a huge-page boundary: only aligned
// 2 MiB ranges can be backed by huge pages.
uint8 *MapAligned(size_t length)
{
	void *mapped = mmap(NULL, length + kHugePage, PROT_READ | PROT_WRITE,
		MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
	if (mapped == MAP_FAILED) {
		return NULL;
	}
	uintptr_t start = (uintptr_t)mapped;
	uintptr_t aligned = (start + kHugePage - 1) & ~(uintptr_t)(kHugePage - 1);
	size_t head = aligned - start;
	if (head > 0) {
		munmap(mapped, head);
	}
	if (kHugePage - head > 0) {
		munmap((void *)(aligned + length), kHugePage - head);
	}
	// Only advice: without transparent huge pages the block is simply
	// backed by ordinary pages.
	madvise((void *)aligned, length, MADV_HUGEPAGE);
	return (uint8 *)aligned;
}

// size bytes of zeros; NULL when there is no memory.
uint8 *AllocateBits(size_t size)
{
	if (size < kHugePage) {
		return static_cast<uint8 *>(calloc(size, 1));
	}
	return MapAligned(MappedLength(size));
}

void FreeBits(uint8 *bits, size_t size)
{
	if (size < kHugePage) {
		free(bits);
	} else if (bits != NULL) {
		munmap(bits, MappedLength(size));
	}
}

// The byte value of white in each byte of a pixel; -1 where white is not
// one repeated byte.
int WhiteByte(color_space space)
{
	switch (space) {
		case B_GRAY1:
			return 0x00;
		case B_CMAP8: {
			BScreen screen(B_MAIN_SCREEN_ID);
			return screen.IndexForColor(255, 255, 255);
		}
		default:
			return 0xFF;
	}
}

// Takes one source row of inBytes bytes into a row of outBytes.
typedef void (*RowImport)(const uint8 *in, size_t inBytes, uint8 *out,
	size_t outBytes);

void CopyRow(const uint8 *in, size_t inBytes, uint8 *out, size_t outBytes)
{
	memcpy(out, in, std::min(inBytes, outBytes));
}

// Pixels in stream order blue, green, red, alpha; the weights add up to
// 1024, so a grey comes out as itself.
void Rgb32RowToGray8(const uint8 *in, size_t inBytes, uint8 *out,
	size_t outBytes)
{
	size_t count = std::min(inBytes / 4, outBytes);
	for (size_t i = 0; i < count; i++, in += 4) {
		out[i] = (uint8)((116 * in[0] + 600 * in[1] + 308 * in[2]) >> 10);
	}
}

RowImport RowImportFor(color_space from, color_space to)
{
	if (from == to) {
		return CopyRow;
	}
	if ((from == B_RGB32 || from == B_RGBA32) && to == B_GRAY8) {
		return Rgb32RowToGray8;
	}
	return NULL;
}

} // namespace


BBitmap::BBitmap(BRect bounds, uint32 flags, color_space colorSpace,
	int32 bytesPerRow, screen_id)
{
	_InitObject(bounds, colorSpace, flags, bytesPerRow);
}


BBitmap::BBitmap(BRect bounds, color_space colorSpace, bool acceptsViews,
	bool needsContiguous)
{
	_InitObject(bounds, colorSpace,
		(acceptsViews ? B_BITMAP_ACCEPTS_VIEWS : 0)
			| (needsContiguous ? B_BITMAP_IS_CONTIGUOUS : 0),
		B_ANY_BYTES_PER_ROW);
}


BBitmap::BBitmap(const BBitmap &source, uint32 flags)
	:
	BArchivable()
{
	_CopyFrom(source, flags);
}


BBitmap::BBitmap(const BBitmap &source)
	:
	BArchivable()
{
	_CopyFrom(source, source.Flags());
}


BBitmap::BBitmap(const BBitmap *source, bool acceptsViews,
	bool needsContiguous)
{
	if (source == NULL) {
		_InitObject(BRect(), B_NO_COLOR_SPACE, 0, B_ANY_BYTES_PER_ROW);
		return;
	}
	_CopyFrom(*source, (acceptsViews ? B_BITMAP_ACCEPTS_VIEWS : 0)
		| (needsContiguous ? B_BITMAP_IS_CONTIGUOUS : 0));
}


BBitmap::~BBitmap()
{
	_CleanUp();
}


status_t
BBitmap::InitCheck() const
{
	return fInitError;
}


bool
BBitmap::IsValid() const
{
	return fInitError == B_OK;
}


status_t
BBitmap::LockBits(uint32 *)
{
	return fInitError;
}


void
BBitmap::UnlockBits()
{
}


void *
BBitmap::Bits() const
{
	return fBasePointer;
}


int32
BBitmap::BitsLength() const
{
	return (int32)fSize;
}


int32
BBitmap::BytesPerRow() const
{
	return fBytesPerRow;
}


color_space
BBitmap::ColorSpace() const
{
	return fColorSpace;
}


BRect
BBitmap::Bounds() const
{
	return fBounds;
}


status_t
BBitmap::SetDrawingFlags(uint32)
{
	return B_OK;
}


uint32
BBitmap::Flags() const
{
	return fFlags;
}


status_t
BBitmap::ImportBits(const void *data, int32 length, int32 bpr, int32 offset,
	color_space colorSpace)
{
	RowImport import = RowImportFor(colorSpace, fColorSpace);
	if (!IsValid() || data == NULL || length < 0 || offset < 0
		|| import == NULL) {
		return B_BAD_VALUE;
	}
	if (bpr == B_ANY_BYTES_PER_ROW) {
		bpr = fBytesPerRow;
	}
	if (bpr <= 0 || (size_t)offset > fSize) {
		return B_BAD_VALUE;
	}
	// Each source row fills one row of the bitmap, as far as both reach;
	// padding beyond that is skipped.
	const uint8 *in = static_cast<const uint8 *>(data);
	size_t at = (size_t)offset;
	for (size_t done = 0; done < (size_t)length && at < fSize;
			done += (size_t)bpr) {
		import(in + done, std::min((size_t)bpr, (size_t)length - done),
			fBasePointer + at, std::min((size_t)fBytesPerRow, fSize - at));
		at += (size_t)fBytesPerRow;
	}
	return B_OK;
}


status_t
BBitmap::ImportBits(const BBitmap *bitmap)
{
	if (bitmap == NULL || !bitmap->IsValid() || !IsValid()
		|| Span(bitmap->fBounds.left, bitmap->fBounds.right)
			!= Span(fBounds.left, fBounds.right)
		|| Span(bitmap->fBounds.top, bitmap->fBounds.bottom)
			!= Span(fBounds.top, fBounds.bottom)) {
		return B_BAD_VALUE;
	}
	return ImportBits(bitmap->fBasePointer, (int32)bitmap->fSize,
		bitmap->fBytesPerRow, 0, bitmap->fColorSpace);
}


BBitmap &
BBitmap::operator=(const BBitmap &source)
{
	if (this != &source) {
		_CleanUp();
		_CopyFrom(source, source.Flags());
	}
	return *this;
}


void
BBitmap::SetBits(const void *data, int32 length, int32 offset,
	color_space colorSpace)
{
	ImportBits(data, length, B_ANY_BYTES_PER_ROW, offset, colorSpace);
}


void
BBitmap::_InitObject(BRect bounds, color_space colorSpace, uint32 flags,
	int32 bytesPerRow)
{
	fBasePointer = NULL;
	fSize = 0;
	fColorSpace = colorSpace;
	fBounds = bounds;
	fBytesPerRow = 0;
	fFlags = flags;
	fInitError = B_BAD_VALUE;

	const int64 width = Span(bounds.left, bounds.right);
	const int64 height = Span(bounds.top, bounds.bottom);
	const uint32 bitsPerPixel = BitsPerPixel(colorSpace);
	if (width == 0 || height == 0 || bitsPerPixel == 0) {
		return;
	}
	// Rows of whole 32-bit words, unless the caller sets the length.
	const int64 rowBits = width * bitsPerPixel;
	const int64 needed = (rowBits + 7) / 8;
	const int64 rowBytes = bytesPerRow == B_ANY_BYTES_PER_ROW
		? (rowBits + 31) / 32 * 4 : bytesPerRow;
	if (rowBytes < needed || rowBytes > (int64)kMaxBitsLength
		|| height > (int64)kMaxBitsLength / rowBytes) {
		return;
	}
	fBytesPerRow = (int32)rowBytes;
	fSize = (size_t)(rowBytes * height);
	fBasePointer = AllocateBits(fSize);
	if (fBasePointer == NULL) {
		fSize = 0;
		fInitError = B_NO_MEMORY;
		return;
	}
	const int white = WhiteByte(colorSpace);
	if ((flags & B_BITMAP_CLEAR_TO_WHITE) != 0 && white != 0) {
		memset(fBasePointer, white, fSize);
	}
	fInitError = B_OK;
}


void
BBitmap::_CopyFrom(const BBitmap &source, uint32 flags)
{
	_InitObject(source.fBounds, source.fColorSpace,
		flags & ~B_BITMAP_CLEAR_TO_WHITE, source.fBytesPerRow);
	if (IsValid() && source.IsValid()) {
		memcpy(fBasePointer, source.fBasePointer, fSize);
	} else if (IsValid()) {
		_CleanUp();
		_InitObject(BRect(), B_NO_COLOR_SPACE, 0, B_ANY_BYTES_PER_ROW);
	}
}


void
BBitmap::_CleanUp()
{
	FreeBits(fBasePointer, fSize);
	fBasePointer = NULL;
	fSize = 0;
}
