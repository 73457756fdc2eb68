// The configuration view's entry point.
#include <TranslatorAddOn.h>

status_t MakeConfig(BMessage *ioExtension, BView **outView, BRect *outExtent)
{
	(void)ioExtension;
	(void)outView;
	(void)outExtent;
	return B_ERROR;
}
