// The job volume history through post, in both message versions: entries of
// job ids above 2^32 added and read back by job, by source volume, by id and
// all at once; the copy manager kind and space used; the delete by job; and
// the failing steps of the add leaving nothing written.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "cleanup/JobVolumeHistory.h"
#include "host/HostConfig.h"
#include "host/db/DBtable.h"
#include "service/Utils.h"
#include "snr/SNRPostFixture.h"
#include "support/StatementRuns.h"

namespace {

const int64_t BigJob = (int64_t{5} << 32) + 7;  // shares its low half with job 7

struct HistoryAnswer {
    unsigned long code = 0;
    unsigned long size = 0;
    int64_t status = -1;
    int32_t errCode = 0;
    std::string errMsg;
    bool msgNull = true;
    uint32_t id = 0;  // the add's entry id
    std::vector<YBJobVolumeHistoryRecord80_t> entries;
    std::vector<bool> srcNameNull;  // per entry: SrcClientName sent as null
};

template <typename Wire>
YBJobVolumeHistoryRecord80_t EntryOf(const Wire& w)
{
    YBJobVolumeHistoryRecord80_t r;
    if constexpr (std::is_same<Wire, repYBJobVolumeHistory80Rec>::value)
        YBSet(r, w);
    else
        YBSet(static_cast<YBJobVolumeHistoryRecord_t&>(r), w);
    return r;
}

const repYBJobVolumeHistoryRec& CommonOf(const repYBJobVolumeHistoryRec& w) { return w; }
const repYBJobVolumeHistoryRec& CommonOf(const repYBJobVolumeHistory80Rec& w) { return w.common; }

}  // namespace

class JobVolumeHistoryTest : public SNRPostTest<HistoryAnswer> {
protected:
    void SetUp() override
    {
        SNRPostTest::SetUp();
        for (auto c : {std::pair<int, const char*>{2, "alpha"}, {3, "beta"}}) {
            HostClientSeed seed;
            seed.id = c.first;
            seed.name = c.second;
            seed.netHostName = std::string(c.second) + ".net";
            ASSERT_EQ(HostConfig::addClient(seed), 0);
        }
        // Source volume 10 on client 2 (mounted at /src), destination 20 on
        // client 3 (device only), 30 on client 3 with an unmounted first
        // mount point and no device of client 2.
        exec("INSERT INTO YBPhysicalVolume (id, UniqueId, UniqueIdType, BlockCount, BlockSize, CostCategoryId, Type) "
             "VALUES (10, 'uid-10', 3, 1000, 512, 0, 1), (20, 'uid-20', 3, 4000, 1024, 9, 1), "
             "(30, 'uid-30', 3, 10, 10, 0, 1)");
        exec("INSERT INTO YBPhysicalDevice (id, ClientId, SNRVolumeId, DeviceName) VALUES "
             "(100, 2, 10, 'dev-src'), (200, 3, 20, 'dev-dst'), (300, 3, 30, 'dev-30')");
        exec("INSERT INTO YBMountPoint (id, DeviceNameId, Path, Flags) VALUES (1, 100, '/src', 0)");
    }
    void TearDown() override
    {
        HostDBFaults::clear();
        AllocReplyArray = &malloc;
        SNRPostTest::TearDown();
    }

    HistoryAnswer decode(const void* data, unsigned long length) override
    {
        HistoryAnswer a;
        switch (length) {
        case sizeof(repAddVolumeToYBJobHistoryResp): {
            auto r = static_cast<const repAddVolumeToYBJobHistoryResp*>(data);
            a.id = r->id;
            fillStatus(a, r->status, r->errCode, r->errMsg);
            break;
        }
        case sizeof(repDeleteYBJobHistoryByJobIdResp): {
            auto r = static_cast<const repDeleteYBJobHistoryByJobIdResp*>(data);
            fillStatus(a, r->status, r->errCode, r->errMsg);
            break;
        }
        case sizeof(repYBJobHistoryByIdResp): {
            auto r = static_cast<const repYBJobHistoryByIdResp*>(data);
            fillStatus(a, r->status, r->errCode, r->errMsg);
            addEntry(a, r->entry);
            break;
        }
        case sizeof(repYBJobHistoryById80Resp): {
            auto r = static_cast<const repYBJobHistoryById80Resp*>(data);
            fillStatus(a, r->status, r->errCode, r->errMsg);
            addEntry(a, r->entry);
            break;
        }
        default: {  // a list: the version by the code
            auto r = static_cast<const repYBJobHistoryListResp*>(data);
            fillStatus(a, r->status, r->errCode, r->errMsg);
            a.id = r->count;
            if (r->count > 0 && r->entries == nullptr) ADD_FAILURE() << "count without array";
            if (r->count == 0 && r->entries != nullptr) ADD_FAILURE() << "array without count";
            if (version80) {
                auto arr = reinterpret_cast<const repYBJobVolumeHistory80Rec*>(r->entries);
                for (uint32_t i = 0; i < r->count; ++i) addEntry(a, arr[i]);
            } else {
                for (uint32_t i = 0; i < r->count; ++i) addEntry(a, r->entries[i]);
            }
        }
        }
        return a;
    }
    static void fillStatus(HistoryAnswer& a, uint32_t status, int32_t code, const char* msg)
    {
        a.status = status;
        a.errCode = code;
        a.msgNull = msg == nullptr;
        a.errMsg = msg ? msg : "";
    }
    template <typename Wire>
    static void addEntry(HistoryAnswer& a, const Wire& w)
    {
        a.entries.push_back(EntryOf(w));
        a.srcNameNull.push_back(CommonOf(w).SrcClientName == nullptr);
    }

    static repYBJobVolumeHistoryRec Entry(int64_t job, int src, int dst, int srcClient = 2, int dstClient = 3)
    {
        repYBJobVolumeHistoryRec r;
        std::memset(static_cast<void*>(&r), 0, sizeof r);
        r.JobId = job;
        r.CellId = 4;
        r.SrcVolId = src;
        r.SrcClientId = srcClient;
        r.DstVolId = dst;
        r.DstClientId = dstClient;
        return r;
    }
    HistoryAnswer add(repYBJobVolumeHistoryRec r)
    {
        version80 = false;
        return post(0x35000119, &r, sizeof(repAddVolumeToYBJobHistoryResp));
    }
    HistoryAnswer add80(repYBJobVolumeHistoryRec common, int copyMgrType = 1, int64_t space = 0)
    {
        version80 = true;
        repYBJobVolumeHistory80Rec r;
        std::memset(static_cast<void*>(&r), 0, sizeof r);
        r.common = common;
        r.CopyMgrType = copyMgrType;
        r.SpaceUsed = space;
        return post(0x3500023a, &r, sizeof(repAddVolumeToYBJobHistoryResp));
    }
    template <typename Req>
    HistoryAnswer list(unsigned long code, Req req)
    {
        version80 = code > 0x35000200;
        return post(code, &req, sizeof(repYBJobHistoryListResp));
    }
    HistoryAnswer all(unsigned long code)
    {
        version80 = code > 0x35000200;
        return post(code, nullptr, sizeof(repYBJobHistoryListResp));
    }
    HistoryAnswer byId(unsigned long code, int id)
    {
        version80 = code > 0x35000200;
        repYBJobHistoryByIdReq req{id};
        return post(code, &req, version80 ? sizeof(repYBJobHistoryById80Resp) : sizeof(repYBJobHistoryByIdResp));
    }
    long long rows() { return scalar("SELECT COUNT(*) FROM YBJobVolumeHistory"); }

    bool version80 = false;
};

TEST_F(JobVolumeHistoryTest, EntryOfAJobAbove32BitsReadsBackWholeInEveryVersion)
{
    HistoryAnswer added = add(Entry(BigJob, 10, 20));
    ASSERT_EQ(added.status, 1) << added.errMsg;
    EXPECT_TRUE(added.msgNull);
    ASSERT_GT(added.id, 0u);
    // Job 7 shares the low half: the two stay apart.
    HistoryAnswer other = add(Entry(7, 10, 30));
    ASSERT_EQ(other.status, 1) << other.errMsg;
    EXPECT_EQ(scalar("SELECT JobId_h FROM YBJobVolumeHistory WHERE id = " + std::to_string(added.id)), 5);

    for (unsigned long code : {0x35000121ul, 0x3500023cul}) {
        HistoryAnswer found = list(code, repYBJobHistoryByJobIdReq{BigJob});
        ASSERT_EQ(found.status, 1) << std::hex << code;
        ASSERT_EQ(found.entries.size(), 1u) << std::hex << code;
        const YBJobVolumeHistoryRecord80_t& e = found.entries[0];
        EXPECT_EQ(e.id, static_cast<int32_t>(added.id));
        EXPECT_EQ(e.JobId, BigJob);
        EXPECT_EQ(e.CellId, 4);
        EXPECT_EQ(e.SrcClientName, "alpha");
        EXPECT_EQ(e.SrcDeviceName, "/src");  // mounted: the mount point's path
        EXPECT_EQ(e.SrcBlockCount, 1000);
        EXPECT_EQ(e.SrcBlockSize, 512);
        EXPECT_EQ(e.DstClientName, "beta");
        EXPECT_EQ(e.DstDeviceName, "dev-dst");  // no mount point: the device name
        EXPECT_EQ(e.DstBlockCount, 4000);
        EXPECT_EQ(e.DstCostCategoryId, 9);
        if (code == 0x3500023c) {
            EXPECT_EQ(e.CopyMgrType, 5);
            EXPECT_EQ(e.SpaceUsed, 4000 * 1024);
        }
        EXPECT_EQ(list(code, repYBJobHistoryByJobIdReq{7}).entries.size(), 1u);
    }
    for (unsigned long code : {0x35000125ul, 0x35000241ul}) {
        HistoryAnswer found = list(code, repYBJobHistoryByVolIdReq{10});
        ASSERT_EQ(found.entries.size(), 2u);
        EXPECT_EQ(found.entries[0].JobId, BigJob);
        EXPECT_EQ(found.entries[1].JobId, 7);
    }
    for (unsigned long code : {0x35000127ul, 0x35000243ul}) {
        HistoryAnswer found = all(code);
        ASSERT_EQ(found.entries.size(), 2u);
        EXPECT_EQ(found.entries[0].JobId, BigJob);
    }
    for (unsigned long code : {0x35000123ul, 0x3500023ful}) {
        HistoryAnswer found = byId(code, static_cast<int>(added.id));
        ASSERT_EQ(found.status, 1);
        ASSERT_EQ(found.entries.size(), 1u);
        EXPECT_EQ(found.entries[0].JobId, BigJob);
        EXPECT_EQ(found.entries[0].DstVolId, 20);
    }

    // The delete matches both halves: job 7 keeps its entry.
    repYBJobHistoryByJobIdReq del{BigJob};
    ASSERT_EQ(post(0x35000129, &del, sizeof(repDeleteYBJobHistoryByJobIdResp)).status, 1);
    EXPECT_EQ(rows(), 1);
    HistoryAnswer again = post(0x35000129, &del, sizeof(repDeleteYBJobHistoryByJobIdResp));
    EXPECT_EQ(again.status, 0);
    EXPECT_EQ(again.errCode, -3);
    EXPECT_EQ(again.errMsg, "JobId has no YB Job history");
}

TEST_F(JobVolumeHistoryTest, SecondAddOfAPairAnswersTheFirstEntry)
{
    HistoryAnswer first = add(Entry(BigJob, 10, 20));
    ASSERT_EQ(first.status, 1);
    HistoryAnswer second = add80(Entry(BigJob, 10, 30), 3, 99);  // another destination: not compared
    EXPECT_EQ(second.status, 1);
    EXPECT_EQ(second.id, first.id);
    EXPECT_EQ(rows(), 1);
}

TEST_F(JobVolumeHistoryTest, CopyManagerKindAndSpaceUsed)
{
    // A source of unique id type 11: kind 6 and the source's size.
    exec("UPDATE YBPhysicalVolume SET UniqueIdType = 11 WHERE id = 10");
    ASSERT_EQ(add80(Entry(1, 10, 20)).status, 1);
    // A given kind other than 1 is taken as it is, without the source row.
    exec("INSERT INTO YBPhysicalVolume (id, UniqueId, Type, BlockCount, BlockSize) VALUES (11, 'uid-11', 1, 1, 1)");
    exec("INSERT INTO YBPhysicalDevice (id, ClientId, SNRVolumeId, DeviceName) VALUES (110, 2, 11, 'dev-11')");
    // The third read by id would be the source row's, after the two
    // volumes' own reads.
    HostDBFaults::failNext("getInfo", 5, 2);
    ASSERT_EQ(add80(Entry(2, 11, 20), 3, 4242).status, 1);
    HostDBFaults::clear();

    HistoryAnswer found = all(0x35000243);
    ASSERT_EQ(found.entries.size(), 2u);
    EXPECT_EQ(found.entries[0].CopyMgrType, 6);
    EXPECT_EQ(found.entries[0].SpaceUsed, 1000 * 512);
    EXPECT_EQ(found.entries[1].CopyMgrType, 3);
    EXPECT_EQ(found.entries[1].SpaceUsed, 4242);
}

TEST_F(JobVolumeHistoryTest, RefusalsAndFailuresWriteNothing)
{
    struct Case {
        repYBJobVolumeHistoryRec entry;
        const char* fault;
        int skip;
        int code;
        const char* text;
    };
    const Case cases[] = {
        {Entry(1, 0, 20), "", 0, -2, "YB Job volume history could not be added with incorrect Volume Id(s)"},
        {Entry(1, 10, 30), "", 0, -3, "No device name found that can be added to the Job History"},
        {Entry(1, 10, 20), "getList", 0, -4, "Cannot query YB job history table"},
        {Entry(1, 10, 20), "getInfo", 2, -4, "Cannot access volume record in the database"},
        {Entry(1, 10, 20), "insert", 0, -4, "Failed to add Volume Job history information in the database"},
        {Entry(1, 10, 20), "startTran", 0, -7, "Could not initiated database transactions"},
    };
    // Volume 30's first mount point is unmounted, and the device of client 3
    // is not the answer: client 2 has none on it.
    exec("INSERT INTO YBMountPoint (id, DeviceNameId, Path, Flags) VALUES (5, 300, '/gone', 2)");
    for (const Case& c : cases) {
        repYBJobVolumeHistoryRec entry = c.entry;
        if (std::string(c.text).find("No device") != std::string::npos) entry.DstClientId = 2;
        if (*c.fault) HostDBFaults::failNext(c.fault, 5, c.skip);
        HistoryAnswer a = add(entry);
        HostDBFaults::clear();
        EXPECT_EQ(a.status, 0) << c.text;
        EXPECT_EQ(a.errCode, c.code) << c.text;
        EXPECT_EQ(a.errMsg, c.text);
        EXPECT_EQ(a.id, 0u);
        EXPECT_EQ(rows(), 0) << c.text;
    }
    // The failed read names the case's transaction once: "0x" and its
    // handle's hexadecimal digits.
    const std::vector<std::string> failedRead = LogEntriesWith("\n\tSNR Volume Id = 10\n\tTran = 0x");
    ASSERT_EQ(failedRead.size(), 1u);
    const size_t from = failedRead[0].find("Tran = 0x") + 9;
    const std::string handle = failedRead[0].substr(from, failedRead[0].find('\n', from) - from);
    EXPECT_FALSE(handle.empty());
    EXPECT_EQ(handle.find_first_not_of("0123456789abcdef"), std::string::npos) << handle;
}

TEST_F(JobVolumeHistoryTest, QueriesRefuseBadIdsAndAnswerEmptyMatches)
{
    HistoryAnswer none = list(0x35000121, repYBJobHistoryByJobIdReq{BigJob});
    EXPECT_EQ(none.status, 1);
    EXPECT_TRUE(none.msgNull);
    EXPECT_EQ(none.id, 0u);  // count; the decoder checks the array is null

    HistoryAnswer badJob = list(0x3500023c, repYBJobHistoryByJobIdReq{0});
    EXPECT_EQ(badJob.errCode, -6);
    EXPECT_EQ(badJob.errMsg, "Invalid Job identifier");
    EXPECT_EQ(list(0x35000125, repYBJobHistoryByVolIdReq{-1}).errMsg, "Invalid volume identifier");
    HistoryAnswer missing = byId(0x35000123, 42);
    EXPECT_EQ(missing.errCode, -3);
    EXPECT_EQ(missing.errMsg, "History not found");
    EXPECT_EQ(byId(0x3500023f, 0).errMsg, "Invalid YB Job Volume history identifier");
    repYBJobHistoryByJobIdReq del{-5};
    EXPECT_EQ(post(0x35000129, &del, sizeof(repDeleteYBJobHistoryByJobIdResp)).errMsg, "Invalid JobId identifier");

    HostDBFaults::failNext("getList", 5);
    HistoryAnswer failed = all(0x35000127);
    EXPECT_EQ(failed.errCode, -4);
    EXPECT_EQ(failed.errMsg, "Cannot get YB Job history information from the database");
}

// The list of every entry reads its rows in one run of one statement: as
// many statements for 40 entries as for 3, every entry once in id order.
TEST_F(JobVolumeHistoryTest, TheWholeListRunsTheSameStatementsWhateverItsLength)
{
    StatementRuns runs(m_path);
    std::vector<size_t> statements;
    for (int entries : {3, 40}) {
        exec("DELETE FROM YBJobVolumeHistory WHERE id > 0");
        for (int i = 1; i <= entries; ++i)
            exec("INSERT INTO YBJobVolumeHistory (id, JobId_l, SrcVolId, SrcClientName, DstVolId) VALUES (" +
                 std::to_string(100 + i) + ", " + std::to_string(i) + ", 10, 'source-client-name-" +
                 std::to_string(i) + "', 20)");
        HistoryAnswer found;
        statements.push_back(runs.of([&] { found = all(0x35000243); }));
        ASSERT_EQ(found.status, 1);
        ASSERT_EQ(found.entries.size(), static_cast<size_t>(entries));
        for (int i = 0; i < entries; ++i) {
            EXPECT_EQ(found.entries[i].id, 101 + i);
            EXPECT_EQ(found.entries[i].SrcClientName, "source-client-name-" + std::to_string(i + 1));
        }
    }
    EXPECT_EQ(statements[0], statements[1]);
}

TEST_F(JobVolumeHistoryTest, EmptyTextsAreNullByJobAndEmptyByVolume)
{
    ASSERT_EQ(add(Entry(3, 10, 20)).status, 1);
    exec("UPDATE YBJobVolumeHistory SET SrcClientName = ''");

    EXPECT_TRUE(list(0x35000121, repYBJobHistoryByJobIdReq{3}).srcNameNull.at(0));
    EXPECT_FALSE(list(0x35000125, repYBJobHistoryByVolIdReq{10}).srcNameNull.at(0));
    EXPECT_FALSE(all(0x35000127).srcNameNull.at(0));
    EXPECT_TRUE(all(0x35000243).srcNameNull.at(0));
}

TEST_F(JobVolumeHistoryTest, ReplyArraysThatCannotBeAllocated)
{
    ASSERT_EQ(add(Entry(3, 10, 20)).status, 1);
    AllocReplyArray = [](size_t) -> void* { return nullptr; };
    HistoryAnswer byJob = list(0x35000121, repYBJobHistoryByJobIdReq{3});
    EXPECT_EQ(byJob.errCode, -5);
    EXPECT_EQ(byJob.errMsg, "No memory available to perform operation");
    HistoryAnswer byVolume = list(0x35000125, repYBJobHistoryByVolIdReq{10});
    EXPECT_EQ(byVolume.errCode, -5);
    EXPECT_EQ(byVolume.errMsg, "No memory available for query information");
    EXPECT_EQ(all(0x35000243).errCode, -5);
}
