#include "reader/binary_data.h"

#include <new>

#include "base/log.h"

CBinaryData::CBinaryData(uint64_t size) : m_size(size), m_available(size) {
    m_owned.reset(new (std::nothrow) uint8_t[size]());
    if (!m_owned)
        CORVEL_LOG("[CBinaryData::CBinaryData] memory allocation is failed - %llu bytes",
                   static_cast<unsigned long long>(size));
    m_data = m_owned.get();
}

CBinaryData::CBinaryData(const uint8_t* view, uint64_t size, uint64_t available)
    : m_data(view), m_size(size), m_available(available < size ? available : size) {}
