#include "bench/common/gapmeter.h"

#include <QEventLoop>
#include <QTimer>

namespace tarvell::bench {

GapMeter::Run GapMeter::measure(QEventLoop &loop, const std::function<void()> &begin)
{
    GapMeter meter;
    meter.start();
    begin();
    loop.exec();
    meter.stop();
    return {double(meter.m_clock.nsecsElapsed()) / 1e9, double(meter.longestGapNs()) / 1e6,
            meter.turns()};
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
    m_turns = 0;
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
    m_longestNs = qMax(m_longestNs, now - m_lastNs);
    m_lastNs = now;
    ++m_turns;
}

} // namespace tarvell::bench
