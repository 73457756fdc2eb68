#include "Conversion.h"

#include <string.h>

#include <algorithm>
#include <memory>
#include <new>
#include <system_error>
#include <thread>

#include <Bitmap.h>
#include <PilotSettingTable.h>
#include <TranslatorFormats.h>

#include "Failure.h"
#include "HandheldRecord.h"
#include "InputFile.h"
#include "PicturePipe.h"
#include "PilotFacts.h"
#include "PixelRows.h"

namespace {

// Blocks in which a bitmap stream file is copied.
const size_t kCopyBlock = (size_t)1 << 20;

const size_t kHeaderSize = sizeof(TranslatorBitmap);

status_t WriteStatus(ssize_t written, size_t size)
{
	if (written == (ssize_t)size) {
		return B_OK;
	}
	return written < 0 ? (status_t)written : B_ERROR;
}

// A bitmap stream file is the picture already: its header, then as much
// of its rows as the header's dataSize calls for. A file cut short gives
// a picture cut at the same place; bytes after the rows are not part of
// it.
status_t CopyBitmapStream(BPositionIO &source, PictureStream &picture)
{
	uint8 header[kHeaderSize];
	if (source.ReadAt(0, header, kHeaderSize) != (ssize_t)kHeaderSize) {
		return B_NO_TRANSLATOR;
	}
	status_t status = WriteStatus(picture.WriteAt(0, header, kHeaderSize),
		kHeaderSize);
	if (status != B_OK || picture.IsHeaderOnly()) {
		return status;
	}
	uint64 remaining = picture.DataSize();
	std::unique_ptr<uint8[]> block(
		new uint8[std::min<uint64>(remaining, kCopyBlock) + 1]);
	off_t at = kHeaderSize;
	while (remaining > 0) {
		size_t want = (size_t)std::min<uint64>(remaining, kCopyBlock);
		ssize_t count = source.ReadAt(at, block.get(), want);
		if (count <= 0) {
			break;
		}
		status = WriteStatus(picture.WriteAt(at, block.get(), count), count);
		if (status != B_OK) {
			return status;
		}
		at += count;
		remaining -= (uint64)count;
	}
	return B_OK;
}

// The picture's bytes as a bitmap stream file.
ByteVector StreamBytes(BPositionIO &picture)
{
	off_t size = 0;
	picture.GetSize(&size);
	ByteVector bytes((size_t)size);
	ssize_t count = picture.ReadAt(0, bytes.data(), bytes.size());
	bytes.resize(count > 0 ? (size_t)count : 0);
	return bytes;
}

bool IsGrey(const BMessage &extension)
{
	const char *depth = NULL;
	return extension.FindString(IMAGE_DEPTH_INFO, &depth) == B_OK && depth != NULL
		&& strcmp(depth, IMAGE_DEPTH_GREY) == 0;
}

// Whether every byte of the picture's rows came: the writer refuses a
// picture that ends early, and a bitmap of it would not say so.
bool IsWhole(PictureStream &picture)
{
	off_t size = 0;
	return picture.GetSize(&size) == B_OK
		&& size >= (off_t)kHeaderSize + (off_t)picture.DataSize();
}

// The Pilot translator's stored settings; empty when there is no Pilot
// translator.
BMessage StoredSettings(TranslatorHost &host)
{
	BMessage settings;
	try {
		host.Roster().GetConfigurationMessage(host.PilotTranslator(),
			&settings);
	} catch (const Failure &) {
		// No Pilot translator: no settings.
	}
	return settings;
}

// Without --dither or --no-dither, the Pilot translator's stored default,
// so that PBM's black and white follows the same setting as the Pilot
// image's greys.
bool Dithering(TranslatorHost &host, const ConversionOptions &options)
{
	bool given;
	if (options.pilotSettings.FindBool(PILOT_DITHER_SETTING, &given) == B_OK) {
		return given;
	}
	bool stored = true;
	StoredSettings(host).FindBool(PILOT_DITHER_SETTING, &stored);
	return stored;
}

// A line saying which name the database got, when it did not come from
// the input's own name: the stored name, or one made up for standard
// input.
void NoteName(TranslatorHost &host, const ConversionOptions &options,
	const std::string &inputPath, const WrittenPilot &written,
	std::vector<Note> *notes)
{
	if (options.pilotSettings.HasString(PILOT_DB_NAME_SETTING)
		|| !written.described) {
		return;
	}
	const char *stored = NULL;
	std::string whence;
	if (StoredSettings(host).FindString(PILOT_DB_NAME_SETTING, &stored)
			== B_OK && stored != NULL && stored[0] != '\0') {
		whence = "the stored name";
	} else if (inputPath == "-") {
		whence = "made up for standard input";
	} else {
		return;
	}
	notes->push_back({NoteKind::Named, "the database is named \""
		+ written.name + "\", " + whence + " (--name NAME names it)"});
}

// Throws the reason the input's translator could not write the picture
// into picture (status, and what it said in readExtension), if it could
// not.
void CheckReading(TranslatorHost &host, const translator_info &info,
	const PictureStream &picture, status_t status,
	const BMessage &readExtension, const PixelAllowance &allowance)
{
	if (picture.OverLimit()) {
		throw Failure(DescribeOverLimit(picture.Width(), picture.Height(),
			allowance));
	}
	if (picture.HeaderRefusal() == B_NO_MEMORY) {
		throw std::bad_alloc();
	}
	if (picture.HeaderRefusal() != B_OK) {
		throw Failure(std::string(info.type == B_TRANSLATOR_BITMAP
			? "not a readable bitmap stream" : host.TranslatorName(
				info.translator) + " refused it")
			+ " (its bitmap header describes no picture a bitmap can hold)");
	}
	if (status != B_OK) {
		throw Failure(RefusalReason(readExtension, status,
			host.TranslatorName(info.translator) + " refused it"));
	}
}

// What the input's translator said of the file as it read it: a Pilot
// image's facts, or, told the same way, what a standard translator could
// not give of a file whose data ends before its picture does.
PilotFacts ReadFacts(const BMessage &readExtension)
{
	PilotFacts facts = ReadPilotFacts(readExtension);
	int32 rows = 0;
	int32 pixels = 0;
	if (!facts.checked
		&& readExtension.FindInt32(IMAGE_MISSING_ROWS_INFO, &rows) == B_OK
		&& readExtension.FindInt32(IMAGE_MISSING_PIXELS_INFO, &pixels) == B_OK
		&& readExtension.FindInt32(IMAGE_WIDTH_INFO, &facts.width) == B_OK
		&& readExtension.FindInt32(IMAGE_HEIGHT_INFO, &facts.height) == B_OK) {
		facts.checked = true;
		facts.missingRows = rows;
		facts.missingPixels = pixels;
		readExtension.FindBool(IMAGE_MISSING_AT_TOP_INFO, &facts.missingAtTop);
	}
	return facts;
}

// Reads the input into picture, with what its translator said of it on
// recognising it (identified) and of a Pilot image as it read it (facts).
void ReadInput(TranslatorHost &host, BPositionIO &source,
	const translator_info &info, PictureStream &picture,
	const PixelAllowance &allowance, PilotFacts *facts)
{
	BMessage readExtension;
	status_t status = ReadPicture(host, source, info, picture,
		&readExtension);
	CheckReading(host, info, picture, status, readExtension, allowance);
	*facts = ReadFacts(readExtension);
}

// Whether the picture is to pass from the input's translator to the Pilot
// translator as it is made (PicturePipe.h): the Pilot translator reads
// the stream once, front to back, and nothing of the host's own needs the
// whole picture (no fitting, the depth left to the picture). A bitmap
// stream input is copied as it is, and a Pilot image input keeps the path
// that reports a file cut short. The size is what the translator said on
// recognising the file.
bool PassesThroughPipe(OutputFormat format, const ConversionOptions &options,
	const translator_info &info, const BMessage &identified)
{
	int32 width = 0;
	int32 height = 0;
	if (identified.FindInt32(IMAGE_WIDTH_INFO, &width) != B_OK
		|| identified.FindInt32(IMAGE_HEIGHT_INFO, &height) != B_OK
		|| width <= 0 || height <= 0) {
		return false;
	}
	return format == OutputFormat::Pilot && options.fullSize && !options.fit
		&& info.type != B_TRANSLATOR_BITMAP
		&& info.type != PILOT_IMAGE_TYPE
		&& PicturePipe::Pays((uint64)width * (uint64)height);
}

// The Pilot image into bytes, the input's translator writing the picture
// from a thread of its own while the Pilot translator reads it; false,
// with the input untouched, when no thread can be started. Throws what the
// bitmap path throws, the reading translator's failure first.
bool ConvertPassing(TranslatorHost &host, BPositionIO &source,
	const translator_info &info, const BMessage &identified,
	BMessage *writeExtension, const PixelAllowance &allowance,
	PilotFacts *facts, std::vector<Note> *notes, ByteVector *bytes)
{
	PicturePipe pipe(allowance.pixels);
	BMessage readExtension;
	status_t readStatus = B_ERROR;
	std::thread reader;
	try {
		reader = std::thread([&] {
			try {
				readStatus = host.Roster().Translate(&source, &info,
					&readExtension, &pipe, B_TRANSLATOR_BITMAP);
			} catch (...) {
				readStatus = B_NO_MEMORY;
			}
			pipe.Finish();
		});
	} catch (const std::system_error &) {
		return false;
	}
	try {
		if (!pipe.WaitForHeader()) {
			reader.join();
			CheckReading(host, info, pipe.Header(), readStatus,
				readExtension, allowance);
			throw Failure(host.TranslatorName(info.translator)
				+ " refused it (it wrote no bitmap header)");
		}
		ShapingRequest request;
		request.format = OutputFormat::Pilot;
		NoteSize(request, (int32)pipe.Header().Width(),
			(int32)pipe.Header().Height(), notes);
		*bytes = WritePicture(host, pipe,
			DescribePicture(pipe.Header(), identified), OutputFormat::Pilot,
			writeExtension, &pipe);
	} catch (...) {
		if (reader.joinable()) {
			// A reader stopped here fails for that alone; one that had
			// finished failed, if it did, on its own, and says why first.
			const bool finished = pipe.Abort();
			reader.join();
			if (finished) {
				CheckReading(host, info, pipe.Header(), readStatus,
					readExtension, allowance);
			}
		}
		throw;
	}
	// The reader may still be checking the end of its file; what it
	// writes now is not needed.
	pipe.Drain();
	reader.join();
	CheckReading(host, info, pipe.Header(), readStatus, readExtension,
		allowance);
	*facts = ReadFacts(readExtension);
	return true;
}

// The output's bytes. What the Pilot translator reports of a Pilot image
// input as it reads it goes to facts.
ByteVector Convert(TranslatorHost &host, BPositionIO &source,
	const std::string &inputPath, OutputFormat format,
	const ConversionOptions &options, PilotFacts *facts,
	std::vector<Note> *notes)
{
	BMessage identified;
	const translator_info info = RecogniseInput(host, source, &identified);
	// Only the Pilot translator is told the options and the input's name:
	// another might store the name as a comment in its file.
	BMessage writeExtension;
	if (format == OutputFormat::Pilot) {
		BuildExtension(options, inputPath, &writeExtension);
		writeExtension.AddInt32(PILOT_DEPTH_OPTION,
			PilotDepthOption(options.depth));
	} else if (format == OutputFormat::Pbm) {
		writeExtension.AddBool(PBM_DITHER_OPTION, Dithering(host, options));
	}
	const PixelAllowance allowance = AllowanceForInput(options.maxPixels,
		source);
	ByteVector passed;
	if (PassesThroughPipe(format, options, info, identified)
		&& ConvertPassing(host, source, info, identified, &writeExtension,
			allowance, facts, notes, &passed)) {
		return passed;
	}
	// Otherwise (or with no thread to read in) the whole picture.
	PictureStream picture(allowance.pixels);
	ReadInput(host, source, info, picture, allowance, facts);
	const std::string described = DescribePicture(picture, identified);
	ShapingRequest request;
	request.format = format;
	request.depth = options.depth;
	request.fit = options.fit;
	request.greyFile = IsGrey(identified);
	request.allowance = allowance;
	if (format == OutputFormat::Pilot && options.depth == PilotDepth::Auto
		&& picture.Colors() == B_GRAY1) {
		// A black-and-white picture stays so when it is scaled.
		request.depth = PilotDepth::One;
		writeExtension.ReplaceInt32(PILOT_DEPTH_OPTION, 1);
	}
	if (format == OutputFormat::Pilot && IsWhole(picture)
		&& ReadsColours((color_space)picture.Colors())) {
		return WriteForHandheld(host, std::unique_ptr<BBitmap>(
			DetachPicture(picture)), request, options.fullSize, described,
			&writeExtension, notes);
	}
	BBitmap *shaped = ShapePicture(picture, request, notes);
	if (shaped != NULL) {
		BBitmapStream stream(shaped);
		return WritePicture(host, stream, described, format, &writeExtension);
	}
	return WritePicture(host, picture, described, format, &writeExtension);
}

// What the written Pilot image calls for saying: a record longer than a
// handheld loads (the full size kept), and a name not the file's own.
void NoteWrittenPilot(TranslatorHost &host, const ConversionOptions &options,
	const std::string &inputPath, const WrittenPilot &written,
	std::vector<Note> *notes)
{
	if (!written.HandheldLoads()) {
		notes->push_back({NoteKind::RecordTooLong, "warning: its record of "
			+ std::to_string(written.recordBytes) + " bytes is longer than "
			"the " + std::to_string(PILOT_MAX_RECORD_BYTES) + " a handheld "
			"loads: handhelds will not load this file"});
	}
	NoteName(host, options, inputPath, written, notes);
}

} // namespace

void BuildExtension(const ConversionOptions &options,
	const std::string &inputPath, BMessage *extension)
{
	const BMessage &given = options.pilotSettings;
	if (!given.HasString(PILOT_DB_NAME_SETTING) && inputPath != "-") {
		extension->AddString(B_TRANSLATOR_EXT_COMMENT,
			BaseName(inputPath).c_str());
	}
	for (const PilotSettingRow &row : PILOT_SETTINGS) {
		const char *text;
		bool on;
		if (row.type == B_STRING_TYPE) {
			if (given.FindString(row.key, &text) == B_OK) {
				extension->AddString(row.key, text);
			}
		} else if (given.FindBool(row.key, &on) == B_OK) {
			extension->AddBool(row.key, on);
		}
	}
}

translator_info RecogniseInput(TranslatorHost &host, BPositionIO &source,
	BMessage *extension)
{
	// A bitmap stream needs no translator to become one: any translator
	// that recognises it will do, whatever it offers to make of it.
	translator_info info;
	if (host.Identify(source, B_TRANSLATOR_BITMAP, &info, extension)
		|| (host.Identify(source, 0, &info, extension)
			&& info.type == B_TRANSLATOR_BITMAP)) {
		return info;
	}
	off_t size = 0;
	if (source.GetSize(&size) == B_OK && size == 0) {
		throw Failure("not a recognised image (the file is empty)");
	}
	throw Failure("not a recognised image (no translator reads it; "
		"'quorvel translators' lists what they read)");
}

status_t ReadPicture(TranslatorHost &host, BPositionIO &source,
	const translator_info &info, PictureStream &picture,
	BMessage *extension)
{
	if (info.type == B_TRANSLATOR_BITMAP) {
		return CopyBitmapStream(source, picture);
	}
	return host.Roster().Translate(&source, &info, extension, &picture,
		B_TRANSLATOR_BITMAP);
}

ByteVector WritePicture(TranslatorHost &host, BPositionIO &picture,
	const std::string &described, OutputFormat format, BMessage *extension,
	PicturePipe *pipe)
{
	if (format == OutputFormat::BitmapStream) {
		return StreamBytes(picture);
	}
	translator_info info;
	if (!host.Identify(picture, OutputType(format), &info)
		|| info.type != B_TRANSLATOR_BITMAP) {
		throw Failure(std::string("unsupported depth: no translator writes ")
			+ OutputFormatName(format) + " from " + described
			+ OtherFormatsHint(format));
	}
	// Most outputs are smaller than the picture; the largest common one,
	// PNM of a picture at its own depth, is about its size.
	off_t pictureSize = 0;
	picture.GetSize(&pictureSize);
	ByteVectorIO destination((size_t)pictureSize);
	if (pipe != NULL) {
		pipe->StartPassing();
	}
	status_t status = host.Roster().Translate(&picture, &info, extension,
		&destination, TranslateType(format));
	if (status != B_OK) {
		throw Failure(RefusalReason(*extension, status,
			host.TranslatorName(info.translator) + " refused to write "
			+ described + " as " + OutputFormatName(format)));
	}
	return destination.TakeBytes();
}

std::string DescribePicture(const PictureStream &picture,
	const BMessage &identified)
{
	const char *depth = NULL;
	std::string kind = identified.FindString(IMAGE_DEPTH_INFO, &depth) == B_OK
		&& depth != NULL ? depth : ColorSpaceName(picture.Colors());
	return "a " + std::to_string(picture.Width()) + " x "
		+ std::to_string(picture.Height()) + " " + kind + " picture";
}

PixelAllowance AllowanceForInput(const PixelLimit &limit,
	BPositionIO &source)
{
	off_t size = -1;
	if (source.GetSize(&size) != B_OK) {
		size = -1;
	}
	return AllowanceFor(limit, size);
}

std::unique_ptr<BBitmap> ReadBitmap(TranslatorHost &host,
	BPositionIO &source, const PixelLimit &limit)
{
	BMessage identified;
	PilotFacts facts;
	const PixelAllowance allowance = AllowanceForInput(limit, source);
	PictureStream picture(allowance.pixels);
	ReadInput(host, source, RecogniseInput(host, source, &identified),
		picture, allowance, &facts);
	BBitmap *bitmap = NULL;
	if (picture.DetachBitmap(&bitmap) != B_OK) {
		throw Failure("the picture was lost");
	}
	return std::unique_ptr<BBitmap>(bitmap);
}

ByteVector ConvertToBytes(TranslatorHost &host, const std::string &inputPath,
	OutputFormat format, const ConversionOptions &options, bool strict,
	std::vector<Note> *notes)
{
	std::string inputName = inputPath == "-" ? "standard input" : inputPath;
	try {
		std::unique_ptr<BPositionIO> source = OpenInputFile(inputPath);
		PilotFacts facts;
		std::vector<Note> conversionNotes;
		ByteVector output = Convert(host, *source, inputPath, format, options,
			&facts, &conversionNotes);
		std::string warning = CutShortWarning(facts, inputName, strict);
		if (!warning.empty()) {
			notes->push_back({NoteKind::Warning, warning});
		}
		if (format == OutputFormat::Pilot) {
			NoteWrittenPilot(host, options, inputPath,
				DescribeWrittenPilot(host, output), &conversionNotes);
		}
		for (const Note &note : conversionNotes) {
			notes->push_back(NamedNote(note, inputName));
		}
		return output;
	} catch (const Failure &failure) {
		throw failure.Named(inputName);
	} catch (const std::bad_alloc &) {
		throw Failure(inputName, "out of memory");
	}
}

std::vector<Note> ConvertFile(TranslatorHost &host,
	const std::string &inputPath, const std::string &outputPath,
	OutputFormat format, const ConversionOptions &options,
	ExistingOutput existing, bool strict)
{
	std::vector<Note> notes;
	ByteVector output = ConvertToBytes(host, inputPath, format, options,
		strict, &notes);
	WriteOutputFile(outputPath, output, existing);
	return notes;
}
