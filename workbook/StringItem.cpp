#include "workbook/StringItem.h"

#include "workbook/XmlNames.h"

namespace tapwise {

namespace {

int hexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if ((c | 0x20) >= 'a' && (c | 0x20) <= 'f') {
        return (c | 0x20) - 'a' + 10;
    }
    return -1;
}

// The unit of an escape starting at text[at] ("_x", 4 hex digits, "_"), or -1.
int escapeAt(std::string_view text, size_t at) {
    if (at + 7 > text.size() || text[at] != '_' || text[at + 1] != 'x' || text[at + 6] != '_') {
        return -1;
    }
    int unit = 0;
    for (size_t i = at + 2; i < at + 6; ++i) {
        const int digit = hexValue(text[i]);
        if (digit < 0) {
            return -1;
        }
        unit = unit * 16 + digit;
    }
    return unit;
}

bool looksLikeEscape(const QString& text, qsizetype at) {
    if (at + 7 > text.size() || text[at] != u'_' || text[at + 1] != u'x' || text[at + 6] != u'_') {
        return false;
    }
    for (qsizetype i = at + 2; i < at + 6; ++i) {
        const char16_t c = text[i].unicode();
        if (c > 0x7f || hexValue(char(c)) < 0) {
            return false;
        }
    }
    return true;
}

bool needsEscape(const QString& text, qsizetype at) {
    const char16_t c = text[at].unicode();
    if (c == u'\t' || c == u'\n') {
        return false;
    }
    if (c < 0x20 || c == 0xfffe || c == 0xffff) {
        return true;
    }
    if (QChar::isHighSurrogate(c)) {
        return at + 1 >= text.size() || !text[at + 1].isLowSurrogate();
    }
    if (QChar::isLowSurrogate(c)) {
        return at == 0 || !text[at - 1].isHighSurrogate();
    }
    return false;
}

QString unitEscape(char16_t unit) {
    return QStringLiteral("_x") + QString::number(unit, 16).toUpper().rightJustified(4, u'0') +
           QStringLiteral("_");
}

} // namespace

QString decodeEscapes(std::string_view utf8) {
    if (utf8.find("_x") == std::string_view::npos) {
        return QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
    }
    QString text;
    size_t plain = 0;
    for (size_t i = 0; i < utf8.size(); ++i) {
        const int unit = escapeAt(utf8, i);
        if (unit < 0) {
            continue;
        }
        text += QString::fromUtf8(utf8.data() + plain, qsizetype(i - plain));
        text += QChar(char16_t(unit));
        i += 6;
        plain = i + 1;
    }
    text += QString::fromUtf8(utf8.data() + plain, qsizetype(utf8.size() - plain));
    return text;
}

std::string encodeEscapes(const QString& text) {
    QString escaped;
    escaped.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (needsEscape(text, i)) {
            escaped += unitEscape(text[i].unicode());
        } else if (looksLikeEscape(text, i)) {
            escaped += QStringLiteral("_x005F_");
        } else {
            escaped += text[i];
        }
    }
    return escaped.toStdString();
}

QString stringItemText(pugi::xml_node item) {
    QString text;
    for (pugi::xml_node child = item.first_child(); child; child = child.next_sibling()) {
        if (hasLocalName(child, "t")) {
            text += decodeEscapes(child.text().get());
        } else if (hasLocalName(child, "r")) {
            text += decodeEscapes(firstChild(child, "t").text().get());
        }
    }
    return text;
}

void writeStringItem(pugi::xml_node item, const QString& text) {
    pugi::xml_node t = item.append_child(nameInScope(item, "t").c_str());
    const bool edgeBlank = !text.isEmpty() && (text.front().isSpace() || text.back().isSpace());
    if (edgeBlank) {
        t.append_attribute("xml:space").set_value("preserve");
    }
    t.append_child(pugi::node_pcdata).set_value(encodeEscapes(text).c_str());
}

} // namespace tapwise
