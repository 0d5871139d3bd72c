#pragma once

#include <QElapsedTimer>
#include <QObject>

class QTimer;

namespace tarvell::bench {

// Measures how long the event loop of its thread goes without a turn: a 1 ms timer notes the
// longest time between two of its timeouts. A window whose loop does not turn does not paint.
class GapMeter : public QObject
{
    Q_OBJECT
public:
    explicit GapMeter(QObject *parent = nullptr);

    void start();
    void stop();

    qint64 longestGapNs() const { return m_longestNs; }
    qint64 turns() const { return m_turns; }

private:
    void onTimeout();

    QTimer *m_timer;
    QElapsedTimer m_clock;
    qint64 m_lastNs = 0;
    qint64 m_longestNs = 0;
    qint64 m_turns = 0;
};

} // namespace tarvell::bench
