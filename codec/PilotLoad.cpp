// Pilot image to bitmap stream.
#include "PilotTranslate.h"

status_t PilotTranslate::LoadPilotImage()
{
	return B_NO_TRANSLATOR;
}
