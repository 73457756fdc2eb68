// A comparison of byte vectors that names the first difference instead of
// printing both vectors: EXPECT_BYTES(have, want).
#ifndef QUORVEL_TEST_SAME_BYTES_H
#define QUORVEL_TEST_SAME_BYTES_H

#include <stdio.h>

#include <string>

#include <gtest/gtest.h>

#include "TestBytes.h"

inline testing::AssertionResult SameBytes(const char *haveText,
	const char *wantText, const Bytes &have, const Bytes &want)
{
	size_t at = 0;
	while (at < have.size() && at < want.size() && have[at] == want[at]) {
		at++;
	}
	if (at == have.size() && at == want.size()) {
		return testing::AssertionSuccess();
	}
	auto byteAt = [at](const Bytes &bytes) {
		char text[8] = "(end)";
		if (at < bytes.size()) {
			snprintf(text, sizeof(text), "0x%02X", bytes[at]);
		}
		return std::string(text);
	};
	return testing::AssertionFailure() << haveText << " differs from "
		<< wantText << " at offset " << at << ": have " << byteAt(have)
		<< ", want " << byteAt(want) << " (have " << have.size()
		<< " bytes, want " << want.size() << ")";
}

#define EXPECT_BYTES(have, want) EXPECT_PRED_FORMAT2(SameBytes, have, want)
#define ASSERT_BYTES(have, want) ASSERT_PRED_FORMAT2(SameBytes, have, want)

#endif // QUORVEL_TEST_SAME_BYTES_H
