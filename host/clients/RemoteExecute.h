// Messages of the host's framework for running a program on a client
// (CZxNetwork::ExecRemoteCmdAndWait): the message base with its field
// accessor, the request to run a program as a user, and the response.
//
// A message type is described once as data: the numbers that build it, the
// numbers its accessor is reached with, and each field with its type check
// numbers. An accessor call whose numbers are not the described ones is
// refused, as the framework refuses a type mismatch.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <utility>

enum class CNFieldKind { Text, Int64 };

struct CNFieldLayout {
    int group;
    int index;
    CNFieldKind kind;
    unsigned long typeId;
    unsigned long check;
};

struct CNObjectLayout {
    int family;  // numbers the message is built with
    int type;
    // Numbers of getObjectAccessor, in call order.
    bool accessorFlag1;
    bool accessorFlag2;
    int accessorN1;
    int accessorN2;
    unsigned long accessorTypeId;
    unsigned long accessorCheck;
    int accessorFamily;
    int accessorVersion;
    const CNFieldLayout* fields;
    size_t count;
};

// Reads and writes the fields of one message.
class CNObjectAccessor {
public:
    explicit CNObjectAccessor(const CNObjectLayout& layout) : m_layout(layout) {}

    // False, storing nothing, when the numbers are not those of a field of
    // that kind. A null text is stored as "".
    bool setstring(int group, int index, const char* value, unsigned long typeId, unsigned long check);
    bool setint64(int group, int index, long long value, unsigned long typeId, unsigned long check);
    // The stored text; "" when unset or the numbers are not a text field's.
    const std::string& getstringByRef(int group, int index, unsigned long typeId, unsigned long check) const;
    // False when unset or the numbers are not a 64-bit field's.
    bool getint64(int group, int index, long long& value, unsigned long typeId, unsigned long check) const;

private:
    bool known(int group, int index, CNFieldKind kind, unsigned long typeId, unsigned long check) const;

    const CNObjectLayout& m_layout;
    std::map<std::pair<int, int>, std::string> m_texts;
    std::map<std::pair<int, int>, long long> m_numbers;
};

class CNMessageBase {
public:
    CNMessageBase(const CNMessageBase&) = delete;
    CNMessageBase& operator=(const CNMessageBase&) = delete;
    virtual ~CNMessageBase() = default;

    // The accessor of the message's fields; null when the message was built
    // with other numbers than its type's or the numbers given are not its
    // accessor's.
    CNObjectAccessor* getObjectAccessor(bool flag1, bool flag2, int n1, int n2, unsigned long typeId,
                                        unsigned long check, int family, int version);

protected:
    CNMessageBase(const CNObjectLayout& layout, int family, int type);

private:
    const CNObjectLayout& m_layout;
    bool m_bBuiltAsLayout;
    CNObjectAccessor m_accessor;
};

namespace CNSession {

// Runs a program on the client as a user. Built with (9, 37); fields: the
// command arguments (text 3/6), a 64-bit field 1/1 and the executable name
// (text 2/2).
class zxsRemoteExecuteAsUserRequestType : public CNMessageBase {
public:
    zxsRemoteExecuteAsUserRequestType(int family, int type);

    static const CNObjectLayout& layout();
};

}  // namespace CNSession

// Reply of a remote run; the first word is the program's return code (0 = success).
struct zxsRemoteExecuteResponseType {
    int32_t returnCode;
    int32_t reserved1;
    int64_t reserved2;
};
static_assert(sizeof(zxsRemoteExecuteResponseType) == 16, "the response is 16 bytes");
static_assert(offsetof(zxsRemoteExecuteResponseType, returnCode) == 0, "the return code is the first word");
