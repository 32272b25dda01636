#include "host/crypto/ZxcBucket.h"

#include <cstring>
#include <utility>

#include <sodium.h>

ZxcBucket::ZxcBucket(size_t size) : m_pData(size ? new unsigned char[size]() : nullptr), m_nSize(size) {}

ZxcBucket::ZxcBucket(const unsigned char* bytes, size_t size) : ZxcBucket(size)
{
    if (bytes && size) std::memcpy(m_pData.get(), bytes, size);
}

ZxcBucket::ZxcBucket(const ZxcBucket& other) : ZxcBucket(other.getData(), other.getSize()) {}

ZxcBucket::ZxcBucket(ZxcBucket&& other) noexcept : m_pData(std::move(other.m_pData)), m_nSize(other.m_nSize)
{
    other.m_nSize = 0;
}

ZxcBucket& ZxcBucket::operator=(const ZxcBucket& other)
{
    if (this != &other) *this = ZxcBucket(other);
    return *this;
}

ZxcBucket& ZxcBucket::operator=(ZxcBucket&& other) noexcept
{
    if (this != &other) {
        wipe();
        m_pData = std::move(other.m_pData);
        m_nSize = other.m_nSize;
        other.m_nSize = 0;
    }
    return *this;
}

ZxcBucket::~ZxcBucket() { wipe(); }

unsigned char* ZxcBucket::detach()
{
    m_nSize = 0;
    return m_pData.release();
}

void ZxcBucket::wipe()
{
    if (m_pData) sodium_memzero(m_pData.get(), m_nSize);
    m_pData.reset();
    m_nSize = 0;
}
