// SPDX-License-Identifier: GPL-3.0-or-later
// The popup commands and the program editor, driven through the real windows. Runs offscreen
// and again under a real X server with a window manager.

#include <QAccessible>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>

#include "support/qt_test_main.h"
#include "support/window_driver.h"
#include "ui/editor_window.h"
#include "ui/input_prompt.h"
#include "ui/mailbox_display.h"
#include "ui/main_window.h"

using namespace tobric;
using namespace tobric_test;

namespace {

class Activations final : public QObject {
public:
    int count = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::WindowActivate) ++count;
        return false;
    }
};

}  // namespace

class EditingWindowTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TForm1> m_form;
    std::unique_ptr<TForm4> m_editor;
    std::unique_ptr<BoxWatcher> m_boxes;

    void SetProgram(std::vector<std::string> lines) {
        m_form->machine().ReplaceProgram(std::move(lines));
    }
    const Store& store() { return m_form->machine().store(); }
    void Trigger(int item) { m_form->mailboxmenu->actions().at(item)->trigger(); }
    void OpenEditorOn(std::vector<std::string> lines) {
        SetProgram(std::move(lines));
        Trigger(3);
    }
    void Select(int row) {
        QTest::mouseClick(m_form->mailboxshow->viewport(), Qt::LeftButton, {},
                          m_form->mailboxshow->RowRect(row).center());
        QCOMPARE(m_form->mailboxshow->SelectedIndex(), row);
    }

private slots:
    void init() {
        m_form = std::make_unique<TForm1>();
        m_editor = std::make_unique<TForm4>(m_form->machine(), m_form.get());
        m_form->SetCompanions(nullptr, nullptr, [this] { m_editor->Open(); });
        m_boxes = std::make_unique<BoxWatcher>();
        m_form->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    }

    void cleanup() {
        m_editor.reset();
        m_form.reset();
        m_boxes.reset();
    }

    void commandsWithoutSelectionShowNoPrompt() {
        SetProgram({"LDA 05"});
        for (int item = 0; item < 3; ++item) Trigger(item);
        QTest::qWait(20);
        QVERIFY(m_boxes->promptCaptions.isEmpty());
        QCOMPARE(store().Count(), 100);
        QCOMPARE(store().Get(0), std::string("LDA 05"));
    }

    void editFromThePopupActsOnTheRowSelectedBefore() {
        SetProgram({"lda 05", "JMP 00"});
        Select(1);
        // The right click lands on row 0 but the command still acts on row 1.
        QWidget* rows = m_form->mailboxshow->viewport();
        const QPoint row0 = m_form->mailboxshow->RowRect(0).center();
        QTest::mouseClick(rows, Qt::RightButton, {}, row0);
        QContextMenuEvent menu(QContextMenuEvent::Mouse, row0, rows->mapToGlobal(row0));
        QApplication::sendEvent(rows, &menu);
        QTRY_VERIFY(m_form->mailboxmenu->isVisible());
        m_form->mailboxmenu->hide();
        m_boxes->answers.push_back(QStringLiteral("add 07 sum"));
        Trigger(0);
        QCOMPARE(m_boxes->promptCaptions, QStringList{QStringLiteral("Edit Mailbox")});
        QCOMPARE(store().Get(1), std::string("ADD 07 SUM"));
        QCOMPARE(store().Get(0), std::string("lda 05"));
        QCOMPARE(m_form->mailboxshow->SelectedIndex(), -1);
        QCOMPARE(m_form->mailboxshow->RowText(1), QStringLiteral("01 ADD 07 SUM"));
    }

    void cancelledInsertAddsDatAndRenumbers() {
        SetProgram({"JMP 05", "LDA 02"});
        Select(3);
        Trigger(1);  // no answer queued: the watcher cancels
        QCOMPARE(m_boxes->promptCaptions, QStringList{QStringLiteral("Insert Command")});
        QCOMPARE(store().Count(), 101);
        QCOMPARE(store().Get(0), std::string("JMP 6"));
        QCOMPARE(store().Get(3), std::string("DAT 00"));
        QCOMPARE(m_form->mailboxshow->RowCount(), 101);
        QCOMPARE(m_form->mailboxshow->RowText(100), QStringLiteral("100 DAT 00"));
    }

    void deleteNeedsNoPrompt() {
        SetProgram({"LDA 05", "LDA 07", "LDA 04", "DAT 07"});
        Select(5);
        Trigger(2);
        QVERIFY(m_boxes->promptCaptions.isEmpty());
        QCOMPARE(store().Count(), 99);
        QCOMPARE(store().Get(0), std::string("LDA 4"));
    }

    // Renumbering stops at the bare DAT; the display goes on showing the store as it was.
    void failedCommandLeavesTheRowsAsTheyWere_data() {
        QTest::addColumn<int>("item");
        QTest::addColumn<int>("storeCount");
        QTest::newRow("insert: store one longer") << 1 << 101;
        QTest::newRow("delete: store one shorter") << 2 << 99;
    }
    void failedCommandLeavesTheRowsAsTheyWere() {
        QFETCH(int, item);
        QFETCH(int, storeCount);
        SetProgram({"LDA 05", "DAT", "JMP 03"});
        QStringList before;
        for (int row = 0; row < 100; ++row) before << m_form->mailboxshow->RowText(row);
        Select(0);
        Trigger(item);
        QTRY_COMPARE(m_boxes->errors,
                     QStringList{QStringLiteral("'' is not a valid integer value.")});
        QCOMPARE(store().Count(), storeCount);
        QCOMPARE(m_form->mailboxshow->RowCount(), 100);
        for (int row = 0; row < 100; ++row)
            QCOMPARE(m_form->mailboxshow->RowText(row), before[row]);
    }

    void promptAnsweredAfterARunClearedTheSelection() {
        // A running STA rebuilds the display while the Edit prompt is open.
        std::vector<std::string> program = {"LDA 10", "ADD 11", "STA 10", "JMP 00"};
        program.resize(11, "DAT 00");
        program.push_back("DAT 1");
        SetProgram(program);
        m_form->ScrollBar1->setValue(1);
        Select(20);
        m_boxes->answerPrompts = false;
        bool answered = false;
        const BoxDeadline deadline;
        QTimer::singleShot(0, this, [&] {
            auto* prompt = qobject_cast<PromptDialog*>(QApplication::activeModalWidget());
            QVERIFY(prompt);
            m_form->machine().Run();
            QTRY_COMPARE(m_form->mailboxshow->SelectedIndex(), -1);
            prompt->lineEdit()->setText(QStringLiteral("HLT"));
            prompt->okButton()->click();
            answered = true;
        });
        Trigger(0);
        QVERIFY2(!deadline.Expired(), "the prompt was left open");
        QVERIFY(answered);
        m_form->executionTimer().SetEnabled(false);
        QCOMPARE(store().Get(20), std::string("DAT 00"));
    }

    void editorOpensFromTheStoreAndDisablesTheMainWindow() {
        SetProgram({"LDA 05", "hlt"});
        Select(4);
        Trigger(3);
        QVERIFY(m_editor->isVisible());
        QVERIFY(!m_form->isEnabled());
        QCOMPARE(m_form->mailboxshow->SelectedIndex(), -1);
        const QString text = m_editor->tobriceditor->toPlainText();
        QVERIFY(text.startsWith(QStringLiteral("LDA 05\nhlt\nDAT 00\n")));
        QVERIFY(text.endsWith(QStringLiteral("DAT 00\n")));
        QCOMPARE(text.count(QLatin1Char('\n')), 100);
    }

    void saveChangesTakesTheLinesAsShown() {
        OpenEditorOn({});
        m_editor->tobriceditor->setPlainText(QStringLiteral("lda 05\n\nHLT\n\n"));
        m_editor->Button1->click();
        QVERIFY(!m_editor->isVisible());
        QVERIFY(m_form->isEnabled());
        // Stored as typed; two final breaks make one empty mailbox.
        std::vector<std::string> expected = {"lda 05", "", "HLT", ""};
        expected.resize(100, "DAT 00");
        QCOMPARE(store().Lines(), expected);
    }

    void wrappedLongLineBecomesSeveralMailboxes_data() {
        QTest::addColumn<QString>("line");
        QTest::newRow("words") << QStringLiteral("* ") + QStringLiteral("word ").repeated(30);
        // Few characters, but each tab reaches the next stop: wider than the box all the same.
        QTest::newRow("tabs") << QStringLiteral("*") + QStringLiteral("\t").repeated(8) +
                                     QStringLiteral("end");
    }
    void wrappedLongLineBecomesSeveralMailboxes() {
        QFETCH(QString, line);
        const std::string longLine = line.toStdString();
        OpenEditorOn({longLine, "HLT"});
        QTest::qWait(10);
        m_editor->Button1->click();
        QVERIFY(store().Get(0).size() < longLine.size());
        int hlt = 1;
        while (hlt < store().Count() && store().Get(hlt) != "HLT") ++hlt;
        QVERIFY(hlt >= 2);  // the comment took two or more mailboxes
        std::string joined;
        for (int i = 0; i < hlt; ++i) joined += store().Get(i);
        QCOMPARE(joined, longLine);
    }

    void largeStoreIsWholeBeforeAnyEditOrSave() {
        QAccessible::setActive(false);  // with a screen reader at work the text goes in whole
        std::vector<std::string> lines;
        for (int i = 0; i < 12000; ++i) lines.push_back("DAT " + std::to_string(i));
        OpenEditorOn(lines);
        QVERIFY(m_editor->StillFilling());
        m_editor->Button1->click();
        QCOMPARE(store().Lines(), lines);

        // Ctrl and the wheel scroll the whole text, as in a box that filled at once: no zoom.
        Trigger(3);
        const QFont font = m_editor->tobriceditor->font();
        QWidget* rows = m_editor->tobriceditor->viewport();
        QWheelEvent wheel(QPointF(10, 10), rows->mapToGlobal(QPointF(10, 10)), {}, {0, 240},
                          Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(rows, &wheel);
        QVERIFY(!m_editor->StillFilling());
        QCOMPARE(m_editor->tobriceditor->font(), font);
        m_editor->Button2->click();

        // A key lands in the whole text, and the filling is nothing to undo.
        Trigger(3);
        QVERIFY(m_editor->StillFilling());
        QTest::keyClick(m_editor->tobriceditor, Qt::Key_End, Qt::ControlModifier);
        QVERIFY(!m_editor->StillFilling());
        QVERIFY(!m_editor->tobriceditor->document()->isUndoAvailable());
        QTest::keyClicks(m_editor->tobriceditor, "HLT");
        m_editor->Button1->click();
        QCOMPARE(store().Count(), 12001);
        QCOMPARE(store().Get(11999), std::string("DAT 11999"));
        QCOMPARE(store().Get(12000), std::string("HLT"));
    }

    void startStoreSavesAsOneEmptyMailbox() {
        Trigger(3);
        QCOMPARE(m_editor->tobriceditor->toPlainText(), QStringLiteral("\n"));
        QCOMPARE(m_form->mailboxshow->RowCount(), 1);
        QCOMPARE(m_form->mailboxshow->RowText(0), QStringLiteral("00 "));
        m_editor->Button1->click();
        std::vector<std::string> expected(100, "DAT 00");
        expected[0] = "";
        QCOMPARE(store().Lines(), expected);
    }

    void clearAllThenSaveGivesHundredDats() {
        OpenEditorOn({"LDA 05"});
        m_editor->Button3->click();
        QVERIFY(m_editor->isVisible());
        QVERIFY(m_editor->tobriceditor->toPlainText().isEmpty());
        QCOMPARE(store().Get(0), std::string("LDA 05"));
        m_editor->Button1->click();
        QCOMPARE(store().Lines(), std::vector<std::string>(100, "DAT 00"));
    }

    void cancelAndCloseBoxLeaveTheStore() {
        for (const bool cancel : {true, false}) {
            OpenEditorOn({"LDA 05"});
            m_editor->tobriceditor->setPlainText(QStringLiteral("HLT"));
            m_editor->lineno->setText(QStringLiteral("12"));
            cancel ? m_editor->Button2->click() : static_cast<void>(m_editor->close());
            QVERIFY(!m_editor->isVisible());
            QVERIFY(m_form->isEnabled());
            QCOMPARE(store().Get(0), std::string("LDA 05"));
        }
    }

    void keysOfTheEditor() {
        OpenEditorOn({"LDA 05"});
        QVERIFY(QTest::qWaitForWindowExposed(m_editor.get()));
        QApplication::setActiveWindow(m_editor.get());
        QVERIFY(QTest::qWaitForWindowActive(m_editor.get()));
        m_editor->tobriceditor->setFocus();
        QTest::keyClick(m_editor->tobriceditor, Qt::Key_Escape);  // the text box's own
        QVERIFY(m_editor->isVisible());
        QTest::keyClick(m_editor->tobriceditor, Qt::Key_Home);
        QTest::keyClicks(m_editor->tobriceditor, "HLT");
        QTest::keyClick(m_editor->tobriceditor, Qt::Key_Return);  // a new line, not Save
        QVERIFY(m_editor->isVisible());
        // Alt+S and Alt+C come from the captions; the toolkit presses the buttons for them.
        QCOMPARE(m_editor->Button1->shortcut(), QKeySequence(QStringLiteral("Alt+S")));
        QCOMPARE(m_editor->Button3->shortcut(), QKeySequence(QStringLiteral("Alt+C")));
        QVERIFY(m_editor->Button2->shortcut().isEmpty());
        m_editor->Button1->setFocus();
        QTest::keyClick(m_editor->Button1, Qt::Key_Return);  // Enter presses the focused button
        QVERIFY(!m_editor->isVisible());
        QCOMPARE(store().Get(0), std::string("HLT"));
        QCOMPARE(store().Get(1), std::string("LDA 05"));

        Trigger(3);
        m_editor->lineno->setFocus();
        QTest::keyClick(m_editor->lineno, Qt::Key_Escape);
        QVERIFY(!m_editor->isVisible());
        QVERIFY(m_form->isEnabled());
    }

    void editorCentredFirstThenWhereItWasLeft() {
        Trigger(3);
        QVERIFY2(WaitForFrame(*m_editor), "no frame within 5 s");
        const QRect screen = m_editor->screen()->availableGeometry();
        QTRY_COMPARE(OffCentre(SettledFrame(*m_editor), screen), QPoint());
        const QPoint dragged = SettledFrame(*m_editor).topLeft() - QPoint(100, 80);
        m_editor->windowHandle()->setFramePosition(dragged);
        QTRY_COMPARE(SettledFrame(*m_editor).topLeft(), dragged);
        m_editor->Button2->click();
        Trigger(3);
        QCOMPARE(SettledFrame(*m_editor).topLeft(), dragged);
    }

    // A click on the disabled main window activates it; the editor comes back with the keys.
    void activatedMainWindowHandsTheKeyboardBackToTheEditor() {
        Trigger(3);
        QVERIFY(QTest::qWaitForWindowActive(m_editor.get()));
        m_editor->lineno->setFocus();
        Activations mainWindow;
        m_form->installEventFilter(&mainWindow);
        m_form->activateWindow();
        QTRY_VERIFY(mainWindow.count > 0);
        QTRY_COMPARE(QApplication::activeWindow(), m_editor.get());
        QCOMPARE(QApplication::focusWidget(), m_editor->lineno);
        QVERIFY(!m_form->isEnabled());
    }
};

TOBRIC_QT_TEST_MAIN(EditingWindowTest)

#include "editing_window_test.moc"
