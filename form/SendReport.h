// form/SendReport.h: which program sends next, and what the Error box says when a message was not sent,
// from plain facts about the programs that were started.
// Needs no window and no Windows header, so it is also built, tested and fuzzed natively.
#pragma once

#include <stddef.h>

// What became of one program that was to send the message.
struct CProgramRun {
    enum Kind {
        Exited,        // it ended with exitCode
        StillRunning,  // it outlived the wait
        Unknown,       // it was started, but watching it failed
        NotStarted,    // it could not be started, for `reason`
        Missing,       // it is not in `folder`
        NotOurs,       // the copy in `folder` is not the one that came with this program, so it never ran
        Link           // the copy in `folder` is a link to another file, which is not followed, so it never ran
    };
    Kind kind = Exited;
    const char* name = "net.exe";
    const char* path = "";     // NotStarted: the program; Missing, NotOurs: its folder
    const char* reason = "";   // NotStarted: the system's words
    unsigned long exitCode = 0;
    const char* words = "";    // what it said, tidied
    size_t wordsLength = 0;

    bool Succeeded() const { return kind == Exited && exitCode == 0; }
};

// Wine marks its own programs with one of two texts at this offset, where a Windows program has its DOS stub: its
// built-in modules with one, and the placeholder files it leaves in a prefix for modules it has built in with the
// other. `bytes` holds the kWineMarkLength bytes found there.
const size_t kWineMarkOffset = 0x40;
const size_t kWineMarkLength = 20;
bool IsWineMark(const char* bytes);

// net.exe ends with exit code 1 when it does not accept a command. On Windows Vista and later (major version 6),
// which removed NET SEND, that is what every NET SEND gets, so the project's own client is to send instead. On
// the systems before, it is net.exe refusing this command (an option that it reads in the message, say), which
// its own words explain.
inline bool NetSendIsMissing(const CProgramRun& net, unsigned long windowsMajorVersion)
{
    return net.kind == CProgramRun::Exited && net.exitCode == 1 && windowsMajorVersion >= 6;
}

struct CSendStory {
    enum System {
        HasNetSend,      // `last` is the system's net.exe
        RefusedNetSend,  // net.exe did not accept the command, saying `net`; `last` is the client
        WinesOwnNet      // the system's net.exe is Wine's own, which has none; `last` is the client
    };
    const char* machineName = "";
    unsigned long timeoutSeconds = 0;
    System system = HasNetSend;
    CProgramRun net;
    CProgramRun last;
};

// Writes the Error box's text for a message that was not sent, and a NUL, to `out` (or only counts, when
// it is null); returns its length, without the NUL.
size_t ComposeSendReport(const CSendStory& story, char* out);
