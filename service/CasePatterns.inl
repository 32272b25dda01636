// Template bodies of the case patterns.
#pragma once

#include "host/db/DBtable.h"

template <typename Reply, typename S, typename C, typename Ret, typename Operation, typename OnSuccess>
void RunInlineTranCase(ReplicationMgr& mgr, unsigned long replyCode, Reply& reply,
                       const cases::ReplyStatus<Reply, S, C>& f, const Ret& ret, const cases::CaseLog& lit,
                       cases::Order order, cases::Message mode, Operation&& operation, OnSuccess&& onSuccess) {
    using namespace cases;
    DBtran tran(false);
    TranSteps steps(mgr, tran);

    bool ok = steps.start() && operation(&tran);
    if (!ok) {
        if (steps.started) {
            SetFailure(reply, f, ret.errMsg.c_str(), ResultCode(ret), mode);
        } else {
            SetFailure(reply, f, DBTranErrorMsg, -7, mode);
            steps.logStartFailure(__LINE__);
        }
    } else {
        reply.*f.status = 1;
        reply.*f.errMsg = nullptr;
        onSuccess(reply);
    }

    auto failCommit = [&]() { SetFailure(reply, f, DBCommitErrorMsg, -4, mode); };

    std::ostringstream& log = mgr.log();
    if (order == Order::A) {
        log << lit.completed;
        if (reply.*f.status == 1) {
            if (steps.commit(__LINE__)) {
                log << "successfully";
            } else {
                failCommit();
                log << "unsuccessfully";
            }
        } else if (steps.started) {
            steps.rollback();
            log << "unsuccessfully";
        }
    } else {
        if (reply.*f.status == 1) {
            if (!steps.commit(__LINE__)) failCommit();
        } else if (steps.started) {
            steps.rollback();
        }
        log << lit.completed << (reply.*f.status == 1 ? "successfully" : "unsuccessfully");
    }
    log << lit.sending;
    mgr.WriteLogMsg(ProgName, "ReplicationMgr::post()", __LINE__, ReplicationMgr::INFO);

    SendReply(mgr, replyCode, reply);
    ReleaseCopiedMessage(reply, f, mode == Message::Copy);
}

template <typename Reply, typename S, typename C, typename Ret, typename Operation, typename OnSuccess>
void RunInlineCase(ReplicationMgr& mgr, unsigned long replyCode, Reply& reply, const cases::ReplyStatus<Reply, S, C>& f,
                   const Ret& ret, const cases::CaseLog& lit, cases::Message mode, Operation&& operation,
                   OnSuccess&& onSuccess, const char* noMemoryText) {
    using namespace cases;
    if (DBtran::openCatalogue() != 0) {
        SetFailure(reply, f, DBTranErrorMsg, -7, mode);
    } else if (!operation()) {
        SetFailure(reply, f, ret.errMsg.c_str(), ResultCode(ret), mode);
    } else if (!onSuccess(reply)) {
        SetFailure(reply, f, noMemoryText, -5, mode);
    } else {
        reply.*f.status = 1;
        reply.*f.errMsg = nullptr;
    }

    mgr.log() << lit.completed << (reply.*f.status == 1 ? "successfully" : "unsuccessfully") << lit.sending;
    mgr.WriteLogMsg(ProgName, "ReplicationMgr::post()", __LINE__, ReplicationMgr::INFO);

    SendReply(mgr, replyCode, reply);
    ReleaseCopiedMessage(reply, f, mode == Message::Copy);
}

template <typename Reply, typename S, typename C, typename Ret, typename Operation, typename OnSuccess, typename Undo>
void RunRequestHandler(ReplicationMgr& mgr, const char* function, unsigned long requestCode, unsigned long replyCode,
                       bool withTran, Reply& reply, const cases::ReplyStatus<Reply, S, C>& f, const Ret& ret,
                       Operation&& operation, OnSuccess&& onSuccess, cases::Unstarted unstarted, Undo undo) {
    using namespace cases;
    DBtran tran(false);
    TranSteps steps(mgr, tran, function);

    // Without a transaction the catalogue must still be usable.
    const bool reachable = withTran || DBtran::openCatalogue() == 0;
    bool ok;
    if (withTran) {
        ok = steps.start() && operation(&tran);
    } else {
        ok = reachable && operation(static_cast<DBtran*>(nullptr));
    }

    const Message mode = Message::PointIntoResult;
    if (!ok) {
        if (reachable && (!withTran || steps.started)) {
            SetFailure(reply, f, ret.errMsg.c_str(), ResultCode(ret), mode);
        } else {
            SetFailure(reply, f, DBTranErrorMsg, -7, mode);
            steps.logStartFailure(__LINE__);
        }
    } else if (!onSuccess(reply)) {
        SetFailure(reply, f, NoMemoryErrMsg, -5, mode);
    } else {
        reply.*f.status = 1;
        reply.*f.errMsg = nullptr;
    }

    const bool built = reply.*f.status == 1;  // the operation succeeded and its reply is built
    if (withTran && built && !steps.commit(__LINE__)) SetFailure(reply, f, DBCommitErrorMsg, -4, mode);
    // The operation's effects outside the database follow its rows: when it
    // succeeded but the request failed, they are undone before the rollback
    // (a failed commit's transaction is rolled back when it is destroyed).
    if (ok && reply.*f.status != 1) undo();
    if (withTran && !built && steps.started) steps.rollback();

    const char* outcome = reply.*f.status == 1 ? "successfully" : "unsuccessfully";
    if (withTran && !steps.started && unstarted == Unstarted::Nothing) outcome = "";
    CaseLog lit = HandlerLog(requestCode, replyCode);
    mgr.log() << lit.completed << outcome << lit.sending;
    mgr.WriteLogMsg(ProgName, function, __LINE__, ReplicationMgr::INFO);

    SendReply(mgr, replyCode, reply);
}

template <typename Reply>
void cases::RefuseMissingRequest(ReplicationMgr& mgr, unsigned long code, const char* missing) {
    Reply reply;
    SetFailure(reply, StatusOf<Reply>(), NoRequestDataMsg, -2, Message::PointIntoResult);
    mgr.log() << "\tEvent: " << NoRequestDataMsg << "\n\t" << missing << " is null";
    mgr.WriteLogMsg(ProgName, "ReplicationMgr::post()", __LINE__, ReplicationMgr::ERR);

    const unsigned long replyCode = ReplyCodeFor(code);
    CaseLog lit = HandlerLog(code, replyCode);
    mgr.log() << lit.completed << "unsuccessfully" << lit.sending;
    mgr.WriteLogMsg(ProgName, "ReplicationMgr::post()", __LINE__, ReplicationMgr::INFO);
    SendReply(mgr, replyCode, reply);
}

template <typename Reply>
SentStatus cases::ReadSentStatus(const void* data) {
    Reply reply;
    std::memcpy(static_cast<void*>(&reply), data, sizeof reply);
    const auto f = StatusOf<Reply>();
    SentStatus sent{static_cast<int64_t>(reply.*f.status), f.errCode != nullptr, 0, reply.*f.errMsg};
    if (f.errCode) sent.errCode = static_cast<int32_t>(reply.*f.errCode);
    return sent;
}
