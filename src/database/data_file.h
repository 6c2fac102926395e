// The data file (".age"): the whole database as Windows-1252 text, one record per line with CR LF,
// fields separated by "â" and sub-fields by "ß" and "ê". Written whole after every change.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "common/notifier.h"
#include "common/safe_file.h"
#include "common/text_format.h"
#include "database/database.h"
#include "database/record_checks.h"

namespace cel::database {

// What a load met: the lines read and those that failed (1-based line numbers).
struct LoadReport {
    int lines = 0;
    std::vector<int> failedLines;
    // Records read whole but holding impossible values: kept as they are, never used for a chart.
    std::vector<RecordProblem> invalidRecords;
};

// The notices of a load with failed lines: one per line, then one at the end.
inline constexpr const char *kLineErrorText = "Error al leer un item el archivo";
inline constexpr const char *kFileErrorText =
    "Brisco!!..... Hubo un error con el archivo. Hacer rutina para validar datos";

// Reads a data file into target, replacing its six lists. Unless merging, every next-Id counter
// becomes the largest Id read of its kind plus one (0 when none was read). A line that fails is
// skipped and reported through the notifier. Throws FileError when the file cannot be read.
LoadReport LoadDataFile(const std::string &path, Database &target, Notifier &notifier,
                        const TextFormat &format, bool merging = false);
// The same from the file's bytes.
LoadReport LoadDataText(std::string_view bytes, Database &target, Notifier &notifier,
                        const TextFormat &format, bool merging = false);

// Opens a data file as the current one: an existing file whose extension is not ".age" is refused
// with the notice of InvalidFileText (false); otherwise loads it and sets db.Path. Throws FileError.
bool OpenDataFile(const std::string &path, Database &db, Notifier &notifier, const TextFormat &format,
                  LoadReport *report = nullptr);

// Writes the whole database (each list in Id order) to path, replacing the file safely; afterwards the
// lists are in name order. Throws FileError; the old file is then unchanged. With expected (the file
// as it was read), a file changed on disk since is not overwritten (FileChangedError). Returns the
// identity of the file written.
FileIdentity SaveDataFile(const std::string &path, Database &db, const TextFormat &format,
                          const FileIdentity *expected = nullptr);
// The bytes a save writes (lists sorted by Id on return).
std::string DataFileText(Database &db, const TextFormat &format);

// One line's fields with a given field separator, as the data file reads them (the place file uses
// the same layout with "!"); false when a number does not parse.
bool ParseNamedLine(std::string_view line, char fieldSeparator, TData &record);
bool ParsePlaceLine(std::string_view line, char fieldSeparator, char decimalSeparator, TLugar_Geo &place);

// True when the path's extension, ignoring case, is ".age".
bool HasDataFileExtension(const std::string &path);

// True when the path's extension, ignoring case, is ext (with its dot).
bool HasExtension(const std::string &path, std::string_view ext);
// "El archivo:\r\r<name>\r\rno es un archivo valido del programa Tarjaro".
std::string InvalidFileText(const std::string &path);
// The file name without its folder.
std::string FileNameOf(const std::string &path);

} // namespace cel::database
