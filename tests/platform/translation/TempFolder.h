// A fresh, empty folder for one test, removed with everything in it when
// the test ends.
#ifndef QUORVEL_TEST_TEMP_FOLDER_H
#define QUORVEL_TEST_TEMP_FOLDER_H

#include <stdlib.h>

#include <filesystem>
#include <string>

class TempFolder {
public:
	TempFolder()
	{
		std::string pattern = (std::filesystem::temp_directory_path()
			/ "quorvel-test-XXXXXX").string();
		if (mkdtemp(pattern.data()) != NULL) {
			fPath = pattern;
		}
	}

	~TempFolder()
	{
		if (!fPath.empty()) {
			std::error_code ignored;
			std::filesystem::remove_all(fPath, ignored);
		}
	}

	// Empty when the folder could not be made.
	const std::string &Path() const { return fPath; }
	std::string operator/(const std::string &name) const
	{
		return fPath + "/" + name;
	}

private:
	TempFolder(const TempFolder &) = delete;
	TempFolder &operator=(const TempFolder &) = delete;

	std::string fPath;
};

#endif // QUORVEL_TEST_TEMP_FOLDER_H
