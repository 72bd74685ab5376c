/// \file
/// CSEAutoPtr: owns one wide-text buffer returned by CSEString::c_str() and releases it once.
#ifndef CSEAUTOPTR_H
#define CSEAUTOPTR_H

/// Copying or assigning a holder moves the buffer to the new holder and empties the source, so a
/// buffer is never released twice.
class CSEAutoPtr
{
public:
    CSEAutoPtr();
    /// Takes ownership of a buffer returned by CSEString::c_str() (allocated with new char16_t[]);
    /// null is allowed. The pointer is untyped as callers have always passed it.
    explicit CSEAutoPtr(void* buffer);
    /// Takes the buffer over from other, which is left empty.
    CSEAutoPtr(CSEAutoPtr& other);
    /// Takes the buffer over from other, which is left empty.
    CSEAutoPtr(CSEAutoPtr&& other) noexcept;
    /// Frees the own buffer and takes over other's; returns this pointer.
    CSEAutoPtr& operator=(CSEAutoPtr& other);
    /// Frees the own buffer and takes over other's; returns this pointer.
    CSEAutoPtr& operator=(CSEAutoPtr&& other) noexcept;
    virtual ~CSEAutoPtr();

    /// Returns the buffer as UTF-16 text (null when empty); ownership stays here.
    char16_t* Get() const { return static_cast<char16_t*>(m_pBuffer); }

private:
    void Reset(void* buffer);

    void* m_pBuffer;
};

#endif
