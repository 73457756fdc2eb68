#include "TranslatorHost.h"

#include <limits.h>
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

#include <DataIO.h>

#include "ByteVectorIO.h"
#include "Failure.h"

namespace {

std::string DefaultLoadPath()
{
	const char *environment = getenv("TRANSLATORS_PATH");
	if (environment != NULL && environment[0] != '\0') {
		return environment;
	}
	std::string program = ProgramFolder();
	size_t slash = program.rfind('/');
	std::string build = slash == std::string::npos ? "."
		: program.substr(0, slash);
	return build + "/translators";
}

bool WritesType(BTranslatorRoster &roster, translator_id id, uint32 type)
{
	const translation_format *formats = NULL;
	int32 count = 0;
	if (roster.GetOutputFormats(id, &formats, &count) != B_OK) {
		return false;
	}
	for (int32 i = 0; i < count; i++) {
		if (formats[i].type == type) {
			return true;
		}
	}
	return false;
}

} // namespace

std::string ProgramFolder()
{
	char path[PATH_MAX];
	ssize_t length = readlink("/proc/self/exe", path, sizeof(path) - 1);
	if (length <= 0) {
		return ".";
	}
	path[length] = '\0';
	std::string program(path);
	size_t slash = program.rfind('/');
	return slash == std::string::npos ? "." : program.substr(0, slash);
}

std::string StatusName(status_t status)
{
	switch (status) {
		case B_OK:
			return "B_OK";
		case B_ERROR:
			return "B_ERROR";
		case B_NO_TRANSLATOR:
			return "B_NO_TRANSLATOR";
		case B_BAD_VALUE:
			return "B_BAD_VALUE";
		case B_NO_MEMORY:
			return "B_NO_MEMORY";
		case B_ILLEGAL_DATA:
			return "B_ILLEGAL_DATA";
	}
	char code[32];
	snprintf(code, sizeof(code), "status %d", (int)status);
	return code;
}

TranslatorHost::TranslatorHost(const std::string &folder)
	: fLoadPath(folder.empty() ? DefaultLoadPath() : folder)
{
	if (fRoster.AddTranslators(fLoadPath.c_str()) != B_OK) {
		throw Failure(fLoadPath, "no translators found there (use "
			"--translators DIR or TRANSLATORS_PATH)");
	}
}

bool TranslatorHost::Identify(const ByteVector &bytes, uint32 wantType,
	translator_info *info)
{
	BMemoryIO source(static_cast<const void *>(bytes.data()), bytes.size());
	return fRoster.Identify(&source, NULL, info, 0, NULL, wantType) == B_OK;
}

ByteVector TranslatorHost::Translate(const ByteVector &bytes,
	const translator_info &info, BMessage *extension, uint32 outType)
{
	ByteVectorIO destination;
	Translate(bytes, info, extension, outType, &destination);
	return destination.TakeBytes();
}

void TranslatorHost::Translate(const ByteVector &bytes,
	const translator_info &info, BMessage *extension, uint32 outType,
	BPositionIO *destination)
{
	BMemoryIO source(static_cast<const void *>(bytes.data()), bytes.size());
	status_t status = fRoster.Translate(&source, &info, extension,
		destination, outType);
	if (status != B_OK) {
		throw Failure("translator refused it (" + StatusName(status) + ")");
	}
}

translator_id TranslatorHost::PilotTranslator()
{
	translator_id *list = NULL;
	int32 count = 0;
	if (fRoster.GetAllTranslators(&list, &count) != B_OK) {
		count = 0;
	}
	translator_id found = 0;
	bool haveOne = false;
	for (int32 i = 0; i < count && !haveOne; i++) {
		if (WritesType(fRoster, list[i], kPilotImageType)) {
			found = list[i];
			haveOne = true;
		}
	}
	delete[] list;
	if (!haveOne) {
		throw Failure(fLoadPath, "no translator there writes Pilot images");
	}
	return found;
}
