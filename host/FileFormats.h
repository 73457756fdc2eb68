// The formats quorvel writes, named with --to or by the output file's
// extension, and the translator output type each is asked for by. Inputs
// need no such table: the roster recognises them by their content.
#ifndef QUORVEL_HOST_FILE_FORMATS_H
#define QUORVEL_HOST_FILE_FORMATS_H

#include <string>

#include <PilotTranslator.h>
#include <SupportDefs.h>

// Pnm writes whichever of PBM, PGM and PPM fits the picture; Pbm, Pgm and
// Ppm ask for that one.
enum class OutputFormat { Pilot, BitmapStream, Png, Jpeg, Pnm, Pbm, Pgm,
	Ppm, Bmp };

// "pdb", "bits", "png", "jpg" or "jpeg", "pnm", "pbm", "pgm", "ppm", "bmp",
// in any case.
bool ParseOutputFormat(const std::string &name, OutputFormat *format);

// Why a format name is no output format, in one line that names those
// that are: "GIF pictures are read, not written: use pdb, png, ...".
std::string UnknownOutputFormat(const std::string &name);

// From the extension of a path ("out/beach.pdb"); false when there is
// none or it names no output format.
bool OutputFormatFromPath(const std::string &path, OutputFormat *format);

// The extension of a file of that format, without the dot.
const char *OutputExtension(OutputFormat format);

// The output type by which the roster finds the format's translator, and
// the one that translator is asked to write: the same but for Pnm, which
// asks the PNM translator for 0, its default, the variant that fits the
// picture.
uint32 OutputType(OutputFormat format);
uint32 TranslateType(OutputFormat format);
const char *OutputFormatName(OutputFormat format);

// What to use instead when no translator writes the format from a
// picture (" (use .pgm, .pnm or .png)"); empty for formats that take any.
std::string OtherFormatsHint(OutputFormat format);

// True for the formats that store a grey picture in fewer bytes than a
// colour one (PNG, JPEG, PNM, PGM), which are therefore handed grey
// pictures as B_GRAY8.
bool StoresGreysAsGreys(OutputFormat format);

// The last component of a path, and that without its extension.
std::string BaseName(const std::string &path);
std::string StemName(const std::string &path);
// The folder a path names a file in: "." for a bare name, "/" at the root.
std::string FolderOf(const std::string &path);

#endif // QUORVEL_HOST_FILE_FORMATS_H
