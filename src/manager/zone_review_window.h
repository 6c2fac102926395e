// The review of the births stored as local time whose place's stored zone was not the offset in force
// on that date: one row per person, none ticked, and "Corregir los marcados" stores the ticked ones as
// universal time with the offset in force, through the manager's save. Nothing else changes.
#pragma once

#include <QDialog>

#include "manager/data_store.h"
#include "session/zone_review.h"

class QLabel;
class QPushButton;
class QTableWidget;

namespace cel::manager {

class TFormRevisarZonas : public QDialog {
    Q_OBJECT
public:
    explicit TFormRevisarZonas(DataStore &store, QWidget *parent = nullptr);

    // The persons corrected and saved while the window was open.
    int Corrected() const { return corrected_; }
    const session::ZoneReview &Review() const { return review_; }

    // "Corregir los marcados": asks, stores the ticked persons as universal time and saves; a save that
    // fails puts the persons back as they were.
    void CorrectTicked();

private:
    void Fill();
    void UpdateButtons();
    int Ticked() const;

    DataStore &store_;
    session::ZoneReview review_;
    int corrected_ = 0;
    QLabel *summary_ = nullptr;
    QLabel *result_ = nullptr;
    QTableWidget *table_ = nullptr;
    QPushButton *correct_ = nullptr;
    QPushButton *all_ = nullptr;
    QPushButton *none_ = nullptr;
};

} // namespace cel::manager
