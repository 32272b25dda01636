#include <gtest/gtest.h>

#include <cstring>

#include "host/db/SNRTables.h"
#include "service/CasePatterns.h"
#include "service/CaseRegistry.h"
#include "service/DispatchTable.h"
#include "service/ReplicationMgr.h"
#include "service/ServedCases.h"
#include "support/TestCatalogue.h"
#include "support/TestHost.h"

namespace {

// Plain reply layouts as the inline cases use them.
struct TestReplyWithCode {
    uint32_t status;
    int32_t errCode;
    char* errMsg;
    uint32_t newId;
};
struct TestReplyNoCode {
    uint32_t status;
    char* errMsg;
};
struct TestRet {
    std::string errMsg;
    int errCode = 0;
    int newId = 0;
};
struct TestRetNoCode {
    std::string errMsg;
};

const cases::ReplyStatus<TestReplyWithCode> kWithCode{&TestReplyWithCode::status, &TestReplyWithCode::errMsg,
                                                      &TestReplyWithCode::errCode};
const cases::ReplyStatus<TestReplyNoCode> kNoCode{&TestReplyNoCode::status, &TestReplyNoCode::errMsg, nullptr};

// What a bound test case does; set by each test.
struct Script {
    bool operationResult = true;
    bool replyBuilt = true;  // whether the handler's reply array can be allocated
    int operationCalls = 0;
    cases::Order order = cases::Order::A;
    cases::Message mode = cases::Message::Copy;
    std::string seenMsg;  // the message as it was sent
    int undoCalls = 0;
    bool undoSawTheRow = false;  // the undo step ran while the row was still written
};
Script g_script;

// The operations of the test cases write a history-name row with the id
// they answer, inside the transaction, so that commit and rollback show.
bool WriteRow(int id, DBtran* tran) {
    YBTzHistoryName_t row;
    row.DeviceId = id;
    strcpy(row.GlobalHistoryName, "written by a test case");
    return CYBTzHistoryNameDB().insert(row, tran);
}

bool RowIsThere(int id, DBtran* tran) {
    YBTzHistoryName_t row;
    return CYBTzHistoryNameDB().getInfo(id, row, tran);
}

// The ids of the rows stored for good.
std::vector<int> StoredIds() {
    std::vector<int> ids;
    for (const YBTzHistoryName_t& row : StoredRows<YBTzHistoryName_t, CYBTzHistoryNameDB>("DeviceId ASC"))
        ids.push_back(row.DeviceId);
    return ids;
}

const unsigned long kTranCode = 0x35000003;    // inline with a transaction
const unsigned long kPlainCode = 0x35000107;   // inline without one
const unsigned long kHandlerCode = 0x35000001; // request handler

void TranCase(ReplicationMgr& mgr, unsigned long code, zxsDatabuf*) {
    TestReplyWithCode reply;
    memset(&reply, 0, sizeof reply);
    TestRet ret;
    cases::CaseLog lit{"\tMessage REPLICA_PM_T_REQ completed ", "\n\tSending reply REPLICA_PM_T_RESP to client..."};
    RunInlineTranCase(
        mgr, ReplyCodeFor(code), reply, kWithCode, ret, lit, g_script.order, g_script.mode,
        [&](DBtran* tran) {
            ++g_script.operationCalls;
            EXPECT_TRUE(WriteRow(17, tran));
            if (!g_script.operationResult) {
                ret.errMsg = "The operation failed";
                ret.errCode = -3;
                return false;
            }
            ret.newId = 17;
            return true;
        },
        [&](TestReplyWithCode& r) { r.newId = static_cast<uint32_t>(ret.newId); });
}

void PlainCase(ReplicationMgr& mgr, unsigned long code, zxsDatabuf*) {
    TestReplyNoCode reply;
    memset(&reply, 0, sizeof reply);
    TestRetNoCode ret;
    cases::CaseLog lit{"\tMessage REPLICA_PM_P_REQ completed ", "\n\tSending reply REPLICA_PM_P_RESP to client..."};
    RunInlineCase(
        mgr, ReplyCodeFor(code), reply, kNoCode, ret, lit, g_script.mode,
        [&]() {
            ++g_script.operationCalls;
            if (!g_script.operationResult) ret.errMsg = "Nothing found";
            return g_script.operationResult;
        },
        [&](TestReplyNoCode&) { return true; });
}

void HandlerCase(ReplicationMgr& mgr, unsigned long code, zxsDatabuf* buf) {
    const int& requestId = cases::RequestOf<int>(buf);
    TestReplyWithCode reply;
    memset(&reply, 0, sizeof reply);
    TestRet ret;
    DBtran* requestTran = nullptr;
    RunRequestHandler(
        mgr, "ReplicationMgr::AddDeviceHandler()", code, ReplyCodeFor(code), true, reply, kWithCode, ret,
        [&](DBtran* tran) {
            ++g_script.operationCalls;
            requestTran = tran;
            EXPECT_TRUE(WriteRow(requestId, tran));
            ret.newId = requestId;
            if (!g_script.operationResult) {
                ret.errMsg = "Handler operation failed";
                ret.errCode = -6;
            }
            return g_script.operationResult;
        },
        [&](TestReplyWithCode& r) {
            r.newId = static_cast<uint32_t>(ret.newId);
            return g_script.replyBuilt;
        },
        cases::Unstarted::Unsuccessfully,
        [&]() {
            ++g_script.undoCalls;
            g_script.undoSawTheRow = RowIsThere(requestId, requestTran);
        });
}

// The cases the tests serve, in a registry of their own.
CaseRegistry TestCases() {
    CaseRegistry registry;
    registry.bind(kTranCode, cases::Serve<cases::NoRequest, TestReplyWithCode>(&TranCase));
    registry.bind(kPlainCode, cases::Serve<cases::NoRequest, TestReplyNoCode>(&PlainCase));
    registry.bind(kHandlerCode, cases::Serve<int, TestReplyWithCode>(&HandlerCase));
    return registry;
}

class PostTest : public CatalogueTest {
public:
    void SetUp() override {
        g_script = Script();
        CatalogueTest::SetUp();
        net.network.setSendObserver([this](unsigned long code, const void* data, unsigned long len) {
            SentReply r{code, {}};
            r.bytes.assign(static_cast<const char*>(data), static_cast<const char*>(data) + len);
            if (len >= sizeof(TestReplyWithCode)) {
                const TestReplyWithCode* rep = static_cast<const TestReplyWithCode*>(data);
                g_script.seenMsg = rep->errMsg ? rep->errMsg : "";
            } else if (len >= sizeof(TestReplyNoCode)) {
                const TestReplyNoCode* rep = static_cast<const TestReplyNoCode*>(data);
                g_script.seenMsg = rep->errMsg ? rep->errMsg : "";
            }
            net.replies.push_back(std::move(r));
        });
    }

    unsigned long post(unsigned long code, void* request = nullptr) {
        buf.m_pData = request;
        return mgr.post(code, 0, &buf);
    }

    template <typename Reply>
    Reply onlyReply(unsigned long expectedCode) {
        Reply r;
        memset(&r, 0, sizeof r);
        EXPECT_EQ(net.replies.size(), 1u);
        if (net.replies.size() != 1) return r;
        EXPECT_EQ(net.replies[0].code, expectedCode);
        EXPECT_EQ(net.replies[0].bytes.size(), sizeof(Reply));
        memcpy(&r, net.replies[0].bytes.data(), sizeof r);
        return r;
    }

    void expectCleanedOnce(unsigned long code) {
        auto cleaned = mgr.cleanedBuffers();
        ASSERT_EQ(cleaned.size(), 1u);
        EXPECT_EQ(cleaned[0].first, code);
        EXPECT_EQ(cleaned[0].second, &buf);
    }

    // Configured before the service object reads its verbose level.
    QuietHost quiet;
    CaseRegistry registry = TestCases();
    RecordingNetwork net;
    ReplicationMgr mgr{&net.session, registry};
    zxsDatabuf buf;
};

TEST_F(PostTest, NullSessionWritesOnlyTheErrorEntry) {
    ReplicationMgr unbound;
    zxsDatabuf b;
    EXPECT_EQ(unbound.post(kTranCode, 0, &b), 0u);
    auto entries = EvDebug::entries();
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_NE(entries[0].find("ReplicationMgr["), std::string::npos);
    EXPECT_NE(entries[0].find("] -> ReplicationMgr::post()\nEvent: Invalid function call of the post() method. "
                              "Reason: m_poSession not initialized\n"),
              std::string::npos);
    EXPECT_TRUE(unbound.cleanedBuffers().empty());
    EXPECT_EQ(g_script.operationCalls, 0);
}

TEST_F(PostTest, UnservedCodesAreLoggedButNotAnswered) {
    for (unsigned long code : {0x35000000ul, 0x35000257ul, 0x35000002ul, 0x35000041ul, 0x0ul, 0xFFFFFFFFul}) {
        EvDebug::clearEntries();
        EXPECT_EQ(post(code), 0u) << std::hex << code;
        auto received = LogEntriesWith(std::string("\tEvent: Message ") +
                                       ZXS_ReplicationMgr_PM_STRING(static_cast<unsigned int>(code)) + " received");
        EXPECT_EQ(received.size(), 1u) << std::hex << code;
    }
    EXPECT_TRUE(net.replies.empty());
    EXPECT_TRUE(mgr.cleanedBuffers().empty());
}

TEST_F(PostTest, ReceivedEntryIsInfoLevel) {
    ConfigureQuietHost("4");
    ReplicationMgr quiet(&net.session);
    zxsDatabuf b;
    EXPECT_EQ(quiet.post(0x35000002, 0, &b), 0u);
    EXPECT_TRUE(EvDebug::entries().empty());
}

TEST_F(PostTest, UnboundServedCodeBehavesLikeUnserved) {
    ASSERT_NE(FindDispatchEntry(0x35000005), nullptr);
    EXPECT_EQ(post(0x35000005), 0u);
    EXPECT_TRUE(net.replies.empty());
    EXPECT_TRUE(mgr.cleanedBuffers().empty());
}

TEST_F(PostTest, BindRefusesUnservedIncompleteAndDoubleBinding) {
    const ServedCase plain = cases::Serve<cases::NoRequest, TestReplyNoCode>(&PlainCase);
    EXPECT_FALSE(registry.bind(0x35000002, plain));  // a reply code
    EXPECT_FALSE(registry.bind(0x35000257, plain));  // out of range
    EXPECT_FALSE(registry.bind(kPlainCode, cases::Serve<cases::NoRequest, TestReplyWithCode>(&TranCase)));  // bound
    ServedCase incomplete = plain;
    incomplete.serve = nullptr;
    EXPECT_FALSE(registry.bind(0x35000005, incomplete));
    EXPECT_EQ(registry.find(0x35000005), nullptr);
    EXPECT_EQ(registry.boundCodes(), (std::vector<unsigned long>{kHandlerCode, kTranCode, kPlainCode}));
}

TEST_F(PostTest, TransactionCaseSuccessOrderA) {
    EXPECT_EQ(post(kTranCode), 1u);
    auto r = onlyReply<TestReplyWithCode>(0x35000004);
    EXPECT_EQ(r.status, 1u);
    EXPECT_EQ(r.errMsg, nullptr);
    EXPECT_EQ(r.newId, 17u);
    EXPECT_EQ(StoredIds(), std::vector<int>{17});
    expectCleanedOnce(kTranCode);
    auto done = LogEntriesWith("\tMessage REPLICA_PM_T_REQ completed successfully\n\tSending reply REPLICA_PM_T_RESP "
                               "to client...");
    EXPECT_EQ(done.size(), 1u);
}

TEST_F(PostTest, TransactionCaseOperationFailureCarriesResult) {
    for (cases::Order order : {cases::Order::A, cases::Order::B}) {
        for (cases::Message mode : {cases::Message::Copy, cases::Message::PointIntoResult}) {
            net.replies.clear();
            EvDebug::clearEntries();
            g_script.operationResult = false;
            g_script.order = order;
            g_script.mode = mode;
            ReplicationMgr m(&net.session, registry);
            zxsDatabuf b;
            EXPECT_EQ(m.post(kTranCode, 0, &b), 1u);
            ASSERT_EQ(net.replies.size(), 1u);
            TestReplyWithCode r;
            memcpy(&r, net.replies[0].bytes.data(), sizeof r);
            EXPECT_EQ(r.status, 0u);
            EXPECT_EQ(r.errCode, -3);
            EXPECT_EQ(r.newId, 0u);
            EXPECT_EQ(g_script.seenMsg, "The operation failed");
            EXPECT_EQ(LogEntriesWith("completed unsuccessfully").size(), 1u);
            EXPECT_EQ(m.cleanedBuffers().size(), 1u);
            EXPECT_TRUE(StoredIds().empty());  // rolled back
        }
    }
}

// Posts the transaction case once, in the given order, with a database fault
// injected, and gives the one reply sent.
TestReplyWithCode PostTranCaseWithFault(PostTest* t, cases::Order order, const char* fault);

TEST_F(PostTest, FailedTransactionStartSkipsOperation) {
    for (cases::Order order : {cases::Order::A, cases::Order::B}) {
        TestReplyWithCode r = PostTranCaseWithFault(this, order, "startTran");
        EXPECT_EQ(r.status, 0u);
        EXPECT_EQ(r.errCode, -7);
        EXPECT_EQ(g_script.seenMsg, "Could not initiated database transactions");
        EXPECT_EQ(g_script.operationCalls, 0);
        EXPECT_TRUE(StoredIds().empty());
        EXPECT_EQ(LogEntriesWith("\n\tCould not initiated database transactions\n").size(), 1u);
        // Order A writes no outcome word when the start failed, order B "unsuccessfully".
        auto done = LogEntriesWith("\tMessage REPLICA_PM_T_REQ completed ");
        ASSERT_EQ(done.size(), 1u);
        EXPECT_EQ(done[0].find("unsuccessfully") != std::string::npos, order == cases::Order::B);
    }
}

TEST_F(PostTest, FailedCommitIsAnsweredAsFailure) {
    for (cases::Order order : {cases::Order::A, cases::Order::B}) {
        TestReplyWithCode r = PostTranCaseWithFault(this, order, "commitTran");
        EXPECT_EQ(r.status, 0u);
        EXPECT_EQ(r.errCode, -4);
        EXPECT_EQ(r.newId, 0u);  // the id the success step wrote is dropped
        EXPECT_EQ(g_script.operationCalls, 1);
        EXPECT_EQ(g_script.seenMsg, "Could not commit database transactions");
        EXPECT_TRUE(StoredIds().empty());  // the row written before the commit is gone
        EXPECT_EQ(LogEntriesWith("\n\tCould not commit database transactions\n").size(), 1u);
        EXPECT_EQ(LogEntriesWith("completed unsuccessfully\n\tSending reply REPLICA_PM_T_RESP").size(), 1u);
    }
}

TestReplyWithCode PostTranCaseWithFault(PostTest* t, cases::Order order, const char* fault) {
    t->net.replies.clear();
    EvDebug::clearEntries();
    g_script = Script();
    g_script.order = order;
    HostDBFaults::failNext(fault, 5);
    EXPECT_EQ(t->post(kTranCode), 1u);
    TestReplyWithCode r;
    memset(&r, 0, sizeof r);
    EXPECT_EQ(t->net.replies.size(), 1u);
    if (t->net.replies.size() == 1) memcpy(&r, t->net.replies[0].bytes.data(), sizeof r);
    return r;
}

TEST_F(PostTest, CaseWithoutTransactionSuccessAndFailure) {
    EXPECT_EQ(post(kPlainCode), 1u);
    auto ok = onlyReply<TestReplyNoCode>(0x35000108);
    EXPECT_EQ(ok.status, 1u);
    EXPECT_EQ(ok.errMsg, nullptr);

    net.replies.clear();
    g_script.operationResult = false;
    EXPECT_EQ(post(kPlainCode), 1u);
    auto bad = onlyReply<TestReplyNoCode>(0x35000108);
    EXPECT_EQ(bad.status, 0u);
    EXPECT_EQ(g_script.seenMsg, "Nothing found");
    EXPECT_EQ(mgr.cleanedBuffers().size(), 2u);
}

TEST_F(PostTest, HandlerReadsRequestAndAnswersEveryPath) {
    int request = 99;
    EXPECT_EQ(post(kHandlerCode, &request), 1u);
    auto ok = onlyReply<TestReplyWithCode>(0x35000002);
    EXPECT_EQ(ok.status, 1u);
    EXPECT_EQ(ok.newId, 99u);
    EXPECT_EQ(StoredIds(), std::vector<int>{99});
    EXPECT_EQ(g_script.undoCalls, 0);
    auto done = LogEntriesWith(std::string("\tMessage ") + ZXS_ReplicationMgr_PM_STRING(0x35000001) +
                               " completed successfully\n\tSending reply " + ZXS_ReplicationMgr_PM_STRING(0x35000002) +
                               " to client...");
    ASSERT_EQ(done.size(), 1u);
    // A handler writes under its own function name, not post's.
    EXPECT_NE(done[0].find("] -> ReplicationMgr::AddDeviceHandler()\n"), std::string::npos);

    // A failure after the operation succeeded undoes its effects outside the
    // database while its row is still written; then the row is rolled back.
    struct Path {
        const char* fault;
        bool opResult;
        bool replyBuilt;
        int code;
        const char* msg;
        bool undone;
    } paths[] = {
        {nullptr, false, true, -6, "Handler operation failed", false},
        {"startTran", true, true, -7, "Could not initiated database transactions", false},
        {"commitTran", true, true, -4, "Could not commit database transactions", true},
        {nullptr, true, false, -5, "No memory available to perform operation", true},
    };
    for (const Path& p : paths) {
        net.replies.clear();
        g_script.operationResult = p.opResult;
        g_script.replyBuilt = p.replyBuilt;
        g_script.undoCalls = 0;
        g_script.undoSawTheRow = false;
        if (p.fault) HostDBFaults::failNext(p.fault, 5);
        request = 100 + static_cast<int>(&p - paths);
        EXPECT_EQ(post(kHandlerCode, &request), 1u);
        EXPECT_EQ(g_script.undoCalls, p.undone ? 1 : 0) << p.msg;
        EXPECT_EQ(g_script.undoSawTheRow, p.undone) << p.msg;
        EXPECT_EQ(StoredIds(), std::vector<int>{99}) << p.msg;
        auto r = onlyReply<TestReplyWithCode>(0x35000002);
        EXPECT_EQ(r.status, 0u) << p.msg;
        EXPECT_EQ(r.errCode, p.code) << p.msg;
        EXPECT_EQ(r.newId, 0u) << p.msg;
        EXPECT_EQ(g_script.seenMsg, p.msg);
        if (p.fault) {
            EXPECT_EQ(LogEntriesWith(std::string("ReplicationMgr::AddDeviceHandler()\n\t") + p.msg).size(), 1u)
                << p.msg;
        }
    }
    EXPECT_EQ(mgr.cleanedBuffers().size(), 5u);
}

TEST_F(PostTest, RequestWithoutDataGetsTheFailedReplyOfItsCase) {
    struct Form {
        bool noBuffer;
        const char* missing;
    } forms[] = {{false, "\n\tRequest data is null\n"}, {true, "\n\tRequest buffer is null\n"}};
    for (const Form& form : forms) {
        SCOPED_TRACE(form.missing);
        net.replies.clear();
        EvDebug::clearEntries();
        g_script = Script();
        buf.m_pData = nullptr;
        EXPECT_EQ(mgr.post(kHandlerCode, 0, form.noBuffer ? nullptr : &buf), 1u);
        auto r = onlyReply<TestReplyWithCode>(0x35000002);
        EXPECT_EQ(r.status, 0u);
        EXPECT_EQ(r.errCode, -2);
        EXPECT_EQ(r.newId, 0u);
        EXPECT_EQ(g_script.seenMsg, "Invalid request: no request data");
        EXPECT_EQ(g_script.operationCalls, 0);
        auto refused = LogEntriesWith("] -> ReplicationMgr::post()\n\tEvent: Invalid request: no request data" +
                                      std::string(form.missing));
        EXPECT_EQ(refused.size(), 1u);
        EXPECT_EQ(LogEntriesWith(std::string("\tMessage ") + ZXS_ReplicationMgr_PM_STRING(0x35000001) +
                                 " completed unsuccessfully\n\tSending reply " + ZXS_ReplicationMgr_PM_STRING(0x35000002))
                      .size(),
                  1u);
    }
    // The buffer that came is handed back; a missing one is not.
    expectCleanedOnce(kHandlerCode);

    // A case whose request carries no data serves a null m_pData; without a
    // buffer it answers in its own layout, which has no code.
    net.replies.clear();
    EXPECT_EQ(post(kPlainCode, nullptr), 1u);
    EXPECT_EQ(onlyReply<TestReplyNoCode>(0x35000108).status, 1u);
    EXPECT_EQ(g_script.operationCalls, 1);
    net.replies.clear();
    EXPECT_EQ(mgr.post(kPlainCode, 0, nullptr), 1u);
    auto plain = onlyReply<TestReplyNoCode>(0x35000108);
    EXPECT_EQ(plain.status, 0u);
    EXPECT_EQ(g_script.seenMsg, "Invalid request: no request data");
    EXPECT_EQ(g_script.operationCalls, 1);
}

// Every code the library serves, whatever its case, answers a request
// without its buffer or its data once, in the layout of its own reply.
TEST(RequestWithoutData, EveryBoundCodeIsAnsweredInItsOwnReplyLayout) {
    QuietHost quiet;
    RecordingNetwork net;
    ReplicationMgr mgr(&net.session);
    const CaseRegistry& served = ServedCases();
    const ServedCase* current = nullptr;
    std::vector<SentStatus> sent;
    std::vector<std::string> texts;  // read while the reply is sent
    net.network.setSendObserver([&](unsigned long code, const void* data, unsigned long length) {
        net.replies.push_back(SentReply{code, std::vector<char>(length)});
        sent.push_back(current->readStatus(data));
        texts.push_back(sent.back().errMsg != nullptr ? sent.back().errMsg : "(null)");
    });

    ASSERT_FALSE(served.boundCodes().empty());
    for (unsigned long code : served.boundCodes()) {
        current = served.find(code);
        for (bool noBuffer : {false, true}) {
            // Null data is the normal form of a request that carries none.
            if (!noBuffer && !current->readsRequest) continue;
            SCOPED_TRACE(testing::Message() << std::hex << code << (noBuffer ? " without buffer" : " without data"));
            net.replies.clear();
            sent.clear();
            texts.clear();
            EvDebug::clearEntries();
            zxsDatabuf empty;
            EXPECT_EQ(mgr.post(code, 0, noBuffer ? nullptr : &empty), 1u);
            ASSERT_EQ(net.replies.size(), 1u);
            EXPECT_EQ(net.replies[0].code, ReplyCodeFor(code));
            EXPECT_EQ(net.replies[0].bytes.size(), current->replySize);
            EXPECT_EQ(sent[0].status, 0);
            EXPECT_EQ(sent[0].errCode, sent[0].hasErrCode ? -2 : 0);
            // The application-directory recording and listings reply with a
            // result value only, pruning with a status and a list: no text.
            const bool withText = code != 0x35000045 && code != 0x3500003f && code != 0x35000043 && code != 0x35000081;
            EXPECT_EQ(texts[0], withText ? "Invalid request: no request data" : "(null)");
            // The case did not run: received, refused, completed.
            auto entries = EvDebug::entries();
            ASSERT_EQ(entries.size(), 3u);
            EXPECT_NE(entries[1].find("\tEvent: Invalid request: no request data"), std::string::npos);
            EXPECT_NE(entries[2].find(" completed unsuccessfully\n"), std::string::npos);
        }
    }
    size_t withBuffer = 0;
    for (unsigned long code : served.boundCodes()) withBuffer += served.find(code)->readsRequest ? 1 : 0;
    EXPECT_EQ(mgr.cleanedBuffers().size(), withBuffer);
}

TEST_F(PostTest, FailedSendChangesNothing) {
    net.network.setFailSends(true);
    EXPECT_EQ(post(kTranCode), 1u);
    EXPECT_TRUE(net.replies.empty());
    expectCleanedOnce(kTranCode);
}

TEST(PostCoverage, UnboundServedCodes) {
    const CaseRegistry& served = ServedCases();
    auto unbound = served.unboundCodes();
    std::printf("served codes without a case yet: %zu\n", unbound.size());
    for (unsigned long code : unbound) std::printf(" 0x%08lx", code);
    std::printf("\n");
    size_t bound = 0;
    for (unsigned long code = kFirstRequestCode; code < kFirstRequestCode + kDispatchSlots; ++code)
        if (served.find(code) != nullptr) {
            EXPECT_NE(FindDispatchEntry(code), nullptr);
            ++bound;
        }
    for (unsigned long code : unbound) EXPECT_NE(FindDispatchEntry(code), nullptr);
    EXPECT_EQ(bound + unbound.size(), 267u);
}

}  // namespace
