// Reply shapes shared by the appliance, user application and list cases (the
// host's message structures; sizes and offsets are pinned below).
#pragma once

#include <cstddef>
#include <cstdint>

// Status reply: +0 status (1 succeeded, 0 failed), +4 code, +8 message.
struct repFilesStatusResp {
    uint32_t status;
    int32_t errCode;
    char* errMsg;
};

// Reply of an add: +0 the new id, then status, code and message.
struct repFilesNewIdResp {
    uint32_t id;
    uint32_t status;
    int32_t errCode;
    char* errMsg;
};

// List reply: +0 count, +8 the element array (null exactly when the count is
// 0), then status, code and message.
template <typename Element>
struct repFilesListResp {
    uint32_t count;
    Element* array;
    uint32_t status;
    int32_t errCode;
    char* errMsg;
};
