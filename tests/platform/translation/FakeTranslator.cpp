// A translator add-on for the roster's tests, built in four variants (see
// CMakeLists.txt): FakeHigh and FakeLow, which both read streams that
// start with "FAKE" and differ in quality and in offering a configuration,
// FakeEndless, whose input table lacks its terminating row, and
// FakeIncomplete, which lacks the Translate entry point.
//
// Each entry point checks what the roster hands it, so that a test sees
// the roster's part: Identify and Translate read the magic at the stream's
// current position (the roster must have rewound it), Translate insists on
// the input type that Identify reported, and Identify marks an answer it
// gave with a format hint by setting the group to 'HINT'.
#include <string.h>

#include <DataIO.h>
#include <Message.h>
#include <Rect.h>
#include <TranslatorAddOn.h>

#ifndef FAKE_NAME
#error "FAKE_NAME must be defined"
#endif

namespace {

const uint32 kFakeType = 'FAKE';
const uint32 kFakeOutput = 'FOUT';

// "FAKE" is taken; "NOTE" is taken with a name that fills its whole field
// without a terminating NUL, as a careless add-on might leave it.
int ReadMagic(BPositionIO *source)
{
	char magic[4];
	if (source->Read(magic, sizeof(magic)) != (ssize_t)sizeof(magic)) {
		return 0;
	}
	if (memcmp(magic, "FAKE", 4) == 0) {
		return 1;
	}
	if (memcmp(magic, "NOTE", 4) == 0) {
		return 2;
	}
	return 0;
}

} // namespace

// The data keeps C++ linkage, as the kit's header declares it.
_EXPORT char translatorName[] = FAKE_NAME;
_EXPORT char translatorInfo[] = "A translator for the roster's tests";
_EXPORT int32 translatorVersion = FAKE_VERSION;

#ifdef FAKE_ENDLESS
// Filled at load with rows of a non-zero type, none of them terminating.
_EXPORT translation_format inputFormats[1100];
__attribute__((constructor)) static void FillEndlessTable()
{
	for (translation_format &format : inputFormats) {
		format.type = kFakeType;
	}
}
#else
_EXPORT translation_format inputFormats[] = {
	{kFakeType, kFakeType, FAKE_QUALITY, 0.5f, "application/x-fake",
		"Fake data"},
	{'FAK2', kFakeType, 0.1f, 0.1f, "application/x-fake2", "Fake data 2"},
	{0, 0, 0, 0, "", ""}
};
#endif

_EXPORT translation_format outputFormats[] = {
	{kFakeOutput, kFakeType, 0.5f, 0.5f, "application/x-fake-out",
		"Fake output"},
	{0, 0, 0, 0, "", ""}
};

extern "C" {

_EXPORT status_t Identify(BPositionIO *inSource,
	const translation_format *inFormat, BMessage *, translator_info *outInfo,
	uint32 outType)
{
	if (outType != 0 && outType != kFakeOutput) {
		return B_NO_TRANSLATOR;
	}
	int magic = ReadMagic(inSource);
	if (magic == 0) {
		return B_NO_TRANSLATOR;
	}
	outInfo->type = kFakeType;
	outInfo->group = inFormat != NULL ? 'HINT' : kFakeType;
	outInfo->quality = FAKE_QUALITY;
	outInfo->capability = 0.5f;
	strcpy(outInfo->MIME, "application/x-fake");
	if (magic == 2) {
		memset(outInfo->name, 'n', sizeof(outInfo->name));
	} else {
		strcpy(outInfo->name, FAKE_NAME);
	}
	return B_OK;
}

#ifndef FAKE_INCOMPLETE
_EXPORT status_t Translate(BPositionIO *inSource,
	const translator_info *inInfo, BMessage *, uint32 outType,
	BPositionIO *outDestination)
{
	if (inInfo == NULL || inInfo->type != kFakeType
		|| outType != kFakeOutput) {
		return B_BAD_VALUE;
	}
	if (ReadMagic(inSource) == 0) {
		return B_BAD_DATA;
	}
	ssize_t length = (ssize_t)strlen(FAKE_NAME);
	if (outDestination->Write(FAKE_NAME, length) != length) {
		return B_ERROR;
	}
	return B_OK;
}
#endif

#ifdef FAKE_CONFIG
_EXPORT status_t MakeConfig(BMessage *, BView **outView, BRect *outExtent)
{
	*outView = NULL;
	outExtent->Set(0, 0, 99, 49);
	return B_OK;
}

_EXPORT status_t GetConfigMessage(BMessage *ioExtension)
{
	return ioExtension->AddString("fake", FAKE_NAME);
}
#endif

}
