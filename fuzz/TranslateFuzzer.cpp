// Any bytes through the add-on as an application meets it: the roster
// identifies them and, for a Pilot image, translates to a bitmap stream,
// for a bitmap stream, to a Pilot image. The last input byte chooses the
// writer's options, so every combination is reached.
#include <stdlib.h>

#include <DataIO.h>
#include <Message.h>
#include <TranslatorRoster.h>

// A destination that counts what it is given and keeps nothing, and takes
// no more than a megabyte: a few header bytes may describe a picture of
// hundreds of megabytes, and writing it all would only slow the search.
// The translators see a short write and must stop cleanly.
class DiscardingIO : public BPositionIO {
public:
	ssize_t ReadAt(off_t, void *, size_t) override { return 0; }

	ssize_t WriteAt(off_t position, const void *, size_t size) override
	{
		const off_t kCap = 1 << 20;
		if (position < 0 || position >= kCap) {
			return 0;
		}
		if ((off_t)size > kCap - position) {
			size = (size_t)(kCap - position);
		}
		if (position + (off_t)size > fSize) {
			fSize = position + (off_t)size;
		}
		return (ssize_t)size;
	}

	off_t Seek(off_t position, uint32 mode) override
	{
		const off_t base = mode == SEEK_SET ? 0
			: mode == SEEK_CUR ? fPosition : fSize;
		if (base + position < 0) {
			return B_BAD_VALUE;
		}
		fPosition = base + position;
		return fPosition;
	}

	off_t Position() const override { return fPosition; }

private:
	off_t fPosition = 0;
	off_t fSize = 0;
};

static BTranslatorRoster *LoadedRoster()
{
	static BTranslatorRoster *roster = [] {
		BTranslatorRoster *loaded = new BTranslatorRoster;
		if (loaded->AddTranslators(QUORVEL_ADDON_PATH) != B_OK) {
			abort();
		}
		return loaded;
	}();
	return roster;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
	if (size == 0) {
		return 0;
	}
	const uint8 options = data[size - 1];
	BMessage extension;
	extension.AddBool("compression", (options & 1) != 0);
	extension.AddBool("dithering", (options & 2) != 0);
	extension.AddBool("high_contrast", (options & 4) != 0);
	if ((options & 8) != 0) {
		extension.AddString("database_name", "Fuzzed");
	}

	BTranslatorRoster *roster = LoadedRoster();
	BMemoryIO source(data, size - 1);
	translator_info info;
	if (roster->Identify(&source, &extension, &info) != B_OK) {
		return 0;
	}
	uint32 outType;
	if (info.type == 'PPiv') {
		outType = 'bits';
	} else if (info.type == 'bits') {
		outType = 'PPiv';
	} else {
		abort();
	}
	DiscardingIO destination;
	roster->Translate(&source, &info, &extension, &destination, outType);
	return 0;
}
