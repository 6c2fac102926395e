#include "manager_window.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDate>
#include <QDesktopServices>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTableView>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextOption>
#include <QTimer>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>
#include <unordered_set>

#include "colour_suite.h"
#include "common/install_paths.h"
#include "database/csv_export.h"
#include "database/data_file.h"
#include "database/person_summary.h"
#include "database/place_import.h"
#include "database/safe_file.h"
#include "file_chooser.h"
#include "item_editor.h"
#include "place_import_window.h"
#include "record_table_model.h"
#include "small_dialogs.h"

namespace cel::manager {

using namespace cel::database;

namespace {

constexpr const char *kAgeFilter = "Archivos Tarjaro (*.age)";
constexpr const char *kCsvFilter = "Archivo separado por comas (*.csv)";
constexpr int kRowHeight = 18;

QString Q(const std::string &s) {
    return QString::fromStdString(s);
}

std::function<void(const std::string &)> &LinkOpener() {
    static std::function<void(const std::string &)> opener = [](const std::string &link) {
        QDesktopServices::openUrl(QUrl(QString::fromStdString(link)));
    };
    return opener;
}

const char *ListName(Kind kind) {
    static const char *const names[] = {"Países",         "Lugares Geográficos", "Grupo Personas",
                                        "Lista Personas", "Grupo Empresas",      "Lista Empresas"};
    return names[static_cast<int>(kind)];
}

const char *UsageHeader(Kind kind) {
    switch (kind) {
    case Kind::Country:
        return "Lugares con este País";
    case Kind::Place:
        return "P>L";
    case Kind::PersonGroup:
        return "Personas con este Grupo";
    default:
        return "Empresas con este Grupo";
    }
}

CivilDateTime Today() {
    const QDate d = QDate::currentDate();
    CivilDateTime t;
    t.year = d.year();
    t.month = d.month();
    t.day = d.day();
    return t;
}

// Removes the records in `gone` from a list.
template <class T> void RemoveRecords(RecordList<T> &list, const std::unordered_set<const TData *> &gone) {
    std::erase_if(list, [&gone](const auto &r) { return gone.contains(r.get()); });
}

bool Renumbered(Kind kind) {
    return kind == Kind::Country || kind == Kind::Place || kind == Kind::PersonGroup || kind == Kind::Person;
}

QColor FromBgr(std::uint32_t bgr) {
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                  static_cast<int>((bgr >> 16) & 0xFF));
}

} // namespace

ManagerMode ManagerModeFor(const std::string &executablePath) {
    return QString::fromStdString(executablePath).contains("tarjaro", Qt::CaseInsensitive)
               ? ManagerMode::Standalone
               : ManagerMode::InChartProgram;
}

// ---- construction ----

TFormMainTarjaro::TFormMainTarjaro(DataStore &store, ManagerMode mode, QWidget *parent)
    : QWidget(parent, Qt::Window), store_(store), mode_(mode), builder_(store.Db()) {
    setObjectName("TFormMainTarjaro");
    setWindowTitle("Tarjaro");
    SetCurrentSuite(CurrentSuite());
    ApplySuite(this);
    filters_.birthdayMonth = QDate::currentDate().month();

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(BuildFileBar());
    auto *body = new QHBoxLayout;
    body->addWidget(BuildFilterPanel());
    auto *centre = new QVBoxLayout;
    auto *gridRow = new QHBoxLayout;
    model_ = new RecordTableModel(store_.Db(), this);
    grid_ = new QTableView(this);
    grid_->setObjectName("SGLista");
    grid_->setModel(model_);
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->verticalHeader()->hide();
    grid_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid_->verticalHeader()->setDefaultSectionSize(kRowHeight);
    grid_->horizontalHeader()->setHighlightSections(false);
    grid_->horizontalHeader()->setStyleSheet("QHeaderView::section { background: rgb(235, 235, 235); }");
    grid_->setContextMenuPolicy(Qt::CustomContextMenu);
    grid_->setWordWrap(false);
    grid_->installEventFilter(this);
    // The current row is painted yellow with black text, as the row colours of the grid say.
    QPalette gridPalette = grid_->palette();
    gridPalette.setColor(QPalette::Highlight, QColor(255, 255, 0));
    gridPalette.setColor(QPalette::HighlightedText, Qt::black);
    grid_->setPalette(gridPalette);
    gridRow->addWidget(grid_, 1);
    gridRow->addWidget(BuildSummaryPanel());
    centre->addLayout(gridRow, 1);
    centre->addWidget(BuildPagingBar());
    centre->addWidget(BuildItemBar());
    body->addLayout(centre, 1);
    layout->addLayout(body, 1);

    connect(grid_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &TFormMainTarjaro::CurrentRowChanged);
    connect(grid_, &QTableView::doubleClicked, this, [this](const QModelIndex &index) {
        if (index.column() != RecordTableModel::kTickColumn)
            EditItem();
    });
    connect(grid_, &QTableView::clicked, this, [this](const QModelIndex &index) {
        if (index.column() == RecordTableModel::kTickColumn)
            ToggleTick(index.row());
    });
    connect(grid_, &QTableView::customContextMenuRequested, this, &TFormMainTarjaro::ShowContextMenu);

    // After the file was read again (another program let it go), everything shown is refreshed.
    store_.reloaded = [this] {
        DataChanged();
        FillCombos();
        UpdateCaption();
        Rebuild();
    };

    resize(1100, 640);
    if (mode_ == ManagerMode::Standalone) {
        settingsButton_->setToolTip("Configurar Tarjaro");
    } else {
        settingsButton_->hide();
    }
    FillCombos();
    UpdateCaption();
    filtering_ = false;
    ResetFilterControls(true);
    filtering_ = true;
    SetListKind(Kind::Person);
}

TFormMainTarjaro::~TFormMainTarjaro() {
    store_.reloaded = nullptr;
    // The grid's selection changes while it is torn down; nothing here may react to them any more.
    disconnect(grid_->selectionModel(), nullptr, this, nullptr);
}

QWidget *TFormMainTarjaro::BuildFileBar() {
    auto *bar = new QWidget(this);
    auto *row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
    const auto button = [this, bar, row](const char *name, const QString &text, const QString &hint) {
        auto *b = new QToolButton(bar);
        b->setObjectName(name);
        b->setText(text);
        b->setToolButtonStyle(Qt::ToolButtonTextOnly);
        hints_.push_back({b, hint});
        row->addWidget(b);
        return b;
    };
    auto *open = button("SBAbrir", "Abrir", "Abrir archivo de datos");
    copyButton_ = button("SBCopia", "Copia", "Crear copia del archivo actual");
    auto *create = button("SBNuevoArchivo", "Nuevo archivo", "Crear nuevo archivo de datos");
    auto *backup = button("SBRespaldo", "Respaldo", "Crear copia de respaldo del archivo actual");
    auto *append = button("SBAnexar", "Anexar", "Anexar datos de otro archivo al archivo actual");
    auto *csv = button("SBExportar", "CSV", "Exportar a formato CVS");
    importButton_ = button("SBImportar", "Importar lugares", "Importar lugares geograficos");
    fileButtons_ = {copyButton_, backup, append, csv, importButton_};
    connect(open, &QToolButton::clicked, this, &TFormMainTarjaro::ChooseAndOpen);
    connect(copyButton_, &QToolButton::clicked, this, &TFormMainTarjaro::CopyFile);
    connect(create, &QToolButton::clicked, this, &TFormMainTarjaro::NewFile);
    connect(backup, &QToolButton::clicked, this, &TFormMainTarjaro::BackupFile);
    connect(append, &QToolButton::clicked, this, &TFormMainTarjaro::AppendFile);
    connect(csv, &QToolButton::clicked, this, &TFormMainTarjaro::ExportCsv);
    connect(importButton_, &QToolButton::clicked, this, &TFormMainTarjaro::ImportPlaces);

    row->addSpacing(16);
    kindCombo_ = new QComboBox(bar);
    kindCombo_->setObjectName("CBTipoLista");
    kindCombo_->addItems({"Paises", "Lug. geog.", "Grupos", "Personas"});
    kindCombo_->installEventFilter(this);
    row->addWidget(kindCombo_);
    kindButtons_ = new QButtonGroup(this);
    const char *names[] = {"SBPaises", "SBLugares", "SBGrupos", "SBPersonas"};
    const char *texts[] = {"P", "L", "G", "Ps"};
    const char *tips[] = {"País", "Luagr geográfico", "Grupos", "Personas"};
    for (int i = 0; i < 4; ++i) {
        auto *b = button(names[i], texts[i], QString::fromUtf8(tips[i]));
        b->setCheckable(true);
        kindButtons_->addButton(b, i);
    }
    connect(kindCombo_, &QComboBox::activated, this, [this](int i) { SetListKind(static_cast<Kind>(i)); });
    connect(kindButtons_, &QButtonGroup::idClicked, this,
            [this](int i) { SetListKind(static_cast<Kind>(i)); });

    row->addStretch(1);
    settingsButton_ = button("SBConfigurar", "Configurar", "Configurar Tarjaro");
    settingsButton_->setCheckable(true);
    connect(settingsButton_, &QToolButton::toggled, this, &TFormMainTarjaro::ShowSettings);
    auto *help = button("SBAyuda", "Ayuda", "Ayuda Tarjaro");
    auto *close = button("SBCerrar", "Cerrar", "Cerrar Tarjaro");
    connect(help, &QToolButton::clicked, this, [] {
        LinkOpener()(QUrl::fromLocalFile(QString::fromStdString((HelpDirectory() / "index.html").string()))
                         .toString()
                         .toStdString());
    });
    connect(close, &QToolButton::clicked, this, &QWidget::close);
    return bar;
}

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
    connect(nameFilter_, &QLineEdit::textChanged, this, &TFormMainTarjaro::Rebuild);

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
    connect(businessGroup_, &QComboBox::currentIndexChanged, this, &TFormMainTarjaro::Rebuild);
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
    for (QRadioButton *r : {dstNo_, dstYes_, dstBoth_}) {
        dstRow->addWidget(r);
        connect(r, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                Rebuild();
        });
    }
    grid->addWidget(dstBox, 1, 0, 1, 4);
    tzOn_ = new QCheckBox("Time Zone (TZ):", page);
    tzOn_->setObjectName("CBTZ");
    tzFrom_ = new QSpinBox(page);
    tzFrom_->setObjectName("SETZDesde");
    tzTo_ = new QSpinBox(page);
    tzTo_->setObjectName("SETZHasta");
    for (QSpinBox *s : {tzFrom_, tzTo_}) {
        s->setRange(-12, 12);
        connect(s, &QSpinBox::valueChanged, this, &TFormMainTarjaro::Rebuild);
    }
    grid->addWidget(tzOn_, 2, 0);
    grid->addWidget(tzFrom_, 2, 1);
    grid->addWidget(tzTo_, 2, 2);
    grid->setRowStretch(3, 1);
    connect(placeCountry_, &QComboBox::currentIndexChanged, this, &TFormMainTarjaro::Rebuild);
    connect(tzOn_, &QCheckBox::toggled, this, [this](bool on) {
        tzFrom_->setEnabled(on);
        tzTo_->setEnabled(on);
        Rebuild();
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
    connect(surnameFilter_, &QLineEdit::textChanged, this, &TFormMainTarjaro::Rebuild);
    connect(sex_, &QComboBox::currentIndexChanged, this, &TFormMainTarjaro::Rebuild);

    personTabs_ = new QTabWidget(page);
    personTabs_->setObjectName("TCPersonas");
    const auto rebuildOn = [this](QAbstractButton *b) {
        connect(b, &QAbstractButton::toggled, this, &TFormMainTarjaro::Rebuild);
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
    auto *groupButtons = new QVBoxLayout;
    groupButtons->addWidget(allGroups);
    groupButtons->addWidget(noGroups);
    groupButtons->addStretch(1);
    g->addLayout(groupButtons, 3, 3);
    for (QAbstractButton *b :
         std::initializer_list<QAbstractButton *>{groupFilter_, withoutGroup_, searchAnd_, different_})
        rebuildOn(b);
    connect(searchAnd_, &QRadioButton::toggled, this, [this](bool on) {
        if (!on)
            same_->setChecked(true);
        different_->setEnabled(on);
    });
    connect(groupList_, &QListWidget::itemClicked, this, [this](QListWidgetItem *item) {
        const std::int32_t id = item->data(Qt::UserRole).toInt();
        Database &db = store_.Db();
        if (const int i = IndexOfId(db.PersonGroups, id); i >= 0) {
            auto &group = *db.PersonGroups[static_cast<std::size_t>(i)];
            group.Marca = group.Marca ? 0 : 1;
        }
        FillGroupFilter();
        Rebuild();
    });
    const auto tickGroups = [this](bool on) {
        for (auto &group : store_.Db().PersonGroups)
            group->Marca = on ? 1 : 0;
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
    for (QRadioButton *r : {whichAll_, whichHome_, whichWork_, whichBirth_}) {
        whichGroup->addButton(r);
        p->addWidget(r, 3 + col / 2, col % 2 * 2, 1, 2);
        ++col;
        rebuildOn(r);
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
    rebuildOn(notEqual_);
    connect(withoutPlace_, &QCheckBox::toggled, this, [this](bool on) {
        personCountry_->setEnabled(!on);
        personPlace_->setEnabled(!on);
        Rebuild();
    });
    connect(personCountry_, &QComboBox::currentIndexChanged, this, [this] {
        FillPersonPlaces();
        Rebuild();
    });
    connect(personPlace_, &QComboBox::currentIndexChanged, this, &TFormMainTarjaro::Rebuild);
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
    for (QSpinBox *s : {ageFrom_, ageTo_}) {
        s->setRange(0, 200);
        connect(s, &QSpinBox::valueChanged, this, &TFormMainTarjaro::Rebuild);
    }
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
        const bool withDate = i == 2;
        for (QWidget *w : std::initializer_list<QWidget *>{ageOn_, ageFrom_, ageTo_, birthdayOn_, month_})
            w->setEnabled(withDate);
        Rebuild();
    });
    rebuildOn(ageOn_);
    rebuildOn(birthdayOn_);
    connect(month_, &QComboBox::currentIndexChanged, this, &TFormMainTarjaro::Rebuild);
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
    auto *exportMail = new QPushButton("Exportar lista a CVS", mail);
    exportMail->setObjectName("BTExportarCorreo");
    m->addWidget(mailAny_, 0, 0);
    m->addWidget(mailYes_, 0, 1);
    m->addWidget(mailNo_, 0, 2);
    m->addWidget(mailHome_, 1, 0);
    m->addWidget(mailWork_, 1, 1);
    m->addWidget(exportMail, 2, 0, 1, 3);
    m->setRowStretch(3, 1);
    for (QAbstractButton *b :
         std::initializer_list<QAbstractButton *>{mailYes_, mailNo_, mailHome_, mailWork_})
        rebuildOn(b);
    connect(mailAny_, &QRadioButton::toggled, this, [this](bool on) {
        mailHome_->setEnabled(!on);
        mailWork_->setEnabled(!on);
    });
    connect(exportMail, &QPushButton::clicked, this, &TFormMainTarjaro::ExportMailList);
    personTabs_->addTab(mail, QString::fromUtf8(" Correo Electrónico"));
    layout->addWidget(personTabs_, 1);
    return page;
}

QWidget *TFormMainTarjaro::BuildItemBar() {
    auto *bar = new QWidget(this);
    auto *row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
    const auto button = [this, bar, row](const char *name, const QString &text, const QString &hint) {
        auto *b = new QToolButton(bar);
        b->setObjectName(name);
        b->setText(text);
        hints_.push_back({b, hint});
        row->addWidget(b);
        return b;
    };
    newButton_ = button("SBNuevo", "Nuevo", "Nuevo");
    editButton_ = button("SBEditar", "Editar", "Editar");
    deleteButton_ = button("SBBorrar", "Borrar", "Borrar");
    deleteTickedButton_ = button("SBBorrarSel", "Borrar sel.", "Borrar seleccionado(s)");
    auto *all = button("SBTodos", "T", "Seleccionar todos");
    auto *none = button("SBNinguno", "N", "Seleccionar ninguno");
    auto *reset = button("SBVerTodos", "[*]", "Ver todos los Items");
    onlyTicked_ = new QCheckBox("seleccionados", bar);
    onlyTicked_->setObjectName("CBSeleccionados");
    row->addWidget(onlyTicked_);
    usedBox_ = new QGroupBox("items usados:", bar);
    usedBox_->setObjectName("GBUsados");
    auto *usedRow = new QHBoxLayout(usedBox_);
    usedRow->setContentsMargins(4, 0, 4, 0);
    usedYes_ = new QRadioButton(QString::fromUtf8("sí"), usedBox_);
    usedYes_->setObjectName("RBUsadosSi");
    usedNo_ = new QRadioButton("no", usedBox_);
    usedNo_->setObjectName("RBUsadosNo");
    usedBoth_ = new QRadioButton("ambos", usedBox_);
    usedBoth_->setObjectName("RBUsadosAmbos");
    for (QRadioButton *r : {usedYes_, usedNo_, usedBoth_}) {
        usedRow->addWidget(r);
        connect(r, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                Rebuild();
        });
    }
    row->addWidget(usedBox_);
    row->addStretch(1);
    addGroupButton_ = button("SBAgregarGrupo", "AG", "Agregar grupo a la lista");
    removeGroupButton_ = button("SBBorrarGrupo", "BG", "Borrar grupo de la lista");
    internetButton_ = button("SBInternet", "Internet", QString::fromUtf8("Acceso vía Internet"));
    internetMenu_ = new QMenu(internetButton_);
    const char *linkNames[] = {"WebHome", "WebWork", "MailHome", "MailWork"};
    for (int i = 0; i < 4; ++i) {
        links_[i] = internetMenu_->addAction(QString());
        links_[i]->setObjectName(linkNames[i]);
        const std::string entry = linkNames[i];
        connect(links_[i], &QAction::triggered, this, [this, entry] { OpenLink(entry); });
    }
    internetButton_->setMenu(internetMenu_);
    internetButton_->setPopupMode(QToolButton::InstantPopup);
    detailsButton_ = button("SBDetalles", "Detalles", "Detalles persona");
    detailsButton_->setCheckable(true);
    detailsButton_->setChecked(true);

    connect(newButton_, &QToolButton::clicked, this, &TFormMainTarjaro::AddItem);
    connect(editButton_, &QToolButton::clicked, this, &TFormMainTarjaro::EditItem);
    connect(deleteButton_, &QToolButton::clicked, this, &TFormMainTarjaro::DeleteItem);
    connect(deleteTickedButton_, &QToolButton::clicked, this, &TFormMainTarjaro::DeleteTicked);
    connect(all, &QToolButton::clicked, this, [this] { SetTicksOnPage(true); });
    connect(none, &QToolButton::clicked, this, [this] { SetTicksOnPage(false); });
    connect(reset, &QToolButton::clicked, this, [this] {
        ResetFilterControls(true);
        Rebuild();
    });
    connect(onlyTicked_, &QCheckBox::toggled, this, &TFormMainTarjaro::Rebuild);
    connect(addGroupButton_, &QToolButton::clicked, this, [this] { AssignGroup(true); });
    connect(removeGroupButton_, &QToolButton::clicked, this, [this] { AssignGroup(false); });
    connect(detailsButton_, &QToolButton::toggled, this, [this] { SetListKind(kind_); });
    return bar;
}

QWidget *TFormMainTarjaro::BuildPagingBar() {
    auto *bar = new QWidget(this);
    auto *row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
    auto *prev = new QToolButton(bar);
    prev->setObjectName("SBPaginaAnterior");
    prev->setText("<");
    auto *next = new QToolButton(bar);
    next->setObjectName("SBPaginaSiguiente");
    next->setText(">");
    prevPage_ = prev;
    nextPage_ = next;
    allOnOnePage_ = new QCheckBox("Todos", bar);
    allOnOnePage_->setObjectName("CBTodos");
    allOnOnePage_->setToolTip(QString::fromUtf8("Ver todos los items en una sola página"));
    allOnOnePage_->setChecked(true);
    row->addWidget(prev);
    row->addWidget(next);
    row->addWidget(allOnOnePage_);
    row->addSpacing(12);
    row->addWidget(new QLabel("Items: ", bar));
    itemsLabel_ = new QLabel(bar);
    itemsLabel_->setObjectName("LAItems");
    row->addWidget(itemsLabel_);
    row->addSpacing(12);
    row->addWidget(new QLabel("items encontrados:  ", bar));
    foundLabel_ = new QLabel(bar);
    foundLabel_->setObjectName("LAEncontrados");
    row->addWidget(foundLabel_);
    row->addStretch(1);
    connect(prev, &QToolButton::clicked, this, [this] { GoToPage(page_ - 1); });
    connect(next, &QToolButton::clicked, this, [this] { GoToPage(page_ + 1); });
    connect(allOnOnePage_, &QCheckBox::toggled, this, [this] { GoToPage(1); });
    return bar;
}

QWidget *TFormMainTarjaro::BuildSummaryPanel() {
    summaryPanel_ = new QWidget(this);
    summaryPanel_->setObjectName("PNDetalles");
    auto *layout = new QVBoxLayout(summaryPanel_);
    layout->setContentsMargins(0, 0, 0, 0);
    summary_ = new QTextEdit(summaryPanel_);
    summary_->setObjectName("REResumen");
    summary_->setReadOnly(true);
    layout->addWidget(summary_, 1);
    auto *see = new QGroupBox("Ver:", summaryPanel_);
    auto *grid = new QGridLayout(see);
    const char *names[] = {"CBVerGenero",  "CBVerNacimiento", "CBVerResidencia",
                           "CBVerTrabajo", "CBVerOtros",      "CBVerObservaciones"};
    const char *texts[] = {"Genero",  "Nacimiento",          "Residencia",
                           "Trabajo", "Grupos, no. eventos", "Observaciones"};
    for (int i = 0; i < 6; ++i) {
        summaryBoxes_[i] = new QCheckBox(texts[i], see);
        summaryBoxes_[i]->setObjectName(names[i]);
        summaryBoxes_[i]->setChecked(true);
        grid->addWidget(summaryBoxes_[i], i / 2, i % 2);
        connect(summaryBoxes_[i], &QCheckBox::toggled, this, &TFormMainTarjaro::UpdateSummary);
    }
    layout->addWidget(see);
    return summaryPanel_;
}

// ---- settings, caption, hints ----

void TFormMainTarjaro::UseSettings(const ManagerSettings &settings, const std::string &settingsPath) {
    settings_ = settings;
    settingsPath_ = settingsPath;
    SetCurrentSuite(settings.color);
    ApplySuite(this);
    const bool boxes[6] = {settings.summary.genero,     settings.summary.nacimiento,
                           settings.summary.residencia, settings.summary.trabajo,
                           settings.summary.grupos,     settings.summary.observaciones};
    for (int i = 0; i < 6; ++i)
        summaryBoxes_[i]->setChecked(boxes[i]);
    ApplyHints();
}

void TFormMainTarjaro::ApplyHints() {
    const bool on = mode_ != ManagerMode::Standalone || settings_.hint;
    for (auto &[widget, hint] : hints_)
        widget->setToolTip(on ? hint : QString());
}

void TFormMainTarjaro::UpdateCaption() {
    if (FileIsOpen())
        setWindowTitle(QString("Tarjaro  [") + Q(FileNameOf(store_.Db().Path)) + "]");
    else
        setWindowTitle("Tarjaro");
}

void TFormMainTarjaro::ShowSettings(bool on) {
    if (!on) {
        if (settingsWindow_)
            settingsWindow_->close();
        return;
    }
    if (settingsWindow_)
        return;
    settingsWindow_ = new TFormSetUpAgenda(settings_.hint, settings_.color, this);
    connect(settingsWindow_, &TFormSetUpAgenda::hintsChanged, this, [this](bool hint) {
        settings_.hint = hint;
        ApplyHints();
    });
    connect(settingsWindow_, &TFormSetUpAgenda::suiteChanged, this, [this](int suite) {
        settings_.color = suite;
        ApplySuite(this);
    });
    connect(settingsWindow_, &TFormSetUpAgenda::closed, this, [this] {
        settingsWindow_ = nullptr;
        settingsButton_->setChecked(false);
    });
    settingsWindow_->show();
}

// ---- files ----

bool TFormMainTarjaro::OpenFile(const std::string &path) {
    const std::string full =
        path.empty() ? path : QFileInfo(QString::fromStdString(path)).absoluteFilePath().toStdString();
    if (!store_.Open(full))
        return false;
    settings_.file = full;
    DataChanged();
    FillCombos();
    UpdateCaption();
    filtering_ = false;
    ResetFilterControls(false);
    filtering_ = true;
    Rebuild();
    if (activated_)
        store_.ReadOnly();
    return true;
}

void TFormMainTarjaro::ChooseAndOpen() {
    const std::string folder = QFileInfo(Q(store_.Db().Path)).absolutePath().toStdString();
    const std::string path = Files().OpenFile(this, "Abrir archivo de datos", folder, kAgeFilter);
    if (!path.empty())
        OpenFile(path);
}

void TFormMainTarjaro::CopyFile() {
    const std::string name = QString::fromStdString(FileNameOf(store_.Db().Path)).toUpper().toStdString();
    const std::string path =
        Files().SaveFile(this, "Crear copia del archivo " + name, store_.Db().Path, kAgeFilter, "age", true);
    if (path.empty() || store_.ReadOnly())
        return;
    if (!store_.SaveAs(path))
        return;
    settings_.file = path;
    DataChanged();
    UpdateCaption();
    Rebuild();
}

void TFormMainTarjaro::NewFile() {
    const std::string folder = QFileInfo(Q(store_.Db().Path)).absolutePath().toStdString();
    const std::string path =
        Files().SaveFile(this, "Crear nuevo archivo de datos", folder + "/", kAgeFilter, "age", true);
    if (path.empty() || store_.ReadOnly())
        return;
    Database empty;
    if (store_.WriteCopy(path, empty))
        OpenFile(path);
}

void TFormMainTarjaro::BackupFile() {
    if (backupFolder_.empty())
        backupFolder_ = QFileInfo(Q(store_.Db().Path)).absolutePath().toStdString();
    const QString today = QDate::currentDate().toString("MM-d-yyyy");
    const std::string proposed =
        backupFolder_ + "/Backup_" + today.toStdString() + "_" + FileNameOf(store_.Db().Path);
    const std::string path = Files().SaveFile(this, "Crear copia de respaldo del archivo actual", proposed,
                                              kAgeFilter, "age", true);
    if (path.empty() || store_.ReadOnly())
        return;
    backupFolder_ = QFileInfo(Q(path)).absolutePath().toStdString();
    store_.WriteCopy(path, store_.Db());
    DataChanged();
    Rebuild();
}

void TFormMainTarjaro::AppendFile() {
    const std::string folder = QFileInfo(Q(store_.Db().Path)).absolutePath().toStdString();
    const std::string path =
        Files().OpenFile(this, "Anexar datos de otro archivo al archivo actual", folder, kAgeFilter);
    if (path.empty() || store_.ReadOnly())
        return;
    const std::string full = QFileInfo(Q(path)).absoluteFilePath().toStdString();
    Notifier &n = store_.Notices();
    MergeResult result;
    try {
        result = MergeDataFile(store_.Db(), full, n, store_.Format());
    } catch (const FileError &e) {
        n.Notice(NoticeKind::Error, false, true, e.what());
        return;
    } catch (const IdLimitError &e) {
        n.Notice(NoticeKind::Error, false, true, e.what());
        return;
    }
    if (!result.merged)
        return;
    store_.Save();
    DataChanged();
    FillCombos();
    Rebuild();
    int added = 0, declined = 0;
    std::string declinedNames;
    for (const PlaceResolution &r : result.places) {
        if (r.outcome == PlaceOutcome::Added || r.outcome == PlaceOutcome::AddedRenamed)
            ++added;
        if (r.outcome == PlaceOutcome::NameDeclined || r.outcome == PlaceOutcome::DataKept) {
            ++declined;
            declinedNames += "\r" + r.name;
        }
    }
    std::string text = "Datos anexados de " + FileNameOf(full) +
                       "\r\rPersonas agregadas: " + std::to_string(result.personsAdded) + " (grupo \"" +
                       result.groupName + "\")" +
                       "\rPaíses agregados: " + std::to_string(result.countriesAdded) +
                       "\rGrupos agregados: " + std::to_string(result.groupsAdded) +
                       "\rLugares geográficos agregados: " + std::to_string(added) +
                       "\rLugares geográficos no agregados: " + std::to_string(declined) + declinedNames;
    if (!result.personsWithoutPlace.empty()) {
        text += "\r\rPersonas que quedaron sin lugar:";
        for (const std::string &p : result.personsWithoutPlace)
            text += "\r" + p;
    }
    if (!result.failedLines.empty())
        text +=
            "\r\rLíneas del archivo que no se pudieron leer: " + std::to_string(result.failedLines.size());
    n.Notice(NoticeKind::Information, false, false, text);
}

void TFormMainTarjaro::ImportPlaces() {
    if (!FileIsOpen())
        return;
    if (ImportPlaceFile(this, store_, true)) {
        DataChanged();
        FillCombos();
    }
    Rebuild();
}

void TFormMainTarjaro::ExportCsv() {
    if (kind_ == Kind::BusinessGroup || kind_ == Kind::Business)
        return;
    const std::string folder = QFileInfo(Q(store_.Db().Path)).absolutePath().toStdString();
    const std::string path =
        Files().SaveFile(this, "Exportar a formato CVS", folder + "/", kCsvFilter, "csv", true);
    if (path.empty())
        return;
    PersonCsvOptions options;
    if (kind_ == Kind::Person) {
        TFormExportPersona dialog(this);
        if (dialog.exec() != QDialog::Accepted)
            return;
        options = dialog.Options();
    }
    if (store_.ReadOnly())
        return;
    const Database &db = store_.Db();
    std::string text;
    switch (kind_) {
    case Kind::Country: {
        std::vector<const TPais *> rows;
        for (TData *r : display_)
            rows.push_back(static_cast<const TPais *>(r));
        text = CountriesCsv(rows);
        break;
    }
    case Kind::Place: {
        std::vector<const TLugar_Geo *> rows;
        for (TData *r : display_)
            rows.push_back(static_cast<const TLugar_Geo *>(r));
        text = PlacesCsv(db, rows);
        break;
    }
    case Kind::PersonGroup: {
        std::vector<const TData *> rows(display_.begin(), display_.end());
        text = PersonGroupsCsv(rows);
        break;
    }
    default: {
        std::vector<const TPersona *> rows;
        for (TData *r : display_)
            rows.push_back(static_cast<const TPersona *>(r));
        text = PersonsCsv(db, rows, options, store_.Format());
        break;
    }
    }
    try {
        WriteCsvFile(path, text);
    } catch (const FileError &e) {
        store_.Notices().Notice(NoticeKind::Error, false, true, e.what());
        return;
    }
    store_.Notices().Notice(NoticeKind::Information, false, true, CsvCreatedText(path));
}

void TFormMainTarjaro::ExportMailList() {
    if (kind_ != Kind::Person)
        return;
    const std::string folder = QFileInfo(Q(store_.Db().Path)).absolutePath().toStdString();
    const std::string path =
        Files().SaveFile(this, "Exportar lista a CVS", folder + "/", kCsvFilter, "csv", true);
    if (path.empty() || store_.ReadOnly())
        return;
    std::vector<const TPersona *> rows;
    for (TData *r : display_)
        rows.push_back(static_cast<const TPersona *>(r));
    try {
        WriteCsvFile(path, MailListCsv(rows));
    } catch (const FileError &e) {
        store_.Notices().Notice(NoticeKind::Error, false, true, e.what());
        return;
    }
    store_.Notices().Notice(NoticeKind::Information, false, true, CsvCreatedText(path));
}

// ---- combos and filters ----

void TFormMainTarjaro::FillCombos() {
    const bool was = filtering_;
    filtering_ = false;
    const Database &db = store_.Db();
    std::vector<const TPais *> countries;
    for (const auto &c : db.Countries)
        countries.push_back(c.get());
    std::stable_sort(countries.begin(), countries.end(),
                     [](const TPais *a, const TPais *b) { return NameLess(a->Nombre, b->Nombre); });
    for (QComboBox *combo : {placeCountry_, personCountry_}) {
        const int keep = combo->currentIndex() > 0 ? combo->currentData().toInt() : -1;
        combo->clear();
        combo->addItem("[*]", -1);
        for (const TPais *c : countries)
            combo->addItem(Q(c->Nombre), c->Id);
        const int at = combo->findData(keep);
        combo->setCurrentIndex(at < 0 ? 0 : at);
    }
    businessGroup_->clear();
    businessGroup_->addItem("[*]", -1);
    for (const auto &g : db.BusinessGroups)
        businessGroup_->addItem(Q(g->Nombre), g->Id);
    FillGroupFilter();
    FillPersonPlaces();
    filtering_ = was;
}

void TFormMainTarjaro::FillGroupFilter() {
    const Database &db = store_.Db();
    std::vector<const TData *> rows;
    for (const auto &g : db.PersonGroups)
        rows.push_back(g.get());
    std::stable_sort(rows.begin(), rows.end(),
                     [](const TData *a, const TData *b) { return NameLess(a->Nombre, b->Nombre); });
    const int current = groupList_->currentRow();
    groupList_->clear();
    for (const TData *g : rows) {
        auto *item = new QListWidgetItem(Q(g->Nombre), groupList_);
        item->setData(Qt::UserRole, g->Id);
        item->setCheckState(g->Marca ? Qt::Checked : Qt::Unchecked);
        item->setBackground(g->Marca ? QColor(240, 240, 255) : QColor(Qt::white));
    }
    if (current >= 0 && current < groupList_->count())
        groupList_->setCurrentRow(current);
}

void TFormMainTarjaro::FillPersonPlaces() {
    const bool was = filtering_;
    filtering_ = false;
    const Database &db = store_.Db();
    const std::int32_t country =
        personCountry_->currentIndex() > 0 ? personCountry_->currentData().toInt() : -1;
    personPlace_->clear();
    personPlace_->addItem("[*]", -1);
    if (country >= 0) {
        std::vector<const TLugar_Geo *> rows;
        for (const auto &p : db.Places)
            if (p->IdPais == country)
                rows.push_back(p.get());
        std::stable_sort(rows.begin(), rows.end(), [](const TLugar_Geo *a, const TLugar_Geo *b) {
            return NameLess(a->Nombre, b->Nombre);
        });
        for (const TLugar_Geo *p : rows)
            personPlace_->addItem(Q(p->Nombre), p->Id);
    }
    filtering_ = was;
}

void TFormMainTarjaro::ResetFilterControls(bool all) {
    ReadFilterControls();
    if (all) {
        filters_.ResetAll();
        allOnOnePage_->setChecked(true);
    } else {
        filters_.ResetForKind();
    }
    WriteFilterControls();
}

// Sets every filter control from the filter choices, without rebuilding on the way.
void TFormMainTarjaro::WriteFilterControls() {
    const bool was = filtering_;
    filtering_ = false;
    const ListFilters &f = filters_;
    const auto choose = [](QComboBox *combo, int id) {
        const int at = id < 0 ? 0 : combo->findData(id);
        combo->setCurrentIndex(at < 0 ? 0 : at);
    };
    nameFilter_->setText(QString::fromStdString(f.name));
    onlyTicked_->setChecked(f.onlyTicked);
    (f.used == UsedChoice::Yes ? usedYes_ : f.used == UsedChoice::No ? usedNo_ : usedBoth_)->setChecked(true);
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
    (f.search == GroupSearch::And ? searchAnd_ : searchOr_)->setChecked(true);
    (f.different ? different_ : same_)->setChecked(true);
    different_->setEnabled(f.search == GroupSearch::And);
    choose(personCountry_, f.personCountry);
    FillPersonPlaces();
    choose(personPlace_, f.personPlace);
    withoutPlace_->setChecked(f.withoutPlace);
    personCountry_->setEnabled(!f.withoutPlace);
    personPlace_->setEnabled(!f.withoutPlace);
    (f.which == PlaceWhich::Residencia   ? whichHome_
     : f.which == PlaceWhich::Trabajo    ? whichWork_
     : f.which == PlaceWhich::Nacimiento ? whichBirth_
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
        w->setEnabled(f.age == AgeChoice::WithDate);
    (f.mail == MailChoice::Yes ? mailYes_ : f.mail == MailChoice::No ? mailNo_ : mailAny_)->setChecked(true);
    mailHome_->setChecked(f.mailHome);
    mailWork_->setChecked(f.mailWork);
    mailHome_->setEnabled(f.mail != MailChoice::Any);
    mailWork_->setEnabled(f.mail != MailChoice::Any);
    choose(businessGroup_, f.businessGroup);
    filtering_ = was;
}

void TFormMainTarjaro::ReadFilterControls() {
    ListFilters &f = filters_;
    f.name = nameFilter_->text().toStdString();
    f.onlyTicked = onlyTicked_->isChecked();
    f.used = usedYes_->isChecked()  ? UsedChoice::Yes
             : usedNo_->isChecked() ? UsedChoice::No
                                    : UsedChoice::Both;
    f.placeCountry = placeCountry_->currentIndex() > 0 ? placeCountry_->currentData().toInt() : -1;
    f.dst = dstNo_->isChecked() ? 0 : dstYes_->isChecked() ? 1 : -1;
    f.tzOn = tzOn_->isChecked();
    f.tzFrom = tzFrom_->value();
    f.tzTo = tzTo_->value();
    f.surname = surnameFilter_->text().toStdString();
    f.sex = static_cast<SexChoice>(std::max(0, sex_->currentIndex()));
    f.groupFilter = groupFilter_->isChecked();
    f.withoutGroup = withoutGroup_->isChecked();
    f.search = searchAnd_->isChecked() ? GroupSearch::And : GroupSearch::Or;
    f.different = different_->isChecked() && searchAnd_->isChecked();
    f.personCountry = personCountry_->currentIndex() > 0 ? personCountry_->currentData().toInt() : -1;
    f.personPlace = personPlace_->currentIndex() > 0 ? personPlace_->currentData().toInt() : -1;
    f.withoutPlace = withoutPlace_->isChecked();
    f.which = whichHome_->isChecked()    ? PlaceWhich::Residencia
              : whichWork_->isChecked()  ? PlaceWhich::Trabajo
              : whichBirth_->isChecked() ? PlaceWhich::Nacimiento
                                         : PlaceWhich::All;
    f.negate = notEqual_->isChecked();
    f.age = static_cast<AgeChoice>(std::max(0, age_->currentIndex()));
    f.ageOn = ageOn_->isChecked();
    f.ageFrom = ageFrom_->value();
    f.ageTo = ageTo_->value();
    f.birthdayOn = birthdayOn_->isChecked();
    f.birthdayMonth = month_->currentIndex() + 1;
    f.mail = mailYes_->isChecked()  ? MailChoice::Yes
             : mailNo_->isChecked() ? MailChoice::No
                                    : MailChoice::Any;
    f.mailHome = mailHome_->isChecked();
    f.mailWork = mailWork_->isChecked();
    f.businessGroup = businessGroup_->currentIndex() > 0 ? businessGroup_->currentData().toInt() : -1;
}

// ---- list ----

void TFormMainTarjaro::SetListKind(Kind kind) {
    if (kind != kind_)
        selectedId_ = -1;
    kind_ = kind;
    const int k = static_cast<int>(kind);
    if (k < 4) {
        kindCombo_->setCurrentIndex(k);
        if (QAbstractButton *b = kindButtons_->button(k))
            b->setChecked(true);
    }
    filtering_ = false;
    ResetFilterControls(false);
    filtering_ = true;
    const bool persons = kind == Kind::Person;
    kindFilters_->setCurrentIndex(kind == Kind::Place ? 1 : persons ? 2 : kind == Kind::Business ? 3 : 0);
    usedBox_->setVisible(!persons && kind != Kind::Business);
    importButton_->setVisible(kind == Kind::Place && FileIsOpen());
    for (QWidget *w : std::initializer_list<QWidget *>{detailsButton_, addGroupButton_, removeGroupButton_,
                                                       internetButton_})
        w->setVisible(persons);
    const bool panel = persons && detailsButton_->isChecked();
    summaryPanel_->setVisible(panel);
    Rebuild();
    // Column widths, scaled a quarter up on screens of 120 or more pixels per inch, and with the
    // font when it is wider than the small font the widths were chosen for.
    const bool large = screen() && screen()->logicalDotsPerInch() >= 120;
    const double font = std::max(1.0, grid_->fontMetrics().averageCharWidth() / 5.5);
    int width14 = 0;
    for (int c = 0; c < model_->columnCount(); ++c) {
        const int w = static_cast<int>(RecordTableModel::ColumnWidth(kind, c) * (large ? 1.25 : 1.0) * font);
        grid_->setColumnWidth(c, w);
        if (c >= 1 && c <= 4)
            width14 += w;
    }
    grid_->setColumnHidden(0, true);
    if (panel)
        grid_->setFixedWidth(width14 + 26);
    else {
        grid_->setMinimumWidth(0);
        grid_->setMaximumWidth(QWIDGETSIZE_MAX);
    }
}

void TFormMainTarjaro::Rebuild() {
    if (!filtering_)
        return;
    ReadFilterControls();
    display_ = builder_.Build(kind_, filters_, Today());
    page_ = 1;
    FillPage();
}

void TFormMainTarjaro::GoToPage(int page) {
    page_ = page;
    FillPage();
}

void TFormMainTarjaro::FillPage() {
    const int rows =
        RowsPerPage(grid_->viewport()->height() + grid_->horizontalHeader()->height(), kRowHeight);
    const Paging paging =
        ComputePaging(static_cast<int>(display_.size()), rows, allOnOnePage_->isChecked(), page_);
    page_ = paging.page;
    pageCount_ = paging.pageCount;
    model_->SetPage(kind_, &display_, paging.first, paging.count);
    itemsLabel_->setText(Q(ItemsText(paging, static_cast<int>(display_.size()), allOnOnePage_->isChecked())));
    UpdateCounters();
    prevPage_->setEnabled(page_ > 1);
    nextPage_->setEnabled(!allOnOnePage_->isChecked() && page_ < pageCount_);
    const int row = model_->RowOfId(selectedId_);
    if (row >= 0) {
        grid_->selectionModel()->setCurrentIndex(model_->index(row, 3), QItemSelectionModel::ClearAndSelect |
                                                                            QItemSelectionModel::Rows);
    } else if (model_->rowCount() > 0) {
        grid_->selectionModel()->setCurrentIndex(model_->index(0, 3), QItemSelectionModel::ClearAndSelect |
                                                                          QItemSelectionModel::Rows);
    } else {
        CurrentRowChanged();
    }
    UpdateButtons();
}

void TFormMainTarjaro::UpdateCounters() {
    foundLabel_->setText(Q(FoundText(static_cast<int>(display_.size()), builder_.KindCount(kind_))));
}

void TFormMainTarjaro::UpdateButtons() {
    const bool open = FileIsOpen();
    const bool row = model_->RecordAt(grid_->currentIndex().row()) != nullptr;
    for (QAbstractButton *b : fileButtons_)
        b->setEnabled(open);
    newButton_->setEnabled(open);
    editButton_->setEnabled(open && row);
    deleteButton_->setEnabled(open && row);
    deleteTickedButton_->setEnabled(open);
    kindCombo_->setEnabled(open);
    for (QAbstractButton *b : kindButtons_->buttons())
        b->setEnabled(open);
    filterPanel_->setEnabled(open);
    importButton_->setVisible(kind_ == Kind::Place && open);
}

void TFormMainTarjaro::CurrentRowChanged() {
    const TData *r = model_->RecordAt(grid_->currentIndex().row());
    selectedId_ = r ? r->Id : -1;
    model_->SetSelectedId(selectedId_);
    UpdateSummary();
    UpdateInternetMenu();
    UpdateButtons();
}

void TFormMainTarjaro::SelectId(std::int32_t id) {
    selectedId_ = id;
    FillPage();
}

void TFormMainTarjaro::DataChanged() {
    builder_.DataChanged();
}

void TFormMainTarjaro::ToggleTick(int row) {
    TData *r = model_->RecordAt(row);
    if (!r)
        return;
    r->Marca = r->Marca ? 0 : 1;
    model_->TicksChanged();
}

void TFormMainTarjaro::SetTicksOnPage(bool on) {
    for (int row = 0; row < model_->rowCount(); ++row)
        model_->RecordAt(row)->Marca = on ? 1 : 0;
    model_->TicksChanged();
}

void TFormMainTarjaro::ShowContextMenu(const QPoint &pos) {
    const QModelIndex index = grid_->indexAt(pos);
    if (!index.isValid())
        return;
    grid_->selectionModel()->setCurrentIndex(index,
                                             QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    QMenu menu(this);
    menu.addAction("Agregar", this, &TFormMainTarjaro::AddItem);
    menu.addAction("Editar", this, &TFormMainTarjaro::EditItem);
    menu.addAction("Borrar", this, &TFormMainTarjaro::DeleteItem);
    menu.addAction("Borrar seleccionados", this, &TFormMainTarjaro::DeleteTicked);
    if (kind_ == Kind::Person) {
        QMenu *internet = menu.addMenu("Internet");
        for (QAction *a : links_)
            if (a->isVisible())
                internet->addAction(a);
        internet->setEnabled(!internet->isEmpty());
        QAction *details = menu.addAction("Detalles persona");
        details->setCheckable(true);
        details->setChecked(detailsButton_->isChecked());
        connect(details, &QAction::toggled, detailsButton_, &QAbstractButton::setChecked);
    }
    if (kind_ == Kind::Place)
        menu.addAction(QString::fromUtf8("Importar lugar geográfico"), this, &TFormMainTarjaro::ImportPlaces);
    menu.exec(grid_->viewport()->mapToGlobal(pos));
}

bool TFormMainTarjaro::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent *>(event)->key();
    if (watched == grid_) {
        switch (key) {
        case Qt::Key_Space:
            ToggleTick(grid_->currentIndex().row());
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_F2:
            EditItem();
            return true;
        case Qt::Key_Insert:
            AddItem();
            return true;
        case Qt::Key_Delete:
            DeleteItem();
            return true;
        case Qt::Key_F5:
            kindCombo_->setFocus();
            kindCombo_->showPopup();
            return true;
        default:
            break;
        }
    } else if (watched == kindCombo_ && key == Qt::Key_Escape) {
        grid_->setFocus();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

// ---- items ----

void TFormMainTarjaro::OpenEditor(std::int32_t id) {
    if (!FileIsOpen() || store_.ReadOnly())
        return;
    TFormItem editor(store_, kind_, id, EditorMode::NamesOnly, this);
    if (kind_ == Kind::Person && id >= 0) {
        editor.SetNeighbours([this](std::int32_t current, int step) {
            const auto it = std::find_if(display_.begin(), display_.end(),
                                         [current](const TData *r) { return r->Id == current; });
            if (it == display_.end())
                return -1;
            const auto at = (it - display_.begin()) + step;
            return at >= 0 && at < static_cast<std::ptrdiff_t>(display_.size())
                       ? display_[static_cast<std::size_t>(at)]->Id
                       : -1;
        });
        connect(&editor, &TFormItem::stored, this, [this](std::int32_t storedId) {
            DataChanged();
            selectedId_ = storedId;
            Rebuild();
        });
    }
    const bool stored = editor.exec() == QDialog::Accepted;
    // Even a cancelled editor may have saved a country, a place or events on the way.
    DataChanged();
    if (stored)
        selectedId_ = editor.EditedId();
    FillCombos();
    Rebuild();
}

void TFormMainTarjaro::AddItem() {
    OpenEditor(-1);
}

void TFormMainTarjaro::EditItem() {
    if (model_->RecordAt(grid_->currentIndex().row()))
        OpenEditor(selectedId_);
}

void TFormMainTarjaro::DeleteItem() {
    TData *r = model_->RecordAt(grid_->currentIndex().row());
    if (!r || !FileIsOpen() || store_.ReadOnly())
        return;
    Notifier &n = store_.Notices();
    if (r->Usos != 0 && kind_ != Kind::Person && kind_ != Kind::Business) {
        n.Notice(NoticeKind::Warning, false, true,
                 std::string("NO se puede eliminar el item") + " \"" + r->Nombre + "\"" + " de la lista de " +
                     ListName(kind_) + ", ya que esta siendo usado en" + " \"" + UsageHeader(kind_) + "\"");
        return;
    }
    if (!n.Notice(NoticeKind::Question, true, true,
                  std::string("Desea eliminar el item") + " \"" + r->Nombre + "\"" + " de la lista de " +
                      ListName(kind_)))
        return;
    const int row = grid_->currentIndex().row();
    Database &db = store_.Db();
    const std::unordered_set<const TData *> gone{r};
    switch (kind_) {
    case Kind::Country:
        RemoveRecords(db.Countries, gone);
        break;
    case Kind::Place:
        RemoveRecords(db.Places, gone);
        break;
    case Kind::PersonGroup:
        RemoveRecords(db.PersonGroups, gone);
        break;
    case Kind::Person:
        RemoveRecords(db.Persons, gone);
        break;
    case Kind::BusinessGroup:
        RemoveRecords(db.BusinessGroups, gone);
        break;
    case Kind::Business:
        RemoveRecords(db.Businesses, gone);
        break;
    }
    if (Renumbered(kind_))
        db.Renumber(kind_);
    DataChanged();
    selectedId_ = -1;
    Rebuild();
    FillCombos();
    store_.Save();
    if (model_->rowCount() > 0)
        grid_->selectionModel()->setCurrentIndex(model_->index(std::min(row, model_->rowCount() - 1), 3),
                                                 QItemSelectionModel::ClearAndSelect |
                                                     QItemSelectionModel::Rows);
}

void TFormMainTarjaro::DeleteTicked() {
    if (!FileIsOpen() || store_.ReadOnly())
        return;
    std::unordered_set<const TData *> gone;
    bool untick = false;
    for (TData *r : display_) {
        if (!r->Marca)
            continue;
        if (r->Usos != 0 && kind_ != Kind::Person && kind_ != Kind::Business) {
            r->Marca = 0;
            untick = true;
        } else {
            gone.insert(r);
        }
    }
    if (untick)
        Rebuild();
    if (gone.empty())
        return;
    Notifier &n = store_.Notices();
    const std::string count = std::to_string(gone.size());
    if (!n.Notice(NoticeKind::Question, true, true,
                  "Desea eliminar " + count + " items(s) seleccionado(s)") ||
        !n.Notice(NoticeKind::Question, true, true,
                  "Confirme su deseo de eliminar " + count + " registro(s) seleccionado(s)"))
        return;
    Database &db = store_.Db();
    switch (kind_) {
    case Kind::Country:
        RemoveRecords(db.Countries, gone);
        break;
    case Kind::Place:
        RemoveRecords(db.Places, gone);
        break;
    case Kind::PersonGroup:
        RemoveRecords(db.PersonGroups, gone);
        break;
    case Kind::Person:
        RemoveRecords(db.Persons, gone);
        break;
    case Kind::BusinessGroup:
        RemoveRecords(db.BusinessGroups, gone);
        break;
    case Kind::Business:
        RemoveRecords(db.Businesses, gone);
        break;
    }
    if (Renumbered(kind_))
        db.Renumber(kind_);
    DataChanged();
    selectedId_ = -1;
    Rebuild();
    FillCombos();
    store_.Save();
}

void TFormMainTarjaro::AssignGroup(bool add) {
    if (kind_ != Kind::Person || !FileIsOpen() || store_.ReadOnly())
        return;
    TFormAddGrupo chooser(store_.Db(), add ? "Agregar grupo" : "Borrar grupo", store_, this);
    if (chooser.exec() != QDialog::Accepted)
        return;
    const std::int32_t group = chooser.ChosenId();
    for (TData *r : display_) {
        auto &groups = static_cast<TPersona *>(r)->Grupos;
        const bool has =
            std::any_of(groups.begin(), groups.end(), [group](const TId &g) { return g.Id == group; });
        if (add && !has) {
            TId ref;
            ref.Id = group;
            groups.push_back(ref);
        } else if (!add && has) {
            std::erase_if(groups, [group](const TId &g) { return g.Id == group; });
        }
    }
    const std::int32_t keep = selectedId_;
    store_.Save();
    DataChanged();
    selectedId_ = keep;
    Rebuild();
}

// ---- summary and links ----

void TFormMainTarjaro::UpdateSummary() {
    summary_->clear();
    if (kind_ != Kind::Person || !summaryPanel_->isVisible())
        return;
    const Database &db = store_.Db();
    const int i = IndexOfId(db.Persons, selectedId_);
    if (i < 0)
        return;
    SummaryOptions options;
    options.genero = summaryBoxes_[0]->isChecked();
    options.nacimiento = summaryBoxes_[1]->isChecked();
    options.residencia = summaryBoxes_[2]->isChecked();
    options.trabajo = summaryBoxes_[3]->isChecked();
    options.grupos = summaryBoxes_[4]->isChecked();
    options.observaciones = summaryBoxes_[5]->isChecked();
    settings_.summary = options;
    const auto lines =
        PersonSummary(db, db.Persons[static_cast<std::size_t>(i)].get(), options, store_.Format());
    // The two tab stops of the panel, in points: values after one tab, group names after two.
    QTextOption option = summary_->document()->defaultTextOption();
    const double point = summary_->logicalDpiX() / 72.0;
    option.setTabs({QTextOption::Tab(kSummaryTabStops[0] * point, QTextOption::LeftTab),
                    QTextOption::Tab(kSummaryTabStops[1] * point, QTextOption::LeftTab)});
    summary_->document()->setDefaultTextOption(option);
    QTextCursor cursor(summary_->document());
    bool first = true;
    for (const SummaryLine &line : lines) {
        if (!first)
            cursor.insertBlock();
        first = false;
        QTextCharFormat format;
        format.setFontWeight(line.bold ? QFont::Bold : QFont::Normal);
        format.setFontUnderline(line.underline);
        format.setForeground(FromBgr(line.colour));
        QString text = QString(line.tabs, QChar('\t')) + Q(line.text);
        cursor.insertText(text, format);
    }
    summary_->moveCursor(QTextCursor::Start);
}

std::string TFormMainTarjaro::LinkFor(const TPersona &p, const std::string &entry) {
    const auto web = [](const std::string &address) {
        // A text that already names its scheme is opened as it is.
        return address.find("://") != std::string::npos ? address : "http://" + address;
    };
    if (entry == "WebHome")
        return web(p.Residencia.Web);
    if (entry == "WebWork")
        return web(p.Trabajo.Web);
    const std::string &mail = entry == "MailHome" ? p.Residencia.Email : p.Trabajo.Email;
    return "mailto:\"" + p.Nombre + " " + p.Apellidos + "\"<" + mail + ">";
}

void TFormMainTarjaro::SetLinkOpener(std::function<void(const std::string &)> opener) {
    if (opener)
        LinkOpener() = std::move(opener);
    else
        LinkOpener() = [](const std::string &link) {
            QDesktopServices::openUrl(QUrl(QString::fromStdString(link)));
        };
}

void TFormMainTarjaro::UpdateInternetMenu() {
    const Database &db = store_.Db();
    const int i = kind_ == Kind::Person ? IndexOfId(db.Persons, selectedId_) : -1;
    const TPersona *p = i >= 0 ? db.Persons[static_cast<std::size_t>(i)].get() : nullptr;
    const std::string *fields[4] = {};
    if (p) {
        fields[0] = &p->Residencia.Web;
        fields[1] = &p->Trabajo.Web;
        fields[2] = &p->Residencia.Email;
        fields[3] = &p->Trabajo.Email;
    }
    bool any = false;
    for (int k = 0; k < 4; ++k) {
        const bool visible = p && !fields[k]->empty();
        links_[k]->setVisible(visible);
        if (visible)
            links_[k]->setText(Q((k < 2 ? "Ir al sitio Web : " : "Enviar mail a: ") + *fields[k]));
        any = any || visible;
    }
    internetButton_->setEnabled(any);
}

void TFormMainTarjaro::OpenLink(const std::string &entry) {
    const Database &db = store_.Db();
    const int i = IndexOfId(db.Persons, selectedId_);
    if (i >= 0)
        LinkOpener()(LinkFor(*db.Persons[static_cast<std::size_t>(i)], entry));
}

// ---- window life ----

void TFormMainTarjaro::FirstActivation() {
    if (activated_)
        return;
    activated_ = true;
    SetListKind(Kind::Person);
    store_.ReadOnly();
}

void TFormMainTarjaro::showEvent(QShowEvent *event) {
    QWidget::showEvent(event);
    if (!activated_)
        QTimer::singleShot(0, this, &TFormMainTarjaro::FirstActivation);
}

void TFormMainTarjaro::resizeEvent(QResizeEvent *event) {
    QWidget::resizeEvent(event);
    if (!allOnOnePage_->isChecked())
        FillPage();
}

void TFormMainTarjaro::closeEvent(QCloseEvent *event) {
    if (settingsWindow_)
        settingsWindow_->close();
    if (mode_ == ManagerMode::Standalone) {
        store_.Release();
        if (!settingsPath_.empty()) {
            std::string error;
            if (!settings_.Save(settingsPath_, &error))
                store_.Notices().Notice(NoticeKind::Error, false, true, error);
        }
    }
    event->accept();
    emit closed();
}

TFormMainTarjaro *TFormMainTarjaro::OpenFromChartProgram(QWidget *mainWindow, DataStore &store,
                                                         std::function<void()> onClosed, bool splash) {
    auto *manager = new TFormMainTarjaro(store, ManagerMode::InChartProgram);
    manager->setAttribute(Qt::WA_DeleteOnClose);
    connect(manager, &TFormMainTarjaro::closed, mainWindow, [mainWindow, onClosed] {
        mainWindow->show();
        if (onClosed)
            onClosed();
    });
    if (mainWindow)
        mainWindow->hide();
    manager->show();
    if (splash) {
        auto *window = new TFormSplashTarjaro(1000);
        window->show();
        window->raise();
    }
    return manager;
}

} // namespace cel::manager
