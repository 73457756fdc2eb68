// Records that describe translators and the formats they handle.
#ifndef _TRANSLATION_DEFS_H
#define _TRANSLATION_DEFS_H

#include <SupportDefs.h>

typedef uint32 translator_id;

struct translation_format {
	uint32 type;        // the format's four-character code
	uint32 group;       // the group of formats it belongs to
	float quality;      // how well the translator keeps this format's data
	float capability;   // how much of the format it understands
	char MIME[251];
	char name[251];
};

struct translator_info {
	uint32 type;
	translator_id translator;
	uint32 group;
	float quality;
	float capability;
	char name[251];
	char MIME[251];
};

#endif // _TRANSLATION_DEFS_H
