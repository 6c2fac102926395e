#include "batch_line.h"

namespace cel::cli {

std::vector<std::string> SplitBatchWords(const std::string &line, bool &ok) {
    std::vector<std::string> words;
    std::string word;
    bool inWord = false;
    char quote = 0;
    ok = true;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quote != 0) {
            if (c == quote)
                quote = 0;
            else if (c == '\\' && quote == '"' && i + 1 < line.size())
                word += line[++i];
            else
                word += c;
        } else if (c == '"' || c == '\'') {
            quote = c;
            inWord = true;
        } else if (c == '\\' && i + 1 < line.size()) {
            word += line[++i];
            inWord = true;
        } else if (c == ' ' || c == '\t' || c == '\r') {
            if (inWord)
                words.push_back(word);
            word.clear();
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (quote != 0)
        ok = false;
    if (inWord)
        words.push_back(word);
    return words;
}

} // namespace cel::cli
