#include "editor/EntryDialogs.h"

#include "common/Settings.h"
#include "editor/CheckDialog.h"
#include "editor/ConditionDialog.h"
#include "editor/DialogRules.h"
#include "editor/EntryDialogTexts.h"
#include "editor/MouseValuesDialog.h"
#include "gui/MessageBox.h"
#include "language/LineSyntax.h"

namespace tapwise {
namespace {

struct Question {
    QString title;
    QString prompt;
};

Question remarkQuestion(RemarkKind kind, const QString& lang) {
    switch (kind) {
    case RemarkKind::Pause:
        return {entrytext::RemarkTitle.in(lang), entrytext::PausePrompt.in(lang)};
    case RemarkKind::Remark:
        return {entrytext::RemarkTitle.in(lang), entrytext::RemarkPrompt.in(lang)};
    case RemarkKind::CharacterString:
        return {entrytext::StringTitle.in(lang), entrytext::StringPrompt.in(lang)};
    case RemarkKind::None:
        break;
    }
    return {};
}

} // namespace

QString SetValues(QWidget* parent, const Settings& settings, const QString& EditorKeys) {
    const QString marked = withUpdateMark(EditorKeys);
    if (mouseEntryOf(marked) == MouseEntry::None)
        return {};
    MouseValuesDialog dialog(settings.Lang, marked, parent);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return buildMouseLine(marked, dialog.DialogValue1, dialog.DialogValue2);
}

// The answer is asked again, as it was typed, while it holds a comma: the
// store separates lines with commas.
QString Remark(QWidget* parent, const Settings& settings, const QString& EditorKeys, int sw) {
    const RemarkKind kind = remarkKindOf(EditorKeys);
    if (kind == RemarkKind::None)
        return {};
    Question question = remarkQuestion(kind, settings.Lang);
    QString answer = remarkDefault(EditorKeys, sw);
    for (;;) {
        const std::optional<QString> reply =
            MessageBox::input(parent, question.title, question.prompt, answer);
        answer = reply ? trimBlanks(*reply) : QString();
        if (answer.isEmpty())
            return {};
        if (!answer.contains(u','))
            return buildRemarkLine(kind, answer);
        question.prompt = entrytext::CommaRefused.in(settings.Lang);
    }
}

QString LabelN(QWidget* parent, const Settings& settings, const QString& EditorKeys) {
    const QString title = QString::fromLatin1(entrytext::LabelTitle);
    QString prompt = entrytext::LabelPrompt.in(settings.Lang);
    QString answer = labelDefault(EditorKeys);
    for (;;) {
        const std::optional<QString> reply = MessageBox::input(parent, title, prompt, answer);
        answer = reply ? trimBlanks(*reply) : QString();
        if (answer.isEmpty())
            return {};
        if (const std::optional<int> number = labelNumber(answer))
            return buildLabelLine(*number);
        prompt = entrytext::LabelRefused.in(settings.Lang);
    }
}

QString AskCheck(QWidget* parent, const Settings& settings, const QString& EditorKeys) {
    CheckDialog dialog(settings.Lang, EditorKeys, parent);
    dialog.exec();
    return dialog.EditorKeys;
}

QString AskCondition(QWidget* parent, const Settings& settings, const QString& EditorKeys) {
    ConditionDialog dialog(settings.Lang, EditorKeys, parent);
    dialog.exec();
    return dialog.EditorKeys;
}

} // namespace tapwise
