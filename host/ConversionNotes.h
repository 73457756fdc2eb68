// What a conversion tells the user beside its output, one line each, and
// how a batch says them once: a file's warning as it happens, and the
// notes many files share (pictures padded, scaled for a handheld, named by
// the stored name ...) as one line at the end.
#ifndef QUORVEL_HOST_CONVERSION_NOTES_H
#define QUORVEL_HOST_CONVERSION_NOTES_H

#include <string>
#include <vector>

enum class NoteKind {
	// Said file by file, always: a Pilot image cut short.
	Warning,
	// Smaller than the handheld's screen both ways, and padded with white
	// to it; or only one way, so that fitting would not spare the padding.
	Padded,
	PaddedOneWay,
	// Far larger than any handheld's screen.
	FarLarger,
	// Scaled down so that a handheld loads its record.
	Scaled,
	// Kept at its full size, its record longer than a handheld loads.
	RecordTooLong,
	// A database name that did not come from the file's own name.
	Named,
};

struct Note {
	NoteKind kind;
	// Without "quorvel: FILE: " until the conversion names its file.
	std::string line;
};

// The note about file, as a line for standard error.
Note NamedNote(const Note &note, const std::string &file);

// What a batch prints at its end for the notes its files gave, other than
// warnings: a kind that one file gave, that file's line; a kind that
// several gave, one line for them all.
std::vector<std::string> SummariseNotes(const std::vector<Note> &notes);

#endif // QUORVEL_HOST_CONVERSION_NOTES_H
