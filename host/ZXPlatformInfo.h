// Host platform information and configuration store.
#pragma once

#include <string>

// Configuration is kept in sections of key/value texts. Values come from
// setValue and, when the environment variable REPLMGR_CONFIG names an
// INI-style file, from that file (read once, on first use).
class ZXPlatformInfo {
public:
    ZXPlatformInfo() = default;

    // What reading a setting as a number found.
    enum class NumberRead { absent, malformed, read };
    // The setting as a whole number, decimal or hexadecimal after "0x", in the
    // range of a long long: absent when it is not set or holds only blanks;
    // malformed (anything else that is no such number, value left as it was),
    // or read. text, when given, receives the setting's text without its
    // surrounding blanks.
    NumberRead readNumber(const char* section, const char* key, long long* value, std::string* text = nullptr);

    // The values a numeric setting takes, 0 to most, and its default, which
    // stands for a value that is not set or not taken (and, where
    // zeroIsDefault, for 0).
    struct NumberRange {
        unsigned long long most;
        unsigned long long fallback;
        bool zeroIsDefault;
    };
    // The setting as a number of its range: a whole number as readNumber
    // reads them from 0 to range.most, else the default. A value not taken
    // (not such a number, negative, beyond the range) is logged at ERR,
    // naming the key, the value and who takes the default (user, "the
    // catalogue ..." say): once per user, key and value until clearAll. Not
    // set or empty, the setting has its default without an entry.
    unsigned long long readSetting(const char* section, const char* key, const NumberRange& range,
                                   const std::string& user = "this process");
    // Non-zero when a number was delivered: readNumber's number, a negative
    // one wrapped.
    unsigned int getNumber(const char* section, const char* key, unsigned long* value);
    // 32-bit front of the above; defined by the replication manager
    // (service/HostClassMembers.cpp).
    unsigned int getNumber(const char* section, const char* key, unsigned int* value);
    // A setting of the host's registry as an int: non-zero when one was
    // delivered; a missing setting leaves value as it was.
    unsigned int getRegInt(const char* section, const char* key, int* value);
    // Non-zero when a text was delivered.
    unsigned int getString(const char* section, const char* key, std::string& value);

    // The machine this process runs on: the platform type (bit 0 set on a
    // host that has a client name of its own), that client name written
    // into buffer (cut to size-1 characters, always terminated; false when
    // none could be written) and the physical machine name. The stand-in
    // answers from ClientFakes' script (host/clients/) and journals each call.
    unsigned int getZXPlatformType();
    bool getDrevhostClientName(char* buffer, int size);
    std::string getPhysicalMachine();

    static void setValue(const char* section, const char* key, const std::string& value);
    static void clearValue(const char* section, const char* key);
    static void clearAll();
};
