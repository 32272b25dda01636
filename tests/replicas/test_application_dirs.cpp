// Application directories through post: a backup recorded twice, the copy to
// another volume, the per-volume listing, the refresh of the modify time and
// the listings up to a time, with their own replies.
#include <gtest/gtest.h>

#include <ctime>
#include <string>
#include <vector>

#include "replicas/ApplicationDirs.h"
#include "replicas/ReplicaPostFixture.h"

namespace {

struct DirAnswer {
    unsigned long code = 0;
    size_t size = 0;
    int64_t status = 99;
    int32_t errCode = 0;
    std::string msg;
    uint32_t count = 0;
    std::vector<std::string> names;  // objName of each entry, in order
    std::vector<int> volumes;        // ReplicationVolumeId of each entry
};

template <typename Reply>
DirAnswer DecodeListing(const void* data)
{
    const auto* r = static_cast<const Reply*>(data);
    DirAnswer a;
    a.status = r->status;
    a.count = static_cast<uint32_t>(r->count);
    for (uint32_t i = 0; r->AppDirs != nullptr && i < a.count; ++i) {
        a.names.push_back(ReplyText(r->AppDirs[i].objName));
        a.volumes.push_back(r->AppDirs[i].ReplicationVolumeId);
    }
    return a;
}
DirAnswer DecodeRecord(const void* data)
{
    DirAnswer a;
    a.status = static_cast<const repCreateAppDirsRecordsResp*>(data)->result;
    return a;
}
DirAnswer DecodeCopy(const void* data)
{
    const auto* r = static_cast<const repCopyAppDirResp*>(data);
    DirAnswer a;
    a.status = r->status;
    a.errCode = r->errCode;
    a.msg = ReplyText(r->errMsg);
    return a;
}
DirAnswer DecodeStatus(const void* data)
{
    const auto* r = static_cast<const repUpdateAppDirModifyTimeByRepVolResp*>(data);
    DirAnswer a;
    a.status = r->status;
    a.msg = ReplyText(r->errMsg);
    return a;
}

class AppDirsTest : public PolicyPostTest<DirAnswer> {
protected:
    DirAnswer record(std::vector<repApplicationDirs> entries)
    {
        repCreateAppDirsRecordsReq req{static_cast<uint32_t>(entries.size()), entries.data()};
        return send(0x35000045, &req, sizeof(repCreateAppDirsRecordsResp), &DecodeRecord);
    }
    static repApplicationDirs Entry(int subclient, const char* obj, const char* path, int volume)
    {
        repApplicationDirs e{};
        e.subclientId = subclient;
        e.clientId = 2;
        e.pathType = 3;
        e.objName = const_cast<char*>(obj);
        e.path = const_cast<char*>(path);
        e.ReplicationVolumeId = volume;
        return e;
    }
    long long count(const std::string& where) { return scalar("SELECT COUNT(*) FROM YBApplicationDirs WHERE " + where); }
};

TEST_F(AppDirsTest, ABackupRecordedTwiceRefreshesTheOldRowAndAddsOne)
{
    const long long before = time(nullptr);
    EXPECT_EQ(record({Entry(60, "db", "/a", 600)}).status, 0);
    ASSERT_EQ(count("1 = 1"), 1);
    EXPECT_EQ(count("creationTime = modifyTime AND creationTime >= " + std::to_string(before) +
                    " AND Flags = 0 AND pathType = 3 AND clientId = 2"),
              1);

    exec("UPDATE YBApplicationDirs SET creationTime = 5, modifyTime = 5");
    EXPECT_EQ(record({Entry(60, "db", "/a", 601), Entry(61, "db", "/a", 601)}).status, 0);
    EXPECT_EQ(count("ReplicationVolumeId = 600 AND creationTime = 5 AND modifyTime >= " + std::to_string(before)), 1);
    EXPECT_EQ(count("ReplicationVolumeId = 601"), 2);

    // A name of 2048 characters is stored whole; one more is refused and the
    // whole request rolled back.
    const std::string whole(2048, 'n');
    EXPECT_EQ(record({Entry(62, whole.c_str(), "/p", 602)}).status, 0);
    EXPECT_EQ(count("length(objName) = 2048"), 1);
    const std::string longer(2049, 'n');
    EXPECT_EQ(record({Entry(63, "ok", "/q", 603), Entry(63, longer.c_str(), "/p", 603)}).status, 2);
    EXPECT_EQ(count("subclientId = 63"), 0);

    // No entries (a count with a null list too), and a failed cursor.
    repCreateAppDirsRecordsReq none{3, nullptr};
    EXPECT_EQ(send(0x35000045, &none, sizeof(repCreateAppDirsRecordsResp), &DecodeRecord).status, 4);
    HostDBFaults::failNext("fetch", 5);
    EXPECT_EQ(record({Entry(64, "x", "/x", 604)}).status, 2);
    EXPECT_EQ(count("subclientId = 64"), 0);
    // Post writes nothing of its own for these: received, and the operation's entries.
    EXPECT_TRUE(LogEntriesWith("completed successfully\n\tSending reply").empty());
}

TEST_F(AppDirsTest, CopyListAndRefresh)
{
    exec("INSERT INTO YBApplicationDirs (subclientId, clientId, objName, path, creationTime, modifyTime, "
         "ReplicationVolumeId, Flags) VALUES (60, 2, 'a', '/a', 100, 100, 600, 4), (60, 2, 'b', '', 200, 200, 600, 0),"
         "(61, 3, 'c', '/c', 300, 300, 601, 0)");

    repCopyAppDirReq copy{600, 0};
    DirAnswer copied = send(0x350000d9, &copy, sizeof(repCopyAppDirResp), &DecodeCopy);
    EXPECT_EQ(copied.status, 1);
    EXPECT_EQ(count("ReplicationVolumeId = 0 AND modifyTime = 0 AND creationTime > 300"), 2);
    EXPECT_EQ(count("ReplicationVolumeId = 0 AND Flags = 4"), 1);
    repCopyAppDirReq empty{700, 1};
    copied = send(0x350000d9, &empty, sizeof(repCopyAppDirResp), &DecodeCopy);
    EXPECT_EQ(copied.status, 0);
    EXPECT_EQ(copied.errCode, -3);
    EXPECT_EQ(copied.msg, "NO YB Volume records found to perform Application Dirs update");
    EXPECT_EQ(LogEntriesWith("\n\tApplicationDirsDB::getList() return 0 records").size(), 1u);
    repCopyAppDirReq invalid{-1, 1};
    EXPECT_EQ(send(0x350000d9, &invalid, sizeof(repCopyAppDirResp), &DecodeCopy).errCode, -6);

    // A copy onto the volume it comes from is refused, whatever it holds.
    const long long all = count("id > 0");
    for (int32_t volume : {600, 700}) {
        repCopyAppDirReq onto{volume, volume};
        DirAnswer refused = send(0x350000d9, &onto, sizeof(repCopyAppDirResp), &DecodeCopy);
        EXPECT_EQ(refused.status, 0);
        EXPECT_EQ(refused.errCode, -6);
        EXPECT_EQ(refused.msg, "Cannot copy Application Dirs records onto the YB Volume that holds them");
    }
    EXPECT_EQ(count("id > 0"), all);

    // The entries of one volume in id order; an empty path goes as null.
    repQueryAppDirsByReplicaVolReq one{600};
    DirAnswer listed =
        send(0x35000073, &one, sizeof(repQueryAppDirsByReplicaVolResp), &DecodeListing<repQueryAppDirsByReplicaVolResp>);
    EXPECT_EQ(listed.status, 1);
    EXPECT_EQ(listed.names, (std::vector<std::string>{"a", "b"}));
    repQueryAppDirsByReplicaVolReq none{700};
    listed = send(0x35000073, &none, sizeof(repQueryAppDirsByReplicaVolResp),
                  &DecodeListing<repQueryAppDirsByReplicaVolResp>);
    EXPECT_EQ(listed.status, 1);
    EXPECT_EQ(listed.count, 0u);

    // Refresh: a given time, 0 for now; ids without entries only warn; a
    // count with a null list is an empty list.
    int32_t ids[] = {601, 999};
    repUpdateAppDirModifyTimeByRepVolReq refresh{77, 0, 2, ids};
    EXPECT_EQ(send(0x35000083, &refresh, sizeof(repUpdateAppDirModifyTimeByRepVolResp), &DecodeStatus).status, 1);
    EXPECT_EQ(count("ReplicationVolumeId = 601 AND modifyTime = 77"), 1);
    EXPECT_EQ(LogEntriesWith("\tWarning: No Application Dirs records were found for replication volume id 999").size(), 1u);
    repUpdateAppDirModifyTimeByRepVolReq now{0, 0, 1, ids};
    EXPECT_EQ(send(0x35000083, &now, sizeof(repUpdateAppDirModifyTimeByRepVolResp), &DecodeStatus).status, 1);
    EXPECT_EQ(count("ReplicationVolumeId = 601 AND modifyTime > 1000"), 1);
    repUpdateAppDirModifyTimeByRepVolReq nullList{0, 0, 4, nullptr};
    EXPECT_EQ(send(0x35000083, &nullList, sizeof(repUpdateAppDirModifyTimeByRepVolResp), &DecodeStatus).status, 1);
    HostDBFaults::failNext("Update", 5);
    DirAnswer failed = send(0x35000083, &now, sizeof(repUpdateAppDirModifyTimeByRepVolResp), &DecodeStatus);
    EXPECT_EQ(failed.status, 0);
    EXPECT_EQ(failed.msg, "Could not update application dirs record");
}

TEST_F(AppDirsTest, ACopyReadFailingPartWayAnswersAndKeepsNothing)
{
    exec("INSERT INTO YBApplicationDirs (subclientId, clientId, objName, path, creationTime, modifyTime, "
         "ReplicationVolumeId) VALUES (60, 2, 'a', '/a', 100, 100, 600), (60, 2, 'b', '/b', 200, 200, 600), "
         "(60, 2, 'c', '/c', 300, 300, 600)");
    repCopyAppDirReq copy{600, 601};
    // The source rows are read one at a time between the copies: the read
    // fails as it starts, or at the third row after two were written; then
    // the insert of the second fails.
    for (int skip : {0, 3}) {
        SCOPED_TRACE(skip);
        HostDBFaults::failNext("fetch", 5, skip);
        EvDebug::clearEntries();
        DirAnswer failed = send(0x350000d9, &copy, sizeof(repCopyAppDirResp), &DecodeCopy);
        EXPECT_EQ(failed.status, 0);
        EXPECT_EQ(failed.errCode, -4);
        EXPECT_EQ(failed.msg, "Could not get Application dirs information from the database");
        EXPECT_EQ(LogEntriesWith("\tNew Application Dirs record ").size(), skip == 0 ? 0u : 2u);
        EXPECT_EQ(count("ReplicationVolumeId = 601"), 0);
        HostDBFaults::clear();
    }
    HostDBFaults::failNext("insert", 5, 1);
    DirAnswer failed = send(0x350000d9, &copy, sizeof(repCopyAppDirResp), &DecodeCopy);
    EXPECT_EQ(failed.errCode, -4);
    EXPECT_EQ(failed.msg, "Could not add Application dirs information to the database");
    EXPECT_EQ(count("ReplicationVolumeId = 601"), 0);
    HostDBFaults::clear();

    EXPECT_EQ(send(0x350000d9, &copy, sizeof(repCopyAppDirResp), &DecodeCopy).status, 1);
    EXPECT_EQ(count("ReplicationVolumeId = 601 AND modifyTime = 0"), 3);
}

TEST_F(AppDirsTest, ListingsUpToATimeAnswerTheirOwnReplies)
{
    exec("INSERT INTO YBApplicationDirs (subclientId, clientId, objName, path, creationTime, modifyTime, "
         "ReplicationVolumeId) VALUES (60, 2, 'old', '/o', 100, 100, 600), (60, 2, 'new', '/n', 300, 300, 601),"
         "(61, 2, 'other', '/x', 200, 200, 602)");
    using SubResp = repGetAppDirsBySubclientAndTimeResp;
    using CliResp = repGetAppDirsByClientAndTimeResp;
    repGetAppDirsBySubclientAndTimeReq all{60, 0};
    DirAnswer a = send(0x3500003f, &all, sizeof(SubResp), &DecodeListing<SubResp>);
    EXPECT_EQ(a.status, 0);
    EXPECT_EQ(a.count, 2u);
    EXPECT_EQ(a.names, (std::vector<std::string>{"new", "old"}));
    repGetAppDirsBySubclientAndTimeReq bounded{60, 200};
    a = send(0x3500003f, &bounded, sizeof(SubResp), &DecodeListing<SubResp>);
    EXPECT_EQ(a.count, 1u);
    EXPECT_EQ(a.names, (std::vector<std::string>{"old"}));
    repGetAppDirsBySubclientAndTimeReq nothing{60, 50};
    a = send(0x3500003f, &nothing, sizeof(SubResp), &DecodeListing<SubResp>);
    EXPECT_EQ(a.status, 1);
    EXPECT_EQ(a.count, 0u);

    repGetAppDirsByClientAndTimeReq client{2, 250};
    a = send(0x35000043, &client, sizeof(CliResp), &DecodeListing<CliResp>);
    EXPECT_EQ(a.status, 0);
    EXPECT_EQ(a.names, (std::vector<std::string>{"other", "old"}));
    EXPECT_EQ(a.volumes, (std::vector<int>{602, 600}));

    // A failed fetch: status 2, no entries.
    HostDBFaults::failNext("fetch", 5);
    a = send(0x35000043, &client, sizeof(CliResp), &DecodeListing<CliResp>);
    EXPECT_EQ(a.status, 2);
    EXPECT_EQ(a.count, 0u);
    // No memory for the entries: status 3.
    AllocReplyArray = &NoMemory;
    a = send(0x3500003f, &all, sizeof(SubResp), &DecodeListing<SubResp>);
    EXPECT_EQ(a.status, 3);
    EXPECT_EQ(a.count, 0u);
}

}  // namespace
