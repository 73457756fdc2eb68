// One translator add-on loaded from its module file: the symbols that
// TranslatorAddOn.h describes, looked up once and then only read.
#ifndef _TRANSLATOR_MODULE_H
#define _TRANSLATOR_MODULE_H

#include <string>

#include <TranslationDefs.h>

class BMessage;
class BPositionIO;
class BRect;
class BView;

namespace BPrivate {

class TranslatorModule {
public:
	// A format table longer than this is taken to lack its terminating
	// row.
	static const int32 kMaxFormats = 1024;

	// Checks that the file is a whole shared object defining the seven
	// required symbols (SharedObjectCheck.h), then opens it (dlopen,
	// RTLD_NOW | RTLD_LOCAL) and looks up its symbols. NULL, with the
	// status in *_status and why in words in *_why, when the file is not a
	// loadable module (B_BAD_VALUE), lacks one of the seven required
	// symbols (B_NAME_NOT_FOUND) or has a format table without its
	// terminating row (B_BAD_DATA).
	static TranslatorModule *Load(const char *path, status_t *_status,
		std::string *_why);
	// Closes the module: nothing it exported may be used after this.
	~TranslatorModule();

	// The loader's handle: the same file loaded twice has the same one.
	const void *Handle() const { return fHandle; }

	const char *Name() const { return fName; }
	const char *Info() const { return fInfo; }
	int32 Version() const { return fVersion; }
	const translation_format *InputFormats() const { return fInputFormats; }
	int32 CountInputFormats() const { return fInputCount; }
	const translation_format *OutputFormats() const { return fOutputFormats; }
	int32 CountOutputFormats() const { return fOutputCount; }

	status_t Identify(BPositionIO *source, const translation_format *format,
		BMessage *ioExtension, translator_info *info, uint32 outType) const;
	status_t Translate(BPositionIO *source, const translator_info *info,
		BMessage *ioExtension, uint32 outType,
		BPositionIO *destination) const;
	// B_ERROR when the add-on offers no configuration.
	status_t MakeConfig(BMessage *ioExtension, BView **_view,
		BRect *_extent) const;
	status_t GetConfigMessage(BMessage *ioExtension) const;

private:
	typedef status_t (*identify_func)(BPositionIO *,
		const translation_format *, BMessage *, translator_info *, uint32);
	typedef status_t (*translate_func)(BPositionIO *, const translator_info *,
		BMessage *, uint32, BPositionIO *);
	typedef status_t (*make_config_func)(BMessage *, BView **, BRect *);
	typedef status_t (*get_config_message_func)(BMessage *);

	explicit TranslatorModule(void *handle);
	TranslatorModule(const TranslatorModule &);
	TranslatorModule &operator=(const TranslatorModule &);

	void *Symbol(const char *name) const;
	status_t BindSymbols();

	void *fHandle;
	const char *fName = NULL;
	const char *fInfo = NULL;
	int32 fVersion = 0;
	const translation_format *fInputFormats = NULL;
	int32 fInputCount = 0;
	const translation_format *fOutputFormats = NULL;
	int32 fOutputCount = 0;
	identify_func fIdentify = NULL;
	translate_func fTranslate = NULL;
	make_config_func fMakeConfig = NULL;
	get_config_message_func fGetConfigMessage = NULL;
};

} // namespace BPrivate

#endif // _TRANSLATOR_MODULE_H
