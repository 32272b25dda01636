// What the service knows of a request layout beyond its size: whether it
// holds pointers (texts, arrays). A layout that does says so with a static
// member, which the layouts derived from it inherit:
//     static constexpr bool kHoldsPointers = true;
// Such a request is never built from arbitrary bytes.
#pragma once

#include <type_traits>

namespace cases {

template <typename Req, typename = void>
struct HoldsPointers : std::false_type {};

template <typename Req>
struct HoldsPointers<Req, std::void_t<decltype(Req::kHoldsPointers)>> : std::bool_constant<Req::kHoldsPointers> {};

}  // namespace cases
