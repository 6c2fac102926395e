// A notifier for tests: records every notice and answers from a script.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "common/scripted_notifier.h"

namespace cel::dbtest {

// The shared scripted notifier, with a question or input box left unanswered made a test failure.
struct StrictNotifier : cel::ScriptedNotifier {
    StrictNotifier() {
        onUnexpected = [](const std::string &text) { ADD_FAILURE() << "unexpected question: " << text; };
    }
};

} // namespace cel::dbtest
