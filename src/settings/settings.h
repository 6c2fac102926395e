// The settings module: every user preference of the chart program in one object, stored between
// runs in an INI file, the orb and dignity tables it holds, and the view record the wheel and table
// code receive. Plain C++; the windows decide where the file lives and pass its path in.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/chart_numbering.h"
#include "common/text_format.h"
#include "settings/dignity_matrix.h"
#include "settings/ini_file.h"
#include "settings/orb_tables.h"

namespace cel::settings {

// A 24-bit colour as blue * 65536 + green * 256 + red.
using Colour = std::int32_t;

using cel::kHouseCount;
inline constexpr int kWheelColourCount = 11;
inline constexpr int kRelationCount = 6;
inline constexpr int kSchemeCount = 8;
inline constexpr std::size_t kFontNameMaxChars = 50;
inline constexpr int kMinFontSize = 4; // the settings dialog's range for "Font Size"
inline constexpr int kMaxFontSize = 15;

// A font name cut to its first 50 characters (UTF-8 characters, not bytes), without trailing blanks.
std::string CutFontName(std::string_view name);

// The colour of window scheme 1..7; scheme 8 ("Windows") and any other index use the system's
// button-face colour and give nothing here.
std::optional<Colour> SchemeColour(int scheme);

// Names of the sections that keep the layout of the main window's four tool windows.
inline constexpr std::string_view kToolWindowSections[] = {"TBTWDatos", "TBTWConfig", "TBTWFiltrarLista",
                                                           "TBTWListEvents"};

// One tool-window layout section, kept as the raw keys and values the docking code writes.
struct ToolWindowSection {
    std::string name; // "TB" + the tool window's name
    IniFile::Entries entries;
    bool operator==(const ToolWindowSection &) const = default;
};

struct Settings {
    // Arrays indexed by a 1-based number (point, house, colour, relation) leave entry 0 unused.
    struct DataSection {
        std::string file; // data file to open at start-up ("Data" "File")
        bool operator==(const DataSection &) const = default;
    };
    struct MainSection {
        bool hint = true;
        bool viewEdad = true;
        int color = 7; // window scheme 1..8
        std::string footer;
        bool operator==(const MainSection &) const = default;
    };
    struct RuedaSection {
        bool calculo = true;
        std::array<Colour, kBodyCount + 1> colPla{};        // 1..12
        std::array<Colour, kWheelColourCount + 1> colEle{}; // 1..11
        float porAreaExterior = 1.0f;                       // percentages held as fractions
        float radCircleExt = 1.0f;
        float porCircleCasas = 0.6f;
        bool imagenR = true;
        bool imagenT = false;
        bool planetas = true;
        bool casas = true;
        bool signos = true;
        bool grados = true;
        bool color = true; // colour master switch
        bool colorPla = true;
        bool colorEle = true;
        bool planetasSigno = true;
        bool planetasTexto = true;
        bool planetasSeg = false;
        bool casasSigno = true;
        bool casasTexto = true;
        bool casasSeg = false;
        bool casasLin = false;
        bool retro = true;
        bool glifo = true;
        std::string font = "Arial Narrow";
        int fontSize = 8;
        RuedaSection();
        bool operator==(const RuedaSection &) const = default;
    };
    struct TablaSection {
        std::array<Colour, kRelationCount + 1> colRel{}; // 1..6
        std::array<bool, kRelationCount + 1> viewColRel{};
        TablaSection();
        bool operator==(const TablaSection &) const = default;
    };
    struct TxtSection {
        std::array<std::string, 5> strEle;  // 1..4 elements
        std::array<std::string, 4> strComp; // 1..3 qualities
        std::array<std::string, 4> strSoc1; // "StrSoc11".."StrSoc13"
        std::array<std::string, 5> strSoc2; // "StrSoc21".."StrSoc24"
        bool operator==(const TxtSection &) const = default;
    };
    struct PointsSection {
        std::array<float, kBodyCount + 1> ptosPla{};
        std::array<float, kHouseCount + 1> ptosCas{};
        std::array<bool, kBodyCount + 1> viewPtosPla{};
        std::array<bool, kHouseCount + 1> viewPtosCas{};
        bool operator==(const PointsSection &) const = default;
    };
    struct AspectoSection {
        bool sig = true, reg = true, ocu = true, dig = true, ang = true, fue = true, orb = true;
        bool peq = false;
        bool operator==(const AspectoSection &) const = default;
    };

    DataSection data;
    MainSection main;
    RuedaSection rueda;
    TablaSection tabla;
    OrbTables orbs;        // "Orbes", "OPE", "OCE", "OPA"
    DignityMatrix dignity; // "MD"
    TxtSection txt;
    PointsSection points;
    AspectoSection aspecto;
    std::vector<ToolWindowSection> toolWindows; // the "TB" sections, in file order

    // A new object holds the per-key defaults; the sections without defaults of their own (orbs,
    // matrix, group names, points) are zero, false or empty until loaded or installed.
    Settings() = default;

    // Installs the first-run values of the sections without per-key defaults: the built-in orbs, the
    // modern matrix, the group names and the points weights and check boxes.
    void InstallFirstRunValues();

    struct LoadResult {
        bool existed = false;     // the file was there (and read, unless `error` is set)
        std::string error;        // the platform's error text when an existing file could not be read
        bool notSettings = false; // the file is not a settings file at all (read as a first run)
        std::vector<std::string>
            outOfRange; // "Section/Key=text" of each value replaced by its first-run value
    };
    // Loads the settings from the INI file at `path`. When the file does not exist, the first-run
    // values are installed first; keys missing from the file take their per-key defaults, or keep the
    // value held when the load began for the sections without defaults. When the file exists but
    // cannot be read, the result is as for a first run and `error` says why. `defaultDataFile` is the
    // default of "Data" "File" (the user's documents folder with "Norvelta/").
    LoadResult Load(const std::filesystem::path &path, const TextFormat &format,
                    std::string_view defaultDataFile);

    // Writes every key into the INI file at `path`, keeping whatever else the file holds, and saves
    // it safely. Returns false with the platform's error text when the existing file cannot be read
    // or the new one cannot be written; the old file is then untouched.
    bool Save(const std::filesystem::path &path, const TextFormat &format,
              std::string *error = nullptr) const;

    // The same two steps on an INI document in memory.
    // Each value is kept in its range: one outside it (or an empty font name) takes the first-run value
    // and is listed in outOfRange.
    void ReadFrom(const IniFile &ini, const TextFormat &format, std::string_view defaultDataFile,
                  std::vector<std::string> *outOfRange = nullptr);
    void WriteTo(IniFile &ini, const TextFormat &format) const;

    bool operator==(const Settings &) const = default;
};

// True when the document can be a settings file: text only, with at least one of the program's
// sections, or empty.
bool IsSettingsText(const IniFile &ini);
// The one notice about values replaced because they were out of range.
std::string OutOfRangeText(const std::vector<std::string> &keys);

} // namespace cel::settings
