#include "PilotDatabase.h"

#include <string.h>

#include "BigEndian.h"

PilotDatabaseHeader ParseDatabaseHeader(const uint8 *bytes)
{
	PilotDatabaseHeader header;
	memcpy(header.name, bytes, PILOT_DB_NAME_SIZE);
	header.type = ReadBE32(bytes + 60);
	header.creator = ReadBE32(bytes + 64);
	header.numRecords = (int16)ReadBE16(bytes + 76);
	return header;
}

PilotImageHeader ParseImageHeader(const uint8 *bytes)
{
	PilotImageHeader header;
	memcpy(header.name, bytes, PILOT_DB_NAME_SIZE);
	header.packing = bytes[32];
	header.pixelType = bytes[33];
	header.reserved1 = ReadBE32(bytes + 34);
	header.reserved2 = ReadBE32(bytes + 38);
	header.reserved3 = (int16)ReadBE16(bytes + 42);
	header.reserved4 = (int16)ReadBE16(bytes + 44);
	header.reserved5 = ReadBE32(bytes + 46);
	header.reserved6 = (int16)ReadBE16(bytes + 50);
	header.reserved7 = (int16)ReadBE16(bytes + 52);
	header.width = (int16)ReadBE16(bytes + 54);
	header.height = (int16)ReadBE16(bytes + 56);
	return header;
}

// The dates of every database we write: fixed, not the time of writing.
static const uint32 kWrittenDate = 0x06D144AE;
static const uint8 kWrittenRecordAttributes = 0x40;
static const uint8 kWrittenUniqueID[3] = {0x6F, 0x80, 0x00};

void SerializeWrittenDatabase(const char (&name)[PILOT_DB_NAME_SIZE],
	uint8 *bytes)
{
	memset(bytes, 0, kWrittenRecordOffset);
	memcpy(bytes, name, PILOT_DB_NAME_SIZE);
	WriteBE32(bytes + 36, kWrittenDate);
	WriteBE32(bytes + 40, kWrittenDate);
	WriteBE32(bytes + 60, kImageDatabaseType);
	WriteBE32(bytes + 64, kPilotViewerCreator);
	WriteBE16(bytes + 76, 1);
	WriteBE32(bytes + kDatabaseHeaderSize, kWrittenRecordOffset);
	bytes[kDatabaseHeaderSize + 4] = kWrittenRecordAttributes;
	memcpy(bytes + kDatabaseHeaderSize + 5, kWrittenUniqueID, 3);
}

PilotImageHeader WrittenImageHeader(const char (&name)[PILOT_DB_NAME_SIZE],
	uint8 packing, uint8 pixelType, int16 width, int16 height)
{
	PilotImageHeader header;
	memset(&header, 0, sizeof(header));
	memcpy(header.name, name, PILOT_DB_NAME_SIZE);
	header.packing = packing;
	header.pixelType = pixelType;
	header.reserved6 = -1;
	header.reserved7 = -1;
	header.width = width;
	header.height = height;
	return header;
}

void SerializeImageHeader(const PilotImageHeader &header, uint8 *bytes)
{
	memcpy(bytes, header.name, PILOT_DB_NAME_SIZE);
	bytes[32] = header.packing;
	bytes[33] = header.pixelType;
	WriteBE32(bytes + 34, header.reserved1);
	WriteBE32(bytes + 38, header.reserved2);
	WriteBE16(bytes + 42, (uint16)header.reserved3);
	WriteBE16(bytes + 44, (uint16)header.reserved4);
	WriteBE32(bytes + 46, header.reserved5);
	WriteBE16(bytes + 50, (uint16)header.reserved6);
	WriteBE16(bytes + 52, (uint16)header.reserved7);
	WriteBE16(bytes + 54, (uint16)header.width);
	WriteBE16(bytes + 56, (uint16)header.height);
}

bool PilotNamesMatch(const char *a, const char *b)
{
	return strncmp(a, b, PILOT_DB_NAME_SIZE) == 0;
}
