#include "FileFormats.h"

#include <ctype.h>

namespace {

struct NamedFormat {
	const char *name;
	OutputFormat format;
};

// The first name of each format is the extension it is written with.
const NamedFormat kOutputFormats[] = {
	{"pdb", OutputFormat::Pilot},
	{"bits", OutputFormat::BitmapStream},
	{"png", OutputFormat::Png},
	{"pnm", OutputFormat::Pnm},
	{"pbm", OutputFormat::Pbm},
	{"pgm", OutputFormat::Pgm},
	{"ppm", OutputFormat::Ppm},
};

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
	for (const NamedFormat &entry : kOutputFormats) {
		if (entry.format == format) {
			return entry.name;
		}
	}
	return "";
}

const char *InputFormatName(InputFormat format)
{
	switch (format) {
		case InputFormat::Pilot:
			return "PalmPilot image";
		case InputFormat::BitmapStream:
			return "Be bitmap stream";
		case InputFormat::Png:
			return "PNG image";
		case InputFormat::Jpeg:
			return "JPEG image";
		case InputFormat::Pnm:
			return "PNM image";
	}
	return "unknown";
}

std::string BaseName(const std::string &path)
{
	size_t slash = path.rfind('/');
	return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string StemName(const std::string &path)
{
	std::string base = BaseName(path);
	size_t dot = base.rfind('.');
	return dot == std::string::npos || dot == 0 ? base : base.substr(0, dot);
}
