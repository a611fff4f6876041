// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Drives the windows in tests: a file choice that answers from a script, a watcher that answers
// the prompts and dismisses the notices and error boxes as they open, recording their texts, a
// bound on calls that wait for a box to close, and where the window manager put a window.

#include <QMessageBox>
#include <QObject>
#include <QRect>
#include <QStringList>
#include <QTimer>
#include <deque>
#include <functional>
#include <optional>
#include <string>

#include "ui/file_chooser.h"

class QWidget;

namespace tobric_test {

class ScriptedFileChooser final : public tobric::FileChooser {
public:
    // Answers in order; nullopt or none left cancels.
    std::deque<std::optional<std::string>> openAnswers;
    std::deque<std::optional<std::string>> saveAnswers;
    std::optional<std::string> ChooseFileToOpen() override;
    std::optional<std::string> ChooseFileToSave() override;
};

// Polls for open boxes every few milliseconds, also inside their own event loops.
class BoxWatcher final : public QObject {
    Q_OBJECT
public:
    QStringList notices;  // texts of "Compiler Message" boxes, in order
    QStringList errors;   // texts of error boxes
    QStringList promptCaptions;
    QStringList promptDefaults;  // the text each prompt opened with
    // Typed into prompts, in order; nullopt or none left means Cancel.
    std::deque<std::optional<QString>> answers;
    bool dismissNotices = true;
    bool answerPrompts = true;
    // When set, answers every prompt by its caption instead: a text for OK, nothing for Cancel.
    std::function<std::optional<QString>(const QString& caption)> answerSource;

    BoxWatcher();

    // Notices still open (when dismissNotices is false, or no watcher is there).
    static QList<QMessageBox*> OpenNotices();

private:
    void Poll();

    QTimer m_timer;
};

// A bound on a call that returns only once the box it opens is closed (a notice, a prompt, an
// error report, a file dialog): should boxes still be open after `milliseconds`, every one of them
// is closed, so the call returns, and Expired() says so. Check it once the call has returned.
class BoxDeadline final {
public:
    explicit BoxDeadline(int milliseconds = 10000);
    BoxDeadline(const BoxDeadline&) = delete;
    BoxDeadline& operator=(const BoxDeadline&) = delete;
    bool Expired() const { return m_expired; }

private:
    QTimer m_timer;
    bool m_expired = false;
};

// The title the window manager shows for `window`: its _NET_WM_NAME under X, the title it was
// given elsewhere.
QString TitleShown(const QWidget& window);

// True once the window has its frame: at once offscreen, when the window manager has framed it
// under X (margins that do not fit around the window are a frame still being built); false after
// 5 s.
bool WaitForFrame(const QWidget& window);

// Where the window's outer frame stands once nothing moves it any more (still for 150 ms, or
// after 3 s at most).
QRect SettledFrame(const QWidget& window);

// How far `frame` stands from centred in `area`, halves rounded toward zero: (0, 0) if centred.
QPoint OffCentre(const QRect& frame, const QRect& area);

}  // namespace tobric_test
