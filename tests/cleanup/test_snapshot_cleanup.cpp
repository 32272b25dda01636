// The snapshot cleanup as pruning calls it: the removal from the database
// alone, the regular, snap-vault and transportable runs of the client
// snapshot tool with their command lines, events and fallbacks, and the
// refusal of client names that would change the command line.
#include <string>

#include "cleanup/CleanupFixture.h"

using cleanup_test::Sep;

namespace {

// The regular delete command of snapshot 500 for the "-cn" name.
std::string RegularCommand(const std::string& jobOption, const std::string& name)
{
    return "-o delete -s 10" + Sep + "20" + Sep + Sep + " -r 8 " + jobOption + " -cn " + name;
}

}  // namespace

TEST_F(CleanupTest, EngineTypeZeroRemovesTheRecordAloneAndAnswersAsTheRemoval)
{
    SnapShotCleanupArgs_t args = Snapshot500();
    args.SnapEngineType = 0;
    args.EventText = "pruning";
    EXPECT_TRUE(mgr.SnapshotCleanup(args));
    EXPECT_FALSE(stored(500));
    EXPECT_TRUE(stored(600));
    EXPECT_TRUE(fakes().calls().empty());

    // The removal's own answer: an id it refuses, then a record already gone.
    args.ReplicationVolumeId = -1;
    EXPECT_FALSE(mgr.SnapshotCleanup(args));
    args.ReplicationVolumeId = 500;
    EXPECT_FALSE(mgr.SnapshotCleanup(args));
    EXPECT_TRUE(stored(600));
    EXPECT_TRUE(fakes().calls().empty());
}

TEST_F(CleanupTest, RegularRunSendsTheDeleteCommandAndLeavesTheRecords)
{
    EXPECT_TRUE(mgr.SnapshotCleanup(Snapshot500()));
    ASSERT_EQ(runs().size(), 1u);
    expectRun(runs()[0], "alpha.net", RegularCommand("", "alpha"));
    EXPECT_EQ(fakes().calls("ReplyDisconnect").size(), 1u);
    EXPECT_EQ(fakes().calls("ReplyDisconnect")[0].args, std::vector<std::string>{"120"});
    EXPECT_TRUE(events().empty());  // no event text
    EXPECT_EQ(snapshotCount(), 2);  // the caller removes the record after a deletion

    fakes().reset();
    SnapShotCleanupArgs_t args = Snapshot500();
    args.JobId = 123;
    EXPECT_TRUE(mgr.SnapshotCleanup(args));
    ASSERT_EQ(runs().size(), 1u);
    expectRun(runs()[0], "alpha.net", RegularCommand("-j 123", "alpha"));

    // The SNR volume's flag 0x20 turns a transportable snapshot into a regular one.
    fakes().reset();
    args.JobId = 0;
    args.TransportableSnap = true;
    args.SNRFlag0x20 = true;
    EXPECT_TRUE(mgr.SnapshotCleanup(args));
    ASSERT_EQ(runs().size(), 1u);
    expectRun(runs()[0], "alpha.net", RegularCommand("", "alpha"));
    EXPECT_EQ(snapshotCount(), 2);
}

TEST_F(CleanupTest, LocalMachineNameFollowsThePlatformType)
{
    fakes().setPlatformType(1);
    fakes().setDrevhostClientName("cell-host");
    EXPECT_TRUE(mgr.SnapshotCleanup(Snapshot500()));
    ASSERT_EQ(runs().size(), 1u);
    EXPECT_EQ(runs()[0].args[3], "cell-host");

    fakes().setPlatformType(2);
    fakes().setPhysicalMachine(std::string(300, 'm'));
    EXPECT_TRUE(mgr.SnapshotCleanup(Snapshot500()));
    ASSERT_EQ(runs().size(), 2u);
    EXPECT_EQ(runs()[1].args[3], std::string(255, 'm'));
}

TEST_F(CleanupTest, RegularRunRaisesTheStartAndTheOutcomeEvents)
{
    SnapShotCleanupArgs_t args = Snapshot500();
    args.EventText = "job 77 pruning";
    EXPECT_TRUE(mgr.SnapshotCleanup(args));
    std::vector<ClientCall> raised = events();
    ASSERT_EQ(raised.size(), 2u);
    expectEvent(raised[0], "0x39000065", "alpha.net", "job 77 pruning");
    expectEvent(raised[1], "0x39000066", "alpha.net", "job 77 pruning");
    // Started before the run, told after it.
    std::vector<ClientCall> all = fakes().calls();
    size_t started = 0, ran = 0, told = 0;
    for (size_t i = 0; i < all.size(); ++i) {
        if (all[i].operation == "InfoEvent" && started == 0) started = i + 1;
        if (all[i].operation == "ExecRemoteCmdAndWait") ran = i + 1;
        if (all[i].operation == "InfoEvent") told = i + 1;
    }
    EXPECT_LT(started, ran);
    EXPECT_GT(told, ran);
}

TEST_F(CleanupTest, FailingToolIsAFailureThatLeavesTheRecordsAndRaisesTheFailureEvent)
{
    SnapShotCleanupArgs_t args = Snapshot500();
    args.EventText = "pruning";

    fakes().setToolReturnCode(3);
    EXPECT_FALSE(mgr.SnapshotCleanup(args));
    EXPECT_EQ(snapshotCount(), 2);
    std::vector<ClientCall> raised = events();
    ASSERT_EQ(raised.size(), 2u);
    expectEvent(raised[0], "0x39000065", "alpha.net", "pruning");
    expectEvent(raised[1], "0x39000067", "alpha.net", "pruning");
    EXPECT_EQ(fakes().calls("ReplyDisconnect").size(), 1u);
    std::vector<std::string> logged = LogEntriesWith("\tWarning: ZXSession::executeRemoteCommand() failed\n");
    ASSERT_EQ(logged.size(), 1u);
    EXPECT_NE(logged[0].find("ReplicationMgr::SnapshotCleanup()"), std::string::npos);
    EXPECT_NE(logged[0].find("\n\tClient ID                = 2\n\tClient Name              = alpha.net"
                             "\n\tCommand Args             = -o delete -s 10\\x1520\\x15\\x15 -r 8  -cn alpha"
                             "\n\tRet Code                 = 3\n Msg\t\t\t\t\t\t = "),
              std::string::npos)
        << logged[0];

    // An error object of the network, the tool's code 0 notwithstanding.
    fakes().reset();
    EvDebug::clearEntries();
    ASSERT_TRUE(fakes().failNext("ExecRemoteCmdAndWait"));
    EXPECT_FALSE(mgr.SnapshotCleanup(args));
    EXPECT_EQ(snapshotCount(), 2);
    raised = events();
    ASSERT_EQ(raised.size(), 2u);
    expectEvent(raised[1], "0x39000067", "alpha.net", "pruning");
    EXPECT_EQ(fakes().calls("ReplyDisconnect").size(), 1u);
    logged = LogEntriesWith("executeRemoteCommand() failed");
    ASSERT_EQ(logged.size(), 1u);
    EXPECT_NE(logged[0].find("Msg\t\t\t\t\t\t = Could not reach host alpha.net"), std::string::npos) << logged[0];
}

TEST_F(CleanupTest, UninstalledAgentOrEngineRemovesTheRecordAloneInTheCallersTransaction)
{
    // Client 6 has no agent.
    SnapShotCleanupArgs_t args = Snapshot500();
    args.ClientId = 6;
    args.EventText = "pruning";
    EXPECT_TRUE(mgr.SnapshotCleanup(args));
    EXPECT_FALSE(stored(500));
    EXPECT_TRUE(stored(600));
    EXPECT_TRUE(runs().empty());
    EXPECT_TRUE(events().empty());
    EXPECT_EQ(LogEntriesWith("\tYB has been uninstalled. Removing snapshot from the DB only\n\tClient Id = 6"
                             "\n\tHost Name = delta.net")
                  .size(),
              1u);

    // Client 4 has the agent but not the engine of type 7 (package 1066),
    // and the removal runs in the transaction given: rolled back, it is undone.
    insertSnapshot(500, 2, 10, 20);
    DBtran tran;
    ASSERT_EQ(tran.startTran(), 0);
    args.ClientId = 4;
    args.SnapEngineType = 7;
    args.Tran = &tran;
    EXPECT_TRUE(mgr.SnapshotCleanup(args));
    EXPECT_TRUE(runs().empty());
    EXPECT_EQ(LogEntriesWith("\tSnapshot engine has been uninstalled. Removing snapshot from the DB only"
                             "\n\tClient Id = 4\n\tApp Type  = 1066\n\tHost Name = gamma.net")
                  .size(),
              1u);
    ASSERT_EQ(tran.rollbackTran(), 0);
    EXPECT_TRUE(stored(500));

    // A removal that fails is the cleanup's failure.
    HostDBFaults::failNext("remove", 5);
    args.Tran = nullptr;
    EXPECT_FALSE(mgr.SnapshotCleanup(args));
    EXPECT_TRUE(stored(500));
    EXPECT_TRUE(runs().empty());
}

TEST_F(CleanupTest, EngineChecksOfEachSnapEngineType)
{
    bool installed = true;
    EXPECT_FALSE(mgr.IsYBInstalled(2, 1, nullptr));

    // Type 6 needs the agent alone; client 4 has no package for it.
    EXPECT_TRUE(mgr.IsYBInstalled(4, 6, &installed));
    EXPECT_TRUE(installed);
    // Type 5: package 1031, else the older 1029.
    EXPECT_TRUE(mgr.IsYBInstalled(4, 5, &installed));
    EXPECT_FALSE(installed);
    EXPECT_EQ(LogEntriesWith("\n\tClient Id = 4\n\tApp Type  = 1029\n\tHost Name = gamma.net").size(), 1u);
    ASSERT_EQ(HostConfig::addPackage(4, 1029), 0);
    EXPECT_TRUE(mgr.IsYBInstalled(4, 5, &installed));
    EXPECT_TRUE(installed);
    // A type without an application type cannot be checked.
    EXPECT_FALSE(mgr.IsYBInstalled(4, 9, &installed));
    EXPECT_FALSE(mgr.IsYBInstalled(4, -1, &installed));
    // A check that fails.
    HostConfig::failNext("isInstalled", 7);
    EXPECT_FALSE(mgr.IsYBInstalled(2, 1, &installed));
    std::vector<std::string> logged =
        LogEntriesWith("\tCannot check the client's snapshot engine installation status\n\tApp Mgr Code     = 7");
    ASSERT_EQ(logged.size(), 1u);
    EXPECT_NE(logged[0].find("\n\tClient Id        = 2\n\tApp Type\t     = 1007\n\tSnap Engine Type = 1"
                             "\n\tHost Name        = alpha.net"),
              std::string::npos)
        << logged[0];

    // A read of the agent that fails leaves the state undetermined, the
    // read of beta's alternative agent, second, too; read again, the agent is
    // there.
    HostConfig::failNext("isAppTypeInstalled", 7);
    EXPECT_FALSE(mgr.IsYBInstalled(2, 1, &installed));
    HostDBFaults::failNext("config.isAppTypeInstalled", 8, 1);
    EXPECT_FALSE(mgr.IsYBInstalled(3, 1, &installed));
    EXPECT_EQ(LogEntriesWith("\tCannot check the client's agent installation status\n\tApp Mgr Code     = 8"
                             "\n\tClient Id        = 3\n\tApp Type\t     = 50\n\tHost Name        = beta.net")
                  .size(),
              1u);
    EXPECT_TRUE(LogEntriesWith("\tYB has been uninstalled").empty());
    EXPECT_TRUE(mgr.IsYBInstalled(3, 1, &installed));
    EXPECT_TRUE(installed);

    const int table[][2] = {{1, 1007}, {2, 1008}, {3, 1013}, {4, 1017}, {5, 1031},
                            {6, 1007}, {7, 1066}, {0, 0},    {8, 0},    {-1, 0}};
    for (const auto& row : table) EXPECT_EQ(mgr.GetAppTypeBySnapEngineType(row[0]), row[1]) << row[0];

    // The cleanup fails with the check and runs nothing.
    SnapShotCleanupArgs_t args = Snapshot500();
    args.SnapEngineType = 9;
    EXPECT_FALSE(mgr.SnapshotCleanup(args));
    HostConfig::failNext("isInstalled");
    EXPECT_FALSE(mgr.SnapshotCleanup(Snapshot500()));
    EXPECT_TRUE(runs().empty());
    EXPECT_EQ(snapshotCount(), 2);
}

TEST_F(CleanupTest, ClientWithoutHostNameFailsBeforeAnythingRuns)
{
    SnapShotCleanupArgs_t args = Snapshot500();
    args.ClientId = 99;
    args.EventText = "pruning";
    EXPECT_FALSE(mgr.SnapshotCleanup(args));
    EXPECT_TRUE(fakes().calls().empty());
    EXPECT_EQ(snapshotCount(), 2);
    EXPECT_EQ(LogEntriesWith("\tCould not get client name\n\tClient ID = 99").size(), 1u);
}

// ---- Snap-vault volumes ------------------------------------------------------------

class SnapVaultCleanupTest : public CleanupTest {
protected:
    void SetUp() override
    {
        CleanupTest::SetUp();
        insertSnapshot(501, 5, 10, 20);
    }
    static SnapShotCleanupArgs_t Snapshot501()
    {
        SnapShotCleanupArgs_t a = Snapshot500();
        a.SnapVault = true;
        a.ReplicationVolumeId = 501;
        return a;
    }
    static std::string Command(const std::string& toolClient)
    {
        return "-o delete -s 30" + Sep + "20" + Sep + Sep + " -r 8 -client " + toolClient + " -cn beta";
    }
};

TEST_F(SnapVaultCleanupTest, OneSnapshotRunsTheToolOnTheSourceDevicesClientWithoutEvents)
{
    SnapShotCleanupArgs_t args = Snapshot501();
    args.EventText = "pruning";
    EXPECT_TRUE(mgr.SnapshotCleanup(args));
    ASSERT_EQ(runs().size(), 1u);
    expectRun(runs()[0], "beta.net", Command("2"));
    EXPECT_EQ(fakes().calls("ReplyDisconnect").size(), 1u);
    EXPECT_TRUE(events().empty());
    EXPECT_EQ(snapshotCount(), 3);

    // Engine type 7 names the device's client after "-client".
    fakes().reset();
    args.SnapEngineType = 7;
    EXPECT_TRUE(mgr.SnapshotCleanup(args));
    ASSERT_EQ(runs().size(), 1u);
    expectRun(runs()[0], "beta.net", Command("3"));
}

TEST_F(SnapVaultCleanupTest, SeveralSnapshotsRemoveOnlyTheMatchingRecord)
{
    insertSnapshot(502, 5, 11, 20);
    SnapShotCleanupArgs_t args = Snapshot501();
    args.PrimaryVolumeId = 12;  // matches neither
    EXPECT_FALSE(mgr.SnapshotCleanup(args));
    EXPECT_EQ(snapshotCount(), 4);

    args.PrimaryVolumeId = 11;
    EXPECT_TRUE(mgr.SnapshotCleanup(args));
    EXPECT_FALSE(stored(502));
    EXPECT_TRUE(stored(501));
    EXPECT_EQ(snapshotCount(), 3);
    EXPECT_TRUE(fakes().calls().empty());
}

TEST_F(SnapVaultCleanupTest, FailuresFallbacksAndMissingDevices)
{
    fakes().setToolReturnCode(1);
    EXPECT_FALSE(mgr.SnapshotCleanup(Snapshot501()));
    EXPECT_EQ(snapshotCount(), 3);
    EXPECT_EQ(fakes().calls("ReplyDisconnect").size(), 1u);
    std::vector<std::string> logged = LogEntriesWith("executeRemoteCommand() failed");
    ASSERT_EQ(logged.size(), 1u);
    EXPECT_NE(logged[0].find("ReplicationMgr::SnapvaultSnapshotCleanup()"), std::string::npos);
    EXPECT_NE(logged[0].find("\n\tClient ID                = 2\n\tClient Name              = beta.net"),
              std::string::npos)
        << logged[0];
    EXPECT_EQ(LogEntriesWith("\nCheck the ZXSnapTool and SnapVaultSnap logs on machine [beta.net] for details.\n")
                  .size(),
              1u);

    // Client 3 lacks the engine of type 2: the record of the arguments goes.
    fakes().reset();
    SnapShotCleanupArgs_t args = Snapshot501();
    args.SnapEngineType = 2;
    EXPECT_TRUE(mgr.SnapshotCleanup(args));
    EXPECT_FALSE(stored(501));
    EXPECT_TRUE(runs().empty());

    // A source volume without devices, and an SNR volume that does not exist.
    insertSnapshot(501, 5, 11, 20);
    args = Snapshot501();
    args.PrimaryVolumeId = 11;
    EXPECT_FALSE(mgr.SnapshotCleanup(args));
    args.PhysicalVolumeId = 77;
    EXPECT_FALSE(mgr.SnapshotCleanup(args));
    EXPECT_TRUE(runs().empty());
    EXPECT_EQ(snapshotCount(), 3);
}

// ---- Transportable snapshots ----------------------------------------------------------

class TransportableCleanupTest : public CleanupTest {
protected:
    static SnapShotCleanupArgs_t Transportable500()
    {
        SnapShotCleanupArgs_t a = Snapshot500();
        a.TransportableSnap = true;
        a.EventText = "pruning";
        return a;
    }
    static std::string ImportCommand(const std::string& client, const std::string& name)
    {
        return "-s " + Sep + "10" + Sep + "20" + Sep + Sep + " -o import -client " + client + " -cn " + name;
    }
    int addSubclient(const std::string& importHost, bool deleted = false)
    {
        HostSubclientSeed s;
        s.clientId = 2;
        s.appTypeId = 47;
        s.name = "pair";
        s.deleted = deleted;
        s.defaultImportHost = importHost;
        EXPECT_EQ(HostConfig::addSubclient(s), 0);
        EXPECT_EQ(HostConfig::addSubclientVolume(s.id, 10), 0);
        return s.id;
    }
};

TEST_F(TransportableCleanupTest, WithoutSubclientsTheSourceHostImportsThenTheVolumesClientDeletes)
{
    EXPECT_TRUE(mgr.SnapshotCleanup(Transportable500()));
    ASSERT_EQ(runs().size(), 2u);
    expectRun(runs()[0], "alpha.net", ImportCommand("2", "alpha"));
    expectRun(runs()[1], "alpha.net", RegularCommand("", "alpha"));
    EXPECT_EQ(fakes().calls("ReplyDisconnect").size(), 2u);
    std::vector<ClientCall> raised = events();  // around the delete only
    ASSERT_EQ(raised.size(), 2u);
    expectEvent(raised[0], "0x39000065", "alpha.net", "pruning");
    expectEvent(raised[1], "0x39000066", "alpha.net", "pruning");
    EXPECT_EQ(LogEntriesWith("\tSubclient list associated with volume 10 is empty. Trying with source host").size(),
              1u);
    EXPECT_EQ(LogEntriesWith("\tRunning import command in alpha.net").size(), 1u);
    EXPECT_EQ(snapshotCount(), 2);
}

TEST_F(TransportableCleanupTest, TheSubclientsDefaultImportHostImports)
{
    // One subclient naming the host by its client name.
    addSubclient("gamma");
    EXPECT_TRUE(mgr.SnapshotCleanup(Transportable500()));
    ASSERT_EQ(runs().size(), 2u);
    expectRun(runs()[0], "gamma.net", ImportCommand("4", "gamma"));
    expectRun(runs()[1], "alpha.net", RegularCommand("", "alpha"));

    // Several: a deleted one is passed over, the next names the host by its
    // network name.
    fakes().reset();
    exec("DELETE FROM DHT_ScFilterFile");
    addSubclient("beta", true);
    addSubclient("gamma.net");
    EXPECT_TRUE(mgr.SnapshotCleanup(Transportable500()));
    ASSERT_EQ(runs().size(), 2u);
    expectRun(runs()[0], "gamma.net", ImportCommand("4", "gamma"));
    EXPECT_EQ(LogEntriesWith("has been deleted. Trying with another one").size(), 1u);
    EXPECT_EQ(LogEntriesWith("\tMore than one subclient is using the source volume 10\n\tPicking host gamma.net").size(),
              1u);
}

TEST_F(TransportableCleanupTest, FailedImportStopsWithoutDisconnectOrDelete)
{
    addSubclient("gamma");
    fakes().setToolReturnCode(2);
    EXPECT_FALSE(mgr.SnapshotCleanup(Transportable500()));
    ASSERT_EQ(runs().size(), 1u);
    expectRun(runs()[0], "gamma.net", ImportCommand("4", "gamma"));
    EXPECT_TRUE(fakes().calls("ReplyDisconnect").empty());
    EXPECT_TRUE(events().empty());
    EXPECT_EQ(snapshotCount(), 2);
    std::vector<std::string> logged =
        LogEntriesWith("\tWarning: ZXSession::executeRemoteCommand() failed in the import phase");
    ASSERT_EQ(logged.size(), 1u);
    EXPECT_NE(logged[0].find("\n\tClient ID                = 4\n\tClient Name              = gamma\n"),
              std::string::npos)
        << logged[0];
}

TEST_F(TransportableCleanupTest, ImportHostFallbacksAndRefusals)
{
    // An import host nobody knows.
    addSubclient("nowhere");
    EXPECT_FALSE(mgr.SnapshotCleanup(Transportable500()));
    EXPECT_EQ(LogEntriesWith("\tCannot find id for default import host (Network name)\n\tDefault host = nowhere").size(),
              1u);
    EXPECT_TRUE(runs().empty());

    // The subclient query failing falls back to the source host.
    HostConfig::failNext("getSCListHavingVolId", 4);
    EXPECT_TRUE(mgr.SnapshotCleanup(Transportable500()));
    EXPECT_EQ(LogEntriesWith("\tEvent: Cannot find the subclient used for the transportable snapshot [4]. "
                             "Trying with source host")
                  .size(),
              1u);
    ASSERT_EQ(runs().size(), 2u);
    expectRun(runs()[0], "alpha.net", ImportCommand("2", "alpha"));

    // An import client without the agent: the record alone goes, nothing runs.
    fakes().reset();
    exec("DELETE FROM DHT_ScFilterFile");
    addSubclient("delta");
    EXPECT_TRUE(mgr.SnapshotCleanup(Transportable500()));
    EXPECT_FALSE(stored(500));
    EXPECT_TRUE(runs().empty());
}

// ---- Client names that would change the command line -----------------------------------

TEST_F(CleanupTest, NameWithADoubleQuoteOrControlCharacterRunsNothing)
{
    SnapShotCleanupArgs_t args = Snapshot500();
    args.EventText = "pruning";
    for (const char* name : {"al\"pha", "al\x15pha", "alpha\n-o delete", "al\x7fpha"}) {
        SCOPED_TRACE(name);
        fakes().reset();
        EvDebug::clearEntries();
        exec("UPDATE DHT_Client SET name = " + std::string("'") + name + "' WHERE id = 2");
        EXPECT_FALSE(mgr.SnapshotCleanup(args));
        EXPECT_TRUE(runs().empty());
        EXPECT_TRUE(events().empty());
        EXPECT_EQ(snapshotCount(), 2);
        std::vector<std::string> logged = LogEntriesWith("it holds a double quote or a control character");
        ASSERT_EQ(logged.size(), 1u);
        EXPECT_EQ(logged[0].find("ReplicationMgrSnapCleanup["), 0u);
        EXPECT_NE(logged[0].find("\n\tClient ID   = 2\n\tClient Name = " + EvDebug::escaped(name) + "\n"),
                  std::string::npos)
            << logged[0];
    }

    // The snap-vault and the import commands refuse it too.
    insertSnapshot(501, 5, 10, 20);
    args.SnapVault = true;
    args.ReplicationVolumeId = 501;
    exec("UPDATE DHT_Client SET name = 'be\"ta' WHERE id = 3");
    EXPECT_FALSE(mgr.SnapshotCleanup(args));
    args = Snapshot500();
    args.TransportableSnap = true;
    EXPECT_FALSE(mgr.SnapshotCleanup(args));
    EXPECT_TRUE(runs().empty());
    EXPECT_EQ(snapshotCount(), 3);
}

TEST_F(CleanupTest, CommandLineThatWouldNotFitItsBufferIsRefusedNotCut)
{
    const size_t prefix = RegularCommand("", "").size();
    const std::string fits(4095 - prefix, 'n');  // the buffer's last byte is the terminating zero
    exec("UPDATE DHT_Client SET name = '" + fits + "' WHERE id = 2");
    EXPECT_TRUE(mgr.SnapshotCleanup(Snapshot500()));
    ASSERT_EQ(runs().size(), 1u);
    EXPECT_EQ(runs()[0].args[1], RegularCommand("", fits));
    EXPECT_EQ(runs()[0].args[1].size(), 4095u);

    fakes().reset();
    exec("UPDATE DHT_Client SET name = '" + fits + "n' WHERE id = 2");
    SnapShotCleanupArgs_t args = Snapshot500();
    args.EventText = "pruning";
    EXPECT_FALSE(mgr.SnapshotCleanup(args));
    EXPECT_TRUE(runs().empty());
    EXPECT_TRUE(events().empty());
    std::vector<std::string> logged = LogEntriesWith("command arguments do not fit their buffer");
    ASSERT_EQ(logged.size(), 1u);
    EXPECT_NE(logged[0].find("\n\tLength    = 4096\n\tLimit     = 4095"), std::string::npos) << logged[0];
}
