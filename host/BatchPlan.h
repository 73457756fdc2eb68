// Which files a batch converts and where each output goes: every input,
// and with -r every picture in the folders among them, the outputs
// mirroring the folders' trees under -o DIR. Without --to, pictures
// become Pilot images and Pilot images PNG.
#ifndef QUORVEL_HOST_BATCH_PLAN_H
#define QUORVEL_HOST_BATCH_PLAN_H

#include <map>
#include <string>
#include <vector>

#include "BatchRunner.h"
#include "CommandLine.h"
#include "FileFormats.h"
#include "TranslatorHost.h"

struct BatchPlan {
	std::vector<BatchJob> jobs;
	// Each output's format, by its path.
	std::map<std::string, OutputFormat> formats;
	// Files in walked folders that no translator reads, and the first few
	// of them by path.
	size_t skipped = 0;
	std::vector<std::string> skippedNames;
	// The failure line of each file or folder of a walk that cannot be
	// read: a job that failed before it began.
	std::vector<std::string> unreadable;
};

// Fills plan; a usage error's message, or empty. A plan may hold no job
// when every picture found was unreadable.
std::string PlanBatch(TranslatorHost &host, const CommandLine &line,
	BatchPlan *plan);

// Creates the output folder and the folders of the tree under it. Throws
// Failure.
void MakeOutputFolders(const BatchPlan &plan);

// Once the folders are made: two jobs whose outputs are one file by
// different paths (through a linked folder, or an output that is a link to
// another's), as a usage error's message; empty when there are none.
std::string FindSharedOutputs(const BatchPlan &plan);

// The line that names the files skipped, the first few by path, the rest
// by their count; empty when none were.
std::string SkippedFilesLine(const BatchPlan &plan);

#endif // QUORVEL_HOST_BATCH_PLAN_H
