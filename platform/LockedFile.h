// platform/LockedFile.h: CLockedFile, a file held open so that nobody can change, move or delete it
// meanwhile: what is read from it is what a program started from it runs.
#pragma once

#include <windows.h>

class CLockedFile
{
public:
    CLockedFile() : m_file(INVALID_HANDLE_VALUE) {}
    ~CLockedFile();

    // Opens `path` for reading, letting others only read it (and so start it); false, with the system's
    // error code in GetLastError, when it cannot be had that way.
    bool Open(const char* path);

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
