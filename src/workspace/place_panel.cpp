#include "workspace/place_panel.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QCompleter>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

#include "manager/atlas_completer.h"
#include "manager/item_editor.h"
#include "manager/place_import_window.h"

namespace cel::workspace {

PlacePanel::PlacePanel(session::Session &session, QWidget *parent) : SessionPanel(session, parent) {
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
    // The place is also typed: its name searches the file's places and the atlas's cities.
    cbLugar_->setEditable(true);
    cbLugar_->setInsertPolicy(QComboBox::NoInsert);
    cbLugar_->setToolTip(QString::fromUtf8(
        "Escriba el nombre de un lugar: se listan los lugares del país en el archivo de datos y las ciudades "
        "del atlas que coinciden (la mayor primero). Flecha abajo y Entrar eligen; Escape vuelve al lugar "
        "que estaba."));
    search_ = new manager::AtlasCompleter(
        cbLugar_->lineEdit(), [this](const std::string &typed) { return session_.SearchPlaces(typed); });
    cbLugar_->lineEdit()->installEventFilter(this);
    search_->Completer()->popup()->installEventFilter(this);
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
    // A choice is taken once the list has finished with the key or click that made it.
    connect(search_, &manager::AtlasCompleter::placeChosen, this, [this](int placeId) {
        QMetaObject::invokeMethod(
            this, [this, placeId] { ChoosePlace(placeId); }, Qt::QueuedConnection);
    });
    connect(search_, &manager::AtlasCompleter::chosen, this, [this](const zones::AtlasCity *city) {
        QMetaObject::invokeMethod(
            this, [this, city] { ChooseCity(*city); }, Qt::QueuedConnection);
    });
    // A search left without a choice (the field loses the focus): the field shows the place again.
    connect(cbLugar_->lineEdit(), &QLineEdit::editingFinished, this, [this] {
        if (cbLugar_->lineEdit()->text() != cbLugar_->itemText(cbLugar_->currentIndex()))
            RestoreText();
    });
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
    if (const QString shown = cbLugar_->itemText(cbLugar_->currentIndex());
        cbLugar_->lineEdit()->text() != shown)
        cbLugar_->lineEdit()->setText(shown);
    sbEditarLugar_->setEnabled(cbLugar_->currentIndex() > 0);
}

void PlacePanel::RestoreText() {
    search_->Completer()->popup()->hide();
    cbLugar_->lineEdit()->setText(cbLugar_->itemText(cbLugar_->currentIndex()));
    cbLugar_->lineEdit()->selectAll();
}

bool PlacePanel::eventFilter(QObject *watched, QEvent *event) {
    QAbstractItemView *list = search_->Completer()->popup();
    if (event->type() == QEvent::KeyPress && (watched == cbLugar_->lineEdit() || watched == list)) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        const bool typed =
            list->isVisible() || cbLugar_->lineEdit()->text() != cbLugar_->itemText(cbLugar_->currentIndex());
        if (key == Qt::Key_Escape && typed) {
            RestoreText();
            return true;
        }
        // Enter on the open list without a row chosen takes the first one.
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && list->isVisible() &&
            !list->currentIndex().isValid() && list->model()->rowCount() > 0)
            list->setCurrentIndex(list->model()->index(0, 0));
    }
    return QWidget::eventFilter(watched, event);
}

void PlacePanel::ChoosePlace(std::int32_t placeId) {
    session_.SetPlace(placeId);
    RestoreText();
}

void PlacePanel::ChooseCity(const zones::AtlasCity &city) {
    // Without a data file there is nowhere to add the city: the window offers to create or open one.
    if (EnsureDataFile())
        session_.ChooseAtlasCity(city);
    RestoreText();
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
