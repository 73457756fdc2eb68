#include "FileFormats.h"

#include <ctype.h>

#include <TranslatorFormats.h>

namespace {

struct NamedFormat {
	const char *name;
	OutputFormat format;
	uint32 type;
	const char *description;
};

// The first name of each format is the extension it is written with.
const NamedFormat kOutputFormats[] = {
	{"pdb", OutputFormat::Pilot, PILOT_IMAGE_TYPE, "a Pilot image"},
	{"bits", OutputFormat::BitmapStream, B_TRANSLATOR_BITMAP,
		"a bitmap stream"},
	{"png", OutputFormat::Png, B_PNG_FORMAT, "PNG"},
	{"jpg", OutputFormat::Jpeg, B_JPEG_FORMAT, "JPEG"},
	{"jpeg", OutputFormat::Jpeg, B_JPEG_FORMAT, "JPEG"},
	{"pnm", OutputFormat::Pnm, B_PPM_FORMAT, "PNM"},
	{"pbm", OutputFormat::Pbm, 'PBM ', "PBM"},
	{"pgm", OutputFormat::Pgm, 'PGM ', "PGM"},
	{"ppm", OutputFormat::Ppm, B_PPM_FORMAT, "PPM"},
	{"bmp", OutputFormat::Bmp, B_BMP_FORMAT, "BMP"},
};

const NamedFormat &EntryOf(OutputFormat format)
{
	for (const NamedFormat &entry : kOutputFormats) {
		if (entry.format == format) {
			return entry;
		}
	}
	return kOutputFormats[0];
}

std::string Lowered(const std::string &text)
{
	std::string lowered(text);
	for (char &c : lowered) {
		c = (char)tolower((unsigned char)c);
	}
	return lowered;
}

} // namespace

bool ParseOutputFormat(const std::string &name, OutputFormat *format)
{
	std::string lowered = Lowered(name);
	for (const NamedFormat &entry : kOutputFormats) {
		if (lowered == entry.name) {
			*format = entry.format;
			return true;
		}
	}
	return false;
}

std::string UnknownOutputFormat(const std::string &name)
{
	static const char kFormats[] =
		"pdb, png, jpg, pnm, pbm, pgm, ppm, bmp or bits";
	if (Lowered(name) == "gif") {
		return std::string("GIF pictures are read, not written: use ")
			+ kFormats;
	}
	return "unknown output format '" + name + "' (" + kFormats + ")";
}

bool OutputFormatFromPath(const std::string &path, OutputFormat *format)
{
	std::string base = BaseName(path);
	size_t dot = base.rfind('.');
	if (dot == std::string::npos || dot == 0) {
		return false;
	}
	return ParseOutputFormat(base.substr(dot + 1), format);
}

const char *OutputExtension(OutputFormat format)
{
	return EntryOf(format).name;
}

uint32 OutputType(OutputFormat format)
{
	return EntryOf(format).type;
}

uint32 TranslateType(OutputFormat format)
{
	return format == OutputFormat::Pnm ? 0 : OutputType(format);
}

std::string OtherFormatsHint(OutputFormat format)
{
	switch (format) {
		case OutputFormat::Pbm:
		case OutputFormat::Pgm:
			return " (use .pnm or .png)";
		default:
			return " (pdb, png, pnm and bits take any picture)";
	}
}

bool StoresGreysAsGreys(OutputFormat format)
{
	return format == OutputFormat::Png || format == OutputFormat::Jpeg
		|| format == OutputFormat::Pnm || format == OutputFormat::Pgm
		|| format == OutputFormat::Bmp;
}

const char *OutputFormatName(OutputFormat format)
{
	return EntryOf(format).description;
}

std::string BaseName(const std::string &path)
{
	size_t slash = path.rfind('/');
	return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string FolderOf(const std::string &path)
{
	size_t slash = path.rfind('/');
	if (slash == std::string::npos) {
		return ".";
	}
	return slash == 0 ? "/" : path.substr(0, slash);
}

std::string StemName(const std::string &path)
{
	std::string base = BaseName(path);
	size_t dot = base.rfind('.');
	return dot == std::string::npos || dot == 0 ? base : base.substr(0, dot);
}
