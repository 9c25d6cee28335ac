// platform/WindowsVersion.h: which Windows this is, for what came or went with a version.
#pragma once

#include <windows.h>

// The major version the system reports: 4 for NT 4.0, 5 for 2000 to Server 2003, 6 from Vista on. A program run in an
// older system's compatibility mode is told that system's.
inline unsigned long WindowsMajorVersion()
{
    OSVERSIONINFOA version;
    version.dwOSVersionInfoSize = sizeof version;
    return ::GetVersionExA(&version) ? version.dwMajorVersion : 0;
}
