// How the core puts a question, warning, error or information to the user: one call per notice,
// implemented by the notice window in the programs, by a scripted object in tests and by the
// command line (which never asks and answers every question "no").
#pragma once

#include <string>

namespace cel {

// The notice's icon and purpose.
enum class NoticeKind {
    Question = 1,    // every yes/no question
    Information = 2, // confirmations and the read-only notice
    Error = 3,       // file-reading errors
    Warning = 4,     // input checks
};

// The answer to a question that may also be cancelled.
enum class Answer { Yes, No, Cancel };

// How a question is put: "&No" as the default button for questions that delete (Enter then keeps
// the data), and a third button "Cancelar" for questions asked on the way out (closing).
struct QuestionStyle {
    bool noByDefault = false;
    bool cancel = false;
};

class Notifier {
public:
    virtual ~Notifier() = default;

    // Shows text; with yesNo the buttons are "&Sí" and "&No", otherwise one "De &acuerdo".
    // Returns true only when the answer was yes.
    virtual bool Notice(NoticeKind kind, bool yesNo, bool centred, const std::string &text) = 0;

    // A yes/no question in a style; the plain notifiers put it as Notice does and never cancel.
    virtual Answer Ask(const std::string &text, QuestionStyle style) {
        (void)style;
        return Notice(NoticeKind::Question, true, true, text) ? Answer::Yes : Answer::No;
    }

    // A one-line input box with a title and a prompt, opened with text; returns false when
    // cancelled (text is then left as it was).
    virtual bool InputText(const std::string &title, const std::string &prompt, std::string &text) {
        (void)title;
        (void)prompt;
        (void)text;
        return false;
    }
};

// A notifier that shows nothing and answers every question "no".
class SilentNotifier : public Notifier {
public:
    bool Notice(NoticeKind, bool, bool, const std::string &) override { return false; }
};

} // namespace cel
