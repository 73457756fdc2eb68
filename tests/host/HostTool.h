// Running the built quorvel as a user would, in a folder of its own, and
// the fields of a Pilot image; the file makers are in ImageFiles.h.
#ifndef QUORVEL_TEST_HOST_TOOL_H
#define QUORVEL_TEST_HOST_TOOL_H

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <string.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include <ByteOrder.h>
#include <Screen.h>
#include <TranslatorFormats.h>

#include <gtest/gtest.h>

#include "ImageFiles.h"

extern char **environ;

inline Bytes ReadBytes(const std::string &path)
{
	std::ifstream in(path, std::ios::binary);
	return Bytes(std::istreambuf_iterator<char>(in),
		std::istreambuf_iterator<char>());
}

inline void WriteBytes(const std::string &path, const Bytes &bytes)
{
	std::ofstream out(path, std::ios::binary);
	out.write(reinterpret_cast<const char *>(bytes.data()), bytes.size());
}

struct RunResult {
	int exitCode = -1;
	std::string out;
	std::string err;
	// The peak resident memory of the program run, in bytes (of the shell,
	// or the largest of its commands, for Shell), or of the test process
	// when it held more.
	int64 peakMemory = -1;

	// The lines written to standard error.
	std::vector<std::string> ErrorLines() const
	{
		std::vector<std::string> lines;
		std::istringstream in(err);
		for (std::string line; std::getline(in, line);) {
			lines.push_back(line);
		}
		return lines;
	}
};

// A test's own folder, holding its files and its settings folder
// (XDG_CONFIG_HOME of every run, so stored settings stay in the test).
class HostTest : public ::testing::Test {
protected:
	void SetUp() override
	{
		char pattern[] = "/tmp/quorvel-host-XXXXXX";
		ASSERT_NE(mkdtemp(pattern), nullptr);
		fFolder = pattern;
		std::filesystem::create_directory(fFolder + "/config");
	}

	void TearDown() override
	{
		std::filesystem::remove_all(fFolder);
	}

	std::string Path(const std::string &name) const
	{
		return fFolder + "/" + name;
	}

	// The names in the folder (or a folder inside it), settings aside.
	std::vector<std::string> Listing(const std::string &sub = "") const
	{
		std::vector<std::string> names;
		for (const auto &entry
				: std::filesystem::directory_iterator(Path(sub))) {
			std::string name = entry.path().filename().string();
			if (name != "config") {
				names.push_back(name);
			}
		}
		std::sort(names.begin(), names.end());
		return names;
	}

	// Runs quorvel with the arguments in the test's folder. Standard
	// input comes from the file stdinPath (or /dev/null); standard output
	// goes to stdoutPath when given.
	RunResult Run(const std::vector<std::string> &arguments,
		const std::string &stdinPath = "/dev/null",
		const std::string &stdoutPath = "")
	{
		std::vector<std::string> command = {QUORVEL_HOST_PATH};
		command.insert(command.end(), arguments.begin(), arguments.end());
		return Spawn(command, stdinPath, stdoutPath);
	}

	// Runs a shell command line in the test's folder, $Q standing for
	// quorvel.
	RunResult Shell(const std::string &line)
	{
		return Spawn({"/bin/sh", "-c", "Q=" + std::string(QUORVEL_HOST_PATH)
			+ "; " + line}, "/dev/null", "");
	}

	// Starts a shell command line as Shell does, with its output thrown
	// away, and leaves it running; -1 when it cannot start.
	pid_t StartShell(const std::string &line)
	{
		return Start({"/bin/sh", "-c", "Q=" + std::string(QUORVEL_HOST_PATH)
			+ "; " + line}, "/dev/null", "/dev/null", "/dev/null");
	}

	std::string fFolder;

private:
	RunResult Spawn(std::vector<std::string> command,
		const std::string &stdinPath, const std::string &stdoutPath)
	{
		std::string outPath = stdoutPath.empty() ? Path(".stdout")
			: stdoutPath;
		std::string errPath = Path(".stderr");
		RunResult result;
		// The child starts in this process's memory, whose peak it would
		// report as its own: the peak is brought down to what is resident
		// now (where the kernel allows).
		std::ofstream("/proc/self/clear_refs") << "5";
		pid_t pid = Start(command, stdinPath, outPath, errPath);
		if (pid > 0) {
			int status = 0;
			struct rusage usage;
			wait4(pid, &status, 0, &usage);
			result.peakMemory = (int64)usage.ru_maxrss * 1024;
			result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status)
				: 128 + WTERMSIG(status);
		}
		if (stdoutPath.empty()) {
			Bytes out = ReadBytes(outPath);
			result.out.assign(out.begin(), out.end());
			std::filesystem::remove(outPath);
		}
		Bytes err = ReadBytes(errPath);
		result.err.assign(err.begin(), err.end());
		std::filesystem::remove(errPath);
		return result;
	}

	// Starts the command in the test's folder with its settings folder,
	// the signals at their defaults.
	pid_t Start(std::vector<std::string> command,
		const std::string &stdinPath, const std::string &outPath,
		const std::string &errPath)
	{
		posix_spawn_file_actions_t actions;
		posix_spawn_file_actions_init(&actions);
		posix_spawn_file_actions_addopen(&actions, 0, stdinPath.c_str(),
			O_RDONLY, 0);
		posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(),
			O_WRONLY | O_CREAT | O_TRUNC, 0644);
		posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(),
			O_WRONLY | O_CREAT | O_TRUNC, 0644);
		posix_spawn_file_actions_addchdir_np(&actions, fFolder.c_str());

		std::vector<std::string> environment;
		for (char **entry = environ; *entry != NULL; entry++) {
			if (strncmp(*entry, "XDG_CONFIG_HOME=", 16) != 0) {
				environment.push_back(*entry);
			}
		}
		environment.push_back("XDG_CONFIG_HOME=" + Path("config"));

		posix_spawnattr_t attributes;
		posix_spawnattr_init(&attributes);
		sigset_t defaults;
		sigfillset(&defaults);
		posix_spawnattr_setsigdefault(&attributes, &defaults);
		posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);

		pid_t pid;
		std::vector<char *> argv = Pointers(command);
		std::vector<char *> envp = Pointers(environment);
		if (posix_spawn(&pid, argv[0], &actions, &attributes, argv.data(),
				envp.data()) != 0) {
			pid = -1;
		}
		posix_spawnattr_destroy(&attributes);
		posix_spawn_file_actions_destroy(&actions);
		return pid;
	}

	static std::vector<char *> Pointers(std::vector<std::string> &strings)
	{
		std::vector<char *> pointers;
		for (std::string &s : strings) {
			pointers.push_back(&s[0]);
		}
		pointers.push_back(NULL);
		return pointers;
	}
};

// --- Pilot images ------------------------------------------------------------

// The fields of a Pilot image written by the translator: the database
// name, then the image header at byte 86 and the pixel data at 144.
struct PilotFile {
	std::string name;
	uint8 packing;
	uint8 pixelType;
	int width;
	int height;
	size_t size;
};

inline PilotFile ReadPilotFile(const Bytes &bytes)
{
	EXPECT_GE(bytes.size(), 144u);
	if (bytes.size() < 144) {
		return PilotFile();
	}
	PilotFile file;
	file.name.assign(reinterpret_cast<const char *>(bytes.data()),
		strnlen(reinterpret_cast<const char *>(bytes.data()), 32));
	file.packing = bytes[86 + 32];
	file.pixelType = bytes[86 + 33];
	file.width = (int16)GetBE16(bytes, 86 + 54);
	file.height = (int16)GetBE16(bytes, 86 + 56);
	file.size = bytes.size();
	return file;
}

// The grey that a Pilot image's level (0 white .. 3 black) comes back as:
// the main screen's colour nearest to 255, 170, 85 or 0.
inline uint8 GreyOfLevel(int level)
{
	static const uint8 kLevels[] = {255, 170, 85, 0};
	BScreen screen(B_MAIN_SCREEN_ID);
	uint8 grey = kLevels[level];
	return screen.ColorForIndex(screen.IndexForColor(grey, grey, grey)).red;
}

#endif // QUORVEL_TEST_HOST_TOOL_H
