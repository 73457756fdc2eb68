// Why a file could not be converted: the one line the user reads on
// standard error, "quorvel: FILE: REASON".
#ifndef QUORVEL_HOST_FAILURE_H
#define QUORVEL_HOST_FAILURE_H

#include <exception>
#include <string>

class Failure : public std::exception {
public:
	// A reason about no file in particular yet; whoever knows the file
	// names it (see Named).
	explicit Failure(std::string reason)
		: fReason(std::move(reason)) {}
	Failure(std::string file, std::string reason)
		: fFile(std::move(file)), fReason(std::move(reason)) {}

	const std::string &File() const { return fFile; }
	const std::string &Reason() const { return fReason; }
	const char *what() const noexcept override { return fReason.c_str(); }

	// The same failure, about file unless it already names one.
	Failure Named(const std::string &file) const
	{
		return Failure(fFile.empty() ? file : fFile, fReason);
	}

	// The line for standard error, without its newline.
	std::string Line() const
	{
		if (fFile.empty()) {
			return "quorvel: " + fReason;
		}
		return "quorvel: " + fFile + ": " + fReason;
	}

private:
	std::string fFile;
	std::string fReason;
};

#endif // QUORVEL_HOST_FAILURE_H
