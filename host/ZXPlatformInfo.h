// Host platform information and configuration store.
#pragma once

#include <string>

// Configuration is kept in sections of key/value texts. Values come from
// setValue and, when the environment variable REPLMGR_CONFIG names an
// INI-style file, from that file (read once, on first use).
class ZXPlatformInfo {
public:
    ZXPlatformInfo() = default;

    // Non-zero when a number was delivered.
    unsigned int getNumber(const char* section, const char* key, unsigned long* value);
    // 32-bit front of the above.
    unsigned int getNumber(const char* section, const char* key, unsigned int* value);
    // Non-zero when a text was delivered.
    unsigned int getString(const char* section, const char* key, std::string& value);

    static void setValue(const char* section, const char* key, const std::string& value);
    static void clearValue(const char* section, const char* key);
    static void clearAll();
};
