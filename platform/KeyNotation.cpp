#include "platform/KeyNotation.h"

#include "platform/PlatformTexts.h"

#include <array>
#include <utility>

namespace tapwise {
namespace {

struct NameEntry {
    const char* name;
    NamedKey key;
};

constexpr std::array<NameEntry, 19> kNames{{
    {"BACKSPACE", NamedKey::Backspace},
    {"BREAK", NamedKey::Break},
    {"CAPSLOCK", NamedKey::CapsLock},
    {"DELETE", NamedKey::Delete},
    {"DOWN", NamedKey::Down},
    {"END", NamedKey::End},
    {"ENTER", NamedKey::Enter},
    {"ESC", NamedKey::Escape},
    {"HOME", NamedKey::Home},
    {"INSERT", NamedKey::Insert},
    {"LEFT", NamedKey::Left},
    {"NUMLOCK", NamedKey::NumLock},
    {"PGDN", NamedKey::PageDown},
    {"PGUP", NamedKey::PageUp},
    {"PRTSC", NamedKey::PrintScreen},
    {"RIGHT", NamedKey::Right},
    {"SCROLLLOCK", NamedKey::ScrollLock},
    {"TAB", NamedKey::Tab},
    {"UP", NamedKey::Up},
}};

// Names that stand for a character rather than a key.
constexpr std::array<std::pair<const char*, char32_t>, 3> kCharacterNames{{
    {"SPACE", U' '},
    {"PLUS", U'+'},
    {"COMMA", U','},
}};

// The character at i, joining a surrogate pair; a lone surrogate comes back
// as itself and is refused later as untypeable.
char32_t codePointAt(const QString& s, qsizetype i, qsizetype* length) {
    const QChar c = s.at(i);
    if (c.isHighSurrogate() && i + 1 < s.size() && s.at(i + 1).isLowSurrogate()) {
        *length = 2;
        return QChar::surrogateToUcs4(c, s.at(i + 1));
    }
    *length = 1;
    return c.unicode();
}

// Control characters, surrogates and noncharacters: no key gives them. Nor
// does U+FEFF, the byte order mark, which text conversions drop or add on
// their own, so that it could never be written back as it was read.
bool typeable(char32_t c) {
    return c >= 0x20 && !(c >= 0x7f && c < 0xa0) && !(c >= 0xd800 && c < 0xe000) &&
           !(c >= 0xfdd0 && c < 0xfdf0) && (c & 0xfffe) != 0xfffe && c <= 0x10ffff && c != 0xfeff;
}

// The value of a run of at most `maxDigits` ASCII digits; -1 for anything else.
int digitsValue(const QString& text, qsizetype maxDigits) {
    if (text.isEmpty() || text.size() > maxDigits) {
        return -1;
    }
    int value = 0;
    for (const QChar d : text) {
        if (d < u'0' || d > u'9') {
            return -1;
        }
        value = value * 10 + (d.unicode() - u'0');
    }
    return value;
}

// Sets `stroke` to the key or character that the upper-case name stands for;
// false when it is no name.
bool lookUpName(const QString& upper, KeyStroke& stroke) {
    for (const NameEntry& entry : kNames) {
        if (upper == QLatin1String(entry.name)) {
            stroke.kind = KeyStroke::Kind::Named;
            stroke.key = entry.key;
            return true;
        }
    }
    for (const auto& [text, character] : kCharacterNames) {
        if (upper == QLatin1String(text)) {
            stroke.character = character;
            return true;
        }
    }
    // F1 to F16, without leading zeros.
    const bool function = upper.size() > 1 && upper.at(0) == u'F' && upper.at(1) != u'0';
    const int n = function ? digitsValue(upper.mid(1), 2) : -1;
    if (n < 1 || n > 16) {
        return false;
    }
    stroke.kind = KeyStroke::Kind::Named;
    stroke.key = static_cast<NamedKey>(static_cast<int>(NamedKey::F1) + n - 1);
    return true;
}

// The parser's state: the text, where it is, and what it has read so far.
class NotationReader {
public:
    NotationReader(const QString& text, const QString& lang) : text_(text), lang_(lang) {}

    Result<QList<KeyStroke>> read();

private:
    Status readBraces();
    Status readName(const QString& inside);
    Status readCharacter(char32_t c);
    Status untypeable(char32_t c, qsizetype index) const;
    void add(KeyStroke stroke);
    Error error(const BilingualText& message, const QString& a, const QString& b = {},
                const QString& c = {}) const;

    const QString& text_;
    const QString& lang_;
    qsizetype pos_ = 0;
    unsigned pending_ = NoModifier;
    QList<KeyStroke> strokes_;
};

Result<QList<KeyStroke>> NotationReader::read() {
    while (pos_ < text_.size()) {
        const QChar c = text_.at(pos_);
        Status status;
        if (c == u'+' || c == u'^' || c == u'%') {
            pending_ |= c == u'+' ? ShiftModifier : c == u'^' ? CtrlModifier : AltModifier;
            ++pos_;
        } else if (c == u'{') {
            status = readBraces();
        } else if (c == u'}') {
            return error(platform_text::kStrayBrace, text_, QString::number(pos_ + 1));
        } else if (c == u'(' || c == u')') {
            return error(platform_text::kBareParenthesis, text_, QString(c),
                         QString::number(pos_ + 1));
        } else if (c == u'\r' && pos_ + 1 < text_.size() && text_.at(pos_ + 1) == u'\n') {
            ++pos_; // "\r\n" is one line break: the "\n" makes the Enter
        } else {
            qsizetype length = 1;
            const char32_t cp = codePointAt(text_, pos_, &length);
            status = readCharacter(cp);
            pos_ += length;
        }
        if (!status) {
            return status.error();
        }
    }
    if (pending_ != NoModifier) {
        KeyStroke tap;
        tap.kind = KeyStroke::Kind::ModifiersOnly;
        add(tap);
    }
    return std::move(strokes_);
}

Status NotationReader::readBraces() {
    // The closing brace is looked for from the second character on, so that
    // "{}}" is the literal "}".
    const qsizetype close = text_.indexOf(u'}', pos_ + 2);
    if (close < 0) {
        return error(platform_text::kUnclosedBrace, text_, QString::number(pos_ + 1));
    }
    const QString inside = text_.mid(pos_ + 1, close - pos_ - 1);
    pos_ = close + 1;
    return readName(inside);
}

Status NotationReader::readName(const QString& inside) {
    QString name = inside;
    KeyStroke stroke;
    const qsizetype space = inside.lastIndexOf(u' ');
    if (space > 0) {
        stroke.repeat = digitsValue(inside.mid(space + 1), 4);
        if (stroke.repeat < 0 || stroke.repeat > kMaxKeyRepeat) {
            return error(platform_text::kBadRepeatCount, text_, inside);
        }
        name = inside.left(space);
    }
    qsizetype length = 0;
    const char32_t first = name.isEmpty() ? 0 : codePointAt(name, 0, &length);
    if (!name.isEmpty() && length == name.size()) {
        if (!typeable(first)) {
            return untypeable(first, pos_ - inside.size() - 1);
        }
        stroke.character = first;
    } else if (!lookUpName(name.toUpper(), stroke)) {
        return error(platform_text::kUnknownKeyName, text_, inside);
    }
    add(stroke);
    return {};
}

Status NotationReader::readCharacter(char32_t c) {
    KeyStroke stroke;
    if (c == U'~' || c == U'\n' || c == U'\r') {
        stroke.kind = KeyStroke::Kind::Named;
        stroke.key = NamedKey::Enter;
    } else if (c == U'\t') {
        stroke.kind = KeyStroke::Kind::Named;
        stroke.key = NamedKey::Tab;
    } else if (!typeable(c)) {
        return untypeable(c, pos_);
    } else {
        stroke.character = c;
    }
    add(stroke);
    return {};
}

Status NotationReader::untypeable(char32_t c, qsizetype index) const {
    return error(platform_text::kControlCharacter, text_,
                 QStringLiteral("%1").arg(static_cast<uint>(c), 4, 16, QLatin1Char('0')),
                 QString::number(index + 1));
}

void NotationReader::add(KeyStroke stroke) {
    stroke.modifiers = pending_;
    pending_ = NoModifier;
    strokes_.append(stroke);
}

Error NotationReader::error(const BilingualText& message, const QString& a, const QString& b,
                            const QString& c) const {
    // One pass over the message, so that a "%" in the notation stays as it is.
    const QString m = message.in(lang_);
    const QString text = c.isNull() ? (b.isNull() ? m.arg(a) : m.arg(a, b)) : m.arg(a, b, c);
    return Error{kBadKeyNotation, text};
}

} // namespace

Result<QList<KeyStroke>> parseKeyNotation(const QString& notation, const QString& lang) {
    return NotationReader(notation, lang).read();
}

QString keyName(NamedKey key) {
    if (key >= NamedKey::F1) {
        return QStringLiteral("F%1").arg(static_cast<int>(key) - static_cast<int>(NamedKey::F1) +
                                         1);
    }
    for (const NameEntry& entry : kNames) {
        if (entry.key == key) {
            return QLatin1String(entry.name);
        }
    }
    return {};
}

QString strokeNotation(const KeyStroke& stroke) {
    QString out;
    if (stroke.modifiers & ShiftModifier) {
        out += u'+';
    }
    if (stroke.modifiers & CtrlModifier) {
        out += u'^';
    }
    if (stroke.modifiers & AltModifier) {
        out += u'%';
    }
    const QString count = stroke.repeat == 1 ? QString() : QStringLiteral(" %1").arg(stroke.repeat);
    if (stroke.kind == KeyStroke::Kind::Named) {
        return out + u'{' + keyName(stroke.key) + count + u'}';
    }
    if (stroke.kind == KeyStroke::Kind::ModifiersOnly) {
        return out;
    }
    // Not QString::fromUcs4, which takes a leading U+FEFF for a byte order mark.
    const char32_t u = stroke.character;
    QString c;
    if (u >= 0x10000) {
        c += QChar(QChar::highSurrogate(u));
        c += QChar(QChar::lowSurrogate(u));
    } else {
        c += QChar(char16_t(u));
    }
    if (!count.isEmpty() || QStringView(u"+^%~()[]{}").contains(c)) {
        return out + u'{' + c + count + u'}';
    }
    return out + c;
}

} // namespace tapwise
