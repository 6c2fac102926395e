// The chart view record: the settings and main-window selections the wheel, aspect and table code
// receive together, passed by reference.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "common/chart_numbering.h"
#include "settings/orb_tables.h"

namespace cel::settings {

struct Settings;

// Positions in RecVistaCarta::wheelFlags.
enum WheelFlag : int {
    kFlagPlanetas,
    kFlagCasas,
    kFlagSignos,
    kFlagGrados,
    kFlagColor,
    kFlagColorPla,
    kFlagColorEle,
    kFlagPlanetasSigno,
    kFlagPlanetasTexto,
    kFlagPlanetasSeg,
    kFlagCasasSigno,
    kFlagCasasTexto,
    kFlagCasasSeg,
    kFlagCasasLin,
    kWheelFlagCount
};

// Positions in RecVistaCarta::aspectFamilies.
enum AspectFamily : int { kPointPoint, kPointCusp, kCuspPoint, kCuspCusp, kAspectFamilyCount };

// Positions in RecVistaCarta::autoSources (the "Por casas" sources).
enum AutoSource : int { kSourceRuler, kSourceCusp, kSourceOccupants, kAutoSourceCount };

// "Simple" or "Doble": one chart item on the wheel, or an inner and an outer one.
enum WheelMode : std::uint8_t { kSingleWheel = 1, kDoubleWheel = 2 };

// "Manual" or "Por casas": the points of the aspect selection ticked by hand, or those of one house.
enum class AspectMode : std::uint8_t { Manual, ByHouse };

// The reference of the progressions table: "eclip.", "asc." or "prog.".
enum class ProgressionReference : std::uint8_t { Ecliptic, Ascensional, Progressed };

// The entries of the point and cusp selections (1..12, entry 0 unused) and of the angle selection
// (kinds 1..13, entry 0 unused).
inline constexpr std::size_t kSelectionSize = kListSize;
inline constexpr std::size_t kAngleSelectionSize = kAspectKindCount + 1;

struct RecVistaCarta {
    std::uint8_t innerItem = 1; // chart item 1..9 of the inner wheel ("Int:")
    std::uint8_t outerItem = 1; // chart item 1..9 of the outer wheel ("Ext:")
    WheelMode wheelMode = kSingleWheel;
    ProgressionReference progressionReference = ProgressionReference::Ecliptic;
    AspectMode aspectMode = AspectMode::Manual;
    bool aspectGlyphs = true;        // "Glifo"
    bool equaliseBySigns = false;    // double wheel aligned by signs (else by Ascendant)
    bool largeImagesWheel = true;    // "ImagenR"
    bool largeImagesTable = false;   // "ImagenT"
    bool projectInnerHouses = false; // "1 Casas" on and "1 Rueda" off (double wheel)
    bool noProjectedHouses = true;   // "1 Casas" off or not shown
    bool innerWheelOnly = false;     // "1 Rueda" on (double wheel)
    // The wheel flags in WheelFlag order; by default as a first run sets them.
    std::array<bool, kWheelFlagCount> wheelFlags{true, true, true,  true, true, true,  true,
                                                 true, true, false, true, true, false, false};
    std::array<bool, kAspectFamilyCount> aspectFamilies{};
    std::array<bool, kAutoSourceCount> autoSources{};
    bool dispositorFilter = false;   // "disp."
    bool computeDispositors = false; // "calc"
    bool retrogradeMark = true;      // "Retro"
    // "PorAreaExterior", "radCircleExt", "PorCircleCasas" as fractions.
    std::array<float, 3> radiusFractions{1.0f, 1.0f, 0.6f};
    std::string fontName = "Arial Narrow"; // at most 50 characters
    std::int32_t fontSize = 8;
    std::int32_t strengthFilter = 0;                   // minimum aspect strength in percent ("Fuerza (%):")
    std::array<bool, kSelectionSize> pointSelection{}; // 1..12, Sol .. Rue; entry 0 unused
    std::array<bool, kSelectionSize> cuspSelection{};  // 1..12; entry 0 unused
    std::array<bool, kAngleSelectionSize> angleSelection{}; // 1..13, 0° .. 180°; entry 0 unused

    bool operator==(const RecVistaCarta &) const = default;
};

// Copies the fields that come from the settings: "Glifo", "ImagenR", "ImagenT", the fourteen wheel
// flags, "Retro", the radius fractions and the font. The main window's selections are left alone.
void CopySettingsToView(const Settings &settings, RecVistaCarta &view);

} // namespace cel::settings
