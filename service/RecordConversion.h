// The primitives every record conversion is written with: texts, wire
// booleans, flag bits and the list forms.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

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

// Copies a text into a column of a row being updated, where a text must be at
// least two characters shorter than its column: false, with the column left
// as it is, when it is longer.
template <size_t N>
inline bool YBCopyCheckedText(char (&column)[N], const std::string& text)
{
    static_assert(N > 1, "text column without room");
    if (text.size() > N - 2) return false;
    YBCopyText(column, text);
    return true;
}

// Clears a row before an update conversion fills it.
template <typename Row>
inline void YBZeroRow(Row& row)
{
    memset(static_cast<void*>(&row), 0, sizeof(Row));
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

// A column that some row families name otherwise: YB_ROW_COLUMN(Fn, Alias,
// Name) defines Fn(row), which reads column Alias when the row has one and
// column Name otherwise.
#define YB_ROW_COLUMN(FN, ALIAS, NAME)                                                              \
    template <typename Row>                                                                         \
    auto FN##Of(const Row& row, int) -> decltype(row.ALIAS) { return row.ALIAS; }                   \
    template <typename Row>                                                                         \
    auto FN##Of(const Row& row, long) -> decltype(row.NAME) { return row.NAME; }                    \
    template <typename Row>                                                                         \
    auto FN(const Row& row) -> decltype(FN##Of(row, 0)) { return FN##Of(row, 0); }

// List forms: a record made with its defaults and converted from the row (or
// wire element) is appended to the list; element i of a wire array is
// converted from record i.
template <typename Record, typename Row>
void YBAppendFromRow(std::vector<Record>& list, const Row& row)
{
    // Made in its place in the list: no record is moved.
    list.emplace_back();
    YBSet(list.back(), row);
}

template <typename Wire, typename Record>
void YBSetArray(Wire* array, const std::vector<Record>& list)
{
    for (size_t i = 0; i < list.size(); ++i) YBSet(array[i], list[i]);
}
