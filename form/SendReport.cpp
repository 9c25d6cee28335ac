// form/SendReport.cpp: ComposeSendReport.
#include "form/SendReport.h"

#include <string.h>

bool IsWineMark(const char* bytes)
{
    return memcmp(bytes, "Wine builtin DLL", 16) == 0 || memcmp(bytes, "Wine placeholder DLL", kWineMarkLength) == 0;
}

namespace {

const char kParagraph[] = "\r\n\r\n";

// Appends to `out`, or only counts when it is null.
class CReportWriter
{
public:
    explicit CReportWriter(char* out) : m_out(out), m_length(0) {}

    CReportWriter& operator<<(const char* text) { return Put(text, strlen(text)); }
    CReportWriter& operator<<(unsigned long number)
    {
        char digits[12];
        size_t count = 0;
        do
            digits[sizeof digits - ++count] = static_cast<char>('0' + number % 10);
        while ((number /= 10) != 0);
        return Put(digits + sizeof digits - count, count);
    }
    CReportWriter& Put(const char* bytes, size_t count)
    {
        if (m_out)
            memcpy(m_out + m_length, bytes, count);
        m_length += count;
        return *this;
    }
    size_t Finish()
    {
        if (m_out)
            m_out[m_length] = '\0';
        return m_length;
    }

private:
    char* m_out;
    size_t m_length;
};

// What a program said, and how it ended.
void PutWords(CReportWriter& out, const CProgramRun& run)
{
    out.Put(run.words, run.wordsLength) << kParagraph << "(" << run.name << " ended with exit code " << run.exitCode
                                        << ".)";
}

// What became of a program that was started, in its own words where it had any.
void DescribeRun(CReportWriter& out, const CSendStory& story, const CProgramRun& run)
{
    switch (run.kind) {
    case CProgramRun::Exited:
        if (run.wordsLength == 0) {
            out << run.name << " could not send the message: it ended with exit code " << run.exitCode << ".";
            break;
        }
        out << "The message could not be sent to " << story.machineName << "." << kParagraph;
        PutWords(out, run);
        break;
    case CProgramRun::StillRunning:
        out << run.name << " has not finished after " << story.timeoutSeconds
            << " seconds, so whether the message was sent is unknown.";
        if (run.wordsLength > 0)
            out << " So far " << run.name << " has said:" << kParagraph;
        out.Put(run.words, run.wordsLength);
        break;
    case CProgramRun::Unknown:
        out << run.name << " was started, but its outcome could not be learned, so whether the message was sent is "
                           "unknown.";
        break;
    case CProgramRun::NotStarted:
        out << run.name << " could not be started (" << run.path << "): " << run.reason;
        break;
    case CProgramRun::Missing:
    case CProgramRun::NotOurs:
    case CProgramRun::Link:
        break;
    }
}

} // namespace

size_t ComposeSendReport(const CSendStory& story, char* out)
{
    CReportWriter report(out);
    if (story.system == CSendStory::HasNetSend) {
        DescribeRun(report, story, story.last);
        return report.Finish();
    }

    report << "The message could not be sent to " << story.machineName << ". "
           << (story.system == CSendStory::WinesOwnNet
                   ? "The system's net.exe is Wine's own, which has no NET SEND command, "
                   : "This version of Windows has no NET SEND command (Windows Vista removed it), ");
    const CProgramRun& client = story.last;
    switch (client.kind) {
    case CProgramRun::Missing:
        report << "and " << client.name << ", which sends in its place, is not in " << client.path << ".";
        break;
    case CProgramRun::NotOurs:
        report << "and the " << client.name << " in " << client.path
               << " is not the one that came with this Mirolt, so it was not started.";
        break;
    case CProgramRun::Link:
        report << "and the " << client.name << " in " << client.path
               << " is a link to another file, which Mirolt does not follow, so it was not started.";
        break;
    default:
        report << "so Mirolt tried its own " << client.name;
        if (client.kind == CProgramRun::Exited && client.wordsLength > 0) {
            report << ", which said:" << kParagraph;
            PutWords(report, client);
        } else {
            report << "." << kParagraph;
            DescribeRun(report, story, client);
        }
        return report.Finish();
    }
    if (story.system == CSendStory::RefusedNetSend && story.net.wordsLength > 0) {
        report << kParagraph << story.net.name << " did not accept the command and said:" << kParagraph;
        PutWords(report, story.net);
    }
    return report.Finish();
}
