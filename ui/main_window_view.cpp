// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's side of the machine view: the display routines and the dialogs.

#include <QLineEdit>

#include "input_prompt.h"
#include "machine/display_text.h"
#include "mailbox_display.h"
#include "main_window.h"
#include "notice.h"
#include "output_basket.h"
#include "panel.h"
#include "text_codec.h"

namespace tobric {

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

std::optional<std::string> TForm1::AskOpenFileName() { return m_files->ChooseFileToOpen(); }

std::optional<std::string> TForm1::AskSaveFileName() { return m_files->ChooseFileToSave(); }

std::string TForm1::InputPrompt(const std::string& caption, const std::string& prompt,
                                const std::string& defaultText) {
    return tobric::InputPrompt(nullptr, caption, prompt, defaultText);
}

void TForm1::ShowNotice(const std::string& text) { ShowNoticeBox(text); }

}  // namespace tobric
