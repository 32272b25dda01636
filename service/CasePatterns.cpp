#include "service/CasePatterns.h"

const char* const DBCommitErrorMsg = "Could not commit database transactions";
const char* const NoRequestDataMsg = "Invalid request: no request data";

namespace cases {

CaseLog HandlerLog(unsigned long requestCode, unsigned long replyCode) {
    CaseLog lit;
    lit.completed = std::string("\tMessage ") + ZXS_ReplicationMgr_PM_STRING(static_cast<unsigned int>(requestCode)) +
                    " completed ";
    lit.sending = std::string("\n\tSending reply ") + ZXS_ReplicationMgr_PM_STRING(static_cast<unsigned int>(replyCode)) +
                  " to client...";
    return lit;
}

bool TranSteps::start() {
    started = (tran.startTran() == 0);
    return started;
}

void LogRefusal(ReplicationMgr& mgr, const char* missing, long line) {
    if (missing == nullptr)
        mgr.log() << "\t" << DBTranErrorMsg;
    else
        mgr.log() << "\tEvent: " << NoRequestDataMsg << "\n\t" << missing << " is null";
    mgr.WriteLogMsg(ProgName, "ReplicationMgr::post()", line, ReplicationMgr::ERR);
}

void TranSteps::logError(const char* text, long line) {
    std::string pending = mgr.log().str();
    mgr.log().str("");
    mgr.log() << "\t" << text;
    mgr.WriteLogMsg(ProgName, function, line, ReplicationMgr::ERR);
    mgr.log() << pending;
}

void TranSteps::logStartFailure(long line) { logError(DBTranErrorMsg, line); }

bool TranSteps::commit(long line) {
    if (tran.commitTran(false) == 0) return true;
    logError(DBCommitErrorMsg, line);
    return false;
}

void TranSteps::rollback() { tran.rollbackTran(); }

}  // namespace cases
