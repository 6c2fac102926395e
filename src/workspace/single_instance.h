// One running chart program per user: the first start listens on a local socket named after
// "Mi programa CEL2"; a later start tells it to come to the front (and to open the data file the later
// start was given, as a file manager's double click asks) and exits.
#pragma once

#include <QString>

#include <functional>
#include <memory>

class QLocalServer;

namespace cel::workspace {

class SingleInstance {
public:
    // The socket name: "Mi programa CEL2" with the user's name (and, when set, the environment
    // variable CELESTIGRAFO_INSTANCE, so that tests keep to their own instance).
    static QString ServerName();

    SingleInstance();
    ~SingleInstance();

    // True when no other instance runs: this one then listens. False after telling the running one to
    // show its window and, when `fileToOpen` is not empty, to open that data file.
    bool Acquire(const QString &fileToOpen = QString());
    // Called when another start asks this instance to show its window.
    std::function<void()> onActivate;
    // Called when another start asks this instance to open a data file (an absolute path).
    std::function<void(const QString &)> onOpenFile;

private:
    std::unique_ptr<QLocalServer> server_;
};

} // namespace cel::workspace
