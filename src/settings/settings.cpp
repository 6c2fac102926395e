#include "settings/settings.h"

#include <cmath>

#include "common/number_text.h"

namespace cel::settings {

namespace {

constexpr Colour kSchemeColours[] = {15138790, 14614263, 16771818, 13882281, 16050943, 13559807, 15395562};
constexpr Colour kPointColours[] = {2066931, 16711680, 2138626,  12583935, 8959,  33023,
                                    16512,   16755200, 15407128, 10828554, 37570, 10624644};
constexpr Colour kWheelColours[] = {12058623, 12180735, 12058551, 16767927, 16121855, 16579834,
                                    8421504,  11026448, 255,      0,        16711680};
constexpr Colour kRelationColours[] = {15073279, 14342905, 12189625, 12181759, 15987699, 0};

constexpr int kDefaultScheme = 7;
constexpr float kMaxOrb = 180;     // degrees
constexpr float kMaxWeight = 1000; // points per body or house

// Text of a 1-based index key ("1".."13").
std::string N(int n) {
    return std::to_string(n);
}

bool StartsWithTB(std::string_view name) {
    return name.size() >= 2 && (name[0] == 'T' || name[0] == 't') && (name[1] == 'B' || name[1] == 'b');
}

// Reads keys from a document: a missing or unreadable value takes the key's default, or keeps the
// value in place where the key has none (`std::nullopt`). A value outside its range takes the
// first-run value instead and is noted ("Section/Key=value").
class Reader {
public:
    Reader(const IniFile &ini, char separator, std::vector<std::string> *notes)
        : ini_(ini), separator_(separator), notes_(notes) {}

    void Int(std::string_view section, std::string_view key, int &value, std::optional<int> def,
             int min = INT32_MIN, int max = INT32_MAX, std::optional<int> firstRun = std::nullopt) {
        const std::optional<std::string> text = ini_.Get(section, key);
        const std::optional<std::int32_t> read = text ? ParseInt32OrHex(*text) : std::nullopt;
        if (read && *read >= min && *read <= max) {
            value = *read;
            return;
        }
        if (read) {
            Note(section, key, *text);
            if (firstRun) {
                value = *firstRun;
                return;
            }
        }
        if (def)
            value = *def;
    }
    void Bool(std::string_view section, std::string_view key, bool &value, std::optional<bool> def) {
        int n = value ? 1 : 0;
        Int(section, key, n, def ? std::optional<int>(*def ? 1 : 0) : std::nullopt);
        value = n != 0;
    }
    void Percent(std::string_view section, std::string_view key, float &fraction, int def) {
        int n = def;
        Int(section, key, n, def, 0, 100);
        fraction = static_cast<float>(static_cast<long double>(n) / 100);
    }
    // Floats have no default of their own: a missing or unparsable text keeps the value in place; a
    // value that is not finite in single precision or lies outside min..max takes the first-run value.
    void Float(std::string_view section, std::string_view key, float &value, float min, float max,
               float firstRun) {
        if (const std::optional<std::string> text = ini_.Get(section, key))
            if (const std::optional<long double> read = ParseReal(*text, separator_)) {
                const float v = static_cast<float>(*read);
                if (std::isfinite(v) && v >= min && v <= max) {
                    value = v;
                } else {
                    Note(section, key, *text);
                    value = firstRun;
                }
            }
    }
    void String(std::string_view section, std::string_view key, std::string &value,
                std::optional<std::string_view> def) {
        if (const std::optional<std::string> text = ini_.Get(section, key))
            value = *text;
        else if (def)
            value = *def;
    }
    void Note(std::string_view section, std::string_view key, std::string_view text) {
        if (notes_)
            notes_->push_back(std::string(section) + "/" + std::string(key) + "=" + std::string(text));
    }

private:
    const IniFile &ini_;
    char separator_;
    std::vector<std::string> *notes_;
};

class Writer {
public:
    Writer(IniFile &ini, char separator) : ini_(ini), separator_(separator) {}

    void Int(std::string_view section, std::string_view key, int value) {
        ini_.Set(section, key, std::to_string(value));
    }
    void Bool(std::string_view section, std::string_view key, bool value) {
        ini_.Set(section, key, value ? "1" : "0");
    }
    // The nearest whole percentage, so that a percentage read is written back unchanged.
    void Percent(std::string_view section, std::string_view key, float fraction) {
        Int(section, key, static_cast<int>(std::lround(static_cast<long double>(fraction) * 100)));
    }
    void Float(std::string_view section, std::string_view key, float value) {
        ini_.Set(section, key, FormatReal(value, separator_, ScientificForm::From1E14));
    }
    void String(std::string_view section, std::string_view key, std::string_view value) {
        ini_.Set(section, key, value);
    }

private:
    IniFile &ini_;
    char separator_;
};

// The boolean keys of "Rueda" after the radius percentages, in file order, with their defaults.
struct RuedaFlagKey {
    const char *key;
    bool Settings::RuedaSection::*member;
    bool def;
};
using RS = Settings::RuedaSection;
constexpr RuedaFlagKey kRuedaFlags[] = {
    {"ImagenR", &RS::imagenR, true},
    {"ImagenT", &RS::imagenT, false},
    {"Planetas", &RS::planetas, true},
    {"Casas", &RS::casas, true},
    {"Signos", &RS::signos, true},
    {"Grados", &RS::grados, true},
    {"Color", &RS::color, true},
    {"ColorPla", &RS::colorPla, true},
    {"ColorEle", &RS::colorEle, true},
    {"PlanetasSigno", &RS::planetasSigno, true},
    {"PlanetasTexto", &RS::planetasTexto, true},
    {"PlanetasSeg", &RS::planetasSeg, false},
    {"CasasSigno", &RS::casasSigno, true},
    {"CasasTexto", &RS::casasTexto, true},
    {"CasasSeg", &RS::casasSeg, false},
    {"CasasLin", &RS::casasLin, false},
    {"Retro", &RS::retro, true},
    {"Glifo", &RS::glifo, true},
};

// The "Aspecto" keys in file order, with their defaults.
struct AspectoKey {
    const char *key;
    bool Settings::AspectoSection::*member;
    bool def;
};
using AS = Settings::AspectoSection;
constexpr AspectoKey kAspectoKeys[] = {
    {"Sig", &AS::sig, true}, {"Reg", &AS::reg, true}, {"Ocu", &AS::ocu, true}, {"Dig", &AS::dig, true},
    {"Ang", &AS::ang, true}, {"Fue", &AS::fue, true}, {"Orb", &AS::orb, true}, {"Peq", &AS::peq, false},
};

const char *const kTxtKeysEle[] = {"StrEle1", "StrEle2", "StrEle3", "StrEle4"};
const char *const kTxtKeysSoc2[] = {"StrSoc21", "StrSoc22", "StrSoc23", "StrSoc24"};
const char *const kTxtKeysComp[] = {"StrComp1", "StrComp2", "StrComp3"};
const char *const kTxtKeysSoc1[] = {"StrSoc11", "StrSoc12", "StrSoc13"};

} // namespace

std::string CutFontName(std::string_view name) {
    std::size_t chars = 0;
    for (std::size_t i = 0; i < name.size(); ++i) {
        if ((static_cast<unsigned char>(name[i]) & 0xC0) == 0x80)
            continue; // a continuation byte belongs to the character before it
        if (chars == kFontNameMaxChars) {
            name = name.substr(0, i);
            break;
        }
        ++chars;
    }
    // No trailing blanks: the settings file drops them, and the name read back must be the one held.
    const std::size_t end = name.find_last_not_of(" \t");
    return std::string(name.substr(0, end == std::string_view::npos ? 0 : end + 1));
}

std::optional<Colour> SchemeColour(int scheme) {
    if (scheme >= 1 && scheme <= 7)
        return kSchemeColours[scheme - 1];
    return std::nullopt;
}

Settings::RuedaSection::RuedaSection() {
    for (int i = 1; i <= kBodyCount; ++i)
        colPla[i] = kPointColours[i - 1];
    for (int i = 1; i <= kWheelColourCount; ++i)
        colEle[i] = kWheelColours[i - 1];
}

Settings::TablaSection::TablaSection() {
    for (int i = 1; i <= kRelationCount; ++i) {
        colRel[i] = kRelationColours[i - 1];
        viewColRel[i] = true;
    }
}

void Settings::InstallFirstRunValues() {
    orbs.InstallBuiltIn();
    dignity.Replace(MatrixPreset::Modern);
    txt.strEle = {"", "Fuego", "Tierra", "Aire", "Agua"};
    txt.strSoc2 = {"", "Personales", "Familiares", "Sociales", "Trascendentes"};
    txt.strComp = {"", "Cardinal", "Fijo", "Mutable"};
    txt.strSoc1 = {"", "Personales", "Sociales", "Trascendentes"};
    for (int i = 1; i <= kBodyCount; ++i) {
        points.ptosPla[i] = i <= 3 ? 2.0f : 1.0f;
        points.viewPtosPla[i] = true;
    }
    for (int i = 1; i <= kHouseCount; ++i) {
        points.ptosCas[i] = i == 1 ? 2.0f : 1.0f;
        points.viewPtosCas[i] = i == 1;
    }
}

void Settings::ReadFrom(const IniFile &ini, const TextFormat &format, std::string_view defaultDataFile,
                        std::vector<std::string> *outOfRange) {
    Reader r(ini, format.decimalSeparator, outOfRange);
    const auto keep = std::nullopt;
    Settings first;
    first.InstallFirstRunValues();

    r.String("Data", "File", data.file, defaultDataFile);

    r.Bool("Main", "Hint", main.hint, true);
    r.Bool("Main", "ViewEdad", main.viewEdad, true);
    r.Int("Main", "Color", main.color, kDefaultScheme, 1, kSchemeCount);
    r.String("Main", "Footer", main.footer, "");

    r.Bool("Rueda", "Calculo", rueda.calculo, true);
    for (int i = 1; i <= kBodyCount; ++i)
        r.Int("Rueda", "Col_Pla_" + N(i), rueda.colPla[i], kPointColours[i - 1]);
    for (int i = 1; i <= kWheelColourCount; ++i)
        r.Int("Rueda", "Col_Ele_" + N(i), rueda.colEle[i], kWheelColours[i - 1]);

    for (int i = 1; i <= kRelationCount; ++i)
        r.Int("Tabla", "Col_Rel_" + N(i), tabla.colRel[i], kRelationColours[i - 1]);
    for (int i = 1; i <= kRelationCount; ++i)
        r.Bool("Tabla", "View_Col_Rel_" + N(i), tabla.viewColRel[i], true);

    r.Percent("Rueda", "PorAreaExterior", rueda.porAreaExterior, 100);
    r.Percent("Rueda", "radCircleExt", rueda.radCircleExt, 100);
    r.Percent("Rueda", "PorCircleCasas", rueda.porCircleCasas, 60);
    for (const RuedaFlagKey &f : kRuedaFlags)
        r.Bool("Rueda", f.key, rueda.*f.member, f.def);
    r.String("Rueda", "Font", rueda.font, "Arial Narrow");
    rueda.font = CutFontName(rueda.font);
    if (rueda.font.find_first_not_of(" \t") == std::string::npos) {
        r.Note("Rueda", "Font", rueda.font);
        rueda.font = first.rueda.font;
    }
    r.Int("Rueda", "Font Size", rueda.fontSize, 8, kMinFontSize, kMaxFontSize);

    for (int n = 1; n <= kOrbPresetCount; ++n)
        r.Float("Orbes", N(n), orbs.presets[n], 0, kMaxOrb, first.orbs.presets[n]);

    for (int p = 1; p <= kBodyCount; ++p)
        for (int s = 1; s <= kSignCount; ++s) {
            int code = dignity.At(p, s);
            r.Int("MD", N(p) + "," + N(s), code, keep, 0, kDignityMaxCode, first.dignity.At(p, s));
            dignity.Set(p, s, static_cast<std::uint8_t>(code));
        }

    for (int k = 1; k <= kAspectKindCount; ++k) {
        r.Float("OPE", N(k), orbs.OPE[k], 0, kMaxOrb, first.orbs.OPE[k]);
        r.Float("OCE", N(k), orbs.OCE[k], 0, kMaxOrb, first.orbs.OCE[k]);
        r.Float("OPA", N(k), orbs.OPA[k], 0, kMaxOrb, first.orbs.OPA[k]);
    }

    for (int i = 1; i <= 4; ++i) {
        r.String("Txt", kTxtKeysEle[i - 1], txt.strEle[i], keep);
        r.String("Txt", kTxtKeysSoc2[i - 1], txt.strSoc2[i], keep);
    }
    for (int i = 1; i <= 3; ++i) {
        r.String("Txt", kTxtKeysComp[i - 1], txt.strComp[i], keep);
        r.String("Txt", kTxtKeysSoc1[i - 1], txt.strSoc1[i], keep);
    }

    for (int i = 1; i <= kBodyCount; ++i) {
        r.Float("PtosPla", N(i), points.ptosPla[i], -kMaxWeight, kMaxWeight, first.points.ptosPla[i]);
        r.Float("PtosCas", N(i), points.ptosCas[i], -kMaxWeight, kMaxWeight, first.points.ptosCas[i]);
    }
    for (int i = 1; i <= kBodyCount; ++i) {
        r.Bool("ViewPtosPla", N(i), points.viewPtosPla[i], keep);
        r.Bool("ViewPtosCas", N(i), points.viewPtosCas[i], keep);
    }

    for (const AspectoKey &a : kAspectoKeys)
        r.Bool("Aspecto", a.key, aspecto.*a.member, a.def);

    toolWindows.clear();
    for (const std::string &name : ini.SectionNames()) {
        if (!StartsWithTB(name))
            continue;
        bool seen = false; // a repeated section name reads as its first occurrence
        for (const ToolWindowSection &t : toolWindows)
            seen = seen || SameIniName(t.name, name);
        if (seen)
            continue;
        // A key repeated in the section reads as its first occurrence, as every other key does.
        IniFile::Entries entries;
        for (auto &[key, value] : ini.SectionEntries(name)) {
            bool repeated = false;
            for (const auto &kept : entries)
                repeated = repeated || SameIniName(kept.first, key);
            if (!repeated)
                entries.emplace_back(std::move(key), std::move(value));
        }
        toolWindows.push_back({name, std::move(entries)});
    }
}

void Settings::WriteTo(IniFile &ini, const TextFormat &format) const {
    Writer w(ini, format.decimalSeparator);

    w.String("Data", "File", data.file);

    w.Bool("Main", "Hint", main.hint);
    w.Bool("Main", "ViewEdad", main.viewEdad);
    w.Int("Main", "Color", main.color);
    w.String("Main", "Footer", main.footer);

    w.Bool("Rueda", "Calculo", rueda.calculo);
    for (int i = 1; i <= kBodyCount; ++i)
        w.Int("Rueda", "Col_Pla_" + N(i), rueda.colPla[i]);
    for (int i = 1; i <= kWheelColourCount; ++i)
        w.Int("Rueda", "Col_Ele_" + N(i), rueda.colEle[i]);

    for (int i = 1; i <= kRelationCount; ++i)
        w.Int("Tabla", "Col_Rel_" + N(i), tabla.colRel[i]);
    for (int i = 1; i <= kRelationCount; ++i)
        w.Bool("Tabla", "View_Col_Rel_" + N(i), tabla.viewColRel[i]);

    w.Percent("Rueda", "PorAreaExterior", rueda.porAreaExterior);
    w.Percent("Rueda", "radCircleExt", rueda.radCircleExt);
    w.Percent("Rueda", "PorCircleCasas", rueda.porCircleCasas);
    for (const RuedaFlagKey &f : kRuedaFlags)
        w.Bool("Rueda", f.key, rueda.*f.member);
    w.String("Rueda", "Font", CutFontName(rueda.font));
    w.Int("Rueda", "Font Size", rueda.fontSize);

    for (int n = 1; n <= kOrbPresetCount; ++n)
        w.Float("Orbes", N(n), orbs.presets[n]);

    for (int p = 1; p <= kBodyCount; ++p)
        for (int s = 1; s <= kSignCount; ++s)
            w.Int("MD", N(p) + "," + N(s), dignity.At(p, s));

    for (int k = 1; k <= kAspectKindCount; ++k) {
        w.Float("OPE", N(k), orbs.OPE[k]);
        w.Float("OCE", N(k), orbs.OCE[k]);
        w.Float("OPA", N(k), orbs.OPA[k]);
    }

    for (int i = 1; i <= 4; ++i) {
        w.String("Txt", kTxtKeysEle[i - 1], txt.strEle[i]);
        w.String("Txt", kTxtKeysSoc2[i - 1], txt.strSoc2[i]);
    }
    for (int i = 1; i <= 3; ++i) {
        w.String("Txt", kTxtKeysComp[i - 1], txt.strComp[i]);
        w.String("Txt", kTxtKeysSoc1[i - 1], txt.strSoc1[i]);
    }

    for (int i = 1; i <= kBodyCount; ++i) {
        w.Float("PtosPla", N(i), points.ptosPla[i]);
        w.Float("PtosCas", N(i), points.ptosCas[i]);
    }
    for (int i = 1; i <= kBodyCount; ++i) {
        w.Bool("ViewPtosPla", N(i), points.viewPtosPla[i]);
        w.Bool("ViewPtosCas", N(i), points.viewPtosCas[i]);
    }

    for (const AspectoKey &a : kAspectoKeys)
        w.Bool("Aspecto", a.key, aspecto.*a.member);

    for (const ToolWindowSection &t : toolWindows)
        for (const auto &[key, value] : t.entries)
            w.String(t.name, key, value);
}

Settings::LoadResult Settings::Load(const std::filesystem::path &path, const TextFormat &format,
                                    std::string_view defaultDataFile) {
    LoadResult result;
    IniFile ini = IniFile::Load(path, &result.error);
    result.existed = ini.Existed() || !result.error.empty();
    if (ini.Existed() && !IsSettingsText(ini)) {
        // A binary, a data file or any other text: read as if there were no file, and say so.
        result.notSettings = true;
        result.error = "no es un archivo de configuración del programa";
        ini = IniFile{};
    }
    if (!ini.Existed())
        InstallFirstRunValues();
    ReadFrom(ini, format, defaultDataFile, &result.outOfRange);
    return result;
}

bool IsSettingsText(const IniFile &ini) {
    if (ini.HasBinaryBytes())
        return false;
    const std::vector<std::string> names = ini.SectionNames();
    if (names.empty())
        return ini.IsBlank(); // an empty file is a settings file with nothing in it yet
    static const char *const known[] = {"Data",    "Main",    "Rueda",       "Tabla",       "Orbes",
                                        "MD",      "OPE",     "OCE",         "OPA",         "Txt",
                                        "PtosPla", "PtosCas", "ViewPtosPla", "ViewPtosCas", "Aspecto"};
    for (const std::string &name : names) {
        if (StartsWithTB(name))
            return true;
        for (const char *k : known)
            if (SameIniName(name, k))
                return true;
    }
    return false;
}

std::string OutOfRangeText(const std::vector<std::string> &keys) {
    std::string text =
        "Valores fuera de rango en el archivo de configuración; se usan los valores iniciales:";
    for (const std::string &k : keys)
        text += "\r" + k;
    return text;
}

bool Settings::Save(const std::filesystem::path &path, const TextFormat &format, std::string *error) const {
    std::string readError;
    IniFile ini = IniFile::Load(path, &readError);
    if (!readError.empty()) {
        // Never replace a file whose other contents could not be read.
        if (error)
            *error = readError;
        return false;
    }
    WriteTo(ini, format);
    return ini.Save(path, error);
}

} // namespace cel::settings
