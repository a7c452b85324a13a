#include "language/SequenceCheck.h"

#include "language/EditorRows.h"
#include "language/LanguageTexts.h"
#include "language/LineSyntax.h"

#include <algorithm>

namespace tapwise {

namespace {

namespace texts = languagetexts;

// The working values of one check.
struct CheckState {
    CheckState(const QStringList& list, const QString& language)
        : rows(list), lang(language), finder(list) {}

    const QStringList& rows;
    const QString& lang;
    RowFinder finder;
    QString report;
    bool sheetColumnSeen = false;
    int loopBeginLine = 0;
    int loopEndLine = 0;

    void add(int line, const BilingualText& text, const QString& number = {}) {
        report += QLatin1String(texts::LinePrefix) + QString::number(line) + text.in(lang) +
                  number + u'\n';
    }
};

bool holdsNoLine(const QStringList& rows) {
    if (rows.size() == 1)
        return true;
    return std::all_of(rows.begin(), rows.end(), [](const QString& row) {
        const QString trimmed = trimBlanks(row);
        return trimmed.isEmpty() || trimmed.compare(MoreRow, Qt::CaseInsensitive) == 0;
    });
}

// The text between the last `open` and the last `close` of the row; nothing
// when either is missing or they come the wrong way round.
std::optional<QString> textBetweenLast(const QString& row, QChar open, QChar close) {
    const qsizetype from = row.lastIndexOf(open);
    const qsizetype to = row.lastIndexOf(close);
    if (from < 0 || to < from)
        return std::nullopt;
    return row.mid(from + 1, to - from - 1);
}

QString labelRowText(const QString& number) {
    return QStringLiteral("*LABEL(") + number + QStringLiteral(")*");
}

void checkLoopRow(CheckState& state, qsizetype index) {
    const QString& row = state.rows[index];
    const int line = static_cast<int>(index) + 1;
    if (beginsWithKeyword(row, u"EXCELSHEET"))
        state.sheetColumnSeen = true;
    if (keywordAtSecond(row, u"BEGINEXCEL")) {
        if (state.loopBeginLine > 0)
            state.add(line, texts::BeginTwice);
        state.loopBeginLine = line;
    }
    if (keywordAtSecond(row, u"ENDEXCEL")) {
        if (state.loopEndLine > 0)
            state.add(line, texts::EndTwice);
        state.loopEndLine = line;
    }
    if (keywordAtSecond(row, u"CHKEXCEL")) {
        if (index == 0 || !state.rows[index - 1].contains(u"EXCELSHEET", Qt::CaseInsensitive))
            state.add(line, texts::ChkAfterCol);
    }
}

// Only command rows are conditions and labels: a character string such as
// ":Label(3)" is typed as it stands and takes part in no jump.
void checkLabelRow(CheckState& state, qsizetype index) {
    const QString& row = state.rows[index];
    const int line = static_cast<int>(index) + 1;
    if (!row.startsWith(u'*'))
        return;
    if (keywordAtSecond(row, u"IF")) {
        const auto target = textBetweenLast(row, u';', u')');
        if (target && state.finder.find(labelRowText(*target)) < 0)
            state.add(line, texts::LabelMissing, *target);
    }
    if (keywordAtSecond(row, u"LABEL")) {
        const auto number = textBetweenLast(row, u'(', u')');
        if (number && state.finder.find(labelRowText(*number)) != index)
            state.add(line, texts::LabelTwice, *number);
    }
}

void checkLoopOrder(CheckState& state) {
    if (!state.sheetColumnSeen && state.loopBeginLine > 0)
        state.add(state.loopBeginLine, texts::BeginNeedsCol);
    if (!state.sheetColumnSeen && state.loopEndLine > 0)
        state.add(state.loopEndLine, texts::EndNeedsCol);
    if (state.loopEndLine > 0 && state.loopBeginLine > state.loopEndLine)
        state.add(state.loopBeginLine, texts::BeginBeforeEnd);
}

} // namespace

std::optional<SequenceFault> checkSequence(const QStringList& rows, const QString& description,
                                           const QString& lang) {
    if (holdsNoLine(rows))
        return SequenceFault{texts::InsertKeys.in(lang), CheckFocus::Combo1};
    // Blank also means line breaks alone: such a Key sequence would have no name.
    if (description.trimmed().isEmpty())
        return SequenceFault{texts::InsertDescription.in(lang), CheckFocus::Text2};

    CheckState state(rows, lang);
    for (qsizetype index = 0; index < rows.size(); ++index) {
        if (rows[index].startsWith(u'#'))
            continue;
        checkLoopRow(state, index);
        checkLabelRow(state, index);
    }
    checkLoopOrder(state);
    if (state.report.isEmpty())
        return std::nullopt;
    return SequenceFault{state.report, CheckFocus::Unchanged};
}

} // namespace tapwise
