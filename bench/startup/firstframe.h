#pragma once

#include <QObject>
#include <QString>

class QWidget;

namespace tarvell::bench {

struct StartupOptions
{
    QString host;
    int lingerMs = 0;
};

// Reads --linger-ms N, and --host HOST where a host is wanted; prints the usage and exits on
// anything else. Runs before QApplication, so that Qt's own options are left to it.
StartupOptions parseOptions(int argc, char *argv[], bool takesHost);

// Watches a window for its first paint. Once that paint and its flush are done, prints
//   frame_ns=<CLOCK_REALTIME ns> cpu_ns=<process CPU time> rss_kb=<VmRSS>
// then, after lingerMs (when not 0), "rss_settled_kb=<VmRSS>", and quits the application.
class FirstFrameReport : public QObject
{
public:
    FirstFrameReport(QWidget *window, int lingerMs);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void reportFrame();
    void reportSettled();

    QWidget *m_window;
    int m_lingerMs;
    bool m_painted = false;
};

} // namespace tarvell::bench
