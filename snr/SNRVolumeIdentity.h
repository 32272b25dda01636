// The condition that finds an SNR volume by its identity.
#pragma once

#include <string>

#include "host/db/SqlText.h"

// The condition that finds an SNR volume by its identity; without the LUN
// when withLun is false (a shared disk, which each client sees under a LUN
// of its own). Start and count go out signed: a volume stored with -1 is
// found again.
template <typename Volume>
std::string SNRVolumeIdentityWhere(const Volume& volume, bool withLun = true)
{
    std::string where = "UniqueId = '" + SqlEscape(volume.UniqueId) + "' AND UniqueIdType = " +
                        std::to_string(volume.UniqueIdType);
    if (withLun) where += " AND LUN = " + std::to_string(volume.LUN);
    return where + " AND StartLBA = " + std::to_string(volume.StartLBA) +
           " AND BlockCount = " + std::to_string(volume.BlockCount);
}
