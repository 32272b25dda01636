// The error a table object cannot be registered with: DBException.
#pragma once

#include <stdexcept>
#include <string>

// Thrown by DBtran::addObject when an object cannot be registered.
class DBException : public std::runtime_error {
public:
    DBException(int code, const std::string& text) : std::runtime_error(text), m_nCode(code) {}
    int code() const { return m_nCode; }

private:
    int m_nCode;
};
