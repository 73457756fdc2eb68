#include "RowPadding.h"

#include <string.h>

void PadRowsInPlace(uint8 *rows, uint32 storedRowBytes, uint32 rowBytes,
	uint32 height)
{
	// Last row first: row y's new place starts at or after its old one and
	// after every earlier row's old bytes, so nothing is overwritten before
	// it has moved.
	const uint32 padding = rowBytes - storedRowBytes;
	for (uint32 y = height; y-- > 0;) {
		uint8 *row = rows + (size_t)y * rowBytes;
		memmove(row, rows + (size_t)y * storedRowBytes, storedRowBytes);
		memset(row + storedRowBytes, 0, padding);
	}
}
