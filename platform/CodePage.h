// platform/CodePage.h: noticing the characters of wide text that a code page cannot carry.
#pragma once

#include <windows.h>

// The first character of `text` that `codePage` (CP_ACP, CP_OEMCP or a number) cannot carry exactly, as a
// Unicode code point; 0 when none. A conversion turns such a character silently into the code page's
// default character or into a look-alike (a best fit, "a" for "ā").
unsigned long FirstUncarried(UINT codePage, const wchar_t* text, int length);
