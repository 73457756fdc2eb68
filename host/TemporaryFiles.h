// The temporary files in flight (conversions' outputs, settings written
// aside), and the signal handlers that remove them when the process is
// told to stop: SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGPIPE, SIGXCPU and
// SIGXFSZ (a file beyond `ulimit -f`). After removing them the handler
// ends the process with the signal's own status, as if it had not been
// caught.
//
// A handler may run at any moment on any thread, so it only does what is
// safe there: it reads fixed slots of names and calls unlink. A name is
// registered in the same step that creates its file, so that a signal
// finds either no file or a registered one.
#ifndef QUORVEL_HOST_TEMPORARY_FILES_H
#define QUORVEL_HOST_TEMPORARY_FILES_H

#include <functional>
#include <string>

// Installs the handlers, leaving alone a signal the process was started
// with ignored (as nohup leaves SIGHUP). Call once, before any thread
// starts.
void RemoveTemporaryFilesOnSignals();

// Once a handler has begun, waits for it to end the process; a worker
// whose file the handler removed then reports no failure meanwhile.
void AwaitTheEndIfStopping();

// One temporary file's name, known to the handlers from Create to Forget.
class TemporaryName {
public:
	TemporaryName() = default;
	~TemporaryName() { Forget(); }

	// Runs create, which makes a file named path and returns a value >= 0,
	// or -1 with errno set; gives its result. On success the name is
	// registered. Meanwhile the stopping signals are held back in this
	// thread, and a handler running on another thread waits for the step
	// to end. Once the process is stopping, creates nothing and waits
	// for the end.
	int Create(const std::string &path, const std::function<int()> &create);

	// The handlers no longer remove the file (it was renamed or removed).
	void Forget();

	bool Registered() const { return !fPath.empty(); }
	const std::string &Path() const { return fPath; }

private:
	TemporaryName(const TemporaryName &) = delete;
	TemporaryName &operator=(const TemporaryName &) = delete;

	int fSlot = -1;
	std::string fPath;
};

#endif // QUORVEL_HOST_TEMPORARY_FILES_H
