// Host message framework: buffers, the network object, the session sender and
// the base class of message subsystems.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "host/HostJournal.h"

// Buffer descriptor: four 64-bit words. Words 0 and 1 are sizes in bytes,
// word 2 belongs to the framework, word 3 points at the data.
struct zxsDatabuf {
    unsigned long m_ulSize = 0;
    unsigned long m_ulLength = 0;
    unsigned long m_ulReserved = 0;
    void* m_pData = nullptr;
};
static_assert(sizeof(zxsDatabuf) == 32, "zxsDatabuf is four 64-bit words");
static_assert(offsetof(zxsDatabuf, m_pData) == 24, "word 3 is the data pointer");

// Owner of one block inside the network buffer.
template <typename T>
class CAutoMemory {
public:
    CAutoMemory() = default;
    CAutoMemory(const CAutoMemory&) = delete;
    CAutoMemory& operator=(const CAutoMemory&) = delete;
    ~CAutoMemory() {
        if (m_bOwner) Release();
    }
    void Release();

    unsigned long long m_ullCount = 0;  // bytes in use
    T* m_pBlock = nullptr;
    unsigned long long m_ullCapacity = 0;  // bytes available
    bool m_bOwner = false;
};
// Releasing the block of a network buffer is done by the message subsystem
// (the replication manager defines it: service/HostClassMembers.cpp).
template <>
void CAutoMemory<char>::Release();

static_assert(sizeof(CAutoMemory<char>) == 32, "count, block, count, flag");
static_assert(offsetof(CAutoMemory<char>, m_pBlock) == 8, "block pointer second");
static_assert(offsetof(CAutoMemory<char>, m_ullCapacity) == 16, "second count third");
static_assert(offsetof(CAutoMemory<char>, m_bOwner) == 24, "ownership flag last");

// Network buffer. An external buffer is referred to, never copied or owned.
class zxsDatabuf_v2 {
public:
    zxsDatabuf_v2() = default;
    zxsDatabuf_v2(const zxsDatabuf_v2&) = delete;
    zxsDatabuf_v2& operator=(const zxsDatabuf_v2&) = delete;

    void setExternalBuffer(char* data, unsigned long length) {
        if (m_oMemory.m_bOwner) m_oMemory.Release();
        m_oMemory.m_pBlock = data;
        m_oMemory.m_ullCount = length;
        m_oMemory.m_ullCapacity = length;
        m_oMemory.m_bOwner = false;
    }
    const char* data() const { return m_oMemory.m_pBlock; }
    unsigned long length() const { return static_cast<unsigned long>(m_oMemory.m_ullCount); }

private:
    CAutoMemory<char> m_oMemory;
};

// Result of a network operation; the first member is the code, negative on
// error, with the text that says why.
class CWuError {
public:
    CWuError() = default;
    explicit CWuError(int code) : m_nCode(code) {}
    CWuError(int code, std::string text) : m_nCode(code), m_sText(std::move(text)) {}
    bool IsError() const;  // defined by the replication manager (service/HostClassMembers.cpp)
    int code() const { return m_nCode; }
    const std::string& text() const { return m_sText; }

private:
    int m_nCode = 0;
    std::string m_sText;
};

class CNMessageBase;
struct zxsRemoteExecuteResponseType;

// The network object behind a session.
class CZxNetwork {
public:
    using SendObserver = std::function<void(unsigned long code, const void* data, unsigned long length)>;

    CZxNetwork() = default;
    CZxNetwork(const CZxNetwork&) = delete;
    CZxNetwork& operator=(const CZxNetwork&) = delete;

    // Sends the buffer's bytes as the message with the given code.
    CWuError SendXDRMessage(unsigned long code, zxsDatabuf_v2* buf, int flags, int timeout, bool& sent);

    // Every message sent through this object is handed to the observer,
    // synchronously, while the buffer it points into is still valid.
    void setSendObserver(SendObserver observer);
    // Makes later sends fail with a negative code.
    void setFailSends(bool fail);

    // Runs the program a remote execute request names on the remote host and
    // waits for it, at most waitLimit seconds; the response's first word is
    // then the program's return code. connected is set while a conversation
    // with the host is open; ReplyDisconnect ends it. The stand-in reaches no
    // host: both calls are journaled in ClientFakes and answered from its
    // script (host/clients/).
    CWuError ExecRemoteCmdAndWait(const char* remoteHost, CNMessageBase* request, const char* localMachine,
                                  zxsRemoteExecuteResponseType* response, int waitLimit, bool& connected);
    CWuError ReplyDisconnect(int waitLimit, bool& connected);

private:
    std::mutex m_mutex;
    SendObserver m_observer;
    bool m_bFailSends = false;
};

class ZxSessionSend {
public:
    explicit ZxSessionSend(CZxNetwork* network) : m_poNetwork(network) {}
    // Sends one reply; 1 when the network accepted it, else 0. Defined by the
    // replication manager (service/HostClassMembers.cpp).
    int sendMessage(unsigned long replyCode, unsigned long subsystem, zxsDatabuf* reply);

    CZxNetwork* m_poNetwork;
};
static_assert(offsetof(ZxSessionSend, m_poNetwork) == 0, "the network object is the first member");

// Base of every message subsystem of the host.
class ZxPostMessageSubsystem {
public:
    explicit ZxPostMessageSubsystem(ZxSessionSend* session) : m_poBaseSession(session) {}

    virtual unsigned long post(unsigned long code, unsigned long param, zxsDatabuf* buf);
    virtual unsigned long close(unsigned long code, unsigned long param, zxsDatabuf* buf);
    virtual unsigned long abort(unsigned long code, unsigned long param, zxsDatabuf* buf);

    // Hands a request buffer back to the framework once it was served.
    int cleanBuffer(unsigned long code, zxsDatabuf* buf);

    // Calls of cleanBuffer made on this object while the host's journals
    // were on (HostJournals::keep), in order.
    std::vector<std::pair<unsigned long, zxsDatabuf*>> cleanedBuffers() const;

protected:
    ~ZxPostMessageSubsystem() = default;

private:
    ZxSessionSend* m_poBaseSession;
    HostJournal<std::pair<unsigned long, zxsDatabuf*>> m_cleaned;
};

// Name of a request or reply code of the replication manager; never null.
const char* ZXS_ReplicationMgr_PM_STRING(unsigned int code);
