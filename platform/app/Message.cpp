// BMessage's fields: adding, finding, replacing and removing typed values.
// Each value is kept as the bytes of its type in host order, so that a
// find can hand out a pointer to them and flattening can copy them as
// they are. The flattened form is in MessageFlatten.cpp, the dump in
// MessagePrint.cpp.
#include <Message.h>

#include <string.h>

#include "MessageFields.h"

using BPrivate::MessageField;
using BPrivate::MessageFields;

namespace {

// A rectangle and a point are kept as their floats, in the order left,
// top, right, bottom and x, y.
struct RectValue {
	float values[4];
};

struct PointValue {
	float values[2];
};

template<typename T>
status_t AddFixed(BMessage &message, const char *name, type_code type,
	const T &value)
{
	return message.AddData(name, type, &value, sizeof(T), true);
}

// Finds a value that must be exactly one T.
template<typename T>
status_t FindFixed(const BMessage &message, const char *name, type_code type,
	int32 index, T *value)
{
	if (value == NULL) {
		return B_BAD_VALUE;
	}
	const void *data;
	ssize_t size;
	status_t status = message.FindData(name, type, index, &data, &size);
	if (status != B_OK) {
		return status;
	}
	if (size != (ssize_t)sizeof(T)) {
		return B_BAD_DATA;
	}
	memcpy(value, data, sizeof(T));
	return B_OK;
}

template<typename T>
status_t ReplaceFixed(BMessage &message, const char *name, type_code type,
	int32 index, const T &value)
{
	return message.ReplaceData(name, type, index, &value, sizeof(T));
}

// The checks AddData and ReplaceData share for one value's bytes.
status_t CheckValue(type_code type, const void *data, ssize_t numBytes)
{
	if (numBytes < 0 || (data == NULL && numBytes > 0)
		|| type == B_ANY_TYPE) {
		return B_BAD_VALUE;
	}
	// Every nested message is kept well formed, so that it can always be
	// found and flattened again.
	if (type == B_MESSAGE_TYPE
		&& BPrivate::ParseFlattenedMessage(data, numBytes, 1, NULL, NULL)
			!= B_OK) {
		return B_BAD_VALUE;
	}
	return B_OK;
}

std::string ValueBytes(const void *data, ssize_t numBytes)
{
	if (numBytes == 0) {
		return std::string();
	}
	return std::string(static_cast<const char *>(data), numBytes);
}

} // namespace

BMessage::BMessage()
	: what(0),
	  fFields(new MessageFields)
{
}

BMessage::BMessage(uint32 what)
	: what(what),
	  fFields(new MessageFields)
{
}

BMessage::BMessage(const BMessage &other)
	: what(other.what),
	  fFields(new MessageFields(*other.fFields))
{
}

BMessage::~BMessage()
{
	delete fFields;
}

BMessage &
BMessage::operator=(const BMessage &other)
{
	if (this != &other) {
		MessageFields copy(*other.fFields);
		fFields->list.swap(copy.list);
		what = other.what;
	}
	return *this;
}

status_t BMessage::GetInfo(type_code typeRequested, int32 index,
	char **nameFound, type_code *typeFound, int32 *countFound) const
{
	if (index < 0) {
		return B_BAD_INDEX;
	}
	int32 matching = 0;
	for (const MessageField &field : fFields->list) {
		if (typeRequested != B_ANY_TYPE && field.type != typeRequested) {
			continue;
		}
		if (matching++ < index) {
			continue;
		}
		if (nameFound != NULL) {
			*nameFound = const_cast<char *>(field.name.c_str());
		}
		if (typeFound != NULL) {
			*typeFound = field.type;
		}
		if (countFound != NULL) {
			*countFound = (int32)field.values.size();
		}
		return B_OK;
	}
	// As on the platform: no field of the type at all is a type error.
	if (matching == 0 && typeRequested != B_ANY_TYPE) {
		return B_BAD_TYPE;
	}
	return B_BAD_INDEX;
}

status_t BMessage::GetInfo(const char *name, type_code *typeFound,
	int32 *countFound) const
{
	if (name == NULL) {
		return B_BAD_VALUE;
	}
	const MessageField *field = fFields->Find(name);
	if (field == NULL) {
		return B_NAME_NOT_FOUND;
	}
	if (typeFound != NULL) {
		*typeFound = field->type;
	}
	if (countFound != NULL) {
		*countFound = (int32)field->values.size();
	}
	return B_OK;
}

status_t BMessage::GetInfo(const char *name, type_code *typeFound,
	bool *fixedSize) const
{
	status_t status = GetInfo(name, typeFound, (int32 *)NULL);
	if (status == B_OK && fixedSize != NULL) {
		*fixedSize = fFields->Find(name)->fixedSize;
	}
	return status;
}

int32 BMessage::CountNames(type_code type) const
{
	int32 count = 0;
	for (const MessageField &field : fFields->list) {
		if (type == B_ANY_TYPE || field.type == type) {
			count++;
		}
	}
	return count;
}

bool BMessage::IsEmpty() const
{
	return fFields->list.empty();
}

status_t BMessage::MakeEmpty()
{
	fFields->list.clear();
	return B_OK;
}

bool BMessage::HasSameData(const BMessage &other, bool ignoreFieldOrder,
	bool deep) const
{
	if (this == &other) {
		return true;
	}
	const std::vector<MessageField> &mine = fFields->list;
	const std::vector<MessageField> &theirs = other.fFields->list;
	if (mine.size() != theirs.size()) {
		return false;
	}
	for (size_t i = 0; i < mine.size(); i++) {
		const MessageField &field = mine[i];
		const MessageField *otherField = ignoreFieldOrder
			? other.fFields->Find(field.name.c_str()) : &theirs[i];
		if (otherField == NULL || otherField->name != field.name
			|| otherField->type != field.type
			|| otherField->values.size() != field.values.size()) {
			return false;
		}
		for (size_t j = 0; j < field.values.size(); j++) {
			if (deep && field.type == B_MESSAGE_TYPE) {
				BMessage nested;
				BMessage otherNested;
				// Both are well formed: every nested message is checked
				// when it is added.
				if (FindMessage(field.name.c_str(), j, &nested) != B_OK
					|| other.FindMessage(field.name.c_str(), j,
						&otherNested) != B_OK
					|| !nested.HasSameData(otherNested, ignoreFieldOrder,
						true)) {
					return false;
				}
			} else if (field.values[j] != otherField->values[j]) {
				return false;
			}
		}
	}
	return true;
}

status_t BMessage::AddData(const char *name, type_code type, const void *data,
	ssize_t numBytes, bool isFixedSize, int32 /*count*/)
{
	if (name == NULL || strlen(name) > B_FIELD_NAME_LENGTH) {
		return B_BAD_VALUE;
	}
	MessageField *field = fFields->Find(name);
	if (field != NULL && field->type != type) {
		return B_BAD_TYPE;
	}
	status_t status = CheckValue(type, data, numBytes);
	if (status != B_OK) {
		return status;
	}
	if (field != NULL && field->fixedSize
		&& field->values[0].size() != (size_t)numBytes) {
		return B_BAD_VALUE;
	}

	if (field == NULL) {
		MessageField added;
		added.name = name;
		added.type = type;
		added.fixedSize = isFixedSize;
		fFields->list.push_back(added);
		field = &fFields->list.back();
	}
	field->values.push_back(ValueBytes(data, numBytes));
	return B_OK;
}

status_t BMessage::AddRect(const char *name, BRect rect)
{
	RectValue value = {{rect.left, rect.top, rect.right, rect.bottom}};
	return AddFixed(*this, name, B_RECT_TYPE, value);
}

status_t BMessage::AddPoint(const char *name, BPoint point)
{
	PointValue value = {{point.x, point.y}};
	return AddFixed(*this, name, B_POINT_TYPE, value);
}

status_t BMessage::AddString(const char *name, const char *string)
{
	if (string == NULL) {
		return B_BAD_VALUE;
	}
	return AddData(name, B_STRING_TYPE, string, strlen(string) + 1, false);
}

status_t BMessage::AddInt8(const char *name, int8 value)
{
	return AddFixed(*this, name, B_INT8_TYPE, value);
}

status_t BMessage::AddUInt8(const char *name, uint8 value)
{
	return AddFixed(*this, name, B_UINT8_TYPE, value);
}

status_t BMessage::AddInt16(const char *name, int16 value)
{
	return AddFixed(*this, name, B_INT16_TYPE, value);
}

status_t BMessage::AddUInt16(const char *name, uint16 value)
{
	return AddFixed(*this, name, B_UINT16_TYPE, value);
}

status_t BMessage::AddInt32(const char *name, int32 value)
{
	return AddFixed(*this, name, B_INT32_TYPE, value);
}

status_t BMessage::AddUInt32(const char *name, uint32 value)
{
	return AddFixed(*this, name, B_UINT32_TYPE, value);
}

status_t BMessage::AddInt64(const char *name, int64 value)
{
	return AddFixed(*this, name, B_INT64_TYPE, value);
}

status_t BMessage::AddUInt64(const char *name, uint64 value)
{
	return AddFixed(*this, name, B_UINT64_TYPE, value);
}

status_t BMessage::AddBool(const char *name, bool value)
{
	uint8 byte = value ? 1 : 0;
	return AddFixed(*this, name, B_BOOL_TYPE, byte);
}

status_t BMessage::AddFloat(const char *name, float value)
{
	return AddFixed(*this, name, B_FLOAT_TYPE, value);
}

status_t BMessage::AddDouble(const char *name, double value)
{
	return AddFixed(*this, name, B_DOUBLE_TYPE, value);
}

status_t BMessage::AddPointer(const char *name, const void *pointer)
{
	return AddFixed(*this, name, B_POINTER_TYPE, pointer);
}

status_t BMessage::AddMessage(const char *name, const BMessage *message)
{
	if (message == NULL) {
		return B_BAD_VALUE;
	}
	if (BPrivate::FlattenedMessageSize(*message->fFields)
			> BPrivate::kMaxFlattenedMessageSize) {
		return B_BAD_VALUE;
	}
	std::string flat;
	BPrivate::FlattenMessage(message->what, *message->fFields, flat);
	return AddData(name, B_MESSAGE_TYPE, flat.data(), flat.size(), false);
}

status_t BMessage::RemoveName(const char *name)
{
	if (name == NULL) {
		return B_BAD_VALUE;
	}
	MessageField *field = fFields->Find(name);
	if (field == NULL) {
		return B_NAME_NOT_FOUND;
	}
	fFields->list.erase(fFields->list.begin() + (field - &fFields->list[0]));
	return B_OK;
}

status_t BMessage::RemoveData(const char *name, int32 index)
{
	if (name == NULL) {
		return B_BAD_VALUE;
	}
	MessageField *field = fFields->Find(name);
	if (field == NULL) {
		return B_NAME_NOT_FOUND;
	}
	if (index < 0 || (size_t)index >= field->values.size()) {
		return B_BAD_INDEX;
	}
	if (field->values.size() == 1) {
		return RemoveName(name);
	}
	field->values.erase(field->values.begin() + index);
	return B_OK;
}

status_t BMessage::FindData(const char *name, type_code type, int32 index,
	const void **data, ssize_t *numBytes) const
{
	if (name == NULL || data == NULL || numBytes == NULL) {
		return B_BAD_VALUE;
	}
	const MessageField *field = fFields->Find(name);
	if (field == NULL) {
		return B_NAME_NOT_FOUND;
	}
	if (type != B_ANY_TYPE && field->type != type) {
		return B_BAD_TYPE;
	}
	if (index < 0 || (size_t)index >= field->values.size()) {
		return B_BAD_INDEX;
	}
	const std::string &value = field->values[index];
	*data = value.data();
	*numBytes = (ssize_t)value.size();
	return B_OK;
}

status_t BMessage::FindData(const char *name, type_code type, const void **data,
	ssize_t *numBytes) const
{
	return FindData(name, type, 0, data, numBytes);
}

status_t BMessage::FindRect(const char *name, int32 index,
	BRect *rect) const
{
	if (rect == NULL) {
		return B_BAD_VALUE;
	}
	RectValue value;
	status_t status = FindFixed(*this, name, B_RECT_TYPE, index, &value);
	if (status == B_OK) {
		rect->Set(value.values[0], value.values[1], value.values[2],
			value.values[3]);
	}
	return status;
}

status_t BMessage::FindRect(const char *name, BRect *rect) const
{
	return FindRect(name, 0, rect);
}

status_t BMessage::FindPoint(const char *name, int32 index,
	BPoint *point) const
{
	if (point == NULL) {
		return B_BAD_VALUE;
	}
	PointValue value;
	status_t status = FindFixed(*this, name, B_POINT_TYPE, index, &value);
	if (status == B_OK) {
		point->Set(value.values[0], value.values[1]);
	}
	return status;
}

status_t BMessage::FindPoint(const char *name, BPoint *point) const
{
	return FindPoint(name, 0, point);
}

status_t BMessage::FindString(const char *name, int32 index,
	const char **string) const
{
	if (string == NULL) {
		return B_BAD_VALUE;
	}
	const void *data;
	ssize_t size;
	status_t status = FindData(name, B_STRING_TYPE, index, &data, &size);
	if (status != B_OK) {
		return status;
	}
	// A string value from a flattened message or from AddData need not
	// end in its NUL; handing it out would let the caller read past it.
	if (size == 0 || static_cast<const char *>(data)[size - 1] != '\0') {
		return B_BAD_DATA;
	}
	*string = static_cast<const char *>(data);
	return B_OK;
}

status_t BMessage::FindString(const char *name, const char **string) const
{
	return FindString(name, 0, string);
}

status_t BMessage::FindInt8(const char *name, int32 index,
	int8 *value) const
{
	return FindFixed(*this, name, B_INT8_TYPE, index, value);
}

status_t BMessage::FindInt8(const char *name, int8 *value) const
{
	return FindInt8(name, 0, value);
}

status_t BMessage::FindUInt8(const char *name, int32 index,
	uint8 *value) const
{
	return FindFixed(*this, name, B_UINT8_TYPE, index, value);
}

status_t BMessage::FindUInt8(const char *name, uint8 *value) const
{
	return FindUInt8(name, 0, value);
}

status_t BMessage::FindInt16(const char *name, int32 index,
	int16 *value) const
{
	return FindFixed(*this, name, B_INT16_TYPE, index, value);
}

status_t BMessage::FindInt16(const char *name, int16 *value) const
{
	return FindInt16(name, 0, value);
}

status_t BMessage::FindUInt16(const char *name, int32 index,
	uint16 *value) const
{
	return FindFixed(*this, name, B_UINT16_TYPE, index, value);
}

status_t BMessage::FindUInt16(const char *name, uint16 *value) const
{
	return FindUInt16(name, 0, value);
}

status_t BMessage::FindInt32(const char *name, int32 index,
	int32 *value) const
{
	return FindFixed(*this, name, B_INT32_TYPE, index, value);
}

status_t BMessage::FindInt32(const char *name, int32 *value) const
{
	return FindInt32(name, 0, value);
}

status_t BMessage::FindUInt32(const char *name, int32 index,
	uint32 *value) const
{
	return FindFixed(*this, name, B_UINT32_TYPE, index, value);
}

status_t BMessage::FindUInt32(const char *name, uint32 *value) const
{
	return FindUInt32(name, 0, value);
}

status_t BMessage::FindInt64(const char *name, int32 index,
	int64 *value) const
{
	return FindFixed(*this, name, B_INT64_TYPE, index, value);
}

status_t BMessage::FindInt64(const char *name, int64 *value) const
{
	return FindInt64(name, 0, value);
}

status_t BMessage::FindUInt64(const char *name, int32 index,
	uint64 *value) const
{
	return FindFixed(*this, name, B_UINT64_TYPE, index, value);
}

status_t BMessage::FindUInt64(const char *name, uint64 *value) const
{
	return FindUInt64(name, 0, value);
}

status_t BMessage::FindBool(const char *name, int32 index,
	bool *value) const
{
	if (value == NULL) {
		return B_BAD_VALUE;
	}
	// Read as a byte: any non-zero byte is true, and no invalid bool is
	// ever loaded.
	uint8 byte;
	status_t status = FindFixed(*this, name, B_BOOL_TYPE, index, &byte);
	if (status == B_OK) {
		*value = byte != 0;
	}
	return status;
}

status_t BMessage::FindBool(const char *name, bool *value) const
{
	return FindBool(name, 0, value);
}

status_t BMessage::FindFloat(const char *name, int32 index,
	float *value) const
{
	return FindFixed(*this, name, B_FLOAT_TYPE, index, value);
}

status_t BMessage::FindFloat(const char *name, float *value) const
{
	return FindFloat(name, 0, value);
}

status_t BMessage::FindDouble(const char *name, int32 index,
	double *value) const
{
	return FindFixed(*this, name, B_DOUBLE_TYPE, index, value);
}

status_t BMessage::FindDouble(const char *name, double *value) const
{
	return FindDouble(name, 0, value);
}

status_t BMessage::FindPointer(const char *name, int32 index,
	void **pointer) const
{
	return FindFixed(*this, name, B_POINTER_TYPE, index, pointer);
}

status_t BMessage::FindPointer(const char *name, void **pointer) const
{
	return FindPointer(name, 0, pointer);
}

status_t BMessage::FindMessage(const char *name, int32 index,
	BMessage *message) const
{
	if (message == NULL) {
		return B_BAD_VALUE;
	}
	const void *data;
	ssize_t size;
	status_t status = FindData(name, B_MESSAGE_TYPE, index, &data, &size);
	if (status != B_OK) {
		return status;
	}
	// Well formed: every nested message is checked when it is added.
	return message->_UnflattenBytes(data, size);
}

status_t BMessage::FindMessage(const char *name, BMessage *message) const
{
	return FindMessage(name, 0, message);
}

status_t BMessage::ReplaceData(const char *name, type_code type, int32 index,
	const void *data, ssize_t numBytes)
{
	if (name == NULL) {
		return B_BAD_VALUE;
	}
	MessageField *field = fFields->Find(name);
	if (field == NULL) {
		return B_NAME_NOT_FOUND;
	}
	if (field->type != type) {
		return B_BAD_TYPE;
	}
	if (index < 0 || (size_t)index >= field->values.size()) {
		return B_BAD_INDEX;
	}
	status_t status = CheckValue(type, data, numBytes);
	if (status != B_OK) {
		return status;
	}
	if (field->fixedSize && field->values[0].size() != (size_t)numBytes) {
		return B_BAD_VALUE;
	}
	field->values[index] = ValueBytes(data, numBytes);
	return B_OK;
}

status_t BMessage::ReplaceData(const char *name, type_code type,
	const void *data, ssize_t numBytes)
{
	return ReplaceData(name, type, 0, data, numBytes);
}

status_t BMessage::ReplaceString(const char *name, int32 index,
	const char *string)
{
	if (string == NULL) {
		return B_BAD_VALUE;
	}
	return ReplaceData(name, B_STRING_TYPE, index, string,
		strlen(string) + 1);
}

status_t BMessage::ReplaceString(const char *name, const char *string)
{
	return ReplaceString(name, 0, string);
}

status_t BMessage::ReplaceBool(const char *name, int32 index, bool value)
{
	uint8 byte = value ? 1 : 0;
	return ReplaceFixed(*this, name, B_BOOL_TYPE, index, byte);
}

status_t BMessage::ReplaceBool(const char *name, bool value)
{
	return ReplaceBool(name, 0, value);
}

status_t BMessage::ReplaceInt32(const char *name, int32 index, int32 value)
{
	return ReplaceFixed(*this, name, B_INT32_TYPE, index, value);
}

status_t BMessage::ReplaceInt32(const char *name, int32 value)
{
	return ReplaceInt32(name, 0, value);
}

bool BMessage::HasString(const char *name, int32 index) const
{
	return HasData(name, B_STRING_TYPE, index);
}

bool BMessage::HasBool(const char *name, int32 index) const
{
	return HasData(name, B_BOOL_TYPE, index);
}

bool BMessage::HasInt32(const char *name, int32 index) const
{
	return HasData(name, B_INT32_TYPE, index);
}

bool BMessage::HasData(const char *name, type_code type, int32 index) const
{
	const void *data;
	ssize_t size;
	return FindData(name, type, index, &data, &size) == B_OK;
}

const char *BMessage::GetString(const char *name,
	const char *defaultValue) const
{
	const char *value;
	return FindString(name, &value) == B_OK ? value : defaultValue;
}

bool BMessage::GetBool(const char *name, bool defaultValue) const
{
	bool value;
	return FindBool(name, &value) == B_OK ? value : defaultValue;
}

int32 BMessage::GetInt32(const char *name, int32 defaultValue) const
{
	int32 value;
	return FindInt32(name, &value) == B_OK ? value : defaultValue;
}
