// A fresh catalogue per test and one ReplicationMgr on a recording network,
// for the tests of the appliance, user application, browse and list requests
// served through post. A reply is read while it is sent (its texts point into
// the case's records, which are gone afterwards) by the reader the test gives.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "host/ZxSync.h"
#include "service/ReplicationMgr.h"
#include "service/Utils.h"
#include "support/TestCatalogue.h"
#include "support/TestHost.h"

// A text of a reply: "(null)" for a null pointer.
inline std::string WireText(const char* text) { return text != nullptr ? text : "(null)"; }

// The status fields of a reply.
struct Status {
    uint32_t status = 99;
    int32_t errCode = 0;
    std::string msg;  // "(null)" for none
};

template <typename Reply>
Status StatusOfReply(const Reply& reply)
{
    return Status{reply.status, reply.errCode, WireText(reply.errMsg)};
}

// Reply allocations: the first `allowed` succeed, every later one fails.
inline int g_allocationsLeft = 0;
inline void* LimitedAllocation(size_t bytes) { return g_allocationsLeft-- > 0 ? malloc(bytes) : nullptr; }
inline void FailAllocationsAfter(int allowed)
{
    g_allocationsLeft = allowed;
    AllocReplyArray = &LimitedAllocation;
}

class FilesPostTest : public CatalogueTest {
protected:
    void SetUp() override
    {
        CatalogueTest::SetUp();
        net.network.setSendObserver([this](unsigned long code, const void* data, unsigned long length) {
            sentCodes.push_back(code);
            sentSizes.push_back(length);
            if (m_read) m_read(data, length);
        });
    }

    void TearDown() override
    {
        AllocReplyArray = &malloc;
        ZxNamedMutex::setWaitScale(1.0);
        CatalogueTest::TearDown();
    }

    // Posts one request (null: none) and returns what `read` made of its only
    // reply, which must answer with the reply code in the size of Reply.
    template <typename Reply, typename Read>
    auto post(unsigned long code, const void* request, Read read)
    {
        using Answer = decltype(read(std::declval<const Reply&>()));
        Answer answer{};
        sentCodes.clear();
        sentSizes.clear();
        m_read = [&](const void* data, unsigned long length) {
            if (length != sizeof(Reply)) return;
            Reply reply;
            std::memcpy(static_cast<void*>(&reply), data, sizeof reply);
            answer = read(reply);
        };
        zxsDatabuf buf;
        buf.m_pData = const_cast<void*>(request);
        EXPECT_EQ(mgr.post(code, 0, &buf), 1u);
        m_read = nullptr;
        EXPECT_EQ(sentCodes.size(), 1u);
        if (!sentCodes.empty()) {
            EXPECT_EQ(sentCodes[0], code + 1);
            EXPECT_EQ(sentSizes[0], sizeof(Reply));
        }
        return answer;
    }

    // The status fields of the only reply.
    template <typename Reply>
    Status postStatus(unsigned long code, const void* request)
    {
        return post<Reply>(code, request, [](const Reply& r) { return StatusOfReply(r); });
    }

    QuietHost quiet;
    RecordingNetwork net;
    ReplicationMgr mgr{&net.session};
    std::vector<unsigned long> sentCodes;
    std::vector<unsigned long> sentSizes;

private:
    std::function<void(const void*, unsigned long)> m_read;
};

// Failure codes of the database as the stand-in gives them.
const int kDbBusy = 5;      // SQLITE_BUSY
const int kDbIoError = 10;  // SQLITE_IOERR
