// quorvel translators: what the roster loaded, and the formats each
// translator reads and writes.
#include <stdio.h>

#include "Commands.h"
#include "TranslatorHost.h"

namespace {

std::string FourCharacters(uint32 code)
{
	std::string text;
	for (int shift = 24; shift >= 0; shift -= 8) {
		char c = (char)((code >> shift) & 0xFF);
		text += (c >= 32 && c < 127) ? c : '?';
	}
	return text;
}

void PrintFormats(const char *label, const translation_format *formats,
	int32 count)
{
	printf("  %s:\n", label);
	for (int32 i = 0; i < count; i++) {
		printf("    '%s' %s (%s)\n", FourCharacters(formats[i].type).c_str(),
			formats[i].name, formats[i].MIME);
	}
}

} // namespace

int RunTranslators(const CommandLine &line)
{
	if (!line.operands.empty()) {
		return UsageError("translators takes no arguments");
	}
	TranslatorHost host(line.translatorsFolder);
	BTranslatorRoster &roster = host.Roster();
	translator_id *list = NULL;
	int32 count = 0;
	if (roster.GetAllTranslators(&list, &count) != B_OK) {
		count = 0;
	}
	printf("Translators loaded from %s:\n", host.LoadPath().c_str());
	for (int32 i = 0; i < count; i++) {
		const char *name = "";
		const char *info = "";
		int32 version = 0;
		roster.GetTranslatorInfo(list[i], &name, &info, &version);
		printf("%s, version %d: %s\n", name, (int)version, info);
		const translation_format *formats = NULL;
		int32 formatCount = 0;
		if (roster.GetInputFormats(list[i], &formats, &formatCount) == B_OK) {
			PrintFormats("reads", formats, formatCount);
		}
		if (roster.GetOutputFormats(list[i], &formats, &formatCount) == B_OK) {
			PrintFormats("writes", formats, formatCount);
		}
	}
	delete[] list;
	return kExitSuccess;
}
