#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "files/ComponentLists.h"
#include "files/FilesPostFixture.h"
#include "host/db/DBtable.h"

namespace {

const unsigned long kSubclientVolumes = 0x350001cb;
const unsigned long kVEHosts = 0x350001cf;
const unsigned long kCopyMgrs = 0x350001d9;

template <typename Element>
struct Listed {
    Status s;
    uint32_t count = 0;
    bool arrayNull = true;
    std::vector<Element> elements;
};

struct VEHost {
    uint32_t clientId;
    std::string hostName;  // "(null)" for a null pointer
    uint32_t flag;
    bool operator==(const VEHost& o) const
    {
        return clientId == o.clientId && hostName == o.hostName && flag == o.flag;
    }
};

struct CopyMgr {
    uint32_t cmcId;
    std::string name;
    uint32_t type, maId, clientId;
    std::string hostName;
    uint32_t osId;
    std::string osName;
    uint64_t reserved;
    bool operator==(const CopyMgr& o) const
    {
        return cmcId == o.cmcId && name == o.name && type == o.type && maId == o.maId && clientId == o.clientId &&
               hostName == o.hostName && osId == o.osId && osName == o.osName && reserved == o.reserved;
    }
};

class ComponentListTest : public FilesPostTest {
protected:
    template <typename Reply, typename Element, typename Read>
    Listed<Element> list(unsigned long code, Read read)
    {
        return post<Reply>(code, nullptr, [&](const Reply& r) {
            Listed<Element> l{StatusOfReply(r), r.count, r.array == nullptr, {}};
            for (uint32_t i = 0; r.array != nullptr && i < r.count; ++i) l.elements.push_back(read(r.array[i]));
            return l;
        });
    }

    Listed<int> volumes()
    {
        return list<repGetSubclientVolumesListResp, int>(kSubclientVolumes, [](int id) { return id; });
    }
    Listed<VEHost> hosts()
    {
        return list<repGetVEHostsResp, VEHost>(kVEHosts, [](const repVEHostRec& h) {
            return VEHost{h.ClientId, WireText(h.NetworkHostName), h.Flag};
        });
    }
    Listed<CopyMgr> copyMgrs()
    {
        return list<repGetCopyMgrCtrlsResp, CopyMgr>(kCopyMgrs, [](const repYBCopyMgrCtrlRec& c) {
            return CopyMgr{c.CMCId,    WireText(c.CMName),      c.CMType, c.MAId,    c.ClientId,
                           WireText(c.NetHostName), c.OSId, WireText(c.OSName), c.Reserved};
        });
    }

    template <typename Element>
    static void expectFailure(const Listed<Element>& l, int code, const std::string& text)
    {
        EXPECT_EQ(l.s.status, 0u);
        EXPECT_EQ(l.s.errCode, code);
        EXPECT_EQ(l.s.msg, text);
        EXPECT_EQ(l.count, 0u);
        EXPECT_TRUE(l.arrayNull);
    }

    template <typename Element>
    static void expectEmpty(const Listed<Element>& l)
    {
        EXPECT_EQ(l.s.status, 1u);
        EXPECT_EQ(l.s.msg, "(null)");
        EXPECT_EQ(l.count, 0u);
        EXPECT_TRUE(l.arrayNull);
    }

    // Subclients 1 (type 50) and 2 (type 47) are active, 3 (type 50) is not,
    // 4 is of type 13. Their current filter entries of type 1 name volumes
    // 12 (twice), 7 and 9.
    void seedSubclients()
    {
        exec("INSERT INTO DHT_Application (id, appTypeId, subclientStatus) VALUES (1, 50, 0), (2, 47, 0), (3, 50, 1), "
             "(4, 13, 0);"
             "INSERT INTO DHT_ScFilterFile (componentNameId, fileName, Type, modified) VALUES "
             "(1, '12' || char(21) || 'abc', 1, 0), (2, '12' || char(21) || 'abc', 1, 0), (2, '7' || char(21), 1, 0), "
             "(1, '9' || char(21) || 'x', 1, 0), (1, '5' || char(21), 2, 0), (1, '6' || char(21), 1, 3), "
             "(3, '4' || char(21), 1, 0), (4, '3' || char(21), 1, 0);");
    }

    // Clients 1 (host h1, platform 2) and 2 (empty host name, platform 4
    // with a listed agent) are VE hosts; 3 is refused by its status. Copy
    // manager controllers 10 (client 1, plain type) and 11 (client 2, an
    // OSSV copy manager with the client's property; system without a name).
    void seedHostsAndCopyMgrs()
    {
        exec("INSERT INTO DHT_OperatingSystem VALUES (3, 'Windows Server', '2019', 'Windows');"
             "INSERT INTO DHT_Client (id, name, net_hostname, status, dhtOperatingSystemId) VALUES "
             "(1, 'c1', 'h1', 0, 3), (2, 'c2', '', 0, 36), (3, 'c3', 'h3', 2, 3);"
             "INSERT INTO DHT_Platform (clientId, platformType) VALUES (1, 2), (2, 4), (3, 2);"
             "INSERT INTO DHT_AgtName (ClientId, appTypeId) VALUES (2, 47);"
             "INSERT INTO DHT_ClientProp (componentNameId, attrName, attrVal, modified) VALUES "
             "(1, 'Other', 'x', 0), (2, 'Open System SnapVault', '1', 0);"
             "INSERT INTO DHCopyManager VALUES (1, 'cm-plain', 2), (2, 'cm-ossv', 5);"
             "INSERT INTO DHCopyManagerCtrl VALUES (10, 1, 1), (11, 2, 2);");
    }
};

}  // namespace

TEST_F(ComponentListTest, SubclientVolumesOfTheActiveSubclients)
{
    expectEmpty(volumes());

    seedSubclients();
    EvDebug::clearEntries();
    Listed<int> l = volumes();
    EXPECT_EQ(l.s.status, 1u);
    EXPECT_EQ(l.s.errCode, 0);
    EXPECT_EQ(l.count, 3u);
    EXPECT_EQ(l.elements, (std::vector<int>{12, 7, 9}));
    EXPECT_EQ(LogEntriesWith("\tSubclient volume id 7 found").size(), 1u);
    EXPECT_EQ(LogEntriesWith("ReplicationMgr::post()\n\tMessage REPLICA_PM_GET_SUBCLIENT_VOLUMES_LIST_REQ completed "
                             "successfully\n\tSending reply REPLICA_PM_GetSubclientVolumesList_RESP to client...")
                  .size(),
              1u);

    // A failure after some rows were read sends none of them.
    HostDBFaults::failNext("fetch", kDbIoError, 2);
    expectFailure(volumes(), -4, "Cannot get the list of volumes associated to the YB subclients from the database");
    EXPECT_EQ(LogEntriesWith("\n\tgetNextRow(YBGetSubclientVolumes &) failed\n\tDB Err Code = 10").size(), 1u);
    // A filter entry without a volume id fails the statement.
    exec("INSERT INTO DHT_ScFilterFile (componentNameId, fileName, Type, modified) VALUES (2, 'no-separator', 1, 0)");
    Listed<int> broken = volumes();
    EXPECT_EQ(broken.s.status, 0u);
    EXPECT_EQ(broken.s.errCode, -4);
    EXPECT_TRUE(broken.arrayNull);

    exec("DELETE FROM DHT_ScFilterFile WHERE fileName = 'no-separator'");
    FailAllocationsAfter(0);
    expectFailure(volumes(), -5, "No memory available to perform operation");
}

TEST_F(ComponentListTest, VEHostsAndCopyManagers)
{
    expectEmpty(hosts());
    expectEmpty(copyMgrs());

    seedHostsAndCopyMgrs();
    EvDebug::clearEntries();
    // An empty host name still points at a text.
    Listed<VEHost> h = hosts();
    EXPECT_EQ(h.s.status, 1u);
    EXPECT_EQ(h.count, 2u);
    EXPECT_EQ(h.elements, (std::vector<VEHost>{{1, "h1", 0}, {2, "", 0}}));
    EXPECT_EQ(LogEntriesWith("\tVE Hosts  h1 found").size(), 1u);
    EXPECT_EQ(LogEntriesWith("\tMessage REPLICA_PM_GET_VE_HOSTS_REQ completed successfully\n\tSending reply "
                             "REPLICA_PM_GET_VE_HOSTS_RESP to client...")
                  .size(),
              1u);

    // An empty text goes out as a null pointer.
    Listed<CopyMgr> c = copyMgrs();
    EXPECT_EQ(c.s.status, 1u);
    EXPECT_EQ(c.elements, (std::vector<CopyMgr>{{10, "cm-plain", 2, 1, 1, "h1", 3, "Windows Server", 0},
                                                 {11, "cm-ossv", 5, 2, 2, "(null)", 36, "(null)", 0}}));

    HostDBFaults::failNext("fetch", kDbIoError, 1);
    expectFailure(hosts(), -4, "Cannot get the list of Volume Explore's hosts from the database");
    EXPECT_EQ(LogEntriesWith("\n\tgetNextRow(YBGetVEHosts &) failed\n\tDB Err Code = 10").size(), 1u);
    HostDBFaults::failNext("fetch", kDbIoError, 1);
    expectFailure(copyMgrs(), -4, "Cannot get the list of copy managers from the database");
    EXPECT_EQ(LogEntriesWith("\n\tgetNextRow(YBGetCopyMgrCtrls &) failed\n\tDB Err Code = 10").size(), 1u);

    FailAllocationsAfter(0);
    expectFailure(hosts(), -5, "No memory available to perform operation");
    expectFailure(copyMgrs(), -5, "No memory available to perform operation");
}
