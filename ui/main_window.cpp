// SPDX-License-Identifier: GPL-3.0-or-later
#include "main_window.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QSvgRenderer>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <tuple>

#include "accessibility.h"
#include "editing/mailbox_commands.h"
#include "error_report.h"
#include "fonts.h"
#include "mailbox_display.h"
#include "output_basket.h"
#include "panel.h"
#include "placement.h"

static void InitArtResources() { Q_INIT_RESOURCE(art); }

namespace tobric {
namespace {

// Pictures for the window icon, drawn from the SVG at the two sizes the title bar and the
// task switcher ask for.
QIcon WindowIcon() {
    QSvgRenderer renderer(QStringLiteral(":/art/tobric_icon.svg"));
    QIcon icon;
    for (const int size : {16, 32, 48, 64}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        renderer.render(&painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

Panel* MakePanel(QWidget* parent, const QRect& geometry, const char* name) {
    auto* panel = new Panel(parent);
    panel->setObjectName(QLatin1String(name));
    panel->setGeometry(geometry);
    return panel;
}

QLabel* MakeLabel(QWidget* parent, int left, int top, const char* name, const char* text) {
    auto* label = new QLabel(QLatin1String(text), parent);
    label->setObjectName(QLatin1String(name));
    label->move(left, top);
    label->adjustSize();
    return label;
}

QLineEdit* MakeBox(QWidget* parent, const QRect& geometry, const char* name, const char* role) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(QLatin1String(name));
    box->setGeometry(geometry);
    box->setReadOnly(true);
    box->setAccessibleName(QLatin1String(role));
    return box;
}

// The speed bar's keys: left and up lower the position (a faster run), right and down raise it,
// Page Up and Page Down by the large step, Home and End to the ends.
class SpeedBar final : public QScrollBar {
public:
    using QScrollBar::QScrollBar;

protected:
    void keyPressEvent(QKeyEvent* event) override {
        switch (event->key()) {
            case Qt::Key_Left:
            case Qt::Key_Up: triggerAction(SliderSingleStepSub); break;
            case Qt::Key_Right:
            case Qt::Key_Down: triggerAction(SliderSingleStepAdd); break;
            case Qt::Key_PageUp: triggerAction(SliderPageStepSub); break;
            case Qt::Key_PageDown: triggerAction(SliderPageStepAdd); break;
            case Qt::Key_Home: triggerAction(SliderToMinimum); break;
            case Qt::Key_End: triggerAction(SliderToMaximum); break;
            default: QScrollBar::keyPressEvent(event); return;
        }
        event->accept();
    }
};

// The exit of a real run: at once, whatever is open, without asking anything.
void EndProcess(int code) {
    std::fflush(nullptr);
    std::_Exit(code);
}

}  // namespace

TForm1::TForm1(std::unique_ptr<FileChooser> files, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      m_files(files ? std::move(files) : std::make_unique<DialogFileChooser>(this)),
      m_timer(this),
      m_machine(*this, m_timer),
      m_exitProcess(EndProcess) {
    InitArtResources();
    InstallAccessibility();
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QString::fromLatin1(kApplicationTitle));
    setWindowIcon(WindowIcon());
    setFont(WindowFont());
    setFixedSize(633, 434);
    setBackgroundRole(QPalette::Dark);  // the application-workspace grey of the platform
    setAutoFillBackground(true);

    // Creation order gives the tab order of the window's direct contents.
    BuildControlColumn();
    BuildCalculator();
    BuildRegisterPanel();
    BuildMailboxDisplay();
    setTabOrder(pctext, mdrtext);
    setTabOrder(mdrtext, opcodetext);
    setTabOrder(opcodetext, ScrollBar1);
    setTabOrder(ScrollBar1, outbasket);
    setTabOrder(outbasket, mailboxshow);
    pctext->setFocus();

    ConnectGuarded(&m_timer, &QtExecutionTimer::Tick, this, &TForm1::TimerTimer);

    splash = new QTimer(this);
    splash->setInterval(1);
    ConnectGuarded(splash, &QTimer::timeout, this, &TForm1::splashTimer);
    splash->start();

    CentreOnFirstShow(*this, [this] { return screen() ? screen()->geometry() : QRect(); });
}

TForm1::~TForm1() = default;

void TForm1::SetCompanions(QWidget* splashWindow, QWidget* aboutBox,
                           std::function<void()> openEditor) {
    m_splashWindow = splashWindow;
    m_aboutBox = aboutBox;
    m_openEditor = std::move(openEditor);
}

void TForm1::BuildControlColumn() {
    Panel* column = MakePanel(this, {0, 120, 177, 308}, "Panel2");
    column->setAccessibleName(QStringLiteral("Controls"));
    Image1 = new Picture(QStringLiteral(":/art/image_strip.svg"), column);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(2, 2, 20, 304);
    Image1->setAccessibleName(QStringLiteral("About Tobric Computer"));
    Image1->setCursor(Qt::PointingHandCursor);
    ConnectGuarded(Image1, &Picture::Clicked, this, &TForm1::Image1Click);

    for (auto [name, top, caption] :
         {std::tuple{"Panel1", 0, "Tobric Controls"}, std::tuple{"Panel3", 176, "Utilities"}}) {
        Panel* heading = MakePanel(column, {24, top, 153, 33}, name);
        heading->setFont(HeadingFont());
        heading->SetCaption(QLatin1String(caption));
    }

    struct Command {
        PanelButton** member;
        const char* name;
        int top, height;
        const char* caption;
        const char* glyph;
        void (TForm1::*handler)();
    };
    const Command commands[] = {
        {&runmenu, "runmenu", 37, 33, "&Run", "glyph_run", &TForm1::runmenuClick},
        {&stepmenu, "stepmenu", 68, 33, "S&tep", "glyph_step", &TForm1::stepmenuClick},
        {&menuhalt, "menuhalt", 99, 31, "&Halt/Continue", "glyph_halt", &TForm1::menuhaltClick},
        {&resetmenu, "resetmenu", 128, 33, "R&eset", "glyph_reset", &TForm1::resetmenuClick},
        {&savemenu, "savemenu", 213, 34, "&Save Program", "glyph_save", &TForm1::savemenuClick},
        {&loadmenu, "loadmenu", 245, 34, "&Load Program", "glyph_load", &TForm1::loadmenuClick},
        {&menuExit, "menuExit", 277, 31, "E&xit Tobric", "glyph_exit", &TForm1::menuExitClick},
    };
    for (const Command& command : commands) {
        auto* button = new PanelButton(column);
        button->setObjectName(QLatin1String(command.name));
        button->setGeometry(24, command.top, 153, command.height);
        // Ten blanks put the caption to the right of the glyph.
        button->SetCaption(QStringLiteral("          ") + QLatin1String(command.caption));
        button->SetCaptionAlignment(Qt::AlignLeft);
        button->SetGlyph(QStringLiteral(":/art/%1.svg").arg(QLatin1String(command.glyph)));
        ConnectGuarded(button, &PanelButton::Clicked, this, command.handler);
        *command.member = button;
    }
}

void TForm1::BuildCalculator() {
    Panel* calculator = MakePanel(this, {208, 120, 249, 297}, "Panel4");
    calculator->setAccessibleName(QStringLiteral("Calculator keypad"));
    calculatorValueText = MakePanel(calculator, {16, 16, 217, 57}, "calculatorValueText");
    calculatorValueText->SetBevels(Panel::Bevel::Lowered, Panel::Bevel::Lowered);
    calculatorValueText->SetCaptionAlignment(Qt::AlignRight);
    calculatorValueText->setFont(CalculatorFont());
    calculatorValueText->SetShrinkToFit(16);
    calculatorValueText->SetCaption(QStringLiteral("0 "));
    calculatorValueText->setAccessibleName(QStringLiteral("Calculator"));

    struct Key {
        const char* name;
        QRect geometry;
        const char* caption;
        std::function<void(Machine&)> press;
    };
    const Key keys[] = {
        {"ccalc", {16, 80, 105, 33}, "C", [](Machine& m) { m.PressClear(); }},
        {"cecalc", {120, 80, 113, 33}, "CE", [](Machine& m) { m.PressClearEntry(); }},
        {"no7calc", {24, 120, 49, 41}, "7", [](Machine& m) { m.PressDigit(7); }},
        {"no8calc", {72, 120, 49, 41}, "8", [](Machine& m) { m.PressDigit(8); }},
        {"no9calc", {120, 120, 49, 41}, "9", [](Machine& m) { m.PressDigit(9); }},
        {"no4calc", {24, 160, 49, 41}, "4", [](Machine& m) { m.PressDigit(4); }},
        {"no5calc", {72, 160, 49, 41}, "5", [](Machine& m) { m.PressDigit(5); }},
        {"no6calc", {120, 160, 49, 41}, "6", [](Machine& m) { m.PressDigit(6); }},
        {"no1calc", {24, 200, 49, 41}, "1", [](Machine& m) { m.PressDigit(1); }},
        {"no2calc", {72, 200, 49, 41}, "2", [](Machine& m) { m.PressDigit(2); }},
        {"no3calc", {120, 200, 49, 41}, "3", [](Machine& m) { m.PressDigit(3); }},
        {"no0calc", {24, 240, 73, 41}, "0", [](Machine& m) { m.PressDigit(0); }},
        {"equalscalc", {96, 240, 73, 41}, "=", [](Machine& m) { m.PressEquals(); }},
        {"addcalc", {176, 120, 49, 81}, "+", [](Machine& m) { m.PressPlus(); }},
        {"subcalc", {176, 200, 49, 81}, "-", [](Machine& m) { m.PressMinus(); }},
    };
    for (const Key& key : keys) {
        auto* button = new PanelButton(calculator);
        button->setObjectName(QLatin1String(key.name));
        button->setGeometry(key.geometry);
        button->SetCaption(QLatin1String(key.caption));
        connect(button, &PanelButton::Clicked, this,
                [this, press = key.press] { Guarded([&] { press(m_machine); }); });
    }
}

void TForm1::BuildRegisterPanel() {
    Panel* registers = MakePanel(this, {8, 8, 473, 105}, "Panel5");
    registers->setAccessibleName(QStringLiteral("Registers"));
    MakeLabel(registers, 264, 8, "Label1", "IN Basket:");
    inbasket = MakeBox(registers, {320, 8, 121, 21}, "inbasket", "IN Basket");
    inbasket->setEnabled(false);
    inbasket->setFocusPolicy(Qt::NoFocus);
    MakeLabel(registers, 8, 24, "Label2", "OUT Basket:");
    MakeLabel(registers, 232, 32, "Label3", "Program Counter:");
    pctext = MakeBox(registers, {320, 32, 121, 21}, "pctext", "Program Counter");
    MakeLabel(registers, 264, 56, "Instruction", "Instruction");
    opcodetext = MakeBox(registers, {320, 56, 121, 21}, "opcodetext", "Instruction");
    MakeLabel(registers, 208, 80, "mdrtextc", "Memory Data Register:");
    mdrtext = MakeBox(registers, {320, 80, 121, 21}, "mdrtext", "Memory Data Register");
    MakeLabel(registers, 8, 64, "speed", "Speed:");

    ScrollBar1 = new SpeedBar(Qt::Horizontal, registers);
    ScrollBar1->setObjectName(QStringLiteral("ScrollBar1"));
    ScrollBar1->setGeometry(48, 64, 153, 16);
    ScrollBar1->setRange(1, 1000);
    ScrollBar1->setSingleStep(10);
    ScrollBar1->setPageStep(100);
    ScrollBar1->setFocusPolicy(Qt::StrongFocus);
    ScrollBar1->setAccessibleName(QStringLiteral("Speed"));
    ScrollBar1->setValue(500);
    // Connected only now, so the starting position fires nothing: the execution timer keeps its
    // own 1000 ms until the bar is first moved.
    connect(ScrollBar1, &QScrollBar::valueChanged, this,
            [this](int position) { Guarded([&] { ScrollBar1Change(position); }); });

    auto* fast = new Picture(QStringLiteral(":/art/speed_fast.svg"), registers);
    fast->setObjectName(QStringLiteral("Image10"));
    fast->setGeometry(48, 80, 32, 17);
    fast->setAccessibleName(QStringLiteral("Fast"));
    auto* slow = new Picture(QStringLiteral(":/art/speed_slow.svg"), registers);
    slow->setObjectName(QStringLiteral("Image3"));
    slow->setGeometry(168, 80, 32, 17);
    slow->setAccessibleName(QStringLiteral("Slow"));

    outbasket = new OutputBasket(registers);
    outbasket->setObjectName(QStringLiteral("outbasket"));
    QFont large = WindowFont();
    large.setPixelSize(24);
    outbasket->setFont(large);
    outbasket->setGeometry(72, 16, 145, 37);
}

void TForm1::BuildMailboxDisplay() {
    m_machine.TrackShownLines();
    mailboxshow = new MailboxDisplay(m_machine.store(), this);
    mailboxshow->setObjectName(QStringLiteral("mailboxshow"));
    mailboxshow->setGeometry(512, 0, 121, 434);

    mailboxmenu = new QMenu(this);
    mailboxmenu->setObjectName(QStringLiteral("mailboxmenu"));
    const std::pair<const char*, void (TForm1::*)()> items[] = {
        {"Edit this Mailbox", &TForm1::EditthisMailbox1Click},
        {"Insert Command", &TForm1::InsertCommand1Click},
        {"Delete Command", &TForm1::DeleteCommand1Click},
        {"Edit Program in Editor", &TForm1::EditPrograminEditor1Click},
    };
    for (auto [caption, handler] : items) {
        QAction* action = mailboxmenu->addAction(QString::fromLatin1(caption));
        ConnectGuarded(action, &QAction::triggered, this, handler);
    }
    connect(mailboxshow, &MailboxDisplay::MenuRequested, this,
            [this](const QPoint& position) { mailboxmenu->popup(position); });
}

void TForm1::splashTimer() {
    splash->stop();
    if (!m_splashWindow) return;
    m_splashWindow->show();
    m_splashWindow->raise();
}

void TForm1::Image1Click() {
    if (!m_aboutBox) return;
    m_aboutBox->show();
    m_aboutBox->raise();
    m_aboutBox->activateWindow();
}

// The popup commands act on the display's selected row, read anew after their prompt.
void TForm1::EditthisMailbox1Click() {
    EditThisMailbox(m_machine, [this] { return mailboxshow->SelectedIndex(); });
}

void TForm1::InsertCommand1Click() {
    InsertCommand(m_machine, [this] { return mailboxshow->SelectedIndex(); });
}

void TForm1::DeleteCommand1Click() {
    DeleteCommand(m_machine, [this] { return mailboxshow->SelectedIndex(); });
}

void TForm1::EditPrograminEditor1Click() {
    if (m_openEditor) m_openEditor();
}

void TForm1::closeEvent(QCloseEvent* event) {
    event->accept();
    m_exitProcess(0);
}

}  // namespace tobric
