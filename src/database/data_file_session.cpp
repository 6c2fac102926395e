#include "database/data_file_session.h"

#include <cerrno>

namespace cel::database {

DataFileSession::DataFileSession(SharedUseGuard *guard, GuardOwner owner) : guard_(guard), owner_(owner) {}

DataFileSession::~DataFileSession() {
    Close();
}

void DataFileSession::Close() {
    if (registered_ && guard_)
        guard_->Release(owner_, path_);
    registered_ = false;
    open_ = false;
    access_ = Access::ReadWrite;
    unreadable_.clear();
    original_.clear();
    backup_.clear();
    identity_ = {};
    splitAgreed_ = false;
}

bool DataFileSession::Open(const std::string &path, Database &db, Notifier &notifier,
                           const TextFormat &format, LoadReport *report) {
    if (IdentityOf(path).exists && !HasDataFileExtension(path)) {
        notifier.Notice(NoticeKind::Error, false, true, InvalidFileText(path));
        return false;
    }
    Close();
    path_ = path;
    // Register before reading, so that no other program can read, change and save the file between
    // our read and our registration.
    if (guard_) {
        switch (guard_->TryRegister(owner_, path)) {
        case SharedUseGuard::Claim::Registered:
            registered_ = true;
            break;
        case SharedUseGuard::Claim::UsedByAnother:
            access_ = Access::UsedByAnother;
            break;
        case SharedUseGuard::Claim::TableFull:
            break; // opened without registration, as the table has no room
        }
    }
    if (access_ == Access::ReadWrite && !MayReplace(path))
        access_ = Access::NotWritable;
    RemoveStaleTempFiles(path);
    std::string bytes;
    try {
        bytes = ReadWholeFile(path, &identity_);
    } catch (...) {
        Close();
        throw;
    }
    LoadReport r = LoadDataText(bytes, db, notifier, format);
    db.Path = path;
    open_ = true;
    unreadable_ = r.failedLines;
    if (!unreadable_.empty())
        original_ = std::move(bytes);
    if (report)
        *report = std::move(r);
    return true;
}

void DataFileSession::Save(Database &db, const TextFormat &format, Notifier &notifier) {
    switch (access_) {
    case Access::UsedByAnother:
        throw FileError(path_, EBUSY, "lo usa otro programa; aquí solo está abierto para lectura");
    case Access::NotWritable: {
        int code = EACCES;
        MayReplace(path_, &code);
        throw FileError(path_, code == 0 ? EACCES : code);
    }
    case Access::ReadWrite:
        break;
    }
    // Names of the file in other folders (hard links) would keep the old content: asked once.
    if (const int elsewhere = NamesElsewhere(path_); elsewhere > 0 && !splitAgreed_) {
        if (!notifier.Notice(NoticeKind::Question, true, true, OtherNamesText(path_, elsewhere)))
            throw FileError(path_, ECANCELED, OtherNamesRefusedText(elsewhere));
        splitAgreed_ = true;
    }
    if (!original_.empty()) {
        const std::string copy = SiblingPath(path_, "copia");
        WriteFileSafely(copy, original_);
        backup_ = copy;
        original_.clear();
        original_.shrink_to_fit();
        notifier.Notice(NoticeKind::Information, false, true,
                        BackupKeptText(path_, backup_, unreadable_.size()));
    }
    identity_ = SaveDataFile(path_, db, format, open_ ? &identity_ : nullptr);
    // The file is a new one now: the guard learns its identity.
    if (registered_ && guard_)
        guard_->Register(owner_, path_);
}

std::string OtherNamesText(const std::string &path, int elsewhere) {
    return "El archivo " + FileNameOf(path) + " tiene " +
           (elsewhere == 1 ? std::string("otro nombre (un enlace duro) en otra carpeta")
                           : std::to_string(elsewhere) + " nombres más (enlaces duros) en otras carpetas") +
           ".\r\rSi guarda, " + (elsewhere == 1 ? "ese nombre conservará" : "esos nombres conservarán") +
           " el contenido anterior y dejará de ser el mismo archivo.\r\r¿Guardar de todos modos?";
}

std::string OtherNamesRefusedText(int elsewhere) {
    return "no se guardó: " +
           std::string(elsewhere == 1 ? "su otro nombre (enlace duro) en otra carpeta conservaría"
                                      : "sus otros nombres (enlaces duros) en otras carpetas conservarían") +
           " el contenido anterior";
}

std::string BackupKeptText(const std::string &path, const std::string &backupPath, std::size_t lines) {
    return "El archivo " + FileNameOf(path) + " tenía " + std::to_string(lines) +
           (lines == 1 ? " línea que no se pudo leer" : " líneas que no se pudieron leer") +
           ".\r\rSu contenido original se guardó en:\r\r" + backupPath;
}

} // namespace cel::database
