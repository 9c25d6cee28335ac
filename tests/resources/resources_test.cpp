// tests/resources/resources_test.cpp: the resources of the built Mirolt.exe, read from the file as
// Windows loads them and compared field by field, each template and record written out as text.
// Usage: mirolt_resources <path of Mirolt.exe>
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

typedef std::vector<BYTE> Bytes;
typedef std::vector<std::string> Lines;

const char* ExePath()
{
    for (int i = __argc - 1; i > 0; --i)
        if (std::strncmp(__argv[i], "--", 2) != 0)
            return __argv[i];
    return "";
}

HMODULE Exe()
{
    static HMODULE module = LoadLibraryExA(ExePath(), NULL, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (!module)
        throw std::runtime_error(std::string("cannot load ") + ExePath());
    return module;
}

// The bytes of one resource in English (United States); empty when there is none.
Bytes Raw(LPCSTR type, WORD name)
{
    HRSRC found = FindResourceExA(Exe(), type, MAKEINTRESOURCEA(name), MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
    const BYTE* data = found ? static_cast<const BYTE*>(LockResource(LoadResource(Exe(), found))) : NULL;
    return data ? Bytes(data, data + SizeofResource(Exe(), found)) : Bytes();
}

std::string Format(const char* format, ...)
{
    char text[512];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(text, sizeof text, format, arguments);
    va_end(arguments);
    return text;
}

class Reader
{
public:
    explicit Reader(const Bytes& data) : m_data(data) {}
    size_t pos = 0;
    WORD Word()
    {
        if (pos + 2 > m_data.size())
            throw std::runtime_error(Format("read past the end at byte %u", unsigned(pos)));
        pos += 2;
        return WORD(m_data[pos - 2] | m_data[pos - 1] << 8);
    }
    DWORD Dword() { DWORD low = Word(); return low | DWORD(Word()) << 16; }
    short Short() { return short(Word()); }
    void Align() { pos = (pos + 3) & ~size_t(3); }
    std::string Text()
    {
        std::string text;
        for (WORD c; (c = Word()) != 0;)
            text += c < 0x80 ? char(c) : '?';
        return text;
    }
    // A text, or a 16-bit ordinal written as #n.
    std::string TextOrOrdinal()
    {
        if (pos + 2 <= m_data.size() && m_data[pos] == 0xFF && m_data[pos + 1] == 0xFF) {
            Word();
            return Format("#%u", Word());
        }
        return '"' + Text() + '"';
    }

private:
    const Bytes& m_data;
};

// Predefined control classes read the same whether stored as an ordinal or by name.
std::string ClassName(const std::string& stored)
{
    const char* const names[] = { "Button", "Edit", "Static" };   // ordinals 0x80, 0x81, 0x82
    for (int i = 0; i < 3; ++i)
        if (stored == Format("#%d", 0x80 + i) || _stricmp(stored.c_str(), Format("\"%s\"", names[i]).c_str()) == 0)
            return names[i];
    return stored;
}

// A dialog template as lines of text: the dialog, its font, then one line per control.
Lines DescribeDialog(const Bytes& data)
{
    Reader r(data);
    Lines lines;
    bool extended = data.size() > 4 && data[2] == 0xFF && data[3] == 0xFF;
    DWORD helpId = 0, exStyle, style;
    if (extended) {
        WORD version = r.Word(), signature = r.Word();
        helpId = r.Dword(); exStyle = r.Dword(); style = r.Dword();
        lines.push_back(Format("DLGTEMPLATEEX %u %04X", version, signature));
    } else {
        style = r.Dword(); exStyle = r.Dword();
        lines.push_back("DLGTEMPLATE");
    }
    WORD count = r.Word();
    short x = r.Short(), y = r.Short(), cx = r.Short(), cy = r.Short();
    std::string menu = r.TextOrOrdinal(), windowClass = r.TextOrOrdinal(), title = r.Text();
    lines.push_back(Format("help %lu ex %08lX style %08lX controls %u at %d,%d %dx%d menu %s class %s \"%s\"", helpId,
                           exStyle, style, count, x, y, cx, cy, menu.c_str(), windowClass.c_str(), title.c_str()));
    WORD points = r.Word(), weight = 0, italicAndCharset = 0;
    if (extended) { weight = r.Word(); italicAndCharset = r.Word(); }
    std::string face = r.Text();
    lines.push_back(Format("font %u %u %u %u \"%s\"", points, weight, LOBYTE(italicAndCharset), HIBYTE(italicAndCharset),
                           face.c_str()));
    for (WORD i = 0; i < count; ++i) {
        r.Align();
        DWORD controlHelp = 0, controlEx, controlStyle;
        if (extended) { controlHelp = r.Dword(); controlEx = r.Dword(); controlStyle = r.Dword(); }
        else { controlStyle = r.Dword(); controlEx = r.Dword(); }
        x = r.Short(); y = r.Short(); cx = r.Short(); cy = r.Short();
        DWORD id = extended ? r.Dword() : r.Word();
        std::string controlClass = ClassName(r.TextOrOrdinal()), text = r.TextOrOrdinal();
        WORD extra = r.Word();
        lines.push_back(Format("%lu %s %s %08lX at %d,%d %dx%d help %lu ex %lX data %u", id, controlClass.c_str(),
                               text.c_str(), controlStyle, x, y, cx, cy, controlHelp, controlEx, extra));
    }
    return lines;
}

BOOL CALLBACK OnLanguage(HMODULE, LPCSTR type, LPCSTR name, WORD language, LONG_PTR found)
{
    reinterpret_cast<std::set<std::string>*>(found)->insert(
        IS_INTRESOURCE(type) && IS_INTRESOURCE(name)
            ? Format("%u/%u/%u", unsigned(ULONG_PTR(type)), unsigned(ULONG_PTR(name)), language)
            : "a named resource");
    return TRUE;
}
BOOL CALLBACK OnName(HMODULE module, LPCSTR type, LPSTR name, LONG_PTR found)
{
    return EnumResourceLanguagesA(module, type, name, OnLanguage, found);
}
BOOL CALLBACK OnType(HMODULE module, LPSTR type, LONG_PTR found)
{
    return EnumResourceNamesA(module, type, OnName, found);
}

// A version block and its children as lines "key = value", indented by depth.
void DescribeVersion(Reader& r, int depth, Lines& lines)
{
    size_t end = r.pos + r.Word();
    WORD valueLength = r.Word(), type = r.Word();
    std::string line = std::string(2 * depth, ' ') + r.Text() + " =";
    r.Align();
    if (type == 1 && valueLength > 0) {
        size_t start = r.pos;
        line += " \"" + r.Text() + '"';
        r.pos = start + 2 * valueLength;   // the length counts characters, the NUL included
    } else {
        for (WORD i = 0; i < valueLength; i += 4)
            line += Format(" %08lX", r.Dword());
    }
    lines.push_back(line);
    for (r.Align(); r.pos < end; r.Align())
        DescribeVersion(r, depth + 1, lines);
}

} // namespace

TEST(ExeResources, HoldsExactlySixResourcesAllInEnglishUnitedStates)
{
    std::set<std::string> found;
    ASSERT_TRUE(EnumResourceTypesA(Exe(), OnType, reinterpret_cast<LONG_PTR>(&found)));
    // type/name/language: icon image, About box, main form, string block 7, icon group, version.
    EXPECT_EQ(std::set<std::string>({ "3/1/1033", "5/100/1033", "5/102/1033", "6/7/1033", "14/128/1033", "16/1/1033" }),
              found);
}

TEST(ExeResources, IconIsOne32By32ImageAt8BitsWithAMask)
{
    // The group: reserved, type 1 (icon), one entry: its size, colours, planes, bits, bytes and image ID.
    Bytes group = Raw(RT_GROUP_ICON, 128);
    ASSERT_EQ(20u, group.size());
    Reader g(group);
    WORD reserved = g.Word(), type = g.Word(), count = g.Word();
    g.pos = 10;
    WORD planes = g.Word(), bits = g.Word();
    DWORD bytes = g.Dword();
    WORD id = g.Word();
    EXPECT_EQ("0 1 1: 32x32 colours 0 planes 1 bits 8 bytes 2216 id 1",
              Format("%u %u %u: %ux%u colours %u planes %u bits %u bytes %lu id %u", reserved, type, count, group[6],
                     group[7], group[8], planes, bits, bytes, id));

    Bytes image = Raw(RT_ICON, 1);
    ASSERT_EQ(2216u, image.size()) << "header 40 + palette 1024 + pixels 1024 + mask 128";
    const BITMAPINFOHEADER* header = reinterpret_cast<const BITMAPINFOHEADER*>(image.data());
    EXPECT_EQ("40 32x64 planes 1 bits 8 compression 0",
              Format("%lu %ldx%ld planes %u bits %u compression %lu", header->biSize, header->biWidth,
                     header->biHeight, header->biPlanes, header->biBitCount, header->biCompression));
    // A drawing, not a blank: some pixels shown, some transparent, in more than a few colours.
    const BYTE *palette = &image[40], *pixels = palette + 1024, *mask = pixels + 1024;
    std::set<DWORD> colours;
    int transparent = 0;
    for (int i = 0; i < 32 * 32; ++i) {
        if (mask[i / 8] & (0x80 >> (i % 8)))
            ++transparent;
        else
            colours.insert(*reinterpret_cast<const DWORD*>(palette + 4 * pixels[i]) & 0xFFFFFF);
    }
    EXPECT_GT(transparent, 0);
    EXPECT_LT(transparent, 32 * 32);
    EXPECT_GE(colours.size(), 8u);
}

TEST(ExeResources, MainFormTemplate)
{
    EXPECT_EQ(Lines({
                  "DLGTEMPLATEEX 1 FFFF",
                  "help 0 ex 00040200 style 90CA00C0 controls 7 at 0,0 177x138 menu \"\" class \"\" \"Mirolt\"",
                  "font 8 0 0 1 \"MS Sans Serif\"",
                  "1000 Edit \"\" 50810080 at 10,15 160x15 help 0 ex 0 data 0",
                  "1001 Edit \"\" 50A11004 at 10,50 160x60 help 0 ex 0 data 0",
                  "1002 Button \"&Send\" 50010001 at 10,120 45x15 help 0 ex 0 data 0",
                  "1 Button \"&Quit\" 50010000 at 122,120 45x15 help 0 ex 0 data 0",
                  "1004 Static \"Machine Name:\" 50020000 at 10,5 80x10 help 0 ex 0 data 0",
                  "1005 Static \"Message to send:\" 50020000 at 10,40 100x10 help 0 ex 0 data 0",
                  "1006 Button \"&Clear\" 50010000 at 65,120 45x15 help 0 ex 0 data 0",
              }),
              DescribeDialog(Raw(RT_DIALOG, 102)));
}

TEST(ExeResources, AboutBoxTemplate)
{
    EXPECT_EQ(Lines({
                  "DLGTEMPLATE",
                  "help 0 ex 00000000 style 80C800C0 controls 5 at 0,0 235x55 menu \"\" class \"\" \"About Mirolt\"",
                  "font 8 0 0 0 \"MS Sans Serif\"",
                  "65535 Static #128 50000003 at 11,17 20x20 help 0 ex 0 data 0",
                  "65535 Static \"Mirolt v1.0\" 50020080 at 40,10 119x8 help 0 ex 0 data 0",
                  "65535 Static \"Made by the Mirolt developers.\" 50020000 at 40,25 135x8 help 0 ex 0 data 0",
                  "1 Button \"OK\" 50030001 at 178,7 50x14 help 0 ex 0 data 0",
                  "65535 Static \"Reach us through the Mirolt project.\" 50020000 at 40,40 135x8 help 0 ex 0 data 0",
              }),
              DescribeDialog(Raw(RT_DIALOG, 100)));
}

TEST(ExeResources, StringTableHoldsOnlyTheAboutEntry)
{
    Bytes block = Raw(RT_STRING, 7);   // strings 96 to 111
    Reader r(block);
    Lines strings;
    for (int id = 96; id < 112; ++id) {
        std::string text;
        for (WORD length = r.Word(); length > 0; --length)
            text += char(r.Word());
        if (!text.empty())
            strings.push_back(Format("%d %s", id, text.c_str()));
    }
    EXPECT_EQ(Lines({ "101 &About Mirolt..." }), strings);
}

TEST(ExeResources, VersionRecord)
{
    Bytes record = Raw(RT_VERSION, 1);
    Reader r(record);
    Lines lines;
    DescribeVersion(r, 0, lines);
    ASSERT_GT(lines.size(), 10u);
    // Any copyright notice will do.
    EXPECT_EQ(0u, lines[7].find("      LegalCopyright = \"Copyright")) << lines[7];
    lines[7] = "      LegalCopyright = (any)";
    // The fixed part: signature, structure version, file and product version 1.0.0.1, flags mask
    // and flags, VOS__WINDOWS32, VFT_APP, subtype and date.
    EXPECT_EQ(Lines({
                  "VS_VERSION_INFO = FEEF04BD 00010000 00010000 00000001 00010000 00000001 0000003F 00000000 "
                  "00000004 00000001 00000000 00000000 00000000",
                  "  StringFileInfo =",
                  "    040904B0 =",
                  "      CompanyName = \"\"",
                  "      FileDescription = \"Mirolt MFC Application\"",
                  "      FileVersion = \"1, 0, 0, 1\"",
                  "      InternalName = \"Mirolt\"",
                  "      LegalCopyright = (any)",
                  "      LegalTrademarks = \"\"",
                  "      OriginalFilename = \"Mirolt.EXE\"",
                  "      ProductName = \"Mirolt Application\"",
                  "      ProductVersion = \"1, 0, 0, 1\"",
                  "  VarFileInfo =",
                  "    Translation = 04B00409",   // language 0409, code page 04B0
              }),
              lines);
}

// The system's own reader sees version 1.0.0.1 in the fixed part and in the strings alike.
TEST(ExeResources, VersionReadsTheSameToTheSystem)
{
    DWORD handle = 0;
    std::vector<char> info(GetFileVersionInfoSizeA(ExePath(), &handle) + 1);
    ASSERT_TRUE(GetFileVersionInfoA(ExePath(), 0, DWORD(info.size()), info.data()));
    void* value = NULL;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\", &value, &length));
    const VS_FIXEDFILEINFO* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
    EXPECT_EQ("1, 0, 0, 1", Format("%u, %u, %u, %u", HIWORD(fixed->dwFileVersionMS), LOWORD(fixed->dwFileVersionMS),
                                   HIWORD(fixed->dwFileVersionLS), LOWORD(fixed->dwFileVersionLS)));
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\StringFileInfo\\040904B0\\FileVersion", &value, &length));
    EXPECT_STREQ("1, 0, 0, 1", static_cast<const char*>(value));
}
