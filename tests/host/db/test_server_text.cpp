// The catalogue stand-in reads a long text value as the database server does:
// a backslash right before CR LF continues the line and is dropped with it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>
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

namespace {

YBFile_t FileOf(int32_t volumeId, const char* name, char* content)
{
    YBFile_t file;
    file.VolumeId = volumeId;
    std::strcpy(file.Name, name);
    file.Content = content;
    return file;
}

char* Room(size_t bytes) { return static_cast<char*>(std::malloc(bytes)); }
char* NoRoom(size_t) { return nullptr; }

}  // namespace

TEST_F(ServerTextCatalogueTest, ALongTextIsWrittenWithItsRowOrNotAtAll)
{
    CYBFileDB db;
    char kept[] = "kept \\\r\ntext";
    char lost[] = "lost";
    YBFile_t file = FileOf(3, "a", lost);
    HostDBFaults::failNext("writeLongText", 5);
    EXPECT_FALSE(db.insert(file, nullptr));
    EXPECT_EQ(db.getErrorCode(), 5);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM YBFile"), 0);

    // In a transaction: the row whose text failed goes, the others stay.
    DBtran tran(false);
    ASSERT_EQ(tran.startTran(), 0);
    YBFile_t first = FileOf(3, "first", kept);
    ASSERT_TRUE(db.insert(first, &tran));
    HostDBFaults::failNext("writeLongText", 5);
    EXPECT_FALSE(db.insert(file, &tran));
    YBFile_t last = FileOf(3, "last", kept);
    ASSERT_TRUE(db.insert(last, &tran));
    ASSERT_EQ(tran.commitTran(false), 0);
    first.Content = last.Content = file.Content = nullptr;
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM YBFile"), 2);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM YBFile WHERE Name = 'a'"), 0);
    YBFile_t read;
    ASSERT_TRUE(db.getInfo(last.id, read, nullptr));
    EXPECT_STREQ(read.Content, "kept text");
}

TEST_F(ServerTextCatalogueTest, ALongTextIsReadIntoTheCallersRoomWhateverItsStoredType)
{
    CYBFileDB db;
    char content[] = "x\\\r\ny";
    char empty[] = "";
    char dropped[] = "\\\r\n";
    YBFile_t files[] = {FileOf(3, "inserted", content), FileOf(3, "empty", empty), FileOf(3, "dropped", dropped)};
    for (YBFile_t& f : files) {
        ASSERT_TRUE(db.insert(f, nullptr));
        f.Content = nullptr;
    }
    exec("INSERT INTO YBFile (id, VolumeId, Name, Content, Flags) VALUES (50, 4, 'as text', 'plain', 2),"
         " (51, 4, 'none', NULL, 0)");

    struct Case {
        int id;
        const char* text;  // null: a NULL value
    };
    for (const Case& c : {Case{files[0].id, "xy"}, Case{files[1].id, ""}, Case{files[2].id, ""}, Case{50, "plain"},
                          Case{51, nullptr}}) {
        SCOPED_TRACE(c.id);
        YBFile_t row;
        char* text = nullptr;
        size_t length = 99;
        ASSERT_TRUE(db.getInfo(c.id, row, &Room, text, length, nullptr));
        std::unique_ptr<char, void (*)(void*)> owned(text, &std::free);
        EXPECT_EQ(row.id, c.id);
        EXPECT_EQ(row.Content, nullptr);
        if (c.text == nullptr) {
            EXPECT_EQ(text, nullptr);
            continue;
        }
        ASSERT_NE(text, nullptr);
        EXPECT_STREQ(text, c.text);
        EXPECT_EQ(length, std::strlen(c.text));
    }
    YBFile_t row;
    char* text = nullptr;
    size_t length = 0;
    ASSERT_TRUE(db.getInfo(50, row, &Room, text, length, nullptr));
    std::free(text);
    EXPECT_EQ(row.VolumeId, 4);
    EXPECT_STREQ(row.Name, "as text");
    EXPECT_EQ(row.Flags, 2);

    EXPECT_FALSE(db.getInfo(50, row, &NoRoom, text, length, nullptr));
    EXPECT_EQ(db.getErrorCode(), DB_NO_MEMORY);
    EXPECT_EQ(length, 5u);
    EXPECT_FALSE(db.getInfo(99, row, &Room, text, length, nullptr));
    EXPECT_EQ(db.getErrorCode(), DB_NO_MORE_ROWS);
    HostDBFaults::failNext("readLongText", 5);
    EXPECT_FALSE(db.getInfo(50, row, &Room, text, length, nullptr));
    EXPECT_EQ(db.getErrorCode(), 5);
    EXPECT_EQ(text, nullptr);
}
