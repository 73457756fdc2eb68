// Running the built quorvel as a user would, in a folder of its own, and
// the small file makers and readers the host tests share: PNG (stored
// deflate, so that no PNG library is involved in making test input), PNM,
// bitmap streams and the fields of a Pilot image.
#ifndef QUORVEL_TEST_HOST_TOOL_H
#define QUORVEL_TEST_HOST_TOOL_H

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <string.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include <ByteOrder.h>
#include <Screen.h>
#include <TranslatorFormats.h>

#include <gtest/gtest.h>

extern char **environ;

typedef std::vector<uint8> Bytes;

inline Bytes ReadBytes(const std::string &path)
{
	std::ifstream in(path, std::ios::binary);
	return Bytes(std::istreambuf_iterator<char>(in),
		std::istreambuf_iterator<char>());
}

inline void WriteBytes(const std::string &path, const Bytes &bytes)
{
	std::ofstream out(path, std::ios::binary);
	out.write(reinterpret_cast<const char *>(bytes.data()), bytes.size());
}

inline Bytes BytesOfText(const std::string &text)
{
	return Bytes(text.begin(), text.end());
}

struct RunResult {
	int exitCode = -1;
	std::string out;
	std::string err;

	// The lines written to standard error.
	std::vector<std::string> ErrorLines() const
	{
		std::vector<std::string> lines;
		std::istringstream in(err);
		for (std::string line; std::getline(in, line);) {
			lines.push_back(line);
		}
		return lines;
	}
};

// A test's own folder, holding its files and its settings folder
// (XDG_CONFIG_HOME of every run, so stored settings stay in the test).
class HostTest : public ::testing::Test {
protected:
	void SetUp() override
	{
		char pattern[] = "/tmp/quorvel-host-XXXXXX";
		ASSERT_NE(mkdtemp(pattern), nullptr);
		fFolder = pattern;
		std::filesystem::create_directory(fFolder + "/config");
	}

	void TearDown() override
	{
		std::filesystem::remove_all(fFolder);
	}

	std::string Path(const std::string &name) const
	{
		return fFolder + "/" + name;
	}

	// The names in the folder (or a folder inside it), settings aside.
	std::vector<std::string> Listing(const std::string &sub = "") const
	{
		std::vector<std::string> names;
		for (const auto &entry
				: std::filesystem::directory_iterator(Path(sub))) {
			std::string name = entry.path().filename().string();
			if (name != "config") {
				names.push_back(name);
			}
		}
		std::sort(names.begin(), names.end());
		return names;
	}

	// Runs quorvel with the arguments in the test's folder. Standard
	// input comes from the file stdinPath (or /dev/null); standard output
	// goes to stdoutPath when given.
	RunResult Run(const std::vector<std::string> &arguments,
		const std::string &stdinPath = "/dev/null",
		const std::string &stdoutPath = "")
	{
		std::vector<std::string> command = {QUORVEL_HOST_PATH};
		command.insert(command.end(), arguments.begin(), arguments.end());
		return Spawn(command, stdinPath, stdoutPath);
	}

	// Runs a shell command line in the test's folder, $Q standing for
	// quorvel.
	RunResult Shell(const std::string &line)
	{
		return Spawn({"/bin/sh", "-c", "Q=" + std::string(QUORVEL_HOST_PATH)
			+ "; " + line}, "/dev/null", "");
	}

	// Starts a shell command line as Shell does, with its output thrown
	// away, and leaves it running; -1 when it cannot start.
	pid_t StartShell(const std::string &line)
	{
		return Start({"/bin/sh", "-c", "Q=" + std::string(QUORVEL_HOST_PATH)
			+ "; " + line}, "/dev/null", "/dev/null", "/dev/null");
	}

	std::string fFolder;

private:
	RunResult Spawn(std::vector<std::string> command,
		const std::string &stdinPath, const std::string &stdoutPath)
	{
		std::string outPath = stdoutPath.empty() ? Path(".stdout")
			: stdoutPath;
		std::string errPath = Path(".stderr");
		RunResult result;
		pid_t pid = Start(command, stdinPath, outPath, errPath);
		if (pid > 0) {
			int status = 0;
			waitpid(pid, &status, 0);
			result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status)
				: 128 + WTERMSIG(status);
		}
		if (stdoutPath.empty()) {
			Bytes out = ReadBytes(outPath);
			result.out.assign(out.begin(), out.end());
			std::filesystem::remove(outPath);
		}
		Bytes err = ReadBytes(errPath);
		result.err.assign(err.begin(), err.end());
		std::filesystem::remove(errPath);
		return result;
	}

	// Starts the command in the test's folder with its settings folder,
	// the signals at their defaults.
	pid_t Start(std::vector<std::string> command,
		const std::string &stdinPath, const std::string &outPath,
		const std::string &errPath)
	{
		posix_spawn_file_actions_t actions;
		posix_spawn_file_actions_init(&actions);
		posix_spawn_file_actions_addopen(&actions, 0, stdinPath.c_str(),
			O_RDONLY, 0);
		posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(),
			O_WRONLY | O_CREAT | O_TRUNC, 0644);
		posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(),
			O_WRONLY | O_CREAT | O_TRUNC, 0644);
		posix_spawn_file_actions_addchdir_np(&actions, fFolder.c_str());

		std::vector<std::string> environment;
		for (char **entry = environ; *entry != NULL; entry++) {
			if (strncmp(*entry, "XDG_CONFIG_HOME=", 16) != 0) {
				environment.push_back(*entry);
			}
		}
		environment.push_back("XDG_CONFIG_HOME=" + Path("config"));

		posix_spawnattr_t attributes;
		posix_spawnattr_init(&attributes);
		sigset_t defaults;
		sigfillset(&defaults);
		posix_spawnattr_setsigdefault(&attributes, &defaults);
		posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);

		pid_t pid;
		std::vector<char *> argv = Pointers(command);
		std::vector<char *> envp = Pointers(environment);
		if (posix_spawn(&pid, argv[0], &actions, &attributes, argv.data(),
				envp.data()) != 0) {
			pid = -1;
		}
		posix_spawnattr_destroy(&attributes);
		posix_spawn_file_actions_destroy(&actions);
		return pid;
	}

	static std::vector<char *> Pointers(std::vector<std::string> &strings)
	{
		std::vector<char *> pointers;
		for (std::string &s : strings) {
			pointers.push_back(&s[0]);
		}
		pointers.push_back(NULL);
		return pointers;
	}
};

// --- PNG, made by hand ---------------------------------------------------

inline uint32 Crc32(const uint8 *data, size_t size, uint32 crc = 0)
{
	crc = ~crc;
	for (size_t i = 0; i < size; i++) {
		crc ^= data[i];
		for (int bit = 0; bit < 8; bit++) {
			crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
		}
	}
	return ~crc;
}

inline void PutBE32(Bytes &bytes, uint32 value)
{
	for (int shift = 24; shift >= 0; shift -= 8) {
		bytes.push_back((uint8)(value >> shift));
	}
}

inline uint32 GetBE32(const Bytes &bytes, size_t offset)
{
	return ((uint32)bytes[offset] << 24) | ((uint32)bytes[offset + 1] << 16)
		| ((uint32)bytes[offset + 2] << 8) | bytes[offset + 3];
}

inline uint16 GetBE16(const Bytes &bytes, size_t offset)
{
	return (uint16)((bytes[offset] << 8) | bytes[offset + 1]);
}

inline void PutChunk(Bytes &png, const char *type, const Bytes &data)
{
	PutBE32(png, (uint32)data.size());
	size_t start = png.size();
	png.insert(png.end(), type, type + 4);
	png.insert(png.end(), data.begin(), data.end());
	PutBE32(png, Crc32(png.data() + start, png.size() - start));
}

// The rows (each rowBytes long, no filter byte) as a zlib stream of stored
// blocks.
inline Bytes StoredZlib(const Bytes &rows, size_t rowBytes)
{
	Bytes raw;
	for (size_t offset = 0; offset < rows.size(); offset += rowBytes) {
		raw.push_back(0);
		raw.insert(raw.end(), rows.begin() + offset,
			rows.begin() + offset + rowBytes);
	}
	Bytes zlib = {0x78, 0x01};
	size_t offset = 0;
	do {
		size_t length = std::min<size_t>(65535, raw.size() - offset);
		zlib.push_back(offset + length == raw.size() ? 1 : 0);
		zlib.push_back((uint8)length);
		zlib.push_back((uint8)(length >> 8));
		zlib.push_back((uint8)~length);
		zlib.push_back((uint8)(~length >> 8));
		zlib.insert(zlib.end(), raw.begin() + offset,
			raw.begin() + offset + length);
		offset += length;
	} while (offset < raw.size());
	uint32 a = 1, b = 0;
	for (uint8 byte : raw) {
		a = (a + byte) % 65521;
		b = (b + a) % 65521;
	}
	PutBE32(zlib, (b << 16) | a);
	return zlib;
}

// colorType 0 grey, 2 RGB, 3 palette, 4 grey+alpha, 6 RGBA.
inline Bytes MakePng(uint32 width, uint32 height, uint8 bitDepth,
	uint8 colorType, const Bytes &rows, const Bytes &palette = Bytes(),
	const Bytes &transparency = Bytes())
{
	static const int kChannels[] = {1, 0, 3, 1, 2, 0, 4};
	size_t rowBytes = ((size_t)width * kChannels[colorType] * bitDepth + 7)
		/ 8;
	Bytes png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
	Bytes header;
	PutBE32(header, width);
	PutBE32(header, height);
	header.insert(header.end(), {bitDepth, colorType, 0, 0, 0});
	PutChunk(png, "IHDR", header);
	if (!palette.empty()) {
		PutChunk(png, "PLTE", palette);
	}
	if (!transparency.empty()) {
		PutChunk(png, "tRNS", transparency);
	}
	PutChunk(png, "IDAT", StoredZlib(rows, rowBytes));
	PutChunk(png, "IEND", Bytes());
	return png;
}

// The IHDR fields of a PNG file.
struct PngHeader {
	uint32 width;
	uint32 height;
	int bitDepth;
	int colorType;
};

inline PngHeader ReadPngHeader(const Bytes &png)
{
	EXPECT_GE(png.size(), 33u);
	if (png.size() < 33) {
		return {0, 0, 0, 0};
	}
	return {GetBE32(png, 16), GetBE32(png, 20), png[24], png[25]};
}

// --- PNM -------------------------------------------------------------------

struct Pnm {
	char type = 0;
	uint32 width = 0;
	uint32 height = 0;
	Bytes pixels;  // as stored after the header
};

// Reads what quorvel writes: P4, P5 or P6 with single spaces and
// newlines, maxval 255.
inline Pnm ParsePnm(const Bytes &bytes)
{
	Pnm pnm;
	std::string text(bytes.begin(), bytes.end());
	std::istringstream in(text);
	std::string magic;
	in >> magic >> pnm.width >> pnm.height;
	pnm.type = magic.size() == 2 ? magic[1] : 0;
	if (pnm.type != '4') {
		int maxval;
		in >> maxval;
	}
	in.get();
	size_t start = (size_t)in.tellg();
	pnm.pixels.assign(bytes.begin() + start, bytes.end());
	return pnm;
}

// --- Bitmap streams and Pilot images ---------------------------------------

inline Bytes MakeBitmapStream(color_space colors, float right, float bottom,
	uint32 rowBytes, uint32 dataSize, const Bytes &data)
{
	TranslatorBitmap header;
	header.magic = B_TRANSLATOR_BITMAP;
	header.bounds = BRect(0, 0, right, bottom);
	header.rowBytes = rowBytes;
	header.colors = colors;
	header.dataSize = dataSize;
	swap_data(B_UINT32_TYPE, &header.magic, 4, B_SWAP_HOST_TO_BENDIAN);
	swap_data(B_RECT_TYPE, &header.bounds, 16, B_SWAP_HOST_TO_BENDIAN);
	swap_data(B_UINT32_TYPE, &header.rowBytes, 4, B_SWAP_HOST_TO_BENDIAN);
	swap_data(B_UINT32_TYPE, &header.colors, 4, B_SWAP_HOST_TO_BENDIAN);
	swap_data(B_UINT32_TYPE, &header.dataSize, 4, B_SWAP_HOST_TO_BENDIAN);
	Bytes bytes(32 + data.size());
	memcpy(&bytes[0], &header.magic, 4);
	memcpy(&bytes[4], &header.bounds, 16);
	memcpy(&bytes[20], &header.rowBytes, 4);
	memcpy(&bytes[24], &header.colors, 4);
	memcpy(&bytes[28], &header.dataSize, 4);
	std::copy(data.begin(), data.end(), bytes.begin() + 32);
	return bytes;
}

// The fields of a Pilot image written by the translator: the database
// name, then the image header at byte 86 and the pixel data at 144.
struct PilotFile {
	std::string name;
	uint8 packing;
	uint8 pixelType;
	int width;
	int height;
	size_t size;
};

inline PilotFile ReadPilotFile(const Bytes &bytes)
{
	EXPECT_GE(bytes.size(), 144u);
	if (bytes.size() < 144) {
		return PilotFile();
	}
	PilotFile file;
	file.name.assign(reinterpret_cast<const char *>(bytes.data()),
		strnlen(reinterpret_cast<const char *>(bytes.data()), 32));
	file.packing = bytes[86 + 32];
	file.pixelType = bytes[86 + 33];
	file.width = (int16)GetBE16(bytes, 86 + 54);
	file.height = (int16)GetBE16(bytes, 86 + 56);
	file.size = bytes.size();
	return file;
}

// The grey that a Pilot image's level (0 white .. 3 black) comes back as:
// the main screen's colour nearest to 255, 170, 85 or 0.
inline uint8 GreyOfLevel(int level)
{
	static const uint8 kLevels[] = {255, 170, 85, 0};
	BScreen screen(B_MAIN_SCREEN_ID);
	uint8 grey = kLevels[level];
	return screen.ColorForIndex(screen.IndexForColor(grey, grey, grey)).red;
}

#endif // QUORVEL_TEST_HOST_TOOL_H
