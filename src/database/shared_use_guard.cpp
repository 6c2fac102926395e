#include "database/shared_use_guard.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "common/private_folder.h"
#include "common/system_error_text.h"
#include "database/data_file.h"

namespace cel::database {

namespace {

constexpr std::uint32_t kMagic = 0x43454C32; // "CEL2"
constexpr std::size_t kPathBytes = 4096;     // a whole Linux path: no cut, so no false match or miss

struct SharedSlot {
    std::int32_t pid; // 0 = free
    std::uint32_t length;
    std::uint64_t startTime;
    std::uint64_t window;
    std::uint64_t device; // the file the path named when registered; 0 when it did not exist
    std::uint64_t inode;
    char path[kPathBytes];
};

void SetFree(SharedSlot &s) {
    s.pid = 0;
    s.startTime = 0;
    s.window = 0;
    s.device = 0;
    s.inode = 0;
    s.length = 1;
    s.path[0] = '-';
}

std::string_view PathOf(const SharedSlot &s) {
    return {s.path, std::min<std::size_t>(s.length, kPathBytes)};
}

GuardOwner OwnerOf(const SharedSlot &s) {
    return {s.pid, s.startTime, s.window};
}

// True when the slot holds path or the same file as path under another name.
bool SameFile(const SharedSlot &s, const std::string &path, const struct stat *file) {
    if (PathOf(s) == path)
        return true;
    return file && s.inode != 0 && s.device == static_cast<std::uint64_t>(file->st_dev) &&
           s.inode == static_cast<std::uint64_t>(file->st_ino);
}

} // namespace

struct SharedUseGuard::Table {
    std::uint32_t magic;
    std::uint32_t slotCount;
    SharedSlot slots[kSlots];
};

// Holds the table's inter-process lock (an advisory lock on the table's file, released by the system
// when a holder dies) for one operation.
class SharedUseGuard::Lock {
public:
    explicit Lock(SharedUseGuard &g) : g_(g) {
        while (flock(g_.fd_, LOCK_EX) != 0) {
            if (errno != EINTR) {
                g_.lockError_ = errno; // recorded; the table is used without the lock
                return;
            }
        }
        held_ = true;
    }
    ~Lock() {
        if (held_)
            flock(g_.fd_, LOCK_UN);
    }

private:
    SharedUseGuard &g_;
    bool held_ = false;
};

EMappingException::EMappingException(int code, const std::string &detail)
    : std::runtime_error("Memory Mapping Error #" + std::to_string(code) +
                         (detail.empty() ? "" : ": " + detail)),
      code_(code) {}

std::uint64_t ProcessStartTime(std::int32_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!std::getline(in, line))
        return 0;
    const std::size_t paren = line.rfind(')');
    if (paren == std::string::npos)
        return 0;
    std::istringstream fields(line.substr(paren + 1));
    std::string field;
    // Fields after the command name start with the state (field 3); the start time is field 22.
    for (int k = 3; k <= 22; ++k)
        if (!(fields >> field))
            return 0;
    return std::strtoull(field.c_str(), nullptr, 10);
}

GuardOwner GuardOwner::Current(std::uint64_t window) {
    const std::int32_t pid = static_cast<std::int32_t>(getpid());
    return {pid, ProcessStartTime(pid), window};
}

bool OwnerAlive(const GuardOwner &owner) {
    if (owner.pid <= 0)
        return false;
    if (kill(owner.pid, 0) != 0 && errno == ESRCH)
        return false;
    const std::uint64_t start = ProcessStartTime(owner.pid);
    return start != 0 && start == owner.startTime;
}

std::string SharedUseGuard::TablePath(const std::string &name) {
    const std::string folder = PrivateRuntimeFolder();
    if (folder.empty())
        return {};
    return folder + "/" + (!name.empty() && name.front() == '/' ? name.substr(1) : name);
}

SharedUseGuard::SharedUseGuard(const std::string &name) : table_(std::make_unique<Table>()) {
    int folderError = 0;
    if (PrivateRuntimeFolder(&folderError).empty())
        throw EMappingException(folderError,
                                "no hay una carpeta privada de este usuario para la tabla de uso "
                                "compartido: " +
                                    SystemErrorText(folderError));
    file_ = TablePath(name);
    const auto failure = [this](int e, const char *step) {
        return EMappingException(e, "la tabla de uso compartido " + file_ + " (" + step +
                                        "): " + SystemErrorText(e));
    };
    // Only this user's programs ever open it: the folder is the user's own and closed to others.
    fd_ = open(file_.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
    if (fd_ < 0)
        throw failure(errno, "abrir");
    struct stat st {};
    if (fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != geteuid() || (st.st_mode & 077) != 0) {
        const int e = S_ISREG(st.st_mode) ? EPERM : EINVAL;
        close(fd_);
        fd_ = -1;
        throw failure(e, "no es un archivo privado de este usuario");
    }
    Lock lock(*this);
    Load(); // a new or foreign file starts with every slot free
    Store();
}

SharedUseGuard::~SharedUseGuard() {
    holds_.clear();
    if (fd_ >= 0)
        close(fd_);
}

void SharedUseGuard::Remove(const std::string &name) {
    if (const std::string file = TablePath(name); !file.empty())
        unlink(file.c_str());
}

// The table as stored; anything else (a new file, a short one, another program's bytes) reads as a
// table with every slot free, so a damaged table can never stop or crash a program.
void SharedUseGuard::Load() {
    std::size_t done = 0;
    char *bytes = reinterpret_cast<char *>(table_.get());
    while (done < sizeof(Table)) {
        const ssize_t n = pread(fd_, bytes + done, sizeof(Table) - done, static_cast<off_t>(done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    if (done != sizeof(Table) || table_->magic != kMagic || table_->slotCount != kSlots) {
        for (SharedSlot &s : table_->slots)
            SetFree(s);
        table_->slotCount = kSlots;
        table_->magic = kMagic;
    }
}

bool SharedUseGuard::Store() {
    std::size_t done = 0;
    const char *bytes = reinterpret_cast<const char *>(table_.get());
    while (done < sizeof(Table)) {
        const ssize_t n = pwrite(fd_, bytes + done, sizeof(Table) - done, static_cast<off_t>(done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

SharedUseGuard::HoldKey SharedUseGuard::KeyOf(const GuardOwner &owner, const std::string &path) {
    return {owner.pid, owner.startTime, owner.window, path};
}

void SharedUseGuard::HoldLock(const GuardOwner &owner, const std::string &path) {
    FileLockHold hold;
    if (HoldFileLock(path, &hold) == FileLockResult::Held)
        holds_[KeyOf(owner, path)] = std::move(hold);
}

void SharedUseGuard::DropStaleHolds(const GuardOwner &owner) {
    std::erase_if(holds_, [&](const auto &entry) {
        const auto &[pid, startTime, window, path] = entry.first;
        if (!(GuardOwner{pid, startTime, window} == owner))
            return false;
        for (const SharedSlot &s : table_->slots)
            if (s.pid != 0 && OwnerOf(s) == owner && PathOf(s) == path)
                return false;
        return true; // the registration was overwritten: its file is no longer held
    });
}

bool SharedUseGuard::Register(const GuardOwner &owner, const std::string &path) {
    Lock lock(*this);
    Load();
    if (!RegisterLocked(owner, path) || !Store())
        return false;
    DropStaleHolds(owner);
    HoldLock(owner, path);
    return true;
}

bool SharedUseGuard::RegisterLocked(const GuardOwner &owner, const std::string &path) {
    if (path.size() > kPathBytes)
        return false;
    struct stat file {};
    const bool exists = stat(path.c_str(), &file) == 0;
    // The owner's own slot for this path first, so that a new registration updates it.
    SharedSlot *chosen = nullptr;
    for (SharedSlot &s : table_->slots)
        if (s.pid != 0 && OwnerOf(s) == owner && PathOf(s) == path) {
            chosen = &s;
            break;
        }
    for (SharedSlot &s : table_->slots) {
        if (chosen)
            break;
        if (s.pid == 0 || OwnerOf(s) == owner || !OwnerAlive(OwnerOf(s)))
            chosen = &s;
    }
    if (!chosen)
        return false;
    std::memcpy(chosen->path, path.data(), path.size());
    chosen->length = static_cast<std::uint32_t>(path.size());
    chosen->pid = owner.pid;
    chosen->startTime = owner.startTime;
    chosen->window = owner.window;
    chosen->device = exists ? static_cast<std::uint64_t>(file.st_dev) : 0;
    chosen->inode = exists ? static_cast<std::uint64_t>(file.st_ino) : 0;
    return true;
}

bool SharedUseGuard::UsedByAnother(const GuardOwner &owner, const std::string &path) {
    Lock lock(*this);
    Load();
    return UsedByAnotherLocked(owner, path) || FileLockedByAnother(path);
}

bool SharedUseGuard::UsedByAnotherLocked(const GuardOwner &owner, const std::string &path) {
    struct stat file {};
    const bool exists = stat(path.c_str(), &file) == 0;
    for (const SharedSlot &s : table_->slots)
        if (s.pid != 0 && !(OwnerOf(s) == owner) && SameFile(s, path, exists ? &file : nullptr) &&
            OwnerAlive(OwnerOf(s)))
            return true;
    return false;
}

SharedUseGuard::Claim SharedUseGuard::TryRegister(const GuardOwner &owner, const std::string &path) {
    Lock lock(*this);
    Load();
    if (UsedByAnotherLocked(owner, path))
        return Claim::UsedByAnother;
    // Another user's program (or one of ours that keeps another table) holds the file itself.
    FileLockHold hold;
    const FileLockResult taken = HoldFileLock(path, &hold);
    if (taken == FileLockResult::HeldByAnother ||
        (taken == FileLockResult::Unavailable && FileLockedByAnother(path)))
        return Claim::UsedByAnother;
    if (!RegisterLocked(owner, path) || !Store())
        return Claim::TableFull; // not registered: the lock is let go with it
    DropStaleHolds(owner);
    if (hold)
        holds_[KeyOf(owner, path)] = std::move(hold);
    return Claim::Registered;
}

void SharedUseGuard::Release(const GuardOwner &owner, const std::string &path) {
    Lock lock(*this);
    holds_.erase(KeyOf(owner, path));
    Load();
    for (int i = 0; i < kSlots; ++i) {
        SharedSlot &s = table_->slots[i];
        if (s.pid != 0 && OwnerOf(s) == owner && PathOf(s) == path) {
            for (int k = i; k + 1 < kSlots; ++k)
                table_->slots[k] = table_->slots[k + 1];
            SetFree(table_->slots[kSlots - 1]);
            Store();
            return;
        }
    }
}

bool SharedUseGuard::ReadOnlyCheck(const GuardOwner &owner, const std::string &path, Notifier &notifier,
                                   const std::string &applicationTitle) {
    if (!UsedByAnother(owner, path))
        return false;
    notifier.Notice(NoticeKind::Information, false, false, ReadOnlyText(path, applicationTitle));
    return true;
}

std::vector<SharedUseGuard::Slot> SharedUseGuard::Slots() {
    Lock lock(*this);
    Load();
    std::vector<Slot> slots;
    for (const SharedSlot &s : table_->slots)
        slots.push_back({s.pid == 0, std::string(PathOf(s)), OwnerOf(s), s.device, s.inode});
    return slots;
}

std::string ReadOnlyText(const std::string &path, const std::string &applicationTitle) {
    return std::string("El archivo de datos") + " [" + FileNameOf(path) + "] " +
           "esta siendo usado por otro(s) programa(s) y solo se abrirá en modo de LECTURA.\r\r" + " " +
           "Lo cual significa que no puede agregar, modificar o eliminar datos de este archivo.\r\r" + " " +
           "Si desea modificar este archivo, desde el programa -" + " " + applicationTitle + " " +
           "-, debe cerrar el/los otro(s) programa(s) que este(n) usando este archivo.";
}

} // namespace cel::database
