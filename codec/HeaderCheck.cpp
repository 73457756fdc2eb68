#include "HeaderCheck.h"

#include <math.h>
#include <stdio.h>
#include <string.h>

#include <PilotTranslator.h>

namespace {

struct Reason {
	// The manifest's spelling.
	const char *name;
	// The words; "{size}" stands for the size that decided it, "{cap}"
	// and "{side}" for the limits.
	const char *words;
};

const Reason kReasons[] = {
	{"accepted", "accepted"},
	{"database-header-cut", "the file ends within its Pilot database header"},
	{"no-records", "the Pilot database holds no records"},
	{"not-an-image-database", "the database is neither of type 'vIMG' nor "
		"of creator 'TlPt'"},
	{"record-entry-cut", "the file ends within its Pilot database's record "
		"list"},
	{"record-unreachable", "the picture's record lies beyond the end of the "
		"file"},
	{"image-header-cut", "the file ends within its Pilot image header"},
	{"tealpaint-record-cut", "the file ends within its TealPaint picture's "
		"record"},
	{"pixels-unreachable", "the picture's pixel data lies beyond the end of "
		"the file"},
	{"names-differ", "the Pilot image header names another database than "
		"the file's"},
	{"picture-empty", "{size} is no picture: a Pilot image has at least one "
		"pixel each way"},
	{"picture-beyond-cap", "{size} is more pixels than a Pilot image may "
		"hold (at most {cap}, such as 16384 x 16384)"},
	{"bitmap-header-cut", "the bitmap stream ends within its header"},
	{"not-a-bitmap-stream", "not a bitmap stream"},
	{"bounds-disordered", "the bitmap's bounds are in the wrong order"},
	{"colour-space-not-converted", "only black-and-white, 8-bit indexed and "
		"32-bit RGB bitmaps become Pilot images"},
	{"data-size-disagrees", "the bitmap's data size disagrees with its rows"},
	{"beyond-pilot-fields", "{size} is larger than a Pilot image may be (at "
		"most {side} pixels a side)"},
};

static_assert(sizeof(kReasons) / sizeof(kReasons[0]) == kHeaderCheckCount,
	"words for every reason");

// "20000 x 20000", or words for a size too far out to print.
std::string SizeText(double width, double height)
{
	if (!(fabs(width) < 1e15 && fabs(height) < 1e15)) {
		return "the bitmap's size";
	}
	char text[80];
	snprintf(text, sizeof(text), "%.0f x %.0f", width, height);
	return text;
}

void Replace(std::string &text, const char *placeholder,
	const std::string &value)
{
	const size_t at = text.find(placeholder);
	if (at != std::string::npos) {
		text.replace(at, strlen(placeholder), value);
	}
}

} // namespace

const char *HeaderCheckName(HeaderCheck check)
{
	return (unsigned)check < kHeaderCheckCount ? kReasons[check].name : "?";
}

std::string RefusalText(const PilotRefusal &refusal)
{
	if ((unsigned)refusal.check >= kHeaderCheckCount) {
		return "refused";
	}
	std::string text = kReasons[refusal.check].words;
	Replace(text, "{size}", SizeText(refusal.width, refusal.height));
	Replace(text, "{cap}", std::to_string(PILOT_MAX_PIXELS));
	Replace(text, "{side}", std::to_string(PILOT_MAX_SIDE));
	return text;
}

status_t Concluded(HeaderCheck check, PilotRefusal *refusal, double width,
	double height)
{
	if (refusal != NULL) {
		refusal->check = check;
		refusal->width = width;
		refusal->height = height;
	}
	return StatusOf(check);
}
