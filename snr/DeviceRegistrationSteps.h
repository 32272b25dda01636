// The shape of the handlers of device registration and of the SNR volume
// add: the transaction around the operation, the reply, the completion
// entry and the send. Internal to snr/.
#pragma once

#include <string>

#include "host/db/DBtable.h"
#include "service/CasePatterns.h"
#include "service/DispatchTable.h"
#include "service/ReplicationMgr.h"
#include "service/Utils.h"
#include "snr/SNRAdapters.h"

namespace snr_detail {

// How the completion entry reads when the transaction never started.
enum class UnstartedMark { None, Unsuccessfully };

// Runs `operation(DBtran*)` in a new transaction and answers. A failure
// answers status 0 with the result's text and code, or -7 with the
// transaction-start text when the transaction did not start (the operation
// is then not called). On success `onSuccess(Reply&)` fills the reply and
// returns false when a reply array could not be allocated (status 0, the
// no-memory text, -5). The transaction is committed when the status is 1 and
// rolled back otherwise; a failed commit answers -4. Entries are written
// under `function`.
template <typename Reply, typename Ret, typename Operation, typename OnSuccess>
void RunAddHandler(ReplicationMgr& mgr, const char* function, unsigned long requestCode, unsigned long replyCode,
                   Reply& reply, const Ret& ret, UnstartedMark mark, Operation&& operation, OnSuccess&& onSuccess)
{
    DBtran tran(false);
    const bool started = tran.startTran() == 0;

    if (!started) {
        reply.status = 0;
        reply.errMsg = const_cast<char*>(DBTranErrorMsg);
        SetErrCode(reply, -7);
        mgr.log() << "\t" << DBTranErrorMsg;
        mgr.WriteLogMsg(cases::ProgName, function, __LINE__, ReplicationMgr::ERR);
    } else if (!operation(&tran)) {
        reply.status = 0;
        reply.errMsg = const_cast<char*>(ret.errMsg.c_str());
        SetErrCode(reply, ret);
    } else if (!onSuccess(reply)) {
        reply.status = 0;
        reply.errMsg = const_cast<char*>(NoMemoryErrMsg);
        SetErrCode(reply, -5);
    } else {
        reply.status = 1;
        reply.errMsg = nullptr;
    }

    const char* outcome = "";
    if (reply.status == 1) {
        outcome = "successfully";
        if (tran.commitTran(false) != 0) {
            reply.status = 0;
            reply.errMsg = const_cast<char*>(DBCommitErrorMsg);
            SetErrCode(reply, -4);
            mgr.log() << "\t" << DBCommitErrorMsg;
            mgr.WriteLogMsg(cases::ProgName, function, __LINE__, ReplicationMgr::ERR);
            outcome = "unsuccessfully";
        }
    } else if (started) {
        tran.rollbackTran();
        outcome = "unsuccessfully";
    } else if (mark == UnstartedMark::Unsuccessfully) {
        outcome = "unsuccessfully";
    }

    const cases::CaseLog lit = cases::HandlerLog(requestCode, replyCode);
    mgr.log() << lit.completed << outcome << lit.sending;
    mgr.WriteLogMsg(cases::ProgName, function, __LINE__, ReplicationMgr::INFO);

    cases::SendReply(mgr, replyCode, reply);
}

// The case of post that runs a request handler of the service object with
// the request code and its reply code.
template <auto Handler>
void HandlerCase(ReplicationMgr& mgr, unsigned long code, zxsDatabuf* buf)
{
    (mgr.*Handler)(code, ReplyCodeFor(code), buf);
}

// The transaction handle in hexadecimal, as the entries print it.
std::string TranHandle(const DBtran* tran);

}  // namespace snr_detail
