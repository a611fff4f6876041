#pragma once
// Drives the main window in tests: a file choice that answers from a script, and a watcher that
// answers the prompts and dismisses the notices and error boxes as they open, recording their texts.

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
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

}  // namespace tobric::testing
