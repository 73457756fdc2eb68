#include "PilotDatabase.h"

#include <string.h>

#include "BigEndian.h"

PilotDatabaseHeader ParseDatabaseHeader(const uint8 *bytes)
{
	PilotDatabaseHeader header;
	memcpy(header.name, bytes, PILOT_DB_NAME_SIZE);
	header.attributes = ReadBE16(bytes + 32);
	header.version = ReadBE16(bytes + 34);
	header.creationDate = ReadBE32(bytes + 36);
	header.modificationDate = ReadBE32(bytes + 40);
	header.lastBackupDate = ReadBE32(bytes + 44);
	header.modificationNumber = ReadBE32(bytes + 48);
	header.appInfoID = ReadBE32(bytes + 52);
	header.sortInfoID = ReadBE32(bytes + 56);
	header.type = ReadBE32(bytes + 60);
	header.creator = ReadBE32(bytes + 64);
	header.uniqueIDSeed = ReadBE32(bytes + 68);
	header.nextRecordListID = ReadBE32(bytes + 72);
	header.numRecords = (int16)ReadBE16(bytes + 76);
	return header;
}

PilotRecordEntry ParseRecordEntry(const uint8 *bytes)
{
	PilotRecordEntry entry;
	entry.offset = (int32)ReadBE32(bytes);
	entry.attributes = bytes[4];
	memcpy(entry.uniqueID, bytes + 5, 3);
	return entry;
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

PilotDatabaseHeader WrittenDatabaseHeader(
	const char (&name)[PILOT_DB_NAME_SIZE])
{
	PilotDatabaseHeader header;
	memset(&header, 0, sizeof(header));
	memcpy(header.name, name, PILOT_DB_NAME_SIZE);
	header.creationDate = kWrittenDate;
	header.modificationDate = kWrittenDate;
	header.type = kImageDatabaseType;
	header.creator = kPilotViewerCreator;
	header.numRecords = 1;
	return header;
}

PilotRecordEntry WrittenRecordEntry()
{
	PilotRecordEntry entry;
	entry.offset = kWrittenRecordOffset;
	entry.attributes = kWrittenRecordAttributes;
	memcpy(entry.uniqueID, kWrittenUniqueID, 3);
	return entry;
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

void SerializeDatabaseHeader(const PilotDatabaseHeader &header, uint8 *bytes)
{
	memcpy(bytes, header.name, PILOT_DB_NAME_SIZE);
	WriteBE16(bytes + 32, header.attributes);
	WriteBE16(bytes + 34, header.version);
	WriteBE32(bytes + 36, header.creationDate);
	WriteBE32(bytes + 40, header.modificationDate);
	WriteBE32(bytes + 44, header.lastBackupDate);
	WriteBE32(bytes + 48, header.modificationNumber);
	WriteBE32(bytes + 52, header.appInfoID);
	WriteBE32(bytes + 56, header.sortInfoID);
	WriteBE32(bytes + 60, header.type);
	WriteBE32(bytes + 64, header.creator);
	WriteBE32(bytes + 68, header.uniqueIDSeed);
	WriteBE32(bytes + 72, header.nextRecordListID);
	WriteBE16(bytes + 76, (uint16)header.numRecords);
}

void SerializeRecordEntry(const PilotRecordEntry &entry, uint8 *bytes)
{
	WriteBE32(bytes, (uint32)entry.offset);
	bytes[4] = entry.attributes;
	memcpy(bytes + 5, entry.uniqueID, 3);
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
