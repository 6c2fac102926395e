#include "common/scripted_notifier.h"

namespace cel {

bool ScriptedNotifier::Notice(NoticeKind kind, bool yesNo, bool centred, const std::string &text) {
    shown.push_back({kind, yesNo, centred, text});
    if (onNotice)
        onNotice(shown.back());
    if (!yesNo)
        return false;
    if (answers.empty()) {
        unexpected.push_back(text);
        if (onUnexpected)
            onUnexpected(text);
        return false;
    }
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
}

Answer ScriptedNotifier::Ask(const std::string &text, QuestionStyle style) {
    if (choices.empty()) {
        const std::size_t before = shown.size();
        const bool yes = Notice(NoticeKind::Question, true, true, text);
        if (shown.size() > before)
            shown[before].style = style;
        return yes ? Answer::Yes : Answer::No;
    }
    shown.push_back({NoticeKind::Question, true, true, text, style});
    if (onNotice)
        onNotice(shown.back());
    const Answer answer = choices.front();
    choices.pop_front();
    return answer;
}

bool ScriptedNotifier::InputText(const std::string &title, const std::string &, std::string &text) {
    inputTitles.push_back(title);
    if (inputs.empty()) {
        unexpected.push_back(title);
        if (onUnexpected)
            onUnexpected(title);
        return false;
    }
    const auto next = inputs.front();
    inputs.pop_front();
    if (!next)
        return false;
    text = *next;
    return true;
}

int ScriptedNotifier::Count(const std::string &text) const {
    int n = 0;
    for (const auto &s : shown)
        n += s.text == text;
    return n;
}

bool ScriptedNotifier::Contains(const std::string &part) const {
    for (const auto &s : shown)
        if (s.text.find(part) != std::string::npos)
            return true;
    return false;
}

void ScriptedNotifier::Clear() {
    shown.clear();
    answers.clear();
    choices.clear();
    inputs.clear();
    inputTitles.clear();
    unexpected.clear();
}

} // namespace cel
