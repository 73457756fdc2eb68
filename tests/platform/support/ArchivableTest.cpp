#include <gtest/gtest.h>

#include <Archivable.h>
#include <Message.h>
#include <TranslatorRoster.h>

// An archive names the most derived class, as the platform's do.
TEST(Archivable, ArchiveNamesTheObjectsOwnClass)
{
	BTranslatorRoster roster;
	BArchivable &archivable = roster;
	BMessage archive;
	ASSERT_EQ(B_OK, archivable.Archive(&archive));
	const char *name = NULL;
	ASSERT_EQ(B_OK, archive.FindString("class", &name));
	EXPECT_STREQ("BTranslatorRoster", name);

	EXPECT_EQ(B_BAD_VALUE, archivable.Archive(NULL));
}
