// A Keys text as any text: recognition, field extraction, switching off and
// on, KeysToSend and the key notation. Oracles: the notation of parsed
// strokes, written back, parses to the same strokes; every typeable character
// of a character string is typed as itself; a line switched off and on again
// is the line it was; the fields join back to the text between the brackets;
// column letters turn back into their number.
#include "FuzzSupport.h"

#include "language/ColumnLetters.h"
#include "language/KeyTranslation.h"
#include "language/LineFields.h"
#include "language/LineSyntax.h"
#include "platform/KeyNotation.h"

#include <cstring>

using namespace tapwise;
using namespace tapwise::fuzz;

namespace {

// Control characters, surrogates, noncharacters and U+FEFF have no key.
bool typeable(char16_t c) {
    return c >= 0x20 && !(c >= 0x7f && c < 0xa0) && !QChar::isSurrogate(c) &&
           !(c >= 0xfdd0 && c < 0xfdf0) && c != 0xfffe && c != 0xffff && c != 0xfeff;
}

void checkRoundTrip(const QString& notation) {
    Result<QList<KeyStroke>> strokes = parseKeyNotation(notation);
    if (!strokes)
        return;
    QString written;
    for (const KeyStroke& stroke : strokes.value())
        written += strokeNotation(stroke);
    Result<QList<KeyStroke>> again = parseKeyNotation(written);
    require(again.ok(), "written-back notation parses");
    require(again.value() == strokes.value(), "written-back notation gives the same strokes");
}

void checkCharacters(const QString& keys) {
    for (const QChar c : keys) {
        if (!typeable(c.unicode()))
            continue;
        Result<QList<KeyStroke>> typed = parseKeyNotation(KeysToSend(QString(c)));
        require(typed.ok() && typed.value().size() == 1, "one character, one stroke");
        const KeyStroke& stroke = typed.value()[0];
        require(stroke.kind == KeyStroke::Kind::Character && stroke.character == c.unicode() &&
                    stroke.modifiers == NoModifier,
                "a character is typed as itself");
    }
}

void checkMarking(const QString& keys) {
    if (keys.isEmpty() || trimBlanks(keys) != keys || isNotExecutable(keys) ||
        keys.size() > KeysWidth - 2)
        return;
    const QString marked = markNotExecutable(keys);
    require(isNotExecutable(marked), "a marked line is not executable");
    require(unmarkNotExecutable(marked) == keys, "unmarking gives the line back");
}

void checkFields(const QString& keys) {
    const qsizetype open = keys.indexOf(u'(');
    const qsizetype close = keys.lastIndexOf(u')');
    const QStringList fields = CommandFields(keys);
    if (open < 0 || close < open) {
        require(fields.isEmpty(), "no brackets, no fields");
        return;
    }
    require(fields.join(u';') == keys.mid(open + 1, close - open - 1), "fields join back");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    // The first byte chooses how to read the rest: as UTF-8, or as UTF-16
    // units (which reach lone surrogates and every noncharacter).
    const char* rest = reinterpret_cast<const char*>(data + 1);
    QString keys;
    if (data[0] & 1) {
        keys.resize(qsizetype(size - 1) / 2);
        std::memcpy(keys.data(), rest, std::size_t(keys.size()) * 2);
    } else {
        keys = QString::fromUtf8(rest, qsizetype(size - 1));
    }
    (void)lineKind(keys);
    (void)mouseEvent(keys);
    (void)pauseRemark(keys);
    (void)worksheetColumnLetters(keys);
    (void)clipboardColumnLetters(keys);
    checkRoundTrip(keys);
    checkRoundTrip(KeysToSend(keys));
    checkCharacters(keys);
    checkMarking(keys);
    checkFields(keys);
    const int column = int(data[0]) * 3 % MaxColumnNumber + 1;
    require(ColumnNumber(ColumnLetters(column)) == column, "column letters turn back");
    (void)ColumnNumber(keys);
    return 0;
}
