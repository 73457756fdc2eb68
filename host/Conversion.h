// One conversion, made the way an application on the platform makes one:
// the roster recognises the input; the input's translator writes the
// picture into a bitmap stream (a bitmap stream file is that picture
// already, and is copied); the translator of the output format writes the
// output from there. Every pair of formats takes this one path, and the
// picture is held once, at the depth its translator gives it.
#ifndef QUORVEL_HOST_CONVERSION_H
#define QUORVEL_HOST_CONVERSION_H

#include <memory>
#include <optional>
#include <vector>
#include <string>

#include <Message.h>

#include "ByteVectorIO.h"
#include "ConversionNotes.h"
#include "PicturePipe.h"
#include "FileFormats.h"
#include "OutputFile.h"
#include "PictureShaping.h"
#include "PictureStream.h"
#include "PixelLimit.h"
#include "TranslatorHost.h"

// The translator's options for this conversion, under the keys of its
// options' table (PilotSettingTable.h); those not given keep the
// translator's stored defaults. And the largest picture converted.
struct ConversionOptions {
	BMessage pilotSettings;
	PixelLimit maxPixels;
	// What the host does to the picture itself (PictureShaping.h).
	PilotDepth depth = PilotDepth::Auto;
	std::optional<FitBox> fit;
	// Keep a Pilot image's full size even when its record is longer than a
	// handheld loads (--full-size); otherwise it is scaled down to fit.
	bool fullSize = false;
};

// The extension message for a conversion to a Pilot image. Without a
// name, the input's file name goes under the kit's comment key, from which
// the translator names the database ("beach.png" becomes "beach").
void BuildExtension(const ConversionOptions &options,
	const std::string &inputPath, BMessage *extension);

// The roster's answer for the input as the source of a bitmap: its
// translator, type, name and MIME type; the translator may add what it
// learnt to extension. Throws Failure "not a recognised image".
translator_info RecogniseInput(TranslatorHost &host, BPositionIO &source,
	BMessage *extension);

// Has the input's translator write its picture into picture, or copies a
// bitmap stream input; the status of that. The translator may leave its
// reason for a failure in extension.
status_t ReadPicture(TranslatorHost &host, BPositionIO &source,
	const translator_info &info, PictureStream &picture,
	BMessage *extension);

// The output file's bytes for the picture (a bitmap stream), from the
// translator that writes the format. Throws Failure, which describes the
// picture as described says ("a 3 x 2 8-bit grey picture"). A picture in
// a pipe is passed on from when its writer is found.
ByteVector WritePicture(TranslatorHost &host, BPositionIO &picture,
	const std::string &described, OutputFormat format, BMessage *extension,
	PicturePipe *pipe = NULL);

// "a 40000 x 1 1-bit black and white picture", for messages: the depth
// as the input's translator named it when it recognised the file, else
// the stream's colour space ("a 40000 x 1 B_GRAY1 picture").
std::string DescribePicture(const PictureStream &picture,
	const BMessage &identified);

// The most pixels the picture of source may have under limit.
PixelAllowance AllowanceForInput(const PixelLimit &limit,
	BPositionIO &source);

// A picture read whole into a bitmap through its translator, for the
// host's own use (showing it). Throws Failure.
std::unique_ptr<BBitmap> ReadBitmap(TranslatorHost &host,
	BPositionIO &source, const PixelLimit &limit);

// The output's bytes for inputPath, and the lines to tell the user
// (a Pilot image cut short, a picture padded or far too large) in notes.
// Throws Failure naming the input.
ByteVector ConvertToBytes(TranslatorHost &host, const std::string &inputPath,
	OutputFormat format, const ConversionOptions &options, bool strict,
	std::vector<Note> *notes);

// Reads inputPath, converts, and writes outputPath only when everything
// succeeded. Throws Failure naming the file concerned. A Pilot image cut
// short is converted, its missing part white, and its warning returned
// with any other notes, each naming the input; with strict it is refused.
std::vector<Note> ConvertFile(TranslatorHost &host,
	const std::string &inputPath, const std::string &outputPath,
	OutputFormat format, const ConversionOptions &options,
	ExistingOutput existing = ExistingOutput::Replace, bool strict = false);

#endif // QUORVEL_HOST_CONVERSION_H
