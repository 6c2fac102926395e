#include "shared_use_guard.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "common/system_error_text.h"
#include "data_file.h"

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

// Start time of a process in clock ticks since boot, 0 when it does not exist.
std::uint64_t StartTimeOf(std::int32_t pid) {
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

// True when the slot holds path or the same file as path under another name.
bool SameFile(const SharedSlot &s, const std::string &path, const struct stat *file) {
    if (PathOf(s) == path)
        return true;
    return file && s.inode != 0 && s.device == static_cast<std::uint64_t>(file->st_dev) &&
           s.inode == static_cast<std::uint64_t>(file->st_ino);
}

std::string ShmPath(const std::string &name) {
    return "/dev/shm" + (name.empty() || name.front() != '/' ? "/" + name : name);
}

} // namespace

struct SharedUseGuard::Table {
    std::uint32_t magic;
    std::uint32_t slotCount;
    SharedSlot slots[kSlots];
};

// Holds the table's inter-process lock (an advisory lock on the shared-memory object, released by
// the system when a holder dies) for one operation.
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

GuardOwner GuardOwner::Current(std::uint64_t window) {
    const std::int32_t pid = static_cast<std::int32_t>(getpid());
    return {pid, StartTimeOf(pid), window};
}

bool OwnerAlive(const GuardOwner &owner) {
    if (owner.pid <= 0)
        return false;
    if (kill(owner.pid, 0) != 0 && errno == ESRCH)
        return false;
    const std::uint64_t start = StartTimeOf(owner.pid);
    return start != 0 && start == owner.startTime;
}

SharedUseGuard::SharedUseGuard(const std::string &name) {
    const std::string object = ShmPath(name);
    const auto failure = [&object](int e, const char *step) {
        std::string detail =
            "la tabla de uso compartido " + object + " (" + step + "): " + SystemErrorText(e);
        if (e == EACCES)
            detail += "; la creó otro usuario sin permiso de escritura para todos: ciérrense los programas "
                      "que la usan o bórrese el archivo";
        return EMappingException(e, detail);
    };
    // Every local user of the programs shares the table, whatever the creator's umask: a table made
    // now gets mode 0666 explicitly.
    fd_ = shm_open(name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd_ >= 0) {
        fchmod(fd_, 0666);
    } else if (errno == EEXIST) {
        fd_ = shm_open(name.c_str(), O_RDWR | O_CLOEXEC, 0666);
        // A table made by an older version with the creator's umask is opened up by its owner.
        struct stat st {};
        if (fd_ >= 0 && fstat(fd_, &st) == 0 && st.st_uid == geteuid() && (st.st_mode & 0666) != 0666)
            fchmod(fd_, 0666);
    }
    if (fd_ < 0)
        throw failure(errno, "abrir");
    {
        Lock lock(*this);
        struct stat st {};
        if (fstat(fd_, &st) != 0 ||
            (static_cast<std::size_t>(st.st_size) != sizeof(Table) && ftruncate(fd_, sizeof(Table)) != 0)) {
            const int e = errno;
            close(fd_);
            throw failure(e, "dar tamaño");
        }
        void *view = mmap(nullptr, sizeof(Table), PROT_READ | PROT_WRITE, MAP_SHARED, fd_, 0);
        if (view == MAP_FAILED) {
            const int e = errno;
            close(fd_);
            throw failure(e, "proyectar en memoria");
        }
        table_ = static_cast<Table *>(view);
        // A new (zero-filled) or foreign block starts with every slot free.
        if (table_->magic != kMagic || table_->slotCount != kSlots) {
            for (SharedSlot &s : table_->slots)
                SetFree(s);
            table_->slotCount = kSlots;
            table_->magic = kMagic;
        }
    }
}

SharedUseGuard::~SharedUseGuard() {
    if (table_)
        munmap(table_, sizeof(Table));
    if (fd_ >= 0)
        close(fd_);
}

void SharedUseGuard::Remove(const std::string &name) {
    shm_unlink(name.c_str());
}

bool SharedUseGuard::Register(const GuardOwner &owner, const std::string &path) {
    Lock lock(*this);
    return RegisterLocked(owner, path);
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
    return UsedByAnotherLocked(owner, path);
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
    if (UsedByAnotherLocked(owner, path))
        return Claim::UsedByAnother;
    return RegisterLocked(owner, path) ? Claim::Registered : Claim::TableFull;
}

void SharedUseGuard::Release(const GuardOwner &owner, const std::string &path) {
    Lock lock(*this);
    for (int i = 0; i < kSlots; ++i) {
        SharedSlot &s = table_->slots[i];
        if (s.pid != 0 && OwnerOf(s) == owner && PathOf(s) == path) {
            for (int k = i; k + 1 < kSlots; ++k)
                table_->slots[k] = table_->slots[k + 1];
            SetFree(table_->slots[kSlots - 1]);
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
