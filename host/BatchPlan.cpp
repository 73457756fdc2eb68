#include "BatchPlan.h"

#include <errno.h>
#include <sys/stat.h>

#include <memory>
#include <new>
#include <set>
#include <tuple>

#include "Conversion.h"
#include "Failure.h"
#include "FileIdentity.h"
#include "FolderWalk.h"
#include "InputFile.h"
#include "OutputFile.h"

namespace {

// name in folder; "out/" gives the names "out" does, with no second slash.
std::string InFolder(const std::string &folder, const std::string &name)
{
	return folder + (!folder.empty() && folder.back() == '/' ? "" : "/")
		+ name;
}

// The files skipped that the line about them names.
const size_t kSkippedNamed = 5;

// An input's type as the roster recognises it; 0 when none reads it.
// Throws Failure when the file cannot be opened.
uint32 RecognisedType(TranslatorHost &host, const std::string &path)
{
	std::unique_ptr<BPositionIO> source = OpenInputFile(path);
	try {
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
		if (fPlan->jobs.empty() && fPlan->unreadable.empty()) {
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
		FolderVisitor visitor;
		visitor.file = [this](const std::string &path,
			const std::string &subfolder) {
			return Add(path, subfolder, true);
		};
		visitor.unreadable = [this](const std::string &path, bool isFolder,
			int error) {
			fPlan->unreadable.push_back(Failure(path, (isFolder
				? "cannot read the folder: " : "") + DescribeError(error))
				.Line());
		};
		return WalkFolder(folder, visitor);
	}

	// An input, its output going into the subfolder of -o DIR; in a
	// walked folder, files no translator reads are passed over, and those
	// that cannot be opened are failures.
	std::string Add(const std::string &input, const std::string &subfolder,
		bool walked)
	{
		OutputFormat format = fTo;
		if (!fLine.to || walked) {
			uint32 type = 0;
			try {
				type = RecognisedType(fHost, input);
			} catch (const Failure &failure) {
				// Given by name, the job says why it fails.
				if (walked) {
					fPlan->unreadable.push_back(failure.Named(input).Line());
					return "";
				}
			}
			if (type == 0 && walked) {
				Skip(input);
				return "";
			}
			if (!fLine.to) {
				format = DefaultTarget(type);
			}
		}
		std::string folder = *fLine.outputFolder;
		if (!subfolder.empty()) {
			folder = InFolder(folder, subfolder);
		}
		std::string output = InFolder(folder, StemName(input)) + "."
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

	void Skip(const std::string &input)
	{
		if (fPlan->skippedNames.size() < kSkippedNamed) {
			fPlan->skippedNames.push_back(input);
		}
		fPlan->skipped++;
	}

	TranslatorHost &fHost;
	const CommandLine &fLine;
	BatchPlan *fPlan;
	OutputFormat fTo = OutputFormat::Pilot;
	std::map<std::string, std::string> fWriters;
};

// The folder, and those above it that are missing (mkdir -p).
void MakeFolder(const std::string &folder)
{
	struct stat status;
	if (stat(folder.c_str(), &status) == 0) {
		if (!S_ISDIR(status.st_mode)) {
			throw Failure(folder, "not a folder");
		}
		return;
	}
	if (errno == ENOENT && folder.find('/') != std::string::npos) {
		MakeFolder(FolderOf(folder));
	}
	if (mkdir(folder.c_str(), 0777) != 0 && errno != EEXIST) {
		throw Failure(folder, "cannot create the folder: "
			+ DescribeError(errno));
	}
}

// Where an output lands: its folder, by device and inode, and its name.
struct OutputPlace {
	FileIdentity folder;
	std::string name;

	bool operator<(const OutputPlace &other) const
	{
		return std::tie(folder, name) < std::tie(other.folder, other.name);
	}
};

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
		folders.insert(FolderOf(job.output));
	}
	// Parents before children, as the set sorts them: each folder is then
	// made with one call.
	for (const std::string &folder : folders) {
		MakeFolder(folder);
	}
}

std::string FindSharedOutputs(const BatchPlan &plan)
{
	std::map<OutputPlace, const BatchJob *> writers;
	for (const BatchJob &job : plan.jobs) {
		std::string target;
		try {
			target = FollowOutputLinks(job.output);
		} catch (const Failure &) {
			// A loop of links: the job says so.
			continue;
		}
		OutputPlace place;
		if (!IdentifyFile(FolderOf(target), &place.folder)) {
			continue;
		}
		place.name = BaseName(target);
		auto known = writers.emplace(place, &job);
		if (!known.second) {
			const BatchJob &other = *known.first->second;
			return "'" + other.input + "' and '" + job.input + "' would "
				"both be written to one file, " + other.output + " and "
				+ job.output + " being the same";
		}
	}
	return "";
}

std::string SkippedFilesLine(const BatchPlan &plan)
{
	if (plan.skipped == 0) {
		return "";
	}
	std::string line = "quorvel: skipped " + std::to_string(plan.skipped)
		+ (plan.skipped == 1 ? " file" : " files") + " no translator reads: ";
	for (size_t i = 0; i < plan.skippedNames.size(); i++) {
		line += (i == 0 ? "" : ", ") + plan.skippedNames[i];
	}
	if (plan.skipped > plan.skippedNames.size()) {
		line += " and " + std::to_string(plan.skipped
			- plan.skippedNames.size()) + " more";
	}
	return line;
}
