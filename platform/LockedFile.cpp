// platform/LockedFile.cpp: CLockedFile.
#include "platform/LockedFile.h"

#include "platform/Sha256.h"

CLockedFile::~CLockedFile()
{
    if (m_file != INVALID_HANDLE_VALUE)
        ::CloseHandle(m_file);
}

bool CLockedFile::Open(const char* path)
{
    m_file = ::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    return m_file != INVALID_HANDLE_VALUE;
}

bool CLockedFile::ReadAt(DWORD offset, void* bytes, DWORD size) const
{
    DWORD count = 0;
    return ::SetFilePointer(m_file, static_cast<LONG>(offset), nullptr, FILE_BEGIN) == offset &&
           ::ReadFile(m_file, bytes, size, &count, nullptr) && count == size;
}

bool CLockedFile::Digest(unsigned char digest[32]) const
{
    if (::SetFilePointer(m_file, 0, nullptr, FILE_BEGIN) != 0)
        return false;
    CSha256 sha;
    char chunk[4096];
    DWORD count = 0;
    do {
        if (!::ReadFile(m_file, chunk, sizeof chunk, &count, nullptr))
            return false;
        sha.Add(chunk, count);
    } while (count > 0);
    sha.Finish(digest);
    return true;
}
