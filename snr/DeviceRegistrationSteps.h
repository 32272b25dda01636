// Steps of the SNR operations that no other subsystem takes: the controllers
// a device registration activates and the absent form of a volume record.
// Internal to snr/.
#pragma once

#include <cstdint>
#include <vector>

#include "host/db/DBtable.h"
#include "service/ReplicationMgr.h"

namespace snr_detail {

// Deactivates the controllers of the devices, last activated first, and
// empties the list. A deactivation that fails is logged at ERR under the
// source and function given; the others still run.
void DeactivateControllers(ReplicationMgr& mgr, std::vector<int32_t>& devices, DBtran* tran, const char* source,
                           const char* function);

// The controllers one request activates, recorded in `devices` in order.
// Unless kept, they are deactivated again when the guard goes out of scope.
class ActivatedControllers {
public:
    ActivatedControllers(ReplicationMgr& mgr, std::vector<int32_t>& devices, DBtran* tran, const char* source,
                         const char* function)
        : m_mgr(mgr), m_devices(devices), m_tran(tran), m_source(source), m_function(function)
    {
    }
    ~ActivatedControllers()
    {
        if (!m_kept) DeactivateControllers(m_mgr, m_devices, m_tran, m_source, m_function);
    }
    ActivatedControllers(const ActivatedControllers&) = delete;
    ActivatedControllers& operator=(const ActivatedControllers&) = delete;

    void add(int32_t deviceId) { m_devices.push_back(deviceId); }
    // The request succeeded so far: whoever owns its transaction decides.
    void keep() { m_kept = true; }

private:
    ReplicationMgr& m_mgr;
    std::vector<int32_t>& m_devices;
    DBtran* m_tran;
    const char* m_source;
    const char* m_function;
    bool m_kept = false;
};

// A scratch or replication volume record into its wire record, or the
// wire record's absent form when the record's id is -1.
template <typename Wire, typename Record>
void SetOrInvalidate(Wire& wire, const Record& record)
{
    if (record.id == -1)
        Invalidate(wire);
    else
        YBSet(wire, record);
}

}  // namespace snr_detail
