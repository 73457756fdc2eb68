// What the Pilot image translator reports about a Pilot file in the
// extension message of Identify and Translate (PilotTranslator.h), and how
// quorvel puts it to the user: identify's description, and the warning or
// refusal of convert for a file cut short.
#ifndef QUORVEL_HOST_PILOT_FACTS_H
#define QUORVEL_HOST_PILOT_FACTS_H

#include <string>

#include <Message.h>

struct PilotFacts {
	// The translator described the file: name, depth, packing and size.
	bool described = false;
	std::string name;
	int32 bitsPerPixel = 0;
	bool packed = false;
	int32 width = 0;
	int32 height = 0;
	// The bytes a row takes in the file, as the translator reads it
	// (PILOT_ROW_BYTES_INFO).
	int32 rowBytes = 0;
	// The translator read the file and said how much of it was missing.
	bool checked = false;
	int32 missingRows = 0;
	int32 missingPixels = 0;
	// Those rows are the picture's top ones, as in a BMP stored bottom up;
	// a Pilot image's are its bottom ones.
	bool missingAtTop = false;

	bool CutShort() const { return checked && missingRows > 0; }
};

PilotFacts ReadPilotFacts(const BMessage &extension);

// "160 x 160 pixels, 4-bit grey (sixteen levels), packed, rows of 80
// bytes, database "Beach", complete" (or "cut short: ...").
std::string DescribePilotFacts(const PilotFacts &facts);

// For a file cut short, the warning line of convert naming the file;
// empty for a whole one. With strict, a file cut short throws Failure
// instead, so that nothing is written.
std::string CutShortWarning(const PilotFacts &facts,
	const std::string &fileName, bool strict);

#endif // QUORVEL_HOST_PILOT_FACTS_H
