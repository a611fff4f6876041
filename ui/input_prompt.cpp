// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/input_prompt.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRect>
#include <QScreen>
#include <QStringView>
#include <algorithm>
#include <climits>
#include <cstdint>
#include <limits>

#include "ui/placement.h"
#include "ui/text_codec.h"
#include "ui/window_description.h"

namespace tobric {

int MulDivRound(std::int64_t a, std::int64_t b, std::int64_t c) {
    std::int64_t product = 0;
    if (c == 0 || __builtin_mul_overflow(a, b, &product)) return -1;
    // In 128 bits nothing overflows: twice the product, moved one divisor further from zero and
    // truncated by twice the divisor, is the quotient with its halves rounded away from zero.
    __extension__ using Wide = __int128;
    const Wide twice = Wide{product} * 2;
    const Wide quotient = (twice + ((product < 0) == (c < 0) ? c : -Wide{c})) / (Wide{c} * 2);
    return quotient < INT_MIN || quotient > INT_MAX ? -1 : static_cast<int>(quotient);
}

PromptLayout ComputePromptLayout(int averageCharWidth, int averageCharHeight, int labelHeight,
                                 int editHeight) {
    const int x = averageCharWidth;
    const int y = averageCharHeight;
    PromptLayout l{};
    l.clientWidth = MulDivRound(180, x, 4);
    l.labelLeft = MulDivRound(8, x, 4);
    l.labelTop = MulDivRound(8, y, 8);
    l.labelMaxWidth = MulDivRound(164, x, 4);
    l.editLeft = l.labelLeft;
    l.editTop = l.labelTop + labelHeight + 5;
    l.editWidth = MulDivRound(164, x, 4);
    l.buttonTop = l.editTop + editHeight + 15;
    l.buttonWidth = MulDivRound(50, x, 4);
    l.buttonHeight = MulDivRound(14, y, 8);
    l.okLeft = MulDivRound(38, x, 4);
    l.cancelLeft = MulDivRound(92, x, 4);
    l.clientHeight = l.buttonTop + l.buttonHeight + 13;
    return l;
}

QSize AverageCharSize(const QFont& font) {
    static const QString kAlphabet =
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    const QFontMetrics metrics(font);
    return QSize(metrics.horizontalAdvance(kAlphabet) / 52, metrics.height());
}

PromptDialog::PromptDialog(QWidget* parentOrNull, const QString& caption, const QString& prompt,
                           const QString& defaultText)
    : QDialog(parentOrNull, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                                Qt::MSWindowsFixedSizeDialogHint) {
    // "[*]" in a window title is the modified-marker placeholder; doubled, it shows as itself.
    setWindowTitle(QString(caption).replace(QStringLiteral("[*]"), QStringLiteral("[*][*]")));
    setAccessibleName(caption);
    setWindowModality(Qt::ApplicationModal);

    // Created in tab order: edit box, OK, Cancel. The label takes no focus.
    m_label = new QLabel(this);
    m_edit = new QLineEdit(this);
    m_ok = new QPushButton(QLatin1String(kOkCaption), this);
    m_cancel = new QPushButton(QLatin1String(kCancelCaption), this);

    m_label->setTextFormat(Qt::PlainText);  // a prompt is never markup
    m_label->setWordWrap(true);
    m_label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_label->setText(prompt);
    m_label->setBuddy(m_edit);

    m_edit->setAccessibleName(prompt);
    m_ok->setAccessibleName(m_ok->text());
    m_cancel->setAccessibleName(m_cancel->text());

    // Enter chooses OK from anywhere but the Cancel button; Esc and Cancel reject.
    m_ok->setDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    setTabOrder(m_edit, m_ok);
    setTabOrder(m_ok, m_cancel);

    // The typing limit is enforced in OnTextEdited, never by maxLength, which would cut a long
    // default. maxLength only has to be large enough to take the default whole.
    m_edit->setMaxLength(static_cast<int>(std::clamp<qsizetype>(
        defaultText.size(), m_edit->maxLength(), std::numeric_limits<int>::max())));
    // QLineEdit reports a user's edit (textEdited) before the change itself (textChanged), so
    // m_lastText still holds the old text while OnTextEdited looks at an edit.
    connect(m_edit, &QLineEdit::textEdited, this, &PromptDialog::OnTextEdited);
    connect(m_edit, &QLineEdit::textChanged, this, [this] { m_lastText = m_edit->text(); });
    m_edit->setText(defaultText);

    // Layout from the average character of the dialog's font.
    const QSize average = AverageCharSize(font());
    const int labelMaxWidth = MulDivRound(164, average.width(), 4);
    // Wrapped at word boundaries within labelMaxWidth, as the label itself wraps; a word too long
    // for a line is clipped rather than let the label grow wider.
    const QRect textRect = m_label->fontMetrics().boundingRect(
        QRect(0, 0, std::max(labelMaxWidth, 1), std::numeric_limits<int>::max() / 2),
        Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, prompt);
    const int labelWidth = std::min(textRect.width(), labelMaxWidth);
    const int labelHeight = textRect.height();
    const int editHeight = m_edit->sizeHint().height();
    m_layout = ComputePromptLayout(average.width(), average.height(), labelHeight, editHeight);

    m_label->setGeometry(m_layout.labelLeft, m_layout.labelTop, labelWidth, labelHeight);
    m_edit->setGeometry(m_layout.editLeft, m_layout.editTop, m_layout.editWidth, editHeight);
    m_ok->setGeometry(m_layout.okLeft, m_layout.buttonTop, m_layout.buttonWidth,
                      m_layout.buttonHeight);
    m_cancel->setGeometry(m_layout.cancelLeft, m_layout.buttonTop, m_layout.buttonWidth,
                          m_layout.buttonHeight);
    setFixedSize(m_layout.clientWidth, m_layout.clientHeight);
    if (QScreen* screen =
            parentOrNull ? parentOrNull->window()->screen() : QGuiApplication::primaryScreen())
        CentreOnFirstShow(*this, [area = screen->geometry()] { return area; });

    // Typing replaces the whole default.
    m_edit->selectAll();
    m_edit->setFocus(Qt::OtherFocusReason);
}

void PromptDialog::OnTextEdited(const QString& text) {
    const QString& before = m_lastText;
    const qsizetype cursor = m_edit->cursorPosition();

    // Split the new text into a head and a tail that were already there before the edit; what
    // lies between them was brought in by it. Typing and pasting leave the cursor just after what
    // they inserted, so everything behind the cursor is the old tail.
    qsizetype tail = text.size() - cursor;
    if (tail < 0 || tail > before.size() ||
        !before.endsWith(QStringView(text).sliced(text.size() - tail))) {
        tail = 0;
        while (tail < before.size() && tail < text.size() &&
               before[before.size() - 1 - tail] == text[text.size() - 1 - tail])
            ++tail;
    }
    const qsizetype headLimit = std::min(before.size(), text.size()) - tail;
    qsizetype head = 0;
    while (head < headLimit && before[head] == text[head]) ++head;

    const qsizetype inserted = text.size() - head - tail;
    // The room left next to what stayed. A text already over the limit (a long default) takes
    // nothing more, though deleting from it works as ever.
    const qsizetype room = std::max<qsizetype>(0, kTypingLimit - (head + tail));
    if (inserted <= room) return;

    qsizetype keep = room;
    if (keep > 0 && text[head + keep - 1].isHighSurrogate()) --keep;  // never half a pair
    m_edit->setText(text.left(head + keep) + text.right(tail));
    m_edit->setCursorPosition(static_cast<int>(head + keep));
}

std::string InputPrompt(QWidget* parentOrNull, const std::string& caption,
                        const std::string& prompt, const std::string& defaultText) {
    const QPointer<QWidget> wasActive = QApplication::activeWindow();
    std::string answer = defaultText;
    {
        PromptDialog dialog(parentOrNull, ToQt(caption), ToQt(prompt), ToQt(defaultText));
        if (dialog.exec() == QDialog::Accepted) answer = FromQt(dialog.lineEdit()->text());
    }
    if (wasActive != nullptr && wasActive->isVisible()) wasActive->activateWindow();
    return answer;
}

}  // namespace tobric
