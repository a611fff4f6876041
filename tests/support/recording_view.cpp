// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording_view.h"

#include <utility>

#include "machine/mnemonic.h"
#include "machine/store.h"
#include "next.h"

namespace tobric_test {

void RecordingView::Record(std::string_view name, const std::string& arguments) {
    if (onCall) onCall(name);
    if (!recording) return;
    std::string call(name);
    if (!arguments.empty()) call += ' ' + arguments;
    calls.push_back(std::move(call));
}

void RecordingView::ShowMailboxes(const tobric::Store& store) {
    Record("ShowMailboxes");
    if (recording) shownLines = store.Lines();
}

void RecordingView::ShowRegisters(const tobric::Registers& r) {
    Record("ShowRegisters", "pc=" + std::to_string(r.programCounter) +
                                " ins=" + std::string(tobric::MnemonicText(r.mnemonic)) +
                                " mdr=" + std::to_string(r.operand));
    shownRegisters = r;
}

std::optional<std::string> RecordingView::Answer(const tobric::Question& question) {
    switch (question.kind) {
        case tobric::Question::Kind::OpenFile: Record("AskOpenFileName"); return Next(openNames);
        case tobric::Question::Kind::SaveFile: Record("AskSaveFileName"); return Next(saveNames);
        case tobric::Question::Kind::Line: break;
    }
    Record("InputPrompt", question.caption + "|" + question.text + "|" + question.defaultText);
    if (onInputPrompt) std::exchange(onInputPrompt, nullptr)();
    return Next(answers, question.defaultText);
}

void RecordingView::ShowNotice(const std::string& text) {
    Record("ShowNotice", text);
    if (onNotice) std::exchange(onNotice, nullptr)(text);
}

std::vector<std::string> RecordingView::ArgumentsOf(std::string_view name) const {
    std::vector<std::string> found;
    for (const std::string& call : calls) {
        if (call == name)
            found.emplace_back();
        else if (call.size() > name.size() && call.starts_with(name) && call[name.size()] == ' ')
            found.push_back(call.substr(name.size() + 1));
    }
    return found;
}

std::string RecordingView::Last(std::string_view name) const {
    const std::vector<std::string> found = ArgumentsOf(name);
    return found.empty() ? "<none>" : found.back();
}

int RecordingView::CountOf(std::string_view name) const {
    return static_cast<int>(ArgumentsOf(name).size());
}

}  // namespace tobric_test
