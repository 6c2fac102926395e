#include "workspace/settings_dialog.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QFontDialog>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

#include <cmath>

#include "chart/records.h"
#include "graphics/glyphs.h"
#include "workspace/dialog_palette.h"

namespace cel::workspace {

namespace {

QColor ToQColor(settings::Colour v) {
    return QColor(v & 0xFF, (v >> 8) & 0xFF, (v >> 16) & 0xFF);
}
settings::Colour FromQColor(const QColor &c) {
    return c.blue() * 65536 + c.green() * 256 + c.red();
}

QCheckBox *Check(const char *name, const QString &text) {
    auto *c = new QCheckBox(text);
    c->setObjectName(name);
    return c;
}

QPushButton *Button(const char *name, const QString &text) {
    auto *b = new QPushButton(text);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

void SetSwatch(QLabel *label, const QColor &colour) {
    label->setAutoFillBackground(true);
    QPalette p = label->palette();
    p.setColor(QPalette::Window, colour);
    label->setPalette(p);
}

constexpr const char *kElementNames[] = {"Fuego", "Tierra", "Aire", "Agua"};
constexpr const char *kRelationNames[] = {
    "", "Aspecto", "A si mismo", "Casa que rige", "Casa que ocupa", "Dispositor", "Resaltar aspecto"};

} // namespace

TFormSetUpCEL::TFormSetUpCEL(Notifier &notifier, settings::Settings &settings, std::function<void()> apply,
                             std::function<void()> refresh, QWidget *parent)
    : QDialog(parent, Qt::Tool | Qt::WindowStaysOnTopHint), notifier_(notifier), s_(settings),
      apply_(std::move(apply)), refresh_(std::move(refresh)) {
    setObjectName("FormSetUpCEL");
    setWindowTitle("Configurar");
    setModal(false);
    setAttribute(Qt::WA_DeleteOnClose);
    auto *column = new QVBoxLayout(this);
    auto *tabs = new QTabWidget;
    tabs->setObjectName("PCSetUp");
    tabs->setUsesScrollButtons(false);
    tabs->addTab(BuildWheelPage(), " Rueda ");
    tabs->addTab(BuildRelationPage(), " Colores relación tabla aspectos ");
    tabs->addTab(BuildDignityPage(), " Dignidades ");
    tabs->addTab(BuildTextsPage(), "Texto diagramas");
    tabs->addTab(BuildProgramPage(), " Programa ");
    column->addWidget(tabs);
    FollowScheme(this);
    Load();
}

void TFormSetUpCEL::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    activated_ = true;
}

QWidget *TFormSetUpCEL::BuildWheelPage() {
    auto *page = new QWidget;
    auto *row = new QHBoxLayout(page);
    auto *left = new QVBoxLayout;
    cbSignos_ = Check("CBSignos", "Signos Zodíaco");
    cbGrados_ = Check("CBGrados", "Lineas grados");
    left->addWidget(cbSignos_);
    left->addWidget(cbGrados_);
    auto *points = new QGroupBox("Planetas");
    auto *pl = new QVBoxLayout(points);
    cbPlanetas_ = Check("CBPlanetas", "Planetas");
    cbPlaSigno_ = Check("CBPlanetasSigno", "Signo");
    cbPlaTexto_ = Check("CBPlanetasTexto", "Texto posición");
    cbPlaSeg_ = Check("CBPlanetasSeg", "Segundos");
    cbRetro_ = Check("CBRetro", "Retrog.");
    for (QCheckBox *c : {cbPlanetas_, cbPlaSigno_, cbPlaTexto_, cbPlaSeg_, cbRetro_})
        pl->addWidget(c);
    left->addWidget(points);
    auto *houses = new QGroupBox("Casas");
    auto *hl = new QVBoxLayout(houses);
    cbCasas_ = Check("CBCasas", "Casas");
    cbCasSigno_ = Check("CBCasasSigno", "Signo");
    cbCasTexto_ = Check("CBCasasTexto", "Texto posición");
    cbCasSeg_ = Check("CBCasasSeg", "Segundos");
    cbCasLin_ = Check("CBCasasLin", "Linea");
    for (QCheckBox *c : {cbCasas_, cbCasSigno_, cbCasTexto_, cbCasSeg_, cbCasLin_})
        hl->addWidget(c);
    left->addWidget(houses);
    auto *font = new QFormLayout;
    sbFont_ = Button("SBFont", QString());
    connect(sbFont_, &QPushButton::clicked, this, [this] {
        bool ok = false;
        const QFont chosen = QFontDialog::getFont(
            &ok, QFont(QString::fromStdString(s_.rueda.font), seSize_->value()), this, "Letra de la rueda");
        if (ok)
            PickFont(chosen);
    });
    seSize_ = new QSpinBox;
    seSize_->setObjectName("SETamano");
    seSize_->setRange(settings::kMinFontSize, settings::kMaxFontSize);
    font->addRow("Letra:", sbFont_);
    font->addRow("Tamaño:", seSize_);
    left->addLayout(font);
    // The three radius percentages are kept but not shown.
    const char *radiusNames[] = {"SEPorAreaExterior", "SERadCircleExt", "SEPorCircleCasas"};
    for (int i = 0; i < 3; ++i) {
        seRadii_[static_cast<std::size_t>(i)] = new QSpinBox(page);
        seRadii_[static_cast<std::size_t>(i)]->setObjectName(radiusNames[i]);
        seRadii_[static_cast<std::size_t>(i)]->setRange(0, 100);
        seRadii_[static_cast<std::size_t>(i)]->hide();
    }
    cbColores_ = Check("CBColores", "Colores");
    left->addWidget(cbColores_);
    left->addStretch(1);
    row->addLayout(left);

    colourPanel_ = new QWidget;
    auto *right = new QVBoxLayout(colourPanel_);
    const char *targetNames[] = {"RBElementos", "RBPlanetasCol",  "RBCentro",     "RBAreaCasas", "RBCasasInt",
                                 "RBCasasExt",  "RBLineasGrados", "RBTextoPosic", "RBSignosCol"};
    const char *targetTexts[] = {"Elementos",  "Planetas",      "Centro rueda", "Area casas", "Casas int.",
                                 "Casas ext.", "Lineas grados", "Texto posic.", "Signos"};
    auto *targets = new QGridLayout;
    for (int i = 0; i < 9; ++i) {
        auto *r = new QRadioButton(QString::fromUtf8(targetTexts[i]));
        r->setObjectName(targetNames[i]);
        rbTargets_[static_cast<std::size_t>(i)] = r;
        targets->addWidget(r, i / 3, i % 3);
        connect(r, &QRadioButton::clicked, this, [this, i] { ChooseTarget(i); });
    }
    right->addLayout(targets);
    lbElementos_ = new QListWidget;
    lbElementos_->setObjectName("LBElementos");
    for (const char *n : kElementNames)
        lbElementos_->addItem(n);
    lbPlanetas_ = new QListWidget;
    lbPlanetas_->setObjectName("LBPlanetas");
    for (int b = 1; b <= 12; ++b)
        lbPlanetas_->addItem(QString::fromUtf8(chart::kBodyNames[static_cast<std::size_t>(b)]));
    cbColorEle_ = Check("CBColorEle", "colores");
    cbNegro_ = Check("CBNegro", "negro");
    auto *lists = new QHBoxLayout;
    auto *eleColumn = new QVBoxLayout;
    eleColumn->addWidget(lbElementos_);
    eleColumn->addWidget(cbColorEle_);
    auto *plaColumn = new QVBoxLayout;
    plaColumn->addWidget(lbPlanetas_);
    plaColumn->addWidget(cbNegro_);
    lists->addLayout(eleColumn);
    lists->addLayout(plaColumn);
    right->addLayout(lists);
    auto *pickRow = new QHBoxLayout;
    wheelSwatch_ = new QLabel;
    wheelSwatch_->setObjectName("PanelColorRueda");
    wheelSwatch_->setMinimumSize(40, 20);
    auto *pick = Button("SBColorRueda", "Color...");
    connect(pick, &QPushButton::clicked, this, [this] {
        const QColor chosen = QColorDialog::getColor(wheelSwatch_->palette().color(QPalette::Window), this);
        if (chosen.isValid())
            PickWheelColour(chosen);
    });
    pickRow->addWidget(wheelSwatch_);
    pickRow->addWidget(pick);
    pickRow->addStretch(1);
    right->addLayout(pickRow);
    auto *defaults = Button("SBPredeterminadoRueda", "Predeterminado");
    right->addWidget(defaults);
    row->addWidget(colourPanel_, 1);

    for (QListWidget *list : {lbElementos_, lbPlanetas_})
        connect(list, &QListWidget::currentRowChanged, this, [this] {
            ChooseTarget(target_);
            RepaintLists();
        });
    for (QCheckBox *c :
         {cbSignos_, cbGrados_, cbPlanetas_, cbPlaSigno_, cbPlaTexto_, cbPlaSeg_, cbRetro_, cbCasas_,
          cbCasSigno_, cbCasTexto_, cbCasSeg_, cbCasLin_, cbColores_, cbNegro_, cbColorEle_})
        connect(c, &QCheckBox::toggled, this, [this] { Apply(); });
    connect(seSize_, &QSpinBox::valueChanged, this, [this] {
        ShowFont();
        Apply();
    });
    for (QSpinBox *spin : seRadii_)
        connect(spin, &QSpinBox::valueChanged, this, [this] { Apply(); });
    connect(defaults, &QPushButton::clicked, this, [this] {
        const settings::Settings::RuedaSection built;
        s_.rueda.colPla = built.colPla;
        s_.rueda.colEle = built.colEle;
        loading_ = true;
        for (QCheckBox *c : {cbPlanetas_, cbCasas_, cbSignos_, cbGrados_, cbColorEle_, cbPlaSigno_,
                             cbCasSigno_, cbPlaTexto_, cbCasTexto_, cbRetro_, cbColores_})
            c->setChecked(true);
        for (QCheckBox *c : {cbNegro_, cbPlaSeg_, cbCasSeg_, cbCasLin_})
            c->setChecked(false);
        seRadii_[0]->setValue(100);
        seRadii_[1]->setValue(100);
        seRadii_[2]->setValue(60);
        seSize_->setValue(8);
        s_.rueda.font = "Arial Narrow";
        ShowFont();
        rbTargets_[kElementos]->setChecked(true);
        loading_ = false;
        ChooseTarget(kElementos);
        Apply();
    });
    return page;
}

QWidget *TFormSetUpCEL::BuildRelationPage() {
    auto *page = new QWidget;
    auto *grid = new QGridLayout(page);
    for (int k = 1; k <= settings::kRelationCount; ++k) {
        auto *r = new QRadioButton(kRelationNames[k]);
        r->setObjectName(QString("RBRel%1").arg(k));
        rbRelations_[static_cast<std::size_t>(k)] = r;
        auto *c = new QCheckBox;
        c->setObjectName(QString("CBRel%1").arg(k));
        cbRelations_[static_cast<std::size_t>(k)] = c;
        grid->addWidget(c, k - 1, 0);
        grid->addWidget(r, k - 1, 1);
        connect(r, &QRadioButton::clicked, this, [this, k] { ChooseRelation(k); });
        connect(c, &QCheckBox::toggled, this, [this, k](bool on) {
            if (loading_ || !activated_)
                return;
            s_.tabla.viewColRel[static_cast<std::size_t>(k)] = on;
            if (apply_)
                apply_();
        });
    }
    relationPreview_ = new QLabel;
    relationPreview_->setObjectName("PanelRelacion");
    grid->addWidget(relationPreview_, 0, 2, 3, 1);
    auto *pick = Button("SBColorRel", "Color...");
    connect(pick, &QPushButton::clicked, this, [this] {
        const QColor chosen =
            QColorDialog::getColor(ToQColor(s_.tabla.colRel[static_cast<std::size_t>(relation_)]), this);
        if (chosen.isValid())
            PickRelationColour(chosen);
    });
    grid->addWidget(pick, 3, 2);
    auto *defaults = Button("SBPredeterminadoRel", "Predeterminado");
    connect(defaults, &QPushButton::clicked, this, [this] {
        const settings::Settings::TablaSection built;
        s_.tabla = built;
        loading_ = true;
        for (int k = 1; k <= settings::kRelationCount; ++k)
            cbRelations_[static_cast<std::size_t>(k)]->setChecked(true);
        rbRelations_[1]->setChecked(true);
        loading_ = false;
        ChooseRelation(1);
        if (activated_ && apply_)
            apply_();
    });
    grid->addWidget(defaults, 6, 0, 1, 3);
    grid->setRowStretch(7, 1);
    grid->setColumnStretch(3, 1); // each check box stays beside its relation
    relationPreview_->setFixedSize(120, 60);
    return page;
}

QWidget *TFormSetUpCEL::BuildDignityPage() {
    auto *page = new QWidget;
    auto *column = new QVBoxLayout(page);
    // Signs down column 0, points along row 0, the mark glyph in each cell; the current cell on yellow.
    matrixModel_ = new GridModel(page);
    matrixDelegate_ = new PainterDelegate(page);
    matrix_ = MakeGridView("SGDignidades", matrixModel_, matrixDelegate_);
    matrixDelegate_->SetPainter([this](graphics::Canvas &canvas, const QRect &rect, int column, int row,
                                       const std::string &) { PaintMatrixCell(canvas, rect, column, row); });
    QStringList bodies, signs;
    for (int i = 1; i <= 12; ++i) {
        bodies << QString::fromUtf8(chart::kBodyNames[static_cast<std::size_t>(i)]);
        signs << QString::fromUtf8(chart::kSignNames[static_cast<std::size_t>(i)]);
    }
    FillMatrix();
    matrix_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    matrix_->verticalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    matrix_->setMinimumSize(13 * 26 + 4, 13 * 22 + 4);
    column->addWidget(matrix_, 1);
    auto *selectors = new QHBoxLayout;
    cbDigPoint_ = new QComboBox;
    cbDigPoint_->setObjectName("CBDigPunto");
    const graphics::GlyphSet &glyphs = graphics::GlyphSet::Normal();
    const auto icon = [&glyphs](int picture) { return QIcon(QPixmap::fromImage(glyphs.Picture(picture))); };
    for (int b = 1; b <= 12; ++b)
        cbDigPoint_->addItem(icon(graphics::kBodyPictureBase + b), bodies[b - 1]);
    cbDigSign_ = new QComboBox;
    cbDigSign_->setObjectName("CBDigSigno");
    for (int sign = 1; sign <= 12; ++sign)
        cbDigSign_->addItem(icon(sign - 1), signs[sign - 1]);
    cbDigMark_ = new QComboBox;
    cbDigMark_->setObjectName("CBDigMarca");
    for (std::uint8_t code = 0; code <= settings::kDignityMaxCode; ++code)
        cbDigMark_->addItem(icon(graphics::kDignityPictureBase2 + code),
                            QString::fromUtf8(settings::DignitySymbol(code).data(),
                                              static_cast<int>(settings::DignitySymbol(code).size())));
    for (QComboBox *c : {cbDigPoint_, cbDigSign_, cbDigMark_}) {
        c->setCurrentIndex(-1);
        selectors->addWidget(c);
        connect(c, &QComboBox::activated, this, [this] { MatrixSelectorChanged(); });
    }
    connect(matrix_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex &current) {
                const int sign = current.row(), body = current.column();
                if (sign < 1 || body < 1)
                    return;
                loading_ = true;
                cbDigPoint_->setCurrentIndex(body - 1);
                cbDigSign_->setCurrentIndex(sign - 1);
                cbDigMark_->setCurrentIndex(s_.dignity.At(body, sign));
                loading_ = false;
                matrix_->viewport()->update();
            });
    const std::pair<const char *, settings::MatrixPreset> presets[] = {
        {"SBModerna", settings::MatrixPreset::Modern},
        {"SBAntigua", settings::MatrixPreset::Ancient},
        {"SBModAnt", settings::MatrixPreset::ModernAndAncient},
        {"SBQuitar", settings::MatrixPreset::Reset}};
    const char *texts[] = {"Moderna", "Antigua", "Mod. && Ant.", "R"};
    for (int i = 0; i < 4; ++i) {
        auto *b = Button(presets[i].first, texts[i]);
        if (i == 3)
            b->setToolTip("Quitar dignidades");
        const settings::MatrixPreset preset = presets[i].second;
        connect(b, &QPushButton::clicked, this, [this, preset] {
            for (QComboBox *c : {cbDigPoint_, cbDigSign_, cbDigMark_})
                c->setCurrentIndex(-1);
            s_.dignity.Replace(preset);
            FillMatrix();
            if (activated_ && refresh_)
                refresh_();
        });
        selectors->addWidget(b);
    }
    column->addLayout(selectors);
    return page;
}

QWidget *TFormSetUpCEL::BuildTextsPage() {
    auto *page = new QWidget;
    auto *grid = new QGridLayout(page);
    const char *names[] = {"EEle1",  "EEle2",  "EEle3",  "EEle4",  "EComp1", "EComp2", "EComp3",
                           "ESoc11", "ESoc12", "ESoc13", "ESoc21", "ESoc22", "ESoc23", "ESoc24"};
    for (int i = 0; i < 14; ++i) {
        names_[static_cast<std::size_t>(i)] = new QLineEdit;
        names_[static_cast<std::size_t>(i)]->setObjectName(names[i]);
        connect(names_[static_cast<std::size_t>(i)], &QLineEdit::textEdited, this,
                [this] { TextsChanged(); });
    }
    auto addBox = [&](const QString &title, int first, int count, int col) {
        auto *box = new QGroupBox(title);
        auto *l = new QVBoxLayout(box);
        for (int i = first; i < first + count; ++i)
            l->addWidget(names_[static_cast<std::size_t>(i)]);
        grid->addWidget(box, 0, col);
    };
    addBox("Elementos:", 0, 4, 0);
    addBox("Cualidad:", 4, 3, 1);
    addBox("Solo:", 7, 3, 2);
    addBox("Grupo:", 10, 4, 3);
    auto *defaults = Button("SBPredeterminadoTxt", "Predeterminado");
    connect(defaults, &QPushButton::clicked, this, [this] {
        s_.txt.strEle = {"", "Fuego", "Tierra", "Aire", "Agua"};
        s_.txt.strComp = {"", "Cardinal", "Fijo", "Mutable"};
        s_.txt.strSoc1 = {"", "Personales", "Sociales", "Trascendentes"};
        s_.txt.strSoc2 = {"", "Personales", "Familiares", "Sociales", "Trascendentes"};
        Load();
        if (activated_ && apply_)
            apply_();
    });
    grid->addWidget(defaults, 1, 0);
    grid->setRowStretch(2, 1);
    return page;
}

QWidget *TFormSetUpCEL::BuildProgramPage() {
    auto *page = new QWidget;
    auto *form = new QFormLayout(page);
    footer_ = new QLineEdit;
    footer_->setObjectName("EFooter");
    form->addRow("Pie de página:", footer_);
    cbHint_ = Check("CBHint", "Ver descripción botones");
    form->addRow(cbHint_);
    cbScheme_ = new QComboBox;
    cbScheme_->setObjectName("CBColorSuite");
    // Each scheme with a swatch of its window colour.
    for (int i = 1; i <= 7; ++i) {
        QPixmap swatch(16, 16);
        swatch.fill(SchemePalette(i).color(QPalette::Window));
        cbScheme_->addItem(QIcon(swatch), QString::number(i));
    }
    cbScheme_->addItem("Windows");
    form->addRow("Color suite:", cbScheme_);
    auto *display = Button("SBPantalla", "Configurar pantalla");
    connect(display, &QPushButton::clicked, this, [this] { OpenDisplaySettings(); });
    form->addRow(display);
    connect(footer_, &QLineEdit::textEdited, this, [this](const QString &text) {
        if (activated_)
            s_.main.footer = text.toStdString();
    });
    connect(cbHint_, &QCheckBox::toggled, this, [this] { Apply(); });
    connect(cbScheme_, &QComboBox::currentIndexChanged, this, [this] { Apply(); });
    return page;
}

void TFormSetUpCEL::OpenDisplaySettings() {
    // The display settings of the desktops in use, the first one installed is started.
    const std::pair<const char *, QStringList> programs[] = {
        {"gnome-control-center", {"display"}},
        {"cinnamon-settings", {"display"}},
        {"kcmshell6", {"kcm_kscreen"}},
        {"kcmshell5", {"kcm_kscreen"}},
        {"xfce4-display-settings", {}},
        {"mate-display-properties", {}},
        {"lxqt-config-monitor", {}},
        {"arandr", {}},
        {"lxrandr", {}},
    };
    for (const auto &[name, arguments] : programs) {
        const QString path = QStandardPaths::findExecutable(name);
        if (!path.isEmpty() && QProcess::startDetached(path, arguments))
            return;
    }
    notifier_.Notice(NoticeKind::Warning, false, true,
                     "No se encontró un programa para configurar la pantalla en este sistema.\r\r"
                     "La resolución y la escala se cambian en la configuración del escritorio.");
}

void TFormSetUpCEL::Load() {
    loading_ = true;
    const auto &r = s_.rueda;
    ApplyScheme(this, s_.main.color, s_.main.hint);
    cbHint_->setChecked(s_.main.hint);
    cbScheme_->setCurrentIndex(std::clamp(s_.main.color, 1, settings::kSchemeCount) - 1);
    footer_->setText(QString::fromStdString(s_.main.footer));
    const std::string *texts[] = {
        &s_.txt.strEle[1],  &s_.txt.strEle[2],  &s_.txt.strEle[3],  &s_.txt.strEle[4],  &s_.txt.strComp[1],
        &s_.txt.strComp[2], &s_.txt.strComp[3], &s_.txt.strSoc1[1], &s_.txt.strSoc1[2], &s_.txt.strSoc1[3],
        &s_.txt.strSoc2[1], &s_.txt.strSoc2[2], &s_.txt.strSoc2[3], &s_.txt.strSoc2[4]};
    for (int i = 0; i < 14; ++i)
        names_[static_cast<std::size_t>(i)]->setText(QString::fromStdString(*texts[i]));
    cbSignos_->setChecked(r.signos);
    cbGrados_->setChecked(r.grados);
    cbPlanetas_->setChecked(r.planetas);
    cbPlaSigno_->setChecked(r.planetasSigno);
    cbPlaTexto_->setChecked(r.planetasTexto);
    cbPlaSeg_->setChecked(r.planetasSeg);
    cbRetro_->setChecked(r.retro);
    cbCasas_->setChecked(r.casas);
    cbCasSigno_->setChecked(r.casasSigno);
    cbCasTexto_->setChecked(r.casasTexto);
    cbCasSeg_->setChecked(r.casasSeg);
    cbCasLin_->setChecked(r.casasLin);
    cbColores_->setChecked(r.color);
    cbNegro_->setChecked(!r.colorPla);
    cbColorEle_->setChecked(r.colorEle);
    seSize_->setValue(r.fontSize);
    ShowFont();
    const float radii[] = {r.porAreaExterior, r.radCircleExt, r.porCircleCasas};
    for (int i = 0; i < 3; ++i) {
        openedRadii_[i] = radii[i];
        seRadii_[static_cast<std::size_t>(i)]->setValue(static_cast<int>(std::lround(radii[i] * 100)));
    }
    colourPanel_->setVisible(r.color);
    for (int k = 1; k <= settings::kRelationCount; ++k)
        cbRelations_[static_cast<std::size_t>(k)]->setChecked(
            s_.tabla.viewColRel[static_cast<std::size_t>(k)]);
    rbTargets_[static_cast<std::size_t>(target_)]->setChecked(true);
    rbRelations_[static_cast<std::size_t>(relation_)]->setChecked(true);
    loading_ = false;
    FillMatrix();
    ChooseTarget(target_);
    ChooseRelation(relation_);
    RepaintLists();
}

void TFormSetUpCEL::Apply() {
    if (loading_ || !activated_)
        return;
    auto &r = s_.rueda;
    s_.main.hint = cbHint_->isChecked();
    s_.main.color = cbScheme_->currentIndex() + 1;
    ApplyScheme(this, s_.main.color, s_.main.hint);
    // A radius changes only when its own spin box changed, so that a rounding to whole percent never
    // alters the stored fractions.
    float *radii[] = {&r.porAreaExterior, &r.radCircleExt, &r.porCircleCasas};
    for (int i = 0; i < 3; ++i) {
        const int shown = seRadii_[static_cast<std::size_t>(i)]->value();
        if (shown != static_cast<int>(std::lround(openedRadii_[i] * 100)))
            *radii[i] = static_cast<float>(shown) / 100.0f;
    }
    r.signos = cbSignos_->isChecked();
    r.grados = cbGrados_->isChecked();
    r.planetas = cbPlanetas_->isChecked();
    r.planetasSigno = cbPlaSigno_->isChecked();
    r.planetasTexto = cbPlaTexto_->isChecked();
    r.planetasSeg = cbPlaSeg_->isChecked();
    r.retro = cbRetro_->isChecked();
    r.casas = cbCasas_->isChecked();
    r.casasSigno = cbCasSigno_->isChecked();
    r.casasTexto = cbCasTexto_->isChecked();
    r.casasSeg = cbCasSeg_->isChecked();
    r.casasLin = cbCasLin_->isChecked();
    r.colorPla = !cbNegro_->isChecked();
    r.colorEle = cbColorEle_->isChecked();
    r.color = cbColores_->isChecked();
    colourPanel_->setVisible(r.color);
    // The font name changes only through the font dialog, so a substitute for a font that is not
    // installed never replaces the stored name.
    r.fontSize = seSize_->value();
    if (apply_)
        apply_();
    RepaintLists();
}

void TFormSetUpCEL::ChooseTarget(int target) {
    target_ = target;
    lbElementos_->setVisible(target == kElementos);
    cbColorEle_->setVisible(target == kElementos);
    lbPlanetas_->setVisible(target == kPlanetas);
    cbNegro_->setVisible(target == kPlanetas);
    if (target == kElementos && lbElementos_->currentRow() < 0)
        lbElementos_->setCurrentRow(0);
    if (target == kPlanetas && lbPlanetas_->currentRow() < 0)
        lbPlanetas_->setCurrentRow(0);
    settings::Colour c = 0;
    if (target == kElementos)
        c = s_.rueda.colEle[static_cast<std::size_t>(std::max(0, lbElementos_->currentRow()) + 1)];
    else if (target == kPlanetas)
        c = s_.rueda.colPla[static_cast<std::size_t>(std::max(0, lbPlanetas_->currentRow()) + 1)];
    else
        c = s_.rueda.colEle[static_cast<std::size_t>(target + 3)];
    SetSwatch(wheelSwatch_, ToQColor(c));
}

void TFormSetUpCEL::PickWheelColour(const QColor &colour) {
    const settings::Colour v = FromQColor(colour.toRgb());
    if (target_ == kElementos)
        s_.rueda.colEle[static_cast<std::size_t>(std::max(0, lbElementos_->currentRow()) + 1)] = v;
    else if (target_ == kPlanetas)
        s_.rueda.colPla[static_cast<std::size_t>(std::max(0, lbPlanetas_->currentRow()) + 1)] = v;
    else
        s_.rueda.colEle[static_cast<std::size_t>(target_ + 3)] = v; // 5 "Centro rueda" .. 11 "Signos"
    SetSwatch(wheelSwatch_, ToQColor(v));
    Apply();
}

void TFormSetUpCEL::ChooseRelation(int relation) {
    relation_ = relation;
    // "Resaltar aspecto" is a frame: its preview is a blank panel with the frame colour around it.
    const QColor colour = ToQColor(s_.tabla.colRel[static_cast<std::size_t>(relation)]);
    SetSwatch(relationPreview_, relation == settings::kRelationCount ? QColor(Qt::white) : colour);
    relationPreview_->setStyleSheet(relation == settings::kRelationCount
                                        ? QString("border: 2px solid %1").arg(colour.name())
                                        : QString());
}

void TFormSetUpCEL::PickRelationColour(const QColor &colour) {
    s_.tabla.colRel[static_cast<std::size_t>(relation_)] = FromQColor(colour.toRgb());
    ChooseRelation(relation_);
    if (activated_ && apply_)
        apply_();
}

// The grid's texts are the names and mark symbols (what tests and screen readers read); the painter
// draws the glyphs.
void TFormSetUpCEL::FillMatrix() {
    analysis::TextGrid grid(13, 13);
    for (int i = 1; i <= 12; ++i) {
        grid.Set(0, i, chart::kBodyNames[static_cast<std::size_t>(i)]);
        grid.Set(i, 0, chart::kSignNames[static_cast<std::size_t>(i)]);
    }
    for (int sign = 1; sign <= 12; ++sign)
        for (int body = 1; body <= 12; ++body)
            grid.Set(sign, body, std::string(settings::DignitySymbol(s_.dignity.At(body, sign))));
    matrixModel_->SetGrid(grid);
}

void TFormSetUpCEL::PaintMatrixCell(graphics::Canvas &canvas, const QRect &rect, int column, int row) {
    const QModelIndex current = matrix_->currentIndex();
    const bool fixed = row == 0 || column == 0;
    const bool focused = !fixed && current.row() == row && current.column() == column;
    canvas.FillRect(rect, fixed ? QColor(236, 236, 236) : focused ? QColor(255, 255, 0) : QColor(Qt::white));
    int picture = -1;
    if (row == 0 && column >= 1)
        picture = graphics::kBodyPictureBase + column;
    else if (column == 0 && row >= 1)
        picture = row - 1;
    else if (row >= 1 && column >= 1 && s_.dignity.At(column, row) > 0)
        picture = graphics::kDignityPictureBase2 + s_.dignity.At(column, row);
    if (picture < 0)
        return;
    const qreal side = std::min(rect.width(), rect.height()) * 0.72;
    const QRectF box(rect.center().x() + 0.5 - side / 2, rect.center().y() + 0.5 - side / 2, side, side);
    canvas.Glyph(graphics::GlyphSet::Normal(), picture, box, Qt::black);
}

void TFormSetUpCEL::PickFont(const QFont &font) {
    s_.rueda.font = settings::CutFontName(font.family().toStdString());
    const int size = font.pointSize() > 0 ? font.pointSize() : seSize_->value();
    loading_ = true;
    seSize_->setValue(std::clamp(size, settings::kMinFontSize, settings::kMaxFontSize));
    loading_ = false;
    ShowFont();
    Apply();
}

void TFormSetUpCEL::ShowFont() {
    const QString family = QString::fromStdString(s_.rueda.font);
    const QString text = QString("%1, %2").arg(family).arg(seSize_->value());
    sbFont_->setText(text);
    QFont shown = sbFont_->font();
    shown.setFamily(family);
    sbFont_->setFont(shown);
    sbFont_->setMinimumWidth(std::min(QFontMetrics(shown).horizontalAdvance(text), 240) + 24);
}

void TFormSetUpCEL::ShowColours(bool on) {
    loading_ = true;
    cbColores_->setChecked(on);
    loading_ = false;
    colourPanel_->setVisible(on);
}

void TFormSetUpCEL::MatrixSelectorChanged() {
    if (loading_)
        return;
    const int body = cbDigPoint_->currentIndex() + 1;
    const int sign = cbDigSign_->currentIndex() + 1;
    const int mark = cbDigMark_->currentIndex();
    if (body < 1 || sign < 1 || mark < 0)
        return;
    s_.dignity.Set(body, sign, static_cast<std::uint8_t>(mark));
    FillMatrix();
    if (activated_ && refresh_)
        refresh_();
}

void TFormSetUpCEL::TextsChanged() {
    if (loading_ || !activated_)
        return;
    std::string *texts[] = {&s_.txt.strEle[1],  &s_.txt.strEle[2],  &s_.txt.strEle[3],  &s_.txt.strEle[4],
                            &s_.txt.strComp[1], &s_.txt.strComp[2], &s_.txt.strComp[3], &s_.txt.strSoc1[1],
                            &s_.txt.strSoc1[2], &s_.txt.strSoc1[3], &s_.txt.strSoc2[1], &s_.txt.strSoc2[2],
                            &s_.txt.strSoc2[3], &s_.txt.strSoc2[4]};
    for (int i = 0; i < 14; ++i)
        *texts[i] = names_[static_cast<std::size_t>(i)]->text().toStdString();
    if (apply_)
        apply_();
}

// Point names in their colours (black with "negro"), bold on white; element names on their colours.
void TFormSetUpCEL::RepaintLists() {
    for (int b = 1; b <= 12; ++b) {
        QListWidgetItem *item = lbPlanetas_->item(b - 1);
        QFont bold = item->font();
        bold.setBold(true);
        item->setFont(bold);
        item->setForeground(s_.rueda.colorPla ? ToQColor(s_.rueda.colPla[static_cast<std::size_t>(b)])
                                              : QColor(Qt::black));
        item->setBackground(Qt::white);
    }
    for (int e = 1; e <= 4; ++e) {
        QListWidgetItem *item = lbElementos_->item(e - 1);
        item->setBackground(s_.rueda.colorEle ? ToQColor(s_.rueda.colEle[static_cast<std::size_t>(e)])
                                              : QColor(Qt::white));
        item->setForeground(Qt::black);
    }
    // The selection would hide the chosen entry's colours: it keeps them and is underlined instead.
    for (QListWidget *list : {lbPlanetas_, lbElementos_}) {
        QPalette palette;
        if (const QListWidgetItem *current = list->currentItem()) {
            palette.setColor(QPalette::Highlight, current->background().color());
            palette.setColor(QPalette::HighlightedText, current->foreground().color());
        }
        list->setPalette(palette);
        for (int i = 0; i < list->count(); ++i) {
            QFont font = list->item(i)->font();
            font.setUnderline(i == list->currentRow());
            list->item(i)->setFont(font);
        }
    }
}

} // namespace cel::workspace
