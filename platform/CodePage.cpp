// platform/CodePage.cpp: FirstUncarried.
#include "platform/CodePage.h"

unsigned long FirstUncarried(UINT codePage, const wchar_t* text, int length)
{
    // A character is carried when it comes back the same. The flag that turns best fits off came with
    // Windows 2000 and NT 4.0 refuses it, so the round trip is what tells them, on every system.
    for (int i = 0; i < length;) {
        int units = IS_HIGH_SURROGATE(text[i]) && i + 1 < length && IS_LOW_SURROGATE(text[i + 1]) ? 2 : 1;
        char bytes[8];
        wchar_t back[2];
        int count = ::WideCharToMultiByte(codePage, 0, text + i, units, bytes, sizeof bytes, nullptr, nullptr);
        if (count <= 0 || ::MultiByteToWideChar(codePage, 0, bytes, count, back, 2) != units || back[0] != text[i] ||
            (units == 2 && back[1] != text[i + 1]))
            return units == 2 ? 0x10000 + ((text[i] - 0xD800UL) << 10) + (text[i + 1] - 0xDC00UL) : text[i];
        i += units;
    }
    return 0;
}
