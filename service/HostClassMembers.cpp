// The members of the host's classes that this library defines: the 32-bit
// configuration read, the event's argument chaining, the send of a reply,
// the release of a network buffer's block and the test of a network result.
//
// The host's headers declare them, but what they do is the replication
// manager's own (the reply's descriptor, the argument types and byte order of
// events, the low bits kept of a setting): a host that brings its real
// framework in place of the stand-ins still takes these from the library, so
// they live here and the stand-ins in host/ never define them.
#include "host/EvDebug.h"
#include "host/ZXPlatformInfo.h"
#include "host/ZxFramework.h"

unsigned int ZXPlatformInfo::getNumber(const char* section, const char* key, unsigned int* value) {
    unsigned long wide = 0;
    unsigned int rc = getNumber(section, key, &wide);
    if (rc != 0) *value = static_cast<unsigned int>(wide);
    return rc;
}

EvEvent& EvEvent::operator<<(const char* text) {
    addArgument(text, ARG_TEXT);
    return *this;
}

EvEvent& EvEvent::operator<<(int value) {
    int local = value;
    littleEndianInt(&local);
    addArgument(&local, ARG_INT32);
    return *this;
}

int ZxSessionSend::sendMessage(unsigned long replyCode, unsigned long, zxsDatabuf* reply) {
    zxsDatabuf_v2 buffer;
    if (reply != nullptr) {
        buffer.setExternalBuffer(static_cast<char*>(reply->m_pData), reply->m_ulLength);
    }
    bool flag = false;
    CWuError err = m_poNetwork->SendXDRMessage(replyCode, &buffer, 0, 300, flag);
    return err.IsError() ? 0 : 1;
}

template <>
void CAutoMemory<char>::Release() {
    if (m_pBlock == nullptr) return;
    delete[] m_pBlock;
    m_pBlock = nullptr;
    m_ullCount = 0;
    m_ullCapacity = m_ullCount;
}

bool CWuError::IsError() const { return m_nCode < 0; }
