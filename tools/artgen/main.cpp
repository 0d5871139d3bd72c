// Draws every bitmap the application ships and writes it in the exact byte layouts the UI
// expects. Run it from a build with TARVELL_BUILD_TOOLS=ON; see tools/README.md.

#include "banner.h"
#include "bmpwriter.h"
#include "cursor.h"
#include "icons.h"
#include "logos.h"

#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QTextStream>

namespace {

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes) != bytes.size()) {
        QTextStream(stderr) << "tarvell-artgen: cannot write " << path << ": " << file.errorString()
                            << '\n';
        return false;
    }
    return true;
}

bool writePng(const QString &path, const QImage &image)
{
    if (!image.save(path, "PNG")) {
        QTextStream(stderr) << "tarvell-artgen: cannot write " << path << '\n';
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    QTextStream err(stderr);
    const QStringList args = QGuiApplication::arguments();
    if (args.size() != 2) {
        err << "usage: tarvell-artgen <outdir>\n";
        return 2;
    }
    if (!QFontDatabase::families().contains(artgen::kLetteringFamily)) {
        err << "tarvell-artgen: font family \"" << artgen::kLetteringFamily
            << "\" is missing (Debian: fonts-noto-cjk)\n";
        return 1;
    }

    const QDir out(args.at(1));
    if (!out.mkpath(QStringLiteral("logos")) || !out.mkpath(QStringLiteral("icons"))) {
        err << "tarvell-artgen: cannot create " << out.path() << '\n';
        return 1;
    }

    bool ok = true;
    for (int i = 0; i < artgen::kTeamCount; ++i) {
        ok &= writeFile(out.filePath(QStringLiteral("logos/%1.bmp").arg(i + 1)),
                        artgen::bmpFile(artgen::teamLogo(i)));
    }
    const QByteArray icon = artgen::ico24(artgen::appIcon(32));
    ok &= writeFile(out.filePath(QStringLiteral("tarvell.ico")), icon);
    // Windows resource scripts take an icon image as raw data: the single DIB after the
    // 6-byte directory and its 16-byte entry.
    ok &= out.mkpath(QStringLiteral("win")) &&
          writeFile(out.filePath(QStringLiteral("win/icon30001.dib")), icon.mid(6 + 16));
    for (int size : {32, 48, 64, 128, 256}) {
        ok &=
            writePng(out.filePath(QStringLiteral("icons/%1.png").arg(size)), artgen::appIcon(size));
    }
    ok &= writeFile(out.filePath(QStringLiteral("banner.bmp")),
                    artgen::bmpFile(artgen::bannerImage()));
    ok &= writeFile(
        out.filePath(QStringLiteral("hand.ico")),
        artgen::ico4({artgen::handCursor(32), artgen::handCursor(16)}, artgen::cursorPalette()));
    if (!ok)
        return 1;

    const QPoint big = artgen::handHotSpot(32);
    const QPoint small = artgen::handHotSpot(16);
    QTextStream(stdout) << "hand.ico fingertip (hot spot): 32x32 at " << big.x() << ", " << big.y()
                        << "; 16x16 at " << small.x() << ", " << small.y() << '\n';
    return 0;
}
