// The four options: defaults, stored settings, per-call overrides and the
// message the host reads them back through.
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include <memory>
#include <string>
#include <thread>

#include <Autolock.h>
#include <DefaultSettingsStore.h>
#include <TranslatorAddOn.h>

#include <gtest/gtest.h>

#include "LoadedTranslator.h"
#include "PilotSettings.h"
#include "PilotTranslate.h"

namespace {

const char kFortyCharacters[] = "0123456789abcdefghijklmnopqrstuvwxyzABCD";
const char kFirstThirtyOne[] = "0123456789abcdefghijklmnopqrstu";

// A job as Identify and Translate build one, under the lock.
PilotTranslate BuildJob(BMessage *extension)
{
	BAutolock lock(gSettingsLock);
	return PilotTranslate(NULL, extension, NULL);
}

TEST(JobOptions, DefaultsWithoutStoredSettings)
{
	PilotTranslate job = BuildJob(NULL);
	EXPECT_TRUE(job.options.compression);
	EXPECT_TRUE(job.options.dithering);
	EXPECT_FALSE(job.options.highContrast);
	EXPECT_STREQ(job.options.databaseName, "");
}

TEST(JobOptions, ExtensionOverridesThisJobOnly)
{
	BMessage extension;
	extension.AddString(PILOT_DB_NAME_SETTING, "Holiday");
	extension.AddBool(PILOT_COMPRESS_SETTING, false);
	extension.AddBool(PILOT_DITHER_SETTING, false);
	extension.AddBool(PILOT_CONTRAST_SETTING, true);
	PilotTranslate job = BuildJob(&extension);
	EXPECT_FALSE(job.options.compression);
	EXPECT_FALSE(job.options.dithering);
	EXPECT_TRUE(job.options.highContrast);
	EXPECT_STREQ(job.options.databaseName, "Holiday");

	PilotTranslate next = BuildJob(NULL);
	EXPECT_TRUE(next.options.compression);
	EXPECT_STREQ(next.options.databaseName, "");
}

TEST(JobOptions, LongNamesAreCutAndWrongTypesSkipped)
{
	BMessage extension;
	extension.AddString(PILOT_DB_NAME_SETTING, kFortyCharacters);
	extension.AddInt32(PILOT_COMPRESS_SETTING, 0);
	extension.AddString(PILOT_DITHER_SETTING, "false");
	PilotTranslate job = BuildJob(&extension);
	EXPECT_STREQ(job.options.databaseName, kFirstThirtyOne);
	EXPECT_TRUE(job.options.compression);
	EXPECT_TRUE(job.options.dithering);

	BMessage accented;
	accented.AddString(PILOT_DB_NAME_SETTING,
		"Vacances d'\xC3\xA9t\xC3\xA9 \xC3\xA0 la mer, 1998");
	EXPECT_STREQ(BuildJob(&accented).options.databaseName,
		"Vacances d'\xC3\xA9t\xC3\xA9 \xC3\xA0 la mer, 199") << "31 bytes";
	accented.ReplaceString(PILOT_DB_NAME_SETTING,
		"Vacances d'\xC3\xA9t\xC3\xA9 \xC3\xA0 la plages \xC3\xA9t\xC3\xA9");
	EXPECT_STREQ(BuildJob(&accented).options.databaseName,
		"Vacances d'\xC3\xA9t\xC3\xA9 \xC3\xA0 la plages ") << "not 0xC3 alone";
}

TEST(JobOptions, FirstValueOfARepeatedKeyWins)
{
	BMessage extension;
	extension.AddBool(PILOT_CONTRAST_SETTING, true);
	extension.AddBool(PILOT_CONTRAST_SETTING, false);
	EXPECT_TRUE(BuildJob(&extension).options.highContrast);
}

TEST(PilotSettingsMerge, ChangesOnlyTheKeysPresent)
{
	PilotSettings settings;
	BMessage message;
	message.AddBool(PILOT_CONTRAST_SETTING, true);
	EXPECT_EQ(settings.GetSettings(&message), B_OK);
	EXPECT_TRUE(settings.highContrast);
	EXPECT_TRUE(settings.compression);
	EXPECT_TRUE(settings.dithering);
	EXPECT_STREQ(settings.databaseName, "");
	EXPECT_EQ(settings.GetSettings(NULL), B_OK);
	EXPECT_EQ(settings.PutSettings(NULL), B_BAD_VALUE);

	PilotSettings copy(settings);
	EXPECT_TRUE(copy.highContrast);
}

TEST(GetConfigMessageCall, NullLeavesTheLockFree)
{
	EXPECT_EQ(GetConfigMessage(NULL), B_BAD_VALUE);
	status_t fromOtherThread = B_ERROR;
	std::thread other([&] {
		fromOtherThread = gSettingsLock.LockWithTimeout(0);
		if (fromOtherThread == B_OK) {
			gSettingsLock.Unlock();
		}
	});
	other.join();
	EXPECT_EQ(fromOtherThread, B_OK);
}

// Through the loaded module: what the host reads back.
class ConfigMessage : public testing::Test {
protected:
	void Load()
	{
		fAddon.reset(new LoadedTranslator);
		ASSERT_EQ(fAddon->InitCheck(), B_OK);
	}
	status_t Read(BMessage *message)
	{
		return fAddon->Roster().GetConfigurationMessage(fAddon->ID(), message);
	}

	std::unique_ptr<LoadedTranslator> fAddon;
};

TEST_F(ConfigMessage, ReplacesTheFourKeysAndKeepsTheRest)
{
	Load();
	BMessage message('abcd');
	message.AddBool(PILOT_COMPRESS_SETTING, false);
	message.AddBool(PILOT_COMPRESS_SETTING, false);
	message.AddInt32(PILOT_DITHER_SETTING, 7);
	message.AddString("unrelated", "kept");
	ASSERT_EQ(Read(&message), B_OK);

	EXPECT_EQ(message.what, (uint32)'abcd');
	type_code type;
	int32 count;
	const char *keys[] = {PILOT_DB_NAME_SETTING, PILOT_COMPRESS_SETTING,
		PILOT_DITHER_SETTING, PILOT_CONTRAST_SETTING};
	for (const char *key : keys) {
		ASSERT_EQ(message.GetInfo(key, &type, &count), B_OK) << key;
		EXPECT_EQ(count, 1) << key;
	}
	EXPECT_TRUE(message.GetBool(PILOT_COMPRESS_SETTING, false));
	EXPECT_TRUE(message.GetBool(PILOT_DITHER_SETTING, false));
	EXPECT_FALSE(message.GetBool(PILOT_CONTRAST_SETTING, true));
	const char *name = NULL;
	ASSERT_EQ(message.FindString(PILOT_DB_NAME_SETTING, &name), B_OK);
	EXPECT_STREQ(name, "");
	EXPECT_STREQ(message.GetString("unrelated"), "kept");
	EXPECT_EQ(message.CountNames(B_ANY_TYPE), 5);
}

TEST_F(ConfigMessage, NullMessageIsRefused)
{
	Load();
	EXPECT_EQ(Read(NULL), B_BAD_VALUE);
	BMessage message;
	EXPECT_EQ(Read(&message), B_OK) << "the lock was released";
}

// Stored settings are read when the module is loaded. Each test runs in a
// process of its own, so the module loads here for the first time.
class StoredSettings : public ConfigMessage {
protected:
	void SetUp() override
	{
		char folder[] = "/tmp/quorvel-settings-XXXXXX";
		ASSERT_NE(mkdtemp(folder), nullptr);
		fFolder = folder;
		setenv("XDG_CONFIG_HOME", folder, 1);
	}
	void TearDown() override
	{
		std::string command = "rm -rf '" + fFolder + "'";
		EXPECT_EQ(system(command.c_str()), 0);
	}

	std::string fFolder;
};

TEST_F(StoredSettings, AreMergedIntoTheDefaultsAtLoad)
{
	BMessage stored;
	stored.AddString(PILOT_DB_NAME_SETTING, kFortyCharacters);
	stored.AddBool(PILOT_DITHER_SETTING, false);
	stored.AddInt32(PILOT_CONTRAST_SETTING, 1);
	ASSERT_EQ(BPrivate::StoreDefaultSettings("Quorvel", 220, stored), B_OK);
	Load();

	BMessage current;
	ASSERT_EQ(Read(&current), B_OK);
	EXPECT_STREQ(current.GetString(PILOT_DB_NAME_SETTING), kFirstThirtyOne);
	EXPECT_TRUE(current.GetBool(PILOT_COMPRESS_SETTING, false));
	EXPECT_FALSE(current.GetBool(PILOT_DITHER_SETTING, true));
	EXPECT_FALSE(current.GetBool(PILOT_CONTRAST_SETTING, true)) << "wrong type";
}

TEST_F(StoredSettings, CorruptFileLeavesTheDefaults)
{
	std::string path = BPrivate::DefaultSettingsPath("Quorvel");
	ASSERT_FALSE(path.empty());
	std::string folder = path.substr(0, path.rfind('/'));
	ASSERT_EQ(system(("mkdir -p '" + folder + "'").c_str()), 0);
	FILE *file = fopen(path.c_str(), "wb");
	ASSERT_NE(file, nullptr);
	fputs("not a flattened message at all", file);
	fclose(file);
	Load();

	BMessage current;
	ASSERT_EQ(Read(&current), B_OK);
	EXPECT_TRUE(current.GetBool(PILOT_COMPRESS_SETTING, false));
	EXPECT_TRUE(current.GetBool(PILOT_DITHER_SETTING, false));
	EXPECT_FALSE(current.GetBool(PILOT_CONTRAST_SETTING, true));
	EXPECT_STREQ(current.GetString(PILOT_DB_NAME_SETTING, "?"), "");
}

} // namespace
