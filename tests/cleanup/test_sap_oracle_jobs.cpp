// The SAP/Oracle job views through post on seeded jobs and history entries:
// the checks of both views, the application type code, the grouping of the
// details by job, and the failures of the procedures and of the reply arrays.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "cleanup/SAPOracleJobs.h"
#include "host/db/DBtable.h"
#include "service/Utils.h"
#include "snr/SNRPostFixture.h"

namespace {

struct SAPAnswer {
    unsigned long code = 0;
    unsigned long size = 0;
    uint32_t status = 0;
    int32_t errCode = 0;
    std::string errMsg;
    bool msgNull = true;
    bool arrayNull = true;
    std::vector<YBSAPOracleJobIdRecord_t> jobs;
    std::vector<YBSAPOracleJobDetailsRecord_t> details;
};

const int64_t BigJob = (int64_t{2} << 32) + 9;

}  // namespace

class SAPOracleJobsTest : public SNRPostTest<SAPAnswer> {
protected:
    void SetUp() override
    {
        SNRPostTest::SetUp();
        // Instance "ORA" of application type 5 on client 2: jobs 7 (two
        // volumes) and BigJob (one); another instance and another client.
        const std::string code5 = std::to_string((5 << 25) + 1);
        exec("INSERT INTO YBSAPOracleJob (JobId, ClientId, AppTypeId, InstanceName, CreationTime) VALUES "
             "(7, 2, " + code5 + ", 'ORA', 100), (" + std::to_string(BigJob) + ", 2, " + code5 + ", 'ORA', 200), "
             "(11, 2, " + code5 + ", 'OTHER', 300), (12, 3, " + code5 + ", 'ORA', 400)");
        exec("INSERT INTO YBJobVolumeHistory (JobId_h, JobId_l, SrcVolId, DstVolId) VALUES "
             "(0, 7, 10, 20), (0, 7, 11, 21), (2, 9, 12, 22), (0, 11, 13, 23)");
    }
    void TearDown() override
    {
        HostDBFaults::clear();
        AllocReplyArray = &malloc;
        SNRPostTest::TearDown();
    }

    SAPAnswer decode(const void* data, unsigned long) override
    {
        SAPAnswer a;
        auto r = static_cast<const repSAPOracleJobListResp*>(data);
        a.status = r->status;
        a.errCode = r->errCode;
        a.msgNull = r->errMsg == nullptr;
        a.errMsg = r->errMsg ? r->errMsg : "";
        a.arrayNull = r->entries == nullptr;
        if (details) {
            auto d = static_cast<const repSAPOracleJobDetailsListResp*>(data);
            for (uint32_t i = 0; i < d->count; ++i) {
                YBSAPOracleJobDetailsRecord_t job;
                job.jobId = d->entries[i].jobId;
                for (uint32_t v = 0; v < d->entries[i].volumeCount; ++v) {
                    const repSAPVolumeDetailsRec& w = d->entries[i].volumes[v];
                    job.volumes.push_back({w.srcVolId, w.destVolId, w.srcMountPath, w.destMountPath});
                }
                a.details.push_back(job);
            }
        } else {
            for (uint32_t i = 0; i < r->count; ++i)
                a.jobs.push_back({r->entries[i].creationTime, r->entries[i].jobId});
        }
        return a;
    }

    SAPAnswer jobList(int client, int appType, const char* instance, int64_t job = 0)
    {
        details = false;
        repSAPOracleJobsReq req{const_cast<char*>(instance), client, appType, job};
        return post(0x35000236, &req, sizeof(repSAPOracleJobListResp));
    }
    SAPAnswer jobDetails(int client, int appType, const char* instance, int64_t job)
    {
        details = true;
        repSAPOracleJobsReq req{const_cast<char*>(instance), client, appType, job};
        return post(0x35000238, &req, sizeof(repSAPOracleJobDetailsListResp));
    }

    bool details = false;
};

TEST_F(SAPOracleJobsTest, JobListOfAnInstance)
{
    SAPAnswer list = jobList(2, 5, "ORA", 12345);  // the job id plays no part
    ASSERT_EQ(list.status, 1u) << list.errMsg;
    EXPECT_TRUE(list.msgNull);
    ASSERT_EQ(list.jobs.size(), 2u);
    EXPECT_EQ(list.jobs[0].jobId, 7);
    EXPECT_EQ(list.jobs[0].creationTime, 100);
    EXPECT_EQ(list.jobs[1].creationTime, 200);

    SAPAnswer none = jobList(2, 0, "ORA");  // type 0: code 1, accepted
    EXPECT_EQ(none.status, 1u);
    EXPECT_TRUE(none.jobs.empty());
    EXPECT_TRUE(none.arrayNull);
    EXPECT_TRUE(none.msgNull);
}

TEST_F(SAPOracleJobsTest, DetailsGroupedByJob)
{
    SAPAnswer all = jobDetails(2, 5, "ORA", 0);
    ASSERT_EQ(all.status, 1u) << all.errMsg;
    ASSERT_EQ(all.details.size(), 2u);
    EXPECT_EQ(all.details[0].jobId, 7);
    ASSERT_EQ(all.details[0].volumes.size(), 2u);
    EXPECT_EQ(all.details[0].volumes[0].srcVolId, 10);
    EXPECT_EQ(all.details[0].volumes[1].destVolId, 21);
    EXPECT_EQ(all.details[1].jobId, BigJob);  // found by both halves of the entry's job id
    ASSERT_EQ(all.details[1].volumes.size(), 1u);
    EXPECT_EQ(all.details[1].volumes[0].srcVolId, 12);

    SAPAnswer one = jobDetails(2, 5, "ORA", 7);
    ASSERT_EQ(one.details.size(), 1u);
    EXPECT_EQ(one.details[0].volumes.size(), 2u);
}

TEST_F(SAPOracleJobsTest, RefusedArguments)
{
    struct Case {
        int client;
        int appType;
        const char* instance;
        int64_t job;
        int code;
        const char* text;
    };
    const Case cases[] = {
        {1, 5, "ORA", 0, -6, "Invalid client id received"},
        {2, 5, nullptr, 0, -2, "Volume name is empty"},
        {2, 64, "ORA", 0, -6, "Invalid AppType id received"},  // would wrap to a negative code
        {2, 127, "ORA", 0, -6, "Invalid AppType id received"},  // would wrap to a positive code
        {2, -1, "ORA", 0, -6, "Invalid AppType id received"},
    };
    for (const Case& c : cases) {
        for (bool detailsView : {false, true}) {
            SAPAnswer a = detailsView ? jobDetails(c.client, c.appType, c.instance, c.job)
                                      : jobList(c.client, c.appType, c.instance, c.job);
            EXPECT_EQ(a.status, 0u) << c.text;
            EXPECT_EQ(a.errCode, c.code) << c.text;
            EXPECT_EQ(a.errMsg, c.text);
            EXPECT_TRUE(a.arrayNull);
        }
    }
    SAPAnswer negative = jobDetails(2, 5, "ORA", -1);
    EXPECT_EQ(negative.errCode, -6);
    EXPECT_EQ(negative.errMsg, "Invalid jobId received");
    EXPECT_EQ(jobList(2, 5, "ORA", -1).status, 1u);
}

TEST_F(SAPOracleJobsTest, ProcedureAndArrayFailures)
{
    HostDBFaults::failNext("fetch", 5);
    SAPAnswer list = jobList(2, 5, "ORA");
    EXPECT_EQ(list.errCode, -4);
    EXPECT_EQ(list.errMsg, "Could not get list of job Ids from the database");
    HostDBFaults::failNext("fetch", 5, 2);  // the second row, after the open and the first
    SAPAnswer details = jobDetails(2, 5, "ORA", 0);
    EXPECT_EQ(details.errCode, -4);
    EXPECT_EQ(details.errMsg, "Could not get list of job details from the database");
    EXPECT_TRUE(details.arrayNull);
    HostDBFaults::clear();

    // A job's volumes that cannot be allocated fail the reply instead of
    // sending the job without them.
    static int calls;
    calls = 0;
    AllocReplyArray = [](size_t bytes) -> void* { return ++calls == 2 ? nullptr : malloc(bytes); };
    SAPAnswer noVolumes = jobDetails(2, 5, "ORA", 0);
    EXPECT_EQ(noVolumes.status, 0u);
    EXPECT_EQ(noVolumes.errCode, -5);
    EXPECT_EQ(noVolumes.errMsg, "No memory available to perform operation");
    AllocReplyArray = [](size_t) -> void* { return nullptr; };
    EXPECT_EQ(jobList(2, 5, "ORA").errCode, -5);
}
