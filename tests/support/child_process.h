// Child processes for the tests that need a second program or a second user: a function run in a
// fork, a second program that stays alive until told, and a process id nobody has any more.
#pragma once

#include <csignal>
#include <functional>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

namespace cel::testsupport {

// The user and group "nobody": the second user of the tests that run as root.
inline constexpr uid_t kNobody = 65534;

enum class As { Me, Nobody };

// Becomes the user nobody when running as root (an ordinary user stays itself); false on failure.
inline bool BecomeNobody() {
    if (::geteuid() != 0)
        return true;
    return ::setgid(kNobody) == 0 && ::setuid(kNobody) == 0;
}

// Exit code of a finished child, -1 when a signal ended it.
inline int WaitFor(pid_t pid) {
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Runs fn (returning an exit code) in a child process, as nobody when asked; its result, 90 when it
// could not change user, or -1 when it died.
template <class Fn> int InChild(Fn fn, As as = As::Me) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (as == As::Nobody && !BecomeNobody())
            ::_exit(90);
        ::_exit(fn());
    }
    return WaitFor(pid);
}

// A process id that no process has any more.
inline pid_t DeadPid() {
    const pid_t pid = ::fork();
    if (pid == 0)
        ::_exit(0);
    ::waitpid(pid, nullptr, 0);
    return pid;
}

// A second program: a child process that runs setUp, tells the parent whether it succeeded, and stays
// alive until the parent sends it a command byte (handed to onCommand before it exits) or the object
// ends, which kills it.
class SecondProgram {
public:
    SecondProgram() = default;
    SecondProgram(const SecondProgram &) = delete;
    SecondProgram &operator=(const SecondProgram &) = delete;
    ~SecondProgram() { Kill(); }

    // Starts the program; true when its setUp succeeded.
    template <class SetUp> bool Start(SetUp setUp, std::function<void(char)> onCommand = {}) {
        int ready[2], go[2];
        if (::pipe(ready) != 0 || ::pipe(go) != 0)
            return false;
        pid_ = ::fork();
        if (pid_ == 0) {
            ::close(ready[0]);
            ::close(go[1]);
            const char result = setUp() ? 'o' : 'x';
            if (::write(ready[1], &result, 1) != 1)
                ::_exit(3);
            char command = 0;
            if (::read(go[0], &command, 1) == 1 && onCommand)
                onCommand(command);
            ::_exit(0);
        }
        ::close(ready[1]);
        ::close(go[0]);
        char result = 0;
        const bool told = ::read(ready[0], &result, 1) == 1;
        ::close(ready[0]);
        go_ = go[1];
        return told && result == 'o';
    }
    pid_t Pid() const { return pid_; }
    // Sends command and waits for the program to end.
    void Stop(char command = 'q') {
        if (pid_ <= 0)
            return;
        [[maybe_unused]] const auto sent = ::write(go_, &command, 1);
        ::close(go_);
        ::waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }
    void Kill() {
        if (pid_ <= 0)
            return;
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
        ::close(go_);
        pid_ = -1;
    }

private:
    pid_t pid_ = -1;
    int go_ = -1;
};

} // namespace cel::testsupport
