// A byte container of the scrambling library: owns its bytes, copies them on
// copy and assignment, and wipes them when it lets them go, since it carries
// key material.
#pragma once

#include <cstddef>
#include <memory>

class ZxcBucket {
public:
    ZxcBucket() = default;
    // size zero bytes.
    explicit ZxcBucket(size_t size);
    // A copy of size bytes; a null pointer gives size zero bytes.
    ZxcBucket(const unsigned char* bytes, size_t size);
    ZxcBucket(const ZxcBucket& other);
    ZxcBucket(ZxcBucket&& other) noexcept;
    ZxcBucket& operator=(const ZxcBucket& other);
    ZxcBucket& operator=(ZxcBucket&& other) noexcept;
    ~ZxcBucket();

    // Null when empty.
    unsigned char* getData() { return m_pData.get(); }
    const unsigned char* getData() const { return m_pData.get(); }
    size_t getSize() const { return m_nSize; }
    // Hands the bytes to the caller, who releases them with delete[]; the
    // bucket is empty afterwards. Null when it was empty.
    unsigned char* detach();

private:
    void wipe();

    std::unique_ptr<unsigned char[]> m_pData;
    size_t m_nSize = 0;
};
