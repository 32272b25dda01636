// Small helpers shared by the record conversions of SNR volumes, scratch
// volumes and replication volumes: texts, wire booleans and flag bits.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

// Copies a text into a fixed text column, never past it: a text longer than
// the column holds is cut to N-1 characters. The column is always terminated.
template <size_t N>
inline void YBCopyText(char (&column)[N], const std::string& text)
{
    static_assert(N > 0, "text column without room");
    size_t n = text.size() < N - 1 ? text.size() : N - 1;
    memcpy(column, text.data(), n);
    column[n] = '\0';
}

// The text of a column up to its terminator; a column that lacks one is read
// to its end and no further.
template <size_t N>
inline std::string YBColumnText(const char (&column)[N])
{
    return std::string(column, strnlen(column, N));
}

// An empty text goes out as a null pointer, any other as a pointer to the
// record's own characters.
inline char* YBWireText(const std::string& text)
{
    return text.empty() ? nullptr : const_cast<char*>(text.c_str());
}

// A null text pointer comes in as "".
inline std::string YBTextFromWire(const char* text)
{
    return text != nullptr ? std::string(text) : std::string();
}

// Only a wire value of exactly 1 reads as true; true goes out as 1.
inline bool YBBoolFromWire(int32_t value) { return value == 1; }
inline int32_t YBWireBool(bool value) { return value ? 1 : 0; }

// Sets or clears one bit of a Flags column.
inline void YBSetFlagBit(int32_t& flags, int32_t bit, bool on)
{
    if (on)
        flags |= bit;
    else
        flags &= ~bit;
}

inline bool YBFlagBit(int32_t flags, int32_t bit) { return (flags & bit) != 0; }
