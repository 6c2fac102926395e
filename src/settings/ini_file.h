// Our INI file with the rules of the Windows profile-string functions: section and key names match
// without regard to ASCII case, names and values are trimmed, a written key replaces its value in
// place, a new key is appended to its section and a new section to the end of the file. Lines the
// program does not understand (comments, text without "=") are kept as they are.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace cel::settings {

class IniFile {
public:
    using Entries = std::vector<std::pair<std::string, std::string>>;

    // Parses INI text. Line ends may be CR LF or LF; a UTF-8 byte-order mark is skipped, and a line
    // that is not valid UTF-8 is taken as Windows-1252 (files written by older versions).
    static IniFile Parse(std::string_view text);

    // Reads the file at `path`. A missing file gives an empty document and `Existed()` false; a file
    // that exists but cannot be read gives an empty document and the platform's error text.
    static IniFile Load(const std::filesystem::path &path, std::string *error = nullptr);

    // The value of the first matching key of the first matching section.
    std::optional<std::string> Get(std::string_view section, std::string_view key) const;
    // Writes a value: in place when the key exists, else appended to its section (created at the
    // end of the file when missing). Names and values are trimmed; a line break in them is written
    // as a blank so that it cannot split the line.
    void Set(std::string_view section, std::string_view key, std::string_view value);

    bool HasSection(std::string_view section) const;
    // Names of every section, in file order.
    std::vector<std::string> SectionNames() const;
    // The keys and values of the first matching section, in file order.
    Entries SectionEntries(std::string_view section) const;

    // Whether the document was read from an existing file.
    bool Existed() const { return existed_; }
    // Whether the text read held a NUL or another control byte that no text file holds (a binary).
    bool HasBinaryBytes() const { return binary_; }
    // Whether the document holds nothing but blank lines.
    bool IsBlank() const;

    // The whole file text: UTF-8, every line ended by CR LF.
    std::string ToText() const;

    // Writes the file safely: a temporary file in the same folder is written, flushed to disk and
    // renamed over `path`. Returns false with the platform's error text when any step fails; the
    // file at `path` is then untouched.
    bool Save(const std::filesystem::path &path, std::string *error = nullptr) const;

private:
    struct Line {
        std::string text;       // the line as read or as last written
        bool isKey = false;     // a "key=value" line
        std::string key, value; // trimmed, for key lines
    };
    struct Section {
        bool hasHeader = false;  // false only for the lines before the first header
        std::string header;      // the header line as read or written
        std::string name;        // trimmed name between the brackets
        std::vector<Line> lines; // the lines after the header
    };

    Section *FindSection(std::string_view name);
    const Section *FindSection(std::string_view name) const;

    std::vector<Section> sections_{Section{}}; // sections_[0]: lines before the first header
    bool existed_ = false;
    bool binary_ = false;
};

// Whether two names match under the profile rules (ASCII letters without regard to case).
bool SameIniName(std::string_view a, std::string_view b);

} // namespace cel::settings
