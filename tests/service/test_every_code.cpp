// Every request code the library has a case for, driven through post on a
// seeded catalogue: each answers exactly once, with the reply code of the
// dispatch table and the size of its reply layout; a request without its data,
// or of all 0xFF bytes where its layout holds no pointer, changes nothing.
//
// The codes are those the case registry has bound, so a code joins these
// tests by being bound. A request layout that holds pointers must say so
// (service/RequestLayout.h): one that does not is filled with numbers here,
// and the case that reads its pointer crashes the test.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstdint>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "host/ZxSync.h"
#include "policies/PolicyTestSupport.h"
#include "service/CaseRegistry.h"
#include "service/DispatchTable.h"
#include "service/ReplicationMgr.h"
#include "service/ServedCases.h"
#include "support/CatalogueFill.h"
#include "support/ClientFakesScope.h"
#include "support/TestCatalogue.h"
#include "support/TestHost.h"

namespace {

// Reply codes other than request + 1; 0x35000228 and 0x35000248 are one case
// that replies by the code it was posted with.
const std::map<unsigned long, unsigned long> kReplyCodeExceptions = {
    {0x35000049, 0x35000050}, {0x35000119, 0x35000120}, {0x35000129, 0x35000130}, {0x35000139, 0x35000140},
    {0x35000179, 0x35000180}, {0x350001fd, 0x350001dc}, {0x35000245, 0x350001dc},
    {0x35000228, 0x35000229}, {0x35000248, 0x35000249},
};

// Codes allowed to write although their request came without data or of all
// 0xFF bytes, and why.
const std::map<unsigned long, const char*> kWritesRegardless = {
    {0x35000081, "the pruning pass removes the replicas that have expired, whatever its request holds"},
};

const int kSeedRows = 3;

// One reply as it was sent.
struct Sent {
    unsigned long code;
    size_t size;
    int64_t status;
    std::string text;  // "(null)" for none
};

class EveryCodeTest : public CatalogueTest {
protected:
    void SetUp() override
    {
        CatalogueTest::SetUp();
        ZxNamedMutex::setWaitScale(0.01);
        net.network.setSendObserver([this](unsigned long code, const void* data, unsigned long length) {
            Sent s{code, length, -1, "(null)"};
            if (current != nullptr && data != nullptr && length == current->replySize) {
                const SentStatus status = current->readStatus(data);
                s.status = status.status;
                if (status.errMsg != nullptr) s.text = status.errMsg;
            }
            sent.push_back(s);
        });
        seed();
    }

    void TearDown() override
    {
        ZxNamedMutex::setWaitScale(1.0);
        CatalogueTest::TearDown();
    }

    // Every table holds rows 1 to kSeedRows; a column naming another row
    // names one of them.
    void seed()
    {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(m_path.c_str(), &db), SQLITE_OK);
        const std::string sql = FillEveryTableSql(db, kSeedRows, kSeedRows);
        m_tables = CatalogueTables(db);
        sqlite3_close(db);
        exec(sql);
    }

    // Every row of every table, by table.
    std::map<std::string, std::string> content()
    {
        std::map<std::string, std::string> all;
        sqlite3* db = nullptr;
        EXPECT_EQ(sqlite3_open(m_path.c_str(), &db), SQLITE_OK);
        for (const std::string& table : m_tables) all[table] = DumpTable(db, table);
        sqlite3_close(db);
        return all;
    }

    // The tables whose rows differ from before, each with its rows now.
    std::string changedTables(const std::map<std::string, std::string>& before)
    {
        std::string changed;
        for (const auto& table : content()) {
            auto was = before.find(table.first);
            if (was == before.end() || was->second != table.second) changed += table.first + ":\n" + table.second;
        }
        return changed;
    }

    // Posts one request of the code and checks its one reply: the code of
    // the dispatch table and the size of the case's reply layout. data null:
    // the request comes without its data.
    void postOnce(unsigned long code, void* data)
    {
        current = ServedCases().find(code);
        ASSERT_NE(current, nullptr);
        sent.clear();
        zxsDatabuf buf;
        buf.m_pData = data;
        buf.m_ulSize = buf.m_ulLength = data != nullptr ? current->requestSize : 0;
        EXPECT_EQ(mgr.post(code, 0, &buf), 1u);
        ASSERT_EQ(sent.size(), 1u);
        EXPECT_EQ(sent[0].code, ReplyCodeFor(code));
        auto exception = kReplyCodeExceptions.find(code);
        if (exception != kReplyCodeExceptions.end()) {
            EXPECT_EQ(sent[0].code, exception->second);
        } else {
            EXPECT_EQ(sent[0].code, code + 1);
        }
        EXPECT_EQ(sent[0].size, current->replySize);
    }

    QuietHost quiet;
    ClientFakesScope clients;
    RecordingNetwork net;
    ReplicationMgr mgr{&net.session};
    const ServedCase* current = nullptr;
    std::vector<Sent> sent;
    std::vector<std::string> m_tables;
};

// A request of the layout's size, every byte `fill`; ASan sees a read past it.
std::unique_ptr<unsigned char[]> RequestOfBytes(size_t size, unsigned char fill)
{
    std::unique_ptr<unsigned char[]> request(new unsigned char[size]);
    std::memset(request.get(), fill, size);
    return request;
}

// The minimal request of a layout: without pointers every 32-bit word is 1,
// the first seeded row of whatever the field names; with pointers all zero
// (no texts, no arrays), which the operation refuses or answers as empty.
std::unique_ptr<unsigned char[]> MinimalRequest(const ServedCase& served)
{
    auto request = RequestOfBytes(served.requestSize, 0);
    if (!served.requestHoldsPointers) {
        const int32_t one = 1;
        for (size_t at = 0; at + sizeof one <= served.requestSize; at += sizeof one) std::memcpy(&request[at], &one, sizeof one);
    }
    return request;
}

TEST_F(EveryCodeTest, EveryBoundCodeAnswersItsMinimalRequestOnceInItsOwnLayout)
{
    const std::vector<unsigned long> codes = ServedCases().boundCodes();
    ASSERT_FALSE(codes.empty());
    for (unsigned long code : codes) {
        SCOPED_TRACE(testing::Message() << std::hex << "0x" << code);
        const ServedCase& served = *ServedCases().find(code);
        if (!served.readsRequest) {
            postOnce(code, nullptr);
            continue;
        }
        ASSERT_GT(served.requestSize, 0u) << "a case that reads its request knows the request's size";
        auto request = MinimalRequest(served);
        postOnce(code, request.get());
    }
    EXPECT_EQ(mgr.cleanedBuffers().size(), codes.size());
}

TEST_F(EveryCodeTest, RequestWithoutDataOrOfAllFFBytesWritesNothing)
{
    for (unsigned long code : ServedCases().boundCodes()) {
        SCOPED_TRACE(testing::Message() << std::hex << "0x" << code);
        const ServedCase& served = *ServedCases().find(code);
        const bool mayWrite = kWritesRegardless.count(code) != 0;

        std::map<std::string, std::string> before = content();
        postOnce(code, nullptr);
        if (served.readsRequest) {
            ASSERT_EQ(sent.size(), 1u);
            EXPECT_EQ(sent[0].status, 0) << "a request without data is refused, not: " << sent[0].text;
        }
        if (!mayWrite) {
            EXPECT_EQ(changedTables(before), "") << "written without request data";
        }

        if (!served.readsRequest || served.requestHoldsPointers) continue;
        before = content();
        auto request = RequestOfBytes(served.requestSize, 0xFF);
        postOnce(code, request.get());
        if (!mayWrite) {
            EXPECT_EQ(changedTables(before), "") << "written from a request of all 0xFF bytes";
        }
    }
}

TEST_F(EveryCodeTest, TheRegistryKnowsTheReplyCodesAndRequestLayouts)
{
    // A layout of ids only is posted as all 0xFF bytes; one whose texts a
    // base layout holds is not.
    const ServedCase* byId = ServedCases().find(0x35000049);
    const ServedCase* deallocate = ServedCases().find(0x350000bd);
    ASSERT_NE(byId, nullptr);
    ASSERT_NE(deallocate, nullptr);
    EXPECT_EQ(byId->requestSize, 4u);
    EXPECT_FALSE(byId->requestHoldsPointers);
    EXPECT_EQ(deallocate->requestSize, 16u);
    EXPECT_TRUE(deallocate->requestHoldsPointers);
    const ServedCase* list = ServedCases().find(0x35000027);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->requestSize, 0u);

    for (const auto& e : kReplyCodeExceptions) {
        EXPECT_EQ(ReplyCodeFor(e.first), e.second) << std::hex << e.first;
    }
    // One case serves both versions; the request walk above saw each reply.
    const ServedCase* v1 = ServedCases().find(0x35000228);
    const ServedCase* v2 = ServedCases().find(0x35000248);
    ASSERT_NE(v1, nullptr);
    ASSERT_NE(v2, nullptr);
    EXPECT_EQ(v1->serve, v2->serve);
}

}  // namespace
