// The facts about a Pilot image that Identify and Translate hand back in
// the caller's extension message (the names and their meaning are in the
// public PilotTranslator.h), so that an application need not read the
// Pilot layout itself to describe a file or to learn that it is cut short.
#ifndef QUORVEL_PILOT_FACTS_H
#define QUORVEL_PILOT_FACTS_H

#include <Message.h>

#include "PilotImageCheck.h"

// Adds the database name, the bits a pixel, packing, size and stored row
// length that the headers give. Does nothing when message is NULL.
void ReportImageFacts(BMessage *message, const PilotImageLayout &layout);

// Adds the length of the first record, from its start to the end of a
// source of size bytes; nothing when it starts beyond that.
void ReportRecordLength(BMessage *message, const PilotImageLayout &layout,
	off_t size);

// Adds how much of the picture's pixel data never arrived. Does nothing
// when message is NULL.
void ReportMissingPixels(BMessage *message, uint32 rows, uint32 pixels);

#endif // QUORVEL_PILOT_FACTS_H
