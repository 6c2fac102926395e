// "db": database tasks on data files: counts, copy, CSV export, place import and merge. The command
// line never asks: every question of the import and the merge is answered "no" and the places or
// persons concerned are listed. Commands that change a file respect the shared-use guard.
#include <filesystem>
#include <memory>
#include <set>

#include "command_registry.h"
#include "common/safe_file.h"
#include "database/aaf_file.h"
#include "database/csv_export.h"
#include "database/data_file.h"
#include "database/data_file_session.h"
#include "database/place_import.h"
#include "database/shared_use_guard.h"
#include "zones/atlas.h"
#include "zones/place_zones.h"

namespace cel::cli {

namespace {

using namespace cel::database;

// Notices of the core: kept for the report, every question answered "no".
class CliNotifier : public Notifier {
public:
    std::vector<std::string> questions;
    std::vector<std::string> messages;

    bool Notice(NoticeKind kind, bool yesNo, bool, const std::string &text) override {
        if (yesNo || kind == NoticeKind::Question)
            questions.push_back(text);
        else if (text != kLineErrorText && text != kFileErrorText)
            messages.push_back(text);
        return false;
    }
};

// Notice texts separate paragraphs with "\r"; on a terminal line they become one space.
std::string Plain(const std::string &text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r') {
            out += text[i];
            continue;
        }
        if (!out.empty() && out.back() != ' ')
            out += ' ';
        while (i + 1 < text.size() && (text[i + 1] == '\r' || text[i + 1] == ' '))
            ++i;
    }
    return out;
}

struct DbOptions {
    std::string file;
    std::string second; // NEW, PLACES.lug or OTHER.age
    std::string list;
    std::string out;
    std::vector<int> places;
    PersonCsvOptions csv;
    OutputFormat format = OutputFormat::Text;
    bool keepGoing = false; // save over a file with unreadable lines (a copy of it is kept)
    bool replace = false;   // AAF import: replace persons already there
    std::string group;      // AAF export: only the persons of this group
    std::string encoding = "utf8";
};

std::string FullPath(const std::string &path) {
    std::error_code ec;
    const auto p = std::filesystem::weakly_canonical(std::filesystem::absolute(path), ec);
    return ec ? path : p.string();
}

void RequireDataFileName(const std::string &path) {
    if (!HasDataFileExtension(path))
        throw CommandError(Plain(InvalidFileText(path)));
}

// Records with impossible values, on standard error: they stay in the file as they are.
void ReportInvalid(const std::string &path, const LoadReport &report, RunContext &ctx) {
    for (const RecordProblem &p : report.invalidRecords)
        ctx.err << "celestigrafo-cli: " << path
                << ": valores imposibles (se conservan; no se calcula carta): " << ProblemText(p) << '\n';
}

// Loads a data file; failed lines are reported on standard error.
LoadReport Load(const std::string &path, Database &db, RunContext &ctx) {
    RequireDataFileName(path);
    CliNotifier notifier;
    LoadReport report;
    try {
        report = LoadDataFile(path, db, notifier, ctx.format);
    } catch (const FileError &e) {
        throw CommandError(e.what());
    }
    db.Path = FullPath(path);
    for (int line : report.failedLines)
        ctx.err << "celestigrafo-cli: " << path << ": línea " << line << ": " << kLineErrorText << '\n';
    ReportInvalid(path, report, ctx);
    return report;
}

void Save(const std::string &path, Database &db, RunContext &ctx) {
    try {
        SaveDataFile(path, db, ctx.format);
    } catch (const FileError &e) {
        throw CommandError(e.what());
    }
}

// Holds the file in the shared-use table while the command changes it; refuses a file that another
// program has open (the check and the registration are one step).
class FileHold {
public:
    explicit FileHold(const std::string &path) : path_(FullPath(path)), owner_(GuardOwner::Current()) {
        guard_ = OpenGuard();
        if (guard_->TryRegister(owner_, path_) == SharedUseGuard::Claim::UsedByAnother)
            throw CommandError(Plain(ReadOnlyText(path_, "celestigrafo-cli")));
    }
    ~FileHold() { guard_->Release(owner_, path_); }

    static std::unique_ptr<SharedUseGuard> OpenGuard() {
        try {
            return std::make_unique<SharedUseGuard>();
        } catch (const EMappingException &e) {
            throw CommandError(e.what());
        }
    }

private:
    std::string path_;
    GuardOwner owner_;
    std::unique_ptr<SharedUseGuard> guard_;
};

// A data file this command changes: registered before it is read and until the command ends, saved
// only over the file that was read. Refuses a file used by another program or not writable, and one
// with unreadable lines unless --keep-going was given.
class ChangedFile {
public:
    ChangedFile(const DbOptions &o, Database &db, RunContext &ctx)
        : guard_(FileHold::OpenGuard()), session_(guard_.get(), GuardOwner::Current()), ctx_(ctx) {
        RequireDataFileName(o.file);
        LoadReport report;
        try {
            session_.Open(FullPath(o.file), db, notifier_, ctx.format, &report);
        } catch (const FileError &e) {
            throw CommandError(e.what());
        }
        for (int line : report.failedLines)
            ctx.err << "celestigrafo-cli: " << o.file << ": línea " << line << ": " << kLineErrorText << '\n';
        ReportInvalid(o.file, report, ctx);
        switch (session_.GetAccess()) {
        case DataFileSession::Access::UsedByAnother:
            throw CommandError(Plain(ReadOnlyText(session_.Path(), "celestigrafo-cli")));
        case DataFileSession::Access::NotWritable: {
            int code = 0;
            MayReplace(session_.Path(), &code);
            throw CommandError(FileError(o.file, code ? code : EACCES).what());
        }
        case DataFileSession::Access::ReadWrite:
            break;
        }
        if (!report.failedLines.empty() && !o.keepGoing)
            throw CommandError(o.file + ": " + std::to_string(report.failedLines.size()) +
                               " line(s) could not be read and would be dropped by saving; nothing was "
                               "changed. Mend them, or run again with --keep-going to save anyway (the "
                               "original file is then kept as a dated copy beside it)");
    }

    void Save(Database &db) {
        try {
            session_.Save(db, ctx_.format, notifier_);
        } catch (const FileError &e) {
            throw CommandError(e.what());
        }
        if (!session_.BackupPath().empty())
            ctx_.err << "celestigrafo-cli: "
                     << Plain(BackupKeptText(session_.Path(), session_.BackupPath(),
                                             session_.UnreadableLines().size()))
                     << '\n';
    }

private:
    std::unique_ptr<SharedUseGuard> guard_;
    DataFileSession session_;
    CliNotifier notifier_;
    RunContext &ctx_;
};

int CountEvents(const Database &db) {
    std::size_t n = 0;
    for (const auto &p : db.Persons)
        n += p->Eventos.size();
    for (const auto &b : db.Businesses)
        n += b->Eventos.size();
    return static_cast<int>(n);
}

nlohmann::json InvalidJson(const LoadReport &report) {
    nlohmann::json list = nlohmann::json::array();
    for (const RecordProblem &p : report.invalidRecords)
        list.push_back(
            {{"kind", static_cast<int>(p.kind)}, {"id", p.id}, {"name", p.name}, {"problems", p.what}});
    return list;
}

void Info(const DbOptions &o, RunContext &ctx) {
    Database db;
    const LoadReport report = Load(o.file, db, ctx);
    const auto next = [&db](Kind k) { return db.Counter(k); };
    if (WantsJson(ctx, o.format)) {
        WriteJson(ctx, {{"file", o.file},
                        {"countries", db.Countries.size()},
                        {"places", db.Places.size()},
                        {"person_groups", db.PersonGroups.size()},
                        {"business_groups", db.BusinessGroups.size()},
                        {"persons", db.Persons.size()},
                        {"businesses", db.Businesses.size()},
                        {"events", CountEvents(db)},
                        {"next_id",
                         {{"countries", next(Kind::Country)},
                          {"places", next(Kind::Place)},
                          {"person_groups", next(Kind::PersonGroup)},
                          {"business_groups", next(Kind::BusinessGroup)},
                          {"persons", next(Kind::Person)},
                          {"businesses", next(Kind::Business)}}},
                        {"lines", report.lines},
                        {"failed_lines", report.failedLines},
                        {"invalid_records", InvalidJson(report)}});
        return;
    }
    ctx.out << "Archivo:            " << o.file << '\n'
            << "Países:             " << db.Countries.size() << "  (siguiente Id " << next(Kind::Country)
            << ")\n"
            << "Lugares geográficos:" << ' ' << db.Places.size() << "  (siguiente Id " << next(Kind::Place)
            << ")\n"
            << "Grupos de personas: " << db.PersonGroups.size() << "  (siguiente Id "
            << next(Kind::PersonGroup) << ")\n"
            << "Grupos de negocios: " << db.BusinessGroups.size() << "  (siguiente Id "
            << next(Kind::BusinessGroup) << ")\n"
            << "Personas:           " << db.Persons.size() << "  (siguiente Id " << next(Kind::Person)
            << ")\n"
            << "Negocios:           " << db.Businesses.size() << "  (siguiente Id " << next(Kind::Business)
            << ")\n"
            << "Eventos:            " << CountEvents(db) << '\n'
            << "Líneas:             " << report.lines << "  (con error: " << report.failedLines.size()
            << ")\n";
}

void Copy(const DbOptions &o, RunContext &ctx) {
    RequireDataFileName(o.second);
    Database db;
    const LoadReport report = Load(o.file, db, ctx);
    if (FullPath(o.file) == FullPath(o.second))
        throw CommandError("db copy: the new file is the file itself: " + o.second);
    // The lines that could not be read (listed above) would be missing from the copy.
    if (!report.failedLines.empty() && !o.keepGoing)
        throw CommandError(o.file + ": " + std::to_string(report.failedLines.size()) +
                           " line(s) could not be read and would be missing from the copy; nothing was "
                           "written. Run again with --keep-going to copy the rest");
    FileHold hold(o.second);
    Save(o.second, db, ctx);
    if (WantsJson(ctx, o.format))
        WriteJson(ctx, {{"file", o.file}, {"copy", o.second}, {"failed_lines", report.failedLines}});
    else
        ctx.out << "Copiado " << o.file << " en " << o.second << '\n';
}

void ExportCsv(const DbOptions &o, RunContext &ctx) {
    Database db;
    Load(o.file, db, ctx);
    std::string text;
    if (o.list == "paises")
        text = CountriesCsv(InNameOrder(db.Countries));
    else if (o.list == "lugares")
        text = PlacesCsv(db, InNameOrder(db.Places));
    else if (o.list == "grupos")
        text = PersonGroupsCsv(InNameOrder(db.PersonGroups));
    else if (o.list == "personas")
        text = PersonsCsv(db, InNameOrder(db.Persons), o.csv, ctx.format);
    else
        text = MailListCsv(InNameOrder(db.Persons));
    try {
        WriteCsvFile(o.out, text);
    } catch (const FileError &e) {
        throw CommandError(e.what());
    }
    if (WantsJson(ctx, o.format))
        WriteJson(ctx, {{"file", o.file}, {"list", o.list}, {"out", o.out}});
    else
        ctx.out << Plain(CsvCreatedText(o.out)) << '\n';
}

const char *OutcomeKey(PlaceOutcome o) {
    switch (o) {
    case PlaceOutcome::Added:
    case PlaceOutcome::AddedRenamed:
        return "added";
    case PlaceOutcome::AlreadyThere:
        return "already_there";
    case PlaceOutcome::NameDeclined:
        return "skipped_name_taken";
    case PlaceOutcome::DataRenamed:
    case PlaceOutcome::DataKept:
        return "same_data_as_stored";
    case PlaceOutcome::Refused:
        return "refused_impossible_values";
    }
    return "";
}

std::string OutcomeText(const Database &db, const PlaceResolution &r) {
    switch (r.outcome) {
    case PlaceOutcome::Added:
    case PlaceOutcome::AddedRenamed:
        return "añadido";
    case PlaceOutcome::AlreadyThere:
        return "ya estaba";
    case PlaceOutcome::NameDeclined:
        return "no añadido: ya hay un lugar con ese nombre y otros datos";
    case PlaceOutcome::DataRenamed:
    case PlaceOutcome::DataKept:
        return "no añadido: tiene los datos de \"" + NameOfId(db.Places, r.id) + "\"";
    case PlaceOutcome::Refused: {
        std::string text = "rechazado, valores imposibles: ";
        for (std::size_t i = 0; i < r.problems.size(); ++i)
            text += (i ? ", " : "") + r.problems[i];
        return text;
    }
    }
    return "";
}

nlohmann::json PlacesJson(const Database &db, const std::vector<PlaceResolution> &places) {
    nlohmann::json list = nlohmann::json::array();
    for (const auto &r : places) {
        nlohmann::json item = {{"name", r.name}, {"outcome", OutcomeKey(r.outcome)}, {"id", r.id}};
        if (r.id >= 0)
            item["stored_name"] = NameOfId(db.Places, r.id);
        if (!r.problems.empty())
            item["problems"] = r.problems;
        list.push_back(item);
    }
    return list;
}

void ImportLug(const DbOptions &o, RunContext &ctx) {
    Database db;
    ChangedFile data(o, db, ctx);
    CliNotifier notifier;
    std::optional<PlaceFile> file;
    try {
        file = OpenPlaceFile(o.second, notifier, ctx.format);
    } catch (const FileError &e) {
        throw CommandError(e.what());
    }
    for (int line : file ? file->failedLines : std::vector<int>{})
        ctx.err << "celestigrafo-cli: " << o.second << ": línea " << line << ": " << kLineErrorText << '\n';
    if (file)
        for (const RecordProblem &p : file->invalidPlaces)
            ctx.err << "celestigrafo-cli: " << o.second << ": valores imposibles: " << ProblemText(p) << '\n';
    if (!file)
        throw CommandError(
            Plain(notifier.messages.empty() ? InvalidFileText(o.second) : notifier.messages.back()));
    std::set<int> wanted(o.places.begin(), o.places.end());
    std::set<int> found;
    for (auto &p : file->places) {
        p->Marca = wanted.empty() || wanted.count(p->Id) ? 1 : 0;
        if (wanted.count(p->Id))
            found.insert(p->Id);
    }
    for (int id : wanted)
        if (!found.count(id))
            throw CommandError("--place " + std::to_string(id) + ": no place with that Id in " + o.second);
    for (auto &p : db.Places)
        p->Marca = 0;
    AddPlacesResult result;
    try {
        result = AddPlaces(db, file->country, file->places, notifier);
    } catch (const IdLimitError &e) {
        throw CommandError(e.what());
    }
    data.Save(db);
    int added = 0, refused = 0;
    for (const auto &r : result.places) {
        added += r.outcome == PlaceOutcome::Added || r.outcome == PlaceOutcome::AddedRenamed;
        refused += r.outcome == PlaceOutcome::Refused;
    }
    if (WantsJson(ctx, o.format)) {
        WriteJson(ctx, {{"file", o.file},
                        {"places_file", o.second},
                        {"country", file->country.Nombre},
                        {"country_added", result.countryAdded},
                        {"added", added},
                        {"refused", refused},
                        {"places", PlacesJson(db, result.places)}});
    } else {
        ctx.out << "País: " << file->country.Nombre << (result.countryAdded ? " (añadido)" : "") << '\n';
        for (const auto &r : result.places)
            ctx.out << "  " << r.name << ": " << OutcomeText(db, r) << '\n';
        ctx.out << "Lugares añadidos: " << added << " de " << result.places.size() << '\n';
    }
    // The others were added and saved; the exit code says that the import was partial.
    if (refused > 0)
        throw CommandError(o.second + ": " + std::to_string(refused) +
                               " lugar(es) con valores imposibles no se importaron (los demás sí)",
                           3);
}

void Merge(const DbOptions &o, RunContext &ctx) {
    RequireDataFileName(o.second);
    Database db;
    ChangedFile data(o, db, ctx);
    CliNotifier notifier;
    MergeResult result;
    try {
        result = MergeDataFile(db, o.second, notifier, ctx.format);
    } catch (const FileError &e) {
        throw CommandError(e.what());
    }
    if (!result.merged)
        throw CommandError(kSameFileText);
    for (int line : result.failedLines)
        ctx.err << "celestigrafo-cli: " << o.second << ": línea " << line << ": " << kLineErrorText << '\n';
    data.Save(db);
    std::vector<const PlaceResolution *> notAdded;
    for (const auto &r : result.places)
        if (r.outcome == PlaceOutcome::NameDeclined || r.outcome == PlaceOutcome::DataKept)
            notAdded.push_back(&r);
    if (WantsJson(ctx, o.format)) {
        std::vector<PlaceResolution> concerned;
        for (const auto *r : notAdded)
            concerned.push_back(*r);
        WriteJson(ctx, {{"file", o.file},
                        {"merged_file", o.second},
                        {"group", result.groupName},
                        {"countries_added", result.countriesAdded},
                        {"groups_added", result.groupsAdded},
                        {"persons_added", result.personsAdded},
                        {"places_not_added", PlacesJson(db, concerned)},
                        {"persons_without_place", result.personsWithoutPlace}});
        return;
    }
    ctx.out << "Anexado " << o.second << " a " << o.file << '\n'
            << "Países añadidos: " << result.countriesAdded << '\n'
            << "Grupos añadidos: " << result.groupsAdded << '\n'
            << "Personas añadidas: " << result.personsAdded << " (grupo \"" << result.groupName << "\")\n";
    if (!notAdded.empty()) {
        ctx.out << "Lugares no añadidos:\n";
        for (const auto *r : notAdded)
            ctx.out << "  " << r->name << ": " << OutcomeText(db, *r) << '\n';
    }
    if (!result.personsWithoutPlace.empty()) {
        ctx.out << "Personas que perdieron un lugar:\n";
        for (const auto &name : result.personsWithoutPlace)
            ctx.out << "  " << name << '\n';
    }
}

// Persons of an AAF file into a data file (created when missing): unreadable records are listed and
// the rest imported; the exit code says when the import was partial, unless --keep-going.
void ImportAafFile(const DbOptions &o, RunContext &ctx) {
    AafFile aaf;
    try {
        aaf = ReadAafFile(o.second);
    } catch (const FileError &e) {
        throw CommandError(e.what());
    }
    RequireDataFileName(o.file);
    std::error_code ec;
    if (!std::filesystem::exists(o.file, ec)) {
        Database empty;
        Save(o.file, empty, ctx);
    }
    Database db;
    ChangedFile data(o, db, ctx);
    AafImportResult result;
    try {
        result = ImportAaf(db, aaf, o.replace);
    } catch (const IdLimitError &e) {
        throw CommandError(e.what());
    }
    data.Save(db);
    for (const auto *list : {&aaf.problems, &result.notes})
        for (const AafProblem &p : *list)
            ctx.err << "celestigrafo-cli: " << o.second << ": línea " << p.line << ": " << p.reason << '\n';
    if (WantsJson(ctx, o.format)) {
        const auto json = [](const std::vector<AafProblem> &problems) {
            nlohmann::json list = nlohmann::json::array();
            for (const AafProblem &p : problems)
                list.push_back({{"line", p.line}, {"reason", p.reason}});
            return list;
        };
        const nlohmann::json unreadable = json(aaf.problems), skipped = json(result.skipped);
        WriteJson(ctx, {{"file", o.file},
                        {"aaf", o.second},
                        {"added", result.added},
                        {"replaced", result.replaced},
                        {"places_added", result.placesAdded},
                        {"countries_added", result.countriesAdded},
                        {"skipped", skipped},
                        {"unreadable", unreadable}});
    } else {
        for (const AafProblem &p : result.skipped)
            ctx.out << "  línea " << p.line << ": " << p.reason << (o.replace ? "" : " (omitida)") << '\n';
        ctx.out << "Personas añadidas: " << result.added << ", reemplazadas: " << result.replaced
                << ", omitidas: " << result.skipped.size() << ", ilegibles: " << aaf.problems.size() << '\n';
        ctx.out << "Lugares añadidos: " << result.placesAdded
                << ", países añadidos: " << result.countriesAdded << '\n';
    }
    if (!aaf.problems.empty() && !o.keepGoing)
        throw CommandError(o.second + ": " + std::to_string(aaf.problems.size()) +
                               " registro(s) ilegibles no se importaron (los demás sí); --keep-going acepta "
                               "una importación parcial",
                           3);
}

// The persons of a data file (or of one of its groups) as an AAF file.
void ExportAafFile(const DbOptions &o, RunContext &ctx) {
    Database db;
    Load(o.file, db, ctx);
    std::int32_t groupId = -1;
    if (!o.group.empty()) {
        for (const auto &g : db.PersonGroups)
            if (g->Nombre == o.group)
                groupId = g->Id;
        if (groupId < 0)
            throw CommandError("--group: no hay un grupo \"" + o.group + "\" en " + o.file);
    }
    std::vector<const TPersona *> persons;
    for (const auto &p : db.Persons) {
        bool inGroup = groupId < 0;
        for (const TId &g : p->Grupos)
            inGroup = inGroup || g.Id == groupId;
        if (inGroup)
            persons.push_back(p.get());
    }
    // Each place's zone (the user's choice, else the nearest atlas city of its country) as "#ZNAM".
    zones::PlaceZoneChoices choices;
    choices.Load(zones::DefaultChoicesFile());
    const zones::Atlas &atlas = zones::SharedAtlas();
    const auto zoneOf = [&](const TLugar_Geo &place) {
        return zones::ZoneOfPlace(db, place, atlas, &choices).zoneId;
    };
    const std::string text = WriteAafText(
        db, persons, o.encoding == "cp1252" ? AafEncoding::Windows1252 : AafEncoding::Utf8, zoneOf);
    try {
        WriteFileSafely(o.out, text);
    } catch (const FileError &e) {
        throw CommandError(e.what());
    }
    if (WantsJson(ctx, o.format))
        WriteJson(ctx, {{"file", o.file}, {"out", o.out}, {"persons", persons.size()}});
    else
        ctx.out << "Personas exportadas: " << persons.size() << " a " << o.out << '\n';
}

void AddDb(CLI::App &app, RunContext &ctx) {
    auto *db =
        app.add_subcommand("db", "Database files (.age): counts, copy, CSV export, place import, merge");
    db->require_subcommand(1);
    auto options = std::make_shared<DbOptions>();

    auto *info =
        db->add_subcommand("info", "Counts per kind, next-Id counters and failed lines of a data file");
    info->add_option("FILE", options->file, "Data file (.age)")->required();
    AddFormatOption(*info, options->format);
    info->callback([options, &ctx] { Info(*options, ctx); });

    auto *copy = db->add_subcommand("copy", "Load a data file and save it under a new name");
    copy->add_option("FILE", options->file, "Data file (.age)")->required();
    copy->add_option("NEW", options->second, "New data file (.age)")->required();
    copy->add_flag("--keep-going", options->keepGoing,
                   "Copy although some lines could not be read (they are listed and left out)");
    AddFormatOption(*copy, options->format);
    copy->callback([options, &ctx] { Copy(*options, ctx); });

    auto *csv = db->add_subcommand("export-csv", "Export every record of one kind, in name order, as CSV");
    csv->add_option("FILE", options->file, "Data file (.age)")->required();
    csv->add_option("--list", options->list, "paises, lugares, grupos, personas or correo")
        ->required()
        ->check(CLI::IsMember({"paises", "lugares", "grupos", "personas", "correo"}));
    csv->add_flag("--residencia", options->csv.residencia, "Persons: home address columns");
    csv->add_flag("--trabajo", options->csv.trabajo, "Persons: work address columns");
    csv->add_flag("--grupos", options->csv.grupos, "Persons: accepted, adds no column");
    csv->add_flag("--nacimiento", options->csv.nacimiento,
                  "Persons: birth place, date, time and GMT columns");
    csv->add_flag("--observaciones", options->csv.observaciones, "Persons: observations column");
    csv->add_option("--out", options->out, "CSV file to write")->required();
    AddFormatOption(*csv, options->format);
    csv->callback([options, &ctx] { ExportCsv(*options, ctx); });

    auto *lug = db->add_subcommand("import-lug", "Add the places of a place file (.lug) to a data file");
    lug->add_option("FILE", options->file, "Data file (.age)")->required();
    lug->add_option("PLACES", options->second, "Place file (.lug)")->required();
    lug->add_option("--place", options->places,
                    "Id of a place of the file to import (repeatable; default all)");
    lug->add_flag("--keep-going", options->keepGoing,
                  "Save even though some lines of FILE could not be read (they are dropped; the original "
                  "file is kept as a dated copy)");
    AddFormatOption(*lug, options->format);
    lug->callback([options, &ctx] { ImportLug(*options, ctx); });

    auto *merge =
        db->add_subcommand("merge", "Append the persons, places, countries and groups of another file");
    merge->add_option("FILE", options->file, "Data file (.age) that receives the data")->required();
    merge->add_option("OTHER", options->second, "Data file (.age) to append")->required();
    merge->add_flag("--keep-going", options->keepGoing,
                    "Save even though some lines of FILE could not be read (they are dropped; the "
                    "original file is kept as a dated copy)");
    AddFormatOption(*merge, options->format);
    merge->callback([options, &ctx] { Merge(*options, ctx); });

    auto *importAaf = db->add_subcommand("import-aaf", "Add the persons of an AAF file to a data file");
    importAaf->add_option("AAF", options->second, "AAF file (#A93/#B93 lines)")->required();
    importAaf->add_option("--into", options->file, "Data file (.age; created when missing)")->required();
    importAaf->add_flag(
        "--replace", options->replace,
        "Replace persons already there (same name and birth instant) instead of skipping them");
    importAaf->add_flag(
        "--keep-going", options->keepGoing,
        "Exit 0 although some records could not be read (they are listed; the rest is imported)");
    AddFormatOption(*importAaf, options->format);
    importAaf->callback([options, &ctx] { ImportAafFile(*options, ctx); });

    auto *exportAaf = db->add_subcommand("export-aaf", "Write the persons of a data file as an AAF file");
    exportAaf->add_option("FILE", options->file, "Data file (.age)")->required();
    exportAaf->add_option("--out", options->out, "AAF file to write")->required();
    exportAaf->add_option("--group", options->group, "Only the persons of this group");
    exportAaf->add_option("--encoding", options->encoding, "utf8 (default) or cp1252")
        ->check(CLI::IsMember({"utf8", "cp1252"}));
    AddFormatOption(*exportAaf, options->format);
    exportAaf->callback([options, &ctx] { ExportAafFile(*options, ctx); });

    db->footer("Examples:\n"
               "  celestigrafo-cli db info datos.age --format json\n"
               "  celestigrafo-cli db export-csv datos.age --list personas --nacimiento --out personas.csv\n"
               "  celestigrafo-cli db import-lug datos.age data/colombia.lug --place 1 --place 2\n"
               "Every question is answered \"no\"; the places or persons concerned are listed.");
}

const bool registered = RegisterCommand("db", AddDb);

} // namespace
} // namespace cel::cli
