#include <gtest/gtest.h>

#include "service/ReplicationMgr.h"
#include "support/TestHost.h"

namespace {

struct ReplyStruct {
    int status;
    const char* msg;
    int code;
};

TEST(SendMessage, SendsTheReplyStructureWithItsCode) {
    RecordingNetwork net;
    ReplyStruct reply{};
    reply.status = 1;
    reply.code = -4;
    zxsDatabuf desc;
    desc.m_ulSize = desc.m_ulLength = sizeof reply;
    desc.m_pData = &reply;
    EXPECT_EQ(net.session.sendMessage(0x35000004, 0x35000000, &desc), 1);
    ASSERT_EQ(net.replies.size(), 1u);
    EXPECT_EQ(net.replies[0].code, 0x35000004u);
    ASSERT_EQ(net.replies[0].bytes.size(), sizeof reply);
    ReplyStruct got;
    memcpy(&got, net.replies[0].bytes.data(), sizeof got);
    EXPECT_EQ(got.status, 1);
    EXPECT_EQ(got.code, -4);
}

TEST(SendMessage, NullDescriptorSendsEmptyMessage) {
    RecordingNetwork net;
    EXPECT_EQ(net.session.sendMessage(0x35000010, 0x35000000, nullptr), 1);
    ASSERT_EQ(net.replies.size(), 1u);
    EXPECT_TRUE(net.replies[0].bytes.empty());
}

TEST(SendMessage, FailedSendGivesZeroAndNothingIsObserved) {
    RecordingNetwork net;
    net.network.setFailSends(true);
    ReplyStruct reply{};
    zxsDatabuf desc;
    desc.m_ulSize = desc.m_ulLength = sizeof reply;
    desc.m_pData = &reply;
    EXPECT_EQ(net.session.sendMessage(0x35000004, 0x35000000, &desc), 0);
    EXPECT_TRUE(net.replies.empty());
    net.network.setFailSends(false);
    EXPECT_EQ(net.session.sendMessage(0x35000004, 0x35000000, &desc), 1);
    EXPECT_EQ(net.replies.size(), 1u);
}

TEST(ServiceObject, ConstructionStateAndSession) {
    ConfigureQuietHost("3");
    RecordingNetwork net;
    ReplicationMgr mgr(&net.session);
    EXPECT_EQ(mgr.session(), &net.session);
    EXPECT_TRUE(mgr.m_bReportMissingFiles);
    EXPECT_EQ(mgr.log().str(), "");
    ReplicationMgr unbound;
    EXPECT_EQ(unbound.session(), nullptr);
}

}  // namespace
