// tests/unit/LockedFileTest.cpp: what others may do with a file that CLockedFile holds.
#include "platform/LockedFile.h"

#include <gtest/gtest.h>

#include <fstream>

// While it is held, others may read the file, and nothing else: neither write to it, nor rename it, nor delete it.
// Once it is let go, they may again.
TEST(LockedFile, OthersMayOnlyReadTheFileWhileItIsHeld)
{
    const char path[] = "locked.tmp", moved[] = "locked.moved";
    std::ofstream(path) << "netsend";
    auto opens = [&](DWORD access) {
        HANDLE file = ::CreateFileA(path, access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
        return file != INVALID_HANDLE_VALUE && ::CloseHandle(file);
    };
    auto expectOthers = [&](bool mayChange) {
        EXPECT_TRUE(opens(GENERIC_READ));
        EXPECT_EQ(mayChange, opens(GENERIC_WRITE));
        EXPECT_EQ(mayChange, ::MoveFileA(path, moved) && ::MoveFileA(moved, path));
        EXPECT_EQ(mayChange, ::DeleteFileA(path) != FALSE);
    };
    {
        CLockedFile file;
        ASSERT_TRUE(file.Open(path, true)) << "a plain file is no link";
        expectOthers(false);
    }
    expectOthers(true);
}
