// Recognising a Pilot image: both database layouts.
#include "PilotTranslate.h"

status_t PilotTranslate::IdentifyPilotImage()
{
	return B_NO_TRANSLATOR;
}
