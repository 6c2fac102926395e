// The manager tests' fixture: a copy of the sample data file in a fresh folder, loaded into a
// database with a scripted notifier, and helpers to find widgets by object name and to act on the
// modal window that a call opens.
#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

#include "common/safe_file.h"
#include "common/scripted_notifier.h"
#include "database/data_file.h"
#include "manager/data_store.h"
#include "support/temp_folder.h"

namespace cel::mgrtest {

using testsupport::DataPath;
using testsupport::TempFolder;

inline TextFormat CommaFormat() {
    TextFormat f;
    f.decimalSeparator = ',';
    return f;
}

// The sample file copied and loaded; the store saves back to the copy.
struct SampleData {
    TempFolder folder;
    database::Database db;
    ScriptedNotifier notices;
    // Opened and saved through a data-file session (without the shared table), as the programs do.
    database::DataFileSession session{nullptr, database::GuardOwner::Current()};
    manager::DataStore store{db, notices, CommaFormat(), &session};
    std::string path;

    explicit SampleData(const std::string &sample = "ejemplo.age") {
        path = folder.Copy(sample);
        if (!store.Open(path))
            ADD_FAILURE() << "cannot open " << path;
    }
    // The file as it is on disk now, loaded into a fresh database.
    database::Database Reload() const {
        database::Database fresh;
        ScriptedNotifier quiet;
        database::LoadDataFile(path, fresh, quiet, CommaFormat());
        return fresh;
    }
    std::string Bytes() const { return ReadWholeFile(path); }
};

template <class T> T *Find(QWidget *root, const char *name) {
    T *w = root->findChild<T *>(QString::fromLatin1(name));
    if (!w)
        ADD_FAILURE() << "no widget named " << name;
    return w;
}

// Runs action on the next modal window that appears (polled, so it also works for windows opened
// by nested event loops); gives up after a few seconds.
inline void OnNextModal(std::function<void(QWidget *)> action, int attempts = 200) {
    QTimer::singleShot(10, [action, attempts] {
        if (QWidget *modal = QApplication::activeModalWidget()) {
            action(modal);
            return;
        }
        if (attempts > 0)
            OnNextModal(action, attempts - 1);
    });
}

} // namespace cel::mgrtest
