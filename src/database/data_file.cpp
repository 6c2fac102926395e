#include "database/data_file.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <sys/stat.h>

#include "common/number_text.h"
#include "common/safe_file.h"
#include "common/text_lines.h"
#include "common/windows1252.h"

namespace cel::database {

namespace {

constexpr char kFieldSep = '\xE2'; // â
constexpr char kListSep = '\xDF';  // ß
constexpr char kEventSep = '\xEA'; // ê
constexpr int kMaxFields = 16;

// The fields of a line or sub-record: field k is the text between the k-th and (k+1)-th separator;
// text before the first separator and after the last one belongs to no field.
struct Fields {
    std::string_view f[kMaxFields];
    int count = 0;

    Fields(std::string_view text, char sep) {
        std::size_t p = text.find(sep);
        while (p != std::string_view::npos && count < kMaxFields) {
            const std::size_t q = text.find(sep, p + 1);
            if (q == std::string_view::npos)
                break;
            f[count++] = text.substr(p + 1, q - p - 1);
            p = q;
        }
    }
    bool Has(int k) const { return k <= count; }
    std::string_view operator[](int k) const { return f[k - 1]; }
};

// Calls fn for each non-empty piece of a list field.
template <class Fn> bool ForEachPiece(std::string_view text, char sep, Fn fn) {
    std::size_t p = text.find(sep);
    while (p != std::string_view::npos) {
        const std::size_t q = text.find(sep, p + 1);
        if (q == std::string_view::npos)
            break;
        if (q > p + 1 && !fn(text.substr(p + 1, q - p - 1)))
            return false;
        p = q;
    }
    return true;
}

void SetText(std::string &field, std::string_view bytes) {
    field.clear();
    AppendWindows1252AsUtf8(field, bytes);
}

bool SetInt(std::int32_t &field, std::string_view text) {
    return ParseInt32(text, field);
}

bool SetByte(std::uint8_t &field, std::string_view text) {
    std::int32_t v = 0;
    if (!ParseInt32(text, v))
        return false;
    field = static_cast<std::uint8_t>(v);
    return true;
}

// Events by Fecha, latest first; equal dates keep their order.
[[gnu::noinline]] void SortLatestFirst(std::vector<TEvento> &list) {
    if (list.size() > 1)
        std::stable_sort(list.begin(), list.end(),
                         [](const TEvento &a, const TEvento &b) { return a.Fecha > b.Fecha; });
}

class LineReader {
public:
    explicit LineReader(char sep) : sep_(sep) {}

    bool Address(std::string_view text, TLugar &a) const {
        const Fields f(text, kListSep);
        if (f.Has(1) && !SetInt(a.IdLugarGeo, f[1]))
            return false;
        std::string *texts[5] = {&a.Dir, &a.Tel, &a.Cel, &a.Fax, &a.Web};
        for (int k = 2; k <= 6 && f.Has(k); ++k)
            SetText(*texts[k - 2], f[k]);
        if (f.Has(7) && !SetByte(a.EmailValido, f[7]))
            return false;
        if (f.Has(8))
            SetText(a.Email, f[8]);
        return true;
    }

    bool References(std::string_view text, std::vector<TId> &list) const {
        return ForEachPiece(text, kListSep, [&list](std::string_view piece) {
            TId ref;
            if (!ParseInt32(piece, ref.Id))
                return false;
            list.push_back(ref);
            return true;
        });
    }

    bool Events(std::string_view text, std::vector<TEvento> &list) const {
        const bool ok = ForEachPiece(text, kListSep, [&](std::string_view piece) {
            TEvento e;
            e.Id = static_cast<std::int32_t>(list.size() + 1);
            const Fields f(piece, kEventSep);
            if (f.Has(1))
                SetText(e.Nombre, f[1]);
            if ((f.Has(2) && !SetInt(e.IdLugarGeo, f[2])) || (f.Has(3) && !SetByte(e.IsDate, f[3])) ||
                (f.Has(4) && !SetByte(e.IsHora, f[4])) || (f.Has(5) && !ParseReal(f[5], sep_, e.Fecha)) ||
                (f.Has(6) && !SetInt(e.HoraUT, f[6])))
                return false;
            list.push_back(std::move(e));
            return true;
        });
        SortLatestFirst(list);
        return ok;
    }

    bool Data(const Fields &f, TData &r) const {
        if (f.Has(1) && !SetInt(r.Id, f[1]))
            return false;
        if (f.Has(2))
            SetText(r.Nombre, f[2]);
        return true;
    }

    bool Place(const Fields &f, TLugar_Geo &r) const {
        if (!Data(f, r))
            return false;
        if ((f.Has(3) && !SetInt(r.IdPais, f[3])) || (f.Has(4) && !SetInt(r.DST, f[4])) ||
            (f.Has(5) && !ParseReal(f[5], sep_, r.TZ)) || (f.Has(6) && !ParseReal(f[6], sep_, r.Lat)) ||
            (f.Has(7) && !ParseReal(f[7], sep_, r.Lon)))
            return false;
        if (f.Has(8))
            SetText(r.Descripcion, f[8]);
        return true;
    }

    bool Person(const Fields &f, TPersona &r) const {
        if (!Data(f, r))
            return false;
        if (f.Has(3))
            SetText(r.Apellidos, f[3]);
        if ((f.Has(4) && !SetInt(r.IdLugarNac, f[4])) || (f.Has(5) && !SetByte(r.IsDate, f[5])) ||
            (f.Has(6) && !SetByte(r.IsHora, f[6])) || (f.Has(7) && !ParseReal(f[7], sep_, r.Fecha)) ||
            (f.Has(8) && !SetInt(r.HoraUT, f[8])) || (f.Has(9) && !SetInt(r.Sexo, f[9])) ||
            (f.Has(10) && !Address(f[10], r.Residencia)) || (f.Has(11) && !Address(f[11], r.Trabajo)) ||
            (f.Has(12) && !References(f[12], r.Grupos)) || (f.Has(13) && !Events(f[13], r.Eventos)))
            return false;
        if (f.Has(14))
            SetText(r.Observaciones, f[14]);
        return true;
    }

    bool Business(const Fields &f, TNegocio &r) const {
        if (!Data(f, r))
            return false;
        if ((f.Has(3) && !SetInt(r.CIUU, f[3])) || (f.Has(4) && !SetByte(r.Indicador, f[4])) ||
            (f.Has(5) && !ParseReal(f[5], sep_, r.Fecha)) || (f.Has(6) && !Address(f[6], r.Direccion)) ||
            (f.Has(7) && !References(f[7], r.Referencias)) || (f.Has(8) && !References(f[8], r.Grupos)) ||
            (f.Has(9) && !Events(f[9], r.Eventos)))
            return false;
        if (f.Has(10))
            ForEachPiece(f[10], kListSep, [&r](std::string_view piece) {
                r.Textos.push_back(Windows1252ToUtf8(piece));
                return true;
            });
        return true;
    }

private:
    char sep_;
};

// The largest Id of a kind read so far.
struct MaxIds {
    std::int64_t value[kKindCount];
    MaxIds() { std::fill(value, value + kKindCount, std::int64_t{-1}); }
    void Note(Kind k, std::int32_t id) {
        auto &v = value[static_cast<int>(k)];
        v = std::max<std::int64_t>(v, id);
    }
};

template <class T>
bool ReadRecord(RecordList<T> &list, MaxIds &ids, Kind kind, bool ok, std::unique_ptr<T> r) {
    if (!ok)
        return false;
    ids.Note(kind, r->Id);
    list.push_back(std::move(r));
    return true;
}

// Where a text is written: a separator is removed only where it would break the structure ("â" and
// line breaks anywhere, "ß" inside sub-records and lists, "ê" inside events); every other byte is
// written as it is, so text read from a file comes back unchanged.
enum class Level { Line, SubRecord, Event };

void PutText(std::string &out, std::string_view utf8, Level level = Level::Line) {
    const std::size_t start = out.size();
    AppendUtf8AsWindows1252(out, utf8);
    const auto bad = [level](char c) {
        return c == kFieldSep || c == '\r' || c == '\n' || (level != Level::Line && c == kListSep) ||
               (level == Level::Event && c == kEventSep);
    };
    if (std::any_of(out.begin() + static_cast<std::ptrdiff_t>(start), out.end(), bad))
        out.erase(std::remove_if(out.begin() + static_cast<std::ptrdiff_t>(start), out.end(), bad),
                  out.end());
}

void PutInt(std::string &out, std::int64_t v) {
    char buf[24];
    const auto res = std::to_chars(buf, buf + sizeof buf, v);
    out.append(buf, res.ptr);
}

class LineWriter {
public:
    LineWriter(std::string &out, char sep) : out_(out), sep_(sep) {}

    void Field() { out_ += kFieldSep; }
    void Text(std::string_view s) {
        PutText(out_, s);
        out_ += kFieldSep;
    }
    void Int(std::int64_t v) {
        PutInt(out_, v);
        out_ += kFieldSep;
    }
    void Real(double v) {
        AppendReal(out_, v, sep_, ScientificForm::From1E15);
        out_ += kFieldSep;
    }
    void Real(long double v) {
        AppendReal(out_, v, sep_, ScientificForm::From1E15);
        out_ += kFieldSep;
    }
    void Address(const TLugar &a) {
        out_ += kListSep;
        PutInt(out_, a.IdLugarGeo);
        for (const std::string *s : {&a.Dir, &a.Tel, &a.Cel, &a.Fax, &a.Web}) {
            out_ += kListSep;
            PutText(out_, *s, Level::SubRecord);
        }
        out_ += kListSep;
        PutInt(out_, a.EmailValido);
        out_ += kListSep;
        PutText(out_, a.Email, Level::SubRecord);
        out_ += kListSep;
        out_ += kFieldSep;
    }
    void References(const std::vector<TId> &list) {
        for (const TId &r : list) {
            out_ += kListSep;
            PutInt(out_, r.Id);
        }
        out_ += kListSep;
        out_ += kFieldSep;
    }
    void Events(const std::vector<TEvento> &list) {
        for (const TEvento &e : list) {
            out_ += kListSep;
            out_ += kEventSep;
            PutText(out_, e.Nombre, Level::Event);
            out_ += kEventSep;
            PutInt(out_, e.IdLugarGeo);
            out_ += kEventSep;
            PutInt(out_, e.IsDate);
            out_ += kEventSep;
            PutInt(out_, e.IsHora);
            out_ += kEventSep;
            AppendReal(out_, e.Fecha, sep_, ScientificForm::From1E15);
            out_ += kEventSep;
            PutInt(out_, e.HoraUT);
            out_ += kEventSep;
        }
        out_ += kListSep;
        out_ += kFieldSep;
    }
    void Texts(const std::vector<std::string> &list) {
        for (const std::string &s : list) {
            out_ += kListSep;
            PutText(out_, s, Level::SubRecord);
        }
        out_ += kListSep;
        out_ += kFieldSep;
    }
    void Begin(char tag) {
        out_ += tag;
        out_ += kFieldSep;
    }
    void End() { out_ += "\r\n"; }

private:
    std::string &out_;
    char sep_;
};

// Writes every line through emit(chunk) in chunks of about a megabyte.
template <class Emit> void WriteLines(Database &db, char sep, Emit emit) {
    db.SortAllById();
    std::string out;
    out.reserve(1 << 20);
    LineWriter w(out, sep);
    const auto flush = [&](bool force) {
        if (force || out.size() >= (1 << 20) - 4096) {
            emit(std::string_view(out));
            out.clear();
        }
    };
    for (const auto &r : db.Countries) {
        w.Begin('P');
        w.Int(r->Id);
        w.Text(r->Nombre);
        w.End();
        flush(false);
    }
    for (const auto *list : {&db.PersonGroups, &db.BusinessGroups}) {
        const char tag = list == &db.PersonGroups ? 'G' : 'E';
        for (const auto &r : *list) {
            w.Begin(tag);
            w.Int(r->Id);
            w.Text(r->Nombre);
            w.End();
            flush(false);
        }
    }
    for (const auto &r : db.Places) {
        w.Begin('L');
        w.Int(r->Id);
        w.Text(r->Nombre);
        w.Int(r->IdPais);
        w.Int(r->DST);
        w.Real(r->TZ);
        w.Real(r->Lat);
        w.Real(r->Lon);
        w.Text(r->Descripcion);
        w.End();
        flush(false);
    }
    for (const auto &r : db.Persons) {
        w.Begin('I');
        w.Int(r->Id);
        w.Text(r->Nombre);
        w.Text(r->Apellidos);
        w.Int(r->IdLugarNac);
        w.Int(r->IsDate);
        w.Int(r->IsHora);
        w.Real(r->Fecha);
        w.Int(r->HoraUT);
        w.Int(r->Sexo);
        w.Address(r->Residencia);
        w.Address(r->Trabajo);
        w.References(r->Grupos);
        w.Events(r->Eventos);
        w.Text(r->Observaciones);
        w.End();
        flush(false);
    }
    for (const auto &r : db.Businesses) {
        w.Begin('N');
        w.Int(r->Id);
        w.Text(r->Nombre);
        w.Int(r->CIUU);
        w.Int(r->Indicador);
        w.Real(r->Fecha);
        w.Address(r->Direccion);
        w.References(r->Referencias);
        w.References(r->Grupos);
        w.Events(r->Eventos);
        w.Texts(r->Textos);
        w.End();
        flush(false);
    }
    flush(true);
}

} // namespace

LoadReport LoadDataText(std::string_view bytes, Database &db, Notifier &notifier, const TextFormat &format,
                        bool merging) {
    db.Countries.clear();
    db.PersonGroups.clear();
    db.BusinessGroups.clear();
    db.Places.clear();
    db.Persons.clear();
    db.Businesses.clear();
    LoadReport report;
    const LineReader reader(format.decimalSeparator);
    MaxIds ids;
    TextLines lines(bytes);
    for (std::string_view line; lines.Next(line);) {
        ++report.lines;
        bool ok = true;
        if (line.empty()) {
            ok = false;
        } else {
            const Fields f(line, kFieldSep);
            switch (line[0]) {
            case 'P': {
                auto r = std::make_unique<TPais>();
                ok = reader.Data(f, *r);
                ok = ReadRecord(db.Countries, ids, Kind::Country, ok, std::move(r));
                break;
            }
            case 'G': {
                auto r = std::make_unique<TData>();
                ok = reader.Data(f, *r);
                ok = ReadRecord(db.PersonGroups, ids, Kind::PersonGroup, ok, std::move(r));
                break;
            }
            case 'E': {
                auto r = std::make_unique<TData>();
                ok = reader.Data(f, *r);
                ok = ReadRecord(db.BusinessGroups, ids, Kind::BusinessGroup, ok, std::move(r));
                break;
            }
            case 'L': {
                auto r = std::make_unique<TLugar_Geo>();
                ok = reader.Place(f, *r);
                ok = ReadRecord(db.Places, ids, Kind::Place, ok, std::move(r));
                break;
            }
            case 'I': {
                auto r = std::make_unique<TPersona>();
                ok = reader.Person(f, *r);
                ok = ReadRecord(db.Persons, ids, Kind::Person, ok, std::move(r));
                break;
            }
            case 'N': {
                auto r = std::make_unique<TNegocio>();
                ok = reader.Business(f, *r);
                ok = ReadRecord(db.Businesses, ids, Kind::Business, ok, std::move(r));
                break;
            }
            default:
                break; // not a record line
            }
        }
        if (!ok) {
            report.failedLines.push_back(report.lines);
            notifier.Notice(NoticeKind::Error, false, true, kLineErrorText);
        }
    }
    if (!report.failedLines.empty())
        notifier.Notice(NoticeKind::Error, false, true, kFileErrorText);
    report.invalidRecords = CheckRecords(db);
    if (!merging)
        for (int k = 0; k < kKindCount; ++k)
            db.NextId[k] = std::max<std::int64_t>(ids.value[k] + 1, 0);
    return report;
}

LoadReport LoadDataFile(const std::string &path, Database &db, Notifier &notifier, const TextFormat &format,
                        bool merging) {
    const std::string bytes = ReadWholeFile(path);
    return LoadDataText(bytes, db, notifier, format, merging);
}

bool OpenDataFile(const std::string &path, Database &db, Notifier &notifier, const TextFormat &format,
                  LoadReport *report) {
    struct stat st {};
    if (stat(path.c_str(), &st) == 0 && !HasDataFileExtension(path)) {
        notifier.Notice(NoticeKind::Error, false, true, InvalidFileText(path));
        return false;
    }
    LoadReport r = LoadDataFile(path, db, notifier, format);
    db.Path = path;
    if (report)
        *report = std::move(r);
    return true;
}

std::string DataFileText(Database &db, const TextFormat &format) {
    std::string all;
    WriteLines(db, format.decimalSeparator, [&all](std::string_view chunk) { all.append(chunk); });
    return all;
}

FileIdentity SaveDataFile(const std::string &path, Database &db, const TextFormat &format,
                          const FileIdentity *expected) {
    FileIdentity written;
    try {
        SafeFileWriter writer(path, expected);
        WriteLines(db, format.decimalSeparator, [&writer](std::string_view chunk) { writer.Write(chunk); });
        written = writer.Commit();
    } catch (...) {
        db.SortAllByName();
        throw;
    }
    db.SortAllByName();
    return written;
}

bool ParseNamedLine(std::string_view line, char fieldSeparator, TData &record) {
    return LineReader(',').Data(Fields(line, fieldSeparator), record);
}

bool ParsePlaceLine(std::string_view line, char fieldSeparator, char decimalSeparator, TLugar_Geo &place) {
    return LineReader(decimalSeparator).Place(Fields(line, fieldSeparator), place);
}

bool HasExtension(const std::string &path, std::string_view ext) {
    const std::string name = FileNameOf(path);
    if (name.size() < ext.size())
        return false;
    return SameIgnoringAsciiCase(std::string_view(name).substr(name.size() - ext.size()), ext);
}

bool HasDataFileExtension(const std::string &path) {
    return HasExtension(path, ".age");
}

std::string FileNameOf(const std::string &path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string InvalidFileText(const std::string &path) {
    return "El archivo:\r\r" + FileNameOf(path) + "\r\r" + "no es un archivo valido del programa " +
           "Tarjaro";
}

} // namespace cel::database
