// platform/LockedFile.h: CLockedFile, a file held open so that, while it is, others may only read it (and so
// start it): nobody can write to it, rename it or delete it. What is read from it is what a program started
// from the same name runs, as long as that name still leads to it: the folders on the way are not held.
#pragma once

#include <windows.h>

#ifndef ERROR_STOPPED_ON_SYMLINK   // winerror.h's, which MinGW's lacks
#define ERROR_STOPPED_ON_SYMLINK 681L
#endif

class CLockedFile
{
public:
    CLockedFile() : m_file(INVALID_HANDLE_VALUE) {}
    ~CLockedFile();

    // Opens `path` for reading, letting others only read it; false, with the system's error code in
    // GetLastError, when it cannot be had that way. With `refuseLink`, a path that names a link (a reparse point,
    // from Windows 2000 on) is not followed but refused, with ERROR_STOPPED_ON_SYMLINK: the link could be
    // pointed elsewhere once the file it leads to was checked.
    bool Open(const char* path, bool refuseLink = false);

    // The `size` bytes at `offset`; false when the file holds fewer.
    bool ReadAt(DWORD offset, void* bytes, DWORD size) const;

    // The SHA-256 of the whole file; false, with the system's error code in GetLastError, when it could not
    // be read.
    bool Digest(unsigned char digest[32]) const;

private:
    CLockedFile(const CLockedFile&);
    CLockedFile& operator=(const CLockedFile&);

    HANDLE m_file;
};
