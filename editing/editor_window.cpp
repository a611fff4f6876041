#include "editor_window.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextDocumentLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTextBlock>
#include <QTextLayout>

#include "machine/machine.h"
#include "ui/error_report.h"
#include "ui/fonts.h"
#include "ui/placement.h"
#include "ui/text_codec.h"

namespace tobric {

TForm4::TForm4(Machine& machine, QWidget* mainWindow)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint),
      m_machine(machine),
      m_mainWindow(mainWindow) {
    setObjectName(QStringLiteral("Form4"));
    setWindowTitle(QStringLiteral("Edit Tobric Program"));
    setFont(WindowFont());
    setFixedSize(427, 273);
    setBackgroundRole(QPalette::Button);
    setAutoFillBackground(true);

    tobriceditor = new QPlainTextEdit(this);
    tobriceditor->setObjectName(QStringLiteral("tobriceditor"));
    tobriceditor->setGeometry(0, 0, 425, 241);
    tobriceditor->setBackgroundRole(QPalette::Button);
    tobriceditor->viewport()->setBackgroundRole(QPalette::Button);
    tobriceditor->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    tobriceditor->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    tobriceditor->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    tobriceditor->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    tobriceditor->setTabChangesFocus(true);
    tobriceditor->setAccessibleName(QStringLiteral("Program text"));

    const auto makeButton = [this](const char* name, const char* caption, QRect geometry) {
        auto* button = new QPushButton(QLatin1String(caption), this);
        button->setObjectName(QLatin1String(name));
        button->setGeometry(geometry);
        button->setAutoDefault(true);  // Enter presses the focused button
        return button;
    };
    Button1 = makeButton("Button1", "&Save Changes", {0, 248, 89, 25});
    Button2 = makeButton("Button2", "Cancel Changes", {96, 248, 89, 25});
    Button3 = makeButton("Button3", "&Clear All", {192, 248, 75, 25});
    ConnectGuarded(Button1, &QPushButton::clicked, this, &TForm4::Button1Click);
    ConnectGuarded(Button2, &QPushButton::clicked, this, &TForm4::Button2Click);
    ConnectGuarded(Button3, &QPushButton::clicked, this, &TForm4::Button3Click);

    auto* label = new QLabel(QStringLiteral("Line:"), this);
    label->setObjectName(QStringLiteral("Label1"));
    label->move(280, 248);
    label->adjustSize();

    // Nothing reads this box; it is there for the user's own notes.
    lineno = new QLineEdit(this);
    lineno->setObjectName(QStringLiteral("lineno"));
    lineno->setGeometry(304, 248, 121, 21);
    lineno->setBackgroundRole(QPalette::Button);
    lineno->setAccessibleName(QStringLiteral("Line"));
    label->setBuddy(lineno);
    ConnectGuarded(lineno, &QLineEdit::returnPressed, this, &TForm4::Button1Click);

    setTabOrder(tobriceditor, Button1);
    setTabOrder(Button1, Button2);
    setTabOrder(Button2, Button3);
    setTabOrder(Button3, lineno);

    CentreOnFirstShow(*this, [this] { return screen()->availableGeometry(); });
    mainWindow->installEventFilter(this);
}

void TForm4::Open() {
    std::string text;
    for (const std::string& line : m_machine.store().Lines()) {
        text += line;
        text += '\n';
    }
    tobriceditor->setPlainText(ToQt(text));
    show();
    raise();
    activateWindow();
    m_mainWindow->setEnabled(false);
    m_machine.ShowMailboxes();
}

void TForm4::Button1Click() {
    m_mainWindow->setEnabled(true);
    m_machine.ReplaceProgram(DisplayedLines());
    hide();
}

void TForm4::Button2Click() {
    m_mainWindow->setEnabled(true);
    hide();
}

void TForm4::Button3Click() { tobriceditor->clear(); }

std::vector<std::string> TForm4::DisplayedLines() const {
    QTextDocument* document = tobriceditor->document();
    auto* layout = qobject_cast<QPlainTextDocumentLayout*>(document->documentLayout());
    std::vector<std::string> lines;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        // The last block is empty when the text ends with a line break (or is empty): no line.
        if (!block.next().isValid() && block.text().isEmpty()) break;
        if (layout) layout->ensureBlockLayout(block);
        const QTextLayout* rows = block.layout();
        if (!rows || rows->lineCount() == 0) {
            lines.push_back(FromQt(block.text()));
            continue;
        }
        for (int i = 0; i < rows->lineCount(); ++i) {
            const QTextLine row = rows->lineAt(i);
            lines.push_back(FromQt(block.text().mid(row.textStart(), row.textLength())));
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
