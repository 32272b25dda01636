// Example host: loads the replication manager on a session whose network
// prints every reply, posts a few requests and prints the debug log.
#include <cstdio>
#include <string>
#include <vector>

#include "host/EvDebug.h"
#include "host/ZXPlatformInfo.h"
#include "host/ZxFramework.h"
#include "host/db/DBtable.h"
#include "service/ReplicationMgr.h"
#include "snr/SNRMessages.h"

namespace {

void postAndReport(ReplicationMgr& mgr, unsigned long code, void* request) {
    zxsDatabuf buf;
    buf.m_pData = request;
    unsigned long served = mgr.post(code, 0, &buf);
    std::printf("post 0x%08lx %s -> %lu\n", code, ZXS_ReplicationMgr_PM_STRING(static_cast<unsigned int>(code)),
                served);
}

}  // namespace

int main() {
    // The debug log is printed at the end; keep it off standard error.
    ZXPlatformInfo::setValue("EvDebug", "LogFile", "none");
    ZXPlatformInfo::setValue("~ReplicationMgr", "VerboseLevel", "0");

    // A fresh catalogue on every run, so that reruns answer alike.
    const char* catalogue = "example.db";
    std::remove(catalogue);
    DBtran::useCatalogue(catalogue);

    CZxNetwork network;
    network.setSendObserver([](unsigned long code, const void* data, unsigned long length) {
        std::printf("reply 0x%08lx %s, %lu bytes\n", code, ZXS_ReplicationMgr_PM_STRING(static_cast<unsigned int>(code)),
                    length);
        if (code == 0x3500010c && length == sizeof(repAddGlobalHistoryNameResp)) {
            const auto* r = static_cast<const repAddGlobalHistoryNameResp*>(data);
            std::printf("  status %u, code %d, message %s\n", r->status, r->errCode, r->errMsg ? r->errMsg : "(none)");
        } else if (code == 0x35000112 && length == sizeof(repQueryTzGlobalHistoryNameResp)) {
            const auto* r = static_cast<const repQueryTzGlobalHistoryNameResp*>(data);
            std::printf("  status %u, code %d, message %s, device %d, history name %s\n", r->status, r->errCode,
                        r->errMsg ? r->errMsg : "(none)", r->HistoryName.DeviceId,
                        r->HistoryName.GlobalHistoryName ? r->HistoryName.GlobalHistoryName : "(none)");
        }
    });
    ZxSessionSend session(&network);
    ReplicationMgr mgr(&session);

    postAndReport(mgr, 0x35000000, nullptr);  // outside the served range
    postAndReport(mgr, 0x35000002, nullptr);  // a reply code, not a request

    // A history name for device 7, added twice (the second add finds it
    // already there), then queried back; then a query for a device without one.
    repYBTzHistoryNameRec name;
    name.DeviceId = 7;
    name.GlobalHistoryName = const_cast<char*>("example-history");
    postAndReport(mgr, 0x3500010b, &name);
    postAndReport(mgr, 0x3500010b, &name);
    repTzGlobalHistoryNameByDeviceReq byDevice{7};
    postAndReport(mgr, 0x35000111, &byDevice);
    repTzGlobalHistoryNameByDeviceReq missing{8};
    postAndReport(mgr, 0x35000111, &missing);

    std::printf("\n--- debug log ---\n");
    for (const std::string& entry : EvDebug::entries()) std::printf("%s", entry.c_str());
    return 0;
}
