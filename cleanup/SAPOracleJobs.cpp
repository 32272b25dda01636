// The SAP/Oracle job views: the jobs of an instance on a client, and the
// volume pairs of its jobs, with their request handlers.
#include "cleanup/SAPOracleJobs.h"

#include <cstring>
#include <limits>
#include <string>

#include "cleanup/CleanupCases.h"
#include "host/EvDebug.h"
#include "host/db/DBtable.h"
#include "rows/Db/Proc/YB_GetJobDetailsForYBSAPOracle.h"
#include "rows/Db/Proc/YB_GetJobListForYBSAPOracle.h"
#include "service/CasePatterns.h"
#include "service/ErrorCodes.h"
#include "service/RecordConversion.h"
#include "service/Refusals.h"
#include "service/ReplicationMgr.h"
#include "service/ReplyArray.h"
#include "service/ResultCode.h"
#include "service/Utils.h"

namespace {

const char ProgNameSAPOracle[] = "ReplicationMgrSAPOracle";

using steps::Fail;

std::string Parameters(const YBSAPOracleJobsArgs_t& args, bool withJob)
{
    std::string text = "\n\tParameters used:\n\tClient id = " + std::to_string(args.clientId);
    if (withJob) text += "\n\tJobId = " + std::to_string(static_cast<long long>(args.jobId));
    return text + "\n\tAppType id = " + std::to_string(static_cast<long long>(args.appTypeCode)) +
           "\n\tInstance Name = " + EvDebug::escaped(args.instanceName);
}

// The checks both views make. A code that does not fit the procedures'
// 32-bit argument (a type above 63) is refused like a negative one.
template <typename Ret>
bool CheckArgs(ReplicationMgr& mgr, const YBSAPOracleJobsArgs_t& args, Ret& ret, const char* function)
{
    if (args.clientId <= 1)
        return Fail(mgr, ret, kErrInvalidId, "Invalid client id received",
                    "\n\tClient id = " + std::to_string(args.clientId), ProgNameSAPOracle, function, __LINE__);
    if (args.instanceName.empty())
        return Fail(mgr, ret, kErrMissingInput, "Volume name is empty", "\n\tInstance Name = ", ProgNameSAPOracle,
                    function, __LINE__);
    if (args.appTypeCode <= 0 || args.appTypeCode > std::numeric_limits<int32_t>::max())
        return Fail(mgr, ret, kErrInvalidId, "Invalid AppType id received",
                    "\n\tAppType id = " + std::to_string(static_cast<long long>(args.appTypeCode)), ProgNameSAPOracle,
                    function, __LINE__);
    return true;
}

}  // namespace

void YBSet(repSAPJobIdRec& wire, const YBSAPOracleJobIdRecord_t& record)
{
    wire.creationTime = record.creationTime;
    wire.jobId = record.jobId;
}

bool ReplicationMgr::getJobListForYBSAPOracle(const YBSAPOracleJobsArgs_t& args, YBSAPOracleJobListRet_t& ret,
                                              DBtran* tran)
{
    static const char Fn[] = "ReplicationMgr::getJobListForYBSAPOracle()";
    ret.jobs.clear();
    if (!CheckArgs(*this, args, ret, Fn)) return false;

    YB_GetJobListForYBSAPOracle procedure(tran);
    procedure.setValues(args.clientId, static_cast<int>(args.appTypeCode), args.instanceName.c_str());
    int rc;
    int count = 0;
    while ((rc = getNextRow(&procedure, &count, -1, 0)) == DB_ROW_OK) {
        const YB_GetJobListForYBSAPOracle_t* row = procedure.getDataPtr();
        ret.jobs.push_back(YBSAPOracleJobIdRecord_t{row->o_creationTime, row->o_jobId});
    }
    if (rc != DB_NO_MORE_ROWS) {
        ret.jobs.clear();
        return Fail(*this, ret, kErrDatabase, "Could not get list of job Ids from the database",
                    "\n\tgetNextRow(YB_GetJobListForYBSAPOracle &) failed" + Parameters(args, false) +
                        "\n\tDB Err Code = " + std::to_string(rc),
                    ProgNameSAPOracle, Fn, __LINE__);
    }
    ret.errMsg.clear();
    return true;
}

bool ReplicationMgr::getJobDetailsForYBSAPOracle(const YBSAPOracleJobsArgs_t& args, YBSAPOracleJobDetailsRet_t& ret,
                                                 DBtran* tran)
{
    static const char Fn[] = "ReplicationMgr::getJobDetailsForYBSAPOracle()";
    ret.jobs.clear();
    if (args.jobId < 0)
        return Fail(*this, ret, kErrInvalidId, "Invalid jobId received",
                    "\n\tJobId = " + std::to_string(static_cast<long long>(args.jobId)), ProgNameSAPOracle, Fn,
                    __LINE__);
    if (!CheckArgs(*this, args, ret, Fn)) return false;

    YB_GetJobDetailsForYBSAPOracle procedure(tran);
    procedure.setValues(args.clientId, static_cast<int>(args.appTypeCode), args.instanceName.c_str(),
                        static_cast<long long>(args.jobId));
    // Rows of one job are adjacent; a job starts where the job id changes.
    int64_t previous = 0;
    int rc = procedure.openCursor();
    if (rc == DB_ROW_OK) rc = procedure.fetchCursor(true);
    for (; rc == DB_ROW_OK; rc = procedure.fetchCursor(true)) {
        const YB_GetJobDetailsForYBSAPOracle_t* row = procedure.getDataPtr();
        if (row->o_jobId != previous) {
            previous = row->o_jobId;
            ret.jobs.push_back(YBSAPOracleJobDetailsRecord_t{{}, previous});
        }
        if (ret.jobs.empty()) {  // a first row of job 0 belongs to no job
            procedure.closeCursor();
            ret.errMsg.clear();
            SetErrCode(ret, kErrDatabase);
            log() << "\tEvent: No memory available";
            WriteLogMsg(ProgNameSAPOracle, Fn, __LINE__, ERR);
            return false;
        }
        ret.jobs.back().volumes.push_back(YBSAPOracleVolumeDetailsRec_t{
            row->o_srcVolId, row->o_destVolId, YBColumnText(row->o_srcMountPath), YBColumnText(row->o_destMountPath)});
    }
    procedure.closeCursor();
    if (rc != DB_NO_MORE_ROWS) {
        ret.jobs.clear();
        return Fail(*this, ret, kErrDatabase, "Could not get list of job details from the database",
                    "\n\tgetNextRow(YB_GetJobDetailsForYBSAPOracle &) failed" + Parameters(args, true) +
                        "\n\tDB Err Code = " + std::to_string(rc),
                    ProgNameSAPOracle, Fn, __LINE__);
    }
    ret.errMsg.clear();
    return true;
}

// ---- Request handlers --------------------------------------------------------------

namespace {

YBSAPOracleJobsArgs_t ArgsOf(zxsDatabuf* buf)
{
    const repSAPOracleJobsReq& req = cases::RequestOf<repSAPOracleJobsReq>(buf);
    return YBSAPOracleJobsArgs_t(YBTextFromWire(req.instanceName), req.clientId, req.appType, req.jobId);
}

// The details array of a reply and the volume arrays of its entries, freed
// after the send.
class DetailsArrays {
public:
    DetailsArrays() = default;
    DetailsArrays(const DetailsArrays&) = delete;
    DetailsArrays& operator=(const DetailsArrays&) = delete;
    ~DetailsArrays() { release(); }

    // False, with nothing kept, when an array cannot be allocated: a job is
    // never sent without the volumes it has.
    bool fill(repSAPOracleJobDetailsListResp& reply, const std::vector<YBSAPOracleJobDetailsRecord_t>& jobs)
    {
        if (jobs.empty()) return true;
        m_count = jobs.size();
        m_array = static_cast<repSAPJobDetailsRec*>(AllocReplyArray(sizeof(repSAPJobDetailsRec) * m_count));
        if (m_array == nullptr) return false;
        std::memset(static_cast<void*>(m_array), 0, sizeof(repSAPJobDetailsRec) * m_count);
        for (size_t i = 0; i < m_count; ++i) {
            const YBSAPOracleJobDetailsRecord_t& job = jobs[i];
            m_array[i].jobId = job.jobId;
            if (job.volumes.empty()) continue;
            auto* volumes = static_cast<repSAPVolumeDetailsRec*>(
                AllocReplyArray(sizeof(repSAPVolumeDetailsRec) * job.volumes.size()));
            if (volumes == nullptr) {
                release();
                return false;
            }
            for (size_t v = 0; v < job.volumes.size(); ++v) {
                volumes[v].srcVolId = job.volumes[v].srcVolId;
                volumes[v].destVolId = job.volumes[v].destVolId;
                volumes[v].srcMountPath = const_cast<char*>(job.volumes[v].srcMountPath.c_str());
                volumes[v].destMountPath = const_cast<char*>(job.volumes[v].destMountPath.c_str());
            }
            m_array[i].volumes = volumes;
            m_array[i].volumeCount = static_cast<uint32_t>(job.volumes.size());
        }
        reply.entries = m_array;
        reply.count = static_cast<uint32_t>(m_count);
        return true;
    }

private:
    void release()
    {
        if (m_array != nullptr)
            for (size_t i = 0; i < m_count; ++i) free(m_array[i].volumes);
        free(m_array);
        m_array = nullptr;
        m_count = 0;
    }

    repSAPJobDetailsRec* m_array = nullptr;
    size_t m_count = 0;
};

}  // namespace

void ReplicationMgr::getJobListForYBSAPOracleHandler(unsigned long requestCode, unsigned long replyCode,
                                                     zxsDatabuf* buf)
{
    const YBSAPOracleJobsArgs_t args = ArgsOf(buf);
    YBSAPOracleJobListRet_t ret;
    steps::AnswerListByHandler(*this, "ReplicationMgr::getJobListForYBSAPOracleHandler()", requestCode, replyCode, ret,
                               ret.jobs, &repSAPOracleJobListResp::entries,
                               [&] { return getJobListForYBSAPOracle(args, ret, nullptr); });
}

void ReplicationMgr::getJobDetailsForYBSAPOracleHandler(unsigned long requestCode, unsigned long replyCode,
                                                        zxsDatabuf* buf)
{
    const YBSAPOracleJobsArgs_t args = ArgsOf(buf);
    YBSAPOracleJobDetailsRet_t ret;
    DetailsArrays arrays;  // freed after the send
    AnswerByHandler<repSAPOracleJobDetailsListResp>(
        *this, "ReplicationMgr::getJobDetailsForYBSAPOracleHandler()", requestCode, replyCode, false, ret,
        [&](DBtran*) { return getJobDetailsForYBSAPOracle(args, ret, nullptr); },
        [&](repSAPOracleJobDetailsListResp& r) { return arrays.fill(r, ret.jobs); });
}

const ServedCase GetJobListForYBSAPOracleCase = cases::Serve<repSAPOracleJobsReq, repSAPOracleJobListResp>(
    &cases::HandlerCase<&ReplicationMgr::getJobListForYBSAPOracleHandler>);
const ServedCase GetJobDetailsForYBSAPOracleCase = cases::Serve<repSAPOracleJobsReq, repSAPOracleJobDetailsListResp>(
    &cases::HandlerCase<&ReplicationMgr::getJobDetailsForYBSAPOracleHandler>);
