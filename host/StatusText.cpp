#include "StatusText.h"

#include <Errors.h>

namespace {

struct StatusWords {
	status_t status;
	const char *words;
};

const StatusWords kStatusWords[] = {
	{B_OK, "no error"},
	{B_ERROR, "general error"},
	{B_NO_MEMORY, "out of memory"},
	{B_IO_ERROR, "input/output error"},
	{B_PERMISSION_DENIED, "permission denied"},
	{B_BAD_INDEX, "index out of range"},
	{B_BAD_TYPE, "wrong type"},
	{B_BAD_VALUE, "invalid value"},
	{B_MISMATCHED_VALUES, "mismatched values"},
	{B_NAME_NOT_FOUND, "name not found"},
	{B_NAME_IN_USE, "name in use"},
	{B_TIMED_OUT, "timed out"},
	{B_INTERRUPTED, "interrupted"},
	{B_WOULD_BLOCK, "would block"},
	{B_CANCELED, "canceled"},
	{B_NO_INIT, "not initialised"},
	{B_BUSY, "busy"},
	{B_NOT_ALLOWED, "not allowed"},
	{B_BAD_DATA, "bad data"},
	{B_DONT_DO_THAT, "not allowed"},
	{B_NOT_A_MESSAGE, "not a message"},
	{B_NO_TRANSLATOR, "no translator for the data"},
	{B_ILLEGAL_DATA, "illegal data"},
	{B_FILE_ERROR, "file error"},
	{B_FILE_EXISTS, "file exists"},
	{B_ENTRY_NOT_FOUND, "not found"},
	{B_NAME_TOO_LONG, "name too long"},
	{B_NOT_A_DIRECTORY, "not a folder"},
	{B_DIRECTORY_NOT_EMPTY, "folder not empty"},
	{B_DEVICE_FULL, "disk full"},
	{B_READ_ONLY_DEVICE, "read-only file system"},
	{B_IS_A_DIRECTORY, "is a folder"},
	{B_NO_MORE_FDS, "too many open files"},
	{B_CROSS_DEVICE_LINK, "across file systems"},
	{B_LINK_LIMIT, "too many symbolic links"},
	{B_BUSTED_PIPE, "broken pipe"},
	{B_UNSUPPORTED, "not supported"},
	{B_FILE_TOO_LARGE, "file too large"},
};

const char *KitOf(status_t status)
{
	if (status >= B_POSIX_ERROR_BASE) {
		return "system";
	}
	if (status >= B_STORAGE_ERROR_BASE) {
		return "storage";
	}
	if (status >= B_TRANSLATION_ERROR_BASE) {
		return "translation";
	}
	if (status >= B_INTERFACE_ERROR_BASE) {
		return "interface";
	}
	if (status >= B_APP_ERROR_BASE) {
		return "application";
	}
	return "general";
}

} // namespace

std::string DescribeStatus(status_t status)
{
	for (const StatusWords &entry : kStatusWords) {
		if (entry.status == status) {
			return entry.words;
		}
	}
	if (status > 0) {
		return "unexpected result";
	}
	return std::string("unexpected ") + KitOf(status) + " error";
}
