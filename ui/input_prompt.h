// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The input prompt: a small modal dialog that asks for one line of text. IN asks it for a number,
// Edit this Mailbox and Insert Command for an assembly line.
//
// Its layout follows the average character size of its font, so it keeps its proportions in any
// font the toolkit gives us.

#include <QDialog>
#include <QFont>
#include <QSize>
#include <QString>
#include <cstdint>
#include <string>

class QLabel;
class QLineEdit;
class QPushButton;

namespace tobric {

// Client-area coordinates, in pixels, of everything in the prompt.
struct PromptLayout {
    int clientWidth;
    int labelLeft, labelTop;
    int labelMaxWidth;  // the prompt wraps at word boundaries to stay within this
    int editLeft, editTop, editWidth;
    int buttonTop, buttonWidth, buttonHeight;
    int okLeft, cancelLeft;
    int clientHeight;

    friend bool operator==(const PromptLayout&, const PromptLayout&) = default;
};

// a * b / c with a 64-bit intermediate, rounded to the nearest integer, halves away from zero:
// MulDivRound(50, 5, 4) = 63, MulDivRound(-50, 5, 4) = -63. Gives -1 when c is 0 or when the
// product or the result does not fit (64 bits for the product, int for the result).
int MulDivRound(std::int64_t a, std::int64_t b, std::int64_t c);

// The prompt's layout for an average character of averageCharWidth x averageCharHeight pixels,
// a prompt label labelHeight pixels high (after wrapping) and an edit box editHeight pixels high.
PromptLayout ComputePromptLayout(int averageCharWidth, int averageCharHeight, int labelHeight,
                                 int editHeight);

// Width: the advance of "A".."Z" followed by "a".."z", divided by 52 with the remainder dropped.
// Height: the height of that text (the font's line height).
QSize AverageCharSize(const QFont& font);

// The dialog itself, built for one call and thrown away after it. Most code wants InputPrompt();
// the class is public so that the window's tests can look inside.
class PromptDialog : public QDialog {
    Q_OBJECT

public:
    // The most characters typing or pasting can bring the text to. A longer default is kept whole.
    static constexpr int kTypingLimit = 255;

    PromptDialog(QWidget* parentOrNull, const QString& caption, const QString& prompt,
                 const QString& defaultText);

    QLabel* promptLabel() const { return m_label; }
    QLineEdit* lineEdit() const { return m_edit; }
    QPushButton* okButton() const { return m_ok; }
    QPushButton* cancelButton() const { return m_cancel; }
    const PromptLayout& promptLayout() const { return m_layout; }

private:
    void OnTextEdited(const QString& text);

    QLabel* m_label = nullptr;
    QLineEdit* m_edit = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
    PromptLayout m_layout{};
    QString m_lastText;  // the edit box's text as it stood before the edit being looked at
};

// Shows the prompt application-modal and waits for it. Gives the edit box's text if the user
// chose OK (it may be empty), and defaultText if the dialog was closed by Cancel, Esc or the
// close box. Texts are single-byte (see text_codec.h).
std::string InputPrompt(QWidget* parentOrNull, const std::string& caption,
                        const std::string& prompt, const std::string& defaultText);

}  // namespace tobric
