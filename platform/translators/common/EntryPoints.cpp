// The entry points the standard translators share: each one's own format
// comes in through kNativeFormat, which it defines.
#include <Message.h>
#include <TranslatorAddOn.h>

#include "BitmapInput.h"
#include "StandardTranslator.h"
#include "TranslationError.h"

namespace {

// Identify for a bitmap stream that the translator is asked to write as
// outType (0 for its own choice).
status_t IdentifyBitmapInput(BPositionIO *source, uint32 outType,
	translator_info *outInfo)
{
	if (kNativeFormat.write == NULL || outType == B_TRANSLATOR_BITMAP
		|| (outType != 0 && FindFormat(outputFormats, outType) == NULL)) {
		return B_NO_TRANSLATOR;
	}
	uint32 space = 0;
	status_t status = Guarded(NULL, [&] {
		space = IdentifyBitmapStream(source);
	});
	if (status == B_OK && kNativeFormat.canWrite != NULL
		&& !kNativeFormat.canWrite(space, outType)) {
		status = B_NO_TRANSLATOR;
	}
	if (status == B_OK) {
		FillInfo(outInfo, *FindFormat(inputFormats, B_TRANSLATOR_BITMAP));
	}
	return status;
}

} // namespace

_EXPORT status_t Identify(BPositionIO *inSource,
	const translation_format *inFormat, BMessage *ioExtension,
	translator_info *outInfo, uint32 outType)
{
	(void)inFormat;
	if (inSource == NULL || outInfo == NULL) {
		return B_BAD_VALUE;
	}
	ImageFacts facts;
	if (!kNativeFormat.identify(inSource, &facts)) {
		return IdentifyBitmapInput(inSource, outType, outInfo);
	}
	if (outType != 0 && outType != B_TRANSLATOR_BITMAP) {
		return B_NO_TRANSLATOR;
	}
	RecordFacts(ioExtension, facts);
	FillInfo(outInfo, *FindFormat(inputFormats, kNativeFormat.type));
	return B_OK;
}

_EXPORT status_t Translate(BPositionIO *inSource,
	const translator_info *inInfo, BMessage *ioExtension, uint32 outType,
	BPositionIO *outDestination)
{
	if (inSource == NULL || inInfo == NULL || outDestination == NULL) {
		return B_BAD_VALUE;
	}
	if (inInfo->type == kNativeFormat.type) {
		if (outType != 0 && outType != B_TRANSLATOR_BITMAP) {
			return B_NO_TRANSLATOR;
		}
		return Guarded(ioExtension, [&] {
			ReadReport report;
			kNativeFormat.read(inSource, outDestination, &report);
			// The headers again, read alone: what the file stores.
			ImageFacts facts;
			if (kNativeFormat.identify(inSource, &facts)) {
				RecordFacts(ioExtension, facts);
			}
			RecordReport(ioExtension, report);
		});
	}
	if (kNativeFormat.write == NULL || inInfo->type != B_TRANSLATOR_BITMAP
		|| outType == B_TRANSLATOR_BITMAP
		|| (outType != 0 && FindFormat(outputFormats, outType) == NULL)) {
		return B_NO_TRANSLATOR;
	}
	return Guarded(ioExtension, [&] {
		kNativeFormat.write(inSource, outDestination, outType, ioExtension);
	});
}

_EXPORT status_t MakeConfig(BMessage *ioExtension, BView **outView,
	BRect *outExtent)
{
	(void)ioExtension;
	return MakeDescriptionView(outView, outExtent);
}

_EXPORT status_t GetConfigMessage(BMessage *ioExtension)
{
	if (ioExtension == NULL) {
		return B_BAD_VALUE;
	}
	return kNativeFormat.defaultOptions != NULL
		? kNativeFormat.defaultOptions(ioExtension) : B_OK;
}
