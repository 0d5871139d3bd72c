#include "banner/fuzz/fuzzsetup.h"

#include <QGuiApplication>
#include <QLoggingCategory>

namespace tarvell::fuzz {

void startApplication(const char *name)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QLoggingCategory::setFilterRules(QStringLiteral("qt.gui.imageio*=false\nqt.text.*=false"));
    // The application keeps argc and argv for its whole life.
    static QByteArray program(name);
    static int argc = 1;
    static char *argv[] = {program.data(), nullptr};
    static QGuiApplication app(argc, argv);
}

QByteArray inputBytes(const std::uint8_t *data, std::size_t size)
{
    return QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
}

} // namespace tarvell::fuzz
