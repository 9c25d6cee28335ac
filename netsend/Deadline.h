// netsend/Deadline.h: CDeadline: how long a network step may wait, within a limit for the whole send.
#pragma once

#include <windows.h>

// What any one network step may take at most.
const DWORD kStepTimeoutMs = 5000;

class CDeadline {
public:
    explicit CDeadline(DWORD totalMs) : m_start(::GetTickCount()), m_totalMs(totalMs) {}

    // The step's own limit, or what is left of the whole, whichever is less.
    DWORD Allowed(DWORD stepMs) const
    {
        DWORD spent = ::GetTickCount() - m_start;
        DWORD left = spent < m_totalMs ? m_totalMs - spent : 0;
        return left < stepMs ? left : stepMs;
    }

    DWORD TotalMs() const { return m_totalMs; }

private:
    DWORD m_start;
    DWORD m_totalMs;
};
