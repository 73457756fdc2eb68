#include "TranslatorModule.h"

#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <link.h>
#include <string.h>
#include <unistd.h>

#include <memory>
#include <vector>

#include "SharedObjectCheck.h"

namespace BPrivate {

namespace {

// Rows up to the terminating one, whose type is 0; -1 when none comes
// within the limit.
int32 CountFormats(const translation_format *table)
{
	for (int32 count = 0; count < TranslatorModule::kMaxFormats; count++) {
		if (table[count].type == 0) {
			return count;
		}
	}
	return -1;
}


// The seven symbols every translator add-on defines (TranslatorAddOn.h).
const std::vector<const char *> kRequiredSymbols = {"translatorName",
	"translatorInfo", "translatorVersion", "inputFormats", "outputFormats",
	"Identify", "Translate"};


// Why the file cannot be loaded as an add-on, before the loader sees it;
// empty when it may be.
std::string ModuleFileProblem(const char *path)
{
	int fd = open(path, O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
	if (fd < 0) {
		return strerror(errno);
	}
	std::string problem = SharedObjectProblem(fd, kRequiredSymbols);
	close(fd);
	return problem;
}

} // namespace


TranslatorModule::TranslatorModule(void *handle)
	:
	fHandle(handle)
{
}


TranslatorModule::~TranslatorModule()
{
	dlclose(fHandle);
}


TranslatorModule *
TranslatorModule::Load(const char *path, status_t *_status,
	std::string *_why)
{
	std::string problem = ModuleFileProblem(path);
	if (!problem.empty()) {
		*_status = B_BAD_VALUE;
		*_why = problem;
		return NULL;
	}
	void *handle = dlopen(path, RTLD_NOW | RTLD_LOCAL);
	if (handle == NULL) {
		*_status = B_BAD_VALUE;
		const char *error = dlerror();
		*_why = error != NULL ? error : "the loader refused it";
		return NULL;
	}
	std::unique_ptr<TranslatorModule> module(new TranslatorModule(handle));
	*_status = module->BindSymbols();
	if (*_status != B_OK) {
		*_why = *_status == B_BAD_DATA ? "a format table without its end"
			: "lacks one of the translator's entry points";
		return NULL;
	}
	return module.release();
}


// A symbol defined by the module itself. dlsym also searches the module's
// dependencies, and a library that merely links to something exporting
// "Identify" is not a translator.
void *
TranslatorModule::Symbol(const char *name) const
{
	void *symbol = dlsym(fHandle, name);
	if (symbol == NULL) {
		return NULL;
	}
	struct link_map *own = NULL;
	struct link_map *owner = NULL;
	Dl_info info;
	if (dlinfo(fHandle, RTLD_DI_LINKMAP, &own) != 0
		|| dladdr1(symbol, &info, (void **)&owner, RTLD_DL_LINKMAP) == 0
		|| owner != own) {
		return NULL;
	}
	return symbol;
}


status_t
TranslatorModule::BindSymbols()
{
	// The names are those of kRequiredSymbols, which the file was checked
	// to define.
	fName = static_cast<const char *>(Symbol("translatorName"));
	fInfo = static_cast<const char *>(Symbol("translatorInfo"));
	const int32 *version = static_cast<const int32 *>(
		Symbol("translatorVersion"));
	fInputFormats = static_cast<const translation_format *>(
		Symbol("inputFormats"));
	fOutputFormats = static_cast<const translation_format *>(
		Symbol("outputFormats"));
	fIdentify = reinterpret_cast<identify_func>(Symbol("Identify"));
	fTranslate = reinterpret_cast<translate_func>(Symbol("Translate"));
	if (fName == NULL || fInfo == NULL || version == NULL
		|| fInputFormats == NULL || fOutputFormats == NULL
		|| fIdentify == NULL || fTranslate == NULL) {
		return B_NAME_NOT_FOUND;
	}
	fVersion = *version;

	fMakeConfig = reinterpret_cast<make_config_func>(Symbol("MakeConfig"));
	fGetConfigMessage = reinterpret_cast<get_config_message_func>(
		Symbol("GetConfigMessage"));

	fInputCount = CountFormats(fInputFormats);
	fOutputCount = CountFormats(fOutputFormats);
	if (fInputCount < 0 || fOutputCount < 0) {
		return B_BAD_DATA;
	}
	return B_OK;
}


status_t
TranslatorModule::Identify(BPositionIO *source,
	const translation_format *format, BMessage *ioExtension,
	translator_info *info, uint32 outType) const
{
	return fIdentify(source, format, ioExtension, info, outType);
}


status_t
TranslatorModule::Translate(BPositionIO *source, const translator_info *info,
	BMessage *ioExtension, uint32 outType, BPositionIO *destination) const
{
	return fTranslate(source, info, ioExtension, outType, destination);
}


status_t
TranslatorModule::MakeConfig(BMessage *ioExtension, BView **_view,
	BRect *_extent) const
{
	if (fMakeConfig == NULL) {
		return B_ERROR;
	}
	return fMakeConfig(ioExtension, _view, _extent);
}


status_t
TranslatorModule::GetConfigMessage(BMessage *ioExtension) const
{
	if (fGetConfigMessage == NULL) {
		return B_ERROR;
	}
	return fGetConfigMessage(ioExtension);
}

} // namespace BPrivate
