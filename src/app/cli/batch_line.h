// The words of one batch line, split as a shell would split simple words: double or single quotes
// group words, a backslash escapes one character. Kept apart so that a fuzzer can compile it alone.
#pragma once

#include <string>
#include <vector>

namespace cel::cli {

// The words of the line; ok is false when a quote is left open (the words read so far are returned).
std::vector<std::string> SplitBatchWords(const std::string &line, bool &ok);

} // namespace cel::cli
