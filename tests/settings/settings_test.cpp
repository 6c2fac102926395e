#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <unistd.h>

#include "settings/settings.h"
#include "settings/view_record.h"
#include "support/temp_folder.h"

using namespace cel::settings;
namespace fs = std::filesystem;

namespace {

constexpr const char *kDataFile = "/home/ana/Documentos/Norvelta/";
// From the build's data folder, not __FILE__: ccache may compile with relative source paths.
const fs::path kFixtures = fs::path(CEL_TEST_DATA_DIR).parent_path() / "settings" / "data";

cel::TextFormat Format(char separator) {
    cel::TextFormat f;
    f.decimalSeparator = separator;
    return f;
}

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

std::string CommaDecimals(std::string text) {
    // Only the float sections hold a "." in the first-run file.
    for (std::size_t i = 1; i + 1 < text.size(); ++i)
        if (text[i] == '.' && std::isdigit(static_cast<unsigned char>(text[i - 1])) &&
            std::isdigit(static_cast<unsigned char>(text[i + 1])))
            text[i] = ',';
    return text;
}

Settings FromText(const std::string &text, char separator = '.') {
    Settings s;
    s.ReadFrom(IniFile::Parse(text), Format(separator), kDataFile);
    return s;
}

class SettingsFile : public ::testing::Test {
protected:
    cel::testsupport::TempFolder folder{"cel_settings"};
    fs::path dir = folder.Dir(), path = dir / "celestigrafo.ini";
};

// A settings object with a value other than the default in every key.
Settings Changed() {
    Settings s;
    s.InstallFirstRunValues();
    s.data.file = "/datos/mi archivo.age";
    s.main = {false, false, 3, "Consultorio Ruiz"};
    s.rueda.calculo = false;
    for (int i = 1; i <= kBodyCount; ++i)
        s.rueda.colPla[i] = 1000 + i;
    for (int i = 1; i <= kWheelColourCount; ++i)
        s.rueda.colEle[i] = 0xFFFFFF - i;
    for (int i = 1; i <= kRelationCount; ++i) {
        s.tabla.colRel[i] = 77 * i;
        s.tabla.viewColRel[i] = i % 2 == 0;
    }
    s.rueda.porAreaExterior = 29 / 100.0f;
    s.rueda.radCircleExt = 0.87f;
    s.rueda.porCircleCasas = 0.45f;
    Settings::RuedaSection &r = s.rueda;
    for (bool *flag : {&r.imagenR, &r.imagenT, &r.planetas, &r.casas, &r.signos, &r.grados, &r.color,
                       &r.colorPla, &r.colorEle, &r.planetasSigno, &r.planetasTexto, &r.planetasSeg,
                       &r.casasSigno, &r.casasTexto, &r.casasSeg, &r.casasLin, &r.retro, &r.glifo})
        *flag = !*flag;
    r.font = "DejaVu Sans Condensed";
    r.fontSize = 11;
    s.orbs.SetPreset(1, 0);
    s.orbs.presets[6] = 1.25f;
    s.orbs.OPE[2] = 0.3f;
    s.orbs.OCE[13] = 2.75f;
    s.orbs.OPA[7] = 0.98555553f;
    s.dignity.Replace(MatrixPreset::ModernAndAncient);
    s.txt.strEle[1] = "Fuego ígneo";
    s.txt.strSoc1[3] = "Colectivos";
    s.points.ptosPla[12] = 0.5f;
    s.points.ptosCas[10] = 3.25f;
    s.points.viewPtosPla[2] = false;
    s.points.viewPtosCas[7] = true;
    s.aspecto = {false, true, false, true, false, true, false, true};
    s.toolWindows = {
        {"TBTWDatos", {{"Rev", "3"}, {"Visible", "1"}, {"DockedTo", "DockLeft"}, {"LastDock", ""}}},
        {"TBTWConfig", {{"Rev", "3"}, {"Visible", "0"}, {"DockedTo", "+"}, {"FloatLeft", "-20"}}}};
    return s;
}

} // namespace

TEST_F(SettingsFile, FirstRunInstallsBuiltInValuesAndWritesACompleteFile) {
    for (char sep : {'.', ','}) {
        SCOPED_TRACE(sep);
        fs::remove(path);
        Settings s;
        const Settings::LoadResult result = s.Load(path, Format(sep), kDataFile);
        EXPECT_FALSE(result.existed);
        EXPECT_EQ(result.error, "");
        EXPECT_EQ(s.data.file, kDataFile);
        EXPECT_TRUE(s.main.hint);
        EXPECT_EQ(s.main.color, 7);
        EXPECT_EQ(s.rueda.font, "Arial Narrow");
        EXPECT_EQ(s.rueda.fontSize, 8);
        EXPECT_EQ(s.rueda.porAreaExterior, 1.0f);
        EXPECT_EQ(s.rueda.radCircleExt, 1.0f);
        EXPECT_EQ(s.rueda.porCircleCasas, 0.6f);
        EXPECT_EQ(s.orbs, BuiltInOrbTables());
        EXPECT_EQ(s.dignity, BuiltInMatrix(MatrixPreset::Modern));
        EXPECT_EQ(s.txt.strSoc2[4], "Trascendentes");
        EXPECT_EQ(s.points.ptosPla[3], 2.0f);
        EXPECT_EQ(s.points.ptosPla[4], 1.0f);
        EXPECT_TRUE(s.points.viewPtosCas[1]);
        EXPECT_FALSE(s.points.viewPtosCas[2]);

        std::string error;
        ASSERT_TRUE(s.Save(path, Format(sep), &error)) << error;
        const std::string golden = ReadAll(kFixtures / "first_run_point.ini");
        EXPECT_EQ(ReadAll(path), sep == '.' ? golden : CommaDecimals(golden));

        Settings again;
        EXPECT_TRUE(again.Load(path, Format(sep), "other").existed);
        EXPECT_EQ(again, s);
    }
}

TEST(Settings, FirstRunFileLines) {
    // Lines of the golden file that the sections' rules fix.
    const std::string golden = ReadAll(kFixtures / "first_run_point.ini");
    const char *lines[] = {
        "[Data]\r\nFile=/home/ana/Documentos/Norvelta/"
        "\r\n\r\n[Main]\r\nHint=1\r\nViewEdad=1\r\nColor=7\r\nFooter=\r\n",
        "Col_Ele_11=16711680\r\nPorAreaExterior=100\r\nradCircleExt=100\r\nPorCircleCasas=60\r\n",
        "Glifo=1\r\nFont=Arial Narrow\r\nFont Size=8\r\n\r\n[Tabla]\r\nCol_Rel_1=15073279\r\n",
        "[Orbes]\r\n1=0.5\r\n2=0.985555529594421\r\n3=1\r\n4=0.133333340287209\r\n5=0.16666667163372\r\n",
        "[MD]\r\n1,1=3\r\n1,2=0\r\n1,3=0\r\n1,4=0\r\n1,5=1\r\n",
        "1,12=0\r\n2,1=0\r\n",
        "12,12=2\r\n\r\n[OPE]\r\n1=7\r\n",
        "13=7\r\n\r\n[OCE]\r\n1=3\r\n",
        "[OPA]\r\n1=4.5\r\n",
        "[Txt]\r\nStrEle1=Fuego\r\nStrSoc21=Personales\r\nStrEle2=Tierra\r\n",
        "StrSoc24=Trascendentes\r\nStrComp1=Cardinal\r\nStrSoc11=Personales\r\nStrComp2=Fijo\r\n",
        "[PtosPla]\r\n1=2\r\n2=2\r\n3=2\r\n4=1\r\n",
        "[ViewPtosCas]\r\n1=1\r\n2=0\r\n",
        "[Aspecto]\r\nSig=1\r\nReg=1\r\nOcu=1\r\nDig=1\r\nAng=1\r\nFue=1\r\nOrb=1\r\nPeq=0\r\n",
    };
    for (const char *l : lines)
        EXPECT_NE(golden.find(l), std::string::npos) << l;
    EXPECT_EQ(
        IniFile::Parse(golden).SectionNames(),
        (std::vector<std::string>{"Data", "Main", "Rueda", "Tabla", "Orbes", "MD", "OPE", "OCE", "OPA", "Txt",
                                  "PtosPla", "PtosCas", "ViewPtosPla", "ViewPtosCas", "Aspecto"}));
    EXPECT_EQ(IniFile::Parse(golden).SectionEntries("MD").size(), 144u);
}

TEST_F(SettingsFile, RoundTripKeepsEveryValue) {
    const Settings changed = Changed();
    for (char writeSep : {'.', ','})
        for (char readSep : {'.', ','}) {
            SCOPED_TRACE(std::string(1, writeSep) + readSep);
            fs::remove(path);
            std::string error;
            ASSERT_TRUE(changed.Save(path, Format(writeSep), &error)) << error;
            Settings loaded;
            const auto result = loaded.Load(path, Format(readSep), kDataFile);
            EXPECT_TRUE(result.existed);
            EXPECT_EQ(loaded, changed);
            EXPECT_EQ(loaded.orbs.presets[1], 0.000001f);
            // Writing again changes nothing in the file.
            const std::string first = ReadAll(path);
            ASSERT_TRUE(loaded.Save(path, Format(writeSep), &error)) << error;
            EXPECT_EQ(ReadAll(path), first);
        }
    ASSERT_TRUE(changed.Save(path, Format('.')));
    const IniFile ini = IniFile::Load(path);
    EXPECT_EQ(ini.Get("Orbes", "1"), "9.99999997475243E-7");
    EXPECT_EQ(ini.Get("Rueda", "PorAreaExterior"), "29");
    EXPECT_EQ(ini.SectionNames().back(), "TBTWConfig"); // the layout sections come last
    EXPECT_EQ(ini.SectionEntries("TBTWConfig"), changed.toolWindows[1].entries);
}

TEST(Settings, ReadsEitherDecimalSeparator) {
    struct Case {
        const char *text;
        char separator;
        float value;
    };
    const Case cases[] = {
        {"0,5", '.', 0.5f},   {"0.5", ',', 0.5f}, {"0,5", ',', 0.5f},   {"0.5", '.', 0.5f},
        {"1E-6", ',', 1e-6f}, {"4,5", '.', 4.5f}, {"+2", '.', 2.0f},    {".25", ',', 0.25f},
        {"abc", '.', 7.0f},   {"", ',', 7.0f},    {"1,5.5", ',', 7.0f}, // unreadable: the value in place
    };
    for (const Case &c : cases) {
        Settings s;
        s.InstallFirstRunValues();
        s.ReadFrom(IniFile::Parse(std::string("[OPE]\r\n1=") + c.text + "\r\n"), Format(c.separator),
                   kDataFile);
        EXPECT_EQ(s.orbs.OPE[1], c.value) << c.text << " read with " << c.separator;
    }
}

TEST(Settings, ExistingFileWithoutTheTablesLeavesThemEmpty) {
    const Settings s = FromText("[Main]\r\nHint=0\r\n");
    EXPECT_FALSE(s.main.hint);
    EXPECT_TRUE(s.main.viewEdad); // keys with defaults take them
    EXPECT_EQ(s.rueda.colPla[1], 2066931);
    for (int k = 1; k <= kAspectKindCount; ++k) {
        EXPECT_EQ(s.orbs.OPE[k], 0.0f);
        EXPECT_EQ(s.orbs.OCE[k], 0.0f);
        EXPECT_EQ(s.orbs.OPA[k], 0.0f);
    }
    EXPECT_EQ(s.orbs.presets, OrbPresets{});
    EXPECT_EQ(s.dignity, DignityMatrix{});
    EXPECT_EQ(s.txt.strEle[1], "");
    EXPECT_EQ(s.points.ptosPla[1], 0.0f);
    EXPECT_FALSE(s.points.viewPtosPla[1]);
    EXPECT_TRUE(s.toolWindows.empty());
}

TEST(Settings, IntegersBooleansAndRanges) {
    struct Case {
        const char *text; // lines of one file
        int mainColor;
        bool wheelColor;
        bool hint;
        int fontSize;
        Colour sol;
    };
    const Case cases[] = {
        // The two "Color" keys are distinct.
        {"[Main]\r\nColor=3\r\n[Rueda]\r\nColor=0\r\n", 3, false, true, 8, 2066931},
        {"[main]\r\ncolor=8\r\n[RUEDA]\r\ncolor=5\r\n", 8, true, true, 8, 2066931},
        {"[Main]\r\nColor=0\r\nHint=abc\r\n", 7, true, true, 8, 2066931},
        {"[Main]\r\nColor=9\r\nHint=2\r\n", 7, true, true, 8, 2066931},
        {"[Main]\r\nColor=-1\r\nHint=0x0\r\n", 7, true, false, 8, 2066931},
        {"[Main]\r\nColor=x\r\n[Rueda]\r\nFont Size=0xC\r\nCol_Pla_1=0xFF\r\n", 7, true, true, 12, 255},
        {"[Main]\r\nColor=0x4\r\n[Rueda]\r\nFont Size=1.5\r\nCol_Pla_1=\r\n", 4, true, true, 8, 2066931},
        {"[Main]\r\nColor= 2 \r\n[Rueda]\r\nCol_Pla_1=0xFFFFFFFF\r\n", 2, true, true, 8, -1},
    };
    for (const Case &c : cases) {
        const Settings s = FromText(c.text);
        SCOPED_TRACE(c.text);
        EXPECT_EQ(s.main.color, c.mainColor);
        EXPECT_EQ(s.rueda.color, c.wheelColor);
        EXPECT_EQ(s.main.hint, c.hint);
        EXPECT_EQ(s.rueda.fontSize, c.fontSize);
        EXPECT_EQ(s.rueda.colPla[1], c.sol);
    }
}

TEST(Settings, DignityKeysArePointThenSign) {
    Settings s;
    s.InstallFirstRunValues(); // modern: Sol in Leo 1, Rue in Ari 0
    s.ReadFrom(IniFile::Parse("[MD]\r\n1,5=4\r\n12,1=3\r\n2,4=7\r\n3,3=-1\r\n4,2=x\r\n5,5=0x2\r\n"),
               Format('.'), kDataFile);
    struct Case {
        int body, sign, code;
    };
    const Case cases[] = {
        {1, 5, 4},                                   // "1,5" is Sol in Leo
        {12, 1, 3},                                  // "12,1" is Rue in Ari
        {2, 4, 1},                                   // out of range: the value in place
        {3, 3, 1},  {4, 2, 1}, {5, 5, 2}, {6, 9, 1}, // missing: the value in place
    };
    for (const Case &c : cases)
        EXPECT_EQ(s.dignity.At(c.body, c.sign), c.code) << c.body << "," << c.sign;
}

TEST(Settings, RadiusPercentagesAreWrittenBackUnchanged) {
    for (int percent = 0; percent <= 100; ++percent) {
        const std::string v = std::to_string(percent);
        const Settings s = FromText("[Rueda]\r\nPorAreaExterior=" + v + "\r\nradCircleExt=" + v +
                                    "\r\nPorCircleCasas=" + v + "\r\n");
        EXPECT_EQ(s.rueda.porAreaExterior, static_cast<float>(percent / 100.0L));
        IniFile out;
        s.WriteTo(out, Format(','));
        EXPECT_EQ(out.Get("Rueda", "PorAreaExterior"), v);
        EXPECT_EQ(out.Get("Rueda", "radCircleExt"), v);
        EXPECT_EQ(out.Get("Rueda", "PorCircleCasas"), v);
    }
}

TEST(Settings, FontNameIsCutToFiftyCharacters) {
    struct Case {
        std::string stored, held;
    };
    const std::string fifty(50, 'a');
    std::string accented;
    for (int i = 0; i < 52; ++i)
        accented += "é";
    const Case cases[] = {
        {"Arial Narrow", "Arial Narrow"},
        {fifty, fifty},
        {fifty + "bcd", fifty},
        {accented, accented.substr(0, 100)}, // characters, not bytes
        // A cut that ends on a blank drops it: the file keeps no trailing blank, so the name read back
        // would differ from the one held.
        {std::string(49, 'a') + " bcd", std::string(49, 'a')},
    };
    for (const Case &c : cases) {
        const Settings s = FromText("[Rueda]\r\nFont=" + c.stored + "\r\n");
        EXPECT_EQ(s.rueda.font, c.held);
        IniFile out;
        s.WriteTo(out, Format('.'));
        EXPECT_EQ(out.Get("Rueda", "Font"), c.held);
    }
    EXPECT_EQ(FromText("").rueda.font, "Arial Narrow");
}

TEST_F(SettingsFile, SaveKeepsTheRestOfTheFileAndTheLayoutSections) {
    WriteAll(path, "; hand-written note\r\n"
                   "[Rueda]\r\n"
                   "Font Size=10\r\n"
                   "Extra=kept\r\n"
                   "[tbtwdatos]\r\n"
                   "Rev=3\r\n"
                   "Visible=0\r\n"
                   "DockedTo=DockRight\r\n"
                   "[Other]\r\n"
                   "x=1\r\n");
    Settings s;
    EXPECT_TRUE(s.Load(path, Format('.'), kDataFile).existed);
    ASSERT_EQ(s.toolWindows.size(), 1u);
    EXPECT_EQ(s.toolWindows[0].name, "tbtwdatos");
    EXPECT_EQ(s.toolWindows[0].entries,
              (IniFile::Entries{{"Rev", "3"}, {"Visible", "0"}, {"DockedTo", "DockRight"}}));
    EXPECT_EQ(s.rueda.fontSize, 10);

    s.toolWindows[0].entries[1].second = "1";
    s.toolWindows.push_back({"TBTWConfig", {{"Rev", "3"}, {"Visible", "1"}}});
    s.rueda.fontSize = 9;
    std::string error;
    ASSERT_TRUE(s.Save(path, Format('.'), &error)) << error;

    const std::string text = ReadAll(path);
    EXPECT_EQ(text.rfind("; hand-written note\r\n[Rueda]\r\nFont Size=9\r\nExtra=kept\r\nCalculo=1\r\n", 0),
              0u);
    EXPECT_NE(
        text.find("[tbtwdatos]\r\nRev=3\r\nVisible=1\r\nDockedTo=DockRight\r\n[Other]\r\nx=1\r\n\r\n[Data]"),
        std::string::npos);
    EXPECT_TRUE(text.ends_with("Peq=0\r\n\r\n[TBTWConfig]\r\nRev=3\r\nVisible=1\r\n"));
}

TEST_F(SettingsFile, UnreadableFileIsReportedAndNeverReplaced) {
    fs::create_directory(path); // a folder where the file should be
    Settings s;
    const Settings::LoadResult result = s.Load(path, Format('.'), kDataFile);
    EXPECT_TRUE(result.existed);
    EXPECT_EQ(result.error, "es una carpeta, no un archivo (Is a directory)");
    EXPECT_EQ(s.orbs, BuiltInOrbTables()); // the program still works with first-run values
    std::string error;
    EXPECT_FALSE(s.Save(path, Format('.'), &error));
    EXPECT_EQ(error, "es una carpeta, no un archivo (Is a directory)");
    EXPECT_TRUE(fs::is_directory(path));
}

TEST(Settings, SchemeColours) {
    const std::optional<Colour> expected[] = {std::nullopt, 15138790, 14614263, 16771818,     13882281,
                                              16050943,     13559807, 15395562, std::nullopt, std::nullopt};
    for (int i = 0; i <= 9; ++i)
        EXPECT_EQ(SchemeColour(i), expected[i]) << i;
}

TEST(Settings, ViewRecordTakesTheWheelSettings) {
    Settings s = Changed();
    s.rueda.font = std::string(60, 'f');
    RecVistaCarta view;
    view.innerItem = 4;
    view.strengthFilter = 30;
    CopySettingsToView(s, view);
    EXPECT_EQ(view.aspectGlyphs, s.rueda.glifo);
    EXPECT_EQ(view.largeImagesWheel, s.rueda.imagenR);
    EXPECT_EQ(view.largeImagesTable, s.rueda.imagenT);
    const Settings::RuedaSection &r = s.rueda;
    const std::array<bool, kWheelFlagCount> flags = {
        r.planetas,      r.casas,         r.signos,      r.grados,     r.color,      r.colorPla, r.colorEle,
        r.planetasSigno, r.planetasTexto, r.planetasSeg, r.casasSigno, r.casasTexto, r.casasSeg, r.casasLin};
    EXPECT_EQ(view.wheelFlags, flags);
    EXPECT_EQ(view.retrogradeMark, r.retro);
    EXPECT_EQ(view.radiusFractions,
              (std::array<float, 3>{r.porAreaExterior, r.radCircleExt, r.porCircleCasas}));
    EXPECT_EQ(view.fontName, std::string(50, 'f'));
    EXPECT_EQ(view.fontSize, 11);
    EXPECT_EQ(view.innerItem, 4); // the main window's choices stay
    EXPECT_EQ(view.strengthFilter, 30);

    // A default view shows what a first run shows.
    RecVistaCarta fresh, copied;
    Settings first;
    first.InstallFirstRunValues();
    CopySettingsToView(first, copied);
    EXPECT_EQ(fresh, copied);
}

TEST(SettingsRanges, ValuesOutOfRangeTakeTheirFirstRunValueAndAreNamed) {
    Settings first;
    first.InstallFirstRunValues();
    struct Case {
        const char *line; // in its section
        const char *section;
        std::function<bool(const Settings &)> holdsFirstRun;
    };
    const Case cases[] = {
        {"1=1e39", "PtosPla",
         [&](const Settings &s) { return s.points.ptosPla[1] == first.points.ptosPla[1]; }},
        {"2=-1e4000", "PtosCas",
         [&](const Settings &s) { return s.points.ptosCas[2] == first.points.ptosCas[2]; }},
        {"3=1E300", "Orbes", [&](const Settings &s) { return s.orbs.presets[3] == first.orbs.presets[3]; }},
        {"1=-2", "OPE", [&](const Settings &s) { return s.orbs.OPE[1] == first.orbs.OPE[1]; }},
        {"13=400", "OPA", [&](const Settings &s) { return s.orbs.OPA[13] == first.orbs.OPA[13]; }},
        {"radCircleExt=0x7fffffff", "Rueda", [](const Settings &s) { return s.rueda.radCircleExt == 1.0f; }},
        {"PorCircleCasas=101", "Rueda", [](const Settings &s) { return s.rueda.porCircleCasas == 0.6f; }},
        {"Font Size=99", "Rueda", [](const Settings &s) { return s.rueda.fontSize == 8; }},
        {"Font=", "Rueda", [](const Settings &s) { return s.rueda.font == "Arial Narrow"; }},
        {"1,5=9", "MD", [&](const Settings &s) { return s.dignity.At(1, 5) == first.dignity.At(1, 5); }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.line);
        const std::string text = std::string("[") + c.section + "]\r\n" + c.line + "\r\n";
        Settings s;
        s.InstallFirstRunValues();
        // Start from other values, so that taking the first-run value is seen.
        s.points.ptosPla.fill(7);
        s.points.ptosCas.fill(7);
        s.orbs.presets.fill(7);
        s.orbs.OPE.fill(7);
        s.orbs.OPA.fill(7);
        s.dignity.Set(1, 5, 3);
        std::vector<std::string> notes;
        s.ReadFrom(IniFile::Parse(text), Format('.'), kDataFile, &notes);
        EXPECT_TRUE(c.holdsFirstRun(s));
        ASSERT_EQ(notes.size(), 1u);
        EXPECT_EQ(notes[0], std::string(c.section) + "/" + std::string(c.line));
    }
    // In range: nothing noted.
    std::vector<std::string> notes;
    Settings s;
    s.ReadFrom(IniFile::Parse("[PtosPla]\r\n1=3.5\r\n[Rueda]\r\nFont Size=15\r\nradCircleExt=0\r\n"),
               Format('.'), kDataFile, &notes);
    EXPECT_TRUE(notes.empty());
    EXPECT_EQ(s.points.ptosPla[1], 3.5f);
}

TEST(SettingsRanges, AFileThatIsNotASettingsFileIsRefused) {
    const cel::testsupport::TempFolder folder("celini");
    const fs::path dir = folder.Dir();
    struct Case {
        const char *name;
        std::string bytes;
        bool settings;
    };
    const Case cases[] = {
        {"binario.ini",
         std::string("\x7f"
                     "ELF\x02\x01\x01\0\0\0",
                     10),
         false},
        {"datos.ini",
         "P\xE2"
         "1\xE2"
         "Colombia\xE2\r\nL\xE2"
         "3\xE2"
         "Cali\xE2"
         "1\xE2"
         "0\xE2-5\xE2"
         "3,4\xE2"
         "76,5\xE2\xE2\r\n",
         false},
        {"texto.ini", "Querida Ana:\r\nte escribo...\r\n", false},
        {"vacio.ini", "", true},
        {"propio.ini", "[Rueda]\r\nFont=Sans\r\n", true},
        {"ventanas.ini", "[TBTWDatos]\r\nVisible=1\r\n", true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        std::ofstream(dir / c.name, std::ios::binary) << c.bytes;
        Settings s;
        const Settings::LoadResult r = s.Load(dir / c.name, Format('.'), kDataFile);
        EXPECT_EQ(r.notSettings, !c.settings);
        EXPECT_EQ(r.error.empty(), c.settings);
        if (!c.settings) {
            Settings first;
            first.InstallFirstRunValues();
            first.ReadFrom(IniFile{}, Format('.'), kDataFile);
            EXPECT_TRUE(s == first); // the orbs are not zeroed
        }
    }
}

TEST(SettingsRanges, ARepeatedToolWindowKeyReadsAsItsFirstOccurrence) {
    // Found by the settings fuzzer: the repeated key was kept twice and written once.
    const Settings s = FromText("[TBTWDatos]\r\nVisible=1\r\nvisible=0\r\nRev=3\r\n");
    ASSERT_EQ(s.toolWindows.size(), 1u);
    EXPECT_EQ(s.toolWindows[0].entries, (IniFile::Entries{{"Visible", "1"}, {"Rev", "3"}}));
    IniFile out;
    s.WriteTo(out, Format('.'));
    EXPECT_EQ(FromText(out.ToText()), s);
}
