// The adversarial inputs of tests/hardening/crashers: each must give the
// status its line in crashers/EXPECTED names, cleanly (nothing written on
// a refusal, whole output otherwise), and every file of the folder must
// have such a line.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>
#include <string>

#include "HardeningSupport.h"

namespace {

const std::string kFolder
	= std::string(QUORVEL_SOURCE_DIR) + "/tests/hardening/crashers";

// File name to expected status name, from the EXPECTED manifest.
std::map<std::string, std::string> ReadManifest()
{
	std::map<std::string, std::string> expected;
	std::ifstream manifest(kFolder + "/EXPECTED");
	for (std::string line; std::getline(manifest, line);) {
		std::istringstream fields(line);
		std::string name;
		std::string status;
		if (fields >> name >> status && name[0] != '#') {
			expected[name] = status;
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

class Crashers : public testing::Test {
protected:
	void SetUp() override { ASSERT_EQ(fAddon.InitCheck(), B_OK); }

	LoadedTranslator fAddon;
};

TEST_F(Crashers, EveryFileIsListedWithItsStatus)
{
	const std::map<std::string, std::string> expected = ReadManifest();
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

TEST_F(Crashers, EachFailsCleanlyWithItsStatus)
{
	for (const auto &entry : ReadManifest()) {
		const std::string &name = entry.first;
		const Bytes input = ReadFile(kFolder + "/" + name);
		const status_t expected = StatusNamed(entry.second);
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

} // namespace
