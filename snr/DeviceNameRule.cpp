// The duplicate-name rule of device names.
#include "snr/DeviceNameRule.h"

#include "host/db/SNRTables.h"
#include "host/db/SqlText.h"
#include "service/HeldRows.h"
#include "service/RecordConversion.h"
#include "snr/SNRRecords.h"

const char snr_detail::DeviceNameOrder[] = "id ASC";

std::string snr_detail::DeviceNameWhere(int clientId, const std::string& name)
{
    return "ClientId = " + std::to_string(clientId) + " AND DeviceName = '" + SqlEscape(name) + "'";
}

snr_detail::DeviceNameCheck snr_detail::CheckDeviceName(int clientId, const std::string& name, int skipId,
                                                        DBtran* tran)
{
    DeviceNameCheck check;
    CSNRVolumeDeviceNameDB deviceDB;
    steps::HeldRows<YBPhysicalDevice_t> found(deviceDB);
    const std::string where = DeviceNameWhere(clientId, name);
    if (!deviceDB.getList(found.rows, found.count, where.c_str(), DeviceNameOrder, tran)) {
        check.dbCode = deviceDB.getErrorCode();
        return check;
    }
    check.listed = true;
    for (unsigned int i = 0; i < found.count; ++i) {
        const YBPhysicalDevice_t& row = found.rows[i];
        if (skipId > 0 && row.id == skipId) continue;
        const std::string stored = YBColumnText(row.DeviceName);
        const bool caseSensitive = YBFlagBit(row.Flags, SNRDEV_FLAG_IS_CASE_SENSITIVE);
        const bool same = caseSensitive ? stored == name : FXString::CompareNoCase(stored, name) == 0;
        if (!same) continue;
        check.taken = true;
        check.caseSensitive = caseSensitive;
        break;
    }
    return check;
}
