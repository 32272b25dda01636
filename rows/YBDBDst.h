// Destination of a record-to-row conversion that checks text lengths.
#pragma once

#include <cstdint>
#include <string>

// The row to fill, the error code a failing conversion writes (-18 for a
// text too long) and the caller's message text, into which a failing
// conversion writes its message.
template <typename Row>
struct YBDBDst_t {
    YBDBDst_t(Row& target, std::string& message) : row(target), errCode(0), errMsg(message) {}

    Row& row;
    int32_t errCode;
    std::string& errMsg;
};
