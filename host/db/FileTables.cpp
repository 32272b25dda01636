#include "host/db/FileTables.h"

#include <cstring>
#include <utility>

namespace {

char* copyText(const char* text)
{
    if (text == nullptr) return nullptr;
    size_t n = std::strlen(text);
    char* copy = new char[n + 1];
    std::memcpy(copy, text, n + 1);
    return copy;
}

const DBEntityColumn kFileColumns[] = {
    DB_ENTITY_COLUMN(YBFile_t, id, DB_COL_INT32, true, true),
    DB_ENTITY_COLUMN(YBFile_t, VolumeId, DB_COL_INT32, false, false),
    DB_ENTITY_COLUMN(YBFile_t, Name, DB_COL_TEXT, false, false),
    DB_ENTITY_COLUMN(YBFile_t, Content, DB_COL_HEAP_TEXT, false, false),
    DB_ENTITY_COLUMN(YBFile_t, Flags, DB_COL_INT32, false, false),
};

const DBEntityColumn kDeviceColumns[] = {
    DB_ENTITY_COLUMN(YBDevice_t, id, DB_COL_INT32, true, true),
    DB_ENTITY_COLUMN(YBDevice_t, Name, DB_COL_TEXT, false, false),
    DB_ENTITY_COLUMN(YBDevice_t, Reserved, DB_COL_INT32, false, false),
};

const DBEntityColumn kUserApplicationColumns[] = {
    DB_ENTITY_COLUMN(YBUserApplicationDef_t, id, DB_COL_INT32, true, true),
    DB_ENTITY_COLUMN(YBUserApplicationDef_t, ClientId, DB_COL_INT32, false, false),
    DB_ENTITY_COLUMN(YBUserApplicationDef_t, ApplicationName, DB_COL_TEXT, false, false),
    DB_ENTITY_COLUMN(YBUserApplicationDef_t, AppTag, DB_COL_TEXT, false, false),
    DB_ENTITY_COLUMN(YBUserApplicationDef_t, SuspendScript, DB_COL_TEXT, false, false),
    DB_ENTITY_COLUMN(YBUserApplicationDef_t, ResumeScript, DB_COL_TEXT, false, false),
};

}  // namespace

const DBEntityTable kYBFileTable = dbEntityTable("YBFile", kFileColumns);
const DBEntityTable kYBDeviceTable = dbEntityTable("YBDevice", kDeviceColumns);
const DBEntityTable kYBUserApplicationDefTable = dbEntityTable("YBUserApplicationDef", kUserApplicationColumns);

YBFile_t::YBFile_t(const YBFile_t& other)
    : id(other.id), VolumeId(other.VolumeId), Content(copyText(other.Content)), Flags(other.Flags)
{
    std::memcpy(Name, other.Name, sizeof(Name));
}

YBFile_t::YBFile_t(YBFile_t&& other) noexcept
    : id(other.id), VolumeId(other.VolumeId), Content(std::exchange(other.Content, nullptr)), Flags(other.Flags)
{
    std::memcpy(Name, other.Name, sizeof(Name));
}

YBFile_t& YBFile_t::operator=(const YBFile_t& other)
{
    if (this == &other) return *this;
    char* content = copyText(other.Content);
    delete[] Content;
    Content = content;
    id = other.id;
    VolumeId = other.VolumeId;
    std::memcpy(Name, other.Name, sizeof(Name));
    Flags = other.Flags;
    return *this;
}

YBFile_t& YBFile_t::operator=(YBFile_t&& other) noexcept
{
    if (this == &other) return *this;
    delete[] Content;
    Content = std::exchange(other.Content, nullptr);
    id = other.id;
    VolumeId = other.VolumeId;
    std::memcpy(Name, other.Name, sizeof(Name));
    Flags = other.Flags;
    return *this;
}

YBFile_t::~YBFile_t()
{
    delete[] Content;
}
