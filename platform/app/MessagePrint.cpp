// BMessage::PrintToStream: a readable dump of a message, nested messages
// indented inside it, for debugging.
#include <Message.h>

#include <ctype.h>
#include <inttypes.h>
#include <stdio.h>
#include <string.h>

#include <string>

namespace {

// A type or what code as its four characters when they are printable,
// else in hex.
std::string CodeText(uint32 code)
{
	char chars[4] = {(char)(code >> 24), (char)(code >> 16),
		(char)(code >> 8), (char)code};
	for (char c : chars) {
		if (!isprint((unsigned char)c)) {
			char hex[16];
			snprintf(hex, sizeof(hex), "0x%08" PRIx32, code);
			return hex;
		}
	}
	return std::string("'") + std::string(chars, 4) + "'";
}

template<typename T>
T ValueAs(const void *data)
{
	T value;
	memcpy(&value, data, sizeof(T));
	return value;
}

// Prints a value that must be exactly one T, through format.
template<typename T>
bool PrintAs(const char *format, const void *data, ssize_t size)
{
	if (size != (ssize_t)sizeof(T)) {
		return false;
	}
	printf(format, ValueAs<T>(data));
	return true;
}

// Prints a value of one of the common types; false for any other type, or
// for bytes that do not fit the type.
bool PrintKnownValue(type_code type, const void *data, ssize_t size)
{
	switch (type) {
		case B_STRING_TYPE: {
			const char *text = static_cast<const char *>(data);
			if (size == 0 || text[size - 1] != '\0') {
				return false;
			}
			printf("string(\"%s\", %zd bytes)", text, size);
			return true;
		}
		case B_BOOL_TYPE:
			if (size != 1) {
				return false;
			}
			printf("bool(%s)", ValueAs<uint8>(data) != 0 ? "true" : "false");
			return true;
		case B_INT8_TYPE:
			return PrintAs<int8>("int8(%d)", data, size);
		case B_UINT8_TYPE:
			return PrintAs<uint8>("uint8(%u)", data, size);
		case B_INT16_TYPE:
			return PrintAs<int16>("int16(%d)", data, size);
		case B_UINT16_TYPE:
			return PrintAs<uint16>("uint16(%u)", data, size);
		case B_INT32_TYPE:
			return PrintAs<int32>("int32(%" PRId32 ")", data, size);
		case B_UINT32_TYPE:
			return PrintAs<uint32>("uint32(%" PRIu32 ")", data, size);
		case B_INT64_TYPE:
			return PrintAs<int64>("int64(%" PRId64 ")", data, size);
		case B_UINT64_TYPE:
			return PrintAs<uint64>("uint64(%" PRIu64 ")", data, size);
		case B_FLOAT_TYPE:
			return PrintAs<float>("float(%g)", data, size);
		case B_DOUBLE_TYPE:
			return PrintAs<double>("double(%g)", data, size);
		default:
			return false;
	}
}

void PrintBytes(type_code type, const unsigned char *bytes, ssize_t size)
{
	const ssize_t kShown = 16;
	printf("%s(%zd bytes:", CodeText(type).c_str(), size);
	for (ssize_t i = 0; i < size && i < kShown; i++) {
		printf(" %02x", bytes[i]);
	}
	printf("%s)", size > kShown ? " ..." : "");
}

void PrintMessage(const BMessage &message, int indent)
{
	printf("BMessage(%s) {\n", CodeText(message.what).c_str());
	char *name;
	type_code type;
	int32 count;
	for (int32 i = 0;
		message.GetInfo(B_ANY_TYPE, i, &name, &type, &count) == B_OK; i++) {
		for (int32 j = 0; j < count; j++) {
			const void *data;
			ssize_t size;
			message.FindData(name, type, j, &data, &size);
			printf("%*s%s", (indent + 1) * 4, "", name);
			if (count > 1) {
				printf("[%" PRId32 "]", j);
			}
			printf(" = ");
			BMessage nested;
			if (type == B_MESSAGE_TYPE
				&& message.FindMessage(name, j, &nested) == B_OK) {
				PrintMessage(nested, indent + 1);
			} else if (!PrintKnownValue(type, data, size)) {
				PrintBytes(type, static_cast<const unsigned char *>(data),
					size);
			}
			printf("\n");
		}
	}
	printf("%*s}", indent * 4, "");
}

} // namespace

void BMessage::PrintToStream() const
{
	PrintMessage(*this, 0);
	printf("\n");
}
