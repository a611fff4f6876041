// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Commands that need an answer from the user (IN's number, Edit's and Insert's line, Load's and
// Save's file) do not ask it themselves: they hand back the question, and go on when given the
// answer. The desktop answers at once from a modal box, the headless runner from its list, the
// page when the user does; the command's order is the same in each, because it is the command's.

#include <functional>
#include <optional>
#include <string>
#include <utility>

namespace tobric {

struct Question {
    enum class Kind { Line, OpenFile, SaveFile };
    Kind kind = Kind::Line;
    // A line's box: its caption, its text and the answer it starts with.
    std::string caption;
    std::string text;
    std::string defaultText;
};

// A command waiting for its answer.
class PendingCommand {
public:
    // The answer: the text given (a line, or the chosen file's name), or nothing when the user
    // cancelled. A line question cancelled goes on with its default.
    using GoOn = std::function<void(std::optional<std::string> answer)>;

    PendingCommand(Question question, GoOn goOn)
        : m_question(std::move(question)), m_goOn(std::move(goOn)) {}

    const Question& question() const { return m_question; }
    // Goes on with the answer; failures pass out as the command's own. Once only.
    void Answer(std::optional<std::string> answer) {
        if (!answer && m_question.kind == Question::Kind::Line) answer = m_question.defaultText;
        std::exchange(m_goOn, nullptr)(std::move(answer));
    }

private:
    Question m_question;
    GoOn m_goOn;
};

// What a command that may ask hands back: its question, or nothing when it has finished.
using Asked = std::optional<PendingCommand>;

// Whoever answers a question at once (a modal box, a list of answers).
class Answerer {
public:
    virtual ~Answerer() = default;
    // The answer, or nothing when the user cancelled.
    virtual std::optional<std::string> Answer(const Question& question) = 0;
};

inline void AnswerAtOnce(Asked asked, Answerer& answerer) {
    if (asked) asked->Answer(answerer.Answer(asked->question()));
}

}  // namespace tobric
