// The adversarial inputs of tests/hardening/crashers: each must give the
// status its line in crashers/EXPECTED names, cleanly (nothing written on
// a refusal, whole output otherwise), for the reason the line names (what
// the header check says of it), and every file of the folder must have
// such a line. The pictures marked FAILS go to the quorvel host,
// which must refuse them in one line without taking the memory their
// headers claim.
#include <fcntl.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>
#include <string>

#include "BitmapHeader.h"
#include "HardeningSupport.h"
#include "PilotImageCheck.h"

namespace {

const std::string kFolder
	= std::string(QUORVEL_SOURCE_DIR) + "/tests/hardening/crashers";

struct Expected {
	std::string status;
	std::string reason;
};

// File name to expected status and reason, from the EXPECTED manifest.
std::map<std::string, Expected> ReadManifest()
{
	std::map<std::string, Expected> expected;
	std::ifstream manifest(kFolder + "/EXPECTED");
	for (std::string line; std::getline(manifest, line);) {
		std::istringstream fields(line);
		std::string name;
		Expected entry;
		if (fields >> name >> entry.status >> entry.reason
			&& name[0] != '#') {
			expected[name] = entry;
		}
	}
	return expected;
}

Bytes ReadFile(const std::string &path)
{
	std::ifstream in(path, std::ios::binary);
	return Bytes(std::istreambuf_iterator<char>(in),
		std::istreambuf_iterator<char>());
}

status_t StatusNamed(const std::string &name)
{
	if (name == "B_OK") {
		return B_OK;
	}
	if (name == "B_ERROR") {
		return B_ERROR;
	}
	if (name == "B_NO_TRANSLATOR") {
		return B_NO_TRANSLATOR;
	}
	ADD_FAILURE() << "unknown status " << name;
	return B_BAD_VALUE;
}

bool EndsWith(const std::string &text, const std::string &end)
{
	return text.size() >= end.size()
		&& text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// What the header check says of a file to be converted.
std::string ReasonFor(const std::string &name, const Bytes &input)
{
	BMemoryIO source(input.data(), input.size());
	if (EndsWith(name, ".pdb")) {
		PilotImageLayout layout;
		return HeaderCheckName(CheckPilotImage(&source, kConverting, &layout));
	}
	TranslatorBitmap header;
	PilotSize size;
	return HeaderCheckName(CheckBitmapHeader(&source, kConverting, &header,
		&size));
}

#ifdef QUORVEL_HOST_PATH
struct HostRun {
	int exitCode = -1;
	std::string errors;
	// The child's peak resident memory.
	long peakKiB = -1;
	bool wroteOutput = false;
};

// quorvel convert input out.pdb, in a folder of its own.
HostRun ConvertWithHost(const std::string &input)
{
	HostRun run;
	char pattern[] = "/tmp/quorvel-crashers-XXXXXX";
	if (mkdtemp(pattern) == NULL) {
		return run;
	}
	const std::string folder = pattern;
	const std::string output = folder + "/out.pdb";
	const std::string errors = folder + "/errors";
	posix_spawn_file_actions_t actions;
	posix_spawn_file_actions_init(&actions);
	posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
	posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
	posix_spawn_file_actions_addopen(&actions, 2, errors.c_str(),
		O_WRONLY | O_CREAT | O_TRUNC, 0644);
	const char *arguments[] = {QUORVEL_HOST_PATH, "convert", input.c_str(),
		output.c_str(), NULL};
	pid_t child;
	if (posix_spawn(&child, QUORVEL_HOST_PATH, &actions, NULL,
			const_cast<char **>(arguments), environ) == 0) {
		int status;
		struct rusage usage;
		if (wait4(child, &status, 0, &usage) == child && WIFEXITED(status)) {
			run.exitCode = WEXITSTATUS(status);
			run.peakKiB = usage.ru_maxrss;
		}
	}
	posix_spawn_file_actions_destroy(&actions);
	const Bytes text = ReadFile(errors);
	run.errors.assign(text.begin(), text.end());
	run.wroteOutput = std::filesystem::exists(output);
	std::filesystem::remove_all(folder);
	return run;
}
#endif

class Crashers : public testing::Test {
protected:
	void SetUp() override { ASSERT_EQ(fAddon.InitCheck(), B_OK); }

	LoadedTranslator fAddon;
};

TEST_F(Crashers, EveryFileIsListedWithItsStatus)
{
	const std::map<std::string, Expected> expected = ReadManifest();
	std::set<std::string> files;
	for (const auto &entry : std::filesystem::directory_iterator(kFolder)) {
		const std::string name = entry.path().filename().string();
		if (name != "EXPECTED") {
			files.insert(name);
			EXPECT_EQ(expected.count(name), 1u) << name << " is not listed";
		}
	}
	for (const auto &entry : expected) {
		EXPECT_EQ(files.count(entry.first), 1u)
			<< entry.first << " is listed but missing";
	}
	EXPECT_GE(files.size(), 20u);
}

TEST_F(Crashers, EachFailsCleanlyWithItsStatusForItsReason)
{
	for (const auto &entry : ReadManifest()) {
		const std::string &name = entry.first;
		if (entry.second.status == "FAILS") {
			continue;
		}
		const Bytes input = ReadFile(kFolder + "/" + name);
		EXPECT_EQ(ReasonFor(name, input), entry.second.reason) << name;
		const status_t expected = StatusNamed(entry.second.status);
		if (EndsWith(name, ".pdb")) {
			const Outcome outcome = PilotToBitmap(fAddon, input);
			EXPECT_EQ(outcome.status, expected) << name;
			ExpectCleanReading(outcome, name);
		} else if (EndsWith(name, ".bits")) {
			BMessage options = ExplicitOptions("Crasher", true, true, false);
			const Outcome outcome = BitmapToPilot(fAddon, input, &options);
			EXPECT_EQ(outcome.status, expected) << name;
			ExpectCleanWriting(fAddon, outcome, name);
		} else {
			ADD_FAILURE() << name << ": neither .pdb nor .bits";
		}
	}
}

// Far below any of the pictures claimed, and above what quorvel takes
// for a small picture, also under the sanitizers.
const long kHostPeakLimitKiB = 256 * 1024;

TEST_F(Crashers, HostRefusesClaimsInOneLineWithinBoundedMemory)
{
#ifndef QUORVEL_HOST_PATH
	GTEST_SKIP() << "the quorvel host is not built";
#else
	int pictures = 0;
	for (const auto &entry : ReadManifest()) {
		if (entry.second.status != "FAILS") {
			continue;
		}
		pictures++;
		const std::string &name = entry.first;
		const HostRun run = ConvertWithHost(kFolder + "/" + name);
		EXPECT_EQ(run.exitCode, 1) << name;
		EXPECT_EQ(run.errors.rfind("quorvel: ", 0), 0u) << name;
		EXPECT_EQ(std::count(run.errors.begin(), run.errors.end(), '\n'), 1)
			<< name << ": " << run.errors;
		EXPECT_FALSE(run.wroteOutput) << name;
		EXPECT_GT(run.peakKiB, 0) << name;
		EXPECT_LT(run.peakKiB, kHostPeakLimitKiB) << name;
	}
	EXPECT_GE(pictures, 1);
#endif
}

} // namespace
