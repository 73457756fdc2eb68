// --help, --version and usage errors.
#include <stdio.h>

#include "Commands.h"

namespace {

const char kHelp[] =
	"Usage: quorvel [--translators DIR] COMMAND [ARGUMENTS]\n"
	"\n"
	"Converts pictures to and from PalmPilot images (Palm databases of\n"
	"four-grey or black-and-white pictures), and between any formats the\n"
	"Translation Kit's translators read and write, as an application on the\n"
	"platform does: the translators are add-ons loaded by the kit's roster.\n"
	"\n"
	"Commands:\n"
	"  convert INPUT OUTPUT [OPTIONS]      convert one file; \"-\" is standard\n"
	"                                      input or output\n"
	"  convert --to FORMAT FILE... -o DIR  convert many files into DIR\n"
	"  identify FILE...                    show each file's format, size,\n"
	"                                      depth and translator; for Pilot\n"
	"                                      images also the packing, database\n"
	"                                      name and whether the file is cut\n"
	"                                      short\n"
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
	"PNM (P1-P6) and the kit's bitmap streams (.bits); writes Pilot images,\n"
	"PNG, JPEG, PNM and bitmap streams.\n"
	"\n"
	"Conversion options:\n"
	"  --to FORMAT            pdb, png, jpg, pnm, pbm, pgm, ppm or bits\n"
	"                         (default: the output's extension)\n"
	"  --name NAME            the Pilot database's name (default: the\n"
	"                         input's file name without its extension)\n"
	"  --compression, --no-compression      pack the pixel data\n"
	"  --dither, --no-dither                diffuse the grey error\n"
	"  --high-contrast, --no-high-contrast  the high-contrast grey levels\n"
	"  -o, --output-dir DIR   write each output to DIR, named after its input\n"
	"  -j, --jobs N           convert N files at a time (default 1)\n"
	"  -n, --no-clobber       never replace an existing file (devices, FIFOs\n"
	"                         and sockets are written as ever)\n"
	"  --strict               refuse a Pilot image that is cut short\n"
	"                         (otherwise it converts, the missing part\n"
	"                         white, with a warning)\n"
	"  --max-pixels N         refuse pictures of more than N pixels (default\n"
	"                         134217728, at most 268435456; also\n"
	"                         QUORVEL_MAX_PIXELS=N)\n"
	"Translator options not given keep the translator's stored defaults.\n"
	"An output that is a symbolic link replaces the file it points to; a\n"
	"batch never writes over one of its inputs.\n"
	"\n"
	"General options:\n"
	"  --translators DIR      load the translators from DIR (default:\n"
	"                         $TRANSLATORS_PATH, else the user's folder\n"
	"                         $XDG_DATA_HOME/TranslationKit/translators\n"
	"                         and the ones installed with quorvel)\n"
	"  -h, --help             show this help\n"
	"  --version              show the version\n"
	"\n"
	"Exit status: 0 success, 1 a file failed, 2 usage error.\n"
	"More, with examples: man quorvel\n";

} // namespace

int UsageError(const std::string &message)
{
	fprintf(stderr, "quorvel: %s\nTry 'quorvel --help' for more.\n",
		message.c_str());
	return kExitUsage;
}

void PrintHelp()
{
	fputs(kHelp, stdout);
}

void PrintVersion()
{
	printf("quorvel %s\n", QUORVEL_VERSION);
}
