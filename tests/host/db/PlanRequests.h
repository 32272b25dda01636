// Representative requests of every operation that builds its SQL at run time,
// posted against a filled catalogue, for the tests of the statements the
// library runs (their plans, and their cost as the catalogue grows); and the
// whole-table reads some statements need by their purpose.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "host/db/DBStatementRegistry.h"
#include "host/db/DBtable.h"
#include "snr/DeviceMessages.h"
#include "snr/SNRPostFixture.h"

namespace statement_plans {

// A full scan the statement's purpose requires. statement: a registered
// object name or a piece of the SQL text; empty for every statement.
struct Inherent {
    const char* statement;
    const char* table;
    const char* reason;
};

// Every whole-table read a statement's purpose requires.
const std::vector<Inherent>& InherentScans();

// The inherent read of table by the statement of that name (empty for a text
// the library built) and text; null when there is none.
const Inherent* InherentScan(const std::string& name, const std::string& text, const std::string& table);

// The rows the requests add themselves have ids above it, which no seeded
// catalogue reaches.
const int kFreeIds = 20000;

struct Answer {
    unsigned long code = 0;
    size_t size = 0;
    std::vector<char> bytes;
};

// The reply as sent (its texts are gone); all zero when of another size.
template <typename Reply>
Reply ReplyOf(const Answer& a)
{
    Reply reply;
    std::memset(static_cast<void*>(&reply), 0, sizeof(reply));
    if (a.bytes.size() == sizeof(reply)) std::memcpy(static_cast<void*>(&reply), a.bytes.data(), sizeof(reply));
    return reply;
}

// The texts of one device registration while the request points at them.
struct Registration {
    std::string uniqueId;
    int32_t clientId;
    std::string deviceName;
    std::string path;
    std::string historyName;
    repSNRVolumeMountPoint mountPoint;

    repAddSNRDeviceV5Req request()
    {
        repAddSNRDeviceV5Req req;
        req.SNRVolume.UniqueId = RequestText(uniqueId);
        req.SNRVolume.UniqueIdType = 1;
        req.SNRVolume.LUN = 3;
        req.SNRVolume.BlockCount = 4096;
        req.SNRVolume.BlockSize = 512;
        req.SNRVolume.FSType = const_cast<char*>("NTFS");
        req.Device.ClientId = clientId;
        req.Device.DeviceName = RequestText(deviceName);
        mountPoint.Path = RequestText(path);
        req.MountPointCount = 1;
        req.MountPoints = &mountPoint;
        req.HistoryName.GlobalHistoryName = RequestText(historyName);
        return req;
    }
};

class PlanRequestTest : public SNRPostTest<Answer> {
protected:
    void SetUp() override
    {
        SNRPostTest::SetUp();
        DBStatementRegistry::restoreCatalogueStatements();  // whole again, whatever a test before replaced
    }

    Answer decode(const void* data, unsigned long length) override
    {
        Answer a;
        a.bytes.assign(static_cast<const char*>(data), static_cast<const char*>(data) + length);
        return a;
    }

    repAddSNRDeviceV5Response registerDevice(Registration r)
    {
        repAddSNRDeviceV5Req req = r.request();
        return ReplyOf<repAddSNRDeviceV5Response>(post(0x35000206, &req, sizeof(repAddSNRDeviceV5Response)));
    }

    // Posts a request and returns the status of its reply, of layout Reply.
    template <typename Reply, typename Request>
    long long statusOf(unsigned long code, Request request)
    {
        return ReplyOf<Reply>(post(code, &request, sizeof(Reply))).status;
    }

    repSNRVolumeMountPoint mountPoint(int32_t id, int32_t deviceId, const char* path)
    {
        repSNRVolumeMountPoint m;
        m.id = id;
        m.DeviceNameId = deviceId;
        m.Path = const_cast<char*>(path);
        return m;
    }

    // Representative requests of every operation that builds its SQL at run
    // time, through post and through the table classes, on a catalogue whose
    // tables were seeded with ids up to seededRows.
    void runRequests(int seededRows);
};

}  // namespace statement_plans
