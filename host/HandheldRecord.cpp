#include "HandheldRecord.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include <BitmapStream.h>
#include <PilotTranslator.h>

#include "Conversion.h"
#include "Fitting.h"
#include "PixelRows.h"

namespace {

// Enough tries to close in on any side by halving, were the records to
// follow no pattern at all.
const int kMostTries = 24;

// The size of a width x height picture whose longer side is side.
void SizeForSide(int32 width, int32 height, int32 side, int32 *sideWidth,
	int32 *sideHeight)
{
	FitBox box;
	box.width = box.height = side;
	FittedSize(box, width, height, sideWidth, sideHeight);
}

// Trials aimed by the records' growth before halving takes over: a few,
// and a few more while nothing tried fits and the record grows with the
// side alone.
const int kSquareAims = 4;
const int kSideAims = 8;

// A side tried and the length of its record.
struct Trial {
	int32 side;
	int32 record;
};

// How a record grows with the side, from the last two trials: about with
// the area, the square of the side, unless they show it growing nearer
// the side alone, as a long thin picture's does once its short side is
// padded to the screen (a 3 x 30000 picture took 18 trials, a second
// each, by the square). Sides less than 2% apart tell nothing for the
// packing's noise.
bool GrowsWithTheSide(const Trial &before, const Trial &last)
{
	if (before.record <= 0 || last.record <= 0
		|| std::abs(before.side - last.side) * 50 < last.side) {
		return false;
	}
	const double growth = std::log((double)before.record / last.record)
		/ std::log((double)before.side / last.side);
	return growth < 1.5;
}

// The next side to try between the largest known to fit and the smallest
// known not to. The record's growth by its square from the last trial
// points to the side whose record is just the limit; growing with the
// side alone, the records of those two do, or the last one's while none
// fits yet. Once that fails to close in, halving does.
int32 NextSide(const Trial &fits, const Trial &fails, const Trial &last,
	bool bySide, int tries)
{
	const double limit = PILOT_MAX_RECORD_BYTES;
	int32 aim = (fits.side + fails.side) / 2;
	if (bySide && tries < kSideAims) {
		if (fits.side > 0 && fails.record > fits.record) {
			aim = fits.side + (int32)std::floor((limit - fits.record)
				* (fails.side - fits.side) / (fails.record - fits.record));
		} else if (last.record > 0) {
			aim = (int32)std::floor(last.side * limit / last.record);
		}
	} else if (tries < kSquareAims && last.record > 0) {
		aim = (int32)std::floor(last.side * std::sqrt(limit / last.record));
	}
	return std::min(std::max(aim, fits.side + 1), fails.side - 1);
}

// A picture many times larger than the size its record points to is
// reduced once, in blocks, to about twice that size, so that each size
// tried is scaled from a picture of about its own size, in the time and
// memory that takes, however large the original.
void ReduceForTrials(int32 fullSide, int32 fullRecord,
	std::unique_ptr<BBitmap> *source)
{
	const double aim = fullSide * std::sqrt(
		(double)PILOT_MAX_RECORD_BYTES / fullRecord);
	const int32 factor = (int32)(std::max(PixelWidth(**source),
		PixelHeight(**source)) / (2 * std::max(aim, 1.0)));
	if (factor >= 2) {
		source->reset(ShrinkByBlocks(**source, factor));
	}
}

// Writes source at one size after another, keeping the bytes of the
// largest that fits.
class SizeTrials {
public:
	SizeTrials(TranslatorHost &host, std::unique_ptr<BBitmap> &source,
		const ShapingRequest &request, const std::string &described,
		BMessage *extension)
		: fHost(host), fSource(source), fRequest(request),
		  fDescribed(described), fExtension(extension) {}

	ByteVector Write(int32 width, int32 height)
	{
		std::unique_ptr<BBitmap> scaled(Scaled(width, height));
		if (scaled != NULL) {
			BBitmapStream stream(scaled.release());
			return WritePicture(fHost, stream, fDescribed,
				OutputFormat::Pilot, fExtension);
		}
		// A picture in the greys it is written in already keeps them:
		// dithering would move them against their neighbours.
		BMessage extension(*fExtension);
		if (InPilotGreys(*fSource, fRequest.depth)) {
			extension.RemoveName(PILOT_DITHER_SETTING);
			extension.AddBool(PILOT_DITHER_SETTING, false);
		}
		// The source as it is, lent to the stream and taken back.
		BBitmapStream stream(fSource.release());
		ByteVector bytes = WritePicture(fHost, stream, fDescribed,
			OutputFormat::Pilot, &extension);
		BBitmap *back = NULL;
		stream.DetachBitmap(&back);
		fSource.reset(back);
		return bytes;
	}

	// The record of source at that size; its bytes are kept when it is the
	// largest that fits so far.
	int32 RecordAt(int32 width, int32 height)
	{
		ByteVector bytes = Write(width, height);
		const WrittenPilot written = DescribeWrittenPilot(fHost, bytes);
		if (written.HandheldLoads() && width * (int64)height > fBestArea) {
			fBestArea = width * (int64)height;
			fBest = std::move(bytes);
		}
		return written.recordBytes;
	}

	ByteVector TakeBest() { return std::move(fBest); }

private:
	// The source at width x height, or NULL when that is its size. Its
	// pixels are made ready for resampling once, for every size tried, and
	// again only if the source is replaced (ReduceForTrials).
	BBitmap *Scaled(int32 width, int32 height)
	{
		const int32 sourceWidth = PixelWidth(*fSource);
		const int32 sourceHeight = PixelHeight(*fSource);
		if (width == sourceWidth && height == sourceHeight) {
			return NULL;
		}
		if (fRgbOf != fSource.get()) {
			fRgb = PictureRgb(*fSource);
			fRgbOf = fSource.get();
		}
		return ResizeRgb(fRgb, sourceWidth, sourceHeight, width, height);
	}

	TranslatorHost &fHost;
	std::unique_ptr<BBitmap> &fSource;
	const ShapingRequest &fRequest;
	const std::string &fDescribed;
	BMessage *fExtension;
	int64 fBestArea = 0;
	ByteVector fBest;
	std::vector<uint8> fRgb;
	const BBitmap *fRgbOf = NULL;
};

} // namespace

bool WrittenPilot::HandheldLoads() const
{
	return !described || recordBytes <= PILOT_MAX_RECORD_BYTES;
}

WrittenPilot DescribeWrittenPilot(TranslatorHost &host,
	const ByteVector &bytes)
{
	WrittenPilot written;
	BMemoryIO image(bytes.data(), bytes.size());
	BMessage facts;
	translator_info info;
	const char *name = NULL;
	if (host.Identify(image, B_TRANSLATOR_BITMAP, &info, &facts)
		&& info.type == PILOT_IMAGE_TYPE
		&& facts.FindString(PILOT_DB_NAME_INFO, &name) == B_OK
		&& facts.FindInt32(PILOT_RECORD_BYTES_INFO,
			&written.recordBytes) == B_OK) {
		written.described = true;
		written.name = name;
	}
	return written;
}

int32 LargestFittingSide(int32 fullSide, int32 fullRecord,
	const std::function<int32(int32 side)> &recordAt)
{
	Trial fits = {0, 0};
	Trial fails = {fullSide, fullRecord};
	Trial before = {0, 0};
	Trial last = fails;
	// Told while closing in from above, before the packing's noise near
	// the limit can mislead.
	bool bySide = false;
	for (int tries = 0; fails.side - fits.side > 1 && tries < kMostTries;
			tries++) {
		bySide = bySide || (fits.side == 0 && GrowsWithTheSide(before, last));
		const int32 side = NextSide(fits, fails, last, bySide, tries);
		before = last;
		last = {side, recordAt(side)};
		if (last.record <= PILOT_MAX_RECORD_BYTES) {
			fits = last;
		} else {
			fails = last;
		}
	}
	return std::max(fits.side, 1);
}

ByteVector WriteForHandheld(TranslatorHost &host,
	std::unique_ptr<BBitmap> source, const ShapingRequest &request,
	bool fullSize, const std::string &described, BMessage *extension,
	std::vector<Note> *notes)
{
	int32 width;
	int32 height;
	RequestedSize(request, PixelWidth(*source), PixelHeight(*source), &width,
		&height);
	// Refuses a side too long before anything is written; what it says of
	// the size holds only if the picture keeps it.
	std::vector<Note> sizeNotes;
	NoteSize(request, width, height, &sizeNotes);

	SizeTrials trials(host, source, request, described, extension);
	ByteVector whole = trials.Write(width, height);
	const WrittenPilot written = DescribeWrittenPilot(host, whole);
	if (written.HandheldLoads() || fullSize) {
		notes->insert(notes->end(), sizeNotes.begin(), sizeNotes.end());
		return whole;
	}
	whole.clear();
	ReduceForTrials(std::max(width, height), written.recordBytes, &source);
	const int32 side = LargestFittingSide(std::max(width, height),
		written.recordBytes, [&](int32 tried) {
			int32 triedWidth;
			int32 triedHeight;
			SizeForSide(width, height, tried, &triedWidth, &triedHeight);
			return trials.RecordAt(triedWidth, triedHeight);
		});
	int32 fittedWidth;
	int32 fittedHeight;
	SizeForSide(width, height, side, &fittedWidth, &fittedHeight);
	ByteVector best = trials.TakeBest();
	if (best.empty()) {
		// Nothing tried fitted: the smallest picture it can be.
		best = trials.Write(fittedWidth, fittedHeight);
	}
	notes->push_back({NoteKind::Scaled, "scaled from " + SizeText(width,
		height) + " to " + SizeText(fittedWidth, fittedHeight) + ", the "
		"largest size whose record a handheld loads (--full-size keeps the "
		"full size)"});
	return best;
}
