// platform/MessageMap.h: static command tables whose rows bind a window message to a handler member.
#pragma once

#include "platform/Wnd.h"

#include <stddef.h>

// The few handler shapes there are, each named for what it receives.
struct CMessageHandler
{
    enum Shape { Plain, SysCommand, QueryIcon };

    constexpr CMessageHandler(void (CWnd::*handler)()) : shape(Plain), plain(handler) {}
    constexpr CMessageHandler(void (CWnd::*handler)(UINT, LPARAM)) : shape(SysCommand), sysCommand(handler) {}
    constexpr CMessageHandler(HICON (CWnd::*handler)()) : shape(QueryIcon), queryIcon(handler) {}

    Shape shape;
    union {
        void (CWnd::*plain)();                         // void OnSend()
        void (CWnd::*sysCommand)(UINT id, LPARAM);     // void OnSysCommand(UINT id, LPARAM param)
        HICON (CWnd::*queryIcon)();                    // HICON OnQueryDragIcon()
    };
};

template <class T>
constexpr CMessageHandler handler(void (T::*member)())
{
    return CMessageHandler(static_cast<void (CWnd::*)()>(member));
}

template <class T>
constexpr CMessageHandler handler(void (T::*member)(UINT, LPARAM))
{
    return CMessageHandler(static_cast<void (CWnd::*)(UINT, LPARAM)>(member));
}

template <class T>
constexpr CMessageHandler handler(HICON (T::*member)())
{
    return CMessageHandler(static_cast<HICON (CWnd::*)()>(member));
}

// One row: a message, and for WM_COMMAND its notification code and a range of control IDs.
struct CMessageEntry
{
    UINT message;
    UINT code;
    UINT firstId;
    UINT lastId;
    CMessageHandler handler;
};

// A class's own rows, and the table of the class it derives from.
struct CMessageMap
{
    const CMessageMap* base;
    const CMessageEntry* entries;
    size_t count;
};

// The first row that matches, searching a class's own rows before its base class's; null when none does.
const CMessageEntry* FindMessageEntry(const CMessageMap* map, UINT message, UINT code, UINT id);
