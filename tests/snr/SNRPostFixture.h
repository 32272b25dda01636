// A fresh catalogue per test and one ReplicationMgr on a recording network,
// for the tests of SNR requests served through post. Each reply is decoded
// into an Answer as it is sent (its texts point into the case's records,
// which are gone afterwards).
#pragma once

#include <string>
#include <vector>

#include "service/DispatchTable.h"
#include "service/ReplicationMgr.h"
#include "support/TestCatalogue.h"
#include "support/TestHost.h"

// A request text: null for an empty one.
inline char* RequestText(const std::string& s) { return s.empty() ? nullptr : const_cast<char*>(s.c_str()); }

template <typename Answer>
class SNRPostTest : public CatalogueTest {
protected:
    // Reads a sent reply; Answer has at least `code` and `size`.
    virtual Answer decode(const void* data, unsigned long length) = 0;

    void SetUp() override
    {
        CatalogueTest::SetUp();
        net.network.setSendObserver([this](unsigned long code, const void* data, unsigned long length) {
            Answer a = decode(data, length);
            a.code = code;
            a.size = length;
            answers.push_back(a);
        });
    }

    // Posts one request and returns its only reply, which must answer with
    // the reply code of the request and the size.
    Answer post(unsigned long code, void* request, size_t replySize)
    {
        answers.clear();
        zxsDatabuf buf;
        buf.m_pData = request;
        EXPECT_EQ(mgr.post(code, 0, &buf), 1u);
        EXPECT_EQ(answers.size(), 1u);
        Answer a = answers.empty() ? Answer() : answers.back();
        EXPECT_EQ(a.code, ReplyCodeFor(code));
        EXPECT_EQ(a.size, replySize);
        return a;
    }

    QuietHost quiet;
    RecordingNetwork net;
    ReplicationMgr mgr{&net.session};
    std::vector<Answer> answers;
};
