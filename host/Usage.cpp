// --help, --version and usage errors.
#include <stdio.h>

#include "Commands.h"
#include "PixelLimit.h"

namespace {

const char kHelp[] =
	"Usage: quorvel [--translators DIR] COMMAND [ARGUMENTS]\n"
	"\n"
	"Converts pictures to and from PalmPilot images (Palm databases of\n"
	"black-and-white, four-grey or sixteen-grey pictures), and between any\n"
	"formats the Translation Kit's translators read and write, as an\n"
	"application on the platform does: the translators are add-ons loaded\n"
	"by the kit's roster.\n"
	"\n"
	"Commands:\n"
	"  convert INPUT OUTPUT [OPTIONS]      convert one file; \"-\" is standard\n"
	"                                      input or output\n"
	"  convert [--to FORMAT] FILE... -o DIR  convert many files into DIR\n"
	"                                      (default: pictures to pdb, Pilot\n"
	"                                      images to png); -r walks folders\n"
	"  identify [--json] FILE...           describe each file as stored:\n"
	"                                      format, size, depth, colour kind,\n"
	"                                      alpha, interlace; for Pilot images\n"
	"                                      the database name, packing, record\n"
	"                                      layout and whether it is cut short\n"
	"  view [--force] FILE...              show pictures in the terminal\n"
	"  help [COMMAND]                      this help, or a command's\n"
	"  settings                            show the translator's stored\n"
	"                                      defaults\n"
	"  settings KEY=VALUE...               change them; keys: name,\n"
	"                                      compression, dithering,\n"
	"                                      high-contrast; values: on/off\n"
	"  settings --view                     print the configuration view\n"
	"  translators                         list the loaded translators and\n"
	"                                      the formats each reads and writes\n"
	"\n"
	"With the standard translators: reads Pilot images (.pdb), PNG, JPEG,\n"
	"PNM (P1-P6), GIF, BMP and the kit's bitmap streams (.bits); writes\n"
	"Pilot images, PNG, JPEG, PNM, BMP and bitmap streams.\n"
	"\n"
	"Conversion options:\n"
	"  --to FORMAT            pdb, png, jpg, pnm, pbm, pgm, ppm, bmp or bits\n"
	"                         (default: the output's extension)\n"
	"  --name NAME            the Pilot database's name (default: the\n"
	"                         input's file name without its extension)\n"
	"  --compression, --no-compression      pack the pixel data\n"
	"  --dither, --no-dither                diffuse the grey error\n"
	"  --high-contrast, --no-high-contrast  the high-contrast grey levels\n"
	"  --depth 1|2|4|auto     the Pilot image's depth: black and white, four\n"
	"                         greys, sixteen greys, or (auto) 1 for\n"
	"                         black-and-white pictures and 2 for the rest\n"
	"  --fit WxH, --fit screen  scale down to fit WxH (screen: %dx%d),\n"
	"                         keeping the aspect ratio; --enlarge scales\n"
	"                         small pictures up as well\n"
	"  --full-size            keep a Pilot image's full size even when its\n"
	"                         record is longer than a handheld loads\n"
	"                         (otherwise it is scaled down until it fits)\n"
	"  --preview              show the Pilot image in the terminal instead\n"
	"                         of writing it\n"
	"  -r, --recursive        walk folders among the inputs; the outputs\n"
	"                         mirror their tree under -o DIR\n"
	"  -o, --output-dir DIR   write each output to DIR, named after its input\n"
	"  -j, --jobs N           convert N files at a time (default 1)\n"
	"  -n, --no-clobber       never replace an existing file (devices, FIFOs\n"
	"                         and sockets are written as ever)\n"
	"  --strict               refuse a picture whose file is cut short (a\n"
	"                         Pilot image, a BMP whose run-length data ends\n"
	"                         early; otherwise it converts, the missing\n"
	"                         part white, with a warning)\n"
	"  --max-pixels N         refuse pictures of more than N pixels (default\n"
	"                         %llu, at most %llu; also\n"
	"                         QUORVEL_MAX_PIXELS=N). Without it a file may\n"
	"                         claim %llu pixels a byte, any file %llu\n"
	"Translator options not given keep the translator's stored defaults.\n"
	"An output that is a symbolic link replaces the file it points to; no\n"
	"conversion writes over its own input or a write-protected file.\n"
	"\n"
	"General options:\n"
	"  --translators DIR      load the translators from DIR (default:\n"
	"                         $TRANSLATORS_PATH, else the user's folder\n"
	"                         $XDG_DATA_HOME/TranslationKit/translators\n"
	"                         and the ones installed with quorvel)\n"
	"  -q, --quiet            errors only\n"
	"  -v, --verbose          a line for each file written\n"
	"  -h, --help             show this help\n"
	"  -V, --version          show the version\n"
	"\n"
	"Exit status: 0 success, 1 a file failed, 2 usage error.\n"
	"More, with examples: man quorvel\n";

const char kShortUsage[] =
	"Usage: quorvel COMMAND [ARGUMENTS]\n"
	"  quorvel convert beach.png beach.pdb   a picture to a Pilot image\n"
	"  quorvel convert beach.pdb beach.png   and back\n"
	"  quorvel identify FILE...              what a file holds\n"
	"  quorvel view FILE...                  show it in the terminal\n"
	"Commands: convert, identify, view, settings, translators, help.\n"
	"Try 'quorvel --help' for more, 'quorvel help COMMAND' for one.\n";

struct CommandHelp {
	const char *command;
	const char *text;
};

const CommandHelp kCommandHelp[] = {
	{"convert",
		"Usage: quorvel convert [OPTIONS] INPUT OUTPUT\n"
		"       quorvel convert [OPTIONS] [--to FORMAT] [-r] FILE... -o DIR\n"
		"Converts a picture to the format of OUTPUT's extension or --to:\n"
		"pdb, png, jpg, pnm, pbm, pgm, ppm, bmp or bits. Into a folder,\n"
		"pictures become pdb and Pilot images png unless --to says. A Pilot\n"
		"image is scaled down until a handheld can load it (--full-size\n"
		"keeps it whole).\n"
		"Options: --depth 1|2|4|auto, --fit WxH|screen, --enlarge, --full-size,\n"
		"--preview, --name NAME, --[no-]compression, --[no-]dither,\n"
		"--[no-]high-contrast, -j N, -n, -r, --strict, --max-pixels N, -q, -v\n"
		"('quorvel --help' explains each).\n"},
	{"identify",
		"Usage: quorvel identify [--json] FILE...\n"
		"Describes each file as stored, reading headers only: format, size,\n"
		"bits a sample, colour kind, alpha, interlace and translator; for a\n"
		"Pilot image the database name, depth, packing, record layout and\n"
		"whether it is cut short. --json prints one JSON object a line.\n"},
	{"view",
		"Usage: quorvel view [--force] FILE...\n"
		"Shows each picture in the terminal at the terminal's size, in\n"
		"24-bit colour where COLORTERM says the terminal has it, else in\n"
		"greys. Refuses when standard output is no terminal unless --force.\n"},
	{"settings",
		"Usage: quorvel settings [KEY=VALUE...] [--view]\n"
		"Shows or changes the translator's stored defaults: name,\n"
		"compression, dithering, high-contrast (values on/off).\n"},
	{"translators",
		"Usage: quorvel translators\n"
		"Lists the loaded translators and the formats each reads and writes.\n"},
	{"help",
		"Usage: quorvel help [COMMAND]\n"
		"Shows the help, or that of one command.\n"},
};

} // namespace

void PrintShortUsage()
{
	fputs(kShortUsage, stderr);
}

int PrintCommandHelp(const std::string &command)
{
	if (command.empty()) {
		PrintHelp();
		return kExitSuccess;
	}
	for (const CommandHelp &help : kCommandHelp) {
		if (command == help.command) {
			fputs(help.text, stdout);
			return kExitSuccess;
		}
	}
	return UsageError("no command '" + command + "' (convert, identify, "
		"view, settings, translators or help)");
}

int UsageError(const std::string &message)
{
	fprintf(stderr, "quorvel: %s\nTry 'quorvel --help' for more.\n",
		message.c_str());
	return kExitUsage;
}

void PrintHelp()
{
	// The limits from where they are defined, not restated here.
	printf(kHelp, (int)PILOT_SCREEN_WIDTH, (int)PILOT_SCREEN_HEIGHT,
		(unsigned long long)kDefaultMaxPixels,
		(unsigned long long)kLargestMaxPixels,
		(unsigned long long)kPixelsPerFileByte,
		(unsigned long long)kPixelsForAnyFile);
}

void PrintVersion()
{
	printf("quorvel %s\n", QUORVEL_VERSION);
}
