#include "service/Utils.h"

#include <cstdarg>
#include <cstdio>
#include <strings.h>

#include "host/ZXClient.h"
#include "service/ReplicationMgr.h"

const char* const NoMemoryErrMsg = "No memory available to perform operation";
const char* const DBTranErrorMsg = "Could not initiated database transactions";

ReplyArrayAllocator AllocReplyArray = &malloc;

bool CopyVectorToMsg(int** out, const std::vector<int>& values) {
    *out = nullptr;
    if (values.empty()) return true;
    int* array = static_cast<int*>(AllocReplyArray(4 * values.size()));
    if (array == nullptr) return false;
    memset(array, 0, 4 * values.size());
    for (unsigned int i = 0; i < values.size(); ++i) {
        array[i] = values[i];
    }
    *out = array;
    return true;
}

int _stricmp(const char* a, const char* b) { return strcasecmp(a, b); }

int FXString::CompareNoCase(const std::string& a, const std::string& b) { return _stricmp(a.c_str(), b.c_str()); }

int FXString::CompareNoCase(const char* a, const char* b) { return _stricmp(a, b); }

std::string FXString::ToString(const std::string& s) { return s; }

int ET_snprintf(char* buffer, int size, const char* format, ...) {
    va_list args;
    va_start(args, format);
    int n = vsnprintf(buffer, static_cast<size_t>(static_cast<long>(size)), format, args);
    va_end(args);
    return n;
}

bool ReplicationMgr::GetClientName(int clientId, std::string& hostName) {
    ZXClient client(static_cast<unsigned long long>(static_cast<long long>(clientId)));
    return client.getNetworkHostnameMangled(hostName, nullptr) == 0;
}
