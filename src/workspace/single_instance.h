// One running chart program per user and desktop session: the first start listens on a local socket
// in the user's private run-time folder, named after "Mi programa CEL2" with the user id and the
// session's display; a later start in the same session tells it to come to the front (and to open the
// data file the later start was given, as a file manager's double click asks) and exits. Each side
// checks that the other is a process of the same user before it sends or trusts anything.
#pragma once

#include <QString>

#include <functional>
#include <memory>

class QLocalServer;

namespace cel::workspace {

class SingleInstance {
public:
    // The socket's full path: the user's private run-time folder, then "Mi_programa_CEL2-" with the
    // user id, the session's display (WAYLAND_DISPLAY, DISPLAY) and, when set, the environment variable
    // CELESTIGRAFO_INSTANCE (tests keep to their own instance). Empty when the user has no private
    // folder.
    static QString ServerName();

    SingleInstance();
    ~SingleInstance();

    // True when no other instance of this user runs in this session: this one then listens. False
    // after telling the running one to show its window and, when `fileToOpen` is not empty, to open
    // that data file.
    bool Acquire(const QString &fileToOpen = QString());
    // Called when another start asks this instance to show its window.
    std::function<void()> onActivate;
    // Called when another start asks this instance to open a data file (an absolute path).
    std::function<void(const QString &)> onOpenFile;

private:
    std::unique_ptr<QLocalServer> server_;
};

} // namespace cel::workspace
