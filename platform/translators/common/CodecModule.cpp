#include "CodecModule.h"

#include <dlfcn.h>
#include <string.h>

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

const CodecSteps *CodecModule::Steps()
{
	std::call_once(fLoaded, [this] {
		fHandle = dlopen(fFileName, RTLD_NOW | RTLD_LOCAL);
		if (fHandle != NULL) {
			fSteps = static_cast<const CodecSteps *>(
				dlsym(fHandle, CODEC_STEPS_SYMBOL));
		}
		if (fSteps == NULL) {
			const char *why = dlerror();
			fFailure = std::string("cannot load the codec module ")
				+ fFileName + (why != NULL ? std::string(": ") + why : "");
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
	TranslationError error;
	if (steps->write == NULL) {
		throw TranslationError{B_NO_TRANSLATOR, "the codec writes nothing"};
	}
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
