// Many conversions at once: a few worker threads take the files in turn,
// one failure does not stop the others, and on a terminal a progress line
// shows how far the batch is.
#ifndef QUORVEL_HOST_BATCH_RUNNER_H
#define QUORVEL_HOST_BATCH_RUNNER_H

#include <functional>
#include <string>
#include <vector>

struct BatchJob {
	std::string input;
	std::string output;
};

// Runs work for every job on up to threads threads. work throws Failure
// for a file that fails, or returns a warning line (empty for none); the
// line goes to standard error at once. A job whose output is one of the
// jobs' inputs (the same file, by any name) fails without running: a batch
// never overwrites what it reads. When the system refuses a thread, the
// batch goes on with those it has (at least the calling thread) after
// saying so. Returns the number of jobs that
// failed.
size_t RunBatch(const std::vector<BatchJob> &jobs, unsigned threads,
	const std::function<std::string(const BatchJob &)> &work);

#endif // QUORVEL_HOST_BATCH_RUNNER_H
