// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's side of the machine view, the display routines; and its answers to the
// machine's questions, from the dialogs.

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

}  // namespace tobric
