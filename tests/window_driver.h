#pragma once
// Drives the main window in tests: a file choice that answers from a script, and a watcher that
// answers the prompts and dismisses the notices and error boxes as they open, recording their texts.

#include <QApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <deque>
#include <functional>
#include <optional>
#include <string>

#include "ui/file_chooser.h"
#include "ui/input_prompt.h"

namespace tobric::testing {

class ScriptedFileChooser final : public FileChooser {
public:
    std::deque<std::optional<std::string>> openAnswers;
    std::deque<std::optional<std::string>> saveAnswers;
    std::optional<std::string> ChooseFileToOpen() override { return Next(openAnswers); }
    std::optional<std::string> ChooseFileToSave() override { return Next(saveAnswers); }

private:
    static std::optional<std::string> Next(std::deque<std::optional<std::string>>& answers) {
        if (answers.empty()) return std::nullopt;
        auto answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

// Polls for open boxes every few milliseconds, also inside their own event loops.
class BoxWatcher final : public QObject {
    Q_OBJECT
public:
    QStringList notices;       // texts of "Compiler Message" boxes, in order
    QStringList errors;        // texts of error boxes
    QStringList promptCaptions;
    std::deque<QString> answers;  // typed into prompts; none left means Cancel
    bool dismissNotices = true;
    bool answerPrompts = true;
    // When set, answers every prompt by its caption: a text for OK, nothing for Cancel.
    std::function<std::optional<QString>(const QString& caption)> answerSource;

    BoxWatcher() {
        m_timer.setInterval(2);
        connect(&m_timer, &QTimer::timeout, this, &BoxWatcher::Poll);
        m_timer.start();
    }

    // Notices still open (when dismissNotices is false).
    QList<QMessageBox*> OpenNotices() const {
        QList<QMessageBox*> open;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* box = qobject_cast<QMessageBox*>(w);
                box && box->isVisible() && box->windowTitle() == QLatin1String("Compiler Message"))
                open.append(box);
        return open;
    }

private:
    void Poll() {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (!w->isVisible()) continue;
            if (auto* box = qobject_cast<QMessageBox*>(w)) {
                if (box->property("seen").toBool()) continue;
                if (box->windowTitle() == QLatin1String("Compiler Message")) {
                    if (!dismissNotices) continue;
                    box->setProperty("seen", true);
                    notices.append(box->text());
                } else {
                    box->setProperty("seen", true);
                    errors.append(box->text());
                }
                QTimer::singleShot(0, box, [box] { box->button(QMessageBox::Ok)->click(); });
            } else if (auto* prompt = qobject_cast<PromptDialog*>(w)) {
                if (!answerPrompts) continue;
                if (prompt->property("seen").toBool()) continue;
                prompt->setProperty("seen", true);
                promptCaptions.append(prompt->windowTitle());
                if (answerSource) {
                    const std::optional<QString> answer = answerSource(prompt->windowTitle());
                    QTimer::singleShot(0, prompt, [prompt, answer] {
                        if (!answer) return prompt->cancelButton()->click();
                        prompt->lineEdit()->setText(*answer);
                        prompt->okButton()->click();
                    });
                } else if (answers.empty()) {
                    QTimer::singleShot(0, prompt, [prompt] { prompt->cancelButton()->click(); });
                } else {
                    const QString answer = answers.front();
                    answers.pop_front();
                    QTimer::singleShot(0, prompt, [prompt, answer] {
                        prompt->lineEdit()->setText(answer);
                        prompt->okButton()->click();
                    });
                }
            }
        }
    }

    QTimer m_timer;
};

// Whether the suite runs under a real X server, where a window manager frames the windows.
inline bool UnderRealX() { return QGuiApplication::platformName() == QLatin1String("xcb"); }

// The title the window manager shows for `window`: its _NET_WM_NAME under X, the title it was
// given elsewhere.
inline QString TitleShown(const QWidget& window) {
    if (!UnderRealX()) return window.windowTitle();
    QProcess xprop;
    xprop.start(QStringLiteral("xprop"),
                {QStringLiteral("-id"), QString::number(window.winId()), QStringLiteral("-notype"),
                 QStringLiteral("_NET_WM_NAME")});
    if (!xprop.waitForFinished(5000)) return QStringLiteral("(xprop did not answer)");
    // _NET_WM_NAME = "the title"
    const QString answer = QString::fromUtf8(xprop.readAllStandardOutput()).trimmed();
    const qsizetype open = answer.indexOf(QLatin1Char('"'));
    return open < 0 ? answer : answer.mid(open + 1).chopped(1);
}

// True once the window has its frame: at once offscreen, when the window manager has framed it
// under X (margins that do not fit around the window are a frame still being built).
inline bool WaitForFrame(const QWidget& window) {
    return QTest::qWaitFor([&] {
        const QMargins margins = window.windowHandle() ? window.windowHandle()->frameMargins()
                                                       : QMargins();
        return !margins.isNull() && margins.left() >= 0 && margins.top() >= 0 &&
               margins.right() >= 0 && margins.bottom() >= 0;
    });
}

// Where the window's outer frame stands once nothing moves it any more (still for 150 ms, or
// after 3 s at most).
inline QRect SettledFrame(const QWidget& window) {
    const auto now = [&] {
        return window.windowHandle() ? window.windowHandle()->frameGeometry()
                                     : window.frameGeometry();
    };
    QRect frame = now();
    QElapsedTimer still;
    still.start();
    const QDeadlineTimer deadline(3000);
    while (!deadline.hasExpired() && !still.hasExpired(150)) {
        QTest::qWait(10);
        if (now() != frame) {
            frame = now();
            still.restart();
        }
    }
    return frame;
}

// How far `frame` stands from centred in `area`, halves rounded toward zero: (0, 0) if centred.
inline QPoint OffCentre(const QRect& frame, const QRect& area) {
    return frame.topLeft() - QPoint(area.left() + (area.width() - frame.width()) / 2,
                                    area.top() + (area.height() - frame.height()) / 2);
}

}  // namespace tobric::testing
