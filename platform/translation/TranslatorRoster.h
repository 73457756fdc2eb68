// The roster: loads translator add-ons and finds the right one for a
// stream.
//
// A translator's id is its place in load order counted from 1; id 0 and
// ids past the last are refused with B_BAD_VALUE, as are NULL out
// pointers. Add-ons stay loaded until the roster is destroyed. Once
// loaded, the roster may be used from several threads at once: its
// lookups only read, and the add-ons are called without a lock held.
#ifndef _TRANSLATOR_ROSTER_H
#define _TRANSLATOR_ROSTER_H

#include <Archivable.h>
#include <TranslationDefs.h>
#include <TranslatorFormats.h>

class BMessage;
class BPositionIO;
class BRect;
class BView;

class BTranslatorRoster : public BArchivable {
public:
	BTranslatorRoster();
	virtual ~BTranslatorRoster();

	// The process's shared roster, loaded from the default path on first
	// use and never destroyed.
	static BTranslatorRoster *Default();

	// Loads every add-on in loadPath: a colon-separated list of files and
	// folders, a folder standing for the regular files in it, in name
	// order. Files that are not translator modules are skipped, and a
	// module already loaded is not added twice. NULL means the default
	// path: TRANSLATORS_PATH when set, else
	// $XDG_DATA_HOME/TranslationKit/translators
	// (~/.local/share/TranslationKit/translators).
	// B_OK when at least one translator of the path is in the roster;
	// B_ENTRY_NOT_FOUND when the path names no file at all; B_BAD_VALUE
	// when it is empty or none of its files is a translator.
	virtual status_t AddTranslators(const char *loadPath = NULL);

	// The best translator for the stream (highest quality x capability
	// among those whose Identify answers B_OK; the first loaded among
	// equals), with _info->translator set to its id. The stream is
	// rewound before each translator sees it. A hint is handed to each
	// translator as its own input format of that type or MIME type, if it
	// has one. B_NO_TRANSLATOR when none takes the stream;
	// the stream's own error when it cannot be rewound.
	virtual status_t Identify(BPositionIO *source, BMessage *ioExtension,
		translator_info *_info, uint32 hintType = 0,
		const char *hintMIME = NULL, uint32 wantType = 0);
	// Every translator that can take the stream, best first; *_info is a
	// new array the caller deletes with delete[].
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
	// write wantOutType to destination. The source is rewound first. The
	// form with an id asks that translator alone to identify the stream,
	// so that it is told the stream's input type.
	virtual status_t Translate(BPositionIO *source,
		const translator_info *info, BMessage *ioExtension,
		BPositionIO *destination, uint32 wantOutType, uint32 hintType = 0,
		const char *hintMIME = NULL);
	virtual status_t Translate(translator_id translatorID,
		BPositionIO *source, BMessage *ioExtension,
		BPositionIO *destination, uint32 wantOutType);

	// B_ERROR when the add-on exports no MakeConfig (GetConfigMessage).
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
