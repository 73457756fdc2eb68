#include "HeaderCheck.h"

static const char *const kNames[] = {
	"accepted",
	"database-header-cut", "no-records", "not-an-image-database",
	"record-entry-cut", "record-unreachable", "image-header-cut",
	"tealpaint-record-cut", "pixels-unreachable", "names-differ",
	"picture-empty", "picture-beyond-cap",
	"bitmap-header-cut", "not-a-bitmap-stream", "bounds-disordered",
	"colour-space-not-converted", "data-size-disagrees",
	"beyond-pilot-fields",
};

static_assert(sizeof(kNames) / sizeof(kNames[0]) == kHeaderCheckCount,
	"one name for every reason");

const char *HeaderCheckName(HeaderCheck check)
{
	return (unsigned)check < kHeaderCheckCount ? kNames[check] : "?";
}
