// A standard translator as an application meets it: its module loaded
// alone by a roster, reached only through the roster's calls, with the
// destinations and sources the streaming rules are tested with.
#ifndef QUORVEL_TEST_STANDARD_TRANSLATORS_H
#define QUORVEL_TEST_STANDARD_TRANSLATORS_H

#include <DataIO.h>
#include <Message.h>
#include <StandardImageInfo.h>
#include <TranslatorRoster.h>

#include <gtest/gtest.h>

#include "ImageFiles.h"
#include "PeakMemory.h"
#include "TestStreams.h"

struct Translation {
	status_t status = B_ERROR;
	Bytes output;
	std::string failure;
	std::string depth;
	// What the reader reported missing; -1 when it did not say.
	int32 missingRows = -1;
	int32 missingPixels = -1;
};

// A source over bytes whose bytes from limit on cannot be read: what
// Identify may not need.
class FencedIO : public BMemoryIO {
public:
	FencedIO(const Bytes &bytes, size_t limit)
		: BMemoryIO(bytes.data(), bytes.size()), fLimit(limit) {}

	ssize_t ReadAt(off_t position, void *buffer, size_t size) override
	{
		if ((size_t)position + size > fLimit) {
			if ((size_t)position >= fLimit) {
				return B_IO_ERROR;
			}
			size = fLimit - (size_t)position;
		}
		return BMemoryIO::ReadAt(position, buffer, size);
	}

private:
	size_t fLimit;
};

class StandardTranslator {
public:
	explicit StandardTranslator(const char *path)
	{
		EXPECT_EQ(fRoster.AddTranslators(path), B_OK) << path;
		translator_id *list = NULL;
		int32 count = 0;
		EXPECT_EQ(fRoster.GetAllTranslators(&list, &count), B_OK);
		EXPECT_EQ(count, 1);
		fID = count == 1 ? list[0] : 0;
		delete[] list;
	}

	BTranslatorRoster &Roster() { return fRoster; }
	translator_id ID() const { return fID; }

	// Identify through the roster; the status, and the info in *info.
	status_t Identify(BPositionIO *source, uint32 outType,
		translator_info *info, BMessage *extension = NULL)
	{
		return fRoster.Identify(source, extension, info, 0, NULL, outType);
	}

	// Identifies the bytes (or takes them as inType, when given) and
	// translates them to outType into destination (a BMallocIO of its own
	// when NULL).
	Translation Translate(const Bytes &input, uint32 outType,
		BPositionIO *destination = NULL, BMessage *extension = NULL,
		uint32 inType = 0)
	{
		BMemoryIO source(input.data(), input.size());
		BMessage own;
		BMessage *message = extension != NULL ? extension : &own;
		BMallocIO output;
		translator_info info = {};
		info.type = inType;
		info.translator = fID;
		Translation result;
		result.status = inType != 0 ? B_OK
			: Identify(&source, outType, &info, message);
		if (result.status == B_OK) {
			result.status = fRoster.Translate(&source, &info, message,
				destination != NULL ? destination : &output, outType);
		}
		result.output = BytesOf(output);
		const char *text;
		if (message->FindString("failure", &text) == B_OK) {
			result.failure = text;
		}
		if (message->FindString("depth", &text) == B_OK) {
			result.depth = text;
		}
		message->FindInt32(IMAGE_MISSING_ROWS_INFO, &result.missingRows);
		message->FindInt32(IMAGE_MISSING_PIXELS_INFO, &result.missingPixels);
		return result;
	}

	// The bytes, identified, to a bitmap stream.
	Translation Read(const Bytes &file, BPositionIO *destination = NULL)
	{
		return Translate(file, B_TRANSLATOR_BITMAP, destination);
	}

private:
	BTranslatorRoster fRoster;
	translator_id fID = 0;
};

// A string field of a message, empty when there is none.
inline std::string StringField(const BMessage &message, const char *name)
{
	const char *text;
	return message.FindString(name, &text) == B_OK ? text : "";
}

// The facts Identify reports about a file as stored, in one line:
// "W x H, B-bit KIND[, alpha][, interlaced] (DEPTH)".
inline std::string StoredFacts(const BMessage &message)
{
	return std::to_string(message.GetInt32("width", -1)) + " x "
		+ std::to_string(message.GetInt32("height", -1)) + ", "
		+ std::to_string(message.GetInt32("bits_per_sample", -1)) + "-bit "
		+ StringField(message, "colour_kind")
		+ (message.GetBool("alpha", false) ? ", alpha" : "")
		+ (message.GetBool("interlaced", false) ? ", interlaced" : "")
		+ " (" + StringField(message, "depth") + ")";
}

// The streaming rules on a small file and a large one: the header goes
// first, the first failed write stops the translation, and a large
// picture is read into a stream of streamBytes with memory of a few
// megabytes.
inline void ExpectRowsStreamed(StandardTranslator &translator,
	const Bytes &small, const Bytes &large, int64 streamBytes)
{
	LimitedWriteIO none(0);
	EXPECT_EQ(translator.Read(small, &none).status, B_ERROR);
	EXPECT_EQ(none.WriteCalls(), 1);
	LimitedWriteIO headerOnly(32);
	EXPECT_EQ(translator.Read(small, &headerOnly).status, B_ERROR);
	EXPECT_EQ(headerOnly.WriteCalls(), 2);

	CountingIO counted;
	Translation result;
	const int64 growth = PeakGrowth([&] {
		result = translator.Read(large, &counted);
	});
	EXPECT_EQ(result.status, B_OK) << result.failure;
	EXPECT_EQ(counted.Size(), streamBytes);
	ExpectPeakGrowthAtMost(growth, 8 * kMiB);
}

// The stream's header fields, host order.
struct StreamHeader {
	uint32 width;
	uint32 height;
	uint32 rowBytes;
	uint32 colors;
	uint32 dataSize;
};

inline StreamHeader ReadStreamHeader(const Bytes &stream)
{
	EXPECT_GE(stream.size(), 32u);
	if (stream.size() < 32) {
		return StreamHeader();
	}
	auto number = [&](size_t at) { return GetBE32(stream, at); };
	auto real = [&](size_t at) {
		uint32 bits = number(at);
		float value;
		memcpy(&value, &bits, 4);
		return value;
	};
	return {(uint32)(real(12) - real(4) + 1), (uint32)(real(16) - real(8) + 1),
		number(20), number(24), number(28)};
}

// The pixel bytes after the header.
inline Bytes StreamPixels(const Bytes &stream)
{
	return stream.size() < 32 ? Bytes()
		: Bytes(stream.begin() + 32, stream.end());
}

// B_RGB32 pixels of greys, as readers hand greys over.
inline Bytes GreyRgb32(const Bytes &greys)
{
	Bytes data;
	for (uint8 grey : greys) {
		data.insert(data.end(), {grey, grey, grey, 255});
	}
	return data;
}

inline Bytes GreyStream(uint32 width, uint32 height, const Bytes &greys)
{
	return MakeBitmapStream(B_RGB32, width - 1, height - 1, width * 4,
		width * 4 * height, GreyRgb32(greys));
}

#endif // QUORVEL_TEST_STANDARD_TRANSLATORS_H
