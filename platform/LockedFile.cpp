// platform/LockedFile.cpp: CLockedFile.
#include "platform/LockedFile.h"

#include "platform/Sha256.h"
#include "platform/WindowsVersion.h"

CLockedFile::~CLockedFile()
{
    if (m_file != INVALID_HANDLE_VALUE)
        ::CloseHandle(m_file);
}

bool CLockedFile::Open(const char* path, bool refuseLink)
{
    // NT 4.0 has no reparse points, and fails an open that asks not to follow one.
    DWORD flags = refuseLink && WindowsMajorVersion() >= 5 ? FILE_FLAG_OPEN_REPARSE_POINT : FILE_ATTRIBUTE_NORMAL;
    m_file = ::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, flags, nullptr);
    if (m_file == INVALID_HANDLE_VALUE || !refuseLink)
        return m_file != INVALID_HANDLE_VALUE;
    BY_HANDLE_FILE_INFORMATION information;
    if (!::GetFileInformationByHandle(m_file, &information))
        return false;
    if (information.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
        ::SetLastError(ERROR_STOPPED_ON_SYMLINK);
        return false;
    }
    return true;
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
