// A host outside the library's tree: one ReplicationMgr on a catalogue of its
// own answers one request. Exits with 0 when it was answered exactly once.
#include <cstdio>

#include "host/ZXPlatformInfo.h"
#include "host/ZxFramework.h"
#include "host/db/DBtable.h"
#include "service/ReplicationMgr.h"
#include "snr/SNRMessages.h"

int main(int argc, char** argv)
{
    const char* catalogue = argc > 1 ? argv[1] : "consumer.db";
    ZXPlatformInfo::setValue("EvDebug", "LogFile", "none");
    std::remove(catalogue);
    DBtran::useCatalogue(catalogue);

    CZxNetwork network;
    unsigned long replies = 0;
    network.setSendObserver([&replies](unsigned long, const void*, unsigned long) { ++replies; });
    ZxSessionSend session(&network);
    ReplicationMgr mgr(&session);

    // The global history name of device 7: none in a new catalogue.
    repTzGlobalHistoryNameByDeviceReq request{7};
    zxsDatabuf buf;
    buf.m_pData = &request;
    const unsigned long served = mgr.post(0x35000111, 0, &buf);
    std::printf("served %lu, replies %lu\n", served, replies);
    return served == 1 && replies == 1 ? 0 : 1;
}
