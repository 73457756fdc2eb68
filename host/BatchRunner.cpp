#include "BatchRunner.h"

#include <stdio.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <new>
#include <set>
#include <system_error>
#include <thread>

#include "Failure.h"
#include "FileIdentity.h"
#include "InputFile.h"
#include "TemporaryFiles.h"

namespace {

// Everything the workers print goes through here, one line at a time.
class Reporter {
public:
	explicit Reporter(size_t total)
		: fTotal(total), fOnTerminal(isatty(STDERR_FILENO) == 1) {}

	void Finished(const BatchJob &job, const std::string &warning)
	{
		std::lock_guard<std::mutex> lock(fLock);
		fDone++;
		if (!warning.empty()) {
			ClearProgress();
			fprintf(stderr, "%s\n", warning.c_str());
		}
		ShowProgress(job);
	}

	void Failed(const BatchJob &job, const Failure &failure)
	{
		AwaitTheEndIfStopping();
		std::lock_guard<std::mutex> lock(fLock);
		fDone++;
		ClearProgress();
		fprintf(stderr, "%s\n", failure.Line().c_str());
		ShowProgress(job);
	}

	// A line about the batch as a whole.
	void Note(const std::string &line)
	{
		std::lock_guard<std::mutex> lock(fLock);
		ClearProgress();
		fprintf(stderr, "%s\n", line.c_str());
	}

	void End()
	{
		std::lock_guard<std::mutex> lock(fLock);
		ClearProgress();
	}

private:
	void ShowProgress(const BatchJob &job)
	{
		if (fOnTerminal) {
			fprintf(stderr, "\r\033[K[%zu/%zu] %s", fDone, fTotal,
				job.input.c_str());
			fflush(stderr);
		}
	}

	// Erases the progress line so that a message starts on a clean line.
	void ClearProgress()
	{
		if (fOnTerminal) {
			fputs("\r\033[K", stderr);
		}
	}

	std::mutex fLock;
	size_t fTotal;
	size_t fDone = 0;
	bool fOnTerminal;
};

// The jobs whose output is the same file as an input, found by device and
// inode so that another path, a hard link or a symbolic link to an input
// counts as well.
std::vector<bool> OutputsThatAreInputs(const std::vector<BatchJob> &jobs)
{
	std::set<FileIdentity> inputs;
	FileIdentity identity;
	for (const BatchJob &job : jobs) {
		if (IdentifyFile(job.input, &identity)) {
			inputs.insert(identity);
		}
	}
	std::vector<bool> refused(jobs.size(), false);
	for (size_t i = 0; i < jobs.size(); i++) {
		refused[i] = IdentifyFile(jobs[i].output, &identity)
			&& inputs.count(identity) > 0;
	}
	return refused;
}

// Starts up to count - 1 threads running worker; the caller is the last.
// A refused thread ends the starting, not the batch.
std::vector<std::thread> StartWorkers(size_t count,
	const std::function<void()> &worker, Reporter &reporter)
{
	std::vector<std::thread> workers;
	try {
		workers.reserve(count);
		for (size_t i = 1; i < count; i++) {
			workers.emplace_back(worker);
		}
	} catch (const std::exception &error) {
		const std::system_error *system
			= dynamic_cast<const std::system_error *>(&error);
		std::string reason = system != NULL
			? DescribeError(system->code().value()) : "out of memory";
		reporter.Note("quorvel: only " + std::to_string(workers.size() + 1)
			+ " of " + std::to_string(count) + " jobs could start ("
			+ reason + "); going on with those");
	}
	return workers;
}

} // namespace

size_t RunBatch(const std::vector<BatchJob> &jobs, unsigned threads,
	const std::function<std::string(const BatchJob &)> &work)
{
	Reporter reporter(jobs.size());
	const std::vector<bool> refused = OutputsThatAreInputs(jobs);
	std::atomic<size_t> next(0);
	std::atomic<size_t> failures(0);
	auto worker = [&]() {
		for (size_t i = next++; i < jobs.size(); i = next++) {
			const BatchJob &job = jobs[i];
			try {
				if (refused[i]) {
					throw Failure(job.output,
						"is one of the inputs; not overwritten");
				}
				reporter.Finished(job, work(job));
			} catch (const Failure &failure) {
				failures++;
				reporter.Failed(job, failure.Named(job.input));
			} catch (const std::bad_alloc &) {
				failures++;
				reporter.Failed(job, Failure(job.input, "out of memory"));
			}
		}
	};

	size_t count = std::min<size_t>(std::max(threads, 1u), jobs.size());
	std::vector<std::thread> workers = StartWorkers(count, worker, reporter);
	worker();
	for (std::thread &thread : workers) {
		thread.join();
	}
	reporter.End();
	return failures;
}
