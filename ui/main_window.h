// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window: the control column, the calculator, the register panel and the mailbox display.
// It owns the machine and is its view. Each handler is one line into the machine, run through
// Guarded() so that a failure is reported once and never escapes into Qt.

#include <QWidget>
#include <functional>
#include <memory>

#include "editing/mailbox_commands.h"
#include "file_chooser.h"
#include "machine/machine.h"
#include "machine/machine_view.h"
#include "qt_execution_timer.h"
#include "window_description.h"

class QLineEdit;
class QMenu;
class QScrollBar;
class QTimer;

namespace tobric {

class MailboxDisplay;
class OutputBasket;
class Panel;
class PanelButton;
class Picture;

class TForm1 final : public QWidget, public MachineView, private Answerer {
    Q_OBJECT
public:
    explicit TForm1(std::unique_ptr<FileChooser> files = nullptr, QWidget* parent = nullptr);

    Machine& machine() { return m_machine; }
    QtExecutionTimer& executionTimer() { return m_timer; }

    // The windows the main window opens: the splash window, the about box, and the program
    // editor (through the function that opens it).
    void SetCompanions(QWidget* splashWindow, QWidget* aboutBox, std::function<void()> openEditor) {
        m_splashWindow = splashWindow;
        m_aboutBox = aboutBox;
        m_openEditor = std::move(openEditor);
    }
    // How the program ends; tests replace it to see the exit code instead of dying.
    void SetProcessExit(std::function<void(int)> exitProcess) {
        m_exitProcess = std::move(exitProcess);
    }

    // The machine view.
    void ShowMailboxes(const Store& store) override;
    void ShowRegisters(const Registers& registers) override;
    void ShowCalculator(std::int32_t n) override;
    void ShowOutput(std::int32_t n) override;
    void ShowInBasket(std::int32_t n) override;
    void ShowNotice(const std::string& text) override;

    // Handlers.
    void runmenuClick() { m_machine.Run(); }
    void stepmenuClick() { AnswerNow(m_machine.Step()); }
    void menuhaltClick() { m_machine.HaltOrContinue(); }
    void resetmenuClick() { m_machine.Reset(); }
    void savemenuClick() { AnswerNow(m_machine.Save()); }
    void loadmenuClick() { AnswerNow(m_machine.Load()); }
    void menuExitClick() { m_exitProcess(0); }
    void TimerTimer() { AnswerNow(m_machine.TimerTimer()); }
    void ScrollBar1Change(int position) { m_machine.ChangeSpeed(position); }
    void splashTimer();
    void Image1Click();
    void EditthisMailbox1Click() { AnswerNow(EditThisMailbox(m_machine, SelectedRow())); }
    void InsertCommand1Click() { AnswerNow(InsertCommand(m_machine, SelectedRow())); }
    void DeleteCommand1Click() { DeleteCommand(m_machine, SelectedRow()); }
    void EditPrograminEditor1Click() {
        if (m_openEditor) m_openEditor();
    }

    // The controls, by their names.
    MailboxDisplay* mailboxshow = nullptr;
    QLineEdit* inbasket = nullptr;
    OutputBasket* outbasket = nullptr;
    QLineEdit* pctext = nullptr;
    QLineEdit* opcodetext = nullptr;
    QLineEdit* mdrtext = nullptr;
    QScrollBar* ScrollBar1 = nullptr;
    Panel* calculatorValueText = nullptr;
    PanelButton* runmenu = nullptr;
    PanelButton* stepmenu = nullptr;
    PanelButton* menuhalt = nullptr;
    PanelButton* resetmenu = nullptr;
    PanelButton* savemenu = nullptr;
    PanelButton* loadmenu = nullptr;
    PanelButton* menuExit = nullptr;
    Picture* Image1 = nullptr;
    QMenu* mailboxmenu = nullptr;
    QTimer* splash = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // A command's question, answered at once from a modal box (or the file chooser) while the
    // event loop goes on serving clicks and timer ticks; the command then goes on.
    std::optional<std::string> Answer(const Question& question) override;
    void AnswerNow(Asked asked) { AnswerAtOnce(std::move(asked), *this); }
    // The popup commands act on the display's selected row, read anew after their prompt.
    SelectedIndexSource SelectedRow();

    void BuildControls();
    // What a control or a popup item does; nothing for the other windows' actions.
    std::function<void()> Handler(Action action, int digit);

    std::unique_ptr<FileChooser> m_files;
    QtExecutionTimer m_timer;
    Machine m_machine;
    std::function<void(int)> m_exitProcess;
    QWidget* m_splashWindow = nullptr;
    QWidget* m_aboutBox = nullptr;
    std::function<void()> m_openEditor;
};

}  // namespace tobric
