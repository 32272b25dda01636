// Adding an SNR volume by its identity and attributes.
#include "snr/SNRVolumeAdd.h"

#include <cstring>

#include "host/EvDebug.h"
#include "host/db/DBtable.h"
#include "host/db/SNRTables.h"
#include "service/ErrorCodes.h"
#include "service/Refusals.h"
#include "service/ReplicationMgr.h"
#include "service/SourceNames.h"
#include "service/TranHandle.h"
#include "snr/SNRCases.h"
#include "snr/SNRVolumeIdentity.h"

namespace {

const char AddSNRVolumeDBFn[] = "ReplicationMgr::AddSNRVolumeDB()";

}  // namespace

template <typename Args, typename Ret>
bool ReplicationMgr::AddSNRVolumeDB(const Args& args, Ret& ret, DBtran* tran)
{
    AddVolume_t version;
    auto refuse = [&](int code, const std::string& text, const std::string& details, long line) {
        return steps::Fail(*this, ret, code, text, details, ProgNameInserts, AddSNRVolumeDBFn, line);
    };

    if (args.UniqueId.empty()) return refuse(kErrMissingInput, "UniqueID field cannot be empty", "", __LINE__);

    if (version.IsApplianceIdInvalid(args))
        return refuse(kErrInvalidId, "Volume has an invalid appliance ID",
                      "\n\tAppliance ID = " + std::to_string(version.ApplianceId), __LINE__);

    if (args.LUN < 0 || args.BlockSize < 0 || version.IsMorvaneStatusInvalid(args))
        return refuse(kErrMissingInput, "New volume cannot be added with incorrect input",
                      "\n\tInput used:\n\tBlockSize           = " + std::to_string(args.BlockSize) +
                          "\n\tLUN                 = " + std::to_string(args.LUN) +
                          "\n\tMorvane Protected  = " + (version.MorvaneProtected ? "true" : "false") +
                          "\n\tState               = " + std::to_string(version.TzState),
                      __LINE__);

    // Texts too long for their columns are refused, not cut.
    std::string tooLong;
    int32_t code = 0;
    if (CheckVolumeTextLengths(args, tooLong, code) != 0) return refuse(code, tooLong, "", __LINE__);

    const std::string where = SNRVolumeIdentityWhere(args);

    // The count reads outside the caller's transaction.
    CSNRVolumeDB volumeDB;
    DBtran* const countTran = nullptr;
    unsigned int count = 0;
    if (!volumeDB.getNRows(where.c_str(), count, countTran))
        return refuse(kErrDatabase, "Cannot access volume information",
                      "\n\tCSNRVolumeDB::getNRows() failed\n\tParameters used:\n\tsWhere          = " +
                          EvDebug::escaped(where) + "\n\tTran            = 0x" + steps::TranHandle(countTran) +
                          "\n\tDB Err Code     = " + std::to_string(volumeDB.getErrorCode()),
                      __LINE__);
    if (count > 0)
        return refuse(kErrAlreadyExists, "The volume is already present in the database",
                      "\n\tOutput from CSNRVolumeDB::getNRows()\n\tsWhere = " + EvDebug::escaped(where) +
                          "\n\tOutput from method:\n\tNRows = " + std::to_string(count),
                      __LINE__);

    YBPhysicalVolume_t row;
    std::memset(static_cast<void*>(&row), 0, sizeof row);
    YBSet(row, args);
    if (!volumeDB.insert(row, tran))
        return refuse(kErrDatabase, "Cannot include volume information in the database",
                      "\n\tCSNRVolumeDB::insert() failed\n\tDB Err Code = " + std::to_string(volumeDB.getErrorCode()),
                      __LINE__);

    ret.volumeId = row.id;
    ret.errMsg = "";
    m_LogMsg << "\tNew SNR Volume ID " << ret.volumeId << " was added...";
    WriteLogMsg(ProgNameInserts, AddSNRVolumeDBFn, __LINE__, MSG);
    return true;
}

bool ReplicationMgr::AddSNRVolume(const AddSNRVolumeArgs_t& args, AddSNRVolumeRet_t& ret, DBtran* tran)
{
    return AddSNRVolumeDB(args, ret, tran);
}
bool ReplicationMgr::AddSNRVolume(const AddSNRVolume42Args_t& args, AddSNRVolume42Ret_t& ret, DBtran* tran)
{
    return AddSNRVolumeDB(args, ret, tran);
}
bool ReplicationMgr::AddSNRVolume(const AddSNRVolumeV3Args_t& args, AddSNRVolumeV3Ret_t& ret, DBtran* tran)
{
    return AddSNRVolumeDB(args, ret, tran);
}
bool ReplicationMgr::AddSNRVolume(const AddSNRVolumeV4Args_t& args, AddSNRVolumeV4Ret_t& ret, DBtran* tran)
{
    return AddSNRVolumeDB(args, ret, tran);
}

template <typename Req, typename Reply, typename Args, typename Ret>
void ReplicationMgr::AddSNRVolumeHandler(unsigned long requestCode, unsigned long replyCode, zxsDatabuf* buf)
{
    const Req& request = cases::RequestOf<Req>(buf);
    Args args;
    Ret ret;

    YBSet(args, request.SNRVolume);

    AnswerByHandler<Reply>(
        *this, "ReplicationMgr::AddSNRVolumeHandler()", requestCode, replyCode, true, ret,
        [&](DBtran* tran) { return AddSNRVolume(args, ret, tran); },
        [&](Reply& r) { r.volumeId = ret.volumeId; });
}

// ---- Request cases, one per message version ---------------------------------

const ServedCase AddSNRVolumeCaseV1 =
    SERVE_HANDLER_CASE(AddSNRVolumeHandler, repAddSNRVolumeReq, repAddSNRVolumeResp, AddSNRVolumeArgs_t,
                       AddSNRVolumeRet_t);
const ServedCase AddSNRVolumeCase42 =
    SERVE_HANDLER_CASE(AddSNRVolumeHandler, repAddSNRVolume42Req, repAddSNRVolume42Resp, AddSNRVolume42Args_t,
                       AddSNRVolume42Ret_t);
const ServedCase AddSNRVolumeCaseV3 =
    SERVE_HANDLER_CASE(AddSNRVolumeHandler, repAddSNRVolumeV3Req, repAddSNRVolumeV3Resp, AddSNRVolumeV3Args_t,
                       AddSNRVolumeV3Ret_t);
const ServedCase AddSNRVolumeCaseV4 =
    SERVE_HANDLER_CASE(AddSNRVolumeHandler, repAddSNRVolumeV4Req, repAddSNRVolumeV4Resp, AddSNRVolumeV4Args_t,
                       AddSNRVolumeV4Ret_t);
