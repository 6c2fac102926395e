#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/text_lines.h"

namespace cel {
namespace {

// The lines of the programs' text files: CR LF or LF, a last line without LF, empty lines kept.
TEST(TextLines, SplitsAsTheFilesAreRead) {
    const struct {
        std::string text;
        std::vector<std::string> lines;
    } cases[] = {
        {"", {}},
        {"\n", {""}},
        {"P\xE2"
         "1\r\nL\xE2"
         "2\r\n",
         {"P\xE2"
          "1",
          "L\xE2"
          "2"}},
        {"uno\ndos", {"uno", "dos"}},
        {"uno\n\ndos\r\n", {"uno", "", "dos"}},
        {"uno\r\r\n", {"uno\r"}}, // only the CR before the LF goes
        {"\r", {""}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        std::vector<std::string> lines;
        TextLines reader(c.text);
        for (std::string_view line; reader.Next(line);)
            lines.emplace_back(line);
        EXPECT_EQ(lines, c.lines);
    }
}

} // namespace
} // namespace cel
