// CSEAutoPtr: single-owner release of c_str() buffers.
#include "CSEAutoPtr.h"

CSEAutoPtr::CSEAutoPtr() : m_pBuffer(nullptr) {}

CSEAutoPtr::CSEAutoPtr(void* buffer) : m_pBuffer(buffer) {}

CSEAutoPtr::CSEAutoPtr(CSEAutoPtr& other) : m_pBuffer(other.m_pBuffer)
{
    other.m_pBuffer = nullptr;
}

CSEAutoPtr::CSEAutoPtr(CSEAutoPtr&& other) noexcept : m_pBuffer(other.m_pBuffer)
{
    other.m_pBuffer = nullptr;
}

CSEAutoPtr& CSEAutoPtr::operator=(CSEAutoPtr& other)
{
    if (&other != this) {
        Reset(other.m_pBuffer);
        other.m_pBuffer = nullptr;
    }
    return *this;
}

CSEAutoPtr& CSEAutoPtr::operator=(CSEAutoPtr&& other) noexcept
{
    return *this = other;
}

CSEAutoPtr::~CSEAutoPtr()
{
    Reset(nullptr);
}

void CSEAutoPtr::Reset(void* buffer)
{
    delete[] static_cast<char16_t*>(m_pBuffer);
    m_pBuffer = buffer;
}
