// The two checks a wire layout is pinned with: the size of a structure and
// the offset of one of its fields, both failing the build when they move.
#pragma once

#include <cstddef>

#define WIRE_SIZE_IS(Type, size) static_assert(sizeof(Type) == (size), #Type " size")
#define WIRE_FIELD_AT(Type, field, offset) static_assert(offsetof(Type, field) == (offset), #Type "." #field " offset")
