#include "CodecModule.h"

#include <dlfcn.h>
#include <string.h>

#include <ByteOrder.h>

CodecModule::CodecModule(const char *fileName)
	: fFileName(fileName)
{
}

CodecModule::~CodecModule()
{
	if (fHandle != NULL) {
		dlclose(fHandle);
	}
}

namespace {

// The codec modules lie beside the kit's libraries: found from where libbe
// was loaded, not through a search path, which would be that of whichever
// module calls dlopen (a sanitizer's runtime intercepts it) and would not
// follow an add-on copied elsewhere.
std::string KitLibraryFolder()
{
	Dl_info info;
	if (dladdr(reinterpret_cast<void *>(&is_type_swapped), &info) == 0
		|| info.dli_fname == NULL) {
		return std::string();
	}
	std::string path = info.dli_fname;
	size_t slash = path.rfind('/');
	return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

} // namespace

const CodecSteps *CodecModule::Steps()
{
	std::call_once(fLoaded, [this] {
		const std::string folder = KitLibraryFolder();
		const std::string path = folder.empty() ? std::string(fFileName)
			: folder + "/" + fFileName;
		fHandle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
		if (fHandle != NULL) {
			fSteps = static_cast<const CodecSteps *>(
				dlsym(fHandle, CODEC_STEPS_SYMBOL));
		}
		if (fSteps == NULL) {
			const char *why = dlerror();
			fFailure = std::string("cannot load the codec module ")
				+ path + (why != NULL ? std::string(": ") + why : "");
		}
	});
	return fSteps;
}

bool CodecModule::Identify(BPositionIO *source, ImageFacts *facts)
{
	const CodecSteps *steps = Steps();
	if (steps == NULL) {
		return true;
	}
	try {
		return steps->identify(source, facts);
	} catch (const std::bad_alloc &) {
		throw;
	} catch (...) {
		// Headers it cannot make sense of.
		return false;
	}
}

void CodecModule::Read(BPositionIO *source, BPositionIO *destination)
{
	const CodecSteps *steps = Steps();
	if (steps == NULL) {
		throw TranslationError{B_ERROR, fFailure};
	}
	TranslationError error;
	if (!steps->read(source, destination, &error)) {
		throw error;
	}
}

void CodecModule::Write(BPositionIO *source, BPositionIO *destination,
	uint32 outType, BMessage *ioExtension)
{
	const CodecSteps *steps = Steps();
	if (steps == NULL) {
		throw TranslationError{B_ERROR, fFailure};
	}
	if (steps->write == NULL) {
		throw TranslationError{B_NO_TRANSLATOR, "the codec writes nothing"};
	}
	TranslationError error;
	if (!steps->write(source, destination, outType, ioExtension, &error)) {
		throw error;
	}
}

bool StartsWith(BPositionIO *source, const void *bytes, size_t size)
{
	char start[16];
	return size <= sizeof(start)
		&& source->ReadAt(0, start, size) == (ssize_t)size
		&& memcmp(start, bytes, size) == 0;
}
