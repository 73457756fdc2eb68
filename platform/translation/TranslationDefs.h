// Records that describe translators and the formats they handle.
#ifndef _TRANSLATION_DEFS_H
#define _TRANSLATION_DEFS_H

#include <SupportDefs.h>

// 32 bits, as on the platform this add-on is built for. The later kits
// spell it unsigned long, which grows to 64 bits on 64-bit systems and
// moves the fields after it in translator_info; code that keeps an id in
// a translator_id, never in a uint32 or an unsigned long, builds with both.
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
