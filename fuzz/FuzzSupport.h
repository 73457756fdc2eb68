// What the fuzzers share: the add-on loaded once through a roster, options
// chosen by one input byte, and a destination that keeps a bounded amount
// of what it is given and may accept only so many bytes.
#ifndef QUORVEL_FUZZ_SUPPORT_H
#define QUORVEL_FUZZ_SUPPORT_H

#include <stdlib.h>
#include <string.h>

#include <vector>

#include <DataIO.h>
#include <Message.h>
#include <PilotTranslator.h>
#include <TranslatorFormats.h>
#include <TranslatorRoster.h>

// The roster with the add-on in it, loaded on first use; a fuzzer that
// cannot load it has nothing to do and stops at once.
inline BTranslatorRoster *LoadedRoster(translator_id *id = NULL)
{
	static translator_id sID = 0;
	static BTranslatorRoster *sRoster = [] {
		BTranslatorRoster *roster = new BTranslatorRoster;
		translator_id *list = NULL;
		int32 count = 0;
		if (roster->AddTranslators(QUORVEL_ADDON_PATH) != B_OK
			|| roster->GetAllTranslators(&list, &count) != B_OK
			|| count != 1) {
			abort();
		}
		sID = list[0];
		delete[] list;
		return roster;
	}();
	if (id != NULL) {
		*id = sID;
	}
	return sRoster;
}

// The writer's options from one byte, so that every combination, and the
// naming paths (a name, a file name in the comment, neither), is reached:
//   bit 0 compression, 1 dithering, 2 high contrast, 3 a database name,
//   4 a comment with a file-name extension, 5 a 40-character comment,
//   6 compression stored with the wrong type (skipped by the add-on).
inline void AddFuzzedOptions(BMessage *extension, uint8 options)
{
	if ((options & 0x40) != 0) {
		extension->AddInt32(PILOT_COMPRESS_SETTING, 1);
	} else {
		extension->AddBool(PILOT_COMPRESS_SETTING, (options & 0x01) != 0);
	}
	extension->AddBool(PILOT_DITHER_SETTING, (options & 0x02) != 0);
	extension->AddBool(PILOT_CONTRAST_SETTING, (options & 0x04) != 0);
	if ((options & 0x08) != 0) {
		extension->AddString(PILOT_DB_NAME_SETTING, "Fuzzed");
	}
	if ((options & 0x10) != 0) {
		extension->AddString(B_TRANSLATOR_EXT_COMMENT, "fuzzed.bmp");
	} else if ((options & 0x20) != 0) {
		extension->AddString(B_TRANSLATOR_EXT_COMMENT,
			"a comment of forty characters, no dot ..");
	}
}

// A destination that accepts at most limit bytes in all (the write that
// reaches the limit is cut short, later ones transfer nothing), counts
// what it accepted and keeps the first keep bytes of it. A few header
// bytes may describe a picture of hundreds of megabytes; keeping it all
// would only slow the search.
class BoundedIO : public BPositionIO {
public:
	BoundedIO(off_t limit, size_t keep) : fLimit(limit), fKeep(keep) {}

	ssize_t ReadAt(off_t position, void *buffer, size_t size) override
	{
		if (position < 0 || (uint64)position >= fKept.size()) {
			return 0;
		}
		if (size > fKept.size() - (size_t)position) {
			size = fKept.size() - (size_t)position;
		}
		memcpy(buffer, fKept.data() + position, size);
		return (ssize_t)size;
	}

	ssize_t WriteAt(off_t position, const void *buffer, size_t size) override
	{
		if (position < 0 || position >= fLimit) {
			return 0;
		}
		if ((off_t)size > fLimit - position) {
			size = (size_t)(fLimit - position);
		}
		if ((uint64)position < fKeep) {
			const size_t kept = size < fKeep - (size_t)position
				? size : fKeep - (size_t)position;
			if (fKept.size() < (size_t)position + kept) {
				fKept.resize((size_t)position + kept);
			}
			memcpy(fKept.data() + position, buffer, kept);
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

	// How far the destination was written, and whether all of it was kept.
	off_t Size() const { return fSize; }
	bool KeptWhole() const { return (off_t)fKept.size() == fSize; }
	const std::vector<uint8> &Kept() const { return fKept; }

private:
	off_t fLimit;
	size_t fKeep;
	off_t fPosition = 0;
	off_t fSize = 0;
	std::vector<uint8> fKept;
};

#endif // QUORVEL_FUZZ_SUPPORT_H
