// The flattened form of a BMessage: the bytes a message is stored and sent
// as, and nested messages are kept as.
//
// Every integer of the layout is little-endian. A flattened message is a
// 20-byte header followed by its fields, in the order they were first
// added:
//
//   offset size
//    0     4    magic: the four bytes 'B' 'M' 'S' 'G'
//    4     4    layout version: 1
//    8     4    total size in bytes, header included (at most 16 MiB)
//   12     4    what
//   16     4    field count
//
// Each field:
//
//    4    type code
//    1    flags: bit 0 set when every value has the same size (fixed
//         size); the other bits are zero
//    1    name length n (at most 255)
//    n    name, without a NUL, and holding none
//    4    value count (at least 1)
//   then, for each value, its length (4) and that many bytes.
//
// Values are the bytes the message holds: the value's type in host order
// (a string with its NUL, a bool as one byte, a rectangle as four floats,
// a nested message in this same form). No two fields have the same name,
// and the fields end exactly at the total size.
//
// Reading trusts none of it: every count and length is checked against
// the bytes that are left before anything is allocated, nested messages
// are checked as deep as they nest (up to kMaxMessageNesting), and a
// message is only changed once all of its bytes have been found good.
#include <Message.h>

#include <set>

#include "MessageFields.h"

namespace BPrivate {

namespace {

const uint8 kMagic[4] = {'B', 'M', 'S', 'G'};
const uint32 kLayoutVersion = 1;
const size_t kHeaderSize = 20;
const uint8 kFixedSizeFlag = 0x01;
// type, flags, name length, value count: the least a field takes.
const size_t kMinFieldSize = 4 + 1 + 1 + 4;
const size_t kValueLengthSize = 4;

#if __BYTE_ORDER__ != __ORDER_LITTLE_ENDIAN__
// Values are stored in host order; a big-endian host would have to swap
// every value of a known type to read and write the same bytes.
#error "The flattened message form assumes a little-endian host"
#endif

uint32 ReadLE32(const uint8 *bytes)
{
	return (uint32)bytes[0] | ((uint32)bytes[1] << 8)
		| ((uint32)bytes[2] << 16) | ((uint32)bytes[3] << 24);
}

void AppendLE32(std::string &out, uint32 value)
{
	const char bytes[4] = {(char)(value & 0xff), (char)((value >> 8) & 0xff),
		(char)((value >> 16) & 0xff), (char)((value >> 24) & 0xff)};
	out.append(bytes, sizeof(bytes));
}

// Reads from a buffer of known size; every read fails rather than go past
// its end.
class FlatReader {
public:
	FlatReader(const uint8 *data, size_t size)
		: fData(data),
		  fSize(size),
		  fPosition(0)
	{
	}

	size_t Remaining() const { return fSize - fPosition; }

	bool ReadBytes(size_t count, const uint8 **bytes)
	{
		if (count > Remaining()) {
			return false;
		}
		*bytes = fData + fPosition;
		fPosition += count;
		return true;
	}

	bool Read8(uint8 *value)
	{
		const uint8 *bytes;
		if (!ReadBytes(1, &bytes)) {
			return false;
		}
		*value = bytes[0];
		return true;
	}

	bool Read32(uint32 *value)
	{
		const uint8 *bytes;
		if (!ReadBytes(4, &bytes)) {
			return false;
		}
		*value = ReadLE32(bytes);
		return true;
	}

private:
	const uint8 *fData;
	size_t fSize;
	size_t fPosition;
};

// Checks the first kHeaderSize bytes of a flattened message and returns
// the total size they declare.
status_t CheckHeader(const uint8 *header, size_t *totalSize)
{
	if (memcmp(header, kMagic, sizeof(kMagic)) != 0) {
		return B_NOT_A_MESSAGE;
	}
	if (ReadLE32(header + 4) != kLayoutVersion) {
		return B_BAD_VALUE;
	}
	uint32 size = ReadLE32(header + 8);
	if (size < kHeaderSize || size > kMaxFlattenedMessageSize) {
		return B_BAD_VALUE;
	}
	*totalSize = size;
	return B_OK;
}

// Reads one field's values into field (when given) and checks them.
status_t ParseValues(FlatReader &reader, uint32 count, int32 depth,
	MessageField *field, type_code type, bool fixedSize)
{
	// Each value takes at least its length: a count the remaining bytes
	// cannot hold is refused before anything is reserved for it.
	if (count == 0 || count > reader.Remaining() / kValueLengthSize) {
		return B_BAD_VALUE;
	}
	if (field != NULL) {
		field->values.reserve(count);
	}
	uint32 firstLength = 0;
	for (uint32 i = 0; i < count; i++) {
		uint32 length;
		const uint8 *bytes;
		if (!reader.Read32(&length) || !reader.ReadBytes(length, &bytes)) {
			return B_BAD_VALUE;
		}
		if (i == 0) {
			firstLength = length;
		} else if (fixedSize && length != firstLength) {
			return B_BAD_VALUE;
		}
		if (type == B_MESSAGE_TYPE
			&& ParseFlattenedMessage(bytes, length, depth + 1, NULL, NULL)
				!= B_OK) {
			return B_BAD_VALUE;
		}
		if (field != NULL) {
			field->values.push_back(
				std::string(reinterpret_cast<const char *>(bytes), length));
		}
	}
	return B_OK;
}

// Reads one field; names holds the names read so far.
status_t ParseField(FlatReader &reader, int32 depth,
	std::set<std::string> &names, MessageField *field)
{
	uint32 type;
	uint8 flags;
	uint8 nameLength;
	const uint8 *nameBytes;
	uint32 count;
	if (!reader.Read32(&type) || !reader.Read8(&flags)
		|| !reader.Read8(&nameLength)
		|| !reader.ReadBytes(nameLength, &nameBytes)
		|| !reader.Read32(&count)) {
		return B_BAD_VALUE;
	}
	if ((flags & ~kFixedSizeFlag) != 0 || type == B_ANY_TYPE
		|| memchr(nameBytes, '\0', nameLength) != NULL) {
		return B_BAD_VALUE;
	}
	std::string name(reinterpret_cast<const char *>(nameBytes), nameLength);
	if (!names.insert(name).second) {
		return B_BAD_VALUE;
	}
	bool fixedSize = (flags & kFixedSizeFlag) != 0;
	if (field != NULL) {
		field->name = name;
		field->type = type;
		field->fixedSize = fixedSize;
	}
	return ParseValues(reader, count, depth, field, type, fixedSize);
}

// Writes the whole of data to the stream, however many calls it takes.
status_t WriteFully(BDataIO *stream, const void *data, size_t size)
{
	const char *bytes = static_cast<const char *>(data);
	while (size > 0) {
		ssize_t written = stream->Write(bytes, size);
		if (written < 0) {
			return (status_t)written;
		}
		if (written == 0 || (size_t)written > size) {
			return B_IO_ERROR;
		}
		bytes += written;
		size -= written;
	}
	return B_OK;
}

// Reads exactly size bytes, appending them to out; B_BAD_VALUE when the
// stream ends first.
status_t ReadFully(BDataIO *stream, size_t size, std::string &out)
{
	// In steps, so that a declared size is only ever backed by memory as
	// the bytes actually arrive.
	const size_t kStep = 64 * 1024;
	while (size > 0) {
		size_t step = size < kStep ? size : kStep;
		size_t start = out.size();
		out.resize(start + step);
		ssize_t bytesRead = stream->Read(&out[start], step);
		if (bytesRead < 0) {
			return (status_t)bytesRead;
		}
		if (bytesRead == 0 || (size_t)bytesRead > step) {
			return B_BAD_VALUE;
		}
		out.resize(start + bytesRead);
		size -= bytesRead;
	}
	return B_OK;
}

} // namespace

uint64 FlattenedMessageSize(const MessageFields &fields)
{
	uint64 size = kHeaderSize;
	for (const MessageField &field : fields.list) {
		size += kMinFieldSize + field.name.size();
		for (const std::string &value : field.values) {
			size += kValueLengthSize + value.size();
		}
	}
	return size;
}

void FlattenMessage(uint32 what, const MessageFields &fields, std::string &out)
{
	out.append(reinterpret_cast<const char *>(kMagic), sizeof(kMagic));
	AppendLE32(out, kLayoutVersion);
	AppendLE32(out, (uint32)FlattenedMessageSize(fields));
	AppendLE32(out, what);
	AppendLE32(out, (uint32)fields.list.size());
	for (const MessageField &field : fields.list) {
		AppendLE32(out, field.type);
		out.push_back((char)(field.fixedSize ? kFixedSizeFlag : 0));
		out.push_back((char)field.name.size());
		out.append(field.name);
		AppendLE32(out, (uint32)field.values.size());
		for (const std::string &value : field.values) {
			AppendLE32(out, (uint32)value.size());
			out.append(value);
		}
	}
}

status_t ParseFlattenedMessage(const void *data, size_t size, int32 depth,
	uint32 *what, MessageFields *fields)
{
	if (depth > kMaxMessageNesting) {
		return B_BAD_VALUE;
	}
	FlatReader reader(static_cast<const uint8 *>(data), size);
	const uint8 *header;
	if (!reader.ReadBytes(kHeaderSize, &header)) {
		if (size >= sizeof(kMagic)
			&& memcmp(data, kMagic, sizeof(kMagic)) != 0) {
			return B_NOT_A_MESSAGE;
		}
		return B_BAD_VALUE;
	}
	size_t totalSize;
	status_t status = CheckHeader(header, &totalSize);
	if (status != B_OK) {
		return status;
	}
	if (totalSize != size) {
		return B_BAD_VALUE;
	}
	uint32 count = ReadLE32(header + 16);
	if (count > reader.Remaining() / kMinFieldSize) {
		return B_BAD_VALUE;
	}

	MessageFields parsed;
	std::set<std::string> names;
	for (uint32 i = 0; i < count; i++) {
		MessageField *field = NULL;
		if (fields != NULL) {
			parsed.list.push_back(MessageField());
			field = &parsed.list.back();
		}
		status = ParseField(reader, depth, names, field);
		if (status != B_OK) {
			return status;
		}
	}
	if (reader.Remaining() != 0) {
		return B_BAD_VALUE;
	}

	if (what != NULL) {
		*what = ReadLE32(header + 12);
	}
	if (fields != NULL) {
		fields->list.swap(parsed.list);
	}
	return B_OK;
}

} // namespace BPrivate

using BPrivate::kMaxFlattenedMessageSize;
using BPrivate::MessageFields;

ssize_t BMessage::FlattenedSize() const
{
	return (ssize_t)BPrivate::FlattenedMessageSize(*fFields);
}

status_t BMessage::Flatten(char *buffer, ssize_t size) const
{
	if (buffer == NULL || size < 0) {
		return B_BAD_VALUE;
	}
	uint64 needed = BPrivate::FlattenedMessageSize(*fFields);
	if (needed > kMaxFlattenedMessageSize || needed > (uint64)size) {
		return B_BAD_VALUE;
	}
	std::string flat;
	BPrivate::FlattenMessage(what, *fFields, flat);
	memcpy(buffer, flat.data(), flat.size());
	return B_OK;
}

status_t BMessage::Flatten(BDataIO *stream, ssize_t *size) const
{
	if (stream == NULL) {
		return B_BAD_VALUE;
	}
	if (BPrivate::FlattenedMessageSize(*fFields) > kMaxFlattenedMessageSize) {
		return B_BAD_VALUE;
	}
	std::string flat;
	BPrivate::FlattenMessage(what, *fFields, flat);
	status_t status = BPrivate::WriteFully(stream, flat.data(), flat.size());
	if (status == B_OK && size != NULL) {
		*size = (ssize_t)flat.size();
	}
	return status;
}

status_t BMessage::Unflatten(const char *flatBuffer)
{
	if (flatBuffer == NULL) {
		return B_BAD_VALUE;
	}
	// The buffer is trusted to hold the header and the size it declares.
	size_t totalSize;
	status_t status = BPrivate::CheckHeader(
		reinterpret_cast<const uint8 *>(flatBuffer), &totalSize);
	if (status != B_OK) {
		return status;
	}
	return _UnflattenBytes(flatBuffer, totalSize);
}

status_t BMessage::Unflatten(BDataIO *stream)
{
	if (stream == NULL) {
		return B_BAD_VALUE;
	}
	std::string flat;
	status_t status = BPrivate::ReadFully(stream, BPrivate::kHeaderSize,
		flat);
	if (status != B_OK) {
		return status;
	}
	size_t totalSize;
	status = BPrivate::CheckHeader(reinterpret_cast<const uint8 *>(
		flat.data()), &totalSize);
	if (status != B_OK) {
		return status;
	}
	status = BPrivate::ReadFully(stream, totalSize - flat.size(), flat);
	if (status != B_OK) {
		return status;
	}
	return _UnflattenBytes(flat.data(), flat.size());
}

status_t BMessage::_UnflattenBytes(const void *data, size_t size)
{
	// Parsed aside: data may even lie within this message's own fields.
	MessageFields parsed;
	uint32 parsedWhat;
	status_t status = BPrivate::ParseFlattenedMessage(data, size, 0,
		&parsedWhat, &parsed);
	if (status != B_OK) {
		return status;
	}
	fFields->list.swap(parsed.list);
	what = parsedWhat;
	return B_OK;
}
