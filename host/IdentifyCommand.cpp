// quorvel identify: each file's format, as the roster recognises it, with
// what its translator says of the file as stored (size, depth, bits a
// sample, colour kind, alpha, interlacing; for a Pilot image its database
// name, depth, packing and rows) and the translator's name; as text or,
// with --json, one JSON object a line. Only headers are read: the translator writes the
// picture's header into a stream that refuses the rows after it, so no
// pixel is decoded. A Pilot image alone is read whole, into a stream that
// keeps nothing, since only the reading tells whether it is cut short.
#include <stdio.h>

#include <memory>
#include <new>
#include <optional>

#include <nlohmann/json.hpp>
#include <StandardImageInfo.h>

#include "Commands.h"
#include "Conversion.h"
#include "DiscardingIO.h"
#include "Failure.h"
#include "InputFile.h"
#include "PilotFacts.h"

namespace {

// What identify tells of a file; what its translator did not say is
// left out.
struct FileFacts {
	std::string format;
	std::string mime;
	std::string translator;
	int64 width = 0;
	int64 height = 0;
	std::string depth;
	int32 bitsPerSample = 0;
	std::string colourKind;
	std::optional<bool> alpha;
	std::optional<bool> interlaced;
	bool pilot = false;
	PilotFacts pilotFacts;
};

// A field from the translator's answers, the later one winning.
template<typename Value, typename Finder>
bool FindFact(const BMessage &first, const BMessage &second, Finder find,
	Value *value)
{
	return find(second, value) == B_OK || find(first, value) == B_OK;
}

void ReadStoredFacts(const BMessage &identified, const BMessage &read,
	FileFacts *facts)
{
	const char *text = NULL;
	if (FindFact(identified, read, [](const BMessage &m, const char **v) {
			return m.FindString(IMAGE_DEPTH_INFO, v); }, &text) && text != NULL) {
		facts->depth = text;
	}
	text = NULL;
	if (FindFact(identified, read, [](const BMessage &m, const char **v) {
			return m.FindString(IMAGE_COLOUR_KIND_INFO, v); }, &text)
		&& text != NULL) {
		facts->colourKind = text;
	}
	FindFact(identified, read, [](const BMessage &m, int32 *v) {
		return m.FindInt32(IMAGE_BITS_PER_SAMPLE_INFO, v); }, &facts->bitsPerSample);
	int32 side = 0;
	if (FindFact(identified, read, [](const BMessage &m, int32 *v) {
			return m.FindInt32(IMAGE_WIDTH_INFO, v); }, &side)) {
		facts->width = side;
	}
	if (FindFact(identified, read, [](const BMessage &m, int32 *v) {
			return m.FindInt32(IMAGE_HEIGHT_INFO, v); }, &side)) {
		facts->height = side;
	}
	bool flag = false;
	if (FindFact(identified, read, [](const BMessage &m, bool *v) {
			return m.FindBool(IMAGE_ALPHA_INFO, v); }, &flag)) {
		facts->alpha = flag;
	}
	if (FindFact(identified, read, [](const BMessage &m, bool *v) {
			return m.FindBool(IMAGE_INTERLACED_INFO, v); }, &flag)) {
		facts->interlaced = flag;
	}
}

// What the Pilot translator reports of a Pilot image as it reads it.
PilotFacts ReadPilot(TranslatorHost &host, BPositionIO &source,
	const translator_info &info)
{
	BMessage extension;
	DiscardingIO picture;
	status_t status = host.Roster().Translate(&source, &info, &extension,
		&picture, B_TRANSLATOR_BITMAP);
	if (status != B_OK) {
		throw Failure(RefusalReason(extension, status,
			host.TranslatorName(info.translator) + " refused it"));
	}
	return ReadPilotFacts(extension);
}

FileFacts Examine(TranslatorHost &host, BPositionIO &source)
{
	BMessage identified;
	translator_info info = RecogniseInput(host, source, &identified);
	FileFacts facts;
	facts.format = info.name;
	facts.mime = info.MIME;
	facts.translator = host.TranslatorName(info.translator);
	if (info.type == PILOT_IMAGE_TYPE) {
		facts.pilot = true;
		facts.pilotFacts = ReadPilot(host, source, info);
		facts.width = facts.pilotFacts.width;
		facts.height = facts.pilotFacts.height;
		return facts;
	}
	PictureStream header = PictureStream::HeaderOnly();
	BMessage extension;
	status_t status = ReadPicture(host, source, info, header, &extension);
	if (!header.HasHeader()) {
		throw Failure(RefusalReason(extension, status,
			facts.translator + " refused it"));
	}
	if (!header.HasSize()) {
		throw Failure("not a readable picture (the bounds in its header are "
			"no whole number of pixels)");
	}
	facts.width = (int64)header.Width();
	facts.height = (int64)header.Height();
	facts.depth = ColorSpaceName(header.Colors());
	ReadStoredFacts(identified, extension, &facts);
	return facts;
}

// "(16 bits a sample, RGBA, alpha, interlaced)", or empty.
std::string StoredDetails(const FileFacts &facts)
{
	std::string details;
	auto add = [&details](const std::string &part) {
		details += (details.empty() ? "" : ", ") + part;
	};
	if (facts.bitsPerSample > 0) {
		add(std::to_string(facts.bitsPerSample) + " bit"
			+ (facts.bitsPerSample == 1 ? "" : "s") + " a sample");
	}
	if (!facts.colourKind.empty()) {
		add(facts.colourKind);
	}
	if (facts.alpha.value_or(false)) {
		add("alpha");
	}
	if (facts.interlaced.value_or(false)) {
		add("interlaced");
	}
	return details.empty() ? "" : " (" + details + ")";
}

std::string DescribeAsText(const FileFacts &facts)
{
	std::string text = facts.format + " (" + facts.mime + "), ";
	if (facts.pilot) {
		text += DescribePilotFacts(facts.pilotFacts);
	} else {
		text += std::to_string(facts.width) + " x "
			+ std::to_string(facts.height) + " pixels, " + facts.depth
			+ StoredDetails(facts);
	}
	return text + "; translator: " + facts.translator;
}

std::string DescribeAsJson(const std::string &name, const FileFacts &facts)
{
	nlohmann::ordered_json object;
	object["file"] = name;
	object["format"] = facts.format;
	object["mime"] = facts.mime;
	object["translator"] = facts.translator;
	object["width"] = facts.width;
	object["height"] = facts.height;
	if (facts.pilot) {
		const PilotFacts &pilot = facts.pilotFacts;
		object["bits_per_pixel"] = pilot.bitsPerPixel;
		object["packed"] = pilot.packed;
		object["database_name"] = pilot.name;
		object["row_bytes"] = PilotRowBytes(pilot);
		if (pilot.checked) {
			object["cut_short"] = pilot.CutShort();
			object["missing_rows"] = pilot.missingRows;
			object["missing_pixels"] = pilot.missingPixels;
		}
	} else {
		object["depth"] = facts.depth;
		if (facts.bitsPerSample > 0) {
			object["bits_per_sample"] = facts.bitsPerSample;
		}
		if (!facts.colourKind.empty()) {
			object["colour_kind"] = facts.colourKind;
		}
		if (facts.alpha) {
			object["alpha"] = *facts.alpha;
		}
		if (facts.interlaced) {
			object["interlaced"] = *facts.interlaced;
		}
	}
	// Names as stored may hold any byte: invalid UTF-8 is replaced, not
	// refused.
	return object.dump(-1, ' ', false,
		nlohmann::json::error_handler_t::replace);
}

} // namespace

int RunIdentify(const CommandLine &line)
{
	if (line.operands.empty()) {
		return UsageError("identify needs at least one file");
	}
	TranslatorHost host(line.translatorsFolder);
	bool allRead = ForEachInputFile(line.operands,
		[&](const std::string &name, BPositionIO &source) {
			FileFacts facts = Examine(host, source);
			if (line.json) {
				printf("%s\n", DescribeAsJson(name, facts).c_str());
			} else {
				printf("%s: %s\n", name.c_str(),
					DescribeAsText(facts).c_str());
			}
		});
	return allRead ? kExitSuccess : kExitFailure;
}
