// SPDX-License-Identifier: GPL-3.0-or-later
// A random user: thousands of seeded clicks, keys and menu commands on every control while
// programs run at full speed, with the window's promises checked after each one.

#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <random>

#include "machine/display_text.h"
#include "support/qt_test_main.h"
#include "support/temp_folder.h"
#include "support/window_driver.h"
#include "ui/about_box.h"
#include "ui/editor_window.h"
#include "ui/mailbox_display.h"
#include "ui/main_window.h"
#include "ui/panel.h"

using namespace tobric;
using namespace tobric_test;

namespace {

constexpr int kActions = 3000;

const char* const kExamples[] = {"count_down", "sum_until_zero", "fibonacci", "sort_three",
                                 "maximum",    "multiply",       "divide",    "echo"};
const char* const kCommands[] = {"runmenu",   "stepmenu", "menuhalt",
                                 "resetmenu", "savemenu", "loadmenu"};
const char* const kKeys[] = {"no0calc", "no1calc", "no2calc",    "no3calc", "no4calc",
                             "no5calc", "no6calc", "no7calc",    "no8calc", "no9calc",
                             "addcalc", "subcalc", "equalscalc", "ccalc",   "cecalc"};
const char* const kLines[] = {"LDA 05", "sta 12", "ADD 99", "SUB 3", "JMP 00", "IN",
                              "OUT",    "HLT",    "DAT 7",  "SKZ",   "SKP",    "SKN",
                              "* note", "",       "XYZ 1",  "DAT",   "LDA -1", "JMP 50"};
const char* const kAnswers[] = {"0", "7", "-3", "2147483647", "abc", "", " 12", "$FF", "99"};

}  // namespace

class RandomUserTest : public QObject {
    Q_OBJECT

private slots:
    void thousandsOfRandomActionsKeepTheWindowSound() {
        const unsigned seed = 20261208;
        std::mt19937 random(seed);
        const auto pick = [&](auto& list) {
            return list[random() % (sizeof(list) / sizeof(list[0]))];
        };
        const TempFolder folder;
        auto files = std::make_unique<ScriptedFileChooser>();
        ScriptedFileChooser* chooser = files.get();
        TForm1 form(std::move(files));
        int exits = 0;
        form.SetProcessExit([&](int) { ++exits; });
        TForm4 editor(form.machine(), &form);
        Taboutfrm about;
        form.SetCompanions(nullptr, &about, [&] { editor.Open(); });
        BoxWatcher boxes;
        boxes.answerSource = [&](const QString& caption) -> std::optional<QString> {
            if (random() % 5 == 0) return std::nullopt;
            return QString::fromLatin1(caption == QLatin1String("Message") ? pick(kAnswers)
                                                                           : pick(kLines));
        };
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        form.ScrollBar1->setValue(1);

        bool displayMayBeStale = true;  // nothing has rebuilt it yet
        for (int action = 0; action < kActions; ++action) {
            const BoxDeadline deadline;  // should the watcher miss a box
            const qsizetype errorsBefore = boxes.errors.size();
            const bool hasProgram = form.machine().store().Count() >= 2;
            const int choice = static_cast<int>(random() % 100);
            bool stepped = false;
            if (choice < 30) {
                const char* name = pick(kCommands);
                if (!strcmp(name, "loadmenu")) {
                    const int which = static_cast<int>(random() % 10);
                    if (which == 0)
                        chooser->openAnswers.push_back(std::nullopt);
                    else if (which == 1)
                        chooser->openAnswers.push_back(folder / "missing");
                    else
                        chooser->openAnswers.push_back(std::string(TOBRIC_EXAMPLES_DIR "/") +
                                                       pick(kExamples) + ".txt");
                }
                if (!strcmp(name, "savemenu")) chooser->saveAnswers.push_back(folder / "saved.txt");
                stepped = !strcmp(name, "stepmenu");
                QTest::mouseClick(form.findChild<PanelButton*>(name), Qt::LeftButton, {},
                                  QPoint(90, 12));
            } else if (choice < 55) {
                QTest::mouseClick(form.findChild<PanelButton*>(pick(kKeys)), Qt::LeftButton);
            } else if (choice < 65) {
                if (random() % 2 == 0) {
                    form.ScrollBar1->setValue(
                        random() % 4 == 0 ? static_cast<int>(random() % 1000) + 1 : 1);
                } else {
                    const Qt::Key keys[] = {Qt::Key_Left,     Qt::Key_Right, Qt::Key_PageUp,
                                            Qt::Key_PageDown, Qt::Key_Home,  Qt::Key_End};
                    QTest::keyClick(form.ScrollBar1, pick(keys));
                    QCOMPARE(form.executionTimer().Interval(), form.ScrollBar1->value());
                }
            } else if (choice < 85) {
                const int rows = form.mailboxshow->RowCount();
                if (rows > 0 && random() % 2 == 0) {
                    form.mailboxshow->SelectRow(
                        static_cast<int>(random() % static_cast<unsigned>(rows)));
                } else {
                    const Qt::Key keys[] = {Qt::Key_Up, Qt::Key_Down, Qt::Key_PageDown,
                                            Qt::Key_Home, Qt::Key_End};
                    QTest::keyClick(form.mailboxshow, pick(keys));
                }
                form.mailboxmenu->actions().at(static_cast<int>(random() % 3))->trigger();
            } else if (choice < 93) {
                form.mailboxmenu->actions().at(3)->trigger();
                QVERIFY(!form.isEnabled());
                QTest::qWait(1);
                switch (random() % 4) {
                    case 0: editor.Button1->click(); break;
                    case 1: editor.Button2->click(); break;
                    case 2:
                        editor.Button3->click();
                        editor.Button1->click();
                        break;
                    default: editor.close(); break;
                }
            } else {
                QTest::mouseClick(form.Image1, Qt::LeftButton, {}, QPoint(10, 50));
                about.Button1->click();
            }

            QVERIFY2(!deadline.Expired(), "a box stayed open");
            // Promises that hold after every event once no box is left open.
            const bool failed = boxes.errors.size() > errorsBefore;
            const Registers& r = form.machine().registers();
            if (stepped && hasProgram && !failed) {
                QCOMPARE(form.opcodetext->text(), QString::fromLatin1(MnemonicText(r.mnemonic)));
                QCOMPARE(form.mdrtext->text(), QString::number(r.operand));
                const int shown = r.mnemonic == Mnemonic::Jmp
                                      ? r.programCounter
                                      : static_cast<std::uint16_t>(r.programCounter - 1);
                QCOMPARE(form.pctext->text(), QString::number(shown));
            }
            QTest::qWait(static_cast<int>(random() % 3));
            if (failed) displayMayBeStale = true;
            if (form.mailboxshow->RowCount() == form.machine().store().Count())
                displayMayBeStale = false;
            if (!displayMayBeStale)
                QCOMPARE(form.mailboxshow->RowCount(), form.machine().store().Count());
            QVERIFY(form.mailboxshow->SelectedIndex() < form.mailboxshow->RowCount());
            QVERIFY(!editor.isVisible());
            QVERIFY(form.isEnabled());
            QVERIFY(QApplication::activeModalWidget() == nullptr);
            for (QWidget* w : QApplication::topLevelWidgets())
                if (qobject_cast<QMessageBox*>(w))
                    QVERIFY2(!w->isVisible() || !w->isModal(), "a box left open");
        }
        form.executionTimer().SetEnabled(false);
        QCOMPARE(exits, 0);
        qInfo("seed %u: %d actions, %lld prompts, %lld notices, %lld errors reported", seed,
              kActions, static_cast<long long>(boxes.promptCaptions.size()),
              static_cast<long long>(boxes.notices.size()),
              static_cast<long long>(boxes.errors.size()));
    }
};

TOBRIC_QT_TEST_MAIN(RandomUserTest)

#include "random_user_test.moc"
