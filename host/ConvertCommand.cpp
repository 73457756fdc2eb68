// quorvel convert: one file to another, or many files into a folder.
#include <errno.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <map>
#include <mutex>
#include <memory>
#include <new>

#include <DataIO.h>

#include "BatchPlan.h"
#include "BatchRunner.h"
#include "Commands.h"
#include "Failure.h"
#include "FileIdentity.h"
#include "InputFile.h"

namespace {

ExistingOutput ExistingOutputOf(const CommandLine &line)
{
	return line.noClobber ? ExistingOutput::Keep : ExistingOutput::Replace;
}

void PrintNotes(const CommandLine &line, const std::string &notes)
{
	if (!notes.empty() && !line.quiet) {
		fprintf(stderr, "%s\n", notes.c_str());
	}
}

void PrintNotes(const CommandLine &line, const std::vector<Note> &notes)
{
	if (line.quiet) {
		return;
	}
	for (const Note &note : notes) {
		fprintf(stderr, "%s\n", note.line.c_str());
	}
}

// The lines for what a batch's files shared, after the batch's own.
void PrintSummaries(const CommandLine &line, const std::vector<Note> &notes)
{
	if (line.quiet) {
		return;
	}
	for (const std::string &summary : SummariseNotes(notes)) {
		fprintf(stderr, "%s\n", summary.c_str());
	}
}

// What the Pilot image will look like, drawn instead of written.
int Preview(const CommandLine &line, const ConversionOptions &options)
{
	if (line.operands.empty() || line.operands.size() > 2) {
		return UsageError("convert --preview takes INPUT (and OUTPUT, "
			"which is not written)");
	}
	if (RefuseWithoutTerminal(line.force)) {
		return kExitFailure;
	}
	const std::string &input = line.operands[0];
	TranslatorHost host(line.translatorsFolder);
	try {
		std::vector<Note> notes;
		ByteVector pilot = ConvertToBytes(host, input, OutputFormat::Pilot,
			options, line.strict, &notes);
		PrintNotes(line, notes);
		BMemoryIO image(pilot.data(), pilot.size());
		// The Pilot image is our own, made from a picture that passed: a
		// packed one is small for its pixels, and no budget applies.
		PixelLimit made = options.maxPixels;
		made.given = true;
		std::unique_ptr<BBitmap> picture = ReadBitmap(host, image, made);
		ShowPicture(input + " as a Pilot image (" + std::to_string(
			picture->Bounds().IntegerWidth() + 1) + " x " + std::to_string(
			picture->Bounds().IntegerHeight() + 1) + ", not written)",
			*picture);
	} catch (const Failure &failure) {
		fprintf(stderr, "%s\n", failure.Named(input).Line().c_str());
		return kExitFailure;
	} catch (const std::bad_alloc &) {
		fprintf(stderr, "%s\n", Failure(input, "out of memory").Line()
			.c_str());
		return kExitFailure;
	}
	return kExitSuccess;
}

// Writing over the input would lose it, whatever name (another path, a
// hard or symbolic link, standard input redirected from it) the output
// reaches it by. A device or FIFO read and written at once (a terminal) is
// no file to lose.
void RefuseOutputThatIsInput(const std::string &input,
	const std::string &output)
{
	FileIdentity read;
	FileIdentity written;
	mode_t mode;
	bool known = input == "-" ? IdentifyDescriptor(STDIN_FILENO, &read, &mode)
		: IdentifyFile(input, &read, &mode);
	if (known && S_ISREG(mode) && IdentifyFile(output, &written)
		&& read == written) {
		throw Failure(output, "is the input; not overwritten");
	}
}

int ConvertOne(const CommandLine &line, const ConversionOptions &options)
{
	const std::string &input = line.operands[0];
	const std::string &output = line.operands[1];
	OutputFormat format;
	if (line.to) {
		ParseOutputFormat(*line.to, &format);
	} else if (!OutputFormatFromPath(output, &format)) {
		std::string extension = BaseName(output);
		size_t dot = extension.rfind('.');
		if (dot == std::string::npos || dot == 0) {
			return UsageError("cannot tell the output format from '" + output
				+ "' (name it .pdb, .png, .jpg, .pnm, .pbm, .pgm, .ppm, .bmp "
				"or .bits, or give --to FORMAT)");
		}
		return UsageError(output + ": " + UnknownOutputFormat(
			extension.substr(dot + 1)));
	}
	TranslatorHost host(line.translatorsFolder);
	try {
		RefuseOutputThatIsInput(input, output);
		PrintNotes(line, ConvertFile(host, input, output, format, options,
			ExistingOutputOf(line), line.strict));
	} catch (const Failure &failure) {
		fprintf(stderr, "%s\n", failure.Line().c_str());
		return kExitFailure;
	}
	if (line.verbose) {
		fprintf(stderr, "quorvel: %s -> %s\n", input.c_str(), output.c_str());
	}
	return kExitSuccess;
}

int ConvertBatch(const CommandLine &line, const ConversionOptions &options)
{
	if (line.operands.empty()) {
		return UsageError("no input files given");
	}
	TranslatorHost host(line.translatorsFolder);
	BatchPlan plan;
	std::string error = PlanBatch(host, line, &plan);
	if (!error.empty()) {
		return UsageError(error);
	}
	try {
		MakeOutputFolders(plan);
	} catch (const Failure &failure) {
		fprintf(stderr, "%s\n", failure.Line().c_str());
		return kExitFailure;
	}
	error = FindSharedOutputs(plan);
	if (!error.empty()) {
		return UsageError(error);
	}
	for (const std::string &unreadable : plan.unreadable) {
		fprintf(stderr, "%s\n", unreadable.c_str());
	}
	// A file's warnings are said as it is converted; what many files share
	// is said once at the end, unless -v asks for every line.
	std::mutex sharedLock;
	std::vector<Note> shared;
	size_t failures = plan.unreadable.size() + RunBatch(plan.jobs, line.jobs,
		[&](const BatchJob &job) {
		std::string lines;
		for (const Note &note : ConvertFile(host, job.input, job.output,
				plan.formats.at(job.output), options, ExistingOutputOf(line),
				line.strict)) {
			if (note.kind == NoteKind::Warning || line.verbose) {
				lines += (lines.empty() ? "" : "\n") + note.line;
			} else {
				std::lock_guard<std::mutex> lock(sharedLock);
				shared.push_back(note);
			}
		}
		if (line.verbose) {
			lines += (lines.empty() ? "" : "\n") + std::string("quorvel: ")
				+ job.input + " -> " + job.output;
		}
		return line.quiet ? std::string() : lines;
	});
	PrintNotes(line, SkippedFilesLine(plan));
	const size_t total = plan.jobs.size() + plan.unreadable.size();
	if (failures > 0) {
		fprintf(stderr, "quorvel: %zu of %zu files failed\n", failures, total);
		PrintSummaries(line, shared);
		return kExitFailure;
	}
	if (!line.quiet && (line.verbose || isatty(STDERR_FILENO) == 1)) {
		fprintf(stderr, "quorvel: %zu file%s converted into %s%s\n", total,
			total == 1 ? "" : "s", line.outputFolder->c_str(),
			plan.skipped > 0 ? (", " + std::to_string(plan.skipped)
				+ " other file" + (plan.skipped == 1 ? "" : "s")
				+ " skipped").c_str() : "");
	}
	PrintSummaries(line, shared);
	return kExitSuccess;
}

} // namespace

int RunConvert(const CommandLine &line)
{
	ConversionOptions options = line.options;
	try {
		options.maxPixels = EffectiveMaxPixels(line.maxPixels);
	} catch (const Failure &failure) {
		return UsageError(failure.File() + ": " + failure.Reason());
	}
	if (line.preview) {
		return Preview(line, options);
	}
	if (line.outputFolder) {
		return ConvertBatch(line, options);
	}
	if (line.recursive) {
		return UsageError("-r walks folders into a folder; give it -o DIR");
	}
	if (line.operands.size() != 2) {
		return UsageError("convert takes INPUT and OUTPUT, or [--to FORMAT] "
			"FILE... -o DIR");
	}
	return ConvertOne(line, options);
}
