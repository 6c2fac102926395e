// The lines of a text one at a time, as the programs' text files are read: split at LF, a CR before
// the LF dropped, a last line without LF kept, nothing after a final LF.
#pragma once

#include <cstddef>
#include <string_view>

namespace cel {

class TextLines {
public:
    explicit TextLines(std::string_view text) : text_(text) {}

    // The next line into line; false when the text is used up.
    bool Next(std::string_view &line) {
        if (pos_ >= text_.size())
            return false;
        std::size_t end = text_.find('\n', pos_);
        const std::size_t next = end == std::string_view::npos ? text_.size() : end + 1;
        if (end == std::string_view::npos)
            end = text_.size();
        line = text_.substr(pos_, end - pos_);
        pos_ = next;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        return true;
    }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

} // namespace cel
