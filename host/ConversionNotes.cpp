#include "ConversionNotes.h"

#include <map>

#include "Failure.h"

namespace {

// "12 pictures are ...": what many files' notes of a kind say together.
std::string ManyText(NoteKind kind, size_t count)
{
	const std::string pictures = std::to_string(count) + " pictures ";
	switch (kind) {
		case NoteKind::Padded:
			return pictures + "are padded with white to the handheld's "
				"screen (--fit screen --enlarge scales them up to fit it)";
		case NoteKind::PaddedOneWay:
			return pictures + "are padded with white to the handheld's "
				"screen";
		case NoteKind::FarLarger:
			return pictures + "are far larger than any handheld's screen "
				"(--fit screen scales them down to it)";
		case NoteKind::Scaled:
			return pictures + "are scaled down to the largest size whose "
				"record a handheld loads (--full-size keeps them whole; -v "
				"gives each size)";
		case NoteKind::RecordTooLong:
			return "warning: " + std::to_string(count) + " Pilot images have "
				"records longer than a handheld loads: handhelds will not "
				"load them";
		case NoteKind::Named:
			return std::to_string(count) + " databases are named as "
				"the stored settings say, not after their files (-v gives "
				"each name; --name NAME names them)";
		case NoteKind::Warning:
			break;
	}
	return "";
}

} // namespace

Note NamedNote(const Note &note, const std::string &file)
{
	return Note{note.kind, Failure(file, note.line).Line()};
}

std::vector<std::string> SummariseNotes(const std::vector<Note> &notes)
{
	std::map<NoteKind, std::vector<const Note *>> byKind;
	for (const Note &note : notes) {
		if (note.kind != NoteKind::Warning) {
			byKind[note.kind].push_back(&note);
		}
	}
	std::vector<std::string> lines;
	for (const auto &kind : byKind) {
		lines.push_back(kind.second.size() == 1 ? kind.second[0]->line
			: "quorvel: " + ManyText(kind.first, kind.second.size()));
	}
	return lines;
}
