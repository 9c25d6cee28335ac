// tests/fuzz/TextFuzz.cpp: feeds arbitrary text to the composition of net.exe's parameters, to the
// tidying of its words and to the report of a failed send, and checks what must hold for any input.
#undef NDEBUG   // the assertions are the checks
#include "form/NetWords.h"
#include "form/SendReport.h"
#include "form/SendRequest.h"

#include <assert.h>
#include <stdint.h>

#include <string>

static bool IsShiftJisLeadByte(unsigned char c)
{
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 3)
        return 0;
    // The first bytes choose limits and outcomes; the machine name and message are the text's first pieces.
    std::string whole(reinterpret_cast<const char*>(data + 3), size - 3);
    size_t split = whole.find('\0');
    std::string machineName = whole.substr(0, split);
    std::string words = split == std::string::npos ? "" : whole.substr(split + 1);
    std::string message = words.substr(0, words.find('\0'));

    // Tidying: no NUL, no blank line first or two in a row, every CR with its LF and no space before them.
    size_t maxLines = data[0] % 24, maxBytes = data[1] * 16u;
    std::string out(TidyNetWordsRoom(maxBytes), '#');
    size_t written = TidyNetWords(whole.data(), whole.size(), maxLines, maxBytes,
                                  data[2] & 1 ? IsShiftJisLeadByte : nullptr, &out[0]);
    assert(written < out.size() && out[written] == '\0');
    out.resize(written);
    assert(out.find('\0') == std::string::npos && out.compare(0, 2, "\r\n") != 0);
    assert(out.find("\r\n\r\n\r\n") == std::string::npos);
    size_t lines = out.empty() ? 0 : 1;
    for (size_t i = 0; i < out.size(); ++i) {
        assert((out[i] == '\r') == (i + 1 < out.size() && out[i + 1] == '\n'));
        if (out[i] == '\n') {
            assert(i >= 2 && out[i - 2] != ' ' && out[i - 2] != '\t');
            ++lines;
        }
    }
    bool cut = out.size() >= 5 && out.compare(out.size() - 5, 5, kNetWordsCut) == 0;
    assert(lines <= maxLines + (cut ? 1 : 0));

    // Composing: ready only for what reaches net.exe as two arguments, whole; otherwise one reason holds.
    CSendRequest request(machineName.c_str(), message.c_str());
    bool splits = machineName.find_first_of(" \t\r\n\v\f\"") != std::string::npos;
    bool empty = machineName.empty() || message.empty();
    bool tooLong = machineName.size() + message.size() > CSendRequest::MaxTextLength;
    assert((request.Check() == CSendRequest::Ready) == !(splits || empty || tooLong));
    std::string parameters(request.ParametersLength() + 1, '#');
    request.ComposeParameters(&parameters[0]);
    assert(parameters == " send " + machineName + " " + message + '\0');

    // Reporting any outcome of either program, with any words: the count is what is written, and every part is in it.
    CSendStory story;
    story.machineName = machineName.c_str();
    story.system = static_cast<CSendStory::System>(data[0] % 3);
    for (CProgramRun* run : { &story.net, &story.last }) {
        run->kind = static_cast<CProgramRun::Kind>(*++data % 7);
        run->exitCode = *data * 0x01010101UL;
        run->words = words.data();
        run->wordsLength = words.size();
        run->path = run->reason = "<path or reason>";
    }
    size_t length = ComposeSendReport(story, nullptr);
    std::string report(length + 2, '#');
    assert(ComposeSendReport(story, &report[0]) == length && report[length] == '\0' && report[length + 1] == '#');
    // The machine is named wherever there are words to show, and always when the client was needed.
    bool named = story.system != CSendStory::HasNetSend || (story.last.kind == CProgramRun::Exited && !words.empty());
    assert(!named || report.find(machineName) != std::string::npos);
    return 0;
}
