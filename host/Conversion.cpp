#include "Conversion.h"

#include <utility>

#include <TranslatorFormats.h>

#include "BitmapStream.h"
#include "Failure.h"
#include "InputFile.h"
#include "JpegCodec.h"
#include "OutputFile.h"
#include "PilotLimits.h"
#include "PngCodec.h"
#include "PnmCodec.h"

namespace {

// The keys of the translator's options in an extension message.
const char *kNameKey = "database_name";
const char *kCompressionKey = "compression";
const char *kDitheringKey = "dithering";
const char *kHighContrastKey = "high_contrast";

bool IsRaster(InputFormat format)
{
	return format == InputFormat::Png || format == InputFormat::Jpeg
		|| format == InputFormat::Pnm;
}

Image DecodeRaster(InputFormat format, const ByteVector &bytes)
{
	switch (format) {
		case InputFormat::Png:
			return DecodePng(bytes);
		case InputFormat::Jpeg:
			return DecodeJpeg(bytes);
		default:
			return DecodePnm(bytes);
	}
}

// The input as the kit's bitmap stream; for a Pilot image, what the
// translator reports of it goes to facts.
ByteVector BitmapStreamOf(TranslatorHost &host, const ByteVector &bytes,
	const RecognisedInput &input, PilotFacts *facts)
{
	if (input.format == InputFormat::BitmapStream) {
		return bytes;
	}
	if (input.format == InputFormat::Pilot) {
		translator_info info;
		if (!host.Identify(bytes, B_TRANSLATOR_BITMAP, &info)) {
			throw Failure("translator refused it (no translator reads this "
				"Pilot image into a bitmap)");
		}
		BMessage extension;
		ByteVector stream = host.Translate(bytes, info, &extension,
			B_TRANSLATOR_BITMAP);
		if (facts != NULL) {
			*facts = ReadPilotFacts(extension);
		}
		return stream;
	}
	Image image = DecodeRaster(input.format, bytes);
	return ImageToBitmapStream(image);
}

// Why no translator takes a bitmap stream to make a Pilot image.
[[noreturn]] void RefuseBitmapStream(const ByteVector &stream)
{
	TranslatorBitmap header;
	if (ParseBitmapHeader(stream, &header)
		&& header.magic == B_TRANSLATOR_BITMAP && header.colors != B_GRAY1
		&& header.colors != B_CMAP8 && header.colors != B_RGB32) {
		throw Failure("unsupported depth: " + ColorSpaceName(header.colors)
			+ " bitmap stream (Pilot images are made from B_GRAY1, B_CMAP8 "
			"or B_RGB32)");
	}
	throw Failure("translator refused it (a damaged or inconsistent "
		"bitmap stream)");
}

// A stream's picture, when its header gives a plain size, must fit a
// Pilot image; the translator would refuse it without saying why.
void CheckStreamFitsPilot(const ByteVector &stream)
{
	TranslatorBitmap header;
	uint64 width;
	uint64 height;
	if (ParseBitmapHeader(stream, &header)
		&& BoundsSize(header.bounds, &width, &height)) {
		CheckPilotSize(width, height, header.colors == B_GRAY1);
	}
}

ByteVector ToPilotImage(TranslatorHost &host, const ByteVector &bytes,
	const RecognisedInput &input, const std::string &inputPath,
	const ConversionOptions &options, PilotFacts *facts)
{
	ByteVector stream;
	if (IsRaster(input.format)) {
		Image image = DecodeRaster(input.format, bytes);
		CheckPilotSize(image.width, image.height,
			image.kind == PixelKind::Mono);
		stream = ImageToBitmapStream(image);
	} else {
		stream = BitmapStreamOf(host, bytes, input, facts);
		CheckStreamFitsPilot(stream);
	}
	translator_info info;
	if (!host.Identify(stream, kPilotImageType, &info)
		|| info.type != B_TRANSLATOR_BITMAP) {
		RefuseBitmapStream(stream);
	}
	BMessage extension;
	BuildExtension(options, inputPath, &extension);
	return host.Translate(stream, info, &extension, kPilotImageType);
}

// The picture in the kind the output format asks for.
Image FitForOutput(Image image, OutputFormat format)
{
	switch (format) {
		case OutputFormat::Pbm:
			if (image.kind != PixelKind::Mono) {
				throw Failure(std::string("unsupported depth: a ")
					+ DescribeKind(image.kind) + " picture cannot be "
					"written as PBM (use .pgm, .pnm or .png)");
			}
			return image;
		case OutputFormat::Pgm:
			if (image.kind == PixelKind::Rgb) {
				throw Failure("unsupported depth: a colour picture cannot "
					"be written as PGM (use .ppm, .pnm or .png)");
			}
			return Widen(std::move(image), PixelKind::Grey);
		case OutputFormat::Ppm:
			return Widen(std::move(image), PixelKind::Rgb);
		default:
			return image;
	}
}

} // namespace

void BuildExtension(const ConversionOptions &options,
	const std::string &inputPath, BMessage *extension)
{
	if (options.name) {
		extension->AddString(kNameKey, options.name->c_str());
	} else if (inputPath != "-") {
		extension->AddString(B_TRANSLATOR_EXT_COMMENT,
			BaseName(inputPath).c_str());
	}
	if (options.compression) {
		extension->AddBool(kCompressionKey, *options.compression);
	}
	if (options.dithering) {
		extension->AddBool(kDitheringKey, *options.dithering);
	}
	if (options.highContrast) {
		extension->AddBool(kHighContrastKey, *options.highContrast);
	}
}

RecognisedInput RecogniseInput(TranslatorHost &host, const ByteVector &bytes)
{
	RecognisedInput input;
	if (host.Identify(bytes, 0, &input.info)) {
		if (input.info.type == kPilotImageType) {
			input.format = InputFormat::Pilot;
			return input;
		}
		if (input.info.type == B_TRANSLATOR_BITMAP) {
			input.format = InputFormat::BitmapStream;
			return input;
		}
	}
	if (LooksLikeBitmapStream(bytes)) {
		input.format = InputFormat::BitmapStream;
	} else if (LooksLikePng(bytes)) {
		input.format = InputFormat::Png;
	} else if (LooksLikeJpeg(bytes)) {
		input.format = InputFormat::Jpeg;
	} else if (LooksLikePnm(bytes)) {
		input.format = InputFormat::Pnm;
	} else if (bytes.empty()) {
		throw Failure("not a recognised image (the file is empty)");
	} else {
		throw Failure("not a recognised image (not a Pilot image, bitmap "
			"stream, PNG, JPEG or PNM)");
	}
	return input;
}

ByteVector ConvertBytes(TranslatorHost &host, const ByteVector &bytes,
	const std::string &inputPath, OutputFormat format,
	const ConversionOptions &options, PilotFacts *facts)
{
	RecognisedInput input = RecogniseInput(host, bytes);
	if (format == OutputFormat::Pilot) {
		return ToPilotImage(host, bytes, input, inputPath, options, facts);
	}
	if (format == OutputFormat::BitmapStream) {
		return BitmapStreamOf(host, bytes, input, facts);
	}
	Image image = IsRaster(input.format) ? DecodeRaster(input.format, bytes)
		: BitmapStreamToImage(BitmapStreamOf(host, bytes, input, facts));
	image = FitForOutput(std::move(image), format);
	if (format == OutputFormat::Png) {
		return EncodePng(image);
	}
	return EncodePnm(image);
}

std::string ConvertFile(TranslatorHost &host, const std::string &inputPath,
	const std::string &outputPath, OutputFormat format,
	const ConversionOptions &options, ExistingOutput existing, bool strict)
{
	std::string inputName = inputPath == "-" ? "standard input" : inputPath;
	ByteVector output;
	std::string warning;
	try {
		ByteVector input = ReadInputFile(inputPath);
		PilotFacts facts;
		output = ConvertBytes(host, input, inputPath, format, options,
			&facts);
		warning = CutShortWarning(facts, inputName, strict);
	} catch (const Failure &failure) {
		throw failure.Named(inputName);
	} catch (const std::bad_alloc &) {
		throw Failure(inputName, "out of memory");
	}
	WriteOutputFile(outputPath, output, existing);
	return warning;
}
