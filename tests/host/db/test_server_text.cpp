// The catalogue stand-in reads a long text value as the database server does:
// a backslash right before CR LF continues the line and is dropped with it.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "host/db/FileTables.h"
#include "host/db/ServerText.h"
#include "support/TestCatalogue.h"

TEST(ServerText, DropsEachBackslashCRLFInOnePass)
{
    EXPECT_EQ(DBServerText::read("a\\\r\nb"), "ab");
    EXPECT_EQ(DBServerText::read("a\\\\\r\n\r\nb"), "a\\\r\nb");
    // What a drop brings together is not read again.
    EXPECT_EQ(DBServerText::read("\\\\\r\n\r\n"), "\\\r\n");
    EXPECT_EQ(DBServerText::read("\\\r\n\\\r\n"), "");
    for (const char* unchanged : {"", "\\", "\\\n", "\\\r", "\r\n", "\\\\", "\r\n\\", "a\\\rb\n"})
        EXPECT_EQ(DBServerText::read(unchanged), unchanged);
}

class ServerTextCatalogueTest : public CatalogueTest {};

TEST_F(ServerTextCatalogueTest, ALongTextIsStoredAsTheServerReadsItAndNamesAsTheyAre)
{
    DBServerText::clearSent();
    CYBFileDB db;
    YBFile_t file;
    file.VolumeId = 3;
    std::strcpy(file.Name, "n\\\r\n.cfg");
    char content[] = "x\\\\\r\n\r\ny";
    file.Content = content;
    ASSERT_TRUE(db.insert(file, nullptr));
    file.Content = nullptr;

    YBFile_t read;
    ASSERT_TRUE(db.getInfo(file.id, read, nullptr));
    EXPECT_STREQ(read.Content, "x\\\r\ny");
    EXPECT_STREQ(read.Name, "n\\\r\n.cfg");
    ASSERT_EQ(DBServerText::sent().size(), 1u);
    EXPECT_EQ(DBServerText::sent()[0], "x\\\\\r\n\r\ny");
}
