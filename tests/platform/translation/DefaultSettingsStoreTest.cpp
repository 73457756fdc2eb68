// The per-translator default settings: where they live, storing them, and
// reading them back whatever state the file is in.
#include <DefaultSettingsStore.h>
#include <TranslationUtils.h>

#include <signal.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include <DataIO.h>
#include <File.h>
#include <Message.h>

#include <gtest/gtest.h>

#include "TempFolder.h"

namespace fs = std::filesystem;
using BPrivate::DefaultSettingsPath;
using BPrivate::StoreDefaultSettings;

namespace {

const char *kName = "Quorvel";
const int32 kVersion = 220;

BMessage SampleSettings()
{
	BMessage settings;
	settings.AddString("database_name", "Holiday");
	settings.AddBool("compression", false);
	settings.AddBool("dithering", true);
	return settings;
}


std::string ReadFile(const std::string &path)
{
	std::ifstream file(path, std::ios::binary);
	return std::string(std::istreambuf_iterator<char>(file), {});
}


void WriteFile(const std::string &path, const std::string &bytes)
{
	std::ofstream file(path, std::ios::binary | std::ios::trunc);
	file.write(bytes.data(), (std::streamsize)bytes.size());
}


std::unique_ptr<BMessage> Load()
{
	return std::unique_ptr<BMessage>(
		BTranslationUtils::GetDefaultSettings(kName, kVersion));
}


// Each test gets its own empty configuration folder.
class DefaultSettingsStoreTest : public testing::Test {
protected:
	void SetUp() override
	{
		ASSERT_FALSE(fConfig.Path().empty());
		setenv("XDG_CONFIG_HOME", fConfig.Path().c_str(), 1);
		fPath = fConfig / "TranslationKit/Quorvel.settings";
	}

	// The names in the settings folder.
	std::set<std::string> Listing() const
	{
		std::set<std::string> names;
		for (const auto &entry
				: fs::directory_iterator(fConfig / "TranslationKit")) {
			names.insert(entry.path().filename().string());
		}
		return names;
	}

	// Stores the sample and gives the file's bytes.
	std::string StoreSample()
	{
		EXPECT_EQ(StoreDefaultSettings(kName, kVersion, SampleSettings()),
			B_OK);
		return ReadFile(fPath);
	}

	TempFolder fConfig;
	std::string fPath;
};

} // namespace


TEST_F(DefaultSettingsStoreTest, PathFollowsTheConfigurationFolder)
{
	EXPECT_EQ(DefaultSettingsPath(kName), fPath);

	setenv("HOME", "/home/someone", 1);
	unsetenv("XDG_CONFIG_HOME");
	EXPECT_EQ(DefaultSettingsPath(kName),
		"/home/someone/.config/TranslationKit/Quorvel.settings");
	setenv("XDG_CONFIG_HOME", "", 1);
	EXPECT_EQ(DefaultSettingsPath(kName),
		"/home/someone/.config/TranslationKit/Quorvel.settings");
	setenv("XDG_CONFIG_HOME", "relative/folder", 1);
	EXPECT_EQ(DefaultSettingsPath(kName),
		"/home/someone/.config/TranslationKit/Quorvel.settings");

	unsetenv("XDG_CONFIG_HOME");
	unsetenv("HOME");
	EXPECT_EQ(DefaultSettingsPath(kName), "");
	EXPECT_EQ(Load(), nullptr);
}


TEST_F(DefaultSettingsStoreTest, NamesCannotLeaveTheFolder)
{
	std::string tooLong(260, 'q');
	for (const char *name : {(const char *)NULL, "", "../Quorvel", "a/b",
			".hidden", "/etc/passwd", tooLong.c_str()}) {
		SCOPED_TRACE(name != NULL ? name : "(null)");
		EXPECT_EQ(DefaultSettingsPath(name), "");
		EXPECT_EQ(StoreDefaultSettings(name, 1, SampleSettings()),
			B_BAD_VALUE);
		EXPECT_EQ(BTranslationUtils::GetDefaultSettings(name, 1), nullptr);
	}
	EXPECT_TRUE(fs::is_empty(fConfig.Path()));
}


TEST_F(DefaultSettingsStoreTest, NothingStoredGivesNull)
{
	EXPECT_EQ(Load(), nullptr);
}


TEST_F(DefaultSettingsStoreTest, StoredSettingsComeBack)
{
	// The folders are made on the way.
	setenv("XDG_CONFIG_HOME", (fConfig / "new/config").c_str(), 1);
	ASSERT_EQ(StoreDefaultSettings(kName, kVersion, SampleSettings()), B_OK);
	std::unique_ptr<BMessage> loaded = Load();
	ASSERT_NE(loaded, nullptr);
	EXPECT_TRUE(loaded->HasSameData(SampleSettings()));

	// The file keeps the version that wrote it.
	BFile file(DefaultSettingsPath(kName).c_str(), B_READ_ONLY);
	BMessage stored;
	ASSERT_EQ(stored.Unflatten(&file), B_OK);
	EXPECT_EQ(stored.GetInt32("translator:version", 0), kVersion);
}


TEST_F(DefaultSettingsStoreTest, StoringAgainReplacesTheFileWhole)
{
	StoreSample();
	BMessage changed;
	changed.AddBool("high_contrast", true);
	ASSERT_EQ(StoreDefaultSettings(kName, kVersion, changed), B_OK);

	std::unique_ptr<BMessage> loaded = Load();
	ASSERT_NE(loaded, nullptr);
	EXPECT_TRUE(loaded->HasSameData(changed));
	// No file written aside is left behind; the lock file stays.
	EXPECT_EQ(Listing(), (std::set<std::string>{"Quorvel.settings",
		"Quorvel.settings.lock"}));
}


TEST_F(DefaultSettingsStoreTest, OtherVersionsAreStillRead)
{
	ASSERT_EQ(StoreDefaultSettings(kName, 100, SampleSettings()), B_OK);
	std::unique_ptr<BMessage> loaded = Load();
	ASSERT_NE(loaded, nullptr);
	EXPECT_TRUE(loaded->HasSameData(SampleSettings()));
}


TEST_F(DefaultSettingsStoreTest, AnotherTranslatorsFileIsNotTaken)
{
	ASSERT_EQ(StoreDefaultSettings("Other", kVersion, SampleSettings()),
		B_OK);
	fs::rename(DefaultSettingsPath("Other"), fPath);
	EXPECT_EQ(Load(), nullptr);
	BMessage settings;
	EXPECT_EQ(BPrivate::ReadDefaultSettings(kName, &settings),
		B_MISMATCHED_VALUES);
}


TEST_F(DefaultSettingsStoreTest, UnusableFilesGiveNullAndSayWhy)
{
	std::string valid = StoreSample();
	ASSERT_GT(valid.size(), 8u);
	BMessage read;
	EXPECT_EQ(BPrivate::ReadDefaultSettings(kName, &read), B_OK);
	EXPECT_TRUE(read.HasSameData(SampleSettings()));

	auto expectUnusable = [&](status_t why) {
		EXPECT_EQ(Load(), nullptr);
		BMessage settings;
		EXPECT_EQ(BPrivate::ReadDefaultSettings(kName, &settings), why);
	};
	WriteFile(fPath, "");
	expectUnusable(B_BAD_DATA);
	WriteFile(fPath, "this is not a flattened message at all");
	expectUnusable(B_BAD_DATA);
	WriteFile(fPath, valid + "x");
	expectUnusable(B_BAD_DATA);
	for (size_t length : {(size_t)1, (size_t)4, valid.size() / 2,
			valid.size() - 1}) {
		SCOPED_TRACE(length);
		WriteFile(fPath, valid.substr(0, length));
		expectUnusable(B_BAD_DATA);
	}
	// Every single flipped byte either still reads or is refused.
	for (size_t i = 0; i < valid.size(); i++) {
		std::string flipped = valid;
		flipped[i] = (char)(flipped[i] ^ 0x5a);
		WriteFile(fPath, flipped);
		Load();
	}

	std::string oversized = valid;
	oversized.resize((size_t)BPrivate::kMaxDefaultSettingsSize + 1, '\0');
	WriteFile(fPath, oversized);
	expectUnusable(B_FILE_TOO_LARGE);

	fs::remove(fPath);
	expectUnusable(B_ENTRY_NOT_FOUND);
	fs::create_directory(fPath);
	expectUnusable(B_IS_A_DIRECTORY);
	// A FIFO would keep the reader waiting for a writer: never opened, nor
	// replaced.
	fs::remove(fPath);
	ASSERT_EQ(mkfifo(fPath.c_str(), 0600), 0);
	expectUnusable(B_BAD_TYPE);
	EXPECT_EQ(StoreDefaultSettings(kName, kVersion, SampleSettings()),
		B_BAD_TYPE);
	EXPECT_TRUE(fs::is_fifo(fPath));
}


TEST_F(DefaultSettingsStoreTest, AFailedStoreKeepsTheOldFile)
{
	std::string old = StoreSample();

	// Files may not grow past 1 KiB: writing the large message fails
	// part way, as on a full disk.
	BMessage large;
	large.AddString("database_name", std::string(8000, 'z').c_str());
	struct rlimit saved;
	ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
	struct rlimit limit = saved;
	limit.rlim_cur = 1024;
	signal(SIGXFSZ, SIG_IGN);
	ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
	status_t status = StoreDefaultSettings(kName, kVersion, large);
	setrlimit(RLIMIT_FSIZE, &saved);

	EXPECT_NE(status, B_OK);
	EXPECT_EQ(ReadFile(fPath), old);
	EXPECT_EQ(Listing(), (std::set<std::string>{"Quorvel.settings",
		"Quorvel.settings.lock"}));
}


TEST_F(DefaultSettingsStoreTest, AFolderInTheWayIsReported)
{
	WriteFile(fConfig / "TranslationKit", "a file, not a folder");
	EXPECT_NE(StoreDefaultSettings(kName, kVersion, SampleSettings()), B_OK);
	EXPECT_EQ(Load(), nullptr);
}


TEST_F(DefaultSettingsStoreTest, ConcurrentUpdatesFollowOneAnother)
{
	// Each update stores the count one higher, yielding in between to
	// invite another update in; without the lock most would be lost. A
	// change that fails stores nothing.
	auto increment = [](BMessage &settings) {
		int32 count = settings.GetInt32("count", 0);
		std::this_thread::yield();
		settings.RemoveName("count");
		return settings.AddInt32("count", count + 1);
	};
	std::vector<std::thread> threads;
	for (int t = 0; t < 6; t++) {
		threads.emplace_back([&] {
			for (int i = 0; i < 20; i++) {
				EXPECT_EQ(BPrivate::UpdateDefaultSettings(kName, kVersion,
					increment), B_OK);
			}
		});
	}
	for (std::thread &thread : threads) {
		thread.join();
	}
	EXPECT_EQ(BPrivate::UpdateDefaultSettings(kName, kVersion,
		[](BMessage &settings) {
			settings.MakeEmpty();
			return B_BAD_VALUE;
		}), B_BAD_VALUE);
	std::unique_ptr<BMessage> loaded = Load();
	ASSERT_NE(loaded, nullptr);
	EXPECT_EQ(loaded->GetInt32("count", 0), 6 * 20);
}
