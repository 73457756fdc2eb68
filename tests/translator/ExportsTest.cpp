// The module as the roster finds it: its file name, its shared-object name
// and exactly the nine entry points, nothing else.
#include <stdio.h>

#include <set>
#include <vector>
#include <string>

#include <gtest/gtest.h>

static std::string CommandOutput(const std::string &command)
{
	std::string output;
	FILE *pipe = popen(command.c_str(), "r");
	if (pipe == NULL) {
		return output;
	}
	char buffer[512];
	while (fgets(buffer, sizeof(buffer), pipe) != NULL) {
		output += buffer;
	}
	pclose(pipe);
	return output;
}

TEST(Exports, ModuleExportsExactlyTheNineEntryPoints)
{
	std::string symbols = CommandOutput(std::string("nm -D --defined-only ")
		+ QUORVEL_ADDON_PATH + " | awk '{print $3}'");
	std::set<std::string> found;
	size_t start = 0;
	for (size_t end; (end = symbols.find('\n', start)) != std::string::npos;
			start = end + 1) {
		std::string name = symbols.substr(start, end - start);
		// The linker's version node is listed like a symbol.
		if (!name.empty() && name.find('@') == std::string::npos
			&& name != "Quorvel") {
			found.insert(name);
		}
	}
	const std::set<std::string> expected = {"translatorName",
		"translatorInfo", "translatorVersion", "inputFormats",
		"outputFormats", "Identify", "Translate", "MakeConfig",
		"GetConfigMessage"};
	EXPECT_EQ(found, expected);
}

TEST(Exports, ModuleIsNamedQuorvel)
{
	std::string path = QUORVEL_ADDON_PATH;
	EXPECT_EQ(path.substr(path.rfind('/') + 1), "Quorvel");
	std::string dynamic = CommandOutput(std::string("readelf -d ") + QUORVEL_ADDON_PATH);
	EXPECT_NE(dynamic.find("Library soname: [Quorvel]"), std::string::npos)
		<< dynamic;
}

// Every search path the loader reads from our binaries is absolute or
// relative to the binary itself. An empty entry, or one relative to
// nothing, is the folder the program is run in, where anyone could put a
// library of the same name.
TEST(Exports, LibrarySearchPathsNeverNameTheCurrentFolder)
{
	const std::string lib = std::string(QUORVEL_BINARY_DIR) + "/lib/";
	std::vector<std::string> binaries = {QUORVEL_ADDON_PATH,
		lib + "libbe.so", lib + "libtranslation.so"};
#ifdef QUORVEL_HOST_PATH
	binaries.push_back(QUORVEL_HOST_PATH);
#endif
	for (const std::string &binary : binaries) {
		std::string dynamic = CommandOutput("readelf -d " + binary
			+ " | sed -n 's/.*(R.*PATH).*\\[\\(.*\\)\\]/\\1/p'");
		ASSERT_FALSE(dynamic.empty()) << binary << " has no search path";
		dynamic.erase(dynamic.find_last_not_of('\n') + 1);
		std::string path;
		for (size_t start = 0, end = 0; end != std::string::npos;
				start = end + 1) {
			end = dynamic.find(':', start);
			path = dynamic.substr(start, end - start);
			EXPECT_TRUE(path.rfind("$ORIGIN", 0) == 0 || path.rfind("/", 0) == 0)
				<< binary << ": \"" << path << "\" in " << dynamic;
		}
	}
}
