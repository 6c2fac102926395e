// The batch line parser on arbitrary lines: no crash, and words quoted again split back into the
// same words.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "batch_line.h"

using cel::cli::SplitBatchWords;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const std::string line(reinterpret_cast<const char *>(data), size);
    bool ok = true;
    const std::vector<std::string> words = SplitBatchWords(line, ok);
    std::string quoted;
    for (const std::string &w : words) {
        quoted += " '";
        for (char c : w)
            quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
        quoted += '\'';
    }
    bool again = true;
    if (SplitBatchWords(quoted, again) != words || !again)
        std::abort();
    return 0;
}
