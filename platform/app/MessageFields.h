// The inside of a BMessage, shared by its implementation files and by
// nothing else: the fields in the order they were first added, and the
// functions of the flattened form (MessageFlatten.cpp).
#ifndef _MESSAGE_FIELDS_H
#define _MESSAGE_FIELDS_H

#include <string.h>

#include <string>
#include <vector>

#include <SupportDefs.h>

namespace BPrivate {

struct MessageField {
	std::string name;
	type_code type;
	// Every value has the size of the first one.
	bool fixedSize;
	// Each value's bytes; never empty while the field exists.
	std::vector<std::string> values;
};

struct MessageFields {
	std::vector<MessageField> list;

	const MessageField *Find(const char *name) const
	{
		for (const MessageField &field : list) {
			if (strcmp(field.name.c_str(), name) == 0) {
				return &field;
			}
		}
		return NULL;
	}

	MessageField *Find(const char *name)
	{
		return const_cast<MessageField *>(
			static_cast<const MessageFields *>(this)->Find(name));
	}
};

// The flattened form holds a message at most this large, nested ones
// included; anything that declares more is refused before it is read.
const size_t kMaxFlattenedMessageSize = 16 * 1024 * 1024;
// How deep messages may nest inside messages (a top-level message is at
// depth 0); keeps every walk over nested messages short.
const int32 kMaxMessageNesting = 32;

// The flattened size of a message, or more than kMaxFlattenedMessageSize
// when it does not fit the form.
uint64 FlattenedMessageSize(const MessageFields &fields);

// Appends the flattened message to out.
void FlattenMessage(uint32 what, const MessageFields &fields,
	std::string &out);

// Checks that size bytes at data are exactly one well-formed flattened
// message whose nested messages nest no deeper than kMaxMessageNesting,
// counting from depth. When what and fields are given, also returns its
// content; they are untouched on failure. B_NOT_A_MESSAGE when the magic
// is wrong, B_BAD_VALUE for anything else that is wrong.
status_t ParseFlattenedMessage(const void *data, size_t size, int32 depth,
	uint32 *what, MessageFields *fields);

} // namespace BPrivate

#endif // _MESSAGE_FIELDS_H
