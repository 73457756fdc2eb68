// Pilot image files for tests, built field by field: the writer's layout
// by default, with every field a reader looks at open to change, and the
// 'TlPt' layout that only other programs write.
#ifndef QUORVEL_TEST_PILOT_FILE_BUILDER_H
#define QUORVEL_TEST_PILOT_FILE_BUILDER_H

#include <string.h>

#include <string>
#include <vector>

#include "BigEndian.h"
#include "PilotDatabase.h"
#include "RunLength.h"

typedef std::vector<uint8> Bytes;

struct PilotFile {
	std::string name = "Picture";
	// The image header's name; the database name when empty.
	std::string imageName;
	uint32 type = kImageDatabaseType;
	uint32 creator = kPilotViewerCreator;
	int16 numRecords = 1;
	// Where the record entry points; zero bytes fill the gap after 86.
	int32 recordOffset = kWrittenRecordOffset;
	uint8 packing = 0;
	uint8 pixelType = kTwoBitPixels;
	int16 width = 8;
	int16 height = 2;
	// Stored as given: plain or already packed, whole or cut short.
	Bytes pixels;

	Bytes Build() const
	{
		char dbName[PILOT_DB_NAME_SIZE];
		char imgName[PILOT_DB_NAME_SIZE];
		CopyName(dbName, name);
		CopyName(imgName, imageName.empty() ? name : imageName);

		PilotDatabaseHeader database = WrittenDatabaseHeader(dbName);
		database.type = type;
		database.creator = creator;
		database.numRecords = numRecords;
		PilotRecordEntry entry = WrittenRecordEntry();
		entry.offset = recordOffset;
		const PilotImageHeader image = WrittenImageHeader(imgName, packing,
			pixelType, width, height);

		Bytes file(kDatabaseHeaderSize + kRecordEntrySize);
		SerializeDatabaseHeader(database, file.data());
		SerializeRecordEntry(entry, file.data() + kDatabaseHeaderSize);
		if (recordOffset > (int32)file.size()) {
			file.resize(recordOffset, 0);
		}
		const size_t imageStart = file.size();
		file.resize(imageStart + kImageHeaderSize);
		SerializeImageHeader(image, file.data() + imageStart);
		file.insert(file.end(), pixels.begin(), pixels.end());
		return file;
	}

	static void CopyName(char (&field)[PILOT_DB_NAME_SIZE],
		const std::string &text)
	{
		memset(field, 0, sizeof(field));
		memcpy(field, text.data(), text.size() < 31 ? text.size() : 31);
	}
};

// A 'TlPt' database: a plain 1-bit picture inside a record at 86 with no
// image header. Type 'GbDb' keeps the size at the record's start and the
// pixels at +24; other types keep it at +22 and +24 and the pixels at the
// data offset stored at +8.
inline Bytes TealPaintFile(uint32 type, int16 width, int16 height,
	const Bytes &pixels, uint32 dataOffset = 40)
{
	PilotFile layout;
	layout.type = type;
	layout.creator = kTealPaintCreator;
	const Bytes start = layout.Build();
	Bytes file(start.begin(), start.begin() + kWrittenRecordOffset);
	const size_t record = file.size();
	if (type == kTealPaintGameboyType) {
		file.resize(record + 24, 0xEE);
		WriteBE16(&file[record], (uint16)width);
		WriteBE16(&file[record + 2], (uint16)height);
	} else {
		file.resize(record + dataOffset, 0xEE);
		WriteBE32(&file[record + 8], dataOffset);
		WriteBE16(&file[record + 22], (uint16)width);
		WriteBE16(&file[record + 24], (uint16)height);
	}
	file.insert(file.end(), pixels.begin(), pixels.end());
	return file;
}

inline Bytes Packed(const Bytes &plain)
{
	Bytes packed(PackedSizeBound(plain.size()));
	packed.resize(PackRuns(packed.data(), plain.data(),
		(uint32)plain.size()));
	return packed;
}

#endif // QUORVEL_TEST_PILOT_FILE_BUILDER_H
