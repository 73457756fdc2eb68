// An input file as the positionable stream a translator reads.
#ifndef QUORVEL_HOST_INPUT_FILE_H
#define QUORVEL_HOST_INPUT_FILE_H

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <DataIO.h>

// The most read from standard input, a pipe or a device: far above any
// picture within the pixel limits, and a bound on what an endless source
// such as /dev/zero can make us hold.
const uint64 kMaxInputBytes = (uint64)1 << 31;

// A regular file is read where it lies, as the translator asks for its
// bytes. Anything else ("-" for standard input, a pipe, a device) cannot
// be read twice or sought, so its bytes are read into memory first, in
// blocks that are never copied. Throws Failure naming the file: not
// found, a folder, unreadable, too large.
std::unique_ptr<BPositionIO> OpenInputFile(const std::string &path);

// Opens each path in turn and runs work on it, with the file's name as
// messages give it ("standard input" for "-"). A Failure or a lack of
// memory is said on standard error, naming the file, after what standard
// output holds so far, and the next file goes on. False when any failed.
bool ForEachInputFile(const std::vector<std::string> &paths,
	const std::function<void(const std::string &name, BPositionIO &source)>
		&work);

// The reason for an errno, in the user's words.
std::string DescribeError(int error);

#endif // QUORVEL_HOST_INPUT_FILE_H
