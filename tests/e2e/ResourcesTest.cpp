// tests/e2e/ResourcesTest.cpp: what the build could break in the resources of the built Mirolt.exe, read from the
// file as Windows loads them: the icon's exact format, and the version record as the system reads it. (Which
// resources it holds, tests/loadable.sh checks.)
#include "tests/e2e/MiroltDriver.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>

namespace {

typedef std::vector<BYTE> Bytes;

// The bytes of one resource of the built Mirolt.exe in English (United States); empty when there is none.
Bytes Raw(LPCSTR type, WORD name)
{
    static HMODULE exe = LoadLibraryExA(Option("mirolt").c_str(), NULL,
                                        LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    HRSRC found = FindResourceExA(exe, type, MAKEINTRESOURCEA(name), MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
    const BYTE* data = found ? static_cast<const BYTE*>(LockResource(LoadResource(exe, found))) : NULL;
    return data ? Bytes(data, data + SizeofResource(exe, found)) : Bytes();
}

} // namespace

TEST(ExeResources, IconIsOne32By32ImageAt8BitsWithAMask)
{
    // The group: reserved, type 1 (icon), one entry of 32 x 32, 0 colours, 1 plane, 8 bits, 2,216 bytes, image 1.
    const BYTE group[] = { 0, 0, 1, 0, 1, 0, 32, 32, 0, 0, 1, 0, 8, 0, 0xA8, 0x08, 0, 0, 1, 0 };
    EXPECT_EQ(Bytes(group, group + sizeof group), Raw(RT_GROUP_ICON, 128));

    Bytes image = Raw(RT_ICON, 1);
    ASSERT_EQ(2216u, image.size()) << "header 40 + palette of 256 colours 1024 + pixels 1024 + mask 128";
    // Header: its size 40, 32 x 64 (the pixels and the mask), 1 plane, 8 bits, no compression; 0 or 256 colours used.
    const BYTE header[] = { 40, 0, 0, 0, 32, 0, 0, 0, 64, 0, 0, 0, 1, 0, 8, 0, 0, 0, 0, 0 };
    EXPECT_EQ(Bytes(header, header + sizeof header), Bytes(image.begin(), image.begin() + sizeof header));
    DWORD used = reinterpret_cast<const BITMAPINFOHEADER*>(image.data())->biClrUsed;
    EXPECT_TRUE(used == 0 || used == 256) << used << " colours used";
    const DWORD* palette = reinterpret_cast<const DWORD*>(&image[40]);   // blue, green, red, unused
    // A drawing, not a blank: some pixels shown, some transparent, in more than a few colours.
    const BYTE *pixels = &image[40 + 4 * 256], *mask = pixels + 1024;
    std::set<DWORD> colours;
    int transparent = 0;
    for (int i = 0; i < 32 * 32; ++i) {
        if (mask[i / 8] & (0x80 >> (i % 8)))
            ++transparent;
        else
            colours.insert(palette[pixels[i]] & 0xFFFFFF);
    }
    EXPECT_TRUE(transparent > 0 && transparent < 32 * 32) << transparent << " pixels are transparent";
    EXPECT_GE(colours.size(), 8u);
}

// The version record as the system's own reader sees it: 1.0.0.1 in the fixed part and the strings.
TEST(ExeResources, VersionRecordReadsAsTheSystemShowsIt)
{
    DWORD handle = 0;
    std::vector<char> info(GetFileVersionInfoSizeA(Option("mirolt").c_str(), &handle) + 1);
    ASSERT_TRUE(GetFileVersionInfoA(Option("mirolt").c_str(), 0, DWORD(info.size()), info.data()));
    void* value = NULL;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\", &value, &length));
    const DWORD* fixed = static_cast<const DWORD*>(value);   // VS_FIXEDFILEINFO: 13 numbers
    const DWORD expected[] = { 0xFEEF04BD, 0x00010000, 0x00010000, 0x00000001, 0x00010000, 0x00000001, 0x3F, 0,
                               VOS__WINDOWS32, VFT_APP, 0, 0, 0 };
    EXPECT_EQ(std::vector<DWORD>(expected, expected + 13), std::vector<DWORD>(fixed, fixed + 13));

    ASSERT_TRUE(VerQueryValueA(info.data(), "\\VarFileInfo\\Translation", &value, &length) && length == 4) << length;
    EXPECT_EQ(0x04B00409u, *static_cast<const DWORD*>(value));   // language 0409, code page 04B0

    const char* const strings[][2] = {
        { "CompanyName", "" }, { "FileDescription", "Mirolt MFC Application" }, { "FileVersion", "1, 0, 0, 1" },
        { "InternalName", "Mirolt" }, { "LegalTrademarks", "" }, { "OriginalFilename", "Mirolt.EXE" },
        { "ProductName", "Mirolt Application" }, { "ProductVersion", "1, 0, 0, 1" },
    };
    for (const auto& entry : strings) {
        std::string key = std::string("\\StringFileInfo\\040904B0\\") + entry[0];
        ASSERT_TRUE(VerQueryValueA(info.data(), key.c_str(), &value, &length)) << entry[0];
        EXPECT_STREQ(entry[1], length ? static_cast<const char*>(value) : "") << entry[0];
    }
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\StringFileInfo\\040904B0\\LegalCopyright", &value, &length));
    EXPECT_EQ(0, std::strncmp("Copyright", static_cast<const char*>(value), 9));   // any notice will do
}
