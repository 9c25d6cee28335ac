// platform/String.cpp: CString.
#include "platform/String.h"

#include "platform/WinApp.h"

#include <windows.h>
#include <stdlib.h>
#include <string.h>

CString::CString() : m_data(nullptr), m_length(0)
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
    if (m_data)
        m_data[0] = '\0';
    return m_data;
}

void CString::ReleaseBuffer(int length)
{
    if (!m_data)
        return;
    m_length = length < 0 ? static_cast<int>(strlen(m_data)) : length;
    m_data[m_length] = '\0';
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
