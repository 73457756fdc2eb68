// The module as the roster finds it: its file name, its shared-object name
// and exactly the nine entry points, nothing else.
#include <stdio.h>

#include <set>
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
