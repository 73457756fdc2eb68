#include "BatchRunner.h"

#include <stdio.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <new>
#include <thread>

#include "Failure.h"

namespace {

// Everything the workers print goes through here, one line at a time.
class Reporter {
public:
	explicit Reporter(size_t total)
		: fTotal(total), fOnTerminal(isatty(STDERR_FILENO) == 1) {}

	void Finished(const BatchJob &job)
	{
		std::lock_guard<std::mutex> lock(fLock);
		fDone++;
		ShowProgress(job);
	}

	void Failed(const BatchJob &job, const Failure &failure)
	{
		std::lock_guard<std::mutex> lock(fLock);
		fDone++;
		ClearProgress();
		fprintf(stderr, "%s\n", failure.Line().c_str());
		ShowProgress(job);
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

} // namespace

size_t RunBatch(const std::vector<BatchJob> &jobs, unsigned threads,
	const std::function<void(const BatchJob &)> &work)
{
	Reporter reporter(jobs.size());
	std::atomic<size_t> next(0);
	std::atomic<size_t> failures(0);
	auto worker = [&]() {
		for (size_t i = next++; i < jobs.size(); i = next++) {
			const BatchJob &job = jobs[i];
			try {
				work(job);
				reporter.Finished(job);
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
	std::vector<std::thread> workers;
	for (size_t i = 1; i < count; i++) {
		workers.emplace_back(worker);
	}
	worker();
	for (std::thread &thread : workers) {
		thread.join();
	}
	reporter.End();
	return failures;
}
