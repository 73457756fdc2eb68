#include "BmpReader.h"

#include <string.h>

#include <algorithm>
#include <vector>

#include "BitmapStreamHeader.h"
#include "BmpHeader.h"
#include "BmpRle.h"
#include "BmpRows.h"
#include "StandardImageInfo.h"
#include "TranslationError.h"

namespace {

const size_t kBandBytes = 1 << 20;

[[noreturn]] void CutShort()
{
	BmpDamaged("the file is cut short");
}

class BmpDecoder {
public:
	BmpDecoder(BPositionIO *source, BPositionIO *destination)
		: fStream(source), fDestination(destination),
		  fHeader(ReadBmpHeader(source)), fRows(fHeader)
	{
	}

	// What the run-length data did not give.
	ReadReport Report() const { return fReport; }

	void Decode()
	{
		CheckBmpReadable(fHeader);
		const uint32 height = fHeader.height;
		// Each band's rows, given the size of one of its rows.
		fBandRows = (uint32)std::min<uint64>(height, std::max<uint64>(1,
			kBandBytes / (fHeader.Rle() ? fRows.OutRowBytes()
				: fHeader.RowBytes())));
		if (fHeader.Rle()) {
			FindBandStarts();
		} else {
			CheckRowsPresent();
		}
		bool mono = fRows.Kind() == PixelKind::Mono;
		WriteBitmapHeader(fDestination, MakeBitmapHeader(fHeader.width,
			height, mono ? B_GRAY1 : B_RGB32, (uint32)fRows.OutRowBytes()));

		fOutRow.resize(fRows.OutRowBytes());
		for (uint32 done = 0, band = 0; done < height; done += fBandRows,
				band++) {
			uint32 rows = std::min(fBandRows, height - done);
			uint32 first = FirstStoredRow(done, rows);
			if (fHeader.Rle()) {
				DecodeBand(band, first, rows);
			} else {
				ReadBand(first, rows);
			}
			for (uint32 i = 0; i < rows; i++) {
				WriteRow(fDestination, BandRow(fHeader.topDown ? i
					: rows - 1 - i), fOutRow.size());
			}
		}
	}

private:
	// The stored row of the band whose first stream row is done.
	uint32 FirstStoredRow(uint32 done, uint32 rows) const
	{
		return fHeader.topDown ? done : fHeader.height - done - rows;
	}

	void CheckRowsPresent() const
	{
		uint64 lastRow = ((uint64)fHeader.width * fHeader.bitsPerPixel + 7)
			/ 8;
		uint64 needed = (uint64)fHeader.dataOffset
			+ fHeader.RowBytes() * (fHeader.height - 1) + lastRow;
		off_t size;
		if (fStream->GetSize(&size) == B_OK && (uint64)size < needed) {
			CutShort();
		}
	}

	// Decodes the run-length data once, keeping no pixel, to check that it
	// reaches the end of the picture and to note where each band starts.
	void FindBandStarts()
	{
		for (uint32 done = 0; done < fHeader.height; done += fBandRows) {
			uint32 rows = std::min(fBandRows, fHeader.height - done);
			fBandStarts.push_back({FirstStoredRow(done, rows), RleState()});
		}
		// Bands in the order the data reaches them.
		std::vector<size_t> order(fBandStarts.size());
		for (size_t i = 0; i < order.size(); i++) {
			order[i] = i;
		}
		std::sort(order.begin(), order.end(), [&](size_t a, size_t b) {
			return fBandStarts[a].first < fBandStarts[b].first;
		});
		size_t next = 0;
		RleStep step = RleStep::Code;
		while (step == RleStep::Code) {
			RleState state = fDecoder.State();
			for (; next < order.size()
					&& state.y >= fBandStarts[order[next]].first; next++) {
				fBandStarts[order[next]].second = state;
			}
			if (state.y >= fHeader.height) {
				break;
			}
			step = fDecoder.Next(NULL);
		}
		RleState end = fDecoder.State();
		bool lastRowDone = end.y >= fHeader.height
			|| (end.y + 1 == fHeader.height && end.x >= fHeader.width);
		if (step == RleStep::EndOfData && !lastRowDone) {
			CutShort();
		}
		if (!lastRowDone) {
			NoteMissingAfter(end);
		}
		// Bands the data never reaches stay see-through.
		for (; next < order.size(); next++) {
			fBandStarts[order[next]].second.y = UINT64_MAX;
		}
	}

	// The picture ended at end: the rest of its row and the rows after it
	// were never given.
	void NoteMissingAfter(const RleState &end)
	{
		const uint64 width = fHeader.width;
		const uint64 rows = fHeader.height - end.y;
		fReport.missingRows = (uint32)rows;
		fReport.missingAtTop = !fHeader.topDown;
		fReport.missingPixels = (uint32)(rows * width
			- std::min<uint64>(end.x, width));
	}

	void DecodeBand(uint32 band, uint32 first, uint32 rows)
	{
		const PixelKind kind = fRows.Kind();
		const size_t rowBytes = fRows.OutRowBytes();
		fBand.assign(rowBytes * rows, kind == PixelKind::Mono ? 0 : 255);
		const RleState &start = fBandStarts[band].second;
		if (start.y == UINT64_MAX) {
			return;
		}
		RleBand target;
		target.firstRow = first;
		target.rows = rows;
		target.rowBytes = rowBytes;
		target.pixels = fBand.data();
		target.kind = kind;
		target.table = fRows.Table();
		target.black = fRows.Black();
		fDecoder.Restart(start);
		while (fDecoder.State().y < (uint64)first + rows
			&& fDecoder.Next(&target) == RleStep::Code) {
		}
	}

	void ReadBand(uint32 first, uint32 rows)
	{
		const uint64 stride = fHeader.RowBytes();
		fBand.resize(stride * rows);
		ssize_t got = fStream->ReadAt((off_t)(fHeader.dataOffset
			+ stride * first), fBand.data(), fBand.size());
		// The last row's padding may be missing at the end of the file.
		uint64 needed = stride * (rows - 1)
			+ ((uint64)fHeader.width * fHeader.bitsPerPixel + 7) / 8;
		if (got < 0 || (uint64)got < needed) {
			CutShort();
		}
	}

	// Row i of the band as a stream row.
	const uint8 *BandRow(uint32 i)
	{
		if (fHeader.Rle()) {
			return fBand.data() + i * fRows.OutRowBytes();
		}
		fRows.Convert(fBand.data() + i * fHeader.RowBytes(), fOutRow.data());
		return fOutRow.data();
	}

	BPositionIO *fStream;
	BPositionIO *fDestination;
	BmpHeader fHeader;
	BmpRowConverter fRows;
	// For run-length data: its decoder, from the data's start.
	RleDecoder fDecoder{fStream, fHeader, RleState{fHeader.dataOffset, 0, 0}};
	uint32 fBandRows = 1;
	// The first stored row of each band and where its data starts.
	std::vector<std::pair<uint32, RleState>> fBandStarts;
	std::vector<uint8> fBand;
	std::vector<uint8> fOutRow;
	ReadReport fReport;
};

// The widest mask, the bits of each sample of a 16- or 32-bit pixel.
int32 WidestMask(const BmpHeader &header)
{
	int widest = 0;
	for (int i = 0; i < 3; i++) {
		widest = std::max(widest, header.masks[i].bits);
	}
	return widest;
}

} // namespace

bool IdentifyBmp(BPositionIO *source, ImageFacts *facts)
{
	if (!LooksLikeBmp(source)) {
		return false;
	}
	BmpHeader header;
	if (Guarded(NULL, [&] { header = ReadBmpHeader(source); }) != B_OK) {
		return false;
	}
	facts->width = header.width;
	facts->height = header.height;
	facts->kind = header.Kind();
	bool masked = header.bitsPerPixel == 16 || header.bitsPerPixel == 32;
	facts->bitsPerSample = header.Indexed() ? header.bitsPerPixel
		: masked ? WidestMask(header) : 8;
	// Bit-field pixels need not fill their bits (5-6-5, or 8 unused).
	facts->bitsPerPixel = header.bitsPerPixel;
	facts->colourKind = header.Indexed() ? IMAGE_KIND_PALETTE
		: header.HasAlpha() ? IMAGE_KIND_RGBA : IMAGE_KIND_RGB;
	facts->alpha = header.HasAlpha();
	return true;
}

void ReadBmpToBitmap(BPositionIO *source, BPositionIO *destination,
	ReadReport *report)
{
	BmpDecoder decoder(source, destination);
	decoder.Decode();
	*report = decoder.Report();
}
