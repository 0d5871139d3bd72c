#pragma once

#include <QElapsedTimer>
#include <QObject>

#include <functional>

class QEventLoop;
class QTimer;

namespace tarvell::bench {

// Measures how long the event loop of its thread goes without a turn: a 1 ms timer notes the
// longest time between two of its timeouts. A window whose loop does not turn does not paint.
// It also notes the most CPU time the thread itself spent between two turns: a long gap with
// little of it was the scheduler giving the core to another thread, not work done on the loop.
// TARVELL_GAP_TRACE_MS=N prints every gap longer than N ms, with when it ended.
class GapMeter : public QObject
{
    Q_OBJECT
public:
    // What one measured run of an event loop gave.
    struct Run
    {
        double seconds = 0;
        double longestGapMs = 0;
        double longestBusyMs = 0;
        qint64 turns = 0;
    };

    // Runs the loop until it quits, measured throughout. begin sets off what the run drives
    // (the banner's load, the ticking timer) once the meter is on.
    static Run measure(QEventLoop &loop, const std::function<void()> &begin);

    explicit GapMeter(QObject *parent = nullptr);

    void start();
    void stop();

    qint64 longestGapNs() const { return m_longestNs; }
    qint64 longestBusyNs() const { return m_longestBusyNs; }
    qint64 turns() const { return m_turns; }

private:
    void onTimeout();

    QTimer *m_timer;
    QElapsedTimer m_clock;
    qint64 m_lastNs = 0;
    qint64 m_longestNs = 0;
    qint64 m_lastCpuNs = 0;
    qint64 m_longestBusyNs = 0;
    qint64 m_traceNs = 0;
    qint64 m_turns = 0;
};

} // namespace tarvell::bench
