// platform/CodePage.h: exact conversion of wide text into a code page, noticing what it cannot carry.
#pragma once

#include <windows.h>

// Converts `length` wide characters into `codePage` (CP_ACP, CP_OEMCP or a number) without best-fit
// look-alikes: the bytes written to `out`, or needed when `out` is null; 0 when it failed. `lossy` is set
// when a character had no exact match and the code page's default character stands for it.
int ToCodePage(UINT codePage, const wchar_t* text, int length, char* out, int size, BOOL* lossy);

// The first character of `text` that `codePage` cannot carry, as a Unicode code point; 0 when none.
unsigned long FirstUncarried(UINT codePage, const wchar_t* text, int length);
