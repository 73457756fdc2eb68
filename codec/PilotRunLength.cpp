// The job's packing operations; the work is in RunLength.cpp.
#include "PilotTranslate.h"
#include "RunLength.h"

uint32 PilotTranslate::compress(uint8 *destination, const uint8 *source,
	uint32 size)
{
	return PackRuns(destination, source, size);
}

void PilotTranslate::uncompress(const uint8 *&cursor, const uint8 *end,
	int32 remaining, uint8 *&destination)
{
	UnpackRuns(cursor, end, remaining, destination);
}
