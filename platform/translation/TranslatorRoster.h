// The roster: loads translator add-ons and finds the right one for a
// stream.
#ifndef _TRANSLATOR_ROSTER_H
#define _TRANSLATOR_ROSTER_H

#include <TranslationDefs.h>
#include <TranslatorFormats.h>

class BMessage;
class BPositionIO;
class BRect;
class BView;

class BTranslatorRoster {
public:
	BTranslatorRoster();
	virtual ~BTranslatorRoster();

	// The process's shared roster, loaded from the default folders on
	// first use.
	static BTranslatorRoster *Default();

	// Loads every add-on in loadPath: a colon-separated list of files and
	// folders. NULL means the default folders (TRANSLATORS_PATH when set).
	// B_OK when at least one translator was loaded.
	virtual status_t AddTranslators(const char *loadPath = NULL);

	// The best translator for the stream (highest quality x capability
	// among those whose Identify answers B_OK).
	virtual status_t Identify(BPositionIO *source, BMessage *ioExtension,
		translator_info *_info, uint32 hintType = 0,
		const char *hintMIME = NULL, uint32 wantType = 0);
	// Every translator that can take the stream; *_info is a new array
	// the caller deletes with delete[].
	virtual status_t GetTranslators(BPositionIO *source,
		BMessage *ioExtension, translator_info **_info, int32 *_numInfo,
		uint32 hintType = 0, const char *hintMIME = NULL,
		uint32 wantType = 0);
	// *_list is a new array the caller deletes with delete[].
	virtual status_t GetAllTranslators(translator_id **_list,
		int32 *_count);
	virtual status_t GetTranslatorInfo(translator_id translatorID,
		const char **_name, const char **_info, int32 *_version);
	virtual status_t GetInputFormats(translator_id translatorID,
		const translation_format **_formats, int32 *_numFormats);
	virtual status_t GetOutputFormats(translator_id translatorID,
		const translation_format **_formats, int32 *_numFormats);

	// Identifies the stream when info is NULL, then has the translator
	// write wantOutType to destination. The source is rewound first.
	virtual status_t Translate(BPositionIO *source,
		const translator_info *info, BMessage *ioExtension,
		BPositionIO *destination, uint32 wantOutType, uint32 hintType = 0,
		const char *hintMIME = NULL);
	virtual status_t Translate(translator_id translatorID,
		BPositionIO *source, BMessage *ioExtension,
		BPositionIO *destination, uint32 wantOutType);

	virtual status_t MakeConfigurationView(translator_id translatorID,
		BMessage *ioExtension, BView **_view, BRect *_extent);
	virtual status_t GetConfigurationMessage(translator_id translatorID,
		BMessage *ioExtension);

private:
	BTranslatorRoster(const BTranslatorRoster &);
	BTranslatorRoster &operator=(const BTranslatorRoster &);

	struct Private;
	Private *fPrivate;
};

#endif // _TRANSLATOR_ROSTER_H
