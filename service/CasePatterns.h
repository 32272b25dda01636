// The shapes in which a request is served: the request handler, and the
// inline cases of post with and without a database transaction. Each sends
// exactly one reply on every path.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <type_traits>
#include <utility>

#include "host/ZxFramework.h"
#include "service/CaseRegistry.h"
#include "service/DispatchTable.h"
#include "service/ReplicationMgr.h"
#include "service/RequestLayout.h"
#include "service/SourceNames.h"
#include "service/Utils.h"

class DBtran;

// Text of a commit that failed.
extern const char* const DBCommitErrorMsg;  // "Could not commit database transactions"
// Text of a request that came without its buffer or its data.
extern const char* const NoRequestDataMsg;  // "Invalid request: no request data"

namespace cases {

// The status, message and (where the reply has one) error code of a reply.
template <typename Reply, typename Status = uint32_t, typename Code = int32_t>
struct ReplyStatus {
    Status Reply::*status;
    char* Reply::*errMsg;
    Code Reply::*errCode;  // null when the reply carries no code
};

// The completion literals of a case: "\tMessage <request> completed " and
// "\n\tSending reply <reply> to client...".
struct CaseLog {
    std::string completed;
    std::string sending;
};

// The literals a request handler writes, from the host's names of its codes.
CaseLog HandlerLog(unsigned long requestCode, unsigned long replyCode);

// Where a transaction case's completion entry ("\tMessage <request>
// completed " + outcome) stands against its commit or rollback. A case keeps
// the order its request has always had:
//   A: the completion text is streamed first, then the commit (and
//      "successfully", or "unsuccessfully" when the commit fails) or, when the
//      transaction was started, the rollback and "unsuccessfully"; a case
//      whose transaction never started streams no outcome;
//   B: the commit or rollback comes first, then the completion text with the
//      outcome ("unsuccessfully" also when the start failed).
enum class Order { A, B };
// How a failure's text reaches the reply: pointed at where it lies (the
// result record or a constant text), or copied and freed after the send.
enum class Message { PointIntoResult, Copy };

// Result records carry an error text; most also an error code.
template <typename Ret, typename = void>
struct HasErrCode : std::false_type {};
template <typename Ret>
struct HasErrCode<Ret, std::void_t<decltype(std::declval<Ret&>().errCode)>> : std::true_type {};

// The status fields of a reply whose members are named status, errMsg and,
// from the versions that carry one, errCode.
template <typename Reply>
auto StatusOf() {
    using Status = std::remove_reference_t<decltype(std::declval<Reply&>().status)>;
    if constexpr (HasErrCode<Reply>::value) {
        using Code = std::remove_reference_t<decltype(std::declval<Reply&>().errCode)>;
        return ReplyStatus<Reply, Status, Code>{&Reply::status, &Reply::errMsg, &Reply::errCode};
    } else {
        return ReplyStatus<Reply, Status, int32_t>{&Reply::status, &Reply::errMsg, nullptr};
    }
}

// How a handler's completion entry reads when its transaction never started.
enum class Unstarted { Unsuccessfully, Nothing };

// The undo step of an operation that does nothing outside the database.
struct NothingToUndo {
    void operator()() const {}
};

template <typename Ret>
int32_t ResultCode(const Ret& ret) {
    if constexpr (HasErrCode<Ret>::value) {
        return static_cast<int32_t>(ret.errCode);
    } else {
        (void)ret;
        return 0;
    }
}

// Request structure hung from word 3 of a request buffer. Post runs a case
// that reads a request only when the buffer and its data are there.
template <typename Req>
const Req& RequestOf(zxsDatabuf* buf) {
    return *static_cast<const Req*>(buf->m_pData);
}

// The request type of a case whose request carries no data: a null m_pData
// is then its normal form.
struct NoRequest {};

// Answers a request of the code that came without its data (see RefuseFn):
// status 0, NoRequestDataMsg and, where the reply has one, code -2.
template <typename Reply>
void RefuseMissingRequest(ReplicationMgr& mgr, unsigned long code, const char* missing);

// The ERR entry of a request refused by post (see RefuseFn): what was
// missing, or with missing null the entry of a transaction that did not
// start; line is the caller's.
void LogRefusal(ReplicationMgr& mgr, const char* missing, long line);

// Reads the status fields of a sent Reply (see ReadStatusFn).
template <typename Reply>
SentStatus ReadSentStatus(const void* data);

// The case `serve` as it is bound: it reads a Req (NoRequest: none) and
// answers with a Reply.
template <typename Req, typename Reply>
constexpr ServedCase Serve(CaseFn serve) {
    constexpr bool reads = !std::is_same<Req, NoRequest>::value;
    return ServedCase{serve, &RefuseMissingRequest<Reply>, &ReadSentStatus<Reply>, sizeof(Reply), reads,
                      reads ? sizeof(Req) : 0, HoldsPointers<Req>::value};
}

// What a run of a case chooses; the three patterns below are its presets.
struct Pipeline {
    bool withTran;             // the operation runs in a transaction of the case
    Order order;               // see Order (cases without a transaction: B)
    Message mode;              // see Message
    const char* function;      // function name of the case's log entries
    const char* noMemoryText;  // text of a reply whose arrays could not be built (-5)
    Unstarted unstarted;       // outcome of a transaction that never started (order B)
    bool logUnreachable;       // a catalogue that cannot be opened (no transaction) gets the entry of a failed start
};

// The transaction steps of a case run: its start, commit and rollback, and
// the entries of their failures.
struct TranSteps {
    ReplicationMgr& mgr;
    DBtran& tran;
    const char* function;  // function name of the entries written here
    bool started = false;

    TranSteps(ReplicationMgr& m, DBtran& t, const char* fn) : mgr(m), tran(t), function(fn) {}
    bool start();
    // Writes the entry of a failed start: "\t" + text at ERR.
    void logStartFailure(long line);
    // Commits; on failure writes the ERR entry of the commit text and keeps
    // the log text being composed.
    bool commit(long line);
    void rollback();

private:
    // Writes "\t" + text at ERR, keeping the log text being composed.
    void logError(const char* text, long line);
};

// Helper to free a duplicated message after the send.
template <typename Reply, typename S, typename C>
void ReleaseCopiedMessage(Reply& reply, const ReplyStatus<Reply, S, C>& f, bool copied) {
    if (copied && reply.*f.errMsg != nullptr) {
        free(reply.*f.errMsg);
        reply.*f.errMsg = nullptr;
    }
}

template <typename Reply, typename S, typename C>
void SetMessage(Reply& reply, const ReplyStatus<Reply, S, C>& f, const char* text, Message mode) {
    reply.*f.errMsg = (mode == Message::Copy) ? strdup(text) : const_cast<char*>(text);
}

// Marks the reply failed with the text and, where the reply carries one, the
// code. Whatever a success step wrote is dropped first: a failed reply carries
// no ids, counts or arrays (an array stays with its owner, which frees it).
// Called at most once per reply: a copied message set before would be lost.
template <typename Reply, typename S, typename C>
void SetFailure(Reply& reply, const ReplyStatus<Reply, S, C>& f, const char* text, int32_t code, Message mode) {
    static_assert(std::is_trivially_copyable<Reply>::value, "a reply is plain data");
    std::memset(static_cast<void*>(&reply), 0, sizeof reply);
    reply.*f.status = 0;
    SetMessage(reply, f, text, mode);
    if (f.errCode) reply.*f.errCode = code;
}

template <typename Reply>
void SendReply(ReplicationMgr& mgr, unsigned long replyCode, Reply& reply) {
    zxsDatabuf desc;
    desc.m_ulSize = sizeof(Reply);
    desc.m_ulLength = sizeof(Reply);
    desc.m_pData = &reply;
    mgr.session()->sendMessage(replyCode, 0x35000000, &desc);
}

// The fill of a reply that carries nothing beyond its status.
struct NoReplyFields {
    template <typename Reply>
    void operator()(Reply&) const {}
};

// Runs a reply's fill; false when the reply could not be built.
template <typename Fill, typename Reply>
bool RunFill(Fill& fill, Reply& reply) {
    if constexpr (std::is_void_v<decltype(fill(reply))>) {
        fill(reply);
        return true;
    } else {
        return fill(reply);
    }
}

// The case of post that runs a request handler of the service object with
// the request code and its reply code.
template <auto Handler>
void HandlerCase(ReplicationMgr& mgr, unsigned long code, zxsDatabuf* buf) {
    (mgr.*Handler)(code, ReplyCodeFor(code), buf);
}

}  // namespace cases

// The served case of one message version of a request handler template of
// the service class: `Handler<Req, Reply, ...>` answers the version's Req
// with its Reply.
#define SERVE_HANDLER_CASE(Handler, Req, Reply, ...) \
    cases::Serve<Req, Reply>(&cases::HandlerCase<&ReplicationMgr::Handler<Req, Reply, ##__VA_ARGS__>>)

// The same for a list whose request carries nothing: `Handler<Reply, ...>`.
#define SERVE_LIST_HANDLER_CASE(Handler, Reply, ...) \
    cases::Serve<cases::NoRequest, Reply>(&cases::HandlerCase<&ReplicationMgr::Handler<Reply, __VA_ARGS__>>)

// The one run of a case: the operation (in a transaction of the case when
// the pipeline has one), the reply filled by `onSuccess(Reply&)` (false: an
// array could not be allocated; a fill that returns nothing always fills
// it), the commit or rollback, `undo()` when the operation succeeded but the
// request fails, the completion entry, the send. Each run below returns
// whether the reply sent told of success.
template <typename Reply, typename S, typename C, typename Ret, typename Operation, typename OnSuccess, typename Undo>
bool RunCase(ReplicationMgr& mgr, unsigned long replyCode, Reply& reply, const cases::ReplyStatus<Reply, S, C>& f,
             const Ret& ret, const cases::CaseLog& lit, const cases::Pipeline& pipeline, Operation&& operation,
             OnSuccess&& onSuccess, Undo&& undo);

// Inline case with a transaction. The caller has filled the argument record
// the operation captures; `operation(DBtran*)` returns the operation's
// result, `onSuccess(Reply&)` copies the result's fields into the reply.
template <typename Reply, typename S, typename C, typename Ret, typename Operation, typename OnSuccess>
bool RunInlineTranCase(ReplicationMgr& mgr, unsigned long replyCode, Reply& reply,
                       const cases::ReplyStatus<Reply, S, C>& f, const Ret& ret, const cases::CaseLog& lit,
                       cases::Order order, cases::Message mode, Operation&& operation, OnSuccess&& onSuccess);

// Inline case without a transaction. `onSuccess(Reply&)` fills the reply and
// returns false when an array of it could not be allocated; the reply then
// carries `noMemoryText` and -5.
template <typename Reply, typename S, typename C, typename Ret, typename Operation, typename OnSuccess>
bool RunInlineCase(ReplicationMgr& mgr, unsigned long replyCode, Reply& reply, const cases::ReplyStatus<Reply, S, C>& f,
                   const Ret& ret, const cases::CaseLog& lit, cases::Message mode, Operation&& operation,
                   OnSuccess&& onSuccess, const char* noMemoryText = NoMemoryErrMsg);

// Request handler. With `withTran` the operation runs in a transaction that
// is committed on success and rolled back on failure; otherwise it gets a
// null transaction. The message of a failure points into the result record.
// `onSuccess(Reply&)` returns false when a reply array could not be
// allocated (status 0, NoMemoryErrMsg, -5). `undo()` reverses what the
// operation did outside the database; it runs once when the operation
// succeeded but the request fails (the reply could not be built, the commit
// failed), before the transaction is rolled back. The entries are written
// under the handler's own function name ("ReplicationMgr::QueryVolInfoHandler()").
template <typename Reply, typename S, typename C, typename Ret, typename Operation, typename OnSuccess,
          typename Undo = cases::NothingToUndo>
bool RunRequestHandler(ReplicationMgr& mgr, const char* function, unsigned long requestCode, unsigned long replyCode,
                       bool withTran, Reply& reply, const cases::ReplyStatus<Reply, S, C>& f, const Ret& ret,
                       Operation&& operation, OnSuccess&& onSuccess,
                       cases::Unstarted unstarted = cases::Unstarted::Unsuccessfully, Undo undo = Undo());

// The three runs above for a case whose Reply is its own: the reply starts
// zeroed, its status fields are the Reply's, and the inline cases write the
// handler's entries of their code (see HandlerLog). A fill left out leaves
// the reply as the run made it.
template <typename Reply, typename Ret, typename Operation, typename Fill = cases::NoReplyFields>
bool AnswerInlineTranCase(ReplicationMgr& mgr, unsigned long code, const Ret& ret, cases::Order order,
                          cases::Message mode, Operation&& operation, Fill&& fill = Fill());

template <typename Reply, typename Ret, typename Operation, typename Fill = cases::NoReplyFields>
bool AnswerInlineCase(ReplicationMgr& mgr, unsigned long code, const Ret& ret, cases::Message mode,
                      Operation&& operation, Fill&& fill = Fill(), const char* noMemoryText = NoMemoryErrMsg);

template <typename Reply, typename Ret, typename Operation, typename Fill = cases::NoReplyFields,
          typename Undo = cases::NothingToUndo>
bool AnswerByHandler(ReplicationMgr& mgr, const char* function, unsigned long requestCode, unsigned long replyCode,
                     bool withTran, const Ret& ret, Operation&& operation, Fill&& fill = Fill(),
                     cases::Unstarted unstarted = cases::Unstarted::Unsuccessfully, Undo undo = Undo());

// An inline case with a transaction of its own whose operation is a member of
// the service class run on the arguments the case read from its request; the
// failure's message points into the result (order B).
template <typename Reply, typename Args, typename Ret, typename Fill = cases::NoReplyFields>
bool AnswerOperationInTran(ReplicationMgr& mgr, unsigned long code, const Args& args, Ret& ret,
                           bool (ReplicationMgr::*operation)(const Args&, Ret&, DBtran*), Fill&& fill = Fill());

#include "service/CasePatterns.inl"
