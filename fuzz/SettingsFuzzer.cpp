// Any bytes as a flattened message, twice: read from a stream with
// BMessage::Unflatten, and stored as the add-on's settings file, which
// BTranslationUtils::GetDefaultSettings loads. Every message that comes out
// is then handed to the add-on as a job's extension message, so that the
// add-on meets whatever types and values a damaged message may carry.
//
// Beyond the sanitizers' checks: a refused message is left as it was; an
// accepted one flattens back to bytes that read as the same message and
// flatten to themselves; a settings file is only taken when it is one
// whole flattened message; a job with any extension message writes a
// small bitmap stream as a Pilot image; and the host's configuration calls
// with any message keep to their rules.
#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include <DefaultSettingsStore.h>
#include <TranslationUtils.h>
#include <View.h>

#include "FuzzSupport.h"


static std::string sSettingsPath;
static std::string sSettingsFolder;
static std::string sConfigHome;

static void RemoveSettingsFolders()
{
	unlink(sSettingsPath.c_str());
	rmdir(sSettingsFolder.c_str());
	rmdir(sConfigHome.c_str());
}

// The settings live under a configuration folder of our own, set before
// the add-on is loaded so that it starts from the defaults; in memory
// where the system offers it, as the file is written for every input.
extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
	char inMemory[] = "/dev/shm/quorvel-fuzz-settings-XXXXXX";
	char onDisk[] = "/tmp/quorvel-fuzz-settings-XXXXXX";
	const char *folder = mkdtemp(inMemory);
	if (folder == NULL) {
		folder = mkdtemp(onDisk);
	}
	if (folder == NULL || setenv("XDG_CONFIG_HOME", folder, 1) != 0) {
		abort();
	}
	sConfigHome = folder;
	sSettingsPath = BPrivate::DefaultSettingsPath("Quorvel");
	sSettingsFolder = sSettingsPath.substr(0, sSettingsPath.rfind('/'));
	if (sSettingsPath.empty()
		|| mkdir(sSettingsFolder.c_str(), 0700) != 0) {
		abort();
	}
	atexit(RemoveSettingsFolders);
	LoadedRoster();
	return 0;
}

static std::vector<uint8> Flattened(const BMessage &message)
{
	BMallocIO stream;
	if (message.Flatten(&stream) != B_OK) {
		abort();
	}
	const uint8 *bytes = static_cast<const uint8 *>(stream.Buffer());
	return std::vector<uint8>(bytes, bytes + stream.BufferLength());
}

static void CheckFlattensBack(const BMessage &message)
{
	const std::vector<uint8> once = Flattened(message);
	BMemoryIO stream(once.data(), once.size());
	BMessage again;
	if (again.Unflatten(&stream) != B_OK
		|| stream.Position() != (off_t)once.size()
		|| again.what != message.what
		|| !again.HasSameData(message, false, true)
		|| Flattened(again) != once) {
		abort();
	}
}

// A 1 x 1 B_GRAY1 bitmap stream: the smallest picture the add-on writes.
static const uint8 kTinyBitmap[] = {
	'b', 'i', 't', 's', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
	0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1, 0x80};

static void CheckJobTakes(BMessage *extension)
{
	translator_id id;
	BTranslatorRoster *roster = LoadedRoster(&id);
	BMemoryIO source(kTinyBitmap, sizeof(kTinyBitmap));
	translator_info info = {};
	info.type = B_TRANSLATOR_BITMAP;
	info.translator = id;
	BoundedIO destination(INT64_MAX, 0);
	if (roster->Translate(&source, &info, extension, &destination,
			PILOT_IMAGE_TYPE) != B_OK) {
		abort();
	}
}

const char *const kOptionKeys[] = {PILOT_DB_NAME_SETTING,
	PILOT_COMPRESS_SETTING, PILOT_DITHER_SETTING, PILOT_CONTRAST_SETTING};

// The host's two calls with the message: GetConfigMessage must leave one
// value of the right type under each option key and every other field as
// it was; MakeConfig merges it into the stored options for good, and must
// build its view from whatever that leaves.
static void CheckConfigurationCalls(const BMessage &message)
{
	translator_id id;
	BTranslatorRoster *roster = LoadedRoster(&id);
	BMessage filled(message);
	if (roster->GetConfigurationMessage(id, &filled) != B_OK) {
		abort();
	}
	BMessage others(message);
	for (const char *key : kOptionKeys) {
		type_code type;
		int32 count;
		if (filled.GetInfo(key, &type, &count) != B_OK || count != 1
			|| type != (key == kOptionKeys[0] ? B_STRING_TYPE
				: B_BOOL_TYPE)) {
			abort();
		}
		filled.RemoveName(key);
		others.RemoveName(key);
	}
	if (!filled.HasSameData(others, false, true)) {
		abort();
	}

	BMessage merged(message);
	BView *view = NULL;
	BRect extent;
	if (roster->MakeConfigurationView(id, &merged, &view, &extent) != B_OK
		|| view == NULL) {
		abort();
	}
	delete view;
}

static bool StoreSettingsFile(const uint8_t *data, size_t size)
{
	FILE *file = fopen(sSettingsPath.c_str(), "wb");
	if (file == NULL) {
		return false;
	}
	const bool written = fwrite(data, 1, size, file) == size;
	return fclose(file) == 0 && written;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
	// A message that already holds something, to see that a refusal
	// leaves it alone.
	BMessage message('keep');
	message.AddInt32("kept", 7);
	BMemoryIO stream(data, size);
	const status_t status = message.Unflatten(&stream);
	const bool whole = status == B_OK && stream.Position() == (off_t)size;
	if (status == B_OK) {
		CheckFlattensBack(message);
		CheckJobTakes(&message);
		CheckConfigurationCalls(message);
	} else if (message.what != 'keep' || message.CountNames(B_ANY_TYPE) != 1
		|| message.GetInt32("kept", 0) != 7) {
		abort();
	}

	if (!StoreSettingsFile(data, size)) {
		abort();
	}
	BMessage *stored = BTranslationUtils::GetDefaultSettings("Quorvel", 220);
	if (stored != NULL) {
		if (!whole) {
			abort();
		}
		CheckJobTakes(stored);
		delete stored;
	}
	return 0;
}
