// platform/String.cpp: CString.
#include "platform/String.h"

#include "platform/WinApp.h"

#include <stdlib.h>
#include <string.h>

CString::CString() : m_data(nullptr), m_length(0), m_capacity(0), m_failed(false)
{
}

CString::~CString()
{
    free(m_data);
}

char* CString::GetBuffer(int length)
{
    free(m_data);
    m_length = 0;
    m_data = length >= 0 ? static_cast<char*>(malloc(static_cast<size_t>(length) + 1)) : nullptr;
    m_capacity = m_data ? length : 0;
    if (m_data)
        m_data[0] = '\0';
    else
        m_failed = true;
    return m_data;
}

void CString::ReleaseBuffer(int length)
{
    if (!m_data)
        return;
    m_length = length < 0 ? static_cast<int>(strlen(m_data)) : length;
    m_data[m_length] = '\0';
}

CString& CString::Append(const char* text)
{
    return Append(text, static_cast<int>(strlen(text)));
}

CString& CString::Append(const char* text, int length)
{
    if (m_failed || length <= 0)
        return *this;
    if (length > m_capacity - m_length) {
        // Doubling keeps a long run of appends linear.
        int needed = m_length + length;
        int capacity = m_capacity < 32 ? 32 : m_capacity;
        while (capacity < needed && capacity < 0x3FFFFFFF)
            capacity *= 2;
        char* grown = capacity >= needed ? static_cast<char*>(realloc(m_data, static_cast<size_t>(capacity) + 1))
                                         : nullptr;
        if (!grown) {
            m_failed = true;
            return *this;
        }
        m_data = grown;
        m_capacity = capacity;
    }
    memcpy(m_data + m_length, text, static_cast<size_t>(length));
    m_length += length;
    m_data[m_length] = '\0';
    return *this;
}

bool CString::LoadString(unsigned id)
{
    // LoadStringA cannot report a length in advance, so grow the buffer until the text fits.
    for (int size = 64; size <= 65536; size *= 2) {
        char* buffer = GetBuffer(size - 1);
        if (!buffer)
            return false;
        int copied = ::LoadStringA(AfxGetResourceHandle(), id, buffer, size);
        if (copied < size - 1) {
            ReleaseBuffer(copied);
            return true;
        }
    }
    ReleaseBuffer();
    return true;
}
