// quorvel convert: one file to another, or many files into a folder.
#include <errno.h>
#include <stdio.h>
#include <sys/stat.h>

#include <map>

#include "BatchRunner.h"
#include "Commands.h"
#include "Failure.h"
#include "InputFile.h"

namespace {

ExistingOutput ExistingOutputOf(const CommandLine &line)
{
	return line.noClobber ? ExistingOutput::Keep : ExistingOutput::Replace;
}

int ConvertOne(const CommandLine &line, const ConversionOptions &options)
{
	const std::string &input = line.operands[0];
	const std::string &output = line.operands[1];
	OutputFormat format;
	if (line.to) {
		ParseOutputFormat(*line.to, &format);
	} else if (!OutputFormatFromPath(output, &format)) {
		return UsageError("cannot tell the output format from '" + output
			+ "'; name it with --to FORMAT");
	}
	TranslatorHost host(line.translatorsFolder);
	try {
		std::string warning = ConvertFile(host, input, output, format,
			options, ExistingOutputOf(line), line.strict);
		if (!warning.empty()) {
			fprintf(stderr, "%s\n", warning.c_str());
		}
	} catch (const Failure &failure) {
		fprintf(stderr, "%s\n", failure.Line().c_str());
		return kExitFailure;
	}
	return kExitSuccess;
}

// Each input's output in the folder, named after the input; a usage error
// when two inputs would write the same file.
std::string PlanBatch(const CommandLine &line, OutputFormat format,
	std::vector<BatchJob> *jobs)
{
	std::map<std::string, std::string> writers;
	for (const std::string &input : line.operands) {
		if (input == "-") {
			return "standard input cannot be part of a batch";
		}
		std::string output = *line.outputFolder + "/" + StemName(input) + "."
			+ OutputExtension(format);
		auto known = writers.find(output);
		if (known != writers.end()) {
			return "'" + known->second + "' and '" + input
				+ "' would both be written to " + output;
		}
		writers[output] = input;
		jobs->push_back({input, output});
	}
	return "";
}

void MakeFolder(const std::string &folder)
{
	struct stat status;
	if (stat(folder.c_str(), &status) == 0) {
		if (!S_ISDIR(status.st_mode)) {
			throw Failure(folder, "not a folder");
		}
		return;
	}
	if (mkdir(folder.c_str(), 0777) != 0) {
		throw Failure(folder, "cannot create the folder: "
			+ DescribeError(errno));
	}
}

int ConvertBatch(const CommandLine &line, const ConversionOptions &options)
{
	OutputFormat format;
	if (!line.to) {
		return UsageError("converting into a folder needs --to FORMAT");
	}
	ParseOutputFormat(*line.to, &format);
	if (line.operands.empty()) {
		return UsageError("no input files given");
	}
	std::vector<BatchJob> jobs;
	std::string error = PlanBatch(line, format, &jobs);
	if (!error.empty()) {
		return UsageError(error);
	}
	TranslatorHost host(line.translatorsFolder);
	MakeFolder(*line.outputFolder);
	size_t failures = RunBatch(jobs, line.jobs, [&](const BatchJob &job) {
		return ConvertFile(host, job.input, job.output, format, options,
			ExistingOutputOf(line), line.strict);
	});
	if (failures > 0) {
		fprintf(stderr, "quorvel: %zu of %zu files failed\n", failures,
			jobs.size());
		return kExitFailure;
	}
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
	if (line.outputFolder) {
		return ConvertBatch(line, options);
	}
	if (line.operands.size() != 2) {
		return UsageError("convert takes INPUT and OUTPUT, or --to FORMAT "
			"FILE... -o DIR");
	}
	return ConvertOne(line, options);
}
