#include "StandardTranslator.h"

#include <string.h>

#include <new>
#include <string>

#include <Message.h>
#include <TextView.h>

#include "BitmapInput.h"
#include "TranslationError.h"

const char *const kDepthKey = "depth";


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

void RecordDepth(BMessage *ioExtension, PixelKind kind)
{
	if (ioExtension != NULL) {
		ioExtension->RemoveName(kDepthKey);
		ioExtension->AddString(kDepthKey, DescribeKind(kind));
	}
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
