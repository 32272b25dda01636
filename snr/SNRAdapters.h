// Per-version adapters that let one handler template serve every message
// version: a version whose message, argument or result lacks the field gets
// an adapter that does nothing.
#pragma once

#include <cstdint>
#include <type_traits>
#include <utility>

namespace snr_detail {

template <typename T, typename = void>
struct HasSrcVolumeId : std::false_type {};
template <typename T>
struct HasSrcVolumeId<T, std::void_t<decltype(std::declval<T&>().srcVolumeId)>> : std::true_type {};

template <typename T, typename = void>
struct HasJobId : std::false_type {};
template <typename T>
struct HasJobId<T, std::void_t<decltype(std::declval<T&>().jobId)>> : std::true_type {};

}  // namespace snr_detail

// The request's source volume id into arguments that take one.
template <typename Args, typename Request>
void SetSrcVolId(Args& args, const Request& request)
{
    if constexpr (snr_detail::HasSrcVolumeId<Args>::value && snr_detail::HasSrcVolumeId<Request>::value)
        args.srcVolumeId = request.srcVolumeId;
}

// The arguments' source volume id, 0 (any) for versions without one.
template <typename Args>
int32_t GetSrcVolId(const Args& args)
{
    if constexpr (snr_detail::HasSrcVolumeId<Args>::value)
        return args.srcVolumeId;
    else
        return 0;
}

// The request's 64-bit job id into arguments that take one.
template <typename Args, typename Request>
void SetJobId(Args& args, const Request& request)
{
    if constexpr (snr_detail::HasJobId<Args>::value && snr_detail::HasJobId<Request>::value)
        args.jobId = static_cast<int64_t>(request.jobId);
}

// The arguments' job id, 0 for versions without one.
template <typename Args>
int64_t GetJobId(const Args& args)
{
    if constexpr (snr_detail::HasJobId<Args>::value)
        return args.jobId;
    else
        return 0;
}
