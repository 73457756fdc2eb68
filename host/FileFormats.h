// The formats quorvel reads and writes, and how each is recognised: an
// input by its content, an output by the name given with --to or by the
// output file's extension.
#ifndef QUORVEL_HOST_FILE_FORMATS_H
#define QUORVEL_HOST_FILE_FORMATS_H

#include <string>

enum class InputFormat { Pilot, BitmapStream, Png, Jpeg, Pnm };

// Pnm writes whichever of PBM, PGM and PPM fits the picture; Pbm, Pgm and
// Ppm ask for that one.
enum class OutputFormat { Pilot, BitmapStream, Png, Pnm, Pbm, Pgm, Ppm };

// "pdb", "bits", "png", "pnm", "pbm", "pgm", "ppm", in any case.
bool ParseOutputFormat(const std::string &name, OutputFormat *format);

// From the extension of a path ("out/beach.pdb"); false when there is
// none or it names no output format.
bool OutputFormatFromPath(const std::string &path, OutputFormat *format);

// The extension of a file of that format, without the dot.
const char *OutputExtension(OutputFormat format);

const char *InputFormatName(InputFormat format);

// The last component of a path, and that without its extension.
std::string BaseName(const std::string &path);
std::string StemName(const std::string &path);

#endif // QUORVEL_HOST_FILE_FORMATS_H
