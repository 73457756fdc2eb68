#include "PngErrors.h"

#include <stdio.h>

void RecordPngError(png_structp png, png_const_charp message)
{
	char *record = static_cast<char *>(png_get_error_ptr(png));
	snprintf(record, kPngMessageSize, "%s", message);
	png_longjmp(png, 1);
}

void IgnorePngWarning(png_structp, png_const_charp)
{
}
