// One conversion, from the bytes of an input file to the bytes of the
// output file, and the file-level step around it.
//
// Every input is first recognised by its content: the roster answers for
// Pilot images and bitmap streams, quorvel itself for PNG, JPEG and PNM.
// Pictures going to a Pilot image reach the translator as a bitmap stream
// (B_GRAY1 for black-and-white pictures, B_RGB32 otherwise; a bitmap
// stream input as it is); Pilot images coming back are the translator's
// bitmap stream, written as it is or as PNG or PNM.
#ifndef QUORVEL_HOST_CONVERSION_H
#define QUORVEL_HOST_CONVERSION_H

#include <optional>
#include <string>

#include "FileFormats.h"
#include "Image.h"
#include "OutputFile.h"
#include "PilotFacts.h"
#include "TranslatorHost.h"

// The translator's options for this conversion; those not given keep the
// translator's stored defaults.
struct ConversionOptions {
	std::optional<std::string> name;
	std::optional<bool> compression;
	std::optional<bool> dithering;
	std::optional<bool> highContrast;
};

// The extension message for a conversion to a Pilot image. Without a
// name, the input's file name goes under the kit's comment key, from which
// the translator names the database ("beach.png" becomes "beach").
void BuildExtension(const ConversionOptions &options,
	const std::string &inputPath, BMessage *extension);

struct RecognisedInput {
	InputFormat format;
	// The roster's answer, for Pilot images and bitmap streams it takes.
	translator_info info;
};

// Throws Failure "not a recognised image" for anything else.
RecognisedInput RecogniseInput(TranslatorHost &host, const ByteVector &bytes);

// The bytes of the output file; throws Failure (naming no file). For a
// Pilot image input, what the translator reported of it goes to facts.
ByteVector ConvertBytes(TranslatorHost &host, const ByteVector &input,
	const std::string &inputPath, OutputFormat format,
	const ConversionOptions &options, PilotFacts *facts);

// Reads inputPath, converts, and writes outputPath only when everything
// succeeded. Throws Failure naming the file concerned. A Pilot image cut
// short is converted, its missing part white, and its warning line
// returned (empty for every other file); with strict it is refused.
std::string ConvertFile(TranslatorHost &host, const std::string &inputPath,
	const std::string &outputPath, OutputFormat format,
	const ConversionOptions &options,
	ExistingOutput existing = ExistingOutput::Replace, bool strict = false);

#endif // QUORVEL_HOST_CONVERSION_H
