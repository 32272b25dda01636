#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "host/EvDebug.h"
#include "host/ZXPlatformInfo.h"
#include "host/ZxFramework.h"
#include "host/clients/NasUtil.h"
#include "host/clients/RemoteExecute.h"
#include "host/clients/ZXFLRClientApi.h"
#include "host/clients/ZXJobCtrlClient.h"
#include "host/clients/ZXSVCClientSession.h"
#include "support/ClientFakesScope.h"

namespace {

using Args = std::vector<std::string>;

const unsigned long FieldType = 0x9000501;

// A remote execute request filled the way the cleanup operations fill it.
struct ToolRequest {
    explicit ToolRequest(const char* arguments, int family = 9, int type = 37) : request(family, type)
    {
        CNObjectAccessor* fields = request.getObjectAccessor(true, true, 1, 1, 0x900030d, 11657439, 9, 1);
        if (fields == nullptr) return;
        fields->setstring(3, 6, arguments, FieldType, 959324);
        fields->setint64(1, 1, 0, FieldType, 7634917);
        fields->setstring(2, 2, "ZXSnapTool.exe", FieldType, 7933915);
    }
    CNSession::zxsRemoteExecuteAsUserRequestType request;
};

class ClientFakesTest : public ::testing::Test {
protected:
    ClientFakesScope scope;
    ClientFakes& fakes = ClientFakes::instance();
};

TEST(ClientFakesJournal, KeptOnlyWhileSwitchedOnWhileScriptsAlwaysApply)
{
    ClientFakes& fakes = ClientFakes::instance();
    fakes.reset();
    EXPECT_FALSE(fakes.journalKept());  // the default host keeps nothing

    ASSERT_TRUE(fakes.failNext("DeleteAllSnapsFromVolume"));
    ZXSVCClientSession session("hostA", 3, nullptr, nullptr);
    EXPECT_FALSE(session.DeleteAllSnapsFromVolume("/dev/sdb"));
    EXPECT_TRUE(session.DeleteAllSnapsFromVolume("/dev/sdb"));
    EXPECT_TRUE(fakes.calls().empty());

    fakes.keepJournal(true);
    EXPECT_TRUE(session.DeleteAllSnapsFromVolume("/dev/sdc"));
    fakes.keepJournal(false);
    EXPECT_TRUE(session.DeleteAllSnapsFromVolume("/dev/sdd"));
    ASSERT_EQ(fakes.calls().size(), 1u);
    EXPECT_EQ(fakes.calls()[0].args, Args{"/dev/sdc"});
    fakes.reset();
}

TEST_F(ClientFakesTest, SessionCallsAreJournaledWithClientAndArguments)
{
    ZXSVCClientSession session("hostA", 12, nullptr, nullptr);
    std::vector<ZXSVCClientSnap_t> v1;
    v1.emplace_back("snap1", "{guid-1}", "/mnt/a", "share1", 0);
    std::vector<ZXSVCClientSnapV2_t> v2;
    v2.emplace_back("snap2", "{guid-2}", "/mnt/b", "", "\\\\?\\shadow2", 2, 41, 0);
    std::vector<std::string> guids;

    EXPECT_TRUE(session.FLRSnapCleanup(v1));
    EXPECT_TRUE(session.FLRSnapCleanup(v2));
    EXPECT_TRUE(session.FindVolumeGUID({"E:\\", "F:\\"}, guids));
    EXPECT_TRUE(session.removeVolumeMountPoint("/mnt/x", "", 0, 0));
    EXPECT_TRUE(session.SetBlockFilterDriver({"C:", "D:"}, {}));
    EXPECT_TRUE(session.DeleteAllSnapsFromVolume("/dev/sdb"));

    std::vector<ClientCall> calls = fakes.calls();
    ASSERT_EQ(calls.size(), 6u);
    for (const ClientCall& c : calls) {
        EXPECT_EQ(c.client, "hostA");
        EXPECT_EQ(c.clientId, 12);
    }
    EXPECT_EQ(calls[0].operation, "FLRSnapCleanup");
    EXPECT_EQ(calls[0].args, (Args{"snap1", "{guid-1}", "/mnt/a", "share1", "0"}));
    EXPECT_EQ(calls[1].operation, "FLRSnapCleanupV2");
    EXPECT_EQ(calls[1].args, (Args{"snap2", "{guid-2}", "/mnt/b", "", "\\\\?\\shadow2", "2", "41", "0"}));
    EXPECT_EQ(calls[2].operation, "FindVolumeGUID");
    EXPECT_EQ(calls[2].args, (Args{"E:\\", "F:\\"}));
    EXPECT_EQ(calls[3].operation, "removeVolumeMountPoint");
    EXPECT_EQ(calls[3].args, (Args{"/mnt/x", "", "0", "0"}));
    EXPECT_EQ(calls[4].operation, "SetBlockFilterDriver");
    EXPECT_EQ(calls[4].args, (Args{"2", "C:", "D:", "0"}));
    EXPECT_EQ(calls[5].operation, "DeleteAllSnapsFromVolume");
    EXPECT_EQ(calls[5].args, Args{"/dev/sdb"});
    EXPECT_EQ(fakes.calls("FindVolumeGUID").size(), 1u);
}

TEST_F(ClientFakesTest, ScriptedResultBitsAndGuidsComeBack)
{
    fakes.setSnapResult("snapA", 2);
    fakes.setSnapResult("snapB", 0);
    fakes.setVolumeGUID("F:\\", "{guid-F}");
    ZXSVCClientSession session("hostA", 12, nullptr, nullptr);

    std::vector<ZXSVCClientSnap_t> v1;
    v1.emplace_back("snapA", "g", "m", "s", 0);
    v1.emplace_back("other", "g", "m", "s", 0);
    ASSERT_TRUE(session.FLRSnapCleanup(v1));
    EXPECT_EQ(v1[0].m_nResult, 2);
    EXPECT_EQ(v1[1].m_nResult, 7);  // not scripted: everything done

    std::vector<ZXSVCClientSnapV2_t> v2;
    v2.emplace_back("snapB", "g", "m", "s", "p", 3, 99, 0);
    v2.emplace_back("snapA", "g", "m", "s", "p", 3, 99, 0);
    ASSERT_TRUE(session.FLRSnapCleanup(v2));
    EXPECT_EQ(v2[0].m_nSetIdResult, 0);  // the bits replace the set id
    EXPECT_EQ(v2[1].m_nSetIdResult, 2);
    EXPECT_EQ(v2[1].m_nSnapEngineType, 3);

    std::vector<std::string> guids{"stale"};
    ASSERT_TRUE(session.FindVolumeGUID({"E:\\", "F:\\"}, guids));
    EXPECT_EQ(guids, (Args{"", "{guid-F}"}));  // path order, "" when not scripted

    // The FLR client leaves the names of the snapshots it did not destroy.
    std::vector<std::string> names{"snapA", "snapB", "other"};
    EXPECT_EQ(ZXFLRClientApi("hostB", 5, nullptr).FLRDelSnaps(names), 0);
    EXPECT_EQ(names, (Args{"snapA", "snapB"}));
    ASSERT_EQ(fakes.calls("FLRDelSnaps").size(), 1u);
    EXPECT_EQ(fakes.calls("FLRDelSnaps")[0].args, (Args{"snapA", "snapB", "other"}));
    EXPECT_EQ(fakes.calls("FLRDelSnaps")[0].clientId, 5);
}

// A whole answer scripted is given as it is, whatever the paths, until reset.
TEST_F(ClientFakesTest, AScriptedGuidAnswerMayHoldMoreOrFewerGuidsThanPaths)
{
    ZXSVCClientSession session("hostA", 12, nullptr, nullptr);
    std::vector<std::string> guids;
    fakes.setVolumeGUID("E:\\", "{guid-E}");
    fakes.setVolumeGUIDAnswer({"{one}", "{two}", "{three}"});
    ASSERT_TRUE(session.FindVolumeGUID({"E:\\"}, guids));
    EXPECT_EQ(guids, (Args{"{one}", "{two}", "{three}"}));
    fakes.setVolumeGUIDAnswer({});
    ASSERT_TRUE(session.FindVolumeGUID({"E:\\", "F:\\"}, guids));
    EXPECT_TRUE(guids.empty());
    fakes.reset();
    ASSERT_TRUE(session.FindVolumeGUID({"E:\\"}, guids));
    EXPECT_EQ(guids, Args{""});
}

TEST_F(ClientFakesTest, InjectedFailuresHitTheNextCallsOnlyAndLeaveOutputsAlone)
{
    EXPECT_FALSE(fakes.failNext("InfoEvent"));  // cannot fail
    EXPECT_FALSE(fakes.failNext("FLRSnapCleanupV3"));
    EXPECT_FALSE(fakes.failNext("FindVolumeGUID", 0));

    ZXSVCClientSession session("hostA", 12, nullptr, nullptr);
    ASSERT_TRUE(fakes.failNext("FLRSnapCleanup", 2));
    std::vector<ZXSVCClientSnap_t> v1;
    v1.emplace_back("snapA", "g", "m", "s", 0);
    EXPECT_FALSE(session.FLRSnapCleanup(v1));
    EXPECT_FALSE(session.FLRSnapCleanup(v1));
    EXPECT_EQ(v1[0].m_nResult, 0);
    EXPECT_TRUE(session.FLRSnapCleanup(v1));
    EXPECT_EQ(v1[0].m_nResult, 7);

    ASSERT_TRUE(fakes.failNext("FindVolumeGUID"));
    std::vector<std::string> guids{"kept"};
    EXPECT_FALSE(session.FindVolumeGUID({"E:\\"}, guids));
    EXPECT_EQ(guids, Args{"kept"});

    ASSERT_TRUE(fakes.failNext("FLRDelSnaps"));
    std::vector<std::string> names{"snapA"};
    EXPECT_NE(ZXFLRClientApi("hostB", 5, nullptr).FLRDelSnaps(names), 0);
    EXPECT_EQ(names, Args{"snapA"});

    ASSERT_TRUE(fakes.failNext("removeVolumeMountPoint"));
    ASSERT_TRUE(fakes.failNext("SetBlockFilterDriver"));
    EXPECT_FALSE(session.removeVolumeMountPoint("/mnt/x", "", 0, 0));
    EXPECT_FALSE(session.SetBlockFilterDriver({"C:"}, {}));

    SMVolSnapInfo query;
    ASSERT_TRUE(fakes.failNext("getVolumeSnaps"));
    ASSERT_TRUE(fakes.failNext("deleteVolumeSnaps"));
    EXPECT_FALSE(ZXMMSnapAPI(1).getVolumeSnaps(query));
    EXPECT_FALSE(ZXSnapClientAPI().deleteVolumeSnaps(query));
    EXPECT_TRUE(ZXMMSnapAPI(1).getVolumeSnaps(query));

    ASSERT_TRUE(fakes.failNext("deleteSnapVaultReplica"));
    NasUtil nas;
    EXPECT_EQ(nas.deleteSnapVaultReplica(1, "u1", 2, 3, "u2", 4, "", 5), -1);
    EXPECT_EQ(nas.deleteSnapVaultReplica(1, "u1", 2, 3, "u2", 4, "", 5), 0);
    EXPECT_EQ(fakes.calls("deleteSnapVaultReplica")[0].args, (Args{"1", "u1", "2", "3", "u2", "4", "", "5"}));
}

TEST_F(ClientFakesTest, RemoteToolRunIsJournaledAndAnsweredWithTheScriptedCode)
{
    ToolRequest tool("-o delete -s 4\x15" "5\x15\x15 -r 6  -cn client");
    CZxNetwork network;
    zxsRemoteExecuteResponseType response{};
    bool connected = false;

    CWuError err = network.ExecRemoteCmdAndWait("hostA", &tool.request, "local", &response, 120, connected);
    EXPECT_FALSE(err.IsError());
    EXPECT_TRUE(connected);
    EXPECT_EQ(response.returnCode, 0);
    EXPECT_FALSE(network.ReplyDisconnect(120, connected).IsError());
    EXPECT_FALSE(connected);

    fakes.setToolReturnCode(3);
    connected = false;
    EXPECT_FALSE(network.ExecRemoteCmdAndWait("hostA", &tool.request, "local", &response, 120, connected).IsError());
    EXPECT_EQ(response.returnCode, 3);

    ASSERT_TRUE(fakes.failNext("ExecRemoteCmdAndWait"));
    response = zxsRemoteExecuteResponseType{};
    connected = false;
    err = network.ExecRemoteCmdAndWait("hostA", &tool.request, "local", &response, 120, connected);
    EXPECT_LT(err.code(), 0);
    EXPECT_FALSE(err.text().empty());
    EXPECT_FALSE(connected);
    EXPECT_EQ(response.returnCode, 0);

    std::vector<ClientCall> runs = fakes.calls("ExecRemoteCmdAndWait");
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_EQ(runs[0].client, "hostA");
    EXPECT_EQ(runs[0].args, (Args{"ZXSnapTool.exe", "-o delete -s 4\x15" "5\x15\x15 -r 6  -cn client", "0", "local",
                                  "120"}));
    ASSERT_EQ(fakes.calls("ReplyDisconnect").size(), 1u);
    EXPECT_EQ(fakes.calls("ReplyDisconnect")[0].args, Args{"120"});
}

TEST_F(ClientFakesTest, RemoteRequestFieldsAreReachedOnlyWithTheirOwnNumbers)
{
    ToolRequest tool("args");
    CNObjectAccessor* fields = tool.request.getObjectAccessor(true, true, 1, 1, 0x900030d, 11657439, 9, 1);
    ASSERT_NE(fields, nullptr);
    EXPECT_EQ(fields->getstringByRef(3, 6, FieldType, 959324), "args");
    EXPECT_EQ(fields->getstringByRef(3, 6, FieldType, 7933915), "");  // another field's check number
    EXPECT_FALSE(fields->setstring(3, 6, "x", FieldType, 7933915));
    EXPECT_FALSE(fields->setstring(1, 1, "x", FieldType, 7634917));  // a 64-bit field
    EXPECT_FALSE(fields->setint64(3, 6, 1, FieldType, 959324));
    EXPECT_EQ(fields->getstringByRef(3, 6, FieldType, 959324), "args");
    EXPECT_EQ(tool.request.getObjectAccessor(true, true, 1, 1, 0x900030d, 11657439, 9, 2), nullptr);

    // A request built with other numbers has no fields, and the run refuses it.
    ToolRequest wrong("args", 9, 38);
    EXPECT_EQ(wrong.request.getObjectAccessor(true, true, 1, 1, 0x900030d, 11657439, 9, 1), nullptr);
    CZxNetwork network;
    zxsRemoteExecuteResponseType response{};
    bool connected = false;
    EXPECT_TRUE(network.ExecRemoteCmdAndWait("hostA", &wrong.request, "local", &response, 120, connected).IsError());
    EXPECT_TRUE(network.ExecRemoteCmdAndWait("hostA", nullptr, "local", &response, 120, connected).IsError());
    EXPECT_FALSE(connected);
}

TEST_F(ClientFakesTest, EventsArchiveQueriesAndHostAnswers)
{
    EvEvent info;
    info << "hostA" << "nightly cleanup";
    info.InfoEvent(0x39000065, 0, 0);
    EvEvent minor;
    minor << 77;
    minor.MinorEvent(0x3900006b, 0, 0);
    EXPECT_EQ(fakes.calls("InfoEvent")[0].args, (Args{"0x39000065", "0", "0", "hostA", "nightly cleanup"}));
    EXPECT_EQ(fakes.calls("MinorEvent")[0].args, (Args{"0x3900006b", "0", "0", "77"}));

    SMVolSnapInfo query;
    query.setJobId(-123456);
    query.setRecoveryPointId(42);
    query.setRetrieveValidFlags(65);
    query.setSnapJobId(9001);
    EXPECT_TRUE(ZXMMSnapAPI(1).getVolumeSnaps(query));
    EXPECT_TRUE(ZXSnapClientAPI().deleteVolumeSnaps(query));
    EXPECT_EQ(fakes.calls("getVolumeSnaps")[0].args, (Args{"-123456", "42", "65", "9001"}));
    EXPECT_EQ(fakes.calls("deleteVolumeSnaps")[0].args, (Args{"-123456", "42", "65", "9001"}));

    ZXJobCtrlClient job;
    fakes.setQuitAfter(2);
    EXPECT_FALSE(job.checkQuitFlag());
    EXPECT_FALSE(job.checkQuitFlag());
    EXPECT_TRUE(job.checkQuitFlag());
    EXPECT_TRUE(job.checkQuitFlag());
    EXPECT_EQ(fakes.calls("checkQuitFlag").size(), 4u);

    ZXPlatformInfo platform;
    EXPECT_EQ(platform.getZXPlatformType(), 0u);
    EXPECT_EQ(platform.getPhysicalMachine(), "replmgr-host");
    fakes.setPlatformType(1);
    fakes.setPhysicalMachine("phys");
    fakes.setDrevhostClientName("drev-client");
    EXPECT_EQ(platform.getZXPlatformType(), 1u);
    EXPECT_EQ(platform.getPhysicalMachine(), "phys");
    char buffer[256];
    ASSERT_TRUE(platform.getDrevhostClientName(buffer, sizeof buffer));
    EXPECT_STREQ(buffer, "drev-client");
    char small[5];
    ASSERT_TRUE(platform.getDrevhostClientName(small, sizeof small));
    EXPECT_STREQ(small, "drev");  // cut, terminated
    ASSERT_TRUE(fakes.failNext("getDrevhostClientName"));
    EXPECT_FALSE(platform.getDrevhostClientName(buffer, sizeof buffer));
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(fakes.calls("getDrevhostClientName")[0].args, Args{"256"});
}

TEST_F(ClientFakesTest, ResetClearsJournalAndScript)
{
    fakes.setSnapResult("snapA", 1);
    fakes.setVolumeGUID("E:\\", "{guid-E}");
    fakes.setToolReturnCode(9);
    fakes.setQuitAfter(0);
    fakes.setPlatformType(1);
    fakes.setPhysicalMachine("phys");
    ASSERT_TRUE(fakes.failNext("DeleteAllSnapsFromVolume"));
    ZXSVCClientSession session("hostA", 12, nullptr, nullptr);
    std::vector<std::string> guids;
    ASSERT_TRUE(session.FindVolumeGUID({"E:\\"}, guids));
    ASSERT_FALSE(fakes.calls().empty());

    fakes.reset();
    EXPECT_TRUE(fakes.calls().empty());
    EXPECT_TRUE(fakes.journalKept());  // the switch stays as the test set it
    EXPECT_TRUE(session.DeleteAllSnapsFromVolume("/dev/sdb"));
    std::vector<ZXSVCClientSnap_t> v1;
    v1.emplace_back("snapA", "g", "m", "s", 0);
    ASSERT_TRUE(session.FLRSnapCleanup(v1));
    EXPECT_EQ(v1[0].m_nResult, 7);
    ASSERT_TRUE(session.FindVolumeGUID({"E:\\"}, guids));
    EXPECT_EQ(guids, Args{""});
    EXPECT_FALSE(ZXJobCtrlClient().checkQuitFlag());
    ZXPlatformInfo platform;
    EXPECT_EQ(platform.getZXPlatformType(), 0u);
    EXPECT_EQ(platform.getPhysicalMachine(), "replmgr-host");
    ToolRequest tool("args");
    zxsRemoteExecuteResponseType response{};
    response.returnCode = -5;
    bool connected = false;
    CZxNetwork network;
    ASSERT_FALSE(network.ExecRemoteCmdAndWait("hostA", &tool.request, "local", &response, 120, connected).IsError());
    EXPECT_EQ(response.returnCode, 0);
    EXPECT_EQ(fakes.calls().size(), 7u);
}

}  // namespace
