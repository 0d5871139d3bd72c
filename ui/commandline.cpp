#include "ui/commandline.h"

#include "ui/version.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>

namespace tarvell {

namespace {

// The options QGuiApplication, QApplication and the xcb platform read from argv themselves. The
// parser must know them, or it would call them unknown before Qt gets to see them.
void acceptQtOptions(QCommandLineParser &parser)
{
    const QStringList withValue =
        QStringLiteral("platform platformpluginpath platformtheme plugin qwindowgeometry geometry "
                       "qwindowicon icon qwindowtitle title session style stylesheet display name "
                       "visual qmljsdebugger")
            .split(u' ');
    const QStringList flags =
        QStringLiteral("reverse widgetcount nograb dograb sync testability").split(u' ');
    for (const QString &name : withValue) {
        QCommandLineOption option(name, QString(), QStringLiteral("value"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    for (const QString &name : flags) {
        QCommandLineOption option(name);
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
}

void print(std::FILE *stream, const QString &text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
}

} // namespace

std::optional<int> answerCommandLine(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);

    QCommandLineParser parser;
    // Qt's options are single-dash words (-platform, -style), so ours read the same way.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(
        QStringLiteral("Distance between the home cities of two basketball teams."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Displays this help and exits."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Displays the version and exits."));
    parser.addOption(help);
    parser.addOption(version);
    acceptQtOptions(parser);

    QString error;
    if (!parser.parse(arguments))
        error = parser.errorText();
    else if (!parser.positionalArguments().isEmpty())
        error = QStringLiteral("Unexpected argument '%1'.").arg(parser.positionalArguments()[0]);
    else if (!parser.isSet(help) && !parser.isSet(version))
        return std::nullopt;

    // A core application, which needs no display, names the program in the usage line.
    QCoreApplication app(argc, argv);
    const QString program = QCoreApplication::applicationName();
    if (!error.isEmpty()) {
        print(
            stderr,
            QStringLiteral("%1: %2\nTry '%1 --help' for more information.\n").arg(program, error));
        return 2;
    }
    if (parser.isSet(help))
        print(stdout, parser.helpText());
    else
        print(stdout, QStringLiteral("Tarvell " TARVELL_VERSION "\n"));
    return 0;
}

} // namespace tarvell
