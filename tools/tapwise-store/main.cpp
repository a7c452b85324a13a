#include "tapwise-store/StoreCommands.h"

#include <QStringConverter>

#include <cstdio>

int main(int argc, char* argv[]) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    QTextStream in(stdin);
    QTextStream out(stdout);
    QTextStream err(stderr);
    in.setEncoding(QStringConverter::Utf8);
    out.setEncoding(QStringConverter::Utf8);
    err.setEncoding(QStringConverter::Utf8);
    return tapwise::StoreCommands(in, out, err).run(arguments);
}
