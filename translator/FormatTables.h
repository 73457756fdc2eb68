// The rows of the format tables, by their place in inputFormats.
#ifndef QUORVEL_FORMAT_TABLES_H
#define QUORVEL_FORMAT_TABLES_H

#include <TranslatorAddOn.h>

const uint32 PILOT_IMAGE_TYPE = 'PPiv';

inline const translation_format &PilotFormat()
{
	return inputFormats[0];
}

inline const translation_format &BitmapFormat()
{
	return inputFormats[1];
}

#endif // QUORVEL_FORMAT_TABLES_H
