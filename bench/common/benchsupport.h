#pragma once

#include <QByteArray>
#include <QLatin1String>
#include <QString>
#include <QtGlobal>

#include <algorithm>
#include <ctime>
#include <vector>

// What every benchmark here needs: medians, CPU clocks and an offscreen
// platform that does not warn on every window shown.
namespace Bench {

inline double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

inline double clockMs(clockid_t clock)
{
    timespec t;
    clock_gettime(clock, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

// CPU time of the calling thread: what the GUI thread itself spent.
inline double threadCpuMs()
{
    return clockMs(CLOCK_THREAD_CPUTIME_ID);
}

// CPU time of the whole process, for work that may use helper threads.
inline double processCpuMs()
{
    return clockMs(CLOCK_PROCESS_CPUTIME_ID);
}

// Call before the QApplication is made: offscreen unless a platform is chosen.
inline void preferOffscreen()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

namespace detail {
inline QtMessageHandler &previousHandler()
{
    static QtMessageHandler handler = nullptr;
    return handler;
}

inline void dropOffscreenNoise(QtMsgType type, const QMessageLogContext &context,
                               const QString &message)
{
    if (previousHandler() && !message.contains(QLatin1String("propagateSizeHints")))
        previousHandler()(type, context, message);
}
} // namespace detail

// Offscreen windows warn on every show; the warning says nothing here.
inline void quietOffscreenWarnings()
{
    detail::previousHandler() = qInstallMessageHandler(detail::dropOffscreenNoise);
}

} // namespace Bench
