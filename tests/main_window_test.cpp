// SPDX-License-Identifier: GPL-3.0-or-later
// The main window driven with clicks and keys, offscreen.

#include "ui/main_window.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScopeGuard>
#include <QScrollBar>
#include <QTest>
#include <QWindow>
#include <functional>
#include <initializer_list>

#include "machine/errors.h"
#include "support/qt_test_main.h"
#include "support/temp_folder.h"
#include "support/window_driver.h"
#include "ui/error_report.h"
#include "ui/mailbox_display.h"
#include "ui/output_basket.h"
#include "ui/panel.h"

using namespace tobric;
using tobric_test::BoxDeadline;
using tobric_test::BoxWatcher;
using tobric_test::ReadBytes;
using tobric_test::ScriptedFileChooser;
using tobric_test::TempFolder;
using tobric_test::WriteBytes;

namespace {

// Where a command button acts: beside its glyph.
const QPoint kOnCaption(80, 15);

void ClickPanel(QWidget* panel) { QTest::mouseClick(panel, Qt::LeftButton, {}, kOnCaption); }

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TForm1> m_form;
    ScriptedFileChooser* m_files = nullptr;
    std::unique_ptr<BoxWatcher> m_boxes;
    std::unique_ptr<TempFolder> m_folder;
    int m_exitCode = -1;

    PanelButton* Button(const char* name) { return m_form->findChild<PanelButton*>(name); }

    // Loads a program through the Load button and the scripted file choice.
    void LoadProgram(const std::string& text) {
        const std::string path = *m_folder / "program.txt";
        WriteBytes(path, text);
        m_files->openAnswers.push_back(path);
        ClickPanel(m_form->loadmenu);
    }

    // Clicks keypad keys by name.
    void PressKeys(std::initializer_list<const char*> keys) {
        for (const char* key : keys) QTest::mouseClick(Button(key), Qt::LeftButton);
    }

    // A click as the window system delivers it, to the main window's window: Qt drops it while a
    // modal box blocks the window.
    void ClickThroughTheWindow(QWidget* panel) {
        QTest::mouseClick(m_form->windowHandle(), Qt::LeftButton, {},
                          panel->mapTo(m_form.get(), kOnCaption));
    }

    // Clicks `panel`, which opens the notice `text`, and runs `check` after `delayMs` with the
    // notice still open; closes the notice whatever happens, or the click would never return.
    void ClickWithNoticeOpen(QWidget* panel, const QString& text, int delayMs,
                             const std::function<void()>& check) {
        m_boxes->dismissNotices = false;
        bool checked = false;
        const BoxDeadline deadline;
        QTimer::singleShot(delayMs, this, [&] {
            const auto closeNotices = qScopeGuard([] {
                for (QMessageBox* box : BoxWatcher::OpenNotices())
                    QTimer::singleShot(0, box, [box] { box->button(QMessageBox::Ok)->click(); });
            });
            QCOMPARE(m_boxes->OpenNotices().size(), 1);
            QCOMPARE(m_boxes->OpenNotices().front()->text(), text);
            check();
            checked = !QTest::currentTestFailed();
        });
        ClickPanel(panel);
        QVERIFY2(!deadline.Expired(), "the notice was left open");
        QVERIFY(checked);
    }

    void RunUntilStopped(int timeoutMs = 5000) {
        QTRY_VERIFY_WITH_TIMEOUT(!m_form->executionTimer().Enabled(), timeoutMs);
    }

private slots:
    void init() {
        auto files = std::make_unique<ScriptedFileChooser>();
        m_files = files.get();
        m_form = std::make_unique<TForm1>(std::move(files));
        m_form->SetProcessExit([this](int code) { m_exitCode = code; });
        m_boxes = std::make_unique<BoxWatcher>();
        m_folder = std::make_unique<TempFolder>();
        m_exitCode = -1;
        m_form->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    }

    void cleanup() {
        m_form.reset();
        m_boxes.reset();
        m_folder.reset();
    }

    void startsEmptyWithTitleFocusAndTabOrder() {
        QCOMPARE(m_form->windowTitle(), QStringLiteral("Tobric Computer for Windows"));
        QCOMPARE(m_form->size(), QSize(633, 434));
        QCOMPARE(m_form->mailboxshow->RowCount(), 0);
        QCOMPARE(m_form->calculatorValueText->caption(), QStringLiteral("0 "));
        for (QLineEdit* box :
             {m_form->pctext, m_form->mdrtext, m_form->opcodetext, m_form->inbasket})
            QVERIFY2(box->text().isEmpty(), qPrintable(box->objectName()));
        QVERIFY(!m_form->inbasket->isEnabled());
        QCOMPARE(m_form->outbasket->count(), 0);
        QCOMPARE(m_form->ScrollBar1->value(), 500);
        QCOMPARE(m_form->executionTimer().Interval(), 1000);
        m_form->activateWindow();
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(m_form->pctext));
        // Tab goes round the boxes in order, back to the first.
        const QList<QWidget*> order = {m_form->mdrtext,   m_form->opcodetext,  m_form->ScrollBar1,
                                       m_form->outbasket, m_form->mailboxshow, m_form->pctext};
        for (QWidget* expected : order) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), expected);
        }
    }

    void registerLabelsEndBeforeTheirBoxes() {
        const std::pair<const char*, QWidget*> pairs[] = {
            {"Label1", m_form->inbasket},  {"Label2", m_form->outbasket},
            {"Label3", m_form->pctext},    {"Instruction", m_form->opcodetext},
            {"mdrtextc", m_form->mdrtext}, {"speed", m_form->ScrollBar1}};
        for (auto [name, box] : pairs) {
            const QLabel* label = m_form->findChild<QLabel*>(QLatin1String(name));
            QVERIFY2(label->geometry().right() < box->geometry().left() - 1, name);
        }
    }

    void everyCommandRefusesWithoutProgram() {
        for (const char* name : {"runmenu", "stepmenu", "menuhalt", "resetmenu"})
            ClickPanel(Button(name));
        QTRY_COMPARE(m_boxes->notices.size(), 4);
        for (const QString& text : m_boxes->notices)
            QCOMPARE(text, QStringLiteral("There is no program loaded"));
        QVERIFY(!m_form->executionTimer().Enabled());
        QVERIFY(m_form->pctext->text().isEmpty());
    }

    void glyphAcceleratorAndReleaseOffThePanelFireNothing() {
        LoadProgram("IN\r\nHLT\r\n");
        QWidget* glyph = m_form->runmenu->findChild<Picture*>();
        QVERIFY(glyph);
        QCOMPARE(glyph->geometry(), QRect(8, 8, 16, 16));
        QTest::mouseClick(glyph, Qt::LeftButton, {}, QPoint(8, 8));
        QTest::keyClick(m_form.get(), Qt::Key_R, Qt::AltModifier);
        QVERIFY(!m_form->executionTimer().Enabled());
        // Nor does a press on the panel released off it.
        QTest::mousePress(m_form->runmenu, Qt::LeftButton, {}, QPoint(80, 15));
        QTest::mouseRelease(m_form->runmenu, Qt::LeftButton, {}, QPoint(80, 200));
        QVERIFY(!m_form->executionTimer().Enabled());
        ClickPanel(m_form->runmenu);
        QVERIFY(m_form->executionTimer().Enabled());
    }

    void doubleClickOnKeyEntersOneDigit() {
        // What the platform sends for a double-click: press, release, double-click, release.
        QWidget* seven = m_form->findChild<PanelButton*>("no7calc");
        const QPoint at(20, 20);
        QTest::mousePress(seven, Qt::LeftButton, {}, at);
        QTest::mouseRelease(seven, Qt::LeftButton, {}, at);
        QMouseEvent second(QEvent::MouseButtonDblClick, at, seven->mapToGlobal(at), Qt::LeftButton,
                           Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(seven, &second);
        QTest::mouseRelease(seven, Qt::LeftButton, {}, at);
        QCOMPARE(m_form->calculatorValueText->caption(), QStringLiteral("7 "));
        PressKeys({"equalscalc"});
        QCOMPARE(m_form->machine().registers().accumulator, 7);
    }

    void keypadAddsIntoTheAccumulator() {
        PressKeys({"no7calc", "addcalc", "no5calc", "equalscalc"});
        QCOMPARE(m_form->calculatorValueText->caption(), QStringLiteral("12 "));
        PressKeys({"cecalc"});
        QCOMPARE(m_form->calculatorValueText->caption(), QStringLiteral("0 "));
        QCOMPARE(m_form->machine().registers().accumulator, 0);
    }

    void loadPadsAndRebuildsTheDisplay() {
        PressKeys({"no9calc", "equalscalc"});
        QCOMPARE(m_form->machine().registers().accumulator, 9);
        LoadProgram("lda 05\nA&B\n\nHLT");
        QCOMPARE(m_form->mailboxshow->RowCount(), 100);
        const std::pair<int, const char*> rows[] = {
            {0, "00 lda 05"}, {1, "01 A&B"}, {2, "02 "}, {99, "99 DAT 00"}};
        for (auto [row, text] : rows)
            QCOMPARE(m_form->mailboxshow->RowText(row), QString::fromLatin1(text));
        QCOMPARE(m_form->mailboxshow->SelectedIndex(), -1);
        QCOMPARE(m_form->machine().registers().accumulator, 0);
    }

    void cancelledLoadStillResetsCounterAndAccumulator() {
        LoadProgram("DAT 1\nDAT 2\nDAT 3\nHLT\n");
        for (int step = 0; step < 3; ++step) ClickPanel(m_form->stepmenu);
        PressKeys({"no5calc", "equalscalc"});
        QCOMPARE(m_form->machine().registers().accumulator, 5);
        QCOMPARE(m_form->machine().registers().programCounter, 3);
        m_files->openAnswers.push_back(std::nullopt);
        ClickPanel(m_form->loadmenu);
        QCOMPARE(m_form->machine().registers().accumulator, 0);
        QCOMPARE(m_form->machine().registers().programCounter, 0);
        QCOMPARE(m_form->mailboxshow->RowCount(), 100);
    }

    void failedLoadReportsTheFileOpenError() {
        const std::string missing = *m_folder / "missing.txt";
        m_files->openAnswers.push_back(missing);
        ClickPanel(m_form->loadmenu);
        QTRY_COMPARE(m_boxes->errors.size(), 1);
        QCOMPARE(m_boxes->errors.front(),
                 QStringLiteral("Cannot open file \"%1\". No such file or directory.")
                     .arg(QString::fromStdString(missing)));
        QCOMPARE(m_form->mailboxshow->RowCount(), 0);
    }

    void saveWritesEveryLineWithCrLf() {
        const std::string target = *m_folder / "saved.txt";
        m_files->saveAnswers.push_back(target);
        ClickPanel(m_form->savemenu);
        QCOMPARE(ReadBytes(target), std::string("\r\n"));  // the one empty line of a new store

        LoadProgram("IN\nOUT\nHLT");
        m_files->saveAnswers.push_back(target);
        ClickPanel(m_form->savemenu);
        const std::string saved = ReadBytes(target);
        QVERIFY(saved.starts_with("IN\r\nOUT\r\nHLT\r\nDAT 00\r\n"));
        QCOMPARE(saved.size(), std::size_t(4 + 5 + 5 + 97 * 8));
    }

    void stepShowsRegistersAndAsksForInput() {
        LoadProgram("IN\nOUT\nHLT\n");
        m_boxes->answers.push_back(QStringLiteral("42"));
        ClickPanel(m_form->stepmenu);
        QCOMPARE(m_boxes->promptCaptions, QStringList{QStringLiteral("Message")});
        QCOMPARE(m_form->inbasket->text(), QStringLiteral("42"));
        QCOMPARE(m_form->calculatorValueText->caption(), QStringLiteral("42 "));
        QCOMPARE(m_form->pctext->text(), QStringLiteral("0"));
        QCOMPARE(m_form->opcodetext->text(), QStringLiteral("IN"));
        QCOMPARE(m_form->mdrtext->text(), QStringLiteral("0"));
        ClickPanel(m_form->stepmenu);
        QCOMPARE(m_form->outbasket->currentText(), QStringLiteral("42"));
        QCOMPARE(m_form->outbasket->count(), 1);
        QVERIFY(!m_form->executionTimer().Enabled());
    }

    void runsAtFullSpeedAndCollectsOutputs() {
        LoadProgram("IN\nOUT\nSUB 06\nSKZ\nJMP 01\nHLT\nDAT 1\n");
        m_boxes->answers.push_back(QStringLiteral("3"));
        m_form->ScrollBar1->setValue(1);
        QCOMPARE(m_form->executionTimer().Interval(), 1);
        ClickPanel(m_form->runmenu);
        RunUntilStopped();
        QCOMPARE(m_form->outbasket->count(), 3);
        QCOMPARE(m_form->outbasket->itemText(0), QStringLiteral("3"));
        QCOMPARE(m_form->outbasket->itemText(2), QStringLiteral("1"));
        QCOMPARE(m_form->outbasket->currentText(), QStringLiteral("1"));
        QCOMPARE(m_form->outbasket->currentIndex(), 2);  // the list opens at the latest
        QCOMPARE(m_form->pctext->text(), QStringLiteral("5"));
        // The longest number keeps its sign and every digit in sight.
        m_form->ShowOutput(-2147483647);
        QLineEdit* field = m_form->outbasket->lineEdit();
        QCOMPARE(field->text(), QStringLiteral("-2147483647"));
        QVERIFY(field->fontMetrics().horizontalAdvance(field->text()) <=
                field->contentsRect().width() - 4);
        QCOMPARE(field->palette().color(QPalette::Base), m_form->palette().color(QPalette::Button));
        QCOMPARE(m_form->opcodetext->text(), QStringLiteral("HLT"));
    }

    void speedBarFirstMoveSetsTheInterval() {
        QCOMPARE(m_form->executionTimer().Interval(), 1000);
        m_form->ScrollBar1->setFocus();
        // The second Page Down is limited to 1000.
        const std::pair<Qt::Key, int> moves[] = {{Qt::Key_Right, 510},    {Qt::Key_Home, 1},
                                                 {Qt::Key_End, 1000},     {Qt::Key_PageUp, 900},
                                                 {Qt::Key_Left, 890},     {Qt::Key_PageDown, 990},
                                                 {Qt::Key_PageDown, 1000}};
        for (auto [key, interval] : moves) {
            QTest::keyClick(m_form->ScrollBar1, key);
            QCOMPARE(m_form->executionTimer().Interval(), interval);
        }
    }

    void resetDuringRunCarriesOnFromMailboxZero() {
        LoadProgram("ADD 02\nJMP 00\nDAT 1\n");
        m_form->ScrollBar1->setValue(1);
        ClickPanel(m_form->runmenu);
        QTRY_VERIFY(m_form->machine().registers().accumulator > 150);
        ClickWithNoticeOpen(m_form->resetmenu, QStringLiteral("Program Reset!"), 0, [this] {
            QCOMPARE(m_form->calculatorValueText->caption(), QStringLiteral("0 "));
            QCOMPARE(m_form->pctext->text(), QStringLiteral("0"));
            // The run goes on behind the notice, from mailbox 0 with the accumulator at 0.
            QTRY_VERIFY(m_form->machine().registers().accumulator >= 3);
            QVERIFY(m_form->machine().registers().accumulator < 100);
        });
        QVERIFY(m_form->executionTimer().Enabled());
    }

    void notesDisableNothingAndStepActsAtOnce() {
        LoadProgram(
            "LDA 10\nADD 11\nJMP 01\nHLT\nDAT 0\nDAT 0\nDAT 0\nDAT 0\nDAT 0\nDAT 0\nDAT 0\nDAT "
            "1\n");
        m_form->ScrollBar1->setValue(1);
        ClickPanel(m_form->runmenu);
        QTRY_VERIFY(m_form->machine().registers().accumulator > 5);
        // While "Program Halted" is open, nothing is modal: clicks that the window system
        // delivers to the main window reach it. Step obeys one instruction at once, Halt/Continue
        // starts the run again, and a second Halt opens a box of its own.
        ClickWithNoticeOpen(m_form->menuhalt, QStringLiteral("Program Halted"), 50, [this] {
            QVERIFY(QApplication::activeModalWidget() == nullptr);
            QVERIFY(m_form->isEnabled());
            const auto pc = m_form->machine().registers().programCounter;
            ClickThroughTheWindow(m_form->stepmenu);
            QCOMPARE(m_form->machine().registers().programCounter, pc == 2 ? 1 : pc + 1);
            ClickThroughTheWindow(m_form->menuhalt);
            QVERIFY(m_form->executionTimer().Enabled());
        });
        m_boxes->dismissNotices = true;
        ClickPanel(m_form->menuhalt);
        QTRY_COMPARE(m_boxes->notices, QStringList{QStringLiteral("Program Halted")});
        QVERIFY(!m_form->executionTimer().Enabled());
    }

    void stepFailureIsReportedOnceWithThePeriodRule() {
        LoadProgram("LDA 5X\nHLT\n");
        ClickPanel(m_form->stepmenu);
        QTRY_COMPARE(m_boxes->errors.size(), 1);
        QCOMPARE(m_boxes->errors.front(), QStringLiteral("'5X' is not a valid integer value."));
        QVERIFY(m_form->pctext->text().isEmpty());  // the step was abandoned before the displays
        QTest::qWait(20);
        QCOMPARE(m_boxes->errors.size(), 1);
    }

    void runningPastTheLastMailboxStopsWithListIndexError() {
        std::string program;
        for (int i = 0; i < 100; ++i) program += "DAT 00\n";
        LoadProgram(program);
        m_form->ScrollBar1->setValue(1);
        ClickPanel(m_form->runmenu);
        QTRY_COMPARE_WITH_TIMEOUT(m_boxes->errors.size(), 1, 5000);
        QCOMPARE(m_boxes->errors.front(), QStringLiteral("List index out of bounds (100)"));
        QCOMPARE(m_form->machine().registers().programCounter, 100);
        QVERIFY(!m_form->executionTimer().Enabled());
    }

    void errorBoxesCarryTitleAndStopIcon() {
        const struct {
            std::function<void()> call;
            const char *title, *text;
            bool parentless;
        } cases[] = {
            {[] { Guarded([] { throw InsertError(); }); }, "Tobric Computer for Windows",
             "Unable to insert a line.", false},
            // A failure at startup names its kind in an application error box of its own.
            {[] { ReportStartupFailure(std::make_exception_ptr(TimerError())); },
             "Application Error",
             "Tobric Computer could not start (timer error): Not enough timers available.", true},
        };
        for (const auto& want : cases) {
            bool seen = false;
            QTimer::singleShot(0, this, [&] {
                auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                QVERIFY(box);
                QCOMPARE(box->windowTitle(), QString::fromLatin1(want.title));
                QCOMPARE(box->icon(), QMessageBox::Critical);
                QCOMPARE(box->text(), QString::fromLatin1(want.text));
                QVERIFY(!want.parentless || !box->parentWidget());
                seen = true;
                box->button(QMessageBox::Ok)->click();
            });
            want.call();
            QVERIFY2(seen, want.title);
        }
    }

    void staDuringRunClearsTheSelection() {
        LoadProgram("LDA 10\nSTA 11\nJMP 00\n");
        m_form->mailboxshow->SelectRow(40);
        QCOMPARE(m_form->mailboxshow->SelectedIndex(), 40);
        ClickPanel(m_form->stepmenu);
        QCOMPARE(m_form->mailboxshow->SelectedIndex(), 40);  // LDA rebuilds nothing
        ClickPanel(m_form->stepmenu);
        QCOMPARE(m_form->mailboxshow->SelectedIndex(), -1);
        QCOMPARE(m_form->mailboxshow->verticalScrollBar()->value(), 0);
        QCOMPARE(m_form->mailboxshow->RowText(11), QStringLiteral("11 DAT 0"));
    }

    void rightClickOpensTheMenuAndKeepsTheSelection() {
        LoadProgram("IN\nOUT\nHLT\n");
        MailboxDisplay* display = m_form->mailboxshow;
        QTest::mouseClick(display->viewport(), Qt::LeftButton, {}, display->RowRect(2).center());
        QCOMPARE(display->SelectedIndex(), 2);
        // The focused row wears the dotted focus frame: its top edge is not all selection colour.
        m_form->activateWindow();
        display->setFocus();
        QTRY_VERIFY(display->hasFocus());
        const QImage shown = display->viewport()->grab().toImage();
        const QColor highlight = display->palette().color(QPalette::Highlight);
        int framePixels = 0;
        for (int x = 0; x < display->RowRect(2).width(); ++x)
            framePixels += shown.pixelColor(x, display->RowRect(2).top()) != highlight;
        QVERIFY(framePixels > 10);
        const QRect row5 = display->RowRect(5);
        QTest::mouseClick(display->viewport(), Qt::RightButton, {}, row5.center());
        QContextMenuEvent menuKey(QContextMenuEvent::Keyboard, QPoint(0, 0),
                                  display->mapToGlobal(QPoint(0, 0)));
        QApplication::sendEvent(display, &menuKey);
        QTRY_VERIFY(m_form->mailboxmenu->isVisible());
        m_form->mailboxmenu->hide();
        QTest::keyClick(display, Qt::Key_F10, Qt::ShiftModifier);
        QTRY_VERIFY(m_form->mailboxmenu->isVisible());
        QCOMPARE(m_form->mailboxmenu->pos(), display->mapToGlobal(QPoint(0, 0)));
        QCOMPARE(display->SelectedIndex(), 2);
        QStringList captions;
        for (QAction* action : m_form->mailboxmenu->actions()) captions << action->text();
        QCOMPARE(captions, (QStringList{"Edit this Mailbox", "Insert Command", "Delete Command",
                                        "Edit Program in Editor"}));
        m_form->mailboxmenu->hide();
    }

    void exitAndCloseEndWithCodeZero() {
        ClickPanel(m_form->menuExit);
        QCOMPARE(m_exitCode, 0);
        m_exitCode = -1;
        m_form->close();
        QCOMPARE(m_exitCode, 0);
    }

    void millionLineStoreStaysUsable() {
        std::string program = "LDA 03\nSTA 04\nHLT\n";
        program.reserve(8'000'000);
        while (program.size() < 7'000'000) program += "DAT 00\n";
        LoadProgram(program);
        MailboxDisplay* display = m_form->mailboxshow;
        QCOMPARE(display->RowCount(), m_form->machine().store().Count());
        QVERIFY(display->RowCount() > 990'000);
        display->setFocus();
        QTest::keyClick(display, Qt::Key_End);
        const int last = display->RowCount() - 1;
        QCOMPARE(display->SelectedIndex(), last);
        // Row numbers count in 16 bits, like mailbox addresses.
        QCOMPARE(display->RowText(last),
                 QStringLiteral("%1 DAT 00").arg(static_cast<std::uint16_t>(last)));
        QTest::keyClick(display, Qt::Key_Home);
        QCOMPARE(display->SelectedIndex(), 0);
        QTest::keyClick(display, Qt::Key_Down);
        QCOMPARE(display->SelectedIndex(), 1);
        ClickPanel(m_form->stepmenu);
        ClickPanel(m_form->stepmenu);  // STA rebuilds the whole display
        QCOMPARE(display->SelectedIndex(), -1);
        QCOMPARE(display->RowText(4), QStringLiteral("04 DAT 0"));
    }
};

TOBRIC_QT_TEST_MAIN(MainWindowTest)

#include "main_window_test.moc"
