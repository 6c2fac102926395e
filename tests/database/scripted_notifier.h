// A notifier for tests: records every notice and answers from a script.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "common/notifier.h"

namespace cel::dbtest {

struct ScriptedNotifier : Notifier {
    struct Shown {
        NoticeKind kind;
        bool yesNo;
        bool centred;
        std::string text;
    };
    std::vector<Shown> shown;
    std::deque<bool> answers;                      // answers to yes/no questions, in order
    std::deque<std::optional<std::string>> inputs; // texts typed in input boxes; nullopt cancels
    std::vector<std::string> inputTitles;

    bool Notice(NoticeKind kind, bool yesNo, bool centred, const std::string &text) override {
        shown.push_back({kind, yesNo, centred, text});
        if (!yesNo)
            return false;
        if (answers.empty()) {
            ADD_FAILURE() << "unexpected question: " << text;
            return false;
        }
        const bool a = answers.front();
        answers.pop_front();
        return a;
    }

    bool InputText(const std::string &title, const std::string &, std::string &text) override {
        inputTitles.push_back(title);
        if (inputs.empty())
            throw std::runtime_error("no scripted input left");
        const auto next = inputs.front();
        inputs.pop_front();
        if (!next)
            return false;
        text = *next;
        return true;
    }

    int Count(const std::string &text) const {
        int n = 0;
        for (const auto &s : shown)
            n += s.text == text;
        return n;
    }
};

} // namespace cel::dbtest
