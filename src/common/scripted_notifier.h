// A Notifier for tests and scripts: it records every notice and input box and answers from a
// script instead of opening windows, so the windows can be driven without anyone at the screen.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "common/notifier.h"

namespace cel {

class ScriptedNotifier : public Notifier {
public:
    struct Shown {
        NoticeKind kind;
        bool yesNo;
        bool centred;
        std::string text;
        QuestionStyle style{}; // as asked through Ask
    };
    std::vector<Shown> shown;
    std::deque<bool> answers;                      // answers to the yes/no questions, in order
    std::deque<Answer> choices;                    // answers to Ask, in order (else taken from answers)
    std::deque<std::optional<std::string>> inputs; // texts typed in input boxes; nullopt cancels
    std::vector<std::string> inputTitles;          // the input boxes opened, by title
    // Questions and input boxes met with nothing left in the script (answered "no" / cancelled).
    std::vector<std::string> unexpected;
    // Called for every notice before it is answered (for instance to check the window's state).
    std::function<void(const Shown &)> onNotice;
    // Called with the text or title of a question or input box met with nothing left in the script
    // (tests make it a failure).
    std::function<void(const std::string &)> onUnexpected;

    bool Notice(NoticeKind kind, bool yesNo, bool centred, const std::string &text) override;
    Answer Ask(const std::string &text, QuestionStyle style) override;
    bool InputText(const std::string &title, const std::string &prompt, std::string &text) override;

    // How many notices had exactly this text; whether one contained the part.
    int Count(const std::string &text) const;
    bool Contains(const std::string &part) const;
    // The text of the last notice, empty when none was shown.
    std::string LastText() const { return shown.empty() ? std::string() : shown.back().text; }
    void Clear();
};

} // namespace cel
