#include "TemporaryFiles.h"

#include <errno.h>
#include <limits.h>
#include <pthread.h>
#include <signal.h>
#include <string.h>
#include <unistd.h>

#include <atomic>

#include "CommandLine.h"

namespace {

const int kStopSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGPIPE,
	SIGXCPU, SIGXFSZ};

// Each job has at most one temporary name at a time; the rest is margin.
const int kSlots = 2 * kMaxJobs;

enum SlotState { kFree, kClaimed, kRegistered };

struct Slot {
	std::atomic<int> state;
	char path[PATH_MAX];
};

static_assert(std::atomic<int>::is_always_lock_free
		&& std::atomic<bool>::is_always_lock_free,
	"the signal handlers need lock-free atomics");

Slot sSlots[kSlots];
// Set by the first handler: no new file is registered after it.
std::atomic<bool> sStopping(false);
// Threads between creating a file and registering it.
std::atomic<int> sCreating(0);

sigset_t StopSignalSet()
{
	sigset_t set;
	sigemptyset(&set);
	for (int signal : kStopSignals) {
		sigaddset(&set, signal);
	}
	return set;
}

void RemoveAndStop(int signal)
{
	sStopping = true;
	// Another thread is creating and registering a file: a few system
	// calls, during which it holds these signals back.
	while (sCreating.load() != 0) {
	}
	for (Slot &slot : sSlots) {
		if (slot.state.load() == kRegistered) {
			unlink(slot.path);
		}
	}

	// Die of the signal, so that the parent sees the status it expects.
	struct sigaction action;
	memset(&action, 0, sizeof(action));
	action.sa_handler = SIG_DFL;
	sigemptyset(&action.sa_mask);
	sigaction(signal, &action, NULL);
	raise(signal);
	sigset_t set;
	sigemptyset(&set);
	sigaddset(&set, signal);
	pthread_sigmask(SIG_UNBLOCK, &set, NULL);
	_exit(128 + signal);
}

int ClaimSlot()
{
	for (int i = 0; i < kSlots; i++) {
		int free = kFree;
		if (sSlots[i].state.compare_exchange_strong(free, kClaimed)) {
			return i;
		}
	}
	return -1;
}

} // namespace

void AwaitTheEndIfStopping()
{
	while (sStopping) {
		pause();
	}
}

void RemoveTemporaryFilesOnSignals()
{
	struct sigaction action;
	memset(&action, 0, sizeof(action));
	action.sa_handler = RemoveAndStop;
	// One handler at a time on a thread: a second signal waits for the
	// first handler, which never returns.
	action.sa_mask = StopSignalSet();
	for (int signal : kStopSignals) {
		struct sigaction previous;
		if (sigaction(signal, NULL, &previous) == 0
			&& previous.sa_handler != SIG_IGN) {
			sigaction(signal, &action, NULL);
		}
	}
}

int TemporaryName::Create(const std::string &path,
	const std::function<int()> &create)
{
	Forget();
	if (path.size() >= PATH_MAX) {
		errno = ENAMETOOLONG;
		return -1;
	}
	sigset_t stopSignals = StopSignalSet();
	sigset_t previous;
	pthread_sigmask(SIG_BLOCK, &stopSignals, &previous);
	sCreating++;
	if (sStopping) {
		sCreating--;
		AwaitTheEndIfStopping();
	}
	int result = create();
	int error = errno;
	if (result >= 0) {
		// With every slot taken (more names than jobs can hold) the file
		// is still made, only not removed by a handler.
		fSlot = ClaimSlot();
		if (fSlot >= 0) {
			memcpy(sSlots[fSlot].path, path.c_str(), path.size() + 1);
			sSlots[fSlot].state = kRegistered;
		}
		fPath = path;
	}
	sCreating--;
	pthread_sigmask(SIG_SETMASK, &previous, NULL);
	errno = error;
	return result;
}

void TemporaryName::Forget()
{
	if (fSlot >= 0) {
		sSlots[fSlot].state = kFree;
	}
	fSlot = -1;
	fPath.clear();
}
