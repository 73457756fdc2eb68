#include "StandardTranslator.h"

#include <string.h>

#include <new>
#include <string>

#include <Message.h>
#include <TextView.h>

#include "BitmapInput.h"
#include "StandardImageInfo.h"
#include "TranslationError.h"

void FillInfo(translator_info *info, const translation_format &row)
{
	info->type = row.type;
	info->group = row.group;
	info->quality = row.quality;
	info->capability = row.capability;
	strncpy(info->name, row.name, sizeof(info->name));
	strncpy(info->MIME, row.MIME, sizeof(info->MIME));
}

const translation_format *FindFormat(const translation_format *table,
	uint32 type)
{
	for (; table->type != 0; table++) {
		if (table->type == type) {
			return table;
		}
	}
	return NULL;
}

namespace {

// The samples one stored pixel of the colour kind holds; a palette pixel
// is one index.
int32 SamplesOfKind(const char *colourKind)
{
	const struct {
		const char *kind;
		int32 samples;
	} kSamples[] = {
		{IMAGE_KIND_GREY, 1}, {IMAGE_KIND_PALETTE, 1},
		{IMAGE_KIND_GREY_ALPHA, 2}, {IMAGE_KIND_RGB, 3},
		{IMAGE_KIND_YCBCR, 3}, {IMAGE_KIND_RGBA, 4}, {IMAGE_KIND_CMYK, 4},
		{IMAGE_KIND_YCCK, 4},
	};
	for (const auto &entry : kSamples) {
		if (strcmp(entry.kind, colourKind) == 0) {
			return entry.samples;
		}
	}
	return 1;
}

} // namespace

void RecordFacts(BMessage *ioExtension, const ImageFacts &facts)
{
	if (ioExtension == NULL) {
		return;
	}
	ioExtension->RemoveName(IMAGE_WIDTH_INFO);
	ioExtension->AddInt32(IMAGE_WIDTH_INFO, (int32)facts.width);
	ioExtension->RemoveName(IMAGE_HEIGHT_INFO);
	ioExtension->AddInt32(IMAGE_HEIGHT_INFO, (int32)facts.height);
	ioExtension->RemoveName(IMAGE_DEPTH_INFO);
	ioExtension->AddString(IMAGE_DEPTH_INFO, DescribeKind(facts.kind));
	ioExtension->RemoveName(IMAGE_BITS_PER_SAMPLE_INFO);
	ioExtension->AddInt32(IMAGE_BITS_PER_SAMPLE_INFO, facts.bitsPerSample);
	ioExtension->RemoveName(IMAGE_BITS_PER_PIXEL_INFO);
	ioExtension->AddInt32(IMAGE_BITS_PER_PIXEL_INFO, facts.bitsPerPixel > 0
		? facts.bitsPerPixel
		: facts.bitsPerSample * SamplesOfKind(facts.colourKind));
	ioExtension->RemoveName(IMAGE_COLOUR_KIND_INFO);
	ioExtension->AddString(IMAGE_COLOUR_KIND_INFO, facts.colourKind);
	ioExtension->RemoveName(IMAGE_ALPHA_INFO);
	ioExtension->AddBool(IMAGE_ALPHA_INFO, facts.alpha);
	ioExtension->RemoveName(IMAGE_INTERLACED_INFO);
	ioExtension->AddBool(IMAGE_INTERLACED_INFO, facts.interlaced);
}

void RecordReport(BMessage *ioExtension, const ReadReport &report)
{
	if (ioExtension == NULL) {
		return;
	}
	ioExtension->RemoveName(IMAGE_MISSING_ROWS_INFO);
	ioExtension->AddInt32(IMAGE_MISSING_ROWS_INFO,
		(int32)report.missingRows);
	ioExtension->RemoveName(IMAGE_MISSING_PIXELS_INFO);
	ioExtension->AddInt32(IMAGE_MISSING_PIXELS_INFO,
		(int32)report.missingPixels);
	ioExtension->RemoveName(IMAGE_MISSING_AT_TOP_INFO);
	ioExtension->AddBool(IMAGE_MISSING_AT_TOP_INFO, report.missingAtTop);
}

status_t MakeDescriptionView(BView **outView, BRect *outExtent)
{
	if (outView == NULL || outExtent == NULL) {
		return B_BAD_VALUE;
	}
	const BRect frame(0, 0, 299, 79);
	try {
		BTextView *text = new BTextView(frame, translatorName,
			BRect(4, 4, 295, 75), B_FOLLOW_ALL, B_WILL_DRAW);
		std::string about = std::string(translatorName) + " "
			+ std::to_string(translatorVersion / 100) + "."
			+ std::to_string(translatorVersion / 10 % 10) + "."
			+ std::to_string(translatorVersion % 10) + "\n" + translatorInfo;
		text->SetText(about.c_str());
		text->MakeEditable(false);
		*outView = text;
		*outExtent = text->Bounds();
	} catch (const std::bad_alloc &) {
		*outView = NULL;
		return B_NO_MEMORY;
	}
	return B_OK;
}
