#pragma once

#include <QString>

#include <memory>

class QWidget;

namespace tapwise {

struct Settings;

// The entries that ask the user for a line's values. Each takes the
// editor's working Keys text and gives the finished Keys text, or "" when
// the user cancelled. The editor window reaches the entry dialogs only
// through this interface, so that its tests can answer them.
class LineEntries {
public:
    virtual ~LineEntries() = default;
    // Mouse position, movement or wheel.
    virtual QString SetValues(const QString& EditorKeys) = 0;
    // Pause remark, remark or character string; sw = 1 updates a line.
    virtual QString Remark(const QString& EditorKeys, int sw) = 0;
    virtual QString LabelN(const QString& EditorKeys) = 0;
    // The check (Form11) and condition (Form12) dialogs.
    virtual QString AskCheck(const QString& EditorKeys) = 0;
    virtual QString AskCondition(const QString& EditorKeys) = 0;
};

// The entry dialogs of the program, opened over `parent`.
std::unique_ptr<LineEntries> dialogLineEntries(QWidget* parent, const Settings& settings);

} // namespace tapwise
