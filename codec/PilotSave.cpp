// Bitmap stream to Pilot image.
#include "PilotTranslate.h"

status_t PilotTranslate::SavePilotImage()
{
	return B_NO_TRANSLATOR;
}

status_t PilotTranslate::WriteMonochrome()
{
	return B_ERROR;
}
