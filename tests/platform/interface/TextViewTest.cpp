// The text view's byte limit holds for typing, SetText, Insert and a
// lowered limit, never splitting a UTF-8 character; editing keys work on
// whole characters.
#include <string>

#include <TextView.h>

#include <gtest/gtest.h>

namespace {

class TextViewTest : public testing::Test {
protected:
	TextViewTest()
		: fView(BRect(0, 0, 99, 14), "text", BRect(0, 0, 99, 14),
			B_FOLLOW_NONE, 0)
	{
	}

	// Types each character of text as its own keystroke.
	void Type(const std::string &text)
	{
		for (size_t i = 0; i < text.size();) {
			size_t length = 1;
			while (i + length < text.size()
				&& ((uint8)text[i + length] & 0xC0) == 0x80) {
				length++;
			}
			fView.KeyDown(text.data() + i, (int32)length);
			i += length;
		}
	}

	void Key(char key) { fView.KeyDown(&key, 1); }
	std::string Text() const { return fView.Text(); }

	BTextView fView;
};

TEST_F(TextViewTest, TypingStopsAtTheLimit)
{
	fView.SetMaxBytes(5);
	Type("abcdefg");
	EXPECT_EQ(Text(), "abcde");

	// A two-byte character does not fit in the one byte left.
	fView.SetText("abcd");
	Type("\xC3\xA9");
	EXPECT_EQ(Text(), "abcd");
	Type("z");
	EXPECT_EQ(Text(), "abcdz");

	// Replacing a selection frees its bytes first.
	fView.Select(1, 3);
	Type("\xC3\xA9");
	EXPECT_EQ(Text(), "a\xC3\xA9" "dz");
}

TEST_F(TextViewTest, SetTextInsertAndALowerLimitKeepWhatFits)
{
	fView.SetMaxBytes(5);
	fView.SetText("abcdefgh");
	EXPECT_EQ(Text(), "abcde");
	// "abcd" then the first byte of a character: cut before it.
	fView.SetText("abcd\xE2\x82\xAC");
	EXPECT_EQ(Text(), "abcd");

	fView.SetText("ab");
	fView.Insert(1, "XYZW", 4);
	EXPECT_EQ(Text(), "aXYZb");

	fView.SetMaxBytes(-1);
	fView.SetText("\xE2\x82\xAC\xE2\x82\xAC");
	fView.SetMaxBytes(4);
	EXPECT_EQ(Text(), "\xE2\x82\xAC");
	EXPECT_EQ(fView.TextLength(), 3);
}

TEST_F(TextViewTest, EditingKeysWorkOnWholeCharacters)
{
	Type("a\xC3\xA9z");
	Key(B_LEFT_ARROW);
	Key(B_BACKSPACE);
	EXPECT_EQ(Text(), "az");
	Key(B_HOME);
	Key(B_DELETE);
	EXPECT_EQ(Text(), "z");
	Type("\n\t");
	EXPECT_EQ(Text(), "\n\tz");

	fView.MakeEditable(false);
	Type("q");
	Key(B_BACKSPACE);
	EXPECT_EQ(Text(), "\n\tz");
}

} // namespace
