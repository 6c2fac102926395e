// The manager's small dialogs: the group chooser, the CSV options, the settings tool window and the
// splash window.
#pragma once

#include <QDialog>
#include <QWidget>

#include <cstdint>

#include "manager/data_store.h"
#include "session/manager_files.h"

class QCheckBox;
class QComboBox;
class QListWidget;

namespace cel::manager {

// Chooses one person group ("Agregar grupo" / "Borrar grupo").
class TFormAddGrupo : public QDialog {
    Q_OBJECT
public:
    TFormAddGrupo(const database::Database &db, const QString &caption, DataStore &store,
                  QWidget *parent = nullptr);
    // The chosen group's Id, -1 when none.
    std::int32_t ChosenId() const;

public slots:
    void accept() override;

private:
    DataStore &store_;
    QListWidget *list_ = nullptr;
};

// "Incluir datos": the optional column blocks of the persons CSV export.
class TFormExportPersona : public QDialog {
    Q_OBJECT
public:
    explicit TFormExportPersona(QWidget *parent = nullptr);
    session::PersonCsvOptions Options() const;

private:
    QCheckBox *boxes_[5] = {};
};

// The standalone manager's settings: button hints and the colour suite, applied at once.
class TFormSetUpAgenda : public QWidget {
    Q_OBJECT
public:
    TFormSetUpAgenda(bool hints, int suite, QWidget *parent = nullptr);

signals:
    void hintsChanged(bool on);
    void suiteChanged(int suite);
    void closed();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    QCheckBox *hints_ = nullptr;
    QComboBox *suite_ = nullptr;
};

// The splash: a borderless white window with the product picture and the version, closing itself.
class TFormSplashTarjaro : public QWidget {
    Q_OBJECT
public:
    explicit TFormSplashTarjaro(int milliseconds, QWidget *parent = nullptr);
};

} // namespace cel::manager
