// SPDX-License-Identifier: GPL-3.0-or-later
// The input prompt: its layout arithmetic, the dialog as built, and the answers it gives when the
// user types, pastes, presses keys and clicks. The modal dialog is driven from zero-delay timer
// callbacks that run inside its own event loop.

#include "ui/input_prompt.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QFont>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <cstdint>
#include <functional>
#include <string>

#include "support/qt_test_main.h"
#include "support/window_driver.h"
#include "ui/text_codec.h"

using tobric::AverageCharSize;
using tobric::ComputePromptLayout;
using tobric::FromQt;
using tobric::InputPrompt;
using tobric::MulDivRound;
using tobric::PromptDialog;
using tobric::PromptLayout;
using tobric::ToQt;

// What the user does in an open prompt.
using PromptAction = std::function<void(PromptDialog*)>;
Q_DECLARE_METATYPE(PromptAction)

namespace {

const char kPrompt[] = "Enter a value into the in basket";

struct PromptRun {
    std::string answer;
    // Empty, or what went wrong: the prompt was not the active modal widget once open, or the
    // action left it open and it had to be closed.
    QString problem;
};

PromptDialog* OpenPrompt() {
    return qobject_cast<PromptDialog*>(QApplication::activeModalWidget());
}

// Calls InputPrompt and, once its dialog is up, runs `action` on it. Should the action leave the
// dialog open, or the dialog never be found, it is recorded and the dialog closed, so that a fault
// never hangs the suite.
PromptRun RunPrompt(const std::string& caption, const std::string& prompt,
                    const std::string& defaultText, const PromptAction& action,
                    QWidget* parent = nullptr) {
    PromptRun run;
    QTimer::singleShot(0, qApp, [&run, &action] {
        PromptDialog* dialog = OpenPrompt();
        if (dialog == nullptr) {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                if (auto* d = qobject_cast<PromptDialog*>(w); d != nullptr && d->isVisible())
                    d->reject();
            }
            run.problem = QStringLiteral("the prompt was not the active modal widget");
            return;
        }
        action(dialog);
        // Runs only while this very dialog still exists, that is while InputPrompt is waiting.
        QTimer::singleShot(0, dialog, [dialog, &run] {
            if (dialog->isVisible()) {
                run.problem = QStringLiteral("the prompt was left open");
                dialog->reject();
            }
        });
    });
    const tobric_test::BoxDeadline deadline;
    run.answer = InputPrompt(parent, caption, prompt, defaultText);
    if (deadline.Expired()) run.problem = QStringLiteral("the prompt was still open after 10 s");
    return run;
}

// The run went without a problem and gave `answer`.
void CheckAnswer(const PromptRun& run, const std::string& answer) {
    QCOMPARE(run.problem, QString());
    QCOMPARE(run.answer, answer);
}

void ClickOk(PromptDialog* dialog) { QTest::mouseClick(dialog->okButton(), Qt::LeftButton); }

int CountPromptDialogs() {
    int n = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (qobject_cast<PromptDialog*>(w) != nullptr) ++n;
    return n;
}

// Letters a to z over and over, so that a cut or a shift in a long text shows.
std::string LongText(std::size_t length) {
    std::string text;
    for (std::size_t i = 0; i < length; ++i) text += static_cast<char>('a' + i % 26);
    return text;
}

}  // namespace

class InputPromptTest : public QObject {
    Q_OBJECT

private slots:
    void layout();
    void mulDivRoundsHalvesAwayFromZeroWithin32Bits();
    void averageCharSizeOfAFont();

    void dialogGeometryFollowsLayout();
    void longPromptWrapsWithinMaxWidth();
    void dialogIsFixedWithCloseBoxOnly();
    void dialogIsCentredOnScreen();

    void answers_data();
    void answers();
    void pasteIsCutToRoomLeft();
    void otherWindowsBlockedWhileOpen();
    void dialogGoneAfterCall();

    void latin1RoundTrip();
    void latin1ThroughDialog();
};

void InputPromptTest::layout() {
    // Each figure as the layout gives it: clientWidth, labelLeft, labelTop, labelMaxWidth,
    // editLeft, editTop, editWidth, buttonTop, buttonWidth, buttonHeight, okLeft, cancelLeft,
    // clientHeight.
    const struct {
        int charWidth, charHeight, labelHeight, editHeight;
        PromptLayout want;
    } rows[] = {
        {6, 13, 13, 21, {270, 12, 13, 246, 12, 31, 246, 67, 75, 23, 57, 138, 103}},
        // A prompt wrapped onto two lines and a taller edit box push everything below them
        // down; the widths stay.
        {6, 13, 26, 22, {270, 12, 13, 246, 12, 44, 246, 81, 75, 23, 57, 138, 117}},
        // 7 x 15: the button's 87.5 x 26.25 and OK's 66.5 show the rounding.
        {7, 15, 15, 23, {315, 14, 15, 287, 14, 35, 287, 73, 88, 26, 67, 161, 112}},
    };
    for (const auto& row : rows) {
        const PromptLayout got =
            ComputePromptLayout(row.charWidth, row.charHeight, row.labelHeight, row.editHeight);
        QVERIFY2(got == row.want, qPrintable(QString::asprintf(
                                      "layout for %d x %d, label %d, edit %d", row.charWidth,
                                      row.charHeight, row.labelHeight, row.editHeight)));
    }
}

// Halves round away from zero, not to even; the product is taken in 64 bits; what an int cannot
// hold, or a division by zero, gives -1.
void InputPromptTest::mulDivRoundsHalvesAwayFromZeroWithin32Bits() {
    constexpr std::int64_t k20 = std::int64_t{1} << 20, k31 = std::int64_t{1} << 31;
    // clang-format off
    const struct {
        long long number, numerator, denominator;  // as printf's %lld takes them
        int result;
    } rows[] = {
        {50, 5, 4, 63}, {-50, 5, 4, -63}, {50, -5, 4, -63}, {50, 5, -4, -63},  // 62.5
        {-50, -5, 4, 63}, {-50, 5, -4, 63}, {14, 13, 8, 23}, {-14, 13, 8, -23},  // 22.75
        {1, 1, 2, 1}, {-1, 1, 2, -1}, {3, 1, 2, 2}, {5, 1, 2, 3}, {-5, 1, 2, -3},
        {1, 1, 3, 0}, {2, 1, 3, 1}, {-1, 1, 3, 0}, {-2, 1, 3, -1},
        {7, 1, 4, 2}, {5, 1, 4, 1}, {-5, 1, 4, -1}, {8, 13, 8, 13}, {0, 13, 8, 0},
        {2147483647, 2, 2, 2147483647}, {k20, k20, k20, 1 << 20}, {-2147483647, 3, 3, -2147483647},
        {2147483647, 3, 2, -1},  // 3221225470.5
        {5, 5, 0, -1}, {k20 * k20, k20 * k20, 1, -1},
        {k31, 1, 1, -1}, {-k31, 1, 1, -2147483647 - 1},
    };
    // clang-format on
    for (const auto& row : rows) {
        const int got = MulDivRound(row.number, row.numerator, row.denominator);
        QVERIFY2(got == row.result, qPrintable(QString::asprintf(
                                        "MulDiv(%lld, %lld, %lld) gave %d, not %d", row.number,
                                        row.numerator, row.denominator, got, row.result)));
    }
}

void InputPromptTest::averageCharSizeOfAFont() {
    const QString alphabet = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    QList<QSize> sizes;
    for (int pixels : {11, 17, 30}) {
        QFont font = QApplication::font();
        font.setPixelSize(pixels);
        const QFontMetrics metrics(font);
        const int advance = metrics.horizontalAdvance(alphabet);
        const QSize average = AverageCharSize(font);
        // X is the whole-number part of advance / 52.
        QVERIFY2(average.width() * 52 <= advance && advance < (average.width() + 1) * 52,
                 qPrintable(QString::asprintf("%d px: X %d for advance %d", pixels, average.width(),
                                              advance)));
        QCOMPARE(average.height(), metrics.height());
        QVERIFY(average.width() > 0);
        sizes.append(average);
    }
    QVERIFY(sizes.last().width() > sizes.first().width());
    QVERIFY(sizes.last().height() > sizes.first().height());
}

void InputPromptTest::dialogGeometryFollowsLayout() {
    PromptDialog dialog(nullptr, QStringLiteral("Message"), QString::fromLatin1(kPrompt),
                        QStringLiteral("0"));
    QCOMPARE(dialog.font(), QApplication::font());
    const QSize average = AverageCharSize(dialog.font());
    QLabel* label = dialog.promptLabel();
    QLineEdit* edit = dialog.lineEdit();
    const int editHeight = edit->sizeHint().height();

    // The prompt fits on one line of the label's font.
    const QFontMetrics labelMetrics = label->fontMetrics();
    const int maxWidth = MulDivRound(164, average.width(), 4);
    QVERIFY(labelMetrics.horizontalAdvance(QString::fromLatin1(kPrompt)) <= maxWidth);
    // One line high, as the label lays its own text out (the font's rounded height may be a
    // pixel less than the laid-out line).
    QCOMPARE(label->height(), label->heightForWidth(label->width()));
    QVERIFY(label->height() < 2 * labelMetrics.height());

    const PromptLayout want =
        ComputePromptLayout(average.width(), average.height(), label->height(), editHeight);
    QVERIFY(dialog.promptLayout() == want);

    QCOMPARE(dialog.size(), QSize(want.clientWidth, want.clientHeight));
    QCOMPARE(label->pos(), QPoint(want.labelLeft, want.labelTop));
    QVERIFY(label->width() <= want.labelMaxWidth);
    QVERIFY(label->width() >= labelMetrics.horizontalAdvance(QString::fromLatin1(kPrompt)));
    QCOMPARE(edit->geometry(), QRect(want.editLeft, want.editTop, want.editWidth, editHeight));
    QCOMPARE(edit->y(), label->y() + label->height() + 5);
    QCOMPARE(dialog.okButton()->geometry(),
             QRect(want.okLeft, want.buttonTop, want.buttonWidth, want.buttonHeight));
    QCOMPARE(dialog.cancelButton()->geometry(),
             QRect(want.cancelLeft, want.buttonTop, want.buttonWidth, want.buttonHeight));
    QCOMPARE(dialog.okButton()->y(), edit->y() + edit->height() + 15);
    QCOMPARE(dialog.height(), dialog.okButton()->y() + dialog.okButton()->height() + 13);
    QCOMPARE(dialog.okButton()->text(), QStringLiteral("OK"));
    QCOMPARE(dialog.cancelButton()->text(), QStringLiteral("Cancel"));
    QCOMPARE(label->text(), QString::fromLatin1(kPrompt));
}

void InputPromptTest::longPromptWrapsWithinMaxWidth() {
    const QString prompt = QStringLiteral(
        "Enter the number that the program should find in the in basket when it next obeys an "
        "IN instruction, then choose OK");
    PromptDialog dialog(nullptr, QStringLiteral("Message"), prompt, QStringLiteral("0"));
    QLabel* label = dialog.promptLabel();
    const PromptLayout& l = dialog.promptLayout();
    const int lineHeight = label->fontMetrics().height();
    QVERIFY(label->fontMetrics().horizontalAdvance(prompt) > l.labelMaxWidth);
    QVERIFY(label->width() <= l.labelMaxWidth);
    QVERIFY2(label->height() >= 2 * lineHeight, qPrintable(QString::number(label->height())));
    QVERIFY(label->wordWrap());
    // The label is tall enough for its own wrapped text.
    QVERIFY(label->heightForWidth(label->width()) <= label->height());
    QCOMPARE(dialog.lineEdit()->y(), l.labelTop + label->height() + 5);
    QCOMPARE(dialog.height(), l.clientHeight);
    QCOMPARE(l.editTop, l.labelTop + label->height() + 5);

    // Markup is shown as typed, not interpreted.
    PromptDialog markup(nullptr, QStringLiteral("M"), QStringLiteral("<b>bold</b>"), QString());
    QCOMPARE(markup.promptLabel()->textFormat(), Qt::PlainText);
}

void InputPromptTest::dialogIsFixedWithCloseBoxOnly() {
    PromptDialog dialog(nullptr, QStringLiteral("Edit Mailbox"),
                        QStringLiteral("Enter Tobric Assembly Command"), QStringLiteral("LDA 10"));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Edit Mailbox"));
    // A title and a close box, and neither minimize, maximize nor help.
    const Qt::WindowFlags hints = Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                                  Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint |
                                  Qt::WindowContextHelpButtonHint;
    QCOMPARE(dialog.windowFlags() & hints, Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    QCOMPARE(dialog.windowType(), Qt::Dialog);
    QCOMPARE(dialog.minimumSize(), dialog.size());
    QCOMPARE(dialog.maximumSize(), dialog.size());
    QCOMPARE(dialog.windowModality(), Qt::ApplicationModal);
    QVERIFY(dialog.okButton()->isDefault());
    QVERIFY(!dialog.cancelButton()->isDefault());
    QCOMPARE(dialog.lineEdit()->accessibleName(), QStringLiteral("Enter Tobric Assembly Command"));
    QCOMPARE(dialog.okButton()->accessibleName(), QStringLiteral("OK"));
    QCOMPARE(dialog.cancelButton()->accessibleName(), QStringLiteral("Cancel"));
    QCOMPARE(dialog.accessibleName(), QStringLiteral("Edit Mailbox"));

    // Before it is shown: the default is in place, wholly selected, and the edit box is the
    // control that will hold the focus.
    QCOMPARE(dialog.lineEdit()->text(), QStringLiteral("LDA 10"));
    QCOMPARE(dialog.lineEdit()->selectedText(), QStringLiteral("LDA 10"));
    QCOMPARE(dialog.focusWidget(), dialog.lineEdit());
}

void InputPromptTest::dialogIsCentredOnScreen() {
    QScreen* screen = QGuiApplication::primaryScreen();
    QVERIFY(screen != nullptr);
    const QRect area = screen->geometry();
    PromptRun run = RunPrompt("Message", kPrompt, "0", [area](PromptDialog* dialog) {
        const QRect g = dialog->geometry();
        const int dx = (g.left() - area.left()) - (area.right() - g.right());
        const int dy = (g.top() - area.top()) - (area.bottom() - g.bottom());
        QVERIFY2(dx >= -1 && dx <= 1 && dy >= -1 && dy <= 1,
                 qPrintable(QString::asprintf("dialog %d,%d %dx%d on screen %dx%d", g.x(), g.y(),
                                              g.width(), g.height(), area.width(), area.height())));
        QCOMPARE(dialog->size(),
                 QSize(dialog->promptLayout().clientWidth, dialog->promptLayout().clientHeight));
        dialog->reject();
    });
    QCOMPARE(run.problem, QString());

    // Centred on the screen even when it has an owner window off to one side.
    QWidget owner;
    owner.setGeometry(area.x() + 10, area.y() + 10, 120, 90);
    owner.show();
    run = RunPrompt(
        "Message", kPrompt, "0",
        [area](PromptDialog* dialog) {
            const QPoint offset = dialog->geometry().center() - area.center();
            QVERIFY2(
                offset.manhattanLength() <= 2,
                qPrintable(QStringLiteral("off centre by %1,%2").arg(offset.x()).arg(offset.y())));
            dialog->reject();
        },
        &owner);
    QCOMPARE(run.problem, QString());
}

void InputPromptTest::answers_data() {
    QTest::addColumn<QString>("defaultText");
    QTest::addColumn<PromptAction>("action");
    QTest::addColumn<QString>("answer");
    const auto row = [](const char* name, const std::string& defaultText, PromptAction action,
                        const std::string& answer) {
        QTest::newRow(name) << ToQt(defaultText) << action << ToQt(answer);
    };
    const std::string longDefault = LongText(300);
    // clang-format off
    row("opens with the default selected and focused", "DAT 00", [](PromptDialog* d) {
        QCOMPARE(d->windowTitle(), QStringLiteral("Edit Mailbox"));
        QCOMPARE(d->lineEdit()->text(), QStringLiteral("DAT 00"));
        QCOMPARE(d->lineEdit()->selectedText(), QStringLiteral("DAT 00"));
        QCOMPARE(d->focusWidget(), d->lineEdit());
        QVERIFY(d->isVisible());
        QVERIFY(d->isModal());
        d->reject();
    }, "DAT 00");
    row("tab order: edit, OK, Cancel, back to Cancel", "0", [](PromptDialog* d) {
        QCOMPARE(d->focusWidget(), d->lineEdit());
        const std::pair<Qt::Key, QWidget*> steps[] = {{Qt::Key_Tab, d->okButton()}, {Qt::Key_Tab, d->cancelButton()},
                                                      {Qt::Key_Tab, d->lineEdit()}, {Qt::Key_Backtab, d->cancelButton()}};
        for (auto [key, next] : steps) {
            QTest::keyClick(d->focusWidget(), key);
            QCOMPARE(d->focusWidget(), next);
        }
        d->reject();
    }, "0");
    row("typed over the selected default, OK", "0", [](PromptDialog* d) {
        QTest::keyClicks(d->lineEdit(), "42");
        ClickOk(d);
    }, "42");
    row("edited around the default, OK", "LDA 1", [](PromptDialog* d) {
        QTest::keyClick(d->lineEdit(), Qt::Key_End);
        QTest::keyClicks(d->lineEdit(), "7");
        QTest::keyClick(d->lineEdit(), Qt::Key_Home);
        QTest::keyClick(d->lineEdit(), Qt::Key_Delete);
        QTest::keyClicks(d->lineEdit(), "S");
        ClickOk(d);
    }, "SDA 17");
    row("unchanged, OK", "DAT 00", ClickOk, "DAT 00");
    row("cleared, OK", "0", [](PromptDialog* d) {
        QTest::keyClick(d->lineEdit(), Qt::Key_Backspace);  // deletes the selected default
        ClickOk(d);
    }, "");
    row("typed, Cancel", "0", [](PromptDialog* d) {
        QTest::keyClicks(d->lineEdit(), "99");
        QTest::mouseClick(d->cancelButton(), Qt::LeftButton);
    }, "0");
    row("cleared, Cancel: the default, not the empty text", "ADD 20", [](PromptDialog* d) {
        QTest::keyClick(d->lineEdit(), Qt::Key_Delete);
        QTest::mouseClick(d->cancelButton(), Qt::LeftButton);
    }, "ADD 20");
    row("typed, Esc", "0", [](PromptDialog* d) {
        QTest::keyClicks(d->lineEdit(), "123");
        QTest::keyClick(d->lineEdit(), Qt::Key_Escape);
    }, "0");
    row("typed, close box", "0", [](PromptDialog* d) {
        QTest::keyClicks(d->lineEdit(), "123");
        // What the window system sends when the close box is clicked.
        QCloseEvent close;
        QCoreApplication::sendEvent(d->windowHandle(), &close);
    }, "0");
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) {
        const char* name = key == Qt::Key_Return ? "Return in the edit box: OK" : "Enter: OK";
        row(name, "0", [key](PromptDialog* d) {
            QTest::keyClicks(d->lineEdit(), "-15");
            QTest::keyClick(d->lineEdit(), key);
        }, "-15");
    }
    row("typing stops at 255", "", [](PromptDialog* d) {
        QLineEdit* edit = d->lineEdit();
        QTest::keyClicks(edit, QString(300, QLatin1Char('x')));
        QCOMPARE(edit->text(), QString(255, QLatin1Char('x')));
        // Full: a key typed in the middle changes nothing either.
        QTest::keyClick(edit, Qt::Key_Home);
        QTest::keyClicks(edit, "yy");
        QCOMPARE(edit->text(), QString(255, QLatin1Char('x')));
        // Deleting makes room for exactly as much again.
        QTest::keyClick(edit, Qt::Key_End);
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClicks(edit, "yz");
        QCOMPARE(edit->text(), QString(254, QLatin1Char('x')) + QLatin1Char('y'));
        // Typing over a selection replaces it.
        edit->selectAll();
        QTest::keyClicks(edit, "7");
        QCOMPARE(edit->text(), QStringLiteral("7"));
        QTest::keyClicks(edit, QString(260, QLatin1Char('1')));
        ClickOk(d);
    }, "7" + std::string(254, '1'));
    row("long default shown whole, OK", longDefault, [longDefault](PromptDialog* d) {
        QCOMPARE(d->lineEdit()->text(), ToQt(longDefault));
        QCOMPARE(d->lineEdit()->selectedText(), ToQt(longDefault));
        ClickOk(d);
    }, longDefault);
    row("long default, Return", longDefault, [](PromptDialog* d) {
        QTest::keyClick(d->lineEdit(), Qt::Key_Return);
    }, longDefault);
    row("long default takes no more but deletes", longDefault, [longDefault](PromptDialog* d) {
        QLineEdit* edit = d->lineEdit();
        QTest::keyClick(edit, Qt::Key_End);
        QTest::keyClicks(edit, "Z");
        QCOMPARE(edit->text(), ToQt(longDefault));
        QTest::keyClick(edit, Qt::Key_Backspace);
        QCOMPARE(edit->text(), ToQt(longDefault.substr(0, 299)));
        QTest::keyClicks(edit, "Z");  // still over the limit: nothing is added
        QCOMPARE(edit->text(), ToQt(longDefault.substr(0, 299)));
        ClickOk(d);
    }, longDefault.substr(0, 299));
    row("Latin-1 letters typed", "\xC0\xFF\x80", [](PromptDialog* d) {
        // Keys with Latin-1 letters beyond ASCII, as a keyboard layout that has them sends them.
        QTest::sendKeyEvent(QTest::Click, d->lineEdit(), Qt::Key_Eacute, QChar(0xE9), Qt::NoModifier);
        QTest::sendKeyEvent(QTest::Click, d->lineEdit(), Qt::Key_ssharp, QChar(0xDF), Qt::NoModifier);
        QTest::keyClicks(d->lineEdit(), "1");
        ClickOk(d);
    }, "\xE9\xDF" "1");
    // clang-format on
}

void InputPromptTest::answers() {
    QFETCH(QString, defaultText);
    QFETCH(PromptAction, action);
    QFETCH(QString, answer);
    const PromptRun run =
        RunPrompt("Edit Mailbox", "Enter Tobric Assembly Command", FromQt(defaultText), action);
    CheckAnswer(run, FromQt(answer));
}

void InputPromptTest::pasteIsCutToRoomLeft() {
    QClipboard* clipboard = QGuiApplication::clipboard();
    const QString pasted = ToQt(LongText(300));
    clipboard->setText(pasted);
    if (clipboard->text() != pasted) QSKIP("no clipboard on this platform");

    PromptRun run = RunPrompt("Edit Mailbox", "Enter Tobric Assembly Command", "abcdef",
                              [](PromptDialog* dialog) {
                                  QLineEdit* edit = dialog->lineEdit();
                                  edit->setCursorPosition(3);
                                  QTest::keySequence(edit, QKeySequence::Paste);
                                  QCOMPARE(edit->text().size(), 255);
                                  QCOMPARE(edit->cursorPosition(), 3 + 249);
                                  ClickOk(dialog);
                              });
    // What was pasted is cut at its end; what stood around the cursor stays whole.
    CheckAnswer(run, "abc" + LongText(249) + "def");

    // Pasting over the selected default takes the room the default left.
    run = RunPrompt("Message", kPrompt, "0", [](PromptDialog* dialog) {
        QTest::keySequence(dialog->lineEdit(), QKeySequence::Paste);
        ClickOk(dialog);
    });
    CheckAnswer(run, LongText(255));
}

void InputPromptTest::otherWindowsBlockedWhileOpen() {
    QWidget main;
    main.resize(200, 100);
    auto* button = new QPushButton(QStringLiteral("Run"), &main);
    button->setGeometry(10, 10, 80, 30);
    main.show();
    main.activateWindow();
    QCoreApplication::processEvents();  // delivers the activation
    QVERIFY(main.windowHandle() != nullptr);
    QCOMPARE(QApplication::activeWindow(), &main);
    QSignalSpy clicks(button, &QPushButton::clicked);
    const QPoint buttonInWindow = button->mapTo(&main, button->rect().center());

    PromptRun run = RunPrompt("Message", kPrompt, "0", [&](PromptDialog* dialog) {
        QCOMPARE(QApplication::activeModalWidget(), dialog);
        // A click as the window system would deliver it to the main window goes nowhere.
        QTest::mouseClick(main.windowHandle(), Qt::LeftButton, {}, buttonInWindow);
        QCOMPARE(clicks.count(), 0);
        ClickOk(dialog);
    });
    CheckAnswer(run, "0");

    // Once the prompt is gone the window that was active is active again, and the same click
    // reaches the button.
    QCoreApplication::processEvents();
    QCOMPARE(QApplication::activeWindow(), &main);
    QTest::mouseClick(main.windowHandle(), Qt::LeftButton, {}, buttonInWindow);
    QCOMPARE(clicks.count(), 1);
}

void InputPromptTest::dialogGoneAfterCall() {
    QPointer<PromptDialog> seen;
    PromptRun run = RunPrompt("Message", kPrompt, "5", [&seen](PromptDialog* dialog) {
        seen = dialog;
        QCOMPARE(CountPromptDialogs(), 1);
        QTest::keyClicks(dialog->lineEdit(), "8");
        dialog->reject();
    });
    CheckAnswer(run, "5");
    QVERIFY(seen.isNull());
    QCOMPARE(CountPromptDialogs(), 0);

    // A second call starts again from its own default.
    run = RunPrompt("Message", kPrompt, "6", [](PromptDialog* dialog) {
        QCOMPARE(dialog->lineEdit()->text(), QStringLiteral("6"));
        ClickOk(dialog);
    });
    CheckAnswer(run, "6");
}

void InputPromptTest::latin1RoundTrip() {
    std::string every;
    for (int b = 0; b < 256; ++b) every += static_cast<char>(b);
    const QString qt = ToQt(every);
    QCOMPARE(qt.size(), 256);
    for (int b = 0; b < 256; ++b) QCOMPARE(qt[b].unicode(), static_cast<char16_t>(b));
    QCOMPARE(FromQt(qt), every);

    QCOMPARE(ToQt("caf\xE9"), QString(QStringLiteral("caf")) + QChar(0xE9));
    QCOMPARE(FromQt(QString(QChar(0xFC))), std::string("\xFC"));
    QCOMPARE(FromQt(QString(QChar(0x20AC))), std::string("?"));  // no Latin-1 code
    QCOMPARE(ToQt(std::string_view()), QString());
    QCOMPARE(FromQt(QString()), std::string());
}

void InputPromptTest::latin1ThroughDialog() {
    const std::string caption = "Bo\xEEte";
    const std::string prompt = "Entr\351e \243";  // octal, as a hex escape would take the e
    const std::string defaultText = "\xC0\xFF\x80";
    PromptRun run = RunPrompt(caption, prompt, defaultText, [&](PromptDialog* dialog) {
        QCOMPARE(dialog->windowTitle(), ToQt(caption));
        QCOMPARE(dialog->promptLabel()->text(), ToQt(prompt));
        QCOMPARE(dialog->lineEdit()->text(), ToQt(defaultText));
        ClickOk(dialog);
    });
    CheckAnswer(run, defaultText);
}

TOBRIC_QT_TEST_MAIN(InputPromptTest)
#include "input_prompt_test.moc"
