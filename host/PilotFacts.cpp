#include "PilotFacts.h"

#include <stdio.h>

#include <PilotTranslator.h>

#include "Failure.h"

namespace {

std::string DepthText(int32 bitsPerPixel)
{
	switch (bitsPerPixel) {
		case 1:
			return "1-bit black and white";
		case 2:
			return "2-bit grey (four levels)";
		case 4:
			return "4-bit grey (sixteen levels)";
	}
	return std::to_string(bitsPerPixel) + "-bit";
}

// "4800 of 25600 pixels missing (the last 30 of 160 rows)": the missing
// rows run from the first that is incomplete to the last the file stores,
// which for a file stored bottom up are the top ones on screen.
std::string MissingText(const PilotFacts &facts)
{
	const int64 pixels = (int64)facts.width * facts.height;
	return std::to_string(facts.missingPixels) + " of "
		+ std::to_string(pixels) + " pixels missing (the "
		+ (facts.missingAtTop ? "top " : "last ")
		+ std::to_string(facts.missingRows) + " of "
		+ std::to_string(facts.height) + " rows)";
}

// The name as stored may hold any byte: control characters, quotes and
// backslashes are shown escaped, so that the description stays one line.
std::string QuotedName(const std::string &name)
{
	std::string quoted = "\"";
	for (unsigned char c : name) {
		if (c < 0x20 || c == 0x7F || c == '"' || c == '\\') {
			char escape[5];
			snprintf(escape, sizeof(escape), "\\x%02X", c);
			quoted += escape;
		} else {
			quoted += (char)c;
		}
	}
	return quoted + "\"";
}

} // namespace

PilotFacts ReadPilotFacts(const BMessage &extension)
{
	PilotFacts facts;
	const char *name = NULL;
	facts.described = extension.FindString(PILOT_DB_NAME_INFO, &name) == B_OK
		&& extension.FindInt32(PILOT_BITS_PER_PIXEL_INFO,
			&facts.bitsPerPixel) == B_OK
		&& extension.FindBool(PILOT_PACKED_INFO, &facts.packed) == B_OK
		&& extension.FindInt32(PILOT_WIDTH_INFO, &facts.width) == B_OK
		&& extension.FindInt32(PILOT_HEIGHT_INFO, &facts.height) == B_OK;
	if (facts.described) {
		facts.name = name;
		extension.FindInt32(PILOT_ROW_BYTES_INFO, &facts.rowBytes);
	}
	facts.checked = facts.described
		&& extension.FindInt32(PILOT_MISSING_ROWS_INFO,
			&facts.missingRows) == B_OK
		&& extension.FindInt32(PILOT_MISSING_PIXELS_INFO,
			&facts.missingPixels) == B_OK;
	return facts;
}

std::string DescribePilotFacts(const PilotFacts &facts)
{
	if (!facts.described) {
		return "not described by its translator";
	}
	std::string text = std::to_string(facts.width) + " x "
		+ std::to_string(facts.height) + " pixels, "
		+ DepthText(facts.bitsPerPixel) + ", "
		+ (facts.packed ? "packed" : "plain") + ", rows of "
		+ std::to_string(facts.rowBytes)
		+ (facts.rowBytes == 1 ? " byte" : " bytes") + ", database "
		+ QuotedName(facts.name);
	if (facts.checked) {
		text += facts.CutShort() ? ", cut short: " + MissingText(facts)
			: ", complete";
	}
	return text;
}

std::string CutShortWarning(const PilotFacts &facts,
	const std::string &fileName, bool strict)
{
	if (!facts.CutShort()) {
		return "";
	}
	if (strict) {
		throw Failure("cut short: " + MissingText(facts)
			+ "; refused with --strict");
	}
	return "quorvel: " + fileName + ": warning: cut short: "
		+ MissingText(facts) + ", shown white";
}
