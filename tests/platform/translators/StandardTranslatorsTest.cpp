// The standard translators as the roster finds them: module names,
// exactly the nine entry points, the format tables the host relies on,
// and each claiming only its own files when all are loaded from the one
// folder with the Pilot add-on.
#include <stdio.h>

#include <fstream>
#include <iterator>
#include <map>
#include <set>

#include <View.h>

#include "StandardTranslators.h"

namespace {

const char *const kModules[] = {PNG_TRANSLATOR_PATH, JPEG_TRANSLATOR_PATH,
	PPM_TRANSLATOR_PATH, GIF_TRANSLATOR_PATH, BMP_TRANSLATOR_PATH};

std::string CommandOutput(const std::string &command)
{
	std::string output;
	FILE *pipe = popen(command.c_str(), "r");
	char buffer[512];
	while (pipe != NULL && fgets(buffer, sizeof(buffer), pipe) != NULL) {
		output += buffer;
	}
	if (pipe != NULL) {
		pclose(pipe);
	}
	return output;
}

std::set<std::string> Lines(const std::string &text)
{
	std::set<std::string> lines;
	std::istringstream in(text);
	for (std::string line; std::getline(in, line);) {
		if (!line.empty() && line.find('@') == std::string::npos) {
			lines.insert(line);
		}
	}
	return lines;
}

// type -> MIME of a format table.
std::map<uint32, std::string> Table(const translation_format *formats,
	int32 count)
{
	std::map<uint32, std::string> table;
	for (int32 i = 0; i < count; i++) {
		EXPECT_EQ(formats[i].group, (uint32)B_TRANSLATOR_BITMAP);
		table[formats[i].type] = formats[i].MIME;
	}
	return table;
}

Bytes SampleFile(const char *name)
{
	std::ifstream in(std::string(QUORVEL_SOURCE_DIR) + "/samples/" + name,
		std::ios::binary);
	return Bytes(std::istreambuf_iterator<char>(in),
		std::istreambuf_iterator<char>());
}

BmpFields OnePixelBmp()
{
	BmpFields bmp;
	bmp.width = 1;
	bmp.height = 1;
	bmp.data = {1, 2, 3, 0};
	return bmp;
}

TEST(StandardTranslators, ModulesExportExactlyTheNineEntryPoints)
{
	const std::set<std::string> expected = {"translatorName",
		"translatorInfo", "translatorVersion", "inputFormats",
		"outputFormats", "Identify", "Translate", "MakeConfig",
		"GetConfigMessage"};
	for (const char *path : kModules) {
		std::string file = path;
		std::string name = file.substr(file.rfind('/') + 1);
		std::set<std::string> found = Lines(CommandOutput(
			"nm -D --defined-only " + file + " | awk '{print $3}'"));
		found.erase(name);
		EXPECT_EQ(found, expected) << name;
		EXPECT_NE(CommandOutput("readelf -d " + file).find(
			"Library soname: [" + name + "]"), std::string::npos) << name;
	}
}

TEST(StandardTranslators, FormatTablesNameTheAgreedTypesAndMimeTypes)
{
	const uint32 bits = B_TRANSLATOR_BITMAP;
	const std::string bitmap = "image/x-be-bitmap";
	const std::map<uint32, std::string> expectedIn[] = {
		{{'PNG ', "image/png"}, {bits, bitmap}},
		{{'JPEG', "image/jpeg"}, {bits, bitmap}},
		{{'PPM ', "image/x-portable-anymap"}, {bits, bitmap}},
		{{'GIF ', "image/gif"}},
		{{'BMP ', "image/bmp"}, {bits, bitmap}}};
	const std::map<uint32, std::string> expectedOut[] = {
		{{'PNG ', "image/png"}, {bits, bitmap}},
		{{'JPEG', "image/jpeg"}, {bits, bitmap}},
		{{'PPM ', "image/x-portable-pixmap"},
			{'PGM ', "image/x-portable-graymap"},
			{'PBM ', "image/x-portable-bitmap"}, {bits, bitmap}},
		{{bits, bitmap}},
		{{'BMP ', "image/bmp"}, {bits, bitmap}}};
	for (int i = 0; i < 5; i++) {
		StandardTranslator translator(kModules[i]);
		const translation_format *formats;
		int32 count;
		ASSERT_EQ(translator.Roster().GetInputFormats(translator.ID(),
			&formats, &count), B_OK);
		EXPECT_EQ(Table(formats, count), expectedIn[i]) << kModules[i];
		ASSERT_EQ(translator.Roster().GetOutputFormats(translator.ID(),
			&formats, &count), B_OK);
		EXPECT_EQ(Table(formats, count), expectedOut[i]) << kModules[i];

		const char *name;
		const char *info;
		int32 version;
		ASSERT_EQ(translator.Roster().GetTranslatorInfo(translator.ID(),
			&name, &info, &version), B_OK);
		EXPECT_GT(version, 0);
		BView *view = NULL;
		BRect extent;
		ASSERT_EQ(translator.Roster().MakeConfigurationView(translator.ID(),
			NULL, &view, &extent), B_OK);
		EXPECT_TRUE(extent.IsValid());
		delete view;
	}

	StandardTranslator jpeg(JPEG_TRANSLATOR_PATH);
	BMessage settings;
	ASSERT_EQ(jpeg.Roster().GetConfigurationMessage(jpeg.ID(), &settings),
		B_OK);
	int32 quality = 0;
	EXPECT_EQ(settings.FindInt32("quality", &quality), B_OK);
	EXPECT_EQ(quality, 90);
}

TEST(StandardTranslators, EachFileIsClaimedByItsOwnTranslatorFromTheFolder)
{
	BTranslatorRoster roster;
	ASSERT_EQ(roster.AddTranslators(NULL), B_OK);
	int32 count = 0;
	translator_id *list = NULL;
	ASSERT_EQ(roster.GetAllTranslators(&list, &count), B_OK);
	delete[] list;
	EXPECT_EQ(count, 6) << "the five and Quorvel";

	const struct {
		Bytes file;
		const char *translator;
		uint32 type;
	} cases[] = {
		{SampleFile("scene.png"), "PNG images", 'PNG '},
		{SampleFile("scene.jpg"), "JPEG images", 'JPEG'},
		{BytesOfText("P2 1 1 255 7"), "PPM images", 'PPM '},
		{MakeGif(1, 1, {0, 0, 0}, {0}), "GIF images", 'GIF '},
		{MakeBmp(OnePixelBmp()), "BMP images", 'BMP '},
	};
	for (const auto &c : cases) {
		BMemoryIO source(c.file.data(), c.file.size());
		translator_info *infos = NULL;
		int32 found = 0;
		ASSERT_EQ(roster.GetTranslators(&source, NULL, &infos, &found), B_OK);
		ASSERT_EQ(found, 1) << c.translator;
		const char *name;
		const char *info;
		int32 version;
		roster.GetTranslatorInfo(infos[0].translator, &name, &info, &version);
		EXPECT_STREQ(name, c.translator);
		EXPECT_EQ(infos[0].type, c.type);
		delete[] infos;
	}
}

} // namespace
