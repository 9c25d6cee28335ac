// platform/String.h: a small owning ANSI string that reports a failed allocation instead of throwing.
#pragma once

#include <windows.h>

class CString
{
public:
    CString();
    ~CString();

    int GetLength() const { return m_length; }
    bool IsEmpty() const { return m_length == 0; }
    const char* GetString() const { return m_data ? m_data : ""; }
    operator const char*() const { return GetString(); }

    // Room for `length` bytes and a NUL, or null when memory runs out (which marks the string as failed,
    // as below); the old text is dropped.
    char* GetBuffer(int length);
    // The text itself, writable, for calls that want to write into what they are given; null when empty.
    char* GetBuffer() { return m_data; }
    // Ends a GetBuffer: the text is the first `length` bytes, or up to the NUL when `length` is -1.
    void ReleaseBuffer(int length = -1);

    // Appending grows the text, or, when memory runs out, keeps it as it was and marks the string as
    // failed; one check of HasFailed after a run of appends then covers them all.
    CString& Append(const char* text);
    CString& Append(const char* text, int length);
    bool HasFailed() const { return m_failed; }

    bool LoadString(unsigned id);

private:
    CString(const CString&);
    CString& operator=(const CString&);

    char* m_data;
    int m_length;
    int m_capacity;
    bool m_failed;
};
