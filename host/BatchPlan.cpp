#include "BatchPlan.h"

#include <errno.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <new>
#include <set>

#include "Conversion.h"
#include "Failure.h"
#include "InputFile.h"

namespace {

namespace fs = std::filesystem;

// An input's type as the roster recognises it; 0 when none reads it.
uint32 RecognisedType(TranslatorHost &host, const std::string &path)
{
	try {
		std::unique_ptr<BPositionIO> source = OpenInputFile(path);
		BMessage identified;
		return RecogniseInput(host, *source, &identified).type;
	} catch (const Failure &) {
		return 0;
	} catch (const std::bad_alloc &) {
		return 0;
	}
}

OutputFormat DefaultTarget(uint32 inputType)
{
	return inputType == PILOT_IMAGE_TYPE ? OutputFormat::Png
		: OutputFormat::Pilot;
}

bool IsFolder(const std::string &path)
{
	struct stat status;
	return stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

class Planner {
public:
	Planner(TranslatorHost &host, const CommandLine &line, BatchPlan *plan)
		: fHost(host), fLine(line), fPlan(plan)
	{
		if (line.to) {
			ParseOutputFormat(*line.to, &fTo);
		}
	}

	std::string Plan()
	{
		for (const std::string &input : fLine.operands) {
			if (input == "-") {
				return "standard input cannot be part of a batch";
			}
			std::string error = IsFolder(input) ? Walk(input)
				: Add(input, "", false);
			if (!error.empty()) {
				return error;
			}
		}
		if (fPlan->jobs.empty()) {
			return "no pictures found among the inputs";
		}
		return "";
	}

private:
	std::string Walk(const std::string &folder)
	{
		if (!fLine.recursive) {
			return "'" + folder + "' is a folder (-r converts the pictures "
				"in it and in its subfolders)";
		}
		std::vector<fs::path> files;
		std::error_code error;
		for (fs::recursive_directory_iterator it(folder, error), end;
			!error && it != end; it.increment(error)) {
			if (it->is_regular_file(error)
				&& it->path().filename().string()[0] != '.') {
				files.push_back(it->path());
			}
		}
		if (error) {
			return "cannot walk '" + folder + "': " + error.message();
		}
		// The same order on every file system.
		std::sort(files.begin(), files.end());
		for (const fs::path &file : files) {
			std::string relative = file.parent_path().lexically_relative(
				folder).string();
			std::string added = Add(file.string(),
				relative == "." ? "" : relative, true);
			if (!added.empty()) {
				return added;
			}
		}
		return "";
	}

	// An input, its output going into the subfolder of -o DIR; in a
	// walked folder, files no translator reads are passed over.
	std::string Add(const std::string &input, const std::string &subfolder,
		bool walked)
	{
		OutputFormat format = fTo;
		if (!fLine.to || walked) {
			uint32 type = RecognisedType(fHost, input);
			if (type == 0 && walked) {
				fPlan->skipped++;
				return "";
			}
			if (!fLine.to) {
				format = DefaultTarget(type);
			}
		}
		std::string folder = *fLine.outputFolder
			+ (subfolder.empty() ? "" : "/" + subfolder);
		std::string output = folder + "/" + StemName(input) + "."
			+ OutputExtension(format);
		auto known = fWriters.find(output);
		if (known != fWriters.end()) {
			return "'" + known->second + "' and '" + input
				+ "' would both be written to " + output;
		}
		fWriters[output] = input;
		fPlan->jobs.push_back({input, output});
		fPlan->formats[output] = format;
		return "";
	}

	TranslatorHost &fHost;
	const CommandLine &fLine;
	BatchPlan *fPlan;
	OutputFormat fTo = OutputFormat::Pilot;
	std::map<std::string, std::string> fWriters;
};

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

} // namespace

std::string PlanBatch(TranslatorHost &host, const CommandLine &line,
	BatchPlan *plan)
{
	Planner planner(host, line, plan);
	return planner.Plan();
}

void MakeOutputFolders(const BatchPlan &plan)
{
	std::set<std::string> folders;
	for (const BatchJob &job : plan.jobs) {
		folders.insert(fs::path(job.output).parent_path().string());
	}
	// Parents before children: the set is sorted, and a parent's path is
	// a prefix of its children's.
	for (const std::string &folder : folders) {
		fs::path partial;
		for (const fs::path &part : fs::path(folder)) {
			partial /= part;
			MakeFolder(partial.string());
		}
	}
}
