// platform/CodePage.cpp: ToCodePage and FirstUncarried.
#include "platform/CodePage.h"

int ToCodePage(UINT codePage, const wchar_t* text, int length, char* out, int size, BOOL* lossy)
{
    // UTF-8 carries everything, and refuses to be asked about default characters.
    UINT actual = codePage == CP_ACP ? ::GetACP() : codePage == CP_OEMCP ? ::GetOEMCP() : codePage;
    bool utf8 = actual == CP_UTF8;
    return ::WideCharToMultiByte(codePage, utf8 ? 0 : WC_NO_BEST_FIT_CHARS, text, length, out, size, nullptr,
                                 utf8 ? nullptr : lossy);
}

unsigned long FirstUncarried(UINT codePage, const wchar_t* text, int length)
{
    for (int i = 0; i < length;) {
        int units = IS_HIGH_SURROGATE(text[i]) && i + 1 < length && IS_LOW_SURROGATE(text[i + 1]) ? 2 : 1;
        char bytes[8];
        BOOL lossy = FALSE;
        if (ToCodePage(codePage, text + i, units, bytes, sizeof bytes, &lossy) == 0 || lossy)
            return units == 2 ? 0x10000 + ((text[i] - 0xD800UL) << 10) + (text[i + 1] - 0xDC00UL) : text[i];
        i += units;
    }
    return 0;
}
