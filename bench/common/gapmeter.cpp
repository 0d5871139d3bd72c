#include "bench/common/gapmeter.h"

#include "bench/common/processstats.h"

#include <QEventLoop>
#include <QTimer>

#include <cstdio>

namespace tarvell::bench {

GapMeter::Run GapMeter::measure(QEventLoop &loop, const std::function<void()> &begin)
{
    GapMeter meter;
    meter.start();
    begin();
    loop.exec();
    meter.stop();
    return {double(meter.m_clock.nsecsElapsed()) / 1e9, double(meter.longestGapNs()) / 1e6,
            double(meter.longestBusyNs()) / 1e6, meter.turns()};
}

GapMeter::GapMeter(QObject *parent) : QObject(parent), m_timer(new QTimer(this))
{
    m_timer->setTimerType(Qt::PreciseTimer);
    m_timer->setInterval(1);
    connect(m_timer, &QTimer::timeout, this, &GapMeter::onTimeout);
}

void GapMeter::start()
{
    m_longestNs = 0;
    m_longestBusyNs = 0;
    m_turns = 0;
    m_traceNs = qEnvironmentVariableIntValue("TARVELL_GAP_TRACE_MS") * qint64(1000000);
    m_lastCpuNs = threadCpuNs();
    m_clock.start();
    m_lastNs = 0;
    m_timer->start();
}

void GapMeter::stop()
{
    onTimeout();
    m_timer->stop();
}

void GapMeter::onTimeout()
{
    const qint64 now = m_clock.nsecsElapsed();
    const qint64 cpuNow = threadCpuNs();
    const qint64 gap = now - m_lastNs;
    const qint64 busy = cpuNow - m_lastCpuNs;
    if (m_traceNs > 0 && gap > m_traceNs)
        std::fprintf(stderr, "gap %.1f ms (%.1f ms of it on this thread's CPU) ending at %.3f s\n",
                     double(gap) / 1e6, double(busy) / 1e6, double(now) / 1e9);
    m_longestNs = qMax(m_longestNs, gap);
    m_longestBusyNs = qMax(m_longestBusyNs, busy);
    m_lastNs = now;
    m_lastCpuNs = cpuNow;
    ++m_turns;
}

} // namespace tarvell::bench
