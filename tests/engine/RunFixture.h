#pragma once

// A run against the fake desktop, the scripted windows and workbooks held in
// memory. The Key sequence is stored in a data file of a temporary folder
// first, so the run reads it as a real run does.

#include "ScriptedRunUi.h"

#include "common/Settings.h"
#include "engine/RunSequence.h"
#include "language/Line.h"
#include "platform/FakeDesktop.h"
#include "store/SequenceStore.h"
#include "workbook/MemoryWorkbook.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <ostream>

// Readable failure messages: texts in quotes with their line breaks shown.
inline void PrintTo(const QString& text, std::ostream* os) {
    QString shown = text;
    shown.replace(u'\r', QStringLiteral("\\r")).replace(u'\n', QStringLiteral("\\n"));
    *os << '"' << shown.toStdString() << '"';
}

namespace tapwise {

class RunFixture : public ::testing::Test {
protected:
    RunFixture();

    // Stores the lines and runs them; excelFile as on the command line.
    RunEnd run(const Lines& lines, const QString& excelFile = {});
    RunEnd runNoMsg(const Lines& lines, const QString& excelFile = {});

    // A workbook the run can open under the path.
    std::shared_ptr<MemoryWorkbook> workbook(const QString& path = BookPath);

    // The keystroke texts sent, in order ("keys X" events without "keys ").
    QStringList keysSent() const;
    // The desktop's events without the sleeps.
    QStringList actions() const;

    static inline const QString BookPath = QStringLiteral("/data/Book1.xlsx");

    QTemporaryDir folder;
    Settings settings;
    std::optional<SequenceStore> store;
    FakeDesktop desktop;
    ScriptedRunUi ui;
    MemoryWorkbookOpener workbooks;
    QString description = QStringLiteral("Test run");
    // What the run left in its by-reference arguments.
    QString finalDescription;
    QString finalExcelFile;
};

} // namespace tapwise
