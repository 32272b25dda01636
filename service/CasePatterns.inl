// Template bodies of the case patterns.
#pragma once

#include "host/db/DBtable.h"
#include "service/ErrorCodes.h"

template <typename Reply, typename S, typename C, typename Ret, typename Operation, typename OnSuccess, typename Undo>
bool RunCase(ReplicationMgr& mgr, unsigned long replyCode, Reply& reply, const cases::ReplyStatus<Reply, S, C>& f,
             const Ret& ret, const cases::CaseLog& lit, const cases::Pipeline& p, Operation&& operation,
             OnSuccess&& onSuccess, Undo&& undo) {
    using namespace cases;
    DBtran tran(false);
    TranSteps steps(mgr, tran, p.function);

    // Without a transaction the catalogue must still be usable.
    const bool reachable = p.withTran || DBtran::openCatalogue() == 0;
    bool ok;
    if (p.withTran) {
        ok = steps.start() && operation(&tran);
    } else {
        ok = reachable && operation(static_cast<DBtran*>(nullptr));
    }

    if (!ok) {
        if (reachable && (!p.withTran || steps.started)) {
            SetFailure(reply, f, ret.errMsg.c_str(), ResultCode(ret), p.mode);
        } else {
            SetFailure(reply, f, DBTranErrorMsg, kErrNoTransaction, p.mode);
            if (p.withTran || p.logUnreachable) steps.logStartFailure(__LINE__);
        }
    } else if (!RunFill(onSuccess, reply)) {
        SetFailure(reply, f, p.noMemoryText, kErrNoMemory, p.mode);
    } else {
        reply.*f.status = 1;
        reply.*f.errMsg = nullptr;
    }

    const bool built = reply.*f.status == 1;  // the operation succeeded and its reply is built
    auto failCommit = [&]() { SetFailure(reply, f, DBCommitErrorMsg, kErrDatabase, p.mode); };
    std::ostringstream& log = mgr.log();
    if (p.withTran && p.order == Order::A) {
        log << lit.completed;
        if (built) {
            if (steps.commit(__LINE__)) {
                log << "successfully";
            } else {
                failCommit();
                undo();
                log << "unsuccessfully";
            }
        } else {
            if (ok) undo();
            if (steps.started) {
                steps.rollback();
                log << "unsuccessfully";
            }
        }
    } else {
        if (p.withTran && built && !steps.commit(__LINE__)) failCommit();
        // The operation's effects outside the database follow its rows: when
        // it succeeded but the request failed, they are undone before the
        // rollback (a failed commit's transaction is rolled back when it is
        // destroyed).
        if (ok && reply.*f.status != 1) undo();
        if (p.withTran && !built && steps.started) steps.rollback();
        const char* outcome = reply.*f.status == 1 ? "successfully" : "unsuccessfully";
        if (p.withTran && !steps.started && p.unstarted == Unstarted::Nothing) outcome = "";
        log << lit.completed << outcome;
    }
    log << lit.sending;
    mgr.WriteLogMsg(ProgName, p.function, __LINE__, ReplicationMgr::INFO);

    const bool succeeded = reply.*f.status == 1;
    SendReply(mgr, replyCode, reply);
    ReleaseCopiedMessage(reply, f, p.mode == Message::Copy);
    return succeeded;
}

template <typename Reply, typename S, typename C, typename Ret, typename Operation, typename OnSuccess>
bool RunInlineTranCase(ReplicationMgr& mgr, unsigned long replyCode, Reply& reply,
                       const cases::ReplyStatus<Reply, S, C>& f, const Ret& ret, const cases::CaseLog& lit,
                       cases::Order order, cases::Message mode, Operation&& operation, OnSuccess&& onSuccess) {
    const cases::Pipeline p{true, order, mode, "ReplicationMgr::post()", NoMemoryErrMsg,
                            cases::Unstarted::Unsuccessfully, false};
    return RunCase(mgr, replyCode, reply, f, ret, lit, p, operation, onSuccess, cases::NothingToUndo());
}

template <typename Reply, typename S, typename C, typename Ret, typename Operation, typename OnSuccess>
bool RunInlineCase(ReplicationMgr& mgr, unsigned long replyCode, Reply& reply, const cases::ReplyStatus<Reply, S, C>& f,
                   const Ret& ret, const cases::CaseLog& lit, cases::Message mode, Operation&& operation,
                   OnSuccess&& onSuccess, const char* noMemoryText) {
    const cases::Pipeline p{false, cases::Order::B, mode, "ReplicationMgr::post()", noMemoryText,
                            cases::Unstarted::Unsuccessfully, false};
    return RunCase(
        mgr, replyCode, reply, f, ret, lit, p, [&](DBtran*) { return operation(); }, onSuccess, cases::NothingToUndo());
}

template <typename Reply, typename S, typename C, typename Ret, typename Operation, typename OnSuccess, typename Undo>
bool RunRequestHandler(ReplicationMgr& mgr, const char* function, unsigned long requestCode, unsigned long replyCode,
                       bool withTran, Reply& reply, const cases::ReplyStatus<Reply, S, C>& f, const Ret& ret,
                       Operation&& operation, OnSuccess&& onSuccess, cases::Unstarted unstarted, Undo undo) {
    const cases::Pipeline p{withTran, cases::Order::B, cases::Message::PointIntoResult, function, NoMemoryErrMsg,
                            unstarted, true};
    return RunCase(mgr, replyCode, reply, f, ret, cases::HandlerLog(requestCode, replyCode), p, operation, onSuccess,
                   undo);
}

template <typename Reply, typename Ret, typename Operation, typename Fill>
bool AnswerInlineTranCase(ReplicationMgr& mgr, unsigned long code, const Ret& ret, cases::Order order,
                          cases::Message mode, Operation&& operation, Fill&& fill) {
    Reply reply;
    std::memset(static_cast<void*>(&reply), 0, sizeof reply);
    const unsigned long replyCode = ReplyCodeFor(code);
    return RunInlineTranCase(mgr, replyCode, reply, cases::StatusOf<Reply>(), ret, cases::HandlerLog(code, replyCode),
                             order, mode, std::forward<Operation>(operation), std::forward<Fill>(fill));
}

template <typename Reply, typename Ret, typename Operation, typename Fill>
bool AnswerInlineCase(ReplicationMgr& mgr, unsigned long code, const Ret& ret, cases::Message mode,
                      Operation&& operation, Fill&& fill, const char* noMemoryText) {
    Reply reply;
    std::memset(static_cast<void*>(&reply), 0, sizeof reply);
    const unsigned long replyCode = ReplyCodeFor(code);
    return RunInlineCase(mgr, replyCode, reply, cases::StatusOf<Reply>(), ret, cases::HandlerLog(code, replyCode), mode,
                         std::forward<Operation>(operation), std::forward<Fill>(fill), noMemoryText);
}

template <typename Reply, typename Ret, typename Operation, typename Fill, typename Undo>
bool AnswerByHandler(ReplicationMgr& mgr, const char* function, unsigned long requestCode, unsigned long replyCode,
                     bool withTran, const Ret& ret, Operation&& operation, Fill&& fill, cases::Unstarted unstarted,
                     Undo undo) {
    Reply reply;
    std::memset(static_cast<void*>(&reply), 0, sizeof reply);
    return RunRequestHandler(mgr, function, requestCode, replyCode, withTran, reply, cases::StatusOf<Reply>(), ret,
                             std::forward<Operation>(operation), std::forward<Fill>(fill), unstarted, undo);
}

template <typename Reply, typename Args, typename Ret, typename Fill>
bool AnswerOperationInTran(ReplicationMgr& mgr, unsigned long code, const Args& args, Ret& ret,
                           bool (ReplicationMgr::*operation)(const Args&, Ret&, DBtran*), Fill&& fill)
{
    return AnswerInlineTranCase<Reply>(
        mgr, code, ret, cases::Order::B, cases::Message::PointIntoResult,
        [&](DBtran* tran) { return (mgr.*operation)(args, ret, tran); }, std::forward<Fill>(fill));
}

template <typename Reply>
void cases::RefuseMissingRequest(ReplicationMgr& mgr, unsigned long code, const char* missing) {
    Reply reply;
    if (missing == nullptr)
        SetFailure(reply, StatusOf<Reply>(), DBTranErrorMsg, kErrNoTransaction, Message::PointIntoResult);
    else
        SetFailure(reply, StatusOf<Reply>(), NoRequestDataMsg, kErrMissingInput, Message::PointIntoResult);
    LogRefusal(mgr, missing, __LINE__);

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
