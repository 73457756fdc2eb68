// The name of a database we write. Palm databases are told apart by name
// on the handheld, so every image needs one: the user's chosen name, else
// the name of the file the picture came from, else a made-up one.
#ifndef QUORVEL_PILOT_NAMING_H
#define QUORVEL_PILOT_NAMING_H

#include <stddef.h>

#include <SupportDefs.h>

#include "PilotDatabase.h"

// The length of a name of length bytes once cut to fit the name field:
// at most 31 bytes, and a cut falls before the UTF-8 character it would
// split, so that a name stays text (a byte that is not UTF-8 is taken as
// one character).
size_t FittingNameLength(const char *text, size_t length);

// Fills the 32-byte name field (zeros after the name), taking the first of:
//  1. databaseName, when it is not empty;
//  2. comment, the note of where the picture came from (the kit's
//     B_TRANSLATOR_EXT_COMMENT), when not NULL: a three-letter extension
//     and its dot are dropped ("beach.jpg" gives "beach", but ".bmp" and
//     "photo.jpeg" stay); an empty comment gives "";
//  3. a generated name, see GenerateDatabaseName.
// The first two are cut to fit (FittingNameLength).
void ChooseDatabaseName(const char *databaseName, const char *comment,
	int32 width, int32 height, char (&name)[PILOT_DB_NAME_SIZE]);

// Eight random capitals and the Pilot size, e.g. "QWERTYUI (160 x 160)".
// Reseeds the C library's process-wide random generator with the current
// second: two names made within one second share their letters, and every
// other user of rand() in the process is reseeded too.
void GenerateDatabaseName(int32 width, int32 height,
	char (&name)[PILOT_DB_NAME_SIZE]);

#endif // QUORVEL_PILOT_NAMING_H
