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
	// Files in walked folders that no translator reads.
	size_t skipped = 0;
};

// Fills plan; a usage error's message, or empty.
std::string PlanBatch(TranslatorHost &host, const CommandLine &line,
	BatchPlan *plan);

// Creates the output folder and the folders of the tree under it. Throws
// Failure.
void MakeOutputFolders(const BatchPlan &plan);

#endif // QUORVEL_HOST_BATCH_PLAN_H
