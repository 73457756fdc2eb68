// A translator whose format needs a codec library (libpng, libjpeg,
// giflib) keeps the code that calls it in a module of its own, loaded the
// first time a stream that starts like its format arrives. The roster loads
// every translator to ask each about each stream, so a translator that is
// never handed its format never maps its library, the larger part of the
// cost of loading it.
//
// The codec module lies beside the kit's libraries (libbe and the others)
// and is loaded from there. It exports one table,
// codecSteps, whose steps catch what they throw: no exception crosses from
// one module to the other.
#ifndef QUORVEL_CODEC_MODULE_H
#define QUORVEL_CODEC_MODULE_H

#include <mutex>
#include <string>

#include <DataIO.h>
#include <Message.h>

#include "StandardTranslator.h"
#include "TranslationError.h"

struct CodecSteps {
	// Whether the stream holds the format, from its headers alone.
	bool (*identify)(BPositionIO *source, ImageFacts *facts);
	// The file to a bitmap stream; false with the error when it fails.
	bool (*read)(BPositionIO *source, BPositionIO *destination,
		TranslationError *error);
	// A bitmap stream to the format; NULL for a codec that only reads.
	bool (*write)(BPositionIO *source, BPositionIO *destination,
		uint32 outType, BMessage *ioExtension, TranslationError *error);
};

#define CODEC_STEPS_SYMBOL "codecSteps"

// In a codec module: runs a step, keeping what it throws in *error.
template <typename Step>
bool Caught(TranslationError *error, Step step)
{
	try {
		step();
		return true;
	} catch (const TranslationError &thrown) {
		*error = thrown;
	} catch (const std::bad_alloc &) {
		*error = {B_NO_MEMORY, "out of memory"};
	}
	return false;
}

// In the add-on: the codec module, loaded on first use and unloaded with
// the add-on.
class CodecModule {
public:
	explicit CodecModule(const char *fileName);
	~CodecModule();

	// Whether the stream, which starts like the format, holds it. When the
	// module cannot be loaded the start is taken at its word, with no
	// facts, and the translation says why it cannot go on.
	bool Identify(BPositionIO *source, ImageFacts *facts);
	// These throw TranslationError.
	void Read(BPositionIO *source, BPositionIO *destination);
	void Write(BPositionIO *source, BPositionIO *destination, uint32 outType,
		BMessage *ioExtension);

private:
	// NULL when the module cannot be loaded; fFailure then says why.
	const CodecSteps *Steps();

	const char *fFileName;
	std::once_flag fLoaded;
	void *fHandle = NULL;
	const CodecSteps *fSteps = NULL;
	std::string fFailure;
};

// Whether the stream starts with these bytes.
bool StartsWith(BPositionIO *source, const void *bytes, size_t size);

// What an add-on knows of its codec module without loading it: the
// module's file and the bytes every file of the format starts with.
struct CodecInfo {
	const char *fileName;
	const char *start;
	size_t startSize;
};

// The add-on's own steps (for its NativeFormat): a stream that does not
// start like the format is turned away at once; everything else goes to
// the codec module, loaded on the first call that needs it.
template <const CodecInfo &info>
struct CodecBacked {
	static CodecModule &Module()
	{
		static CodecModule module(info.fileName);
		return module;
	}

	static bool Identify(BPositionIO *source, ImageFacts *facts)
	{
		return StartsWith(source, info.start, info.startSize)
			&& Module().Identify(source, facts);
	}

	// These formats refuse a file cut short: nothing is ever missing.
	static void Read(BPositionIO *source, BPositionIO *destination,
		ReadReport *)
	{
		Module().Read(source, destination);
	}

	static void Write(BPositionIO *source, BPositionIO *destination,
		uint32 outType, BMessage *ioExtension)
	{
		Module().Write(source, destination, outType, ioExtension);
	}
};

#endif // QUORVEL_CODEC_MODULE_H
