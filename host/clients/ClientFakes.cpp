#include "host/clients/ClientFakes.h"

#include <algorithm>
#include <utility>

namespace {

// Operations whose calls a test can make fail.
const char* const FailingOperations[] = {
    "FLRSnapCleanup",       "FLRSnapCleanupV2",         "FindVolumeGUID",
    "removeVolumeMountPoint", "SetBlockFilterDriver",   "DeleteAllSnapsFromVolume",
    "FLRDelSnaps",          "getVolumeSnaps",           "deleteVolumeSnaps",
    "ExecRemoteCmdAndWait", "ReplyDisconnect",          "deleteSnapVaultReplica",
    "getDrevhostClientName",
};

bool canFail(const std::string& operation)
{
    return std::find(std::begin(FailingOperations), std::end(FailingOperations), operation) !=
           std::end(FailingOperations);
}

// Host result bits of a snapshot nobody scripted: share removed, unmounted, destroyed.
const int AllDone = 7;

}  // namespace

ClientFakes& ClientFakes::instance()
{
    static ClientFakes fakes;
    return fakes;
}

void ClientFakes::keepJournal(bool on)
{
    std::lock_guard<std::mutex> guard(m_mutex);
    m_bKeepJournal = on;
}

bool ClientFakes::journalKept() const
{
    std::lock_guard<std::mutex> guard(m_mutex);
    return m_bKeepJournal;
}

std::vector<ClientCall> ClientFakes::calls() const
{
    std::lock_guard<std::mutex> guard(m_mutex);
    return m_journal;
}

std::vector<ClientCall> ClientFakes::calls(const std::string& operation) const
{
    std::lock_guard<std::mutex> guard(m_mutex);
    std::vector<ClientCall> found;
    for (const ClientCall& call : m_journal)
        if (call.operation == operation) found.push_back(call);
    return found;
}

void ClientFakes::setSnapResult(const std::string& snapName, int bits)
{
    std::lock_guard<std::mutex> guard(m_mutex);
    m_script.snapResults[snapName] = bits;
}

void ClientFakes::setVolumeGUID(const std::string& path, const std::string& guid)
{
    std::lock_guard<std::mutex> guard(m_mutex);
    m_script.guids[path] = guid;
}

void ClientFakes::setVolumeGUIDAnswer(const std::vector<std::string>& guids)
{
    std::lock_guard<std::mutex> guard(m_mutex);
    m_script.guidAnswerScripted = true;
    m_script.guidAnswer = guids;
}

void ClientFakes::setToolReturnCode(int code)
{
    std::lock_guard<std::mutex> guard(m_mutex);
    m_script.toolReturnCode = code;
}

bool ClientFakes::failNext(const std::string& operation, int count)
{
    if (!canFail(operation) || count < 1) return false;
    std::lock_guard<std::mutex> guard(m_mutex);
    m_script.failures[operation] += count;
    return true;
}

void ClientFakes::setQuitAfter(int calls)
{
    std::lock_guard<std::mutex> guard(m_mutex);
    m_script.quitAfter = calls;
    m_script.quitQuestions = 0;
}

void ClientFakes::setPlatformType(unsigned int type)
{
    std::lock_guard<std::mutex> guard(m_mutex);
    m_script.platformType = type;
}

void ClientFakes::setDrevhostClientName(const std::string& name)
{
    std::lock_guard<std::mutex> guard(m_mutex);
    m_script.drevhostName = name;
}

void ClientFakes::setPhysicalMachine(const std::string& name)
{
    std::lock_guard<std::mutex> guard(m_mutex);
    m_script.physicalMachine = name;
}

void ClientFakes::reset()
{
    std::lock_guard<std::mutex> guard(m_mutex);
    m_journal.clear();
    m_script = Script();
}

void ClientFakes::onNextCall(const std::string& operation, std::function<void()> action)
{
    std::lock_guard<std::mutex> guard(m_mutex);
    m_script.nextCallActions[operation] = std::move(action);
}

bool ClientFakes::enter(ClientCall call)
{
    std::function<void()> action;
    bool fail = false;
    {
        std::lock_guard<std::mutex> guard(m_mutex);
        auto next = m_script.nextCallActions.find(call.operation);
        if (next != m_script.nextCallActions.end()) {
            action = std::move(next->second);
            m_script.nextCallActions.erase(next);
        }
        auto it = m_script.failures.find(call.operation);
        fail = it != m_script.failures.end();
        if (fail && --it->second == 0) m_script.failures.erase(it);
        if (m_bKeepJournal) m_journal.push_back(std::move(call));
    }
    if (action) action();
    return fail;
}

int ClientFakes::snapResult(const std::string& snapName) const
{
    std::lock_guard<std::mutex> guard(m_mutex);
    auto it = m_script.snapResults.find(snapName);
    return it == m_script.snapResults.end() ? AllDone : it->second;
}

std::string ClientFakes::volumeGUID(const std::string& path) const
{
    std::lock_guard<std::mutex> guard(m_mutex);
    auto it = m_script.guids.find(path);
    return it == m_script.guids.end() ? std::string() : it->second;
}

bool ClientFakes::volumeGUIDAnswer(std::vector<std::string>& guids) const
{
    std::lock_guard<std::mutex> guard(m_mutex);
    if (!m_script.guidAnswerScripted) return false;
    guids = m_script.guidAnswer;
    return true;
}

int ClientFakes::toolReturnCode() const
{
    std::lock_guard<std::mutex> guard(m_mutex);
    return m_script.toolReturnCode;
}

bool ClientFakes::nextQuitFlag()
{
    std::lock_guard<std::mutex> guard(m_mutex);
    if (m_script.quitAfter < 0) return false;
    if (m_script.quitQuestions >= m_script.quitAfter) return true;
    ++m_script.quitQuestions;
    return false;
}

unsigned int ClientFakes::platformType() const
{
    std::lock_guard<std::mutex> guard(m_mutex);
    return m_script.platformType;
}

std::string ClientFakes::drevhostClientName() const
{
    std::lock_guard<std::mutex> guard(m_mutex);
    return m_script.drevhostName;
}

std::string ClientFakes::physicalMachine() const
{
    std::lock_guard<std::mutex> guard(m_mutex);
    return m_script.physicalMachine;
}
