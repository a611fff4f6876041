// SPDX-License-Identifier: GPL-3.0-or-later
#include "window_driver.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QWindow>

#include "next.h"
#include "ui/input_prompt.h"
#include "ui/notice.h"

namespace tobric_test {

std::optional<std::string> ScriptedFileChooser::ChooseFileToOpen() { return Next(openAnswers); }

std::optional<std::string> ScriptedFileChooser::ChooseFileToSave() { return Next(saveAnswers); }

BoxWatcher::BoxWatcher() {
    m_timer.setInterval(2);
    connect(&m_timer, &QTimer::timeout, this, &BoxWatcher::Poll);
    m_timer.start();
}

QList<QMessageBox*> BoxWatcher::OpenNotices() {
    QList<QMessageBox*> open;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* box = qobject_cast<QMessageBox*>(w);
            box && box->isVisible() && box->windowTitle() == QLatin1String(tobric::kNoticeCaption))
            open.append(box);
    return open;
}

void BoxWatcher::Poll() {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (!w->isVisible() || w->property("seen").toBool()) continue;
        if (auto* box = qobject_cast<QMessageBox*>(w)) {
            const bool notice = box->windowTitle() == QLatin1String(tobric::kNoticeCaption);
            if (notice && !dismissNotices) continue;
            box->setProperty("seen", true);
            (notice ? notices : errors).append(box->text());
            QTimer::singleShot(0, box, [box] { box->button(QMessageBox::Ok)->click(); });
        } else if (auto* prompt = qobject_cast<tobric::PromptDialog*>(w); prompt && answerPrompts) {
            prompt->setProperty("seen", true);
            promptCaptions.append(prompt->windowTitle());
            promptDefaults.append(prompt->lineEdit()->text());
            const std::optional<QString> answer =
                answerSource ? answerSource(prompt->windowTitle()) : Next(answers);
            QTimer::singleShot(0, prompt, [prompt, answer] {
                if (!answer) return prompt->cancelButton()->click();
                prompt->lineEdit()->setText(*answer);
                prompt->okButton()->click();
            });
        }
    }
}

BoxDeadline::BoxDeadline(int milliseconds) {
    m_timer.setSingleShot(true);
    QObject::connect(&m_timer, &QTimer::timeout, [this] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            // Boxes: the modal dialogs and the notices, which are message boxes without modality.
            auto* dialog = qobject_cast<QDialog*>(w);
            if (dialog && dialog->isVisible() &&
                (dialog->isModal() || qobject_cast<QMessageBox*>(w))) {
                m_expired = true;
                dialog->reject();
            }
        }
    });
    m_timer.start(milliseconds);
}

QString TitleShown(const QWidget& window) {
    // Only a real X server has a window manager that shows titles.
    if (QGuiApplication::platformName() != QLatin1String("xcb")) return window.windowTitle();
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

bool WaitForFrame(const QWidget& window) {
    return QTest::qWaitFor([&] {
        const QMargins margins =
            window.windowHandle() ? window.windowHandle()->frameMargins() : QMargins();
        return !margins.isNull() && margins.left() >= 0 && margins.top() >= 0 &&
               margins.right() >= 0 && margins.bottom() >= 0;
    });
}

QRect SettledFrame(const QWidget& window) {
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

QPoint OffCentre(const QRect& frame, const QRect& area) {
    return frame.topLeft() - QPoint(area.left() + (area.width() - frame.width()) / 2,
                                    area.top() + (area.height() - frame.height()) / 2);
}

}  // namespace tobric_test
