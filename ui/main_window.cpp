// SPDX-License-Identifier: GPL-3.0-or-later
#include "main_window.h"

#include <QCloseEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QSvgRenderer>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

#include "accessibility.h"
#include "described_controls.h"
#include "error_report.h"
#include "fonts.h"
#include "input_prompt.h"
#include "machine/display_text.h"
#include "mailbox_display.h"
#include "notice.h"
#include "output_basket.h"
#include "panel.h"
#include "placement.h"
#include "text_codec.h"

static void InitArtResources() { Q_INIT_RESOURCE(art); }

namespace tobric {
namespace {

// Pictures for the window icon, drawn from the SVG at the sizes the title bar and the
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
    setWindowIcon(WindowIcon());
    setFont(WindowFont());
    setBackgroundRole(QPalette::Dark);  // the application-workspace grey of the platform
    setAutoFillBackground(true);

    BuildControls();
    pctext->setFocus();

    ConnectGuarded(&m_timer, &QtExecutionTimer::Tick, this, &TForm1::TimerTimer);

    splash = new QTimer(this);
    ConnectGuarded(splash, &QTimer::timeout, this, &TForm1::splashTimer);
    splash->start(1);

    CentreOnFirstShow(*this, [this] { return screen() ? screen()->geometry() : QRect(); });
}

std::function<void()> TForm1::Handler(Action action, int digit) {
    switch (action) {
        case Action::Run: return [this] { runmenuClick(); };
        case Action::Step: return [this] { stepmenuClick(); };
        case Action::HaltContinue: return [this] { menuhaltClick(); };
        case Action::Reset: return [this] { resetmenuClick(); };
        case Action::SaveProgram: return [this] { savemenuClick(); };
        case Action::LoadProgram: return [this] { loadmenuClick(); };
        case Action::Exit: return [this] { menuExitClick(); };
        case Action::ShowAbout: return [this] { Image1Click(); };
        case Action::Digit: return [this, digit] { m_machine.PressDigit(digit); };
        case Action::Plus: return [this] { m_machine.PressPlus(); };
        case Action::Minus: return [this] { m_machine.PressMinus(); };
        case Action::Equals: return [this] { m_machine.PressEquals(); };
        case Action::Clear: return [this] { m_machine.PressClear(); };
        case Action::ClearEntry: return [this] { m_machine.PressClearEntry(); };
        case Action::EditMailbox: return [this] { EditthisMailbox1Click(); };
        case Action::InsertCommand: return [this] { InsertCommand1Click(); };
        case Action::DeleteCommand: return [this] { DeleteCommand1Click(); };
        case Action::OpenEditor: return [this] { EditPrograminEditor1Click(); };
        default: return {};
    }
}

void TForm1::BuildControls() {
    m_machine.TrackShownLines();
    const auto made = tobric::BuildControls(
        *this, MainWindowDescription(),
        [this](const Control& control) { return Handler(control.action, control.digit); },
        [this](const Control& control, QWidget& parent) -> QWidget* {
            if (control.kind != ControlKind::MailboxDisplay) return nullptr;
            return new MailboxDisplay(m_machine.store(), &parent);
        });
    const auto find = [&made]<typename Widget>(Widget*& member, const char* name) {
        member = static_cast<Widget*>(made.value(QLatin1String(name)));
    };
    find(mailboxshow, "mailboxshow");
    find(inbasket, "inbasket");
    find(outbasket, "outbasket");
    find(pctext, "pctext");
    find(opcodetext, "opcodetext");
    find(mdrtext, "mdrtext");
    find(ScrollBar1, "ScrollBar1");
    find(calculatorValueText, "calculatorValueText");
    find(runmenu, "runmenu");
    find(stepmenu, "stepmenu");
    find(menuhalt, "menuhalt");
    find(resetmenu, "resetmenu");
    find(savemenu, "savemenu");
    find(loadmenu, "loadmenu");
    find(menuExit, "menuExit");
    find(Image1, "Image1");
    Image1->setCursor(Qt::PointingHandCursor);
    // Connected only now, so the starting position fires nothing: the execution timer keeps its
    // own 1000 ms until the bar is first moved.
    connect(ScrollBar1, &QScrollBar::valueChanged, this,
            [this](int position) { Guarded([&] { ScrollBar1Change(position); }); });

    mailboxmenu = new QMenu(this);
    mailboxmenu->setObjectName(QStringLiteral("mailboxmenu"));
    for (const MenuItem& item : MailboxMenuItems()) {
        QAction* action = mailboxmenu->addAction(QString::fromLatin1(item.caption));
        connect(action, &QAction::triggered, this,
                [handler = Handler(item.action, 0)] { Guarded(handler); });
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

SelectedIndexSource TForm1::SelectedRow() {
    return [this] { return mailboxshow->SelectedIndex(); };
}

void TForm1::ShowMailboxes(const Store&) { mailboxshow->Rebuild(); }

void TForm1::ShowRegisters(const Registers& registers) {
    pctext->setText(QString::number(registers.programCounter));
    mdrtext->setText(QString::number(registers.operand));
    opcodetext->setText(ToQt(MnemonicText(registers.mnemonic)));
}

void TForm1::ShowCalculator(std::int32_t n) {
    calculatorValueText->SetCaption(ToQt(CalculatorText(n)));
}

void TForm1::ShowOutput(std::int32_t n) { outbasket->ShowOutput(n); }

void TForm1::ShowInBasket(std::int32_t n) { inbasket->setText(QString::number(n)); }

std::optional<std::string> TForm1::Answer(const Question& question) {
    switch (question.kind) {
        case Question::Kind::Line:
            return InputPrompt(nullptr, question.caption, question.text, question.defaultText);
        case Question::Kind::OpenFile: return m_files->ChooseFileToOpen();
        case Question::Kind::SaveFile: return m_files->ChooseFileToSave();
    }
    return std::nullopt;
}

void TForm1::ShowNotice(const std::string& text) { ShowNoticeBox(text); }

void TForm1::closeEvent(QCloseEvent* event) {
    event->accept();
    m_exitProcess(0);
}

}  // namespace tobric
