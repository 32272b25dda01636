#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "host/db/SNRTables.h"
#include "snr/HistoryNames.h"
#include "snr/SNRMessages.h"
#include "snr/SNRPostFixture.h"

namespace {

// One reply as it was on the wire, with its texts read at send time (they
// point into the case's result, which is gone afterwards).
struct Answer {
    unsigned long code = 0;
    size_t size = 0;
    uint32_t status = 99;
    int32_t errCode = 99;
    bool hasMsg = false;
    std::string msg;
    int32_t deviceId = 0;
    bool hasName = false;
    std::string name;
};

class HistoryNameTest : public SNRPostTest<Answer> {
public:
    Answer decode(const void* data, unsigned long length) override {
        Answer a;
        if (length == sizeof(repAddGlobalHistoryNameResp)) {
            const auto* r = static_cast<const repAddGlobalHistoryNameResp*>(data);
            a.status = r->status;
            a.errCode = r->errCode;
            a.hasMsg = r->errMsg != nullptr;
            if (a.hasMsg) a.msg = r->errMsg;
        } else if (length == sizeof(repQueryTzGlobalHistoryNameResp)) {
            const auto* r = static_cast<const repQueryTzGlobalHistoryNameResp*>(data);
            a.status = r->status;
            a.errCode = r->errCode;
            a.hasMsg = r->errMsg != nullptr;
            if (a.hasMsg) a.msg = r->errMsg;
            a.deviceId = r->HistoryName.DeviceId;
            a.hasName = r->HistoryName.GlobalHistoryName != nullptr;
            if (a.hasName) a.name = r->HistoryName.GlobalHistoryName;
        }
        return a;
    }

    // Posts one request and returns its only reply, of the given size; the
    // request buffer must have been cleaned once.
    Answer post(unsigned long code, void* request, size_t replySize) {
        size_t cleanedBefore = mgr.cleanedBuffers().size();
        Answer a = SNRPostTest::post(code, request, replySize);
        EXPECT_EQ(mgr.cleanedBuffers().size(), cleanedBefore + 1);
        return a;
    }

    Answer add(int deviceId, const char* name, unsigned long code = 0x3500010b) {
        repYBTzHistoryNameRec req;
        req.DeviceId = deviceId;
        req.GlobalHistoryName = const_cast<char*>(name);
        return post(code, &req, 16);
    }
    Answer update(int deviceId, const char* name) { return add(deviceId, name, 0x3500010d); }
    Answer remove(int deviceId) {
        repTzGlobalHistoryNameByDeviceReq req{deviceId};
        return post(0x3500010f, &req, 16);
    }
    Answer queryByDevice(int deviceId) {
        repTzGlobalHistoryNameByDeviceReq req{deviceId};
        return post(0x35000111, &req, 32);
    }
    Answer queryByVolume(int volumeId) {
        repTzGlobalHistoryNameByVolIdReq req{volumeId};
        return post(0x35000113, &req, 32);
    }

    static void expectSuccess(const Answer& a) {
        EXPECT_EQ(a.status, 1u);
        EXPECT_EQ(a.errCode, 0);
        EXPECT_FALSE(a.hasMsg);
    }
    static void expectFailure(const Answer& a, int code, const std::string& text) {
        EXPECT_EQ(a.status, 0u);
        EXPECT_EQ(a.errCode, code);
        EXPECT_TRUE(a.hasMsg);
        EXPECT_EQ(a.msg, text);
        EXPECT_EQ(a.deviceId, 0);
        EXPECT_FALSE(a.hasName);
    }

    // Stored rows of the table, by device.
    static std::vector<YBTzHistoryName_t> storedRows() {
        return StoredRows<YBTzHistoryName_t, CYBTzHistoryNameDB>("DeviceId ASC");
    }

    // A volume with a device per entry; returns the device ids.
    static std::vector<int> volumeWithDevices(int devices, int& volumeId) {
        CSNRVolumeDB volumes;
        YBPhysicalVolume_t vol;
        std::strcpy(vol.UniqueId, "uid");
        EXPECT_TRUE(volumes.insert(vol, nullptr));
        volumeId = vol.id;
        std::vector<int> ids;
        for (int i = 0; i < devices; ++i) {
            CSNRVolumeDeviceNameDB devs;
            YBPhysicalDevice_t dev;
            dev.ClientId = 3;
            dev.SNRVolumeId = volumeId;
            std::snprintf(dev.DeviceName, sizeof dev.DeviceName, "/dev/sd%c", 'a' + i);
            EXPECT_TRUE(devs.insert(dev, nullptr));
            ids.push_back(dev.id);
        }
        return ids;
    }
};

TEST_F(HistoryNameTest, NameLifecycleThroughPost) {
    int volume = 0;
    std::vector<int> dev = volumeWithDevices(2, volume);

    expectSuccess(add(dev[0], "vault-A"));
    Answer q = queryByDevice(dev[0]);
    expectSuccess(q);
    EXPECT_EQ(q.deviceId, dev[0]);
    EXPECT_EQ(q.name, "vault-A");
    q = queryByVolume(volume);
    expectSuccess(q);
    EXPECT_EQ(q.deviceId, dev[0]);
    EXPECT_EQ(q.name, "vault-A");

    expectSuccess(update(dev[0], "vault-B"));
    EXPECT_EQ(queryByDevice(dev[0]).name, "vault-B");

    expectFailure(add(dev[1], "vault-B"), -12, "Morvane global history name is already in the database");
    expectFailure(queryByDevice(dev[1]), -3, "Record not found");

    expectSuccess(remove(dev[0]));
    expectFailure(remove(dev[0]), -3, "Global History name not found");
    expectFailure(queryByVolume(volume), -3, "Volume does not have an Tz Global History Name");
    EXPECT_TRUE(storedRows().empty());

    auto done = LogEntriesWith("\tMessage REPLICA_PM_AddTzGlobalHistoryName_REQ completed successfully"
                               "\n\tSending reply REPLICA_PM_AddTzGlobalHistoryName_RESP to client...");
    EXPECT_EQ(done.size(), 1u);
    EXPECT_EQ(LogEntriesWith("\tMessage REPLICA_PM_DeleteTzGlobalHistoryName_REQ completed unsuccessfully"
                             "\n\tSending reply REPLICA_PM_DeleteTzGlobalHistoryName_RESP to client...")
                  .size(),
              1u);
    EXPECT_EQ(LogEntriesWith("REPLICA_PM_QueryTzGlobalHistNameByVolId_REQ completed successfully\n\tSending reply "
                             "REPLICA_PM_QueryTzGlobalHistNameByVolId_RESP")
                  .size(),
              1u);
}

TEST_F(HistoryNameTest, AddInsertsUpdatesOrKeepsTheDevicesName) {
    // No row: inserted with Flags 0.
    expectSuccess(add(7, "night"));
    auto rows = storedRows();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].DeviceId, 7);
    EXPECT_STREQ(rows[0].GlobalHistoryName, "night");
    EXPECT_EQ(rows[0].Flags, 0);
    EXPECT_EQ(LogEntriesWith("\tGlobal History Name night used by Device ID = 7 was added to the database").size(),
              1u);

    // The same name again: nothing written.
    HostDBFaults::failNext("Update", 5);
    HostDBFaults::failNext("insert", 5);
    expectSuccess(add(7, "night"));
    EXPECT_EQ(LogEntriesWith("used by Device ID = 7 was already int the the database").size(), 1u);
    HostDBFaults::clear();

    // Another name for a device that has one: its row is updated.
    expectSuccess(add(7, "day"));
    rows = storedRows();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_STREQ(rows[0].GlobalHistoryName, "day");
    EXPECT_EQ(LogEntriesWith("\tGlobal History Name day used by Device ID = 7 was updated to the database").size(),
              1u);

    // The update request does not check who else holds the name; once two
    // devices hold it, neither may add it again.
    expectSuccess(add(8, "dusk"));
    expectSuccess(update(8, "day"));
    expectFailure(add(7, "day"), -12, "Morvane global history name is already in the database");
    expectFailure(add(8, "day"), -12, "Morvane global history name is already in the database");
}

TEST_F(HistoryNameTest, RequestsWithBadInputAreRefused) {
    expectFailure(add(0, "x"), -6, "Morvane global history name cannot be added with an invalid device Id");
    expectFailure(add(4, nullptr), -2, "Morvane global history name is empty");
    expectFailure(update(-1, "x"), -6, "Global history name could not be updated with invalid device ID");
    expectFailure(update(4, nullptr), -2, "Empty Global history name are not allowed");
    expectFailure(remove(0), -6, "Global history name could not be deleted with invalid device ID");
    expectFailure(queryByDevice(0), -6, "Global history name could not be queried with invalid device ID");
    expectFailure(queryByVolume(-2), -6, "Global history name could not be queried with invalid volume ID");
    EXPECT_TRUE(storedRows().empty());

    auto refused = LogEntriesWith("Event: Morvane global history name cannot be added with an invalid device Id"
                                  "\n\tDevice ID = 0");
    ASSERT_EQ(refused.size(), 1u);
    EXPECT_NE(refused[0].find("ReplicationMgr::AddTzGlobalHistoryName()"), std::string::npos);
    // The other refusals carry their text alone.
    for (const char* text : {"Global history name could not be updated with invalid device ID",
                             "Global history name could not be deleted with invalid device ID",
                             "Global history name could not be queried with invalid device ID",
                             "Global history name could not be queried with invalid volume ID"}) {
        const std::string tail = std::string("\tEvent: ") + text + "\n";
        auto entries = LogEntriesWith(tail);
        ASSERT_EQ(entries.size(), 1u) << text;
        EXPECT_EQ(entries[0].compare(entries[0].size() - tail.size(), tail.size(), tail), 0) << entries[0];
    }
}

TEST_F(HistoryNameTest, NamesLongerThanTheColumnAreRefusedNotCut) {
    std::string longest(kMaxGlobalHistoryNameLength, 'n');
    expectSuccess(add(3, longest.c_str()));
    Answer q = queryByDevice(3);
    expectSuccess(q);
    EXPECT_EQ(q.name, longest);

    // One more character: a cut copy would be the name device 3 holds.
    std::string tooLong = longest + "n";
    expectFailure(add(4, tooLong.c_str()), -18, "Global History Name is too long");
    expectFailure(update(3, (std::string(kMaxGlobalHistoryNameLength, 'm') + "m").c_str()), -18,
                  "Global History Name is too long");
    auto rows = storedRows();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].DeviceId, 3);
    EXPECT_EQ(std::string(rows[0].GlobalHistoryName), longest);
}

TEST_F(HistoryNameTest, QuotesInNamesAreStoredAsGiven) {
    expectSuccess(add(5, "it's"));
    expectFailure(add(6, "it's"), -12, "Morvane global history name is already in the database");
    expectSuccess(update(5, "o'clock"));
    EXPECT_EQ(queryByDevice(5).name, "o'clock");
}

TEST_F(HistoryNameTest, VolumeQueryNeedsExactlyOneName) {
    int volume = 0;
    std::vector<int> dev = volumeWithDevices(2, volume);
    expectFailure(queryByVolume(volume), -3, "Volume does not have an Tz Global History Name");
    expectSuccess(add(dev[1], "first"));
    Answer q = queryByVolume(volume);
    expectSuccess(q);
    EXPECT_EQ(q.deviceId, dev[1]);
    expectSuccess(add(dev[0], "second"));
    expectFailure(queryByVolume(volume), -13, "Volume has more than one Tz Global History Name");

    HostDBFaults::failNext("fetch", 21);
    expectFailure(queryByVolume(volume), -4, "DB failure detect trying to access Tz Global history name information");
    EXPECT_EQ(LogEntriesWith("\n\tDB Err Code   = 21").size(), 1u);
}

TEST_F(HistoryNameTest, DatabaseFailuresAnswerMinusFourAndLeaveNoRow) {
    HostDBFaults::failNext("getList", 11);
    expectFailure(add(2, "a"), -4, "Cannot access Morvane global history name information");
    HostDBFaults::failNext("insert", 11);
    expectFailure(add(2, "a"), -4, "Global history name could not be added to the database");
    HostDBFaults::failNext("getInfo", 11);
    expectFailure(add(2, "a"), -4, "Cannot access Morvane Volume Global History Name from the database");
    EXPECT_TRUE(storedRows().empty());

    expectSuccess(add(2, "a"));
    HostDBFaults::failNext("Update", 11);
    expectFailure(add(2, "b"), -4, "Cannot Update Morvane global history name information");
    HostDBFaults::failNext("Update", 11);
    expectFailure(update(2, "b"), -4, "Global history name could not be updated to the database");
    HostDBFaults::failNext("remove", 11);
    expectFailure(remove(2), -4, "Global history name cannot be removed from the database");
    HostDBFaults::failNext("getInfo", 11);
    expectFailure(queryByDevice(2), -4, "Cannot access Morvane Volume Global History Name from the database");
    // A device without a row cannot be renamed by the update request.
    expectFailure(update(9, "b"), -4, "Global history name could not be updated to the database");
    EXPECT_EQ(queryByDevice(2).name, "a");
}

TEST_F(HistoryNameTest, WritesAreUndoneWhenTheTransactionDoesNotComplete) {
    // The commit fails after the row was written: rolled back.
    HostDBFaults::failNext("commitTran", 5);
    expectFailure(add(2, "lost"), -4, "Could not commit database transactions");
    EXPECT_TRUE(storedRows().empty());

    expectSuccess(add(2, "kept"));
    HostDBFaults::failNext("commitTran", 5);
    expectFailure(remove(2), -4, "Could not commit database transactions");
    ASSERT_EQ(storedRows().size(), 1u);

    // The transaction cannot start: the operation is not called.
    EvDebug::clearEntries();
    HostDBFaults::failNext("startTran", 1);
    expectFailure(add(3, "never"), -7, "Could not initiated database transactions");
    EXPECT_EQ(storedRows().size(), 1u);
    EXPECT_EQ(LogEntriesWith("\tCould not initiated database transactions").size(), 1u);
    EXPECT_EQ(LogEntriesWith("REPLICA_PM_AddTzGlobalHistoryName_REQ completed unsuccessfully").size(), 1u);
    EXPECT_TRUE(LogEntriesWith("AddTzGlobalHistoryName()").empty());
    HostDBFaults::failNext("startTran", 1);
    expectFailure(remove(2), -7, "Could not initiated database transactions");
    EXPECT_EQ(storedRows().size(), 1u);
}

TEST_F(HistoryNameTest, OperationsShareTheCallersTransaction) {
    // As device registration uses the add: rolled back with the caller.
    {
        DBtran tran(false);
        ASSERT_EQ(tran.startTran(), 0);
        AddMorvaneVolHistoryNameArgs_t args;
        args.record.DeviceId = 12;
        args.record.GlobalHistoryName = "inside";
        AddMorvaneVolHistoryNameRet_t ret;
        ASSERT_TRUE(mgr.AddTzGlobalHistoryName(args, ret, &tran));
        QueryMorvaneVolHistoryNameArgs_t qa;
        qa.DeviceId = 12;
        QueryMorvaneVolHistoryNameRet_t qr;
        ASSERT_TRUE(mgr.QueryTzGlobalHistoryName(qa, qr, &tran));
        EXPECT_EQ(qr.record.GlobalHistoryName, "inside");
        EXPECT_EQ(qr.errCode, 0);
        tran.rollbackTran();
    }
    EXPECT_TRUE(storedRows().empty());

    // The repYBTzHistoryNameRec of an add-device request goes into the record.
    repYBTzHistoryNameRec wire;
    wire.DeviceId = 4;
    wire.GlobalHistoryName = const_cast<char*>("from-request");
    MorvaneHistoryNameRecord_t record;
    SetMorvaneRecord(record, wire);
    EXPECT_EQ(record.DeviceId, 4);
    EXPECT_EQ(record.GlobalHistoryName, "from-request");
}

}  // namespace
