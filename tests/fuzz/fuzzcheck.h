#pragma once

#include <QByteArray>
#include <QString>

#include <cstdio>
#include <cstdlib>

// A broken property of a fuzz target: says which and with what text, then
// aborts, which libFuzzer reports as a finding and saves the input for.
//
// FUZZ_CHECK(condition, text) takes the text (a QString) that shows the case.
#define FUZZ_CHECK(condition, text)                                                           \
    do {                                                                                      \
        if (!(condition))                                                                     \
            ::FuzzCheck::fail(#condition, __FILE__, __LINE__, (text));                        \
    } while (false)

// For a target's own reference code: its branches are not the parser's, and
// counting them would only steer the fuzzer away from the parser.
#define NO_COVERAGE __attribute__((no_sanitize("coverage")))

namespace FuzzCheck {

[[noreturn]] inline void fail(const char *condition, const char *file, int line,
                              const QString &text)
{
    std::fprintf(stderr, "%s:%d: property broken: %s\n  case: \"%s\"\n", file, line, condition,
                 text.toUtf8().constData());
    std::fflush(stderr);
    std::abort();
}

// The input as text: UTF-8, so that the seeds and dictionaries stay readable;
// invalid sequences become replacement characters, as when Qt reads a file.
inline QString text(const uint8_t *data, size_t size)
{
    return QString::fromUtf8(reinterpret_cast<const char *>(data), int(size));
}

} // namespace FuzzCheck
