// quorvel identify: each file's format, as the roster recognises it (or
// quorvel itself for PNG, JPEG and PNM), with its size and depth.
#include <stdio.h>

#include <new>

#include <TranslatorFormats.h>

#include "BitmapStream.h"
#include "Commands.h"
#include "Conversion.h"
#include "DiscardingIO.h"
#include "Failure.h"
#include "InputFile.h"
#include "JpegCodec.h"
#include "PilotFacts.h"
#include "PngCodec.h"
#include "PnmCodec.h"

namespace {

std::string SizeText(const Image &image)
{
	return std::to_string(image.width) + " x " + std::to_string(image.height)
		+ " pixels";
}

// What the translator reports of a Pilot image as it reads it; whether
// the file is whole needs the reading, whose picture is not kept.
std::string DescribePilot(TranslatorHost &host, const ByteVector &bytes)
{
	translator_info info;
	if (!host.Identify(bytes, B_TRANSLATOR_BITMAP, &info)) {
		throw Failure("translator refused it");
	}
	BMessage extension;
	DiscardingIO picture;
	host.Translate(bytes, info, &extension, B_TRANSLATOR_BITMAP, &picture);
	return DescribePilotFacts(ReadPilotFacts(extension));
}

std::string DescribeBitmapStream(const ByteVector &bytes)
{
	Image image = BitmapStreamToImage(bytes);
	TranslatorBitmap header;
	ParseBitmapHeader(bytes, &header);
	return SizeText(image) + ", " + ColorSpaceName(header.colors);
}

std::string Describe(TranslatorHost &host, const ByteVector &bytes)
{
	RecognisedInput input = RecogniseInput(host, bytes);
	std::string format = InputFormatName(input.format);
	if (input.format == InputFormat::Pilot
		|| (input.format == InputFormat::BitmapStream
			&& input.info.type == B_TRANSLATOR_BITMAP)) {
		format = std::string(input.info.name) + " (" + input.info.MIME + ")";
	}
	switch (input.format) {
		case InputFormat::Pilot:
			return format + ", " + DescribePilot(host, bytes);
		case InputFormat::BitmapStream:
			return format + ", " + DescribeBitmapStream(bytes);
		case InputFormat::Png: {
			Image image = DecodePng(bytes);
			return format + ", " + SizeText(image) + ", "
				+ DescribeKind(image.kind);
		}
		case InputFormat::Jpeg: {
			Image image = DecodeJpeg(bytes);
			return format + ", " + SizeText(image) + ", "
				+ DescribeKind(image.kind);
		}
		case InputFormat::Pnm: {
			Image image = DecodePnm(bytes);
			return format + ", " + SizeText(image) + ", "
				+ DescribeKind(image.kind);
		}
	}
	return format;
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
			ByteVector bytes = ReadInputFile(path);
			printf("%s: %s\n", name.c_str(), Describe(host, bytes).c_str());
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
