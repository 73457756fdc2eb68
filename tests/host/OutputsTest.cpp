// Where outputs go: device nodes, FIFOs, sockets and the process's own
// descriptors are written in place, symbolic links are followed, long names
// fit, --no-clobber keeps what is there, an input or a write-protected file
// is never replaced, and the signals that stop quorvel leave no temporary
// file.
// Device nodes are made in the test's own folder, never taken from /dev.
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>

#include <functional>
#include <thread>

#include "HostTool.h"

namespace {

namespace fs = std::filesystem;

const char kNamedTemporaries[] = "QUORVEL_NAMED_TEMPORARY_FILES=1 ";

class OutputsTest : public HostTest {
protected:
	void SetUp() override
	{
		HostTest::SetUp();
		WriteBytes(Path("in.pgm"), BytesOfText("P5 64 40 255\n"
			+ std::string(64 * 40, '\x60')));
		ASSERT_EQ(Run({"convert", "in.pgm", "expected.pdb"}).exitCode, 0);
		fExpected = ReadBytes(Path("expected.pdb"));
	}

	// What arrives where the conversion writes output, read from the
	// descriptor that connect gives (on a thread of its own, as a reader
	// of a FIFO or a socket's server must be ready as quorvel writes).
	Bytes Received(const std::string &output,
		const std::function<int()> &connect)
	{
		Bytes bytes;
		std::thread reader([&] {
			int fd = connect();
			uint8 buffer[4096];
			for (ssize_t got; (got = read(fd, buffer, sizeof(buffer))) > 0;) {
				bytes.insert(bytes.end(), buffer, buffer + got);
			}
			close(fd);
		});
		EXPECT_EQ(Run({"convert", "in.pgm", "--to", "pdb", output}).exitCode,
			0);
		reader.join();
		return bytes;
	}

	// No name in the folder that a temporary file could have.
	void ExpectNoTemporaryFile(const std::string &folder = "")
	{
		for (const std::string &name : Listing(folder)) {
			EXPECT_EQ(name.find(".quorvel-partial-"), std::string::npos)
				<< name;
		}
	}

	Bytes fExpected;
};

TEST_F(OutputsTest, DeviceNodesStayDevicesAndReportWhatHappened)
{
	if (mknod(Path("null").c_str(), S_IFCHR | 0666, makedev(1, 3)) != 0
		|| mknod(Path("full").c_str(), S_IFCHR | 0666, makedev(1, 7)) != 0) {
		GTEST_SKIP() << "mknod is not permitted here";
	}
	int probe = open(Path("null").c_str(), O_WRONLY);
	if (probe < 0) {
		GTEST_SKIP() << "device nodes cannot be opened here (nodev)";
	}
	close(probe);
	EXPECT_EQ(Run({"convert", "in.pgm", "--to", "pdb", "null"}).exitCode, 0);
	RunResult full = Run({"convert", "in.pgm", "--to", "pdb", "full"});
	EXPECT_EQ(full.exitCode, 1);
	EXPECT_EQ(full.err, "quorvel: full: disk full\n");
	// --no-clobber keeps files, and a device holds none.
	EXPECT_EQ(Run({"convert", "-n", "in.pgm", "--to", "pdb", "null"})
		.exitCode, 0);
	for (const char *name : {"null", "full"}) {
		EXPECT_TRUE(fs::is_character_file(Path(name))) << name;
	}
	ExpectNoTemporaryFile();
}

TEST_F(OutputsTest, FifosSocketsAndOwnDescriptorsReceiveTheBytes)
{
	// /dev/stdout leads to /proc/self/fd/1; a pipe there has no path, and
	// a file there may be open for appending.
	EXPECT_EQ(BytesOfText(Run({"convert", "in.pgm", "--to", "pdb",
		"/proc/self/fd/1"}).out), fExpected);
	ASSERT_EQ(Shell("echo x > log; $Q convert in.pgm --to pdb /dev/fd/1 "
		">> log && $Q convert in.pgm --to pdb /dev/fd/1 | cat > piped")
		.exitCode, 0);
	Bytes appended = BytesOfText("x\n");
	appended.insert(appended.end(), fExpected.begin(), fExpected.end());
	EXPECT_EQ(ReadBytes(Path("log")), appended);
	EXPECT_EQ(ReadBytes(Path("piped")), fExpected);

	ASSERT_EQ(mkfifo(Path("fifo").c_str(), 0600), 0);
	EXPECT_EQ(Received("fifo", [&] {
		return open(Path("fifo").c_str(), O_RDONLY);
	}), fExpected);
	EXPECT_TRUE(fs::is_fifo(Path("fifo")));

	int listener = socket(AF_UNIX, SOCK_STREAM, 0);
	struct sockaddr_un address = {};
	address.sun_family = AF_UNIX;
	ASSERT_LT(Path("socket").size(), sizeof(address.sun_path));
	strcpy(address.sun_path, Path("socket").c_str());
	ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr *>(&address),
		sizeof(address)), 0);
	ASSERT_EQ(listen(listener, 1), 0);
	EXPECT_EQ(Received("socket", [&] {
		return accept(listener, NULL, NULL);
	}), fExpected);
	close(listener);
}

TEST_F(OutputsTest, SymbolicLinksAreFollowedAndStay)
{
	fs::create_directory(Path("real"));
	WriteBytes(Path("real/picture.pdb"), BytesOfText("old"));
	fs::permissions(Path("real/picture.pdb"), fs::perms::owner_read
		| fs::perms::owner_write | fs::perms::group_read);
	fs::create_symlink("real/picture.pdb", Path("inner.pdb"));
	fs::create_symlink("inner.pdb", Path("outer.pdb"));
	fs::create_symlink("real/new.pdb", Path("dangling.pdb"));
	fs::create_symlink("loop.pdb", Path("loop.pdb"));

	for (const char *link : {"outer.pdb", "dangling.pdb"}) {
		SCOPED_TRACE(link);
		RunResult result = Run({"convert", "in.pgm", link});
		EXPECT_EQ(result.exitCode, 0) << result.err;
		EXPECT_TRUE(fs::is_symlink(Path(link)));
	}
	EXPECT_EQ(ReadBytes(Path("real/picture.pdb")), fExpected);
	EXPECT_EQ(ReadBytes(Path("real/new.pdb")), fExpected);
	EXPECT_EQ(fs::status(Path("real/picture.pdb")).permissions(),
		fs::perms::owner_read | fs::perms::owner_write
		| fs::perms::group_read);

	RunResult loop = Run({"convert", "in.pgm", "loop.pdb"});
	EXPECT_EQ(loop.exitCode, 1);
	EXPECT_EQ(loop.err, "quorvel: loop.pdb: write failed: too many levels "
		"of symbolic links\n");

	RunResult kept = Run({"convert", "--no-clobber", "in.pgm", "outer.pdb"});
	EXPECT_EQ(kept.exitCode, 1);
	EXPECT_EQ(kept.err, "quorvel: outer.pdb: already exists; not "
		"overwritten (--no-clobber)\n");
	ExpectNoTemporaryFile();
	ExpectNoTemporaryFile("real");
}

TEST_F(OutputsTest, LongestNamesAndNoClobberWithEitherTemporaryFile)
{
	const std::string longest = std::string(251, 'n') + ".pdb";
	for (const std::string &prefix : {std::string(), std::string(
			kNamedTemporaries)}) {
		SCOPED_TRACE(prefix);
		fs::remove(Path(longest));
		WriteBytes(Path("kept.pdb"), BytesOfText("old"));
		// New, then replaced.
		RunResult result = Shell(prefix + "$Q convert in.pgm " + longest
			+ " && " + prefix + "$Q convert in.pgm " + longest);
		EXPECT_EQ(result.exitCode, 0) << result.err;
		EXPECT_EQ(ReadBytes(Path(longest)), fExpected);

		result = Shell(prefix + "$Q convert -n in.pgm kept.pdb");
		EXPECT_EQ(result.exitCode, 1);
		EXPECT_EQ(result.ErrorLines().size(), 1u) << result.err;
		EXPECT_EQ(ReadBytes(Path("kept.pdb")), BytesOfText("old"));
		fs::remove(Path("fresh.pdb"));
		EXPECT_EQ(Shell(prefix + "$Q convert -n in.pgm fresh.pdb").exitCode,
			0);
		EXPECT_EQ(ReadBytes(Path("fresh.pdb")), fExpected);
		ExpectNoTemporaryFile();
	}
}

// Each command would lose a file: the input (by its own name, a symbolic
// or a hard link), a file its owner protected, or one of two batch outputs
// that reach one file through a linked folder.
TEST_F(OutputsTest, OutputsThatWouldLoseAFileAreRefused)
{
	fs::copy_file(Path("expected.pdb"), Path("a.pdb"));
	fs::create_symlink("a.pdb", Path("link.pdb"));
	fs::create_hard_link(Path("a.pdb"), Path("hard.pdb"));
	WriteBytes(Path("locked.pdb"), BytesOfText("old"));
	fs::permissions(Path("locked.pdb"), fs::perms::owner_read
		| fs::perms::group_read | fs::perms::others_read);
	fs::create_directories(Path("tree/s1"));
	fs::create_directories(Path("tree/s2"));
	fs::copy_file(Path("in.pgm"), Path("tree/s1/x.pgm"));
	fs::copy_file(Path("in.pgm"), Path("tree/s2/x.pgm"));
	fs::create_directories(Path("cto/s1"));
	fs::create_symlink("s1", Path("cto/s2"));

	const struct {
		std::vector<std::string> arguments;
		int exitCode;
		std::string error;
	} kCases[] = {
		{{"a.pdb", "a.pdb"}, 1, "quorvel: a.pdb: is the input; not "
			"overwritten\n"},
		{{"--to", "pdb", "a.pdb", "link.pdb"}, 1, "quorvel: link.pdb: is the "
			"input; not overwritten\n"},
		{{"--to", "pdb", "a.pdb", "hard.pdb"}, 1, "quorvel: hard.pdb: is the "
			"input; not overwritten\n"},
		{{"in.pgm", "locked.pdb"}, 1, "quorvel: locked.pdb: write-protected; "
			"not overwritten (make it writable, or remove it, first)\n"},
		{{"-r", "tree", "-o", "cto"}, 2, "quorvel: 'tree/s1/x.pgm' and "
			"'tree/s2/x.pgm' would both be written to one file, cto/s1/x.pdb "
			"and cto/s2/x.pdb being the same\nTry 'quorvel --help' for "
			"more.\n"},
	};
	for (const auto &refused : kCases) {
		std::vector<std::string> arguments = {"convert", "-q"};
		arguments.insert(arguments.end(), refused.arguments.begin(),
			refused.arguments.end());
		SCOPED_TRACE(arguments.back());
		RunResult result = Run(arguments);
		EXPECT_EQ(result.exitCode, refused.exitCode);
		EXPECT_EQ(result.err, refused.error);
	}
	// Standard input redirected from the output is the input as well.
	RunResult redirected = Shell("$Q convert -q --to pdb - hard.pdb < a.pdb");
	EXPECT_EQ(redirected.exitCode, 1);
	EXPECT_EQ(redirected.err, "quorvel: hard.pdb: is the input; not "
		"overwritten\n");
	EXPECT_EQ(ReadBytes(Path("a.pdb")), fExpected);
	EXPECT_EQ(ReadBytes(Path("locked.pdb")), BytesOfText("old"));
	EXPECT_TRUE(fs::is_empty(Path("cto/s1")));
	ExpectNoTemporaryFile();
}

// Started with descriptors 0, 1 or 2 closed, quorvel opens no file in
// their place: a warning printed by one job would land in another's
// output. Bad inputs among the batch print while outputs are written.
TEST_F(OutputsTest, ClosedStandardDescriptorsAreNeverTakenByFiles)
{
	Bytes picture = BytesOfText("P5 600 600 255\n");
	picture.resize(picture.size() + 600 * 600, 0x60);
	WriteBytes(Path("big.pgm"), picture);
	ASSERT_EQ(Run({"convert", "big.pgm", "--to", "bits", "big.bits"})
		.exitCode, 0);
	Bytes expected = ReadBytes(Path("big.bits"));
	std::string batch = "$Q convert -j 4 --to bits -o out";
	for (int i = 0; i < 16; i++) {
		std::string number = std::to_string(i);
		fs::copy_file(Path("big.pgm"), Path("in" + number + ".pgm"));
		WriteBytes(Path("bad" + number + ".pgm"), BytesOfText("junk"));
		batch += " in" + number + ".pgm bad" + number + ".pgm";
	}
	for (int trial = 0; trial < 6; trial++) {
		fs::remove_all(Path("out"));
		EXPECT_EQ(Shell(batch + " 2>&-; echo $?").out, "1\n");
		for (int i = 0; i < 16; i++) {
			EXPECT_EQ(ReadBytes(Path("out/in" + std::to_string(i) + ".bits")),
				expected) << "trial " << trial << ", file " << i;
		}
	}

	// The descriptors held open still fail as closed ones do.
	RunResult closed = Shell("$Q convert in.pgm --to pdb - >&-; echo $?; "
		"$Q convert - --to pdb one.pdb <&- 2>/dev/null; echo $?; "
		"$Q convert -q in.pgm all.pdb <&- >&- 2>&-; echo $?");
	EXPECT_EQ(closed.out, "1\n1\n0\n");
	EXPECT_EQ(closed.err, "quorvel: standard output: write failed: Bad file "
		"descriptor\n");
	EXPECT_EQ(ReadBytes(Path("all.pdb")), fExpected);
}

// A batch into out/, with named temporary files, stopped by each signal
// once it has written a few outputs. Half the outputs are there before,
// holding "old"; each must be the old file or the whole new one.
TEST_F(OutputsTest, StoppingSignalsLeaveNoTemporaryFile)
{
	std::string batch = std::string(kNamedTemporaries) + "exec $Q convert "
		"--to pdb --name in -j 2 -o out";
	for (int i = 0; i < 200; i++) {
		fs::copy_file(Path("in.pgm"), Path("in" + std::to_string(i) + ".pgm"));
		batch += " in" + std::to_string(i) + ".pgm";
	}
	for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
		SCOPED_TRACE(strsignal(signal));
		fs::remove_all(Path("out"));
		fs::create_directory(Path("out"));
		for (int i = 0; i < 200; i += 2) {
			WriteBytes(Path("out/in" + std::to_string(i) + ".pdb"),
				BytesOfText("old"));
		}
		pid_t pid = StartShell(batch);
		ASSERT_GT(pid, 0);
		int status = 0;
		pid_t ended = 0;
		while (Listing("out").size() < 103
			&& (ended = waitpid(pid, &status, WNOHANG)) == 0) {
			std::this_thread::yield();
		}
		if (ended == 0) {
			kill(pid, signal);
			waitpid(pid, &status, 0);
		}
		EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal)
			<< "status " << status;
		ExpectNoTemporaryFile("out");
		for (const std::string &name : Listing("out")) {
			Bytes bytes = ReadBytes(Path("out/" + name));
			EXPECT_TRUE(bytes == fExpected || bytes == BytesOfText("old"))
				<< name;
		}
	}

	// Past `ulimit -f`, the write brings SIGXFSZ.
	WriteBytes(Path("out/in0.pdb"), BytesOfText("old"));
	RunResult limited = Shell(std::string("ulimit -f 2; ")
		+ kNamedTemporaries + "$Q convert --no-compression in.pgm out/in0.pdb;"
		" echo $?");
	EXPECT_EQ(limited.out, std::to_string(128 + SIGXFSZ) + "\n");
	EXPECT_EQ(ReadBytes(Path("out/in0.pdb")), BytesOfText("old"));
	ExpectNoTemporaryFile("out");
}

} // namespace
