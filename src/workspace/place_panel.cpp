#include "workspace/place_panel.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

#include "manager/item_editor.h"
#include "manager/place_import_window.h"
#include "workspace/view_input.h"

namespace cel::workspace {

template <class Sender, class Signal, class Slot>
void PlacePanel::OnInput(Sender *sender, Signal signal, Slot slot) {
    ConnectInput(this, &showing_, sender, signal, slot);
}

PlacePanel::PlacePanel(session::Session &session, QWidget *parent) : QWidget(parent), session_(session) {
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    auto *placeBox = new QGroupBox("Lugar");
    auto *placeGrid = new QGridLayout(placeBox);
    cbPais_ = new QComboBox;
    cbPais_->setObjectName("CBPais");
    cbLugar_ = new QComboBox;
    cbLugar_->setObjectName("CBLugar");
    cbLugar_->setMinimumContentsLength(14);
    cbPais_->setMinimumContentsLength(14);
    sbNuevoLugar_ = new QToolButton;
    sbNuevoLugar_->setObjectName("SBNuevoLugar");
    sbNuevoLugar_->setText("+");
    sbNuevoLugar_->setToolTip("Nuevo lugar geográfico");
    sbEditarLugar_ = new QToolButton;
    sbEditarLugar_->setObjectName("SBEditarLugar");
    sbEditarLugar_->setText("…");
    sbEditarLugar_->setToolTip("Editar lugar geográfico");
    sbImportarLugar_ = new QToolButton;
    sbImportarLugar_->setObjectName("SBImportarLugar");
    sbImportarLugar_->setText("Importar");
    sbImportarLugar_->setToolTip("Importar lugar geográfico");
    sbNuevoLugar_->setEnabled(false);
    sbEditarLugar_->setEnabled(false);
    placeGrid->addWidget(new QLabel("País:"), 0, 0);
    placeGrid->addWidget(cbPais_, 0, 1, 1, 3);
    placeGrid->addWidget(new QLabel("Lugar:"), 1, 0);
    placeGrid->addWidget(cbLugar_, 1, 1, 1, 3);
    placeGrid->addWidget(sbNuevoLugar_, 2, 1);
    placeGrid->addWidget(sbEditarLugar_, 2, 2);
    placeGrid->addWidget(sbImportarLugar_, 2, 3);
    column->addWidget(placeBox);

    OnInput(cbLugar_, &QComboBox::currentIndexChanged, [this](int) {
        session_.SetPlace(cbLugar_->currentData().isValid() ? cbLugar_->currentData().toInt() : -1);
    });
    OnInput(cbPais_, &QComboBox::currentIndexChanged,
            [this](int) { session_.ChooseCountry(cbPais_->currentData().toInt()); });
    connect(sbNuevoLugar_, &QToolButton::clicked, this, [this] { AddOrEditPlace(false); });
    connect(sbEditarLugar_, &QToolButton::clicked, this, [this] { AddOrEditPlace(true); });
    connect(sbImportarLugar_, &QToolButton::clicked, this, [this] { ImportPlaces(); });
}

void PlacePanel::ShowLists() {
    const ShowingScope showing(showing_);
    cbPais_->clear();
    cbPais_->addItem("[*]", -1);
    for (const session::NamedId &c : session_.Countries())
        cbPais_->addItem(QString::fromStdString(c.name), c.id);
    sbNuevoLugar_->setEnabled(cbPais_->count() > 1);
    cbLugar_->clear(); // filled for the entry's country
}

void PlacePanel::Show() {
    const ShowingScope showing(showing_);
    const std::int32_t country = session_.EntryCountry();
    const int countryRow = std::max(0, cbPais_->findData(country));
    if (cbPais_->currentIndex() != countryRow || cbLugar_->count() == 0 ||
        cbLugar_->property("country").toInt() != country) {
        cbPais_->setCurrentIndex(countryRow);
        cbLugar_->clear();
        cbLugar_->addItem("[*]", -1);
        for (const session::NamedId &p : session_.Places(country))
            cbLugar_->addItem(QString::fromStdString(p.name), p.id);
        cbLugar_->setProperty("country", country);
    }
    const std::int32_t place = session_.Entry().placeId;
    cbLugar_->setCurrentIndex(std::max(0, cbLugar_->findData(place)));
    sbEditarLugar_->setEnabled(cbLugar_->currentIndex() > 0);
}

void PlacePanel::AddOrEditPlace(bool edit) {
    if (!EnsureDataFile())
        return;
    const std::int32_t id = edit ? session_.Entry().placeId : -1;
    if (edit && id < 0)
        return;
    const std::optional<std::int32_t> stored =
        manager::TFormItem::Run(window(), session_.Store(), database::Kind::Place, id);
    if (stored)
        session_.PlaceStored(*stored);
}

void PlacePanel::ImportPlaces() {
    if (!EnsureDataFile())
        return;
    if (manager::ImportPlaceFile(window(), session_.Store(), false))
        session_.PlacesImported();
}

} // namespace cel::workspace
