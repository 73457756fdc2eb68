// quorvel identify: each file's format, as the roster recognises it, with
// the size and depth its translator gives the picture and the
// translator's name. Only headers are read: the translator writes the
// picture's header into a stream that refuses the rows after it, so no
// pixel is decoded. A Pilot image alone is read whole, into a stream that
// keeps nothing, since only the reading tells whether it is cut short.
#include <stdio.h>

#include <memory>
#include <new>

#include "Commands.h"
#include "Conversion.h"
#include "DiscardingIO.h"
#include "Failure.h"
#include "InputFile.h"
#include "PilotFacts.h"

namespace {

// The depth as the file stores it, where its translator says; else the
// stream's colour space.
std::string DepthText(const BMessage &identified, uint32 colors)
{
	const char *depth = NULL;
	if (identified.FindString(kDepthKey, &depth) == B_OK && depth != NULL) {
		return depth;
	}
	return ColorSpaceName(colors);
}

// What the Pilot translator reports of a Pilot image as it reads it.
std::string DescribePilot(TranslatorHost &host, BPositionIO &source,
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
	return DescribePilotFacts(ReadPilotFacts(extension));
}

std::string Describe(TranslatorHost &host, BPositionIO &source)
{
	BMessage identified;
	translator_info info = RecogniseInput(host, source, &identified);
	if (info.type == kPilotImageType) {
		return std::string(info.name) + " (" + info.MIME + "), "
			+ DescribePilot(host, source, info) + "; translator: "
			+ host.TranslatorName(info.translator);
	}
	PictureStream header = PictureStream::HeaderOnly();
	BMessage extension;
	status_t status = ReadPicture(host, source, info, header, &extension);
	std::string translator = host.TranslatorName(info.translator);
	if (!header.HasHeader()) {
		throw Failure(RefusalReason(extension, status,
			translator + " refused it"));
	}
	if (!header.HasSize()) {
		throw Failure("not a readable picture (the bounds in its header are "
			"no whole number of pixels)");
	}
	return std::string(info.name) + " (" + info.MIME + "), "
		+ std::to_string(header.Width()) + " x "
		+ std::to_string(header.Height()) + " pixels, "
		+ DepthText(identified, header.Colors())
		+ "; translator: " + translator;
}

} // namespace

int RunIdentify(const CommandLine &line)
{
	if (line.operands.empty()) {
		return UsageError("identify needs at least one file");
	}
	TranslatorHost host(line.translatorsFolder);
	int status = kExitSuccess;
	for (const std::string &path : line.operands) {
		std::string name = path == "-" ? "standard input" : path;
		try {
			std::unique_ptr<BPositionIO> source = OpenInputFile(path);
			printf("%s: %s\n", name.c_str(), Describe(host, *source).c_str());
		} catch (const Failure &failure) {
			fflush(stdout);
			fprintf(stderr, "%s\n", failure.Named(name).Line().c_str());
			status = kExitFailure;
		} catch (const std::bad_alloc &) {
			fflush(stdout);
			fprintf(stderr, "%s\n", Failure(name, "out of memory").Line()
				.c_str());
			status = kExitFailure;
		}
	}
	return status;
}
