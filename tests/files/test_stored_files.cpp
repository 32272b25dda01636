// The stored product files through post: list and queries of file
// descriptions, rename and move, deletes by id and by volume (also as other
// operations call it, quiet on a volume without files), names longer than
// their column, and the database failures of each.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "files/StoredFilePostFixture.h"
#include "files/StoredFiles.h"
#include "host/db/DBtable.h"

namespace {

const unsigned long kByVolume = 0x35000147;
const unsigned long kById = 0x35000149;
const unsigned long kByName = 0x3500014b;
const unsigned long kList = 0x3500014d;
const unsigned long kDeleteById = 0x3500014f;
const unsigned long kDeleteByVolume = 0x35000151;
const unsigned long kUpdate = 0x35000153;

void* NoMemory(size_t) { return nullptr; }

}  // namespace

// Files 3 ("b.cfg", volume 5), 1 ("a'1.cfg", volume 5) and 2 ("a'1.cfg",
// volume 6), stored out of id order.
class StoredFileTest : public StoredFilePostTest {
protected:
    void SetUp() override
    {
        StoredFilePostTest::SetUp();
        exec("INSERT INTO YBFile (id, VolumeId, Name, Content, Flags) VALUES (3, 5, 'b.cfg', 'bbb', 0),"
             " (1, 5, 'a''1.cfg', 'aaa', 0), (2, 6, 'a''1.cfg', 'ccc', 0)");
    }

    FileAnswer byName(const std::string* name)
    {
        repQueryYBFileByNameReq req{TextOrNull(name)};
        return post(kByName, &req, sizeof(repQueryYBFileByNameResp));
    }
    FileAnswer list() { return post(kList, nullptr, sizeof(repGetYBFileListResp)); }

    FileAnswer update(int32_t id, int32_t volumeId, const std::string* name, uint64_t map)
    {
        repUpdateYBFileReq req;
        std::memset(static_cast<void*>(&req), 0, sizeof req);
        req.file.id = static_cast<uint32_t>(id);
        req.file.VolumeId = volumeId;
        req.file.Name = TextOrNull(name);
        req.updateMap = map;
        return post(kUpdate, &req, sizeof(repUpdateYBFileResp));
    }

    // "id:volume:name" of each file in the catalogue, in id order.
    std::vector<std::string> catalogue()
    {
        std::vector<std::string> rows;
        for (const YBFile_t& f : StoredRows<YBFile_t, CYBFileDB>())
            rows.push_back(std::to_string(f.id) + ":" + std::to_string(f.VolumeId) + ":" + f.Name);
        return rows;
    }

    static std::vector<std::string> described(const FileAnswer& a)
    {
        std::vector<std::string> rows;
        for (const WireFile& f : a.files) {
            EXPECT_TRUE(f.hasName);
            EXPECT_FALSE(f.hasContent);
            rows.push_back(std::to_string(f.id) + ":" + std::to_string(f.volumeId) + ":" + f.name);
        }
        return rows;
    }

    void expectFailure(const FileAnswer& a, int32_t code, const std::string& text)
    {
        EXPECT_EQ(a.status, 0u);
        EXPECT_EQ(a.errCode, code);
        EXPECT_EQ(a.msg, text);
        EXPECT_EQ(a.count, 0u);
        EXPECT_TRUE(a.arrayNull);
    }
};

TEST_F(StoredFileTest, ListsAndQueriesDescribeTheFilesInIdOrder)
{
    FileAnswer all = list();
    EXPECT_EQ(all.status, 1u);
    EXPECT_FALSE(all.hasMsg);
    EXPECT_EQ(described(all), (std::vector<std::string>{"1:5:a'1.cfg", "2:6:a'1.cfg", "3:5:b.cfg"}));
    EXPECT_EQ(all.count, 3u);

    FileAnswer volume5 = byId(kByVolume, 5, sizeof(repQueryYBFileByVolIdResp));
    EXPECT_EQ(volume5.status, 1u);
    EXPECT_EQ(described(volume5), (std::vector<std::string>{"1:5:a'1.cfg", "3:5:b.cfg"}));

    const std::string quoted = "a'1.cfg";
    EXPECT_EQ(described(byName(&quoted)), (std::vector<std::string>{"1:5:a'1.cfg", "2:6:a'1.cfg"}));

    FileAnswer one = byId(kById, 3, sizeof(repQueryYBFileByIdResp));
    EXPECT_EQ(one.status, 1u);
    EXPECT_EQ(one.fileId, 3u);
    EXPECT_EQ(one.volumeId, 5);
    EXPECT_EQ(one.name, "b.cfg");
    EXPECT_FALSE(one.hasContent);

    // Nothing found is success with no array.
    FileAnswer none = byId(kByVolume, 7, sizeof(repQueryYBFileByVolIdResp));
    EXPECT_EQ(none.status, 1u);
    EXPECT_EQ(none.count, 0u);
    EXPECT_TRUE(none.arrayNull);
    const std::string other = "c.cfg";
    none = byName(&other);
    EXPECT_EQ(none.status, 1u);
    EXPECT_TRUE(none.arrayNull);
    exec("DELETE FROM YBFile");
    none = list();
    EXPECT_EQ(none.status, 1u);
    EXPECT_EQ(none.count, 0u);
    EXPECT_TRUE(none.arrayNull);
}

TEST_F(StoredFileTest, QueriesRefuseBadInputAndReportFailures)
{
    expectFailure(byId(kByVolume, 0, sizeof(repQueryYBFileByVolIdResp)), -6,
                  "YB Files could not be queried with invalid volume ID");
    expectFailure(byName(nullptr), -2, "YB Files could not be queried with an empty name");
    FileAnswer a = byId(kById, -1, sizeof(repQueryYBFileByIdResp));
    EXPECT_EQ(a.errCode, -6);
    EXPECT_EQ(a.msg, "YB Files could not be queried with an invalid id");
    a = byId(kById, 9, sizeof(repQueryYBFileByIdResp));
    EXPECT_EQ(a.errCode, -3);
    EXPECT_EQ(a.msg, "YB File Not Found");
    EXPECT_EQ(a.fileId, 0u);

    HostDBFaults::failNext("fetch", 5);
    expectFailure(byId(kByVolume, 5, sizeof(repQueryYBFileByVolIdResp)), -4,
                  "Could not get YB File information from the database");
    const std::string name = "b.cfg";
    HostDBFaults::failNext("fetch", 5);
    expectFailure(byName(&name), -4, "Could not get YB File information from the database");
    HostDBFaults::failNext("fetch", 5);
    expectFailure(list(), -4, "Cannot get the list of YB files from the database");
    HostDBFaults::failNext("fetch", 5);
    a = byId(kById, 3, sizeof(repQueryYBFileByIdResp));
    EXPECT_EQ(a.errCode, -4);
    EXPECT_EQ(a.msg, "Database Failure while trying to access the YB File Information");
    EXPECT_EQ(a.fileId, 0u);

    // No memory for the array: the list texts of each code and an entry.
    AllocReplyArray = &NoMemory;
    expectFailure(byId(kByVolume, 5, sizeof(repQueryYBFileByVolIdResp)), -5,
                  "Not enough memory to retrieve list of YB Files");
    expectFailure(byName(&name), -5, "Not enough memory to retrieve list of YB Files");
    expectFailure(list(), -5, "Not enough memory available to get list of YB Files");
    AllocReplyArray = &malloc;
    EXPECT_EQ(LogEntriesWith("\tEvent: Not enough memory to retrieve list of YB Files\n\tNumber of YB Files = 2"
                             "\n\tVolume id = 5")
                  .size(),
              1u);
    EXPECT_EQ(LogEntriesWith("\tEvent: Not enough memory available to get list of YB Files\n\tBuffer Size = 144").size(),
              1u);
}

TEST_F(StoredFileTest, AnUpdateRenamesMovesOrDoesBoth)
{
    const std::string renamed = "it's.cfg";
    EXPECT_EQ(update(3, -1, &renamed, 1).status, 1u);  // the volume is not read
    EXPECT_EQ(update(1, 8, nullptr, 2).status, 1u);    // the name is not read
    const std::string both = "both.cfg";
    EXPECT_EQ(update(2, 9, &both, 3).status, 1u);
    EXPECT_EQ(catalogue(), (std::vector<std::string>{"1:8:a'1.cfg", "2:9:both.cfg", "3:5:it's.cfg"}));
    const std::string whole = "whole.cfg";
    FileAnswer a = update(1, 0, &whole, 0);
    EXPECT_EQ(a.status, 1u);
    EXPECT_FALSE(a.hasMsg);
    EXPECT_EQ(catalogue(), (std::vector<std::string>{"1:0:whole.cfg", "2:9:both.cfg", "3:5:it's.cfg"}));
    EXPECT_EQ(download(1).content, "aaa") << "an update changed the content";
    EXPECT_EQ(LogEntriesWith("\tYB File ID 1 was updated successfully...").size(), 2u);
}

TEST_F(StoredFileTest, AnUpdateRefusesWhatItCannotWrite)
{
    const std::string empty;
    const std::string name = "n.cfg";
    struct Refusal {
        int32_t id;
        int32_t volumeId;
        const std::string* name;
        uint64_t map;
        int32_t code;
        const char* text;
    };
    const std::vector<Refusal> refusals = {
        {0, 5, &name, 0, -6, "Cannot update YB File information with invalid id"},
        {3, 5, &empty, 1, -2, "YB File information cannot be update with an empty file name or an invalid volume id"},
        {3, -1, &name, 2, -2, "YB File information cannot be update with an empty file name or an invalid volume id"},
        {3, -1, &name, 0, -2, "YB File information cannot be update with invalid values"},
        {3, 5, nullptr, 0, -2, "YB File information cannot be update with invalid values"},
        {3, 5, &name, 4, -2, "No information was received to update a YB File"},
        {9, 5, &name, 1, -3, "YB File record not found"},
    };
    for (const Refusal& r : refusals) {
        SCOPED_TRACE(r.text);
        FileAnswer a = update(r.id, r.volumeId, r.name, r.map);
        EXPECT_EQ(a.status, 0u);
        EXPECT_EQ(a.errCode, r.code);
        EXPECT_EQ(a.msg, r.text);
    }
    HostDBFaults::failNext("Update", 5);
    FileAnswer a = update(3, 5, &name, 1);
    EXPECT_EQ(a.errCode, -4);
    EXPECT_EQ(a.msg, "Could not update YB File information in the database");
    HostDBFaults::failNext("startTran", 5);
    a = update(3, 5, &name, 1);
    EXPECT_EQ(a.errCode, -7);
    EXPECT_EQ(a.msg, "Could not initiated database transactions");
    EXPECT_EQ(catalogue(), (std::vector<std::string>{"1:5:a'1.cfg", "2:6:a'1.cfg", "3:5:b.cfg"}));
}

TEST_F(StoredFileTest, NamesLongerThanTheirColumnAreRefusedNotCut)
{
    const std::string longest(1024, 'n');
    const std::string tooLong = longest + "x";

    FileAnswer a = uploadWhole(5, tooLong, "content");
    EXPECT_EQ(a.status, 0u);
    EXPECT_EQ(a.errCode, -18);
    EXPECT_EQ(a.msg, "YB File name is too long");
    a = update(3, 5, &tooLong, 1);
    EXPECT_EQ(a.errCode, -18);
    EXPECT_EQ(a.msg, "YB File name is too long");
    a = update(3, 5, &tooLong, 0);
    EXPECT_EQ(a.errCode, -18);
    EXPECT_EQ(catalogue(), (std::vector<std::string>{"1:5:a'1.cfg", "2:6:a'1.cfg", "3:5:b.cfg"}));
    // Moving a file with a long name does not write the name.
    EXPECT_EQ(update(3, 7, &tooLong, 2).status, 1u);

    a = uploadWhole(5, longest, "content");
    ASSERT_EQ(a.status, 1u) << a.msg;
    EXPECT_EQ(byId(kById, static_cast<int32_t>(a.fileId), sizeof(repQueryYBFileByIdResp)).name, longest);
    // The stored name is not a cut one: the longer name is still refused
    // as too long, not as a duplicate.
    EXPECT_EQ(uploadWhole(5, tooLong, "content").errCode, -18);
}

TEST_F(StoredFileTest, AnUploadRefusesMissingInputAndDuplicates)
{
    const std::string content = "c";
    const std::string empty;
    const std::string name = "x.cfg";
    FileAnswer a = upload(5, &empty, &content, nullptr);
    EXPECT_EQ(a.errCode, -2);
    EXPECT_EQ(a.msg, "Some information to receive the YB File is missing");
    a = uploadWhole(-1, name, content);
    EXPECT_EQ(a.errCode, -2);
    EXPECT_EQ(a.msg, "Some information to receive the YB File is missing");

    a = uploadWhole(5, "B.CFG", "dup");
    EXPECT_EQ(a.errCode, -12);
    EXPECT_EQ(a.msg, "The file in this volume is already in the database");
    a = uploadWhole(6, "b.cfg", "other volume");
    EXPECT_EQ(a.status, 1u);
    EXPECT_GT(a.fileId, 3u);
    EXPECT_EQ(download(a.fileId).content, "other volume");
}

TEST_F(StoredFileTest, DeletesRemoveOneFileOrEveryFileOfAVolume)
{
    FileAnswer a = byId(kDeleteById, 3, sizeof(repDeleteYBFileByIdResp));
    EXPECT_EQ(a.status, 1u);
    EXPECT_FALSE(a.hasMsg);
    EXPECT_EQ(LogEntriesWith("YB File associated with Id 3 was remove successfully").size(), 1u);
    a = byId(kDeleteById, 3, sizeof(repDeleteYBFileByIdResp));
    EXPECT_EQ(a.errCode, -3);
    EXPECT_EQ(a.msg, "Volume has no YB Files");
    a = byId(kDeleteById, 0, sizeof(repDeleteYBFileByIdResp));
    EXPECT_EQ(a.errCode, -6);
    EXPECT_EQ(a.msg, "YB File cannot be removed from the database with an invalid id");
    HostDBFaults::failNext("remove", 5);
    a = byId(kDeleteById, 1, sizeof(repDeleteYBFileByIdResp));
    EXPECT_EQ(a.errCode, -4);
    EXPECT_EQ(a.msg, "Database error trying to delete a YB File");

    exec("INSERT INTO YBFile (id, VolumeId, Name, Content, Flags) VALUES (4, 5, 'c.cfg', 'c', 0)");
    a = byId(kDeleteByVolume, 5, sizeof(repDeleteYBFileByVolIdResp));
    EXPECT_EQ(a.status, 1u);
    EXPECT_EQ(catalogue(), (std::vector<std::string>{"2:6:a'1.cfg"}));
    EXPECT_EQ(LogEntriesWith("YB Files associated with Volume Id 5 were remove successfully").size(), 1u);
    a = byId(kDeleteByVolume, 5, sizeof(repDeleteYBFileByVolIdResp));
    EXPECT_EQ(a.errCode, -3);
    EXPECT_EQ(a.msg, "Volume has no YB Files");
    EXPECT_EQ(LogEntriesWith("\tEvent: Volume has no YB Files\n\toYBFileTbl.remove() failed\n\tsWhere = VolumeId = 5")
                  .size(),
              1u);
    a = byId(kDeleteByVolume, 0, sizeof(repDeleteYBFileByVolIdResp));
    EXPECT_EQ(a.errCode, -6);
    EXPECT_EQ(a.msg, "YB File cannot be removed from the database with an invalid volume id");
    HostDBFaults::failNext("startTran", 5);
    a = byId(kDeleteByVolume, 6, sizeof(repDeleteYBFileByVolIdResp));
    EXPECT_EQ(a.errCode, -7);
    HostDBFaults::failNext("commitTran", 5);
    a = byId(kDeleteByVolume, 6, sizeof(repDeleteYBFileByVolIdResp));
    EXPECT_EQ(a.errCode, -4);
    EXPECT_EQ(catalogue(), (std::vector<std::string>{"2:6:a'1.cfg"})) << "a failed commit kept its delete";
}

TEST_F(StoredFileTest, TheDeleteByVolumeOfOtherOperationsIsQuietOnAVolumeWithoutFiles)
{
    DeleteYBFileByVolIdRet_t ret;
    mgr.m_bReportMissingFiles = false;
    EvDebug::clearEntries();
    EXPECT_FALSE(mgr.DeleteYBFile(DeleteYBFileByVolIdArgs_t(7), ret, nullptr));
    EXPECT_EQ(ret.errCode, -3);
    EXPECT_EQ(ret.errMsg, "");
    EXPECT_TRUE(EvDebug::entries().empty());

    // Other failures and refusals still speak.
    HostDBFaults::failNext("remove", 5);
    EXPECT_FALSE(mgr.DeleteYBFile(DeleteYBFileByVolIdArgs_t(5), ret, nullptr));
    EXPECT_EQ(ret.errCode, -4);
    EXPECT_EQ(ret.errMsg, "Database error trying to delete a YB File");
    EXPECT_FALSE(mgr.DeleteYBFile(DeleteYBFileByVolIdArgs_t(), ret, nullptr));
    EXPECT_EQ(ret.errCode, -6);
    EXPECT_EQ(EvDebug::entries().size(), 2u);

    // In the caller's transaction: a rollback brings the files back.
    {
        DBtran tran(false);
        ASSERT_EQ(tran.startTran(), 0);
        EXPECT_TRUE(mgr.DeleteYBFile(DeleteYBFileByVolIdArgs_t(5), ret, &tran));
        EXPECT_EQ(ret.errMsg, "");
        tran.rollbackTran();
    }
    EXPECT_EQ(catalogue().size(), 3u);

    mgr.m_bReportMissingFiles = true;
    EvDebug::clearEntries();
    EXPECT_FALSE(mgr.DeleteYBFile(DeleteYBFileByVolIdArgs_t(7), ret, nullptr));
    EXPECT_EQ(ret.errCode, -3);
    EXPECT_EQ(ret.errMsg, "Volume has no YB Files");
    EXPECT_EQ(EvDebug::entries().size(), 1u);
}
