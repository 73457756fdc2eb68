#include "PilotNaming.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>

#include <TranslatorFormats.h>

namespace {

const size_t kLongestName = PILOT_DB_NAME_SIZE - 1;
const size_t kGeneratedLetters = 8;

// The comment's length once a three-character file-name extension and its
// dot are dropped; at least one character must stay before the dot.
size_t LengthWithoutExtension(const char *comment)
{
	const size_t length = strlen(comment);
	if (length >= 5 && comment[length - 4] == '.') {
		return length - 4;
	}
	return length;
}

void CopyName(const char *text, size_t length, char (&name)[PILOT_DB_NAME_SIZE])
{
	if (length > kLongestName) {
		length = kLongestName;
	}
	memcpy(name, text, length);
}

} // namespace

void ChooseDatabaseName(const char *databaseName, const BMessage *extension,
	int32 width, int32 height, char (&name)[PILOT_DB_NAME_SIZE])
{
	memset(name, 0, sizeof(name));
	const char *comment;
	if (databaseName != NULL && databaseName[0] != '\0') {
		CopyName(databaseName, strnlen(databaseName, kLongestName), name);
	} else if (extension != NULL && extension->FindString(
			B_TRANSLATOR_EXT_COMMENT, &comment) == B_OK) {
		CopyName(comment, LengthWithoutExtension(comment), name);
	} else {
		GenerateDatabaseName(width, height, name);
	}
}

void GenerateDatabaseName(int32 width, int32 height,
	char (&name)[PILOT_DB_NAME_SIZE])
{
	memset(name, 0, sizeof(name));
	// Process-wide state: this reseeds rand() for the whole process.
	srand((unsigned int)time(NULL));
	for (size_t i = 0; i < kGeneratedLetters; i++) {
		name[i] = (char)('A' + rand() % 26);
	}
	// At most " (32767 x 32767)": 16 characters after the 8 letters.
	snprintf(name + kGeneratedLetters, sizeof(name) - kGeneratedLetters,
		" (%d x %d)", (int)width, (int)height);
}
