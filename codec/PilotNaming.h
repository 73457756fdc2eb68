// The name of a database we write. Palm databases are told apart by name
// on the handheld, so every image needs one: the user's chosen name, else
// the name of the file the picture came from, else a made-up one.
#ifndef QUORVEL_PILOT_NAMING_H
#define QUORVEL_PILOT_NAMING_H

#include <Message.h>
#include <SupportDefs.h>

#include "PilotDatabase.h"

// Fills the 32-byte name field (zeros after the name), taking the first of:
//  1. databaseName, when it is not empty (at most 31 characters);
//  2. the kit's comment in extension (B_TRANSLATOR_EXT_COMMENT), its note
//     of where the picture came from, when there is one (extension may be
//     NULL): a three-letter extension and its dot are dropped ("beach.jpg"
//     gives "beach", but ".bmp" and "photo.jpeg" stay), and the rest is cut
//     to 31 characters; an empty comment gives "";
//  3. a generated name, see GenerateDatabaseName.
void ChooseDatabaseName(const char *databaseName, const BMessage *extension,
	int32 width, int32 height, char (&name)[PILOT_DB_NAME_SIZE]);

// Eight random capitals and the Pilot size, e.g. "QWERTYUI (160 x 160)".
// Reseeds the C library's process-wide random generator with the current
// second: two names made within one second share their letters, and every
// other user of rand() in the process is reseeded too.
void GenerateDatabaseName(int32 width, int32 height,
	char (&name)[PILOT_DB_NAME_SIZE]);

#endif // QUORVEL_PILOT_NAMING_H
