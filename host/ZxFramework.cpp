#include "host/ZxFramework.h"

CWuError CZxNetwork::SendXDRMessage(unsigned long code, zxsDatabuf_v2* buf, int, int, bool& sent) {
    SendObserver observer;
    {
        std::lock_guard<std::mutex> guard(m_mutex);
        if (m_bFailSends) {
            sent = false;
            return CWuError(-1);
        }
        observer = m_observer;
    }
    sent = true;
    if (observer) {
        observer(code, buf ? buf->data() : nullptr, buf ? buf->length() : 0);
    }
    return CWuError(0);
}

void CZxNetwork::setSendObserver(SendObserver observer) {
    std::lock_guard<std::mutex> guard(m_mutex);
    m_observer = std::move(observer);
}

void CZxNetwork::setFailSends(bool fail) {
    std::lock_guard<std::mutex> guard(m_mutex);
    m_bFailSends = fail;
}

unsigned long ZxPostMessageSubsystem::post(unsigned long, unsigned long, zxsDatabuf*) { return 0; }
unsigned long ZxPostMessageSubsystem::close(unsigned long, unsigned long, zxsDatabuf*) { return 0; }
unsigned long ZxPostMessageSubsystem::abort(unsigned long, unsigned long, zxsDatabuf*) { return 0; }

int ZxPostMessageSubsystem::cleanBuffer(unsigned long code, zxsDatabuf* buf) {
    m_cleaned.add({code, buf});
    return 0;
}

std::vector<std::pair<unsigned long, zxsDatabuf*>> ZxPostMessageSubsystem::cleanedBuffers() const {
    return m_cleaned.entries();
}
