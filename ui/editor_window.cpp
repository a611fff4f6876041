// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor_window.h"

#include <QAccessible>
#include <QCloseEvent>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextDocumentLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextLayout>
#include <QTimer>
#include <QWheelEvent>
#include <algorithm>
#include <array>

#include "described_controls.h"
#include "error_report.h"
#include "fonts.h"
#include "machine/machine.h"
#include "placement.h"
#include "text_codec.h"

namespace tobric {

namespace {

// The advances of the printable ASCII characters in one font, and the most a kerned pair of them
// adds to its two advances: enough to bound the width of most program lines without shaping them.
// Worked out once per font, at the first Save Changes.
struct AsciiWidths {
    QString fontKey;
    std::array<qreal, 0x7F> advance{};
    qreal pairSlack = 0;
};

const AsciiWidths& AsciiWidthsOf(const QFont& font) {
    static AsciiWidths widths;
    if (widths.fontKey == font.key()) return widths;
    const QFontMetricsF metrics(font);
    for (char16_t code = 0x20; code < 0x7F; ++code)
        widths.advance[code] = metrics.horizontalAdvance(QChar(code));
    widths.pairSlack = 0;
    for (char16_t first = 0x20; first < 0x7F; ++first) {
        for (char16_t second = 0x20; second < 0x7F; ++second) {
            const QChar pair[] = {QChar(first), QChar(second)};
            widths.pairSlack =
                std::max(widths.pairSlack, metrics.horizontalAdvance(QString(pair, 2)) -
                                               widths.advance[first] - widths.advance[second]);
        }
    }
    widths.fontKey = font.key();
    return widths;
}

// Laying out every block to find its rows took a second on a large store, yet a block whose text
// is narrower than the box always shows on one row. This answers that question without a layout,
// erring towards "no" (the caller then lays the block out): only text of plain Latin-1 characters
// qualifies, since a tab jumps to the next stop and a control character or soft hyphen may break
// or take width of its own, and a margin covers a last glyph that reaches past its advance.
class RowWidth {
public:
    RowWidth(QTextDocument& document, QPlainTextDocumentLayout* layout)
        : m_metrics(document.defaultFont()), m_ascii(AsciiWidthsOf(document.defaultFont())) {
        // The width the layout gives every row, read from the first block's first row: a huge
        // one when the box does not wrap (yet).
        if (!layout) return;
        layout->ensureBlockLayout(document.begin());
        const QTextLayout* rows = document.begin().layout();
        if (!rows || rows->lineCount() == 0) return;
        m_width = rows->lineAt(0).width() - std::max<qreal>(0, -m_metrics.minRightBearing()) - 1;
    }

    bool FitsOneRow(const QString& text) const {
        if (m_width < 0) return false;
        qreal bound = std::max<qreal>(0, m_ascii.pairSlack) * qreal(text.size());
        bool ascii = true;
        for (const QChar c : text) {
            const char16_t code = c.unicode();
            if (code < 0x20 || (code >= 0x7F && code < 0xA0) || code == 0xAD || code > 0xFF)
                return false;
            if (code < 0x7F)
                bound += m_ascii.advance[code];
            else
                ascii = false;
        }
        // Shaping is what costs: a sum of advances settles most lines of a program.
        if (ascii && bound <= m_width) return true;
        return m_metrics.horizontalAdvance(text) <= m_width;
    }

private:
    QFontMetricsF m_metrics;
    const AsciiWidths& m_ascii;
    qreal m_width = -1;
};

// Opening puts in this many lines at once and the rest in parts of kLinesAPart, each some 10 ms:
// together far more than a screenful, apart short enough for the window to stay responsive.
constexpr qsizetype kFirstLines = 2000;
constexpr qsizetype kLinesAPart = 5000;

// Where the text after `count` more line breaks from `from` ends; the text's end where it has
// fewer.
qsizetype LinesEnd(const QString& text, qsizetype from, qsizetype count) {
    for (; count > 0 && from < text.size(); --count) {
        const qsizetype lineBreak = text.indexOf(QLatin1Char('\n'), from);
        if (lineBreak < 0) return text.size();
        from = lineBreak + 1;
    }
    return from;
}

}  // namespace

TForm4::TForm4(Machine& machine, QWidget* mainWindow)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint),
      m_machine(machine),
      m_mainWindow(mainWindow) {
    setFont(WindowFont());
    setBackgroundRole(QPalette::Button);
    setAutoFillBackground(true);

    const auto made = BuildControls(
        *this, EditorWindowDescription(),
        [this](const Control& control) -> std::function<void()> {
            switch (control.action) {
                case Action::SaveChanges: return [this] { Button1Click(); };
                case Action::CancelChanges: return [this] { Button2Click(); };
                case Action::ClearAll: return [this] { Button3Click(); };
                default: return {};
            }
        },
        [](const Control& control, QWidget& parent) -> QWidget* {
            return control.kind == ControlKind::ProgramText ? new QPlainTextEdit(&parent) : nullptr;
        });
    tobriceditor = static_cast<QPlainTextEdit*>(made.value(QStringLiteral("tobriceditor")));
    tobriceditor->setBackgroundRole(QPalette::Button);
    tobriceditor->viewport()->setBackgroundRole(QPalette::Button);
    tobriceditor->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    tobriceditor->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    tobriceditor->setTabChangesFocus(true);

    const auto button = [&made](const char* name) {
        auto* pushButton = static_cast<QPushButton*>(made.value(QLatin1String(name)));
        pushButton->setAutoDefault(true);  // Enter presses the focused button
        return pushButton;
    };
    Button1 = button("Button1");
    Button2 = button("Button2");
    Button3 = button("Button3");

    // Nothing reads this box; it is there for the user's own notes.
    lineno = static_cast<QLineEdit*>(made.value(QStringLiteral("lineno")));
    lineno->setBackgroundRole(QPalette::Button);
    static_cast<QLabel*>(made.value(QStringLiteral("Label1")))->setBuddy(lineno);
    ConnectGuarded(lineno, &QLineEdit::returnPressed, this, &TForm4::Button1Click);

    m_filler = new QTimer(this);  // a part each time the event loop is free
    ConnectGuarded(m_filler, &QTimer::timeout, this, &TForm4::FillNextPart);
    tobriceditor->installEventFilter(this);
    tobriceditor->viewport()->installEventFilter(this);

    CentreOnFirstShow(*this, [this] { return screen() ? screen()->availableGeometry() : QRect(); });
    mainWindow->installEventFilter(this);
}

void TForm4::Open() {
    StopFilling();
    std::string text;
    for (const std::string& line : m_machine.store().Lines()) text.append(line) += '\n';
    // Qt takes a text box's text in at some 2 ms a thousand lines, so a store of 65,535 lines
    // would hold the window shut for a noticeable while. The first lines go in now and the rest
    // follow, while the box shows and scrolls; no edit can come between them (see StillFilling).
    // A screen reader's edits reach the text past its read-only flag, so with one at work the
    // text goes in whole.
    m_fillText = ToQt(text);
    m_fillFrom = QAccessible::isActive() ? m_fillText.size() : LinesEnd(m_fillText, 0, kFirstLines);
    tobriceditor->setPlainText(m_fillText.first(m_fillFrom));
    if (StillFilling()) {
        tobriceditor->document()->setUndoRedoEnabled(false);
        tobriceditor->setReadOnly(true);
        m_filler->start();
    } else {
        StopFilling();  // nothing left to put in
    }
    show();
    raise();
    activateWindow();
    m_mainWindow->setEnabled(false);
    m_machine.ShowMailboxes();
}

void TForm4::FillNextPart() {
    const qsizetype end = LinesEnd(m_fillText, m_fillFrom, kLinesAPart);
    QTextCursor cursor(tobriceditor->document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(m_fillText.sliced(m_fillFrom, end - m_fillFrom));
    m_fillFrom = end;
    if (!StillFilling()) StopFilling();
}

void TForm4::FinishFilling() {
    while (StillFilling()) FillNextPart();
}

void TForm4::StopFilling() {
    const bool wasFilling = StillFilling() || m_filler->isActive();
    m_filler->stop();
    m_fillText.clear();
    m_fillFrom = 0;
    if (!wasFilling) return;
    // As after setPlainText: nothing to undo, the box editable again.
    tobriceditor->document()->setUndoRedoEnabled(true);
    tobriceditor->setReadOnly(false);
}

void TForm4::Button1Click() {
    FinishFilling();
    m_mainWindow->setEnabled(true);
    m_machine.ReplaceProgram(DisplayedLines());
    hide();
}

void TForm4::Button2Click() {
    StopFilling();
    m_mainWindow->setEnabled(true);
    hide();
}

void TForm4::Button3Click() {
    StopFilling();
    tobriceditor->clear();
}

std::vector<std::string> TForm4::DisplayedLines() const {
    QTextDocument* document = tobriceditor->document();
    auto* layout = qobject_cast<QPlainTextDocumentLayout*>(document->documentLayout());
    const RowWidth rowWidth(*document, layout);
    std::vector<std::string> lines;
    lines.reserve(static_cast<std::size_t>(document->blockCount()));
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        const QString text = block.text();
        // The last block is empty when the text ends with a line break (or is empty): no line.
        if (!block.next().isValid() && text.isEmpty()) break;
        const bool oneRow = rowWidth.FitsOneRow(text);
        if (!oneRow && layout) layout->ensureBlockLayout(block);
        const QTextLayout* rows = oneRow ? nullptr : block.layout();
        if (!rows || rows->lineCount() == 0) {
            lines.push_back(FromQt(text));
            continue;
        }
        for (int i = 0; i < rows->lineCount(); ++i) {
            const QTextLine row = rows->lineAt(i);
            lines.push_back(FromQt(text.mid(row.textStart(), row.textLength())));
        }
    }
    return lines;
}

void TForm4::closeEvent(QCloseEvent* event) {
    // The close box cancels: the main window takes input again, the store stays as it was.
    event->ignore();
    Guarded([this] { Button2Click(); });
}

bool TForm4::eventFilter(QObject* watched, QEvent* event) {
    // The user reaches into a text still filling: the rest goes in first, so the key or click
    // lands in the whole text, as it would have had it gone in at once.
    if ((watched == tobriceditor || watched == tobriceditor->viewport()) && StillFilling()) {
        switch (event->type()) {
            case QEvent::ShortcutOverride:
            case QEvent::KeyPress:
            case QEvent::InputMethod:
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonDblClick:
            case QEvent::ContextMenu:
            case QEvent::DragEnter: FinishFilling(); break;
            // Ctrl and the wheel zoom a read-only box, and the zoom would stay.
            case QEvent::Wheel:
                if (static_cast<QWheelEvent*>(event)->modifiers() & Qt::ControlModifier)
                    FinishFilling();
                break;
            default: break;
        }
        return false;
    }
    // A click on the disabled main window still makes the window manager activate it; the
    // editor, the one window the user can work in, comes forward and keeps the keyboard.
    if (watched == m_mainWindow && event->type() == QEvent::WindowActivate &&
        !m_mainWindow->isEnabled() && isVisible()) {
        raise();
        activateWindow();
    }
    return QWidget::eventFilter(watched, event);
}

void TForm4::keyPressEvent(QKeyEvent* event) {
    // In the text box Escape is the text box's; anywhere else it cancels.
    if (event->key() == Qt::Key_Escape && focusWidget() != tobriceditor) {
        Guarded([this] { Button2Click(); });
        return;
    }
    QWidget::keyPressEvent(event);
}

}  // namespace tobric
