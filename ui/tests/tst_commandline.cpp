// The program's command line, run as a user would run it: no display, no platform chosen.
#include "ui/version.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTest>

class TestCommandLine : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void answers_data();
    void answers();
};

void TestCommandLine::answers_data()
{
    QTest::addColumn<QStringList>("arguments");
    // -1 when Qt itself ends the program.
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("err");

    const QString nothing = QStringLiteral("^$");
    const QString version = QLatin1Char('^') +
                            QRegularExpression::escape(QStringLiteral("Tarvell " TARVELL_VERSION)) +
                            QStringLiteral("\\n$");
    const QString help =
        QStringLiteral("^Usage: \\S*tarvell(\\.exe)? \\[options\\]\\n.*-h, --help.*--version");
    const auto badOption = [](const QString &error) {
        return QLatin1Char('^') + QRegularExpression::escape(QStringLiteral("tarvell: ") + error) +
               QStringLiteral("\\nTry 'tarvell --help' for more information\\.\\n$");
    };

    QTest::newRow("--version") << QStringList{"--version"} << 0 << version << nothing;
    QTest::newRow("-v") << QStringList{"-v"} << 0 << version << nothing;
    QTest::newRow("--help") << QStringList{"--help"} << 0 << help << nothing;
    QTest::newRow("-h wins over -v") << QStringList{"-h", "-v"} << 0 << help << nothing;
    QTest::newRow("unknown option") << QStringList{"--frobnicate"} << 2 << nothing
                                    << badOption(QStringLiteral("Unknown option 'frobnicate'."));
    QTest::newRow("unknown option next to --version")
        << QStringList{"--version", "-x"} << 2 << nothing
        << badOption(QStringLiteral("Unknown option 'x'."));
    QTest::newRow("argument it does not take")
        << QStringList{"teams.txt"} << 2 << nothing
        << badOption(QStringLiteral("Unexpected argument 'teams.txt'."));
    QTest::newRow("Qt option without its value")
        << QStringList{"-style"} << 2 << nothing
        << badOption(QStringLiteral("Missing value after '-style'."));
    QTest::newRow("Qt options are not unknown")
        << QStringList{"-style=fusion", "-reverse", "--version"} << 0 << version << nothing;
    // Proves -platform reaches QApplication: only Qt knows the plugin is missing.
    QTest::newRow("-platform reaches Qt") << QStringList{"-platform", "nosuchplatform"} << -1
                                          << nothing << QStringLiteral("\"nosuchplatform\"");
}

void TestCommandLine::answers()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, out);
    QFETCH(QString, err);
#ifdef Q_OS_WIN
    if (exitCode == -1)
        QSKIP("Qt on Windows shows a failed start in a message box that waits for the user.");
#endif

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(name));
    QProcess program;
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(TARVELL_BINARY), arguments);
    QVERIFY(program.waitForFinished(30000));

    const int ended = program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1;
    QCOMPARE(ended, exitCode);
    // Windows ends the lines of a program's text output with CR LF.
    const auto matches = [](const QString &pattern, const QByteArray &stream) {
        return QRegularExpression(pattern, QRegularExpression::DotMatchesEverythingOption)
            .match(QString::fromLocal8Bit(stream).replace(QStringLiteral("\r\n"),
                                                          QStringLiteral("\n")))
            .hasMatch();
    };
    const QByteArray stdOut = program.readAllStandardOutput();
    const QByteArray stdErr = program.readAllStandardError();
    QVERIFY2(matches(out, stdOut), stdOut.constData());
    QVERIFY2(matches(err, stdErr), stdErr.constData());
}

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
