// Host platform objects that name the host's directories; the system asks
// them for the temporary directory in which product-file transfers are staged.
#pragma once

#include <string>

// The installation the calling process works for.
class ZXPI_Focus {
public:
    static int getFocus();
};

class ZXPI_PlatformBase {
public:
    virtual ~ZXPI_PlatformBase() = default;

    void setFocus(int focus) { m_nFocus = focus; }
    int focus() const { return m_nFocus; }

    // The directory in which the host's programs create, write, read and
    // remove their temporary files, without a trailing "/": "TempDirectory"
    // of section "Platform", else the environment's TMPDIR, else "/tmp".
    std::string getNimbrelTempDirectory() const;

private:
    int m_nFocus = 0;
};

// The platform object of the management server's host.
class ZXPI_Drevhost : public ZXPI_PlatformBase {
public:
    ZXPI_Drevhost() = default;
};
