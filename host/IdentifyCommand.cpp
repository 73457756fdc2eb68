// quorvel identify: each file's format, as the roster recognises it, with
// what its translator says of the file as stored (size, bits a pixel and a
// sample, colour kind, alpha, interlacing; for a Pilot image its database
// name, packing and rows) and the translator's name; as text or, with
// --json, one JSON object a line, of the same keys for every format. Only
// headers are read: what the translator says on recognising the file, or
// else the picture's header it writes into a stream that refuses the rows
// after it, so no pixel is decoded. A Pilot image alone is read whole, into a stream that
// keeps nothing, since only the reading tells whether it is cut short.
#include <stdio.h>

#include <memory>
#include <new>
#include <optional>
#include <vector>

#include <nlohmann/json.hpp>
#include <StandardImageInfo.h>

#include "Commands.h"
#include "Conversion.h"
#include "DiscardingIO.h"
#include "Failure.h"
#include "InputFile.h"
#include "PilotFacts.h"

namespace {

// What identify tells of a file, as stored; what its translator did not
// say is left empty (and null in JSON).
struct FileFacts {
	std::string format;
	std::string mime;
	std::string translator;
	int64 width = 0;
	int64 height = 0;
	std::optional<int32> bitsPerPixel;
	std::optional<int32> bitsPerSample;
	std::string colourKind;
	// What the picture becomes (IMAGE_DEPTH_INFO): tells a palette of
	// greys from one of colours.
	std::string becomes;
	std::optional<bool> alpha;
	std::optional<bool> interlaced;
	// The bitmap stream's colour space, for a file whose translator says
	// nothing of it as stored (a bitmap stream itself).
	std::string colourSpace;
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

std::string FindText(const BMessage &identified, const BMessage &read,
	const char *name)
{
	const char *text = NULL;
	if (FindFact(identified, read, [name](const BMessage &m, const char **v) {
			return m.FindString(name, v); }, &text) && text != NULL) {
		return text;
	}
	return "";
}

status_t FindValue(const BMessage &message, const char *name, int32 *value)
{
	return message.FindInt32(name, value);
}

status_t FindValue(const BMessage &message, const char *name, bool *value)
{
	return message.FindBool(name, value);
}

template<typename Value>
std::optional<Value> FindNumber(const BMessage &identified,
	const BMessage &read, const char *name)
{
	Value value;
	if (FindFact(identified, read, [name](const BMessage &m, Value *v) {
			return FindValue(m, name, v); }, &value)) {
		return value;
	}
	return std::nullopt;
}

void ReadStoredFacts(const BMessage &identified, const BMessage &read,
	FileFacts *facts)
{
	facts->becomes = FindText(identified, read, IMAGE_DEPTH_INFO);
	facts->colourKind = FindText(identified, read, IMAGE_COLOUR_KIND_INFO);
	facts->bitsPerPixel = FindNumber<int32>(identified, read,
		IMAGE_BITS_PER_PIXEL_INFO);
	facts->bitsPerSample = FindNumber<int32>(identified, read,
		IMAGE_BITS_PER_SAMPLE_INFO);
	std::optional<int32> side = FindNumber<int32>(identified, read,
		IMAGE_WIDTH_INFO);
	if (side) {
		facts->width = *side;
	}
	side = FindNumber<int32>(identified, read, IMAGE_HEIGHT_INFO);
	if (side) {
		facts->height = *side;
	}
	facts->alpha = FindNumber<bool>(identified, read, IMAGE_ALPHA_INFO);
	facts->interlaced = FindNumber<bool>(identified, read,
		IMAGE_INTERLACED_INFO);
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

// Whether the translator said, on recognising the file from its headers,
// all that identify tells: then nothing is decoded, for a progressive JPEG
// or an interlaced PNG yields its first row only once all of it is.
bool DescribedOnRecognising(const BMessage &identified)
{
	int32 value = 0;
	return identified.FindInt32(IMAGE_WIDTH_INFO, &value) == B_OK
		&& value > 0 && identified.FindInt32(IMAGE_HEIGHT_INFO, &value) == B_OK
		&& value > 0
		&& identified.FindInt32(IMAGE_BITS_PER_PIXEL_INFO, &value) == B_OK;
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
		const PilotFacts &pilot = facts.pilotFacts;
		facts.width = pilot.width;
		facts.height = pilot.height;
		if (pilot.described) {
			// One grey level a pixel, never transparent or interlaced.
			facts.bitsPerPixel = facts.bitsPerSample = pilot.bitsPerPixel;
			facts.colourKind = IMAGE_KIND_GREY;
			facts.alpha = facts.interlaced = false;
		}
		return facts;
	}
	if (DescribedOnRecognising(identified)) {
		ReadStoredFacts(identified, identified, &facts);
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
	facts.colourSpace = ColorSpaceName(header.Colors());
	ReadStoredFacts(identified, extension, &facts);
	return facts;
}

std::string Plural(int32 count, const char *unit)
{
	return std::to_string(count) + " " + unit + (count == 1 ? "" : "s");
}

// What a stored pixel is, in words: "grey", "palette of colours" ...
std::string ColourWords(const FileFacts &facts)
{
	const std::string &kind = facts.colourKind;
	if (kind == IMAGE_KIND_GREY) {
		return facts.bitsPerPixel == 1 ? "black and white" : "grey";
	}
	if (kind == IMAGE_KIND_GREY_ALPHA) {
		return "grey with alpha";
	}
	if (kind == IMAGE_KIND_PALETTE) {
		return facts.becomes == IMAGE_DEPTH_COLOUR ? "palette of colours"
			: "palette of greys";
	}
	if (kind == IMAGE_KIND_RGBA) {
		return "colour with alpha";
	}
	return "colour";
}

// "48-bit colour (RGB, 16 bits a sample, interlaced)": the depth as
// stored, then the samples that make it up when a pixel has more than
// one. Without the translator's word on the file as stored, the bitmap
// stream's colour space.
std::string StoredDepth(const FileFacts &facts)
{
	if (!facts.bitsPerPixel) {
		return facts.colourSpace;
	}
	std::string text = std::to_string(*facts.bitsPerPixel) + "-bit "
		+ ColourWords(facts);
	std::vector<std::string> details;
	if (facts.bitsPerSample && *facts.bitsPerSample != *facts.bitsPerPixel) {
		details.push_back(facts.colourKind + ", "
			+ Plural(*facts.bitsPerSample, "bit") + " a sample");
	}
	// A transparent colour or palette entry; an alpha channel is said in
	// the words above.
	bool alphaChannel = facts.colourKind == IMAGE_KIND_GREY_ALPHA
		|| facts.colourKind == IMAGE_KIND_RGBA;
	if (facts.alpha.value_or(false) && !alphaChannel) {
		details.push_back("transparency");
	}
	if (facts.interlaced.value_or(false)) {
		details.push_back("interlaced");
	}
	std::string joined;
	for (const std::string &detail : details) {
		joined += (joined.empty() ? "" : ", ") + detail;
	}
	return joined.empty() ? text : text + " (" + joined + ")";
}

std::string DescribeAsText(const FileFacts &facts)
{
	std::string text = facts.format + " (" + facts.mime + "), ";
	if (facts.pilot) {
		text += DescribePilotFacts(facts.pilotFacts);
	} else {
		text += std::to_string(facts.width) + " x "
			+ std::to_string(facts.height) + " pixels, " + StoredDepth(facts);
	}
	return text + "; translator: " + facts.translator;
}

// The value when it is known, else null.
template<typename Value>
nlohmann::ordered_json When(bool known, const Value &value)
{
	return known ? nlohmann::ordered_json(value) : nlohmann::ordered_json();
}

template<typename Value>
nlohmann::ordered_json When(const std::optional<Value> &value)
{
	return When(value.has_value(), value.value_or(Value()));
}

// One schema for every format (the manual lists it): every key is always
// there, null where the format has no such fact or its translator did not
// say.
std::string DescribeAsJson(const std::string &name, const FileFacts &facts)
{
	nlohmann::ordered_json object;
	object["file"] = name;
	object["format"] = facts.format;
	object["mime"] = facts.mime;
	object["translator"] = facts.translator;
	object["width"] = facts.width;
	object["height"] = facts.height;
	object["bits_per_pixel"] = When(facts.bitsPerPixel);
	object["bits_per_sample"] = When(facts.bitsPerSample);
	object["colour_kind"] = When(!facts.colourKind.empty(), facts.colourKind);
	object["alpha"] = When(facts.alpha);
	object["interlaced"] = When(facts.interlaced);
	// What only a Pilot image has.
	const PilotFacts &pilot = facts.pilotFacts;
	const bool described = facts.pilot && pilot.described;
	const bool checked = facts.pilot && pilot.checked;
	object["packed"] = When(described, pilot.packed);
	object["database_name"] = When(described, pilot.name);
	object["row_bytes"] = When(described, pilot.rowBytes);
	object["cut_short"] = When(checked, pilot.CutShort());
	object["missing_rows"] = When(checked, pilot.missingRows);
	object["missing_pixels"] = When(checked, pilot.missingPixels);
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
