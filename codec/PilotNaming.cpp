#include "PilotNaming.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>

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

// UTF-8: 10xxxxxx continues a character that a byte 11xxxxxx began.
bool IsContinuationByte(char byte)
{
	return ((uint8)byte & 0xC0) == 0x80;
}

bool IsLeadByte(char byte)
{
	return ((uint8)byte & 0xC0) == 0xC0;
}

} // namespace

size_t FittingNameLength(const char *text, size_t length)
{
	if (length <= kLongestName) {
		return length;
	}
	// The byte after the kept ones continues a character when that
	// character began at most three bytes before it (four bytes at most).
	size_t cut = kLongestName;
	while (cut > kLongestName - 3 && IsContinuationByte(text[cut])) {
		cut--;
	}
	return cut < kLongestName && IsLeadByte(text[cut]) ? cut : kLongestName;
}

void ChooseDatabaseName(const char *databaseName, const char *comment,
	int32 width, int32 height, char (&name)[PILOT_DB_NAME_SIZE])
{
	memset(name, 0, sizeof(name));
	if (databaseName != NULL && databaseName[0] != '\0') {
		memcpy(name, databaseName, FittingNameLength(databaseName,
			strnlen(databaseName, sizeof(name))));
	} else if (comment != NULL) {
		memcpy(name, comment, FittingNameLength(comment,
			LengthWithoutExtension(comment)));
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
