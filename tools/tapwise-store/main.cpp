#include "tapwise-store/StoreCommands.h"

#include "common/NativePath.h"

#include <QStringConverter>

#include <cstdio>

int main(int argc, char* argv[]) {
    QStringList arguments;
    // Without loss: a folder's name need not be UTF-8.
    for (int i = 1; i < argc; ++i)
        arguments << tapwise::decodePath(QByteArray(argv[i]));
    QTextStream in(stdin);
    QTextStream out(stdout);
    QTextStream err(stderr);
    in.setEncoding(QStringConverter::Utf8);
    out.setEncoding(QStringConverter::Utf8);
    err.setEncoding(QStringConverter::Utf8);
    return tapwise::StoreCommands(in, out, err).run(arguments);
}
