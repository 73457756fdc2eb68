// A message: a 'what' code and named fields, each field holding one or more
// values of one type. Messages can be flattened into bytes and restored.
#ifndef _MESSAGE_H
#define _MESSAGE_H

#include <AppDefs.h>
#include <DataIO.h>
#include <Rect.h>
#include <SupportDefs.h>
#include <TypeConstants.h>

// The longest field name, in bytes.
#define B_FIELD_NAME_LENGTH 255

class BHandler;

namespace BPrivate {
struct MessageFields;
}

class BMessage {
public:
	uint32 what;

	BMessage();
	BMessage(uint32 what);
	BMessage(const BMessage &other);
	virtual ~BMessage();
	BMessage &operator=(const BMessage &other);

	// Fields, in the order they were first added. GetInfo by index counts
	// only the fields of typeRequested (B_ANY_TYPE: all): B_BAD_INDEX past
	// the last of them, B_BAD_TYPE when there is none of that type.
	status_t GetInfo(type_code typeRequested, int32 index, char **nameFound,
		type_code *typeFound, int32 *countFound = NULL) const;
	status_t GetInfo(const char *name, type_code *typeFound,
		int32 *countFound = NULL) const;
	status_t GetInfo(const char *name, type_code *typeFound,
		bool *fixedSize) const;
	// Counts the fields holding values of type (B_ANY_TYPE: all fields).
	int32 CountNames(type_code type) const;
	bool IsEmpty() const;
	status_t MakeEmpty();
	// Same fields with the same values; `what` is not compared. With
	// deep, nested messages are compared by content rather than by their
	// flattened bytes.
	bool HasSameData(const BMessage &other, bool ignoreFieldOrder = true,
		bool deep = false) const;

	// Writes the value of one field, or of the whole message, to stdout.
	void PrintToStream() const;

	// Flattened form: see MessageFlatten.cpp for the layout. Flatten
	// fails with B_BAD_VALUE when the buffer is smaller than
	// FlattenedSize(), or when the message is too large for the form.
	ssize_t FlattenedSize() const;
	status_t Flatten(char *buffer, ssize_t size) const;
	status_t Flatten(BDataIO *stream, ssize_t *size = NULL) const;
	// Reads the size from the buffer's own header and trusts it, as the
	// platform does; use the stream form for bytes of unknown origin.
	status_t Unflatten(const char *flatBuffer);
	// Reads one flattened message from the stream. B_BAD_VALUE (and the
	// message unchanged) for anything that is not a whole, well-formed
	// flattened message.
	status_t Unflatten(BDataIO *stream);

	status_t AddRect(const char *name, BRect rect);
	status_t AddPoint(const char *name, BPoint point);
	status_t AddString(const char *name, const char *string);
	status_t AddInt8(const char *name, int8 value);
	status_t AddUInt8(const char *name, uint8 value);
	status_t AddInt16(const char *name, int16 value);
	status_t AddUInt16(const char *name, uint16 value);
	status_t AddInt32(const char *name, int32 value);
	status_t AddUInt32(const char *name, uint32 value);
	status_t AddInt64(const char *name, int64 value);
	status_t AddUInt64(const char *name, uint64 value);
	status_t AddBool(const char *name, bool value);
	status_t AddFloat(const char *name, float value);
	status_t AddDouble(const char *name, double value);
	status_t AddPointer(const char *name, const void *pointer);
	status_t AddMessage(const char *name, const BMessage *message);
	// B_BAD_TYPE when the field exists with another type; B_BAD_VALUE for
	// a NULL name or a name longer than B_FIELD_NAME_LENGTH, a negative
	// size, NULL data with a size, a value of another size in a fixed-size
	// field, or B_MESSAGE_TYPE bytes that are not a flattened message.
	// count is only a hint of how many values will follow.
	status_t AddData(const char *name, type_code type, const void *data,
		ssize_t numBytes, bool isFixedSize = true, int32 count = 1);

	// Removes every value of the field.
	status_t RemoveName(const char *name);
	status_t RemoveData(const char *name, int32 index = 0);

	// A find succeeds only for a value of the asked type: B_NAME_NOT_FOUND
	// when there is no such field, B_BAD_TYPE when it holds another type,
	// B_BAD_INDEX when it has fewer values, B_BAD_DATA when the value's
	// bytes do not fit the type (a string without its NUL, an int32 that
	// is not four bytes). The forms without an index find the first value.
	// FindData with B_ANY_TYPE matches a field of any type.
	status_t FindRect(const char *name, BRect *rect) const;
	status_t FindRect(const char *name, int32 index, BRect *rect) const;
	status_t FindPoint(const char *name, BPoint *point) const;
	status_t FindPoint(const char *name, int32 index, BPoint *point) const;
	status_t FindString(const char *name, const char **string) const;
	status_t FindString(const char *name, int32 index,
		const char **string) const;
	status_t FindInt8(const char *name, int8 *value) const;
	status_t FindInt8(const char *name, int32 index, int8 *value) const;
	status_t FindUInt8(const char *name, uint8 *value) const;
	status_t FindUInt8(const char *name, int32 index, uint8 *value) const;
	status_t FindInt16(const char *name, int16 *value) const;
	status_t FindInt16(const char *name, int32 index, int16 *value) const;
	status_t FindUInt16(const char *name, uint16 *value) const;
	status_t FindUInt16(const char *name, int32 index, uint16 *value) const;
	status_t FindInt32(const char *name, int32 *value) const;
	status_t FindInt32(const char *name, int32 index, int32 *value) const;
	status_t FindUInt32(const char *name, uint32 *value) const;
	status_t FindUInt32(const char *name, int32 index, uint32 *value) const;
	status_t FindInt64(const char *name, int64 *value) const;
	status_t FindInt64(const char *name, int32 index, int64 *value) const;
	status_t FindUInt64(const char *name, uint64 *value) const;
	status_t FindUInt64(const char *name, int32 index, uint64 *value) const;
	status_t FindBool(const char *name, bool *value) const;
	status_t FindBool(const char *name, int32 index, bool *value) const;
	status_t FindFloat(const char *name, float *value) const;
	status_t FindFloat(const char *name, int32 index, float *value) const;
	status_t FindDouble(const char *name, double *value) const;
	status_t FindDouble(const char *name, int32 index, double *value) const;
	status_t FindPointer(const char *name, void **pointer) const;
	status_t FindPointer(const char *name, int32 index, void **pointer) const;
	status_t FindMessage(const char *name, BMessage *message) const;
	status_t FindMessage(const char *name, int32 index,
		BMessage *message) const;
	status_t FindData(const char *name, type_code type, const void **data,
		ssize_t *numBytes) const;
	status_t FindData(const char *name, type_code type, int32 index,
		const void **data, ssize_t *numBytes) const;

	// Replace the value at index (0 by default) of an existing field of
	// the same type.
	status_t ReplaceString(const char *name, const char *string);
	status_t ReplaceString(const char *name, int32 index, const char *string);
	status_t ReplaceBool(const char *name, bool value);
	status_t ReplaceBool(const char *name, int32 index, bool value);
	status_t ReplaceInt32(const char *name, int32 value);
	status_t ReplaceInt32(const char *name, int32 index, int32 value);
	status_t ReplaceData(const char *name, type_code type, const void *data,
		ssize_t numBytes);
	status_t ReplaceData(const char *name, type_code type, int32 index,
		const void *data, ssize_t numBytes);

	bool HasString(const char *name, int32 index = 0) const;
	bool HasBool(const char *name, int32 index = 0) const;
	bool HasInt32(const char *name, int32 index = 0) const;
	bool HasData(const char *name, type_code type, int32 index = 0) const;

	// Conveniences: the value found, or the default.
	const char *GetString(const char *name,
		const char *defaultValue = NULL) const;
	bool GetBool(const char *name, bool defaultValue = false) const;
	int32 GetInt32(const char *name, int32 defaultValue) const;

private:
	// Replaces what and the fields with those of the flattened message of
	// size bytes at data, once all of them have been found good.
	status_t _UnflattenBytes(const void *data, size_t size);

	BPrivate::MessageFields *fFields;
};

#endif // _MESSAGE_H
