#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

#include "settings/ini_file.h"
#include "support/temp_folder.h"

using namespace cel::settings;
namespace fs = std::filesystem;

namespace {

std::string ReadAll(const fs::path &path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteAll(const fs::path &path, const std::string &text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
}

class TempDir : public ::testing::Test {
protected:
    std::vector<std::string> Names() const { return folder.Names(); }
    cel::testsupport::TempFolder folder{"cel_ini"};
    fs::path dir = folder.Dir();
};

const char *const kSample = "; preferences\r\n"
                            "[Main]\r\n"
                            "  Hint = 1 \r\n"
                            "COLOR=7\r\n"
                            "Color=3\r\n"
                            "no equals sign\r\n"
                            "\r\n"
                            "[rueda]\n"
                            "color=0\n"
                            "Font= Arial Narrow\n";

} // namespace

TEST(IniFile, LooksUpWithoutRegardToCaseAndTrimmed) {
    const IniFile ini = IniFile::Parse(kSample);
    struct Case {
        const char *section, *key;
        std::optional<std::string> value;
    };
    const Case cases[] = {
        {"Main", "Hint", "1"},
        {"MAIN", "hint", "1"},
        {" main ", "Color", "7"}, // the first of two equal keys
        {"Rueda", "Color", "0"},  // same key name, other section
        {"RUEDA", "font", "Arial Narrow"},
        {"Main", "Footer", std::nullopt},
        {"Data", "File", std::nullopt},
        {"Main", "no equals sign", std::nullopt},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ini.Get(c.section, c.key), c.value) << c.section << "/" << c.key;
    EXPECT_EQ(ini.SectionNames(), (std::vector<std::string>{"Main", "rueda"}));
    EXPECT_TRUE(ini.HasSection("MAIN"));
    EXPECT_FALSE(ini.HasSection("Data"));
    EXPECT_FALSE(ini.Existed());
}

TEST(IniFile, WritesInPlaceAppendsKeysToTheirSectionAndSectionsAtTheEnd) {
    IniFile ini = IniFile::Parse(kSample);
    ini.Set("MAIN", "color", "5");        // replaced in place, keeping the key's spelling
    ini.Set("Main", "Hint", "1");         // unchanged value: the line stays as it was
    ini.Set("Main", "ViewEdad", " 0 ");   // new key after the section's last key
    ini.Set("Rueda", "Font Size", "8");   // new key at the end of the last section
    ini.Set("Data", "File", "/home/a b"); // new section at the end
    ini.Set("Data", "Extra", "x\ny");     // a line break cannot split the line
    EXPECT_EQ(ini.ToText(), "; preferences\r\n"
                            "[Main]\r\n"
                            "  Hint = 1 \r\n"
                            "COLOR=5\r\n"
                            "Color=3\r\n"
                            "ViewEdad=0\r\n"
                            "no equals sign\r\n"
                            "\r\n"
                            "[rueda]\r\n"
                            "color=0\r\n"
                            "Font= Arial Narrow\r\n"
                            "Font Size=8\r\n"
                            "\r\n"
                            "[Data]\r\n"
                            "File=/home/a b\r\n"
                            "Extra=x y\r\n");
}

TEST(IniFile, NewDocumentBytes) {
    IniFile ini;
    ini.Set("A", "x", "1");
    ini.Set("B", "z", "3");
    ini.Set("a", "y", "2");
    EXPECT_EQ(ini.ToText(), "[A]\r\nx=1\r\ny=2\r\n\r\n[B]\r\nz=3\r\n");
    EXPECT_EQ(ini.SectionEntries("b"), (IniFile::Entries{{"z", "3"}}));
    EXPECT_EQ(ini.SectionEntries("A"), (IniFile::Entries{{"x", "1"}, {"y", "2"}}));
}

TEST(IniFile, ReadsWindows1252LinesAndSkipsTheByteOrderMark) {
    const IniFile ini =
        IniFile::Parse("\xEF\xBB\xBF[Txt]\r\nStrEle1=Acci\xF3n\r\nStrEle2=Acción\r\nS=\x80\r\n");
    EXPECT_EQ(ini.Get("Txt", "StrEle1"), "Acción");
    EXPECT_EQ(ini.Get("Txt", "StrEle2"), "Acción");
    EXPECT_EQ(ini.Get("Txt", "S"), "€");
    EXPECT_EQ(ini.ToText(), "[Txt]\r\nStrEle1=Acción\r\nStrEle2=Acción\r\nS=€\r\n");
}

TEST_F(TempDir, SaveAndLoadRoundTrip) {
    const fs::path path = dir / "celestigrafo.ini";
    std::string error;
    IniFile missing = IniFile::Load(path, &error);
    EXPECT_FALSE(missing.Existed());
    EXPECT_EQ(error, "");

    IniFile ini = IniFile::Parse(kSample);
    ASSERT_TRUE(ini.Save(path, &error)) << error;
    EXPECT_EQ(ReadAll(path), ini.ToText());
    EXPECT_EQ(Names(), std::vector<std::string>{"celestigrafo.ini"}); // no temporary file left

    IniFile loaded = IniFile::Load(path, &error);
    EXPECT_TRUE(loaded.Existed());
    EXPECT_EQ(loaded.ToText(), ini.ToText());
    EXPECT_EQ(loaded.Get("rueda", "FONT"), "Arial Narrow");
}

TEST_F(TempDir, SaveReplacesKeepingModeAndSymbolicLink) {
    const fs::path real = dir / "real.ini";
    const fs::path link = dir / "link.ini";
    WriteAll(real, "[A]\r\nx=1\r\n");
    ASSERT_EQ(::chmod(real.c_str(), 0600), 0);
    fs::create_symlink(real.filename(), link);

    IniFile ini = IniFile::Load(link);
    ini.Set("A", "x", "2");
    std::string error;
    ASSERT_TRUE(ini.Save(link, &error)) << error;
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(ReadAll(real), "[A]\r\nx=2\r\n");
    EXPECT_EQ(fs::status(real).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(Names(), (std::vector<std::string>{"link.ini", "real.ini"}));
}

TEST_F(TempDir, FailedSaveLeavesTheOldFileAndReportsThePlatformError) {
    IniFile ini;
    ini.Set("A", "x", "1");
    std::string error;

    // The target is a folder: the rename fails after the temporary file was written.
    const fs::path folder = dir / "taken.ini";
    fs::create_directory(folder);
    WriteAll(folder / "inside", "keep");
    EXPECT_FALSE(ini.Save(folder, &error));
    EXPECT_EQ(error, "es una carpeta, no un archivo (Is a directory)"); // Spanish, then the system's text
    EXPECT_EQ(ReadAll(folder / "inside"), "keep");
    EXPECT_EQ(Names(), std::vector<std::string>{"taken.ini"});

    // The folder does not exist.
    error.clear();
    EXPECT_FALSE(ini.Save(dir / "missing" / "x.ini", &error));
    EXPECT_EQ(error, "no existe el archivo o la carpeta (No such file or directory)");

    // Reading a folder is an error, not a missing file.
    error.clear();
    const IniFile loaded = IniFile::Load(folder, &error);
    EXPECT_FALSE(loaded.Existed());
    EXPECT_EQ(error, "es una carpeta, no un archivo (Is a directory)");
}

TEST(IniFileLines, ALoneCarriageReturnEndsALine) {
    // Found by the settings fuzzer: "Tierra\rS" was read as one value and saved as "Tierra S".
    const IniFile ini = IniFile::Parse("[Txt]\r\nStrEle2=Tierra\rS=1\nStrEle3=Aire\r\n");
    EXPECT_EQ(ini.Get("Txt", "StrEle2"), "Tierra");
    EXPECT_EQ(ini.Get("Txt", "S"), "1");
    EXPECT_EQ(ini.Get("Txt", "StrEle3"), "Aire");
    EXPECT_EQ(IniFile::Parse(ini.ToText()).ToText(), ini.ToText());
}

// A settings name that is a pipe or a device is refused at once with its reason, never read without
// end or waited on.
TEST_F(TempDir, PipesAndDevicesAreNoSettingsFiles) {
    ASSERT_EQ(::mkfifo((dir / "tubo.ini").c_str(), 0600), 0);
    fs::create_symlink("/dev/zero", dir / "cero.ini");
    for (const char *name : {"tubo.ini", "cero.ini"}) {
        SCOPED_TRACE(name);
        std::string error;
        const IniFile loaded = IniFile::Load(dir / name, &error);
        EXPECT_FALSE(loaded.Existed());
        EXPECT_EQ(error.rfind("no es un archivo común", 0), 0u) << error;
    }
}
