// A catalogue with clients, SNR volumes and snapshots for the tests of the
// snapshot cleanup and the client actions, called as pruning and the scratch
// volumes call them, with the client-side fakes journaling every call.
//
// Clients: 2 "alpha" (alpha.net; agent 47, engine packages 1007 and 1066),
// 3 "beta" (beta.net; agent 50, packages 1007 and 1066), 4 "gamma"
// (gamma.net; agent 47, package 1007), 6 "delta" (delta.net; no agent).
// SNR volume 10 (the source) has the devices of 3 and 2; volume 20 (holding
// the snapshots) the device of 2. Replication volume 500 is a snapshot of 10
// on 20 (role 2, policy 8, snap volume 30, engine 1); 600 another volume's
// record that no cleanup may touch.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cleanup/SnapshotCleanup.h"
#include "host/HostConfig.h"
#include "host/clients/ClientFakes.h"
#include "host/db/DBtable.h"
#include "service/ReplicationMgr.h"
#include "support/ClientFakesScope.h"
#include "support/TestCatalogue.h"
#include "support/TestHost.h"

namespace cleanup_test {

// The "-s" separator, as a text to build expected command lines from.
const std::string Sep = "\x15";

inline HostClientSeed Client(int id, const std::string& name, const std::string& netHostName)
{
    HostClientSeed c;
    c.id = id;
    c.name = name;
    c.netHostName = netHostName;
    return c;
}

}  // namespace cleanup_test

class CleanupTest : public CatalogueTest {
protected:
    void SetUp() override
    {
        CatalogueTest::SetUp();
        using cleanup_test::Client;
        for (HostClientSeed c : {Client(2, "alpha", "alpha.net"), Client(3, "beta", "beta.net"),
                                 Client(4, "gamma", "gamma.net"), Client(6, "delta", "delta.net")})
            ASSERT_EQ(HostConfig::addClient(c), 0);
        for (auto agent : {std::pair<int, int>{2, 47}, {3, 50}, {4, 47}})
            ASSERT_EQ(HostConfig::addAgent(agent.first, agent.second), 0);
        for (auto package : {std::pair<int, int>{2, 1007}, {2, 1066}, {3, 1007}, {3, 1066}, {4, 1007}})
            ASSERT_EQ(HostConfig::addPackage(package.first, package.second), 0);

        exec("INSERT INTO YBPhysicalVolume (id, UniqueId, Type) VALUES (10, 'uid-10', 1), (11, 'uid-11', 1), "
             "(20, 'uid-20', 1), (30, 'uid-30', 1)");
        exec("INSERT INTO YBPhysicalDevice (id, ClientId, SNRVolumeId, DeviceName) VALUES "
             "(100, 3, 10, 'dev-100'), (101, 2, 10, 'dev-101'), (200, 2, 20, 'dev-200')");
        insertSnapshot(500, 2, 10, 20);
        insertSnapshot(600, 2, 11, 30);
    }

    void TearDown() override
    {
        HostDBFaults::clear();
        CatalogueTest::TearDown();
    }

    void insertSnapshot(int id, int role, int primary, int physical, int engine = 1)
    {
        exec("INSERT INTO YBVolume (id, CurrentRole, PrimaryVolumeId, PhysicalVolumeId, ReplicationPolicyId, "
             "SnapVolumeId, SnapEngineType, JobId) VALUES (" +
             std::to_string(id) + ", " + std::to_string(role) + ", " + std::to_string(primary) + ", " +
             std::to_string(physical) + ", 8, 30, " + std::to_string(engine) + ", 77)");
    }

    bool stored(int replicationVolumeId)
    {
        return scalar("SELECT COUNT(*) FROM YBVolume WHERE id = " + std::to_string(replicationVolumeId)) == 1;
    }
    long long snapshotCount() { return scalar("SELECT COUNT(*) FROM YBVolume"); }

    // Snapshot 500 as pruning asks for it on client 2.
    static SnapShotCleanupArgs_t Snapshot500()
    {
        SnapShotCleanupArgs_t a;
        a.ClientId = 2;
        a.PrimaryVolumeId = 10;
        a.PhysicalVolumeId = 20;
        a.ReplicationPolicyId = 8;
        a.SnapVolumeId = 30;
        a.SnapEngineType = 1;
        a.ReplicationVolumeId = 500;
        return a;
    }

    static ClientFakes& fakes() { return ClientFakesScope::fakes(); }
    static std::vector<ClientCall> runs() { return fakes().calls("ExecRemoteCmdAndWait"); }
    static std::vector<ClientCall> events()
    {
        std::vector<ClientCall> all;
        for (const ClientCall& c : fakes().calls())
            if (c.operation == "InfoEvent" || c.operation == "MinorEvent") all.push_back(c);
        return all;
    }

    // One run of the tool on the host with the command arguments, field by field.
    static void expectRun(const ClientCall& run, const std::string& host, const std::string& command)
    {
        EXPECT_EQ(run.client, host);
        ASSERT_EQ(run.args.size(), 5u);
        EXPECT_EQ(run.args[0], "ZXSnapTool.exe");
        EXPECT_EQ(run.args[1], command);
        EXPECT_EQ(run.args[2], "0");
        EXPECT_EQ(run.args[3], "replmgr-host");
        EXPECT_EQ(run.args[4], "120");
    }
    // A cleanup event: its id, the two numbers, then the host name and the text.
    static void expectEvent(const ClientCall& event, const char* id, const std::string& host, const std::string& text)
    {
        EXPECT_EQ(event.operation, "InfoEvent");
        EXPECT_EQ(event.args, (std::vector<std::string>{id, "0", "0", host, text}));
    }

    QuietHost quiet;
    RecordingNetwork net;
    ReplicationMgr mgr{&net.session};
    ClientFakesScope clientFakes;
};
