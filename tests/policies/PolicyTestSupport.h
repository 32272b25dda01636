// Shared pieces of the snap engine and volume snap parameter tests: a
// table's whole content as text, to show that a failed request changed
// nothing, the reading of reply texts, and requests through post.
#pragma once

#include <sqlite3.h>

#include <cstdlib>
#include <functional>
#include <string>

#include "service/Utils.h"
#include "snr/SNRPostFixture.h"

// Every row a query returns, each column's text, read on the given
// connection; "" on a read error.
inline std::string DumpQuery(sqlite3* db, const std::string& sql)
{
    std::string out;
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr) == SQLITE_OK) {
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            for (int c = 0; c < sqlite3_column_count(stmt); ++c) {
                const unsigned char* text = sqlite3_column_text(stmt, c);
                out += text != nullptr ? reinterpret_cast<const char*>(text) : "NULL";
                out += '|';
            }
            out += '\n';
        }
    }
    sqlite3_finalize(stmt);
    return out;
}

// The same on a connection of its own to the catalogue file.
inline std::string DumpQuery(const std::string& path, const std::string& sql)
{
    sqlite3* db = nullptr;
    std::string out;
    if (sqlite3_open(path.c_str(), &db) == SQLITE_OK) out = DumpQuery(db, sql);
    sqlite3_close(db);
    return out;
}

// Every row of a table in key order.
inline std::string DumpTable(sqlite3* db, const std::string& table)
{
    return DumpQuery(db, "SELECT * FROM " + table + " ORDER BY 1");
}

inline std::string DumpTable(const std::string& path, const char* table)
{
    return DumpQuery(path, std::string("SELECT * FROM ") + table + " ORDER BY 1");
}

// A text of a reply: "(null)" for a null pointer, which is how an empty
// text goes out.
inline std::string ReplyText(const char* text) { return text != nullptr ? text : "(null)"; }

// ---- Requests through post -----------------------------------------------------------

// The requests of one message version of a family served by add, query,
// update and list handlers: the request and reply layouts and the codes.
template <int Number, typename AddReqT, typename AddRespT, typename QueryReqT, typename QueryRespT,
          typename UpdateReqT, typename UpdateRespT, typename ListRespT, unsigned long Add, unsigned long Query,
          unsigned long Update, unsigned long List>
struct FamilyVersion {
    static constexpr int number = Number;
    using AddReq = AddReqT;
    using AddResp = AddRespT;
    using QueryReq = QueryReqT;
    using QueryResp = QueryRespT;
    using UpdateReq = UpdateReqT;
    using UpdateResp = UpdateRespT;
    using ListResp = ListRespT;
    static constexpr unsigned long add = Add, query = Query, update = Update, list = List;
};

// Requests posted with the decoder of their reply layout; the reply-array
// allocator is put back after each test.
template <typename Answer>
class PolicyPostTest : public SNRPostTest<Answer> {
protected:
    using Decoder = Answer (*)(const void*);

    Answer decode(const void* data, unsigned long) override { return m_decode(data); }
    void TearDown() override
    {
        AllocReplyArray = &malloc;
        SNRPostTest<Answer>::TearDown();
    }
    Answer send(unsigned long code, void* request, size_t replySize, Decoder decoder)
    {
        m_decode = decoder;
        return this->post(code, request, replySize);
    }

    Decoder m_decode = nullptr;
};

// A database call made to fail, the request that meets it, and the code and
// text its reply must carry.
template <typename Answer>
struct FailingStep {
    const char* call;
    std::function<Answer()> request;
    int code;
    std::string text;
};

// A reply-array allocator that has no memory.
inline void* NoMemory(size_t) { return nullptr; }
