// tapwise-bench-type FILE [text|chars]: types the UTF-8 text of FILE into the
// focused window through the X11 desktop, in one call ("text") or one call
// per character as a string line does ("chars"), and prints the seconds it
// took on stdout; then it keeps the desktop open until its standard input
// ends, as a run would, so that nothing is put back while xterm still reads.
#include "platform/DesktopFactory.h"

#include <QFile>
#include <QString>

#include <chrono>
#include <cstdio>

namespace {

QString notationFor(const QString& text) {
    QString out;
    for (const QChar c : text) {
        if (QStringView(u"+^%~()[]{}").contains(c)) {
            out += u'{' + QString(c) + u'}';
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FILE [text|chars]\n", argv[0]);
        return 2;
    }
    QFile file(QString::fromLocal8Bit(argv[1]));
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 2;
    }
    const QString text = QString::fromUtf8(file.readAll());
    const bool perCharacter = argc > 2 && QByteArray(argv[2]) == "chars";
    auto desktop = tapwise::makeX11Desktop(QStringLiteral("E"));
    if (!desktop) {
        std::fprintf(stderr, "%s\n", qPrintable(desktop.error().message));
        return 1;
    }
    const auto start = std::chrono::steady_clock::now();
    tapwise::Status status;
    if (perCharacter) {
        for (const char32_t c : text.toUcs4()) {
            status = desktop.value()->sendKeys(notationFor(QString::fromUcs4(&c, 1)), true);
            if (!status) {
                break;
            }
        }
    } else {
        status = desktop.value()->sendKeys(notationFor(text), true);
    }
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    if (!status) {
        std::fprintf(stderr, "%s\n", qPrintable(status.error().message));
        return 1;
    }
    std::printf("%.6f\n", took.count());
    std::fflush(stdout);
    // The desktop stays open, as in a run, until the caller has read the
    // result (end of standard input).
    while (std::getchar() != EOF) {
    }
    return 0;
}
