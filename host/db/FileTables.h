// Rows and entity classes of the stored product file, appliance and user
// application definition tables.
#pragma once

#include <cstddef>
#include <cstdint>

#include "host/db/CRepTableDB.h"

// Table YBFile: one stored file of a volume. The row owns Content (a text
// allocated with new[], null for none): copies copy the text, the destructor
// frees it. A caller that points Content at a buffer of its own sets it back
// to null before the row goes.
struct YBFile_t {
    int32_t id = 0;
    int32_t VolumeId = 0;
    char Name[1025] = {};
    char* Content = nullptr;
    int32_t Flags = 0;

    YBFile_t() = default;
    YBFile_t(const YBFile_t& other);
    YBFile_t(YBFile_t&& other) noexcept;
    YBFile_t& operator=(const YBFile_t& other);
    YBFile_t& operator=(YBFile_t&& other) noexcept;
    ~YBFile_t();
};

// Table YBDevice: an appliance.
struct YBDevice_t {
    int32_t id = 0;
    char Name[257] = {};
    int32_t Reserved = 0;
};

// Table YBUserApplicationDef: a user application of a client.
struct YBUserApplicationDef_t {
    int32_t id = 0;
    int32_t ClientId = 0;
    char ApplicationName[257] = {};
    char AppTag[33] = {};
    char SuspendScript[513] = {};
    char ResumeScript[513] = {};
};

extern const DBEntityTable kYBFileTable;
extern const DBEntityTable kYBDeviceTable;
extern const DBEntityTable kYBUserApplicationDefTable;

class CYBFileDB : public CRepTableDB<YBFile_t> {
public:
    CYBFileDB() : CRepTableDB(kYBFileTable) {}
};

class CYBApplianceDB : public CRepTableDB<YBDevice_t> {
public:
    CYBApplianceDB() : CRepTableDB(kYBDeviceTable) {}
};

class YBUserApplicationDefDB : public CRepTableDB<YBUserApplicationDef_t> {
public:
    YBUserApplicationDefDB() : CRepTableDB(kYBUserApplicationDefTable) {}
};
