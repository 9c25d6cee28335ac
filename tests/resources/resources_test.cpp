// Checks the resources of the built Mirolt.exe, read from the file itself as Windows would load them.
// Usage: mirolt_resources <path of Mirolt.exe>
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

typedef std::vector<BYTE> Bytes;
const WORD kEnglishUs = 0x0409;

// The program to check is the one argument that is not a GoogleTest flag.
const char* ExePath() {
    for (int i = __argc - 1; i > 0; --i)
        if (std::strncmp(__argv[i], "--", 2) != 0) return __argv[i];
    return "";
}

HMODULE Exe() {
    static HMODULE module =
        LoadLibraryExA(ExePath(), NULL, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (!module) throw std::runtime_error(std::string("cannot load \"") + ExePath() + "\" as data");
    return module;
}

std::string Hex(DWORD value, int digits = 8) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%0*lX", digits, static_cast<unsigned long>(value));
    return text;
}

// Positions and sizes compare as one text, so that a failure shows the whole rectangle.
std::string Rect(int x, int y, int cx, int cy) {
    return std::to_string(x) + "," + std::to_string(y) + " " + std::to_string(cx) + "x" + std::to_string(cy);
}

// The raw bytes of one resource in US English; empty when it is not there.
Bytes Raw(LPCSTR type, WORD name) {
    HRSRC found = FindResourceExA(Exe(), type, MAKEINTRESOURCEA(name), kEnglishUs);
    if (!found) return Bytes();
    const BYTE* data = static_cast<const BYTE*>(LockResource(LoadResource(Exe(), found)));
    return data ? Bytes(data, data + SizeofResource(Exe(), found)) : Bytes();
}

// Non-ASCII characters are spelled out so that a stray one shows in a failure message.
std::string Narrow(const std::wstring& wide) {
    std::string out;
    for (wchar_t c : wide) {
        if (c >= 0x20 && c < 0x7F) { out += static_cast<char>(c); continue; }
        char esc[12];
        std::snprintf(esc, sizeof esc, "\\u%04X", static_cast<unsigned>(c));
        out += esc;
    }
    return out;
}

// A string or a 16-bit ordinal, as dialog templates store menus, classes and texts.
struct Field {
    bool ordinal = false;
    WORD id = 0;
    std::string text;
};

class Reader {
public:
    Reader(const Bytes& data, const char* what) : data_(data), what_(what) {}
    size_t pos = 0;
    size_t size() const { return data_.size(); }
    BYTE Byte() { Need(1); return data_[pos++]; }
    WORD Word() { Need(2); pos += 2; return static_cast<WORD>(data_[pos - 2] | data_[pos - 1] << 8); }
    DWORD Dword() { DWORD low = Word(); return low | static_cast<DWORD>(Word()) << 16; }
    short Short() { return static_cast<short>(Word()); }
    void Align4() { pos = (pos + 3) & ~static_cast<size_t>(3); }
    void Skip(size_t n) { Need(n); pos += n; }
    std::string Sz() {
        std::wstring text;
        for (WORD c; (c = Word()) != 0;) text += static_cast<wchar_t>(c);
        return Narrow(text);
    }
    Field SzOrOrd() {
        Field field;
        if (Peek() == 0xFFFF) { Word(); field.ordinal = true; field.id = Word(); }
        else field.text = Sz();
        return field;
    }
    // Whatever follows the parsed data may only be padding up to the next DWORD.
    bool OnlyPaddingLeft() const {
        for (size_t i = pos; i < data_.size(); ++i) if (data_[i] != 0) return false;
        return data_.size() - pos < 4 || pos > data_.size();
    }

private:
    WORD Peek() { WORD w = Word(); pos -= 2; return w; }
    void Need(size_t n) {
        if (pos + n > data_.size())
            throw std::runtime_error(std::string(what_) + ": read past the end at byte " + std::to_string(pos));
    }
    const Bytes& data_;
    const char* what_;
};

// ---- Inventory ----

BOOL CALLBACK OnLanguage(HMODULE, LPCSTR type, LPCSTR name, WORD language, LONG_PTR out) {
    auto describe = [](LPCSTR id) {
        return IS_INTRESOURCE(id) ? std::to_string(reinterpret_cast<ULONG_PTR>(id)) : '"' + std::string(id) + '"';
    };
    reinterpret_cast<std::set<std::string>*>(out)->insert(
        describe(type) + "/" + describe(name) + "/" + std::to_string(language));
    return TRUE;
}
BOOL CALLBACK OnName(HMODULE module, LPCSTR type, LPSTR name, LONG_PTR out) {
    return EnumResourceLanguagesA(module, type, name, OnLanguage, out);
}
BOOL CALLBACK OnType(HMODULE module, LPSTR type, LONG_PTR out) {
    return EnumResourceNamesA(module, type, OnName, out);
}

TEST(ExeResources, HoldsExactlyTheSixResourcesInUsEnglish) {
    std::set<std::string> found;
    ASSERT_TRUE(EnumResourceTypesA(Exe(), OnType, reinterpret_cast<LONG_PTR>(&found)))
        << "enumeration stopped, error " << GetLastError();
    // type/name/language: icon, About box, main form, string block 7, icon group, version record.
    const std::set<std::string> expected = {"3/1/1033", "5/100/1033", "5/102/1033",
                                            "6/7/1033", "14/128/1033", "16/1/1033"};
    EXPECT_EQ(expected, found);
}

// ---- Icon ----

TEST(ExeResources, IconGroupListsOne32x32ImageAt8Bits) {
    Bytes group = Raw(RT_GROUP_ICON, 128);
    ASSERT_EQ(6u + 14u, group.size()) << "a header and exactly one entry";
    Reader r(group, "icon group 128");
    EXPECT_EQ(0, r.Word()) << "reserved";
    EXPECT_EQ(1, r.Word()) << "type (1 = icon)";
    EXPECT_EQ(1, r.Word()) << "image count";
    EXPECT_EQ(32, r.Byte()) << "width";
    EXPECT_EQ(32, r.Byte()) << "height";
    EXPECT_EQ(0, r.Byte()) << "colour count";
    r.Byte();  // reserved
    EXPECT_EQ(1, r.Word()) << "planes";
    EXPECT_EQ(8, r.Word()) << "bits per pixel";
    EXPECT_EQ(2216u, r.Dword()) << "bytes in the image";
    EXPECT_EQ(1, r.Word()) << "RT_ICON id of the image";
}

TEST(ExeResources, IconImageIsA32x32PalettedPictureWithMask) {
    Bytes image = Raw(RT_ICON, 1);
    ASSERT_EQ(2216u, image.size()) << "header 40 + palette 1024 + pixels 1024 + mask 128";
    Reader r(image, "icon 1");
    EXPECT_EQ(40u, r.Dword()) << "biSize";
    EXPECT_EQ(32, static_cast<LONG>(r.Dword())) << "biWidth";
    EXPECT_EQ(64, static_cast<LONG>(r.Dword())) << "biHeight (picture and mask)";
    EXPECT_EQ(1, r.Word()) << "biPlanes";
    EXPECT_EQ(8, r.Word()) << "biBitCount";
    EXPECT_EQ(0u, r.Dword()) << "biCompression";

    const BYTE* palette = &image[40];
    const BYTE* pixels = palette + 1024;
    const BYTE* mask = pixels + 1024;
    int opaque = 0, transparent = 0;
    std::set<DWORD> colours;
    for (int i = 0; i < 32 * 32; ++i) {
        if (mask[i / 8] & (0x80 >> (i % 8))) { ++transparent; continue; }
        ++opaque;
        const BYTE* rgb = palette + 4 * pixels[i];
        colours.insert(static_cast<DWORD>(rgb[0] | rgb[1] << 8 | rgb[2] << 16));
    }
    EXPECT_GT(opaque, 0) << "the mask hides every pixel";
    EXPECT_GT(transparent, 0) << "the mask hides no pixel: the picture is a solid square";
    EXPECT_GE(colours.size(), 8u) << "the visible pixels use too few colours to be a drawing";
}

// ---- Dialogs ----

struct Control {
    DWORD helpId = 0, exStyle = 0, style = 0, id = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    Field cls, text;
    WORD extra = 0;
};

struct Dialog {
    bool extended = false;
    WORD version = 0, signature = 0, count = 0;
    DWORD helpId = 0, exStyle = 0, style = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    Field menu, cls;
    std::string title, face;
    WORD points = 0, weight = 0;
    BYTE italic = 0, charset = 0;
    std::vector<Control> controls;
    bool tidyEnd = false;
};

// Reads either template form: DLGTEMPLATEEX starts with version 1 and signature 0xFFFF.
Dialog ParseDialog(const Bytes& data, const char* what) {
    Reader r(data, what);
    Dialog d;
    d.extended = data.size() >= 4 && data[0] == 1 && data[1] == 0 && data[2] == 0xFF && data[3] == 0xFF;
    if (d.extended) {
        d.version = r.Word(); d.signature = r.Word(); d.helpId = r.Dword();
        d.exStyle = r.Dword(); d.style = r.Dword();
    } else {
        d.style = r.Dword(); d.exStyle = r.Dword();
    }
    d.count = r.Word();
    d.x = r.Short(); d.y = r.Short(); d.cx = r.Short(); d.cy = r.Short();
    d.menu = r.SzOrOrd(); d.cls = r.SzOrOrd(); d.title = r.Sz();
    if (d.style & DS_SETFONT) {
        d.points = r.Word();
        if (d.extended) { d.weight = r.Word(); d.italic = r.Byte(); d.charset = r.Byte(); }
        d.face = r.Sz();
    }
    for (WORD i = 0; i < d.count; ++i) {
        r.Align4();
        Control c;
        if (d.extended) { c.helpId = r.Dword(); c.exStyle = r.Dword(); c.style = r.Dword(); }
        else { c.style = r.Dword(); c.exStyle = r.Dword(); }
        c.x = r.Short(); c.y = r.Short(); c.cx = r.Short(); c.cy = r.Short();
        c.id = d.extended ? r.Dword() : r.Word();
        c.cls = r.SzOrOrd(); c.text = r.SzOrOrd();
        c.extra = r.Word();
        r.Skip(c.extra);
        d.controls.push_back(c);
    }
    r.Align4();
    d.tidyEnd = r.OnlyPaddingLeft();
    return d;
}

struct Expected {
    DWORD id;
    WORD cls;          // predefined class ordinal
    const char* text;  // NULL: the text is the resource ordinal below
    WORD textId;
    DWORD style;
    short x, y, cx, cy;
};

// A predefined class may be stored as its ordinal or by name; both create the same control.
std::string ClassForm(const Field& cls, WORD ordinal, std::string* error) {
    const char* name = ordinal == 0x80 ? "Button" : ordinal == 0x81 ? "Edit" : "Static";
    if (cls.ordinal && cls.id == ordinal) return "ordinal " + Hex(ordinal, 4);
    if (!cls.ordinal && _stricmp(cls.text.c_str(), name) == 0) return "name \"" + cls.text + "\"";
    *error = std::string("class should be ") + name + ", found " +
             (cls.ordinal ? "ordinal " + Hex(cls.id, 4) : "\"" + cls.text + "\"");
    return "";
}

void ExpectControls(const Dialog& d, const std::vector<Expected>& expected) {
    ASSERT_EQ(expected.size(), d.controls.size()) << "number of controls";
    std::string forms;
    for (size_t i = 0; i < expected.size(); ++i) {
        const Control& c = d.controls[i];
        const Expected& e = expected[i];
        SCOPED_TRACE("control #" + std::to_string(i + 1) + " (expected id " + std::to_string(e.id) + ")");
        EXPECT_EQ(e.id, c.id) << "id";
        std::string error, form = ClassForm(c.cls, e.cls, &error);
        EXPECT_TRUE(error.empty()) << error;
        forms += " " + std::to_string(c.id) + ":" + form;
        if (e.text) {
            EXPECT_FALSE(c.text.ordinal) << "text is ordinal " << c.text.id;
            EXPECT_EQ(e.text, c.text.text) << "text";
        } else {
            EXPECT_TRUE(c.text.ordinal && c.text.id == e.textId)
                << "text should be resource ordinal " << e.textId << ", found \"" << c.text.text << "\"";
        }
        EXPECT_EQ(Hex(e.style), Hex(c.style)) << "style";
        EXPECT_EQ(0u, c.exStyle) << "extended style";
        EXPECT_EQ(0u, c.helpId) << "help id";
        EXPECT_EQ(Rect(e.x, e.y, e.cx, e.cy), Rect(c.x, c.y, c.cx, c.cy)) << "position and size";
        EXPECT_EQ(0, c.extra) << "creation data length";
    }
    std::printf("control classes stored as:%s\n", forms.c_str());
}

const WORD kButton = 0x80, kEdit = 0x81, kStatic = 0x82;

TEST(ExeResources, MainFormTemplate) {
    Bytes raw = Raw(RT_DIALOG, 102);
    ASSERT_FALSE(raw.empty()) << "dialog 102 not found";
    Dialog d = ParseDialog(raw, "dialog 102");
    ASSERT_TRUE(d.extended) << "dialog 102 should be a DLGTEMPLATEEX";
    EXPECT_EQ(1, d.version) << "dlgVer";
    EXPECT_EQ(0xFFFF, d.signature) << "signature";
    EXPECT_EQ(0u, d.helpId) << "help id";
    EXPECT_EQ(Hex(0x00040200), Hex(d.exStyle)) << "extended style";
    EXPECT_EQ(Hex(0x90CA00C0), Hex(d.style)) << "style";
    EXPECT_EQ(7, d.count) << "control count";
    EXPECT_EQ(Rect(0, 0, 177, 138), Rect(d.x, d.y, d.cx, d.cy)) << "position and size";
    EXPECT_TRUE(!d.menu.ordinal && d.menu.text.empty()) << "should have no menu";
    EXPECT_TRUE(!d.cls.ordinal && d.cls.text.empty()) << "should use the standard dialog class";
    EXPECT_EQ("Mirolt", d.title);
    EXPECT_EQ(8, d.points) << "font size";
    EXPECT_EQ(0, d.weight) << "font weight";
    EXPECT_EQ(0, d.italic) << "italic";
    EXPECT_EQ(1, d.charset) << "charset";
    EXPECT_EQ("MS Sans Serif", d.face);
    EXPECT_TRUE(d.tidyEnd) << "bytes left over after the last control";
}

TEST(ExeResources, MainFormControls) {
    Bytes raw = Raw(RT_DIALOG, 102);
    ASSERT_FALSE(raw.empty()) << "dialog 102 not found";
    ExpectControls(ParseDialog(raw, "dialog 102"), {
        {1000, kEdit, "", 0, 0x50810080, 10, 15, 160, 15},
        {1001, kEdit, "", 0, 0x50A11004, 10, 50, 160, 60},
        {1002, kButton, "&Send", 0, 0x50010001, 10, 120, 45, 15},
        {1, kButton, "&Quit", 0, 0x50010000, 122, 120, 45, 15},
        {1004, kStatic, "Machine Name:", 0, 0x50020000, 10, 5, 80, 10},
        {1005, kStatic, "Message to send:", 0, 0x50020000, 10, 40, 100, 10},
        {1006, kButton, "&Clear", 0, 0x50010000, 65, 120, 45, 15}});
}

TEST(ExeResources, AboutBoxTemplate) {
    Bytes raw = Raw(RT_DIALOG, 100);
    ASSERT_FALSE(raw.empty()) << "dialog 100 not found";
    Dialog d = ParseDialog(raw, "dialog 100");
    ASSERT_FALSE(d.extended) << "dialog 100 should be a classic DLGTEMPLATE";
    EXPECT_EQ(Hex(0x80C800C0), Hex(d.style)) << "style";
    EXPECT_EQ(0u, d.exStyle) << "extended style";
    EXPECT_EQ(5, d.count) << "control count";
    EXPECT_EQ(Rect(0, 0, 235, 55), Rect(d.x, d.y, d.cx, d.cy)) << "position and size";
    EXPECT_TRUE(!d.menu.ordinal && d.menu.text.empty()) << "should have no menu";
    EXPECT_TRUE(!d.cls.ordinal && d.cls.text.empty()) << "should use the standard dialog class";
    EXPECT_EQ("About Mirolt", d.title);
    EXPECT_EQ(8, d.points) << "font size";
    EXPECT_EQ("MS Sans Serif", d.face);
    EXPECT_TRUE(d.tidyEnd) << "bytes left over after the last control";
}

TEST(ExeResources, AboutBoxControls) {
    Bytes raw = Raw(RT_DIALOG, 100);
    ASSERT_FALSE(raw.empty()) << "dialog 100 not found";
    const DWORD none = 0xFFFF;  // IDC_STATIC (-1) as a 16-bit id
    ExpectControls(ParseDialog(raw, "dialog 100"), {
        {none, kStatic, NULL, 128, 0x50000003, 11, 17, 20, 20},
        {none, kStatic, "Mirolt v1.0", 0, 0x50020080, 40, 10, 119, 8},
        {none, kStatic, "Made by the Mirolt developers.", 0, 0x50020000, 40, 25, 135, 8},
        {1, kButton, "OK", 0, 0x50030001, 178, 7, 50, 14},
        {none, kStatic, "Reach us through the Mirolt project.", 0, 0x50020000, 40, 40, 135, 8}});
}

// ---- Strings ----

TEST(ExeResources, StringBlockHoldsOnlyTheAboutCommand) {
    Bytes block = Raw(RT_STRING, 7);
    ASSERT_FALSE(block.empty()) << "string block 7 (ids 96..111) not found";
    Reader r(block, "string block 7");
    for (int id = 96; id < 112; ++id) {
        WORD length = r.Word();
        std::wstring text;
        for (WORD i = 0; i < length; ++i) text += static_cast<wchar_t>(r.Word());
        EXPECT_EQ(id == 101 ? "&About Mirolt..." : "", Narrow(text)) << "string " << id;
    }
    EXPECT_TRUE(r.OnlyPaddingLeft()) << "bytes left over after the 16 strings";

    char loaded[64] = "";
    EXPECT_EQ(16, LoadStringA(Exe(), 101, loaded, sizeof loaded)) << "LoadStringA(101)";
    EXPECT_STREQ("&About Mirolt...", loaded);
}

// ---- Version record ----

struct VerNode {
    std::string key;
    WORD type = 0;
    Bytes value;
    std::vector<VerNode> children;
    std::string Text() const {
        std::wstring text;
        for (size_t i = 0; i + 1 < value.size() && (value[i] | value[i + 1]); i += 2)
            text += static_cast<wchar_t>(value[i] | value[i + 1] << 8);
        return Narrow(text);
    }
};

// Every block: length, value length, type, key, padding, value, padding, child blocks.
VerNode ReadVerNode(Reader& r) {
    size_t start = r.pos;
    VerNode n;
    size_t end = start + r.Word();
    WORD valueLength = r.Word();
    n.type = r.Word();
    n.key = r.Sz();
    if (end > r.size() || end < r.pos)
        throw std::runtime_error("version block \"" + n.key + "\" has a bad length");
    r.Align4();
    size_t bytes = n.type == 1 ? 2u * valueLength : valueLength;  // text values count characters
    if (r.pos + bytes > end) throw std::runtime_error("value of \"" + n.key + "\" runs past its block");
    for (size_t i = 0; i < bytes; ++i) n.value.push_back(r.Byte());
    for (r.Align4(); r.pos < end; r.Align4()) n.children.push_back(ReadVerNode(r));
    if (r.pos != ((end + 3) & ~static_cast<size_t>(3)))
        throw std::runtime_error("children of \"" + n.key + "\" overrun it");
    return n;
}

VerNode VersionRecord() {
    Bytes raw = Raw(RT_VERSION, 1);
    if (raw.empty()) throw std::runtime_error("version record 1 not found");
    Reader r(raw, "version record");
    return ReadVerNode(r);
}

const VerNode* OnlyChild(const VerNode& parent, const std::string& key) {
    const VerNode* found = NULL;
    int count = 0;
    for (const VerNode& child : parent.children)
        if (child.key == key) { found = &child; ++count; }
    return count == 1 ? found : NULL;
}

std::string Dotted(DWORD ms, DWORD ls) {
    return std::to_string(HIWORD(ms)) + "." + std::to_string(LOWORD(ms)) + "." +
           std::to_string(HIWORD(ls)) + "." + std::to_string(LOWORD(ls));
}

TEST(ExeResources, VersionFixedInfo) {
    VerNode root = VersionRecord();
    EXPECT_EQ("VS_VERSION_INFO", root.key);
    ASSERT_EQ(sizeof(VS_FIXEDFILEINFO), root.value.size()) << "fixed file info size";
    VS_FIXEDFILEINFO f;
    std::memcpy(&f, root.value.data(), sizeof f);
    EXPECT_EQ(Hex(0xFEEF04BD), Hex(f.dwSignature)) << "signature";
    EXPECT_EQ(Hex(0x00010000), Hex(f.dwStrucVersion)) << "structure version";
    EXPECT_EQ("1.0.0.1", Dotted(f.dwFileVersionMS, f.dwFileVersionLS)) << "file version";
    EXPECT_EQ("1.0.0.1", Dotted(f.dwProductVersionMS, f.dwProductVersionLS)) << "product version";
    EXPECT_EQ(Hex(0x3F), Hex(f.dwFileFlagsMask)) << "flags mask";
    EXPECT_EQ(0u, f.dwFileFlags) << "flags";
    EXPECT_EQ(Hex(VOS__WINDOWS32), Hex(f.dwFileOS)) << "OS";
    EXPECT_EQ(Hex(VFT_APP), Hex(f.dwFileType)) << "file type";
    EXPECT_EQ(0u, f.dwFileSubtype) << "subtype";
    EXPECT_EQ(0u, f.dwFileDateMS) << "date (high)";
    EXPECT_EQ(0u, f.dwFileDateLS) << "date (low)";
}

TEST(ExeResources, VersionStringsInOrder) {
    VerNode root = VersionRecord();
    const VerNode* info = OnlyChild(root, "StringFileInfo");
    ASSERT_TRUE(info) << "need exactly one StringFileInfo";
    ASSERT_EQ(1u, info->children.size()) << "StringFileInfo tables";
    const VerNode& table = info->children[0];
    EXPECT_EQ("040904B0", table.key) << "table language and code page";

    // Any copyright notice will do, as long as there is one.
    std::vector<std::string> found;
    std::string copyright = "(missing)";
    for (const VerNode& entry : table.children) {
        EXPECT_EQ(1, entry.type) << entry.key << " should be text";
        std::string text = entry.Text();
        if (entry.key == "LegalCopyright" && !text.empty()) { copyright = text; text = "*"; }
        found.push_back(entry.key + "=" + text);
    }
    const std::vector<std::string> expected = {
        "CompanyName=", "FileDescription=Mirolt MFC Application", "FileVersion=1, 0, 0, 1",
        "InternalName=Mirolt", "LegalCopyright=*", "LegalTrademarks=",
        "OriginalFilename=Mirolt.EXE", "ProductName=Mirolt Application", "ProductVersion=1, 0, 0, 1"};
    EXPECT_EQ(expected, found) << "LegalCopyright is \"" << copyright << "\"";
}

TEST(ExeResources, VersionTranslation) {
    VerNode root = VersionRecord();
    const VerNode* vars = OnlyChild(root, "VarFileInfo");
    ASSERT_TRUE(vars) << "need exactly one VarFileInfo";
    EXPECT_EQ(2u, root.children.size()) << "only StringFileInfo and VarFileInfo belong in the record";
    ASSERT_EQ(1u, vars->children.size()) << "VarFileInfo values";
    const VerNode& translation = vars->children[0];
    EXPECT_EQ("Translation", translation.key);
    EXPECT_EQ(0, translation.type) << "binary value";
    ASSERT_EQ(4u, translation.value.size()) << "one language and code page pair";
    EXPECT_EQ(0x0409, translation.value[0] | translation.value[1] << 8) << "language";
    EXPECT_EQ(0x04B0, translation.value[2] | translation.value[3] << 8) << "code page";
}

// The system's own reader must see the same record, and its numbers must match the version text.
TEST(ExeResources, VersionAsTheSystemReadsIt) {
    DWORD handle = 0, size = GetFileVersionInfoSizeA(ExePath(), &handle);
    ASSERT_NE(0u, size) << "GetFileVersionInfoSizeA failed, error " << GetLastError();
    std::vector<char> info(size);
    ASSERT_TRUE(GetFileVersionInfoA(ExePath(), 0, size, info.data()));
    void* value = NULL;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\", &value, &length));
    ASSERT_EQ(sizeof(VS_FIXEDFILEINFO), length);
    const VS_FIXEDFILEINFO* f = static_cast<const VS_FIXEDFILEINFO*>(value);
    std::string fixed = Dotted(f->dwFileVersionMS, f->dwFileVersionLS);

    ASSERT_TRUE(VerQueryValueA(info.data(), "\\StringFileInfo\\040904B0\\FileVersion", &value, &length))
        << "FileVersion text not found";
    std::string text = static_cast<const char*>(value), numbers;
    for (char c : text) {
        if (c == ',') numbers += '.';
        else if (c != ' ') numbers += c;
    }
    EXPECT_EQ(fixed, numbers) << "fixed version " << fixed << " against FileVersion \"" << text << "\"";
    EXPECT_EQ("1.0.0.1", fixed);
}

}  // namespace
