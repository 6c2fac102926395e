#include "settings/ini_file.h"

#include "common/safe_file.h"
#include "common/system_error_text.h"
#include "common/windows1252.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace cel::settings {

namespace {

std::string_view Trim(std::string_view s) {
    const auto blank = [](char c) {
        return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
    };
    while (!s.empty() && blank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && blank(s.back()))
        s.remove_suffix(1);
    return s;
}

// A line break inside a name or value would split the line: it is written as a blank.
std::string OneLine(std::string_view s) {
    std::string out(s);
    for (char &c : out)
        if (c == '\r' || c == '\n')
            c = ' ';
    return out;
}

std::string KeyLine(std::string_view key, std::string_view value) {
    std::string line(key);
    line += '=';
    line += value;
    return line;
}

} // namespace

bool SameIniName(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z')
            x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z')
            y = static_cast<char>(y - 'A' + 'a');
        if (x != y)
            return false;
    }
    return true;
}

IniFile IniFile::Parse(std::string_view text) {
    IniFile ini;
    for (char c : text) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x20 && c != '\r' && c != '\n' && c != '\t') {
            ini.binary_ = true;
            break;
        }
    }
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);
    Section *current = &ini.sections_.front();
    while (!text.empty()) {
        // Lines end with CR LF, LF or a lone CR: a CR never stays inside a value, where a save would
        // have to turn it into a blank.
        const std::size_t end = text.find_first_of("\r\n");
        std::string_view raw = text.substr(0, end);
        std::size_t next = end == std::string_view::npos ? text.size() : end + 1;
        if (end != std::string_view::npos && text[end] == '\r' && next < text.size() && text[next] == '\n')
            ++next;
        text = text.substr(next);
        const std::string lineText = IsValidUtf8(raw) ? std::string(raw) : Windows1252ToUtf8(raw);

        const std::string_view trimmed = Trim(lineText);
        if (!trimmed.empty() && trimmed.front() == '[') {
            const std::size_t close = trimmed.find(']');
            Section section;
            section.hasHeader = true;
            section.header = lineText;
            section.name =
                Trim(trimmed.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
            ini.sections_.push_back(std::move(section));
            current = &ini.sections_.back();
            continue;
        }
        Line line;
        line.text = lineText;
        const std::size_t eq = trimmed.find('=');
        if (eq != std::string_view::npos && trimmed.front() != ';' && trimmed.front() != '#') {
            const std::string_view key = Trim(trimmed.substr(0, eq));
            if (!key.empty()) {
                line.isKey = true;
                line.key = key;
                line.value = Trim(trimmed.substr(eq + 1));
            }
        }
        current->lines.push_back(std::move(line));
    }
    return ini;
}

IniFile IniFile::Load(const std::filesystem::path &path, std::string *error) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno != ENOENT && error)
            *error = SystemErrorText(errno);
        return IniFile{};
    }
    std::string content;
    char buf[65536];
    int err = 0;
    for (;;) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            err = errno;
            break;
        }
        if (n == 0)
            break;
        content.append(buf, static_cast<std::size_t>(n));
    }
    ::close(fd);
    if (err != 0) {
        if (error)
            *error = SystemErrorText(err);
        return IniFile{};
    }
    IniFile ini = Parse(content);
    ini.existed_ = true;
    return ini;
}

IniFile::Section *IniFile::FindSection(std::string_view name) {
    for (Section &s : sections_)
        if (s.hasHeader && SameIniName(s.name, name))
            return &s;
    return nullptr;
}

const IniFile::Section *IniFile::FindSection(std::string_view name) const {
    for (const Section &s : sections_)
        if (s.hasHeader && SameIniName(s.name, name))
            return &s;
    return nullptr;
}

std::optional<std::string> IniFile::Get(std::string_view section, std::string_view key) const {
    const Section *s = FindSection(Trim(section));
    if (!s)
        return std::nullopt;
    key = Trim(key);
    for (const Line &line : s->lines)
        if (line.isKey && SameIniName(line.key, key))
            return line.value;
    return std::nullopt;
}

void IniFile::Set(std::string_view sectionName, std::string_view keyName, std::string_view valueText) {
    const std::string sectionOneLine = OneLine(sectionName);
    const std::string keyOneLine = OneLine(keyName);
    const std::string valueOneLine = OneLine(valueText);
    const std::string_view section = Trim(sectionOneLine);
    const std::string_view key = Trim(keyOneLine);
    const std::string_view value = Trim(valueOneLine);
    Section *s = FindSection(section);
    if (!s) {
        // A blank line keeps the new section apart from the text before it.
        Section &last = sections_.back();
        const bool emptyFile = sections_.size() == 1 && last.lines.empty();
        if (!emptyFile && (last.lines.empty() ? last.hasHeader : !Trim(last.lines.back().text).empty()))
            last.lines.push_back(Line{});
        Section added;
        added.hasHeader = true;
        added.name = section;
        added.header = "[" + added.name + "]";
        sections_.push_back(std::move(added));
        s = &sections_.back();
    }
    Line *lastKey = nullptr;
    for (Line &line : s->lines) {
        if (!line.isKey)
            continue;
        if (SameIniName(line.key, key)) {
            if (line.value != value) {
                line.value = value;
                line.text = KeyLine(line.key, value);
            }
            return;
        }
        lastKey = &line;
    }
    Line line;
    line.isKey = true;
    line.key = key;
    line.value = value;
    line.text = KeyLine(key, value);
    // After the section's last key, so comments and blank lines that follow it stay below.
    const auto pos = lastKey ? s->lines.begin() + (lastKey - s->lines.data()) + 1 : s->lines.begin();
    s->lines.insert(pos, std::move(line));
}

bool IniFile::IsBlank() const {
    for (const Section &s : sections_) {
        if (s.hasHeader)
            return false;
        for (const Line &line : s.lines)
            if (!Trim(line.text).empty())
                return false;
    }
    return true;
}

bool IniFile::HasSection(std::string_view section) const {
    return FindSection(Trim(section)) != nullptr;
}

std::vector<std::string> IniFile::SectionNames() const {
    std::vector<std::string> names;
    for (const Section &s : sections_)
        if (s.hasHeader)
            names.push_back(s.name);
    return names;
}

IniFile::Entries IniFile::SectionEntries(std::string_view section) const {
    Entries entries;
    if (const Section *s = FindSection(Trim(section)))
        for (const Line &line : s->lines)
            if (line.isKey)
                entries.emplace_back(line.key, line.value);
    return entries;
}

std::string IniFile::ToText() const {
    std::string text;
    for (const Section &s : sections_) {
        if (s.hasHeader) {
            text += s.header;
            text += "\r\n";
        }
        for (const Line &line : s.lines) {
            text += line.text;
            text += "\r\n";
        }
    }
    return text;
}

bool IniFile::Save(const std::filesystem::path &path, std::string *error) const {
    try {
        WriteFileSafely(path.string(), ToText());
        return true;
    } catch (const FileError &e) {
        if (error)
            *error = SystemErrorText(e.code());
        return false;
    }
}

} // namespace cel::settings
