// Writes the fuzzers' seed corpus: small valid inputs of every kind the
// add-on reads, so fuzzing starts from deep inside the formats.
//   <folder>/translate  Pilot images (both pixel types, plain and packed,
//                       record at 86 and 88, both 'TlPt' layouts, odd
//                       widths, cut short) and bitmap streams (B_GRAY1,
//                       B_CMAP8, B_RGB32), each followed by an options byte
//   <folder>/pack       byte strings with long, short and no runs
#include <stdio.h>
#include <string.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "BigEndian.h"
#include "BitmapHeader.h"
#include "PilotDatabase.h"
#include "RunLength.h"

typedef std::vector<uint8> Bytes;

static Bytes Pattern(size_t size, int seed)
{
	Bytes bytes(size);
	for (size_t i = 0; i < size; i++) {
		bytes[i] = (uint8)((i / 5 % 3 == 0) ? 0 : i * seed + i / 7);
	}
	return bytes;
}

static Bytes Packed(const Bytes &plain)
{
	Bytes packed(PackedSizeBound(plain.size()));
	packed.resize(PackRuns(packed.data(), plain.data(),
		(uint32)plain.size()));
	return packed;
}

static Bytes PilotImage(int16 width, int16 height, bool oneBit, bool packed,
	int32 recordOffset = kWrittenRecordOffset)
{
	const char name[kPilotNameSize] = "Seed";
	Bytes file(kDatabaseHeaderSize + kRecordEntrySize);
	SerializeDatabaseHeader(WrittenDatabaseHeader(name), file.data());
	PilotRecordEntry entry = WrittenRecordEntry();
	entry.offset = recordOffset;
	SerializeRecordEntry(entry, file.data() + kDatabaseHeaderSize);
	file.resize(recordOffset + kImageHeaderSize, 0);
	SerializeImageHeader(WrittenImageHeader(name, packed ? kPackedRuns : 0,
		oneBit ? kOneBitPixels : kTwoBitPixels, width, height),
		file.data() + recordOffset);
	const Bytes plain = Pattern((size_t)(oneBit ? width / 8 : width / 4)
		* height, oneBit ? 3 : 5);
	const Bytes pixels = packed ? Packed(plain) : plain;
	file.insert(file.end(), pixels.begin(), pixels.end());
	return file;
}

static Bytes TealPaint(bool gameboy)
{
	Bytes file = PilotImage(16, 4, true, false);
	file.resize(kWrittenRecordOffset);
	WriteBE32(&file[60], gameboy ? kTealPaintGameboyType : 'Imag');
	WriteBE32(&file[64], kTealPaintCreator);
	const size_t record = file.size();
	const uint32 dataOffset = gameboy ? 24 : 32;
	file.resize(record + dataOffset, 0);
	WriteBE16(&file[record + (gameboy ? 0 : 22)], 16);
	WriteBE16(&file[record + (gameboy ? 2 : 24)], 4);
	if (!gameboy) {
		WriteBE32(&file[record + 8], dataOffset);
	}
	const Bytes pixels = Pattern(8, 7);
	file.insert(file.end(), pixels.begin(), pixels.end());
	return file;
}

static Bytes BitmapStream(int width, int height, color_space colors)
{
	const uint32 bytesPerRow = colors == B_GRAY1 ? (width + 7) / 8
		: colors == B_CMAP8 ? width : width * 4;
	TranslatorBitmap header;
	header.magic = B_TRANSLATOR_BITMAP;
	header.bounds = BRect(0, 0, width - 1, height - 1);
	header.rowBytes = bytesPerRow;
	header.colors = colors;
	header.dataSize = bytesPerRow * height;
	SwapBitmapHeader(&header, B_SWAP_HOST_TO_BENDIAN);
	Bytes stream((const uint8 *)&header, (const uint8 *)&header
		+ sizeof(header));
	const Bytes pixels = Pattern((size_t)bytesPerRow * height, 11);
	stream.insert(stream.end(), pixels.begin(), pixels.end());
	return stream;
}

static bool Save(const std::string &path, Bytes bytes, int options)
{
	if (options >= 0) {
		bytes.push_back((uint8)options);
	}
	FILE *file = fopen(path.c_str(), "wb");
	if (file == NULL) {
		return false;
	}
	const bool written = fwrite(bytes.data(), 1, bytes.size(), file)
		== bytes.size();
	return fclose(file) == 0 && written;
}

int main(int argc, char **argv)
{
	if (argc != 2) {
		fprintf(stderr, "usage: %s <corpus folder>\n", argv[0]);
		return 2;
	}
	const std::string translate = std::string(argv[1]) + "/translate/";
	const std::string pack = std::string(argv[1]) + "/pack/";
	mkdir(argv[1], 0755);
	mkdir(translate.c_str(), 0755);
	mkdir(pack.c_str(), 0755);

	Bytes cut = PilotImage(32, 8, false, true);
	cut.resize(cut.size() - 10);
	const struct {
		const char *name;
		Bytes bytes;
	} inputs[] = {
		{"grey-plain", PilotImage(16, 4, false, false)},
		{"grey-packed", PilotImage(32, 8, false, true)},
		{"grey-odd-width", PilotImage(18, 3, false, false)},
		{"grey-record-88", PilotImage(16, 2, false, false, 88)},
		{"grey-cut", cut},
		{"mono-plain", PilotImage(24, 4, true, false)},
		{"mono-packed", PilotImage(48, 6, true, true)},
		{"mono-odd-width", PilotImage(21, 3, true, false)},
		{"tealpaint-gameboy", TealPaint(true)},
		{"tealpaint-other", TealPaint(false)},
		{"bits-gray1", BitmapStream(20, 3, B_GRAY1)},
		{"bits-cmap8", BitmapStream(7, 4, B_CMAP8)},
		{"bits-rgb32", BitmapStream(5, 3, B_RGB32)},
	};
	bool ok = true;
	int options = 0;
	for (const auto &input : inputs) {
		ok = Save(translate + input.name, input.bytes, options++ % 16) && ok;
	}

	Bytes mixed = Pattern(600, 13);
	memset(&mixed[100], 0x55, 300);
	ok = Save(pack + "mixed", mixed, -1) && ok;
	ok = Save(pack + "no-runs", Pattern(300, 1), -1) && ok;
	ok = Save(pack + "one-run", Bytes(260, 0xAA), -1) && ok;
	ok = Save(pack + "packed-picture", Packed(Pattern(500, 9)), -1) && ok;
	return ok ? 0 : 1;
}
