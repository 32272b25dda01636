// A catalogue with three devices for the mount-point tests, the replies of
// the mount-point requests decoded as they are sent, the stored rows in a
// comparable form, and an allocator that runs out of memory on demand.
#pragma once

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "host/ZXMMDBDeviceInfo.h"
#include "host/db/SNRTables.h"
#include "snr/MountPoints.h"
#include "snr/SNRPostFixture.h"

// One mount point as a reply carried it; a null path reads "(null)".
struct SentMountPoint {
    int32_t id = 0;
    int32_t deviceId = 0;
    std::string path;
    int32_t caseSensitive = 0;
    int32_t unmounted = 0;
    int32_t clientId = 0;  // entries of the by-volume reply only
};

inline SentMountPoint ReadSent(const repSNRVolumeMountPoint& wire)
{
    SentMountPoint m;
    m.id = wire.id;
    m.deviceId = wire.DeviceNameId;
    m.path = wire.Path ? wire.Path : "(null)";
    m.caseSensitive = wire.IsCaseSensitive;
    m.unmounted = wire.Unmounted;
    return m;
}

struct MountAnswer {
    unsigned long code = 0;
    size_t size = 0;
    uint32_t status = 99;
    bool hasMsg = false;
    std::string msg;
    uint32_t id = 0;  // the new id of an add
    uint32_t count = 99;
    bool arrayNull = true;
    std::vector<SentMountPoint> mountPoints;  // the one of a query by id too
};

// The allocator of reply arrays and path copies: the given number of
// allocations succeed, then every one fails.
inline int& AllocationsLeft()
{
    static int left = 0;
    return left;
}
inline void* LimitedAlloc(size_t bytes)
{
    if (AllocationsLeft() <= 0) return nullptr;
    --AllocationsLeft();
    return malloc(bytes);
}

// Devices 1 (client 2) and 2 (client 3) on SNR volume 5, device 3 (client 4)
// on volume 6; device 4 has no row.
class MountPointTest : public SNRPostTest<MountAnswer> {
protected:
    MountAnswer decode(const void* data, unsigned long length) override
    {
        MountAnswer a;
        switch (m_expected) {
        case 0x35000008:
        case 0x35000076: {
            const auto* r = static_cast<const repRemoveMountPointResponse*>(data);  // same layout as the update's
            a.status = r->status;
            readMessage(a, r->errMsg);
            break;
        }
        case 0x3500000a: {
            const auto* r = static_cast<const repAddMountPointResponse*>(data);
            a.status = r->status;
            a.id = r->MountPointId;
            readMessage(a, r->errMsg);
            break;
        }
        case 0x3500006c: {
            const auto* r = static_cast<const repQuerySNRMountPointByIdResp*>(data);
            a.status = r->status;
            readMessage(a, r->errMsg);
            a.mountPoints.push_back(ReadSent(r->MountPoint));
            break;
        }
        case 0x3500007a: {
            const auto* r = static_cast<const repQuerySNRMountPointBySNRVolIdResp*>(data);
            readList(a, *r);
            for (uint32_t i = 0; r->MountPoints && i < r->count; ++i) {
                a.mountPoints.push_back(ReadSent(r->MountPoints[i].MountPoint));
                a.mountPoints.back().clientId = r->MountPoints[i].ClientId;
            }
            break;
        }
        default: {  // 0x3500005c and 0x3500006e
            const auto* r = static_cast<const repQuerySNRVolMntPointsBySNRVolDevIdResp*>(data);
            readList(a, *r);
            for (uint32_t i = 0; r->MountPoints && i < r->count; ++i) a.mountPoints.push_back(ReadSent(r->MountPoints[i]));
        }
        }
        (void)length;
        return a;
    }

    void SetUp() override
    {
        SNRPostTest::SetUp();
        ZXMMDBDeviceInfo::reset();
        exec("INSERT INTO YBPhysicalDevice (id, ClientId, SNRVolumeId, DeviceName) VALUES"
             " (1, 2, 5, 'dev-1'), (2, 3, 5, 'dev-2'), (3, 4, 6, 'dev-3')");
    }
    void TearDown() override
    {
        AllocReplyArray = &malloc;
        ZXMMDBDeviceInfo::reset();
        SNRPostTest::TearDown();
    }

    // ---- Requests ----

    MountAnswer add(int32_t deviceId, const std::string& path, bool caseSensitive = false, bool unmounted = false)
    {
        repSNRVolumeMountPoint req;
        req.id = 77;  // not used: the id comes from the insert
        req.DeviceNameId = deviceId;
        req.Path = RequestText(path);
        req.IsCaseSensitive = caseSensitive ? 1 : 0;
        req.Unmounted = unmounted ? 1 : 0;
        return send(0x35000009, &req, sizeof(repAddMountPointResponse));
    }
    MountAnswer remove(int32_t id)
    {
        repRemoveMountPointReq req{id};
        return send(0x35000007, &req, sizeof(repRemoveMountPointResponse));
    }
    MountAnswer update(int32_t id, int32_t deviceId, const std::string& path, int32_t caseSensitive,
                       int32_t unmounted = 1)
    {
        repSNRVolumeMountPoint req;
        req.id = id;
        req.DeviceNameId = deviceId;
        req.Path = RequestText(path);
        req.IsCaseSensitive = caseSensitive;
        req.Unmounted = unmounted;  // never read
        return send(0x35000075, &req, sizeof(repUpdateSNRVolumeMountPointResp));
    }
    MountAnswer ofDevice(int32_t deviceId)
    {
        repQuerySNRVolMntPointsBySNRVolDevIdReq req{deviceId};
        return send(0x3500005b, &req, sizeof(repQuerySNRVolMntPointsBySNRVolDevIdResp));
    }
    MountAnswer byId(int32_t id)
    {
        repQuerySNRMountPointByIdReq req{id};
        return send(0x3500006b, &req, sizeof(repQuerySNRMountPointByIdResp));
    }
    MountAnswer byPath(const char* path)
    {
        repQuerySNRMountPointByPathReq req{const_cast<char*>(path)};
        return send(0x3500006d, &req, sizeof(repQuerySNRMountPointByPathResp));
    }
    MountAnswer ofVolume(int32_t volumeId)
    {
        repQuerySNRMountPointBySNRVolIdReq req{volumeId};
        return send(0x35000079, &req, sizeof(repQuerySNRMountPointBySNRVolIdResp));
    }

    // ---- The catalogue ----

    // Stores a mount point row as it is, through the host's table class.
    int32_t store(int32_t deviceId, const std::string& path, int32_t flags = 0)
    {
        YBMountPoint_t row;
        row.DeviceNameId = deviceId;
        std::strncpy(row.Path, path.c_str(), sizeof row.Path - 1);
        row.Flags = flags;
        CSNRVolumeMountPointDB db;
        EXPECT_TRUE(db.insert(row, nullptr));
        return row.id;
    }

    // The stored mount points, one "id:device:path:flags" each, in id order.
    static std::vector<std::string> Rows()
    {
        std::vector<std::string> out;
        for (const YBMountPoint_t& r : StoredRows<YBMountPoint_t, CSNRVolumeMountPointDB>())
            out.push_back(std::to_string(r.id) + ":" + std::to_string(r.DeviceNameId) + ":" + r.Path + ":" +
                          std::to_string(r.Flags));
        return out;
    }

    static std::vector<std::string> Journal() { return ZXMMDBDeviceInfo::journal(); }

    // A failure: status 0 with the text.
    static void expectFailed(const MountAnswer& a, const std::string& text)
    {
        EXPECT_EQ(a.status, 0u);
        EXPECT_TRUE(a.hasMsg);
        EXPECT_EQ(a.msg, text);
    }
    // A failed list reply: status 0, the text, no array.
    static void expectFailedList(const MountAnswer& a, const std::string& text)
    {
        expectFailed(a, text);
        EXPECT_EQ(a.count, 0u);
        EXPECT_TRUE(a.arrayNull);
    }

private:
    MountAnswer send(unsigned long code, void* request, size_t replySize)
    {
        m_expected = code + 1;
        return post(code, request, replySize);
    }
    static void readMessage(MountAnswer& a, const char* msg)
    {
        a.hasMsg = msg != nullptr;
        if (msg) a.msg = msg;
    }
    template <typename Reply>
    static void readList(MountAnswer& a, const Reply& r)
    {
        a.status = r.status;
        readMessage(a, r.errMsg);
        a.count = r.count;
        a.arrayNull = r.MountPoints == nullptr;
    }

    unsigned long m_expected = 0;
};
