// The rows of the format tables that TranslatorData.cpp defines, by their
// place in inputFormats.
#ifndef QUORVEL_TRANSLATOR_DATA_H
#define QUORVEL_TRANSLATOR_DATA_H

#include <PilotTranslator.h>
#include <TranslatorAddOn.h>

inline const translation_format &PilotFormat()
{
	return inputFormats[0];
}

inline const translation_format &BitmapFormat()
{
	return inputFormats[1];
}

#endif // QUORVEL_TRANSLATOR_DATA_H
