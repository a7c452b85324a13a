#pragma once

#include "gui/MessageBox.h"
#include "tests/support/WindowTests.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>

inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace tapwise::testing {

// Replaces the text of a box as the user would: focus, select, type.
inline void typeInto(QLineEdit* box, const QString& text) {
    box->setFocus();
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Backspace);
    QTest::keyClicks(box, text);
}

// Picks an entry of a drop-down box as the user would with the mouse.
inline void pick(QComboBox* box, const QString& entry) {
    const int index = box->findText(entry);
    ASSERT_GE(index, 0) << entry.toStdString();
    box->setCurrentIndex(index);
    emit box->activated(index);
}

// Runs `act` on the modal dialog that the code under test opens next; a
// dialog that is never acted upon is closed so that the test cannot hang.
inline void whenModal(std::function<void(QDialog*)> act) {
    auto* poll = new QTimer;
    auto tries = std::make_shared<int>(0);
    QObject::connect(poll, &QTimer::timeout, [poll, tries, act] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog && ++*tries < 200)
            return;
        poll->stop();
        poll->deleteLater();
        if (!dialog) {
            ADD_FAILURE() << "no modal dialog opened";
            return;
        }
        act(dialog);
        if (dialog->isVisible()) {
            ADD_FAILURE() << "dialog left open";
            dialog->reject();
        }
    });
    poll->start(10);
}

// Saves a picture of the window when TAPWISE_SHOTS names a folder: the way
// to look at the dialogs under a real X server.
inline void shot(QWidget* window, const QString& name) {
    const QString folder = qEnvironmentVariable("TAPWISE_SHOTS");
    if (folder.isEmpty())
        return;
    QDir().mkpath(folder);
    window->grab().save(folder + u'/' + name + QStringLiteral(".png"));
}

// A dialog opened on a Keys text.
template <typename Dialog>
class DialogTest : public AnsweredMessagesTest {
protected:
    void open(const QString& keys, const QString& lang = QStringLiteral("E")) {
        form = std::make_unique<Dialog>(lang, keys);
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }

    std::unique_ptr<Dialog> form;
};

} // namespace tapwise::testing
