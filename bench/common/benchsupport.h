#pragma once

#include <QByteArray>
#include <QLatin1String>
#include <QString>
#include <QtGlobal>

#include <algorithm>
#include <cmath>
#include <ctime>
#include <vector>

// What every benchmark here needs: medians, the measured work set against the
// bare work in pairs, CPU clocks and an offscreen platform that does not warn
// on every window shown.
namespace Bench {

// The value below which the share `p` (0 to 1) of `values` lies, by nearest
// rank; 0 for no values.
inline double quantile(std::vector<double> values, double p)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[size_t(std::lround(p * double(values.size() - 1)))];
}

inline double median(const std::vector<double> &values)
{
    return quantile(values, 0.5);
}

// A piece of work measured against the bare Qt or Python work it stands on.
// The two are timed in turns, one pair a run (bare, measured, bare, measured,
// ...), and each pair gives a ratio, so that a slow spell of the machine or
// of the process weighs on both sides of the ratios it touches; the figure is
// the median of the paired ratios, and its spread the middle half of them
// (from the first to the third quartile).
class Pairs
{
public:
    void add(double measured, double bare)
    {
        m_measured.push_back(measured);
        m_bare.push_back(bare);
    }

    // The medians of the times themselves.
    double measured() const { return median(m_measured); }
    double bare() const { return median(m_bare); }

    double ratio() const { return median(ratios()); }
    double lowRatio() const { return quantile(ratios(), 0.25); }
    double highRatio() const { return quantile(ratios(), 0.75); }

    // The ratio with its spread, as "1.22x (1.18-1.27)".
    QString ratioText() const
    {
        return QString::asprintf("%.2fx (%.2f-%.2f)", ratio(), lowRatio(), highRatio());
    }

private:
    std::vector<double> ratios() const
    {
        std::vector<double> result;
        for (size_t i = 0; i < m_measured.size(); ++i)
            result.push_back(m_measured[i] / m_bare[i]);
        return result;
    }

    std::vector<double> m_measured;
    std::vector<double> m_bare;
};

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
