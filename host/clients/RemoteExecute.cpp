#include "host/clients/RemoteExecute.h"

#include <vector>

#include "host/ZxFramework.h"
#include "host/clients/ClientFakes.h"

namespace {

const std::string NoText;

const unsigned long FieldTypeId = 0x9000501;

const CNFieldLayout RemoteExecuteFields[] = {
    {3, 6, CNFieldKind::Text, FieldTypeId, 959324},    // command arguments
    {1, 1, CNFieldKind::Int64, FieldTypeId, 7634917},  // set to 0 by its callers
    {2, 2, CNFieldKind::Text, FieldTypeId, 7933915},   // executable name
};
const CNFieldLayout& ArgumentsField = RemoteExecuteFields[0];
const CNFieldLayout& NumberField = RemoteExecuteFields[1];
const CNFieldLayout& ExecutableField = RemoteExecuteFields[2];

const CNObjectLayout RemoteExecuteLayout = {
    9,    37,  true, true, 1, 1, 0x900030d, 11657439, 9, 1, RemoteExecuteFields,
    sizeof(RemoteExecuteFields) / sizeof(RemoteExecuteFields[0]),
};

}  // namespace

bool CNObjectAccessor::known(int group, int index, CNFieldKind kind, unsigned long typeId, unsigned long check) const
{
    for (size_t i = 0; i < m_layout.count; ++i) {
        const CNFieldLayout& f = m_layout.fields[i];
        if (f.group == group && f.index == index)
            return f.kind == kind && f.typeId == typeId && f.check == check;
    }
    return false;
}

bool CNObjectAccessor::setstring(int group, int index, const char* value, unsigned long typeId, unsigned long check)
{
    if (!known(group, index, CNFieldKind::Text, typeId, check)) return false;
    m_texts[{group, index}] = value ? value : "";
    return true;
}

bool CNObjectAccessor::setint64(int group, int index, long long value, unsigned long typeId, unsigned long check)
{
    if (!known(group, index, CNFieldKind::Int64, typeId, check)) return false;
    m_numbers[{group, index}] = value;
    return true;
}

const std::string& CNObjectAccessor::getstringByRef(int group, int index, unsigned long typeId,
                                                    unsigned long check) const
{
    if (!known(group, index, CNFieldKind::Text, typeId, check)) return NoText;
    auto it = m_texts.find({group, index});
    return it == m_texts.end() ? NoText : it->second;
}

bool CNObjectAccessor::getint64(int group, int index, long long& value, unsigned long typeId,
                                unsigned long check) const
{
    if (!known(group, index, CNFieldKind::Int64, typeId, check)) return false;
    auto it = m_numbers.find({group, index});
    if (it == m_numbers.end()) return false;
    value = it->second;
    return true;
}

CNMessageBase::CNMessageBase(const CNObjectLayout& layout, int family, int type)
    : m_layout(layout), m_bBuiltAsLayout(family == layout.family && type == layout.type), m_accessor(layout)
{
}

CNObjectAccessor* CNMessageBase::getObjectAccessor(bool flag1, bool flag2, int n1, int n2, unsigned long typeId,
                                                   unsigned long check, int family, int version)
{
    const CNObjectLayout& s = m_layout;
    bool match = flag1 == s.accessorFlag1 && flag2 == s.accessorFlag2 && n1 == s.accessorN1 && n2 == s.accessorN2 &&
                 typeId == s.accessorTypeId && check == s.accessorCheck && family == s.accessorFamily &&
                 version == s.accessorVersion;
    return m_bBuiltAsLayout && match ? &m_accessor : nullptr;
}

CNSession::zxsRemoteExecuteAsUserRequestType::zxsRemoteExecuteAsUserRequestType(int family, int type)
    : CNMessageBase(RemoteExecuteLayout, family, type)
{
}

const CNObjectLayout& CNSession::zxsRemoteExecuteAsUserRequestType::layout() { return RemoteExecuteLayout; }

CWuError CZxNetwork::ExecRemoteCmdAndWait(const char* remoteHost, CNMessageBase* request, const char* localMachine,
                                          zxsRemoteExecuteResponseType* response, int waitLimit, bool& connected)
{
    const CNObjectLayout& s = RemoteExecuteLayout;
    CNObjectAccessor* fields =
        request ? request->getObjectAccessor(s.accessorFlag1, s.accessorFlag2, s.accessorN1, s.accessorN2,
                                             s.accessorTypeId, s.accessorCheck, s.accessorFamily,
                                             s.accessorVersion)
                : nullptr;
    std::string executable, arguments, number;
    long long value = 0;
    if (fields) {
        const CNFieldLayout& e = ExecutableField;
        const CNFieldLayout& a = ArgumentsField;
        const CNFieldLayout& n = NumberField;
        executable = fields->getstringByRef(e.group, e.index, e.typeId, e.check);
        arguments = fields->getstringByRef(a.group, a.index, a.typeId, a.check);
        if (fields->getint64(n.group, n.index, value, n.typeId, n.check)) number = std::to_string(value);
    }
    std::string host = remoteHost ? remoteHost : "";
    bool fail = ClientFakes::instance().enter(ClientCall{
        "ExecRemoteCmdAndWait", host, -1,
        {executable, arguments, number, localMachine ? localMachine : "", std::to_string(waitLimit)}});
    if (fields == nullptr || executable.empty()) return CWuError(-2, "Invalid remote execute request");
    if (fail) return CWuError(-1, "Could not reach host " + host);
    connected = true;
    if (response) response->returnCode = ClientFakes::instance().toolReturnCode();
    return CWuError(0);
}

CWuError CZxNetwork::ReplyDisconnect(int waitLimit, bool& connected)
{
    if (ClientFakes::instance().enter(ClientCall{"ReplyDisconnect", "", -1, {std::to_string(waitLimit)}}))
        return CWuError(-1, "Could not end the conversation");
    connected = false;
    return CWuError(0);
}
