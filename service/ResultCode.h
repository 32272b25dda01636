// Storing an error code into a reply or a result that carries one; the
// others carry their failure in the text alone.
#pragma once

#include <type_traits>

#include "service/CasePatterns.h"

// Stores the code in a reply or result that carries an error code.
template <typename Target>
void SetErrCode(Target& target, int code)
{
    if constexpr (cases::HasErrCode<Target>::value) target.errCode = code;
}

// Copies the result's error code into a reply that carries one.
template <typename Reply, typename Result,
          typename = std::enable_if_t<!std::is_arithmetic<Result>::value>>
void SetErrCode(Reply& reply, const Result& result)
{
    if constexpr (cases::HasErrCode<Reply>::value && cases::HasErrCode<Result>::value)
        reply.errCode = result.errCode;
}
