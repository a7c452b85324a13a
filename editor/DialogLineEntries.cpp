#include "editor/EntryDialogs.h"
#include "editor/LineEntries.h"

#include "common/Settings.h"

namespace tapwise {

namespace {

// The line entries through the program's entry dialogs.
class DialogLineEntries : public LineEntries {
public:
    DialogLineEntries(QWidget* parent, const Settings& settings)
        : parent_(parent), settings_(settings) {}

    QString SetValues(const QString& EditorKeys) override {
        return tapwise::SetValues(parent_, settings_, EditorKeys);
    }
    QString Remark(const QString& EditorKeys, int sw) override {
        return tapwise::Remark(parent_, settings_, EditorKeys, sw);
    }
    QString LabelN(const QString& EditorKeys) override {
        return tapwise::LabelN(parent_, settings_, EditorKeys);
    }
    QString AskCheck(const QString& EditorKeys) override {
        return tapwise::AskCheck(parent_, settings_, EditorKeys);
    }
    QString AskCondition(const QString& EditorKeys) override {
        return tapwise::AskCondition(parent_, settings_, EditorKeys);
    }

private:
    QWidget* parent_;
    const Settings& settings_;
};

} // namespace

std::unique_ptr<LineEntries> dialogLineEntries(QWidget* parent, const Settings& settings) {
    return std::make_unique<DialogLineEntries>(parent, settings);
}

} // namespace tapwise
