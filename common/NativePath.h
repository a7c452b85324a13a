#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>

namespace tapwise {

// File names on Linux are bytes. Most are UTF-8, but a folder made under a
// Latin-1 locale ("caf\xE9") is not, and Qt's own conversion turns such a
// byte into U+FFFD, so that the name no longer reaches the file. These two
// functions convert without loss: valid UTF-8 becomes its characters, and
// every byte that is not part of valid UTF-8 becomes the lone surrogate
// U+DC80 + byte (the "surrogate escape" Python uses), which encodePath turns
// back into that byte. Every path that crosses into the system goes through
// encodePath, every name that comes from it through decodePath.

inline QString decodePath(const QByteArray& bytes) {
    QString out;
    out.reserve(bytes.size());
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n;) {
        const unsigned char b = p[i];
        int length = b < 0x80           ? 1
                     : (b >> 5) == 0x6  ? 2
                     : (b >> 4) == 0xE  ? 3
                     : (b >> 3) == 0x1E ? 4
                                        : 0;
        char32_t c = length == 1 ? b : length == 2 ? b & 0x1F : length == 3 ? b & 0x0F : b & 0x07;
        bool valid = length > 0 && i + length <= n;
        for (int k = 1; valid && k < length; ++k) {
            valid = (p[i + k] & 0xC0) == 0x80;
            c = (c << 6) | (p[i + k] & 0x3F);
        }
        // Overlong forms, surrogates and values beyond Unicode are not UTF-8.
        static constexpr char32_t Least[] = {0, 0, 0x80, 0x800, 0x10000};
        valid = valid && c >= Least[length] && c <= 0x10FFFF && !(c >= 0xD800 && c < 0xE000);
        if (!valid) {
            out += QChar(char16_t(0xDC00 + b));
            ++i;
            continue;
        }
        if (c >= 0x10000) {
            out += QChar(QChar::highSurrogate(c));
            out += QChar(QChar::lowSurrogate(c));
        } else {
            out += QChar(char16_t(c));
        }
        i += length;
    }
    return out;
}

inline QByteArray encodePath(const QString& path) {
    QByteArray out;
    out.reserve(path.size());
    for (qsizetype i = 0; i < path.size(); ++i) {
        const char16_t u = path[i].unicode();
        // A lone escaped byte is the byte; pairs are consumed whole below.
        if (u >= 0xDC80 && u <= 0xDCFF) {
            out += char(u - 0xDC00);
            continue;
        }
        qsizetype length = 1;
        if (QChar::isHighSurrogate(u) && i + 1 < path.size() && path[i + 1].isLowSurrogate())
            length = 2;
        out += QStringView(path).mid(i, length).toUtf8();
        i += length - 1;
    }
    return out;
}

// Whether the path holds a byte that is not UTF-8 (escaped by decodePath):
// such a name reaches the file only through encodePath, never through a
// text that must be UTF-8 (a launcher file) or through Qt's file classes.
inline bool hasEscapedBytes(const QString& path) {
    for (qsizetype i = 0; i < path.size(); ++i) {
        const char16_t u = path[i].unicode();
        if (u >= 0xDC80 && u <= 0xDCFF)
            return true;
        if (QChar::isHighSurrogate(u) && i + 1 < path.size() && path[i + 1].isLowSurrogate())
            ++i;
    }
    return false;
}

// The file URL of a local path, its bytes percent-encoded as they are:
// QUrl::fromLocalFile would turn a byte that is not UTF-8 into another name.
inline QUrl localFileUrl(const QString& path) {
    return QUrl::fromEncoded(QByteArrayLiteral("file://") +
                             encodePath(path).toPercentEncoding("/"));
}

} // namespace tapwise
