// Requests while the catalogue file is refused (a newer catalogue, or a file
// of another program): each is answered once with -7 and the file stays as
// it was.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "service/CasePatterns.h"
#include "service/CaseRegistry.h"
#include "service/DispatchTable.h"
#include "service/ReplicationMgr.h"
#include "service/ServedCases.h"
#include "snr/DeviceMessages.h"
#include "snr/SNRMessages.h"
#include "support/CatalogueFiles.h"
#include "support/TestCatalogue.h"
#include "support/TestHost.h"

namespace {

std::string fileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// A status reply with a code.
struct CodedReply {
    uint32_t status;
    int32_t errCode;
    char* errMsg;
};

int g_operationCalls = 0;

// A request handler without a transaction (a query).
void QueryHandlerCase(ReplicationMgr& mgr, unsigned long code, zxsDatabuf*)
{
    CodedReply reply;
    std::memset(&reply, 0, sizeof reply);
    struct {
        std::string errMsg;
        int errCode = 0;
    } ret;
    RunRequestHandler(
        mgr, "ReplicationMgr::QueryHandler()", code, ReplyCodeFor(code), false, reply,
        cases::ReplyStatus<CodedReply>{&CodedReply::status, &CodedReply::errMsg, &CodedReply::errCode}, ret,
        [&](DBtran*) {
            ++g_operationCalls;
            return true;
        },
        [](CodedReply&) { return true; });
}

const unsigned long kQueryCode = 0x35000107;

// The library's cases, with the query case above in place of the one of its
// code.
CaseRegistry CasesWithQuery()
{
    CaseRegistry registry;
    const CaseRegistry& served = ServedCases();
    for (unsigned long code : served.boundCodes())
        if (code != kQueryCode) registry.bind(code, *served.find(code));
    registry.bind(kQueryCode, cases::Serve<cases::NoRequest, CodedReply>(&QueryHandlerCase));
    return registry;
}

}  // namespace

class RefusedCatalogueTest : public CatalogueTest {
protected:
    void SetUp() override
    {
        CatalogueTest::SetUp();
        m_foreign = m_dir + "/foreign.db";
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(m_foreign.c_str(), &db), SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(db, "CREATE TABLE Accounts (id INTEGER PRIMARY KEY, Owner TEXT)", nullptr, nullptr, nullptr),
                  SQLITE_OK);
        sqlite3_close(db);
        m_bytes = fileBytes(m_foreign);
        ASSERT_NE(registry.find(kQueryCode), nullptr);
        net.network.setSendObserver([this](unsigned long code, const void* data, unsigned long length) {
            SentReply r{code, {}};
            r.bytes.assign(static_cast<const char*>(data), static_cast<const char*>(data) + length);
            replies.push_back(r);
            // The texts are gone once the case returns.
            texts.push_back(textOf(code, data, length));
        });
        DBtran::useCatalogue(m_foreign);
    }

    void TearDown() override
    {
        DBtran::useCatalogue(m_path);
        RemoveCatalogueFiles(m_foreign);
        CatalogueTest::TearDown();
    }

    // The message of a sent reply, read in the layout of its request's case.
    std::string textOf(unsigned long code, const void* data, unsigned long length) const
    {
        for (unsigned long request : registry.boundCodes()) {
            const ServedCase* served = registry.find(request);
            if (ReplyCodeFor(request) != code || served->replySize != length) continue;
            const char* text = served->readStatus(data).errMsg;
            return text != nullptr ? text : "";
        }
        return "";
    }

    // Posts a request and checks that it was answered once; the reply.
    const SentReply& post(unsigned long code, void* request)
    {
        replies.clear();
        texts.clear();
        zxsDatabuf buf;
        buf.m_pData = request;
        EXPECT_EQ(mgr.post(code, 0, &buf), 1u) << std::hex << code;
        EXPECT_EQ(replies.size(), 1u) << std::hex << code;
        static const SentReply none{0, {}};
        return replies.empty() ? none : replies.back();
    }

    template <typename Reply>
    Reply replyAs(const SentReply& sent)
    {
        Reply r;
        std::memset(static_cast<void*>(&r), 0, sizeof r);
        EXPECT_EQ(sent.bytes.size(), sizeof(Reply));
        if (sent.bytes.size() == sizeof(Reply)) std::memcpy(static_cast<void*>(&r), sent.bytes.data(), sizeof r);
        return r;
    }

    void expectRefusal(const char* what)
    {
        ASSERT_EQ(texts.size(), 1u) << what;
        EXPECT_EQ(texts[0], "Could not initiated database transactions") << what;
    }

    QuietHost quiet;
    CaseRegistry registry = CasesWithQuery();
    RecordingNetwork net;
    ReplicationMgr mgr{&net.session, registry};
    std::vector<SentReply> replies;
    std::vector<std::string> texts;
    std::string m_foreign;
    std::string m_bytes;
};

TEST_F(RefusedCatalogueTest, EveryRequestIsAnsweredWithMinus7AndTheFileIsUntouched)
{
    EXPECT_FALSE(LogEntriesWith(m_foreign + " is not a catalogue of this system").empty());

    // With a transaction (inline cases and a request handler) and without.
    repYBTzHistoryNameRec name{5, const_cast<char*>("nightly")};
    for (unsigned long code : {0x3500010bUL, 0x3500010dUL}) {
        CodedReply r = replyAs<CodedReply>(post(code, &name));
        EXPECT_EQ(r.status, 0u);
        EXPECT_EQ(r.errCode, -7);
        expectRefusal("history name add/update");
    }
    repTzGlobalHistoryNameByDeviceReq byDevice{5};
    CodedReply removed = replyAs<CodedReply>(post(0x3500010f, &byDevice));
    EXPECT_EQ(removed.errCode, -7);
    expectRefusal("history name delete");
    auto byName = replyAs<repQueryTzGlobalHistoryNameResp>(post(0x35000111, &byDevice));
    EXPECT_EQ(byName.status, 0u);
    EXPECT_EQ(byName.errCode, -7);
    expectRefusal("history name query by device");
    repTzGlobalHistoryNameByVolIdReq byVolume{5};
    auto byVol = replyAs<repQueryTzGlobalHistoryNameResp>(post(0x35000113, &byVolume));
    EXPECT_EQ(byVol.errCode, -7);
    expectRefusal("history name query by volume");

    repAddSNRVolumeReq volume;
    std::memset(static_cast<void*>(&volume), 0, sizeof volume);
    auto added = replyAs<repAddSNRVolumeResp>(post(0x35000071, &volume));
    EXPECT_EQ(added.status, 0);
    EXPECT_EQ(added.volumeId, 0);
    expectRefusal("SNR volume add");

    CodedReply query = replyAs<CodedReply>(post(kQueryCode, nullptr));
    EXPECT_EQ(query.status, 0u);
    EXPECT_EQ(query.errCode, -7);
    EXPECT_EQ(g_operationCalls, 0);
    expectRefusal("request handler without a transaction");

    // Every other bound code answers once as well.
    std::vector<char> zeroed(4096, 0);
    for (unsigned long code : registry.boundCodes()) post(code, zeroed.data());

    DBtran::useCatalogue(m_path);
    EXPECT_TRUE(fileBytes(m_foreign) == m_bytes) << "the refused file was written";
}
