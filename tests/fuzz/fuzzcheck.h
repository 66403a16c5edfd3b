#pragma once

#include <QByteArray>
#include <QString>

#include <cstdio>
#include <cstdlib>

// A broken property of a fuzz target: says which and with what text, then
// aborts, which libFuzzer reports as a finding and saves the input for.
//
// FUZZ_CHECK(condition, text) takes the text (a QString) that shows the case.
#define FUZZ_CHECK(condition, text)                                                                \
    do {                                                                                           \
        if (!(condition))                                                                          \
            ::FuzzCheck::fail(#condition, __FILE__, __LINE__, (text));                             \
    } while (false)

// For a target's own reference code: its branches are not the parser's, and
// counting them would only steer the fuzzer away from the parser.
#define NO_COVERAGE __attribute__((no_sanitize("coverage")))

namespace FuzzCheck {

[[noreturn]] inline void fail(const char *condition, const char *file, int line,
                              const QString &text)
{
    // Control characters written out, so that a NUL does not cut the case short.
    QString shown;
    for (const QChar c : text) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            shown += QString::asprintf("\\x%02x", c.unicode());
        else
            shown += c;
    }
    std::fprintf(stderr, "%s:%d: property broken: %s\n  case: \"%s\"\n", file, line, condition,
                 shown.toUtf8().constData());
    std::fflush(stderr);
    std::abort();
}

// Qt is not instrumented, so the fuzzer sees none of its branches: without
// help it cannot tell an input that took a parser somewhere new from one that
// did not, and it drops every seed. What a parser gives back is the signal
// left: feedback() runs an instrumented branch per class of character of a
// result, and the hit counts of those branches become the fuzzer's features.
inline void feedback(const QString &result)
{
    static volatile unsigned classes[12];
    for (const QChar c : result) {
        const ushort u = c.unicode();
        if (u < 0x20)
            ++classes[0];
        else if (u == ' ')
            ++classes[1];
        else if (u >= '0' && u <= '9')
            ++classes[2];
        else if ((u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z'))
            ++classes[3];
        else if (u == '.' || u == ',' || u == ';' || u == ':')
            ++classes[4];
        else if (u == '-' || u == '+')
            ++classes[5];
        else if (u == '%' || u == '[' || u == ']' || u == '(' || u == ')')
            ++classes[6];
        else if (u < 0x80)
            ++classes[7];
        else if (u < 0x800)
            ++classes[8];
        else if (c.isSurrogate())
            ++classes[9];
        else if (u == 0xfffd)
            ++classes[10];
        else
            ++classes[11];
    }
}

// The input as text: UTF-8, so that the seeds and dictionaries stay readable;
// invalid sequences become replacement characters, as when Qt reads a file.
inline QString text(const uint8_t *data, size_t size)
{
    return QString::fromUtf8(reinterpret_cast<const char *>(data), int(size));
}

} // namespace FuzzCheck
