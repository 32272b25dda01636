// Example host: loads the replication manager on a session whose network
// prints every reply, posts a few requests and prints the debug log.
#include <cstdio>
#include <string>
#include <vector>

#include "host/EvDebug.h"
#include "host/ZXPlatformInfo.h"
#include "host/ZxFramework.h"
#include "service/ReplicationMgr.h"

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

    CZxNetwork network;
    network.setSendObserver([](unsigned long code, const void*, unsigned long length) {
        std::printf("reply 0x%08lx %s, %lu bytes\n", code, ZXS_ReplicationMgr_PM_STRING(static_cast<unsigned int>(code)),
                    length);
    });
    ZxSessionSend session(&network);
    ReplicationMgr mgr(&session);

    postAndReport(mgr, 0x35000000, nullptr);  // outside the served range
    postAndReport(mgr, 0x35000002, nullptr);  // a reply code, not a request

    std::printf("\n--- debug log ---\n");
    for (const std::string& entry : EvDebug::entries()) std::printf("%s", entry.c_str());
    return 0;
}
