// The manager window's filter panel: its controls per kind and the combos they list from. Each control
// passes its new value into the list's choices; the controls are written from the choices.
#include "manager/manager_window.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

#include "session/manager_choices.h"

namespace cel::manager {

using namespace cel::database;

namespace {

QString Q(const std::string &s) {
    return QString::fromStdString(s);
}

// The Id an entry of a combo stands for; the first entry ("[*]") and no entry stand for all (-1).
std::int32_t IdAt(const QComboBox *combo, int index) {
    return index > 0 ? combo->itemData(index).toInt() : -1;
}

} // namespace

QWidget *TFormMainTarjaro::BuildFilterPanel() {
    filterPanel_ = new QGroupBox("Filtros", this);
    filterPanel_->setObjectName("GBFiltros");
    filterPanel_->setFixedWidth(380);
    auto *layout = new QVBoxLayout(filterPanel_);
    auto *nameRow = new QHBoxLayout;
    nameRow->addWidget(new QLabel("Nombre:", filterPanel_));
    nameFilter_ = new QLineEdit(filterPanel_);
    nameFilter_->setObjectName("EDNombre");
    nameRow->addWidget(nameFilter_);
    layout->addLayout(nameRow);
    connect(nameFilter_, &QLineEdit::textChanged, this, [this](const QString &text) {
        ChangeFilter([&](session::ListFilters &f) { f.name = text.toStdString(); });
    });

    kindFilters_ = new QStackedWidget(filterPanel_);
    kindFilters_->setObjectName("PNFiltrosTipo");
    kindFilters_->addWidget(new QWidget(kindFilters_));
    kindFilters_->addWidget(BuildPlaceFilters());
    kindFilters_->addWidget(BuildPersonFilters());
    auto *business = new QWidget(kindFilters_);
    auto *businessRow = new QHBoxLayout(business);
    businessRow->addWidget(new QLabel("Grupo:", business));
    businessGroup_ = new QComboBox(business);
    businessGroup_->setObjectName("CMBGrupoEmpresa");
    businessRow->addWidget(businessGroup_, 1);
    kindFilters_->addWidget(business);
    connect(businessGroup_, &QComboBox::currentIndexChanged, this, [this](int i) {
        ChangeFilter([&](session::ListFilters &f) { f.businessGroup = IdAt(businessGroup_, i); });
    });
    layout->addWidget(kindFilters_, 1);
    return filterPanel_;
}

QWidget *TFormMainTarjaro::BuildPlaceFilters() {
    auto *page = new QWidget(this);
    auto *grid = new QGridLayout(page);
    grid->addWidget(new QLabel(QString::fromUtf8("País:"), page), 0, 0);
    placeCountry_ = new QComboBox(page);
    placeCountry_->setObjectName("CMBPaisLugar");
    grid->addWidget(placeCountry_, 0, 1, 1, 3);
    auto *dstBox = new QGroupBox("Daylight Save Time (DST):", page);
    auto *dstRow = new QHBoxLayout(dstBox);
    dstNo_ = new QRadioButton("no", dstBox);
    dstNo_->setObjectName("RBDSTNo");
    dstYes_ = new QRadioButton(QString::fromUtf8("sí"), dstBox);
    dstYes_->setObjectName("RBDSTSi");
    dstBoth_ = new QRadioButton("ambos", dstBox);
    dstBoth_->setObjectName("RBDSTAmbos");
    const std::pair<QRadioButton *, int> dstChoices[] = {{dstNo_, 0}, {dstYes_, 1}, {dstBoth_, -1}};
    for (const auto &[r, dst] : dstChoices) {
        dstRow->addWidget(r);
        connect(r, &QRadioButton::toggled, this, [this, dst](bool on) {
            if (on)
                ChangeFilter([dst](session::ListFilters &f) { f.dst = dst; });
        });
    }
    grid->addWidget(dstBox, 1, 0, 1, 4);
    tzOn_ = new QCheckBox("Time Zone (TZ):", page);
    tzOn_->setObjectName("CBTZ");
    tzFrom_ = new QSpinBox(page);
    tzFrom_->setObjectName("SETZDesde");
    tzTo_ = new QSpinBox(page);
    tzTo_->setObjectName("SETZHasta");
    for (QSpinBox *s : {tzFrom_, tzTo_})
        s->setRange(-12, 12);
    connect(tzFrom_, &QSpinBox::valueChanged, this,
            [this](int v) { ChangeFilter([v](session::ListFilters &f) { f.tzFrom = v; }); });
    connect(tzTo_, &QSpinBox::valueChanged, this,
            [this](int v) { ChangeFilter([v](session::ListFilters &f) { f.tzTo = v; }); });
    grid->addWidget(tzOn_, 2, 0);
    grid->addWidget(tzFrom_, 2, 1);
    grid->addWidget(tzTo_, 2, 2);
    grid->setRowStretch(3, 1);
    connect(placeCountry_, &QComboBox::currentIndexChanged, this, [this](int i) {
        ChangeFilter([&](session::ListFilters &f) { f.placeCountry = IdAt(placeCountry_, i); });
    });
    connect(tzOn_, &QCheckBox::toggled, this, [this](bool on) {
        tzFrom_->setEnabled(on);
        tzTo_->setEnabled(on);
        ChangeFilter([on](session::ListFilters &f) { f.tzOn = on; });
    });
    return page;
}

QWidget *TFormMainTarjaro::BuildPersonFilters() {
    auto *page = new QWidget(this);
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *form = new QGridLayout;
    form->addWidget(new QLabel("Apellido:", page), 0, 0);
    surnameFilter_ = new QLineEdit(page);
    surnameFilter_->setObjectName("EDApellido");
    form->addWidget(surnameFilter_, 0, 1);
    form->addWidget(new QLabel("Sexo:", page), 1, 0);
    sex_ = new QComboBox(page);
    sex_->setObjectName("CMBSexo");
    sex_->addItems({"Todos", "Fem.", "Mas.", "Otro", "< >"});
    form->addWidget(sex_, 1, 1);
    layout->addLayout(form);
    connect(surnameFilter_, &QLineEdit::textChanged, this, [this](const QString &text) {
        ChangeFilter([&](session::ListFilters &f) { f.surname = text.toStdString(); });
    });
    connect(sex_, &QComboBox::currentIndexChanged, this, [this](int i) {
        ChangeFilter(
            [i](session::ListFilters &f) { f.sex = static_cast<session::SexChoice>(std::max(0, i)); });
    });

    personTabs_ = new QTabWidget(page);
    personTabs_->setObjectName("TCPersonas");
    // A button whose state is one choice of the filters.
    const auto choiceOf = [this](QAbstractButton *b, bool session::ListFilters::*choice) {
        connect(b, &QAbstractButton::toggled, this, [this, choice](bool on) {
            ChangeFilter([choice, on](session::ListFilters &f) { f.*choice = on; });
        });
    };

    // Groups.
    auto *groups = new QWidget(personTabs_);
    auto *g = new QGridLayout(groups);
    groupFilter_ = new QCheckBox("Filtrar por grupo", groups);
    groupFilter_->setObjectName("CBFiltrarGrupo");
    withoutGroup_ = new QCheckBox("Sin grupo", groups);
    withoutGroup_->setObjectName("CBSinGrupo");
    g->addWidget(groupFilter_, 0, 0, 1, 2);
    g->addWidget(withoutGroup_, 0, 2, 1, 2);
    g->addWidget(new QLabel(QString::fromUtf8("Búsqueda tipo:"), groups), 1, 0);
    searchOr_ = new QRadioButton("O", groups);
    searchOr_->setObjectName("RBBusquedaO");
    searchAnd_ = new QRadioButton("Y", groups);
    searchAnd_->setObjectName("RBBusquedaY");
    auto *searchGroup = new QButtonGroup(groups);
    searchGroup->addButton(searchOr_);
    searchGroup->addButton(searchAnd_);
    same_ = new QRadioButton("Iguales", groups);
    same_->setObjectName("RBIguales");
    different_ = new QRadioButton("Diferentes", groups);
    different_->setObjectName("RBDiferentes");
    auto *sameGroup = new QButtonGroup(groups);
    sameGroup->addButton(same_);
    sameGroup->addButton(different_);
    g->addWidget(searchOr_, 1, 1);
    g->addWidget(searchAnd_, 1, 2);
    g->addWidget(same_, 2, 1);
    g->addWidget(different_, 2, 2);
    groupList_ = new QListWidget(groups);
    groupList_->setObjectName("LBGrupos");
    groupList_->setStyleSheet("QListWidget::item:selected { color: blue; }");
    g->addWidget(groupList_, 3, 0, 1, 3);
    auto *allGroups = new QPushButton("T", groups);
    allGroups->setObjectName("BTGruposTodos");
    auto *noGroups = new QPushButton("N", groups);
    noGroups->setObjectName("BTGruposNinguno");
    // Narrow buttons, so "Búsqueda tipo:" and both choices fit the panel's width.
    for (QPushButton *b : {allGroups, noGroups})
        b->setFixedWidth(32);
    auto *groupButtons = new QVBoxLayout;
    groupButtons->addWidget(allGroups);
    groupButtons->addWidget(noGroups);
    groupButtons->addStretch(1);
    g->addLayout(groupButtons, 3, 3);
    choiceOf(groupFilter_, &session::ListFilters::groupFilter);
    choiceOf(withoutGroup_, &session::ListFilters::withoutGroup);
    connect(searchAnd_, &QRadioButton::toggled, this, [this](bool on) {
        if (!on)
            same_->setChecked(true);
        different_->setEnabled(on);
        ChangeFilter([on](session::ListFilters &f) {
            f.search = on ? session::GroupSearch::And : session::GroupSearch::Or;
        });
    });
    choiceOf(different_, &session::ListFilters::different);
    connect(groupList_, &QListWidget::itemClicked, this, [this](QListWidgetItem *item) {
        session::ToggleGroupTick(store_.Db(), item->data(Qt::UserRole).toInt());
        FillGroupFilter();
        Rebuild();
    });
    const auto tickGroups = [this](bool on) {
        session::TickAllGroups(store_.Db(), on);
        FillGroupFilter();
        Rebuild();
    };
    connect(allGroups, &QPushButton::clicked, this, [tickGroups] { tickGroups(true); });
    connect(noGroups, &QPushButton::clicked, this, [tickGroups] { tickGroups(false); });
    personTabs_->addTab(groups, " Grupo  ");

    // Place.
    auto *places = new QWidget(personTabs_);
    auto *p = new QGridLayout(places);
    personCountry_ = new QComboBox(places);
    personCountry_->setObjectName("CMBPaisPersona");
    personPlace_ = new QComboBox(places);
    personPlace_->setObjectName("CMBLugarPersona");
    auto *resetCountry = new QPushButton("*", places);
    resetCountry->setObjectName("BTPaisTodos");
    auto *resetPlace = new QPushButton("*", places);
    resetPlace->setObjectName("BTLugarTodos");
    for (QPushButton *b : {resetCountry, resetPlace})
        b->setFixedWidth(24);
    p->addWidget(new QLabel(QString::fromUtf8("País:"), places), 0, 0);
    p->addWidget(personCountry_, 0, 1, 1, 2);
    p->addWidget(resetCountry, 0, 3);
    p->addWidget(new QLabel("Lugar:", places), 1, 0);
    p->addWidget(personPlace_, 1, 1, 1, 2);
    p->addWidget(resetPlace, 1, 3);
    withoutPlace_ = new QCheckBox("Sin lugar", places);
    withoutPlace_->setObjectName("CBSinLugar");
    p->addWidget(withoutPlace_, 2, 0, 1, 2);
    whichAll_ = new QRadioButton("Todos", places);
    whichAll_->setObjectName("RBLugarTodos");
    whichHome_ = new QRadioButton("Residencia", places);
    whichHome_->setObjectName("RBLugarResidencia");
    whichWork_ = new QRadioButton("Trabajo", places);
    whichWork_->setObjectName("RBLugarTrabajo");
    whichBirth_ = new QRadioButton("Nacimiento", places);
    whichBirth_->setObjectName("RBLugarNacimiento");
    auto *whichGroup = new QButtonGroup(places);
    int col = 0;
    const std::pair<QRadioButton *, session::PlaceWhich> whichChoices[] = {
        {whichAll_, session::PlaceWhich::All},
        {whichHome_, session::PlaceWhich::Residencia},
        {whichWork_, session::PlaceWhich::Trabajo},
        {whichBirth_, session::PlaceWhich::Nacimiento}};
    for (const auto &[r, which] : whichChoices) {
        whichGroup->addButton(r);
        p->addWidget(r, 3 + col / 2, col % 2 * 2, 1, 2);
        ++col;
        connect(r, &QRadioButton::toggled, this, [this, which](bool on) {
            if (on)
                ChangeFilter([which](session::ListFilters &f) { f.which = which; });
        });
    }
    equal_ = new QRadioButton("=", places);
    equal_->setObjectName("RBIgual");
    notEqual_ = new QRadioButton("<>", places);
    notEqual_->setObjectName("RBDistinto");
    auto *equalGroup = new QButtonGroup(places);
    equalGroup->addButton(equal_);
    equalGroup->addButton(notEqual_);
    p->addWidget(equal_, 2, 2);
    p->addWidget(notEqual_, 2, 3);
    p->setRowStretch(5, 1);
    choiceOf(notEqual_, &session::ListFilters::negate);
    connect(withoutPlace_, &QCheckBox::toggled, this, [this](bool on) {
        personCountry_->setEnabled(!on);
        personPlace_->setEnabled(!on);
        ChangeFilter([on](session::ListFilters &f) { f.withoutPlace = on; });
    });
    // A country lists its places, from "[*]".
    connect(personCountry_, &QComboBox::currentIndexChanged, this, [this](int i) {
        const std::int32_t country = IdAt(personCountry_, i);
        FillPersonPlaces(country);
        ChangeFilter([country](session::ListFilters &f) {
            f.personCountry = country;
            f.personPlace = -1;
        });
    });
    connect(personPlace_, &QComboBox::currentIndexChanged, this, [this](int i) {
        ChangeFilter([&](session::ListFilters &f) { f.personPlace = IdAt(personPlace_, i); });
    });
    connect(resetCountry, &QPushButton::clicked, this, [this] { personCountry_->setCurrentIndex(0); });
    connect(resetPlace, &QPushButton::clicked, this, [this] { personPlace_->setCurrentIndex(0); });
    personTabs_->addTab(places, QString::fromUtf8("Lugar geográfico "));

    // Age.
    auto *ages = new QWidget(personTabs_);
    auto *a = new QGridLayout(ages);
    age_ = new QComboBox(ages);
    age_->setObjectName("CMBEdad");
    age_->addItems({"Todos", "Sin fecha de nacimiento", "Con fecha de nacimiento", "Con fecha y sin hora"});
    a->addWidget(age_, 0, 0, 1, 3);
    ageOn_ = new QCheckBox("Edad entre:", ages);
    ageOn_->setObjectName("CBEdadEntre");
    ageFrom_ = new QSpinBox(ages);
    ageFrom_->setObjectName("SEEdadDesde");
    ageTo_ = new QSpinBox(ages);
    ageTo_->setObjectName("SEEdadHasta");
    for (QSpinBox *s : {ageFrom_, ageTo_})
        s->setRange(0, 200);
    connect(ageFrom_, &QSpinBox::valueChanged, this,
            [this](int v) { ChangeFilter([v](session::ListFilters &f) { f.ageFrom = v; }); });
    connect(ageTo_, &QSpinBox::valueChanged, this,
            [this](int v) { ChangeFilter([v](session::ListFilters &f) { f.ageTo = v; }); });
    a->addWidget(ageOn_, 1, 0);
    a->addWidget(ageFrom_, 1, 1);
    a->addWidget(ageTo_, 1, 2);
    birthdayOn_ = new QCheckBox(QString::fromUtf8("Cumpleaños en:"), ages);
    birthdayOn_->setObjectName("CBCumple");
    month_ = new QComboBox(ages);
    month_->setObjectName("CMBMes");
    month_->addItems({"Ene", "Feb", "Mar", "Abr", "May", "Jun", "Jul", "Ago", "Sep", "Oct", "Nov", "Dic"});
    a->addWidget(birthdayOn_, 2, 0);
    a->addWidget(month_, 2, 1, 1, 2);
    a->setRowStretch(3, 1);
    connect(age_, &QComboBox::currentIndexChanged, this, [this](int i) {
        const auto age = static_cast<session::AgeChoice>(std::max(0, i));
        for (QWidget *w : std::initializer_list<QWidget *>{ageOn_, ageFrom_, ageTo_, birthdayOn_, month_})
            w->setEnabled(age == session::AgeChoice::WithDate);
        ChangeFilter([age](session::ListFilters &f) { f.age = age; });
    });
    choiceOf(ageOn_, &session::ListFilters::ageOn);
    choiceOf(birthdayOn_, &session::ListFilters::birthdayOn);
    connect(month_, &QComboBox::currentIndexChanged, this,
            [this](int i) { ChangeFilter([i](session::ListFilters &f) { f.birthdayMonth = i + 1; }); });
    personTabs_->addTab(ages, " Edad ");

    // E-mail.
    auto *mail = new QWidget(personTabs_);
    auto *m = new QGridLayout(mail);
    mailAny_ = new QRadioButton("indiferente", mail);
    mailAny_->setObjectName("RBCorreoIndiferente");
    mailYes_ = new QRadioButton(QString::fromUtf8("sí"), mail);
    mailYes_->setObjectName("RBCorreoSi");
    mailNo_ = new QRadioButton("no", mail);
    mailNo_->setObjectName("RBCorreoNo");
    auto *mailGroup = new QButtonGroup(mail);
    for (QRadioButton *r : {mailAny_, mailYes_, mailNo_})
        mailGroup->addButton(r);
    mailHome_ = new QCheckBox("Hogar", mail);
    mailHome_->setObjectName("CBHogar");
    mailWork_ = new QCheckBox("Trabajo", mail);
    mailWork_->setObjectName("CBCorreoTrabajo");
    auto *exportMail = new QPushButton("Exportar lista a CSV", mail);
    exportMail->setObjectName("BTExportarCorreo");
    m->addWidget(mailAny_, 0, 0);
    m->addWidget(mailYes_, 0, 1);
    m->addWidget(mailNo_, 0, 2);
    m->addWidget(mailHome_, 1, 0);
    m->addWidget(mailWork_, 1, 1);
    m->addWidget(exportMail, 2, 0, 1, 3);
    m->setRowStretch(3, 1);
    const std::pair<QRadioButton *, session::MailChoice> mailChoices[] = {
        {mailAny_, session::MailChoice::Any},
        {mailYes_, session::MailChoice::Yes},
        {mailNo_, session::MailChoice::No}};
    for (const auto &[r, choice] : mailChoices)
        connect(r, &QRadioButton::toggled, this, [this, choice](bool on) {
            if (on)
                ChangeFilter([choice](session::ListFilters &f) { f.mail = choice; });
        });
    choiceOf(mailHome_, &session::ListFilters::mailHome);
    choiceOf(mailWork_, &session::ListFilters::mailWork);
    connect(mailAny_, &QRadioButton::toggled, this, [this](bool on) {
        mailHome_->setEnabled(!on);
        mailWork_->setEnabled(!on);
    });
    connect(exportMail, &QPushButton::clicked, this, &TFormMainTarjaro::ExportMailList);
    personTabs_->addTab(mail, QString::fromUtf8(" Correo Electrónico"));
    layout->addWidget(personTabs_, 1);
    return page;
}

// ---- combos and filters ----

void TFormMainTarjaro::FillCombos() {
    const bool was = filtering_;
    filtering_ = false;
    const std::vector<session::NamedChoice> countries = session::CountryChoices(store_.Db());
    // A chosen country stays chosen while it exists; the place and business group go back to "[*]".
    session::ListFilters &f = list_.Filters();
    for (auto [combo, country] :
         {std::pair{placeCountry_, &f.placeCountry}, {personCountry_, &f.personCountry}}) {
        combo->clear();
        combo->addItem("[*]", -1);
        for (const session::NamedChoice &c : countries)
            combo->addItem(Q(c.name), c.id);
        const int at = *country < 0 ? -1 : combo->findData(*country);
        combo->setCurrentIndex(at < 0 ? 0 : at);
        if (at < 0)
            *country = -1;
    }
    businessGroup_->clear();
    businessGroup_->addItem("[*]", -1);
    for (const session::NamedChoice &g : session::BusinessGroupChoices(store_.Db()))
        businessGroup_->addItem(Q(g.name), g.id);
    f.businessGroup = -1;
    FillGroupFilter();
    FillPersonPlaces(f.personCountry);
    f.personPlace = -1;
    filtering_ = was;
}

void TFormMainTarjaro::FillGroupFilter() {
    const int current = groupList_->currentRow();
    groupList_->clear();
    for (const session::NamedChoice &g : session::PersonGroupChoices(store_.Db())) {
        auto *item = new QListWidgetItem(Q(g.name), groupList_);
        item->setData(Qt::UserRole, g.id);
        item->setCheckState(g.ticked ? Qt::Checked : Qt::Unchecked);
        item->setBackground(g.ticked ? QColor(240, 240, 255) : QColor(Qt::white));
    }
    if (current >= 0 && current < groupList_->count())
        groupList_->setCurrentRow(current);
}

void TFormMainTarjaro::FillPersonPlaces(std::int32_t country) {
    const bool was = filtering_;
    filtering_ = false;
    personPlace_->clear();
    personPlace_->addItem("[*]", -1);
    for (const session::NamedChoice &p : session::PlaceChoices(store_.Db(), country))
        personPlace_->addItem(Q(p.name), p.id);
    filtering_ = was;
}

void TFormMainTarjaro::ChangeFilter(const std::function<void(session::ListFilters &)> &change) {
    if (!filtering_)
        return;
    change(list_.Filters());
    Rebuild();
}

void TFormMainTarjaro::ResetFilters(bool all) {
    list_.ResetFilters(all);
    WriteFilterControls();
}

// Sets every filter control from the filter choices, without rebuilding on the way.
void TFormMainTarjaro::WriteFilterControls() {
    const bool was = filtering_;
    filtering_ = false;
    const session::ListFilters &f = list_.Filters();
    const auto choose = [](QComboBox *combo, int id) {
        const int at = id < 0 ? 0 : combo->findData(id);
        combo->setCurrentIndex(at < 0 ? 0 : at);
    };
    nameFilter_->setText(QString::fromStdString(f.name));
    onlyTicked_->setChecked(f.onlyTicked);
    (f.used == session::UsedChoice::Yes  ? usedYes_
     : f.used == session::UsedChoice::No ? usedNo_
                                         : usedBoth_)
        ->setChecked(true);
    choose(placeCountry_, f.placeCountry);
    (f.dst == 0 ? dstNo_ : f.dst == 1 ? dstYes_ : dstBoth_)->setChecked(true);
    tzOn_->setChecked(f.tzOn);
    tzFrom_->setValue(f.tzFrom);
    tzTo_->setValue(f.tzTo);
    tzFrom_->setEnabled(f.tzOn);
    tzTo_->setEnabled(f.tzOn);
    surnameFilter_->setText(QString::fromStdString(f.surname));
    sex_->setCurrentIndex(static_cast<int>(f.sex));
    groupFilter_->setChecked(f.groupFilter);
    withoutGroup_->setChecked(f.withoutGroup);
    (f.search == session::GroupSearch::And ? searchAnd_ : searchOr_)->setChecked(true);
    (f.different ? different_ : same_)->setChecked(true);
    different_->setEnabled(f.search == session::GroupSearch::And);
    choose(personCountry_, f.personCountry);
    FillPersonPlaces(f.personCountry);
    choose(personPlace_, f.personPlace);
    withoutPlace_->setChecked(f.withoutPlace);
    personCountry_->setEnabled(!f.withoutPlace);
    personPlace_->setEnabled(!f.withoutPlace);
    (f.which == session::PlaceWhich::Residencia   ? whichHome_
     : f.which == session::PlaceWhich::Trabajo    ? whichWork_
     : f.which == session::PlaceWhich::Nacimiento ? whichBirth_
                                                  : whichAll_)
        ->setChecked(true);
    (f.negate ? notEqual_ : equal_)->setChecked(true);
    age_->setCurrentIndex(static_cast<int>(f.age));
    ageOn_->setChecked(f.ageOn);
    ageFrom_->setValue(f.ageFrom);
    ageTo_->setValue(f.ageTo);
    birthdayOn_->setChecked(f.birthdayOn);
    month_->setCurrentIndex(f.birthdayMonth - 1);
    for (QWidget *w : std::initializer_list<QWidget *>{ageOn_, ageFrom_, ageTo_, birthdayOn_, month_})
        w->setEnabled(f.age == session::AgeChoice::WithDate);
    (f.mail == session::MailChoice::Yes  ? mailYes_
     : f.mail == session::MailChoice::No ? mailNo_
                                         : mailAny_)
        ->setChecked(true);
    mailHome_->setChecked(f.mailHome);
    mailWork_->setChecked(f.mailWork);
    mailHome_->setEnabled(f.mail != session::MailChoice::Any);
    mailWork_->setEnabled(f.mail != session::MailChoice::Any);
    choose(businessGroup_, f.businessGroup);
    allOnOnePage_->setChecked(list_.AllOnOnePage());
    filtering_ = was;
}

} // namespace cel::manager
