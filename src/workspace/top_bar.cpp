#include "workspace/top_bar.h"

#include <QAction>
#include <QButtonGroup>
#include <QDockWidget>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>

#include "workspace/view_input.h"

namespace cel::workspace {

namespace {

QToolButton *ToolButton(const char *name, const char *text, const char *tip, bool checkable = false) {
    auto *b = new QToolButton;
    b->setObjectName(name);
    b->setText(QString::fromUtf8(text));
    b->setToolTip(QString::fromUtf8(tip));
    b->setCheckable(checkable);
    b->setToolButtonStyle(Qt::ToolButtonTextOnly);
    return b;
}

} // namespace

TopBar::TopBar(session::Session &session, const MainActions &actions, QWidget *parent)
    : QToolBar("Barra", parent), session_(session) {
    setObjectName("ToolBarMain");
    setMovable(false);

    // Each command button triggers its action.
    const auto button = [this, &actions](const char *name, const char *text, const char *tip,
                                         Command command) {
        auto *b = ToolButton(name, text, tip);
        connect(b, &QToolButton::clicked, actions[command], &QAction::trigger);
        addWidget(b);
    };
    button("SBAbrir", "&Abrir", "Abrir archivo de datos (Ctrl+O)", Command::Open);
    button("SBTarjaro", "&Tarjaro", "Tarjaro administrar datos/archivo", Command::Manager);
    addSeparator();
    const struct {
        const char *name, *text, *tip;
    } toggles[] = {{"SBVerDatos", "Datos", "Mostrar u ocultar Datos"},
                   {"SBVerConfig", "Configurar", "Mostrar u ocultar Configurar"},
                   {"SBVerFiltro", "Filtro", "Mostrar u ocultar Filtar lista personas"}};
    for (std::size_t i = 0; i < dockToggles_.size(); ++i) {
        auto *b = ToolButton(toggles[i].name, toggles[i].text, toggles[i].tip, true);
        b->setChecked(true);
        connect(b, &QToolButton::toggled, this, [this, i](bool on) {
            if (docks_[i])
                docks_[i]->setVisible(on);
        });
        addWidget(b);
        dockToggles_[i] = b;
    }
    addSeparator();
    sbSetUp_ = ToolButton("SBSetUp", "&Configuración", "Configurar Celestigrafo", true);
    connect(sbSetUp_, &QToolButton::toggled, this, [this](bool on) {
        if (onSettings)
            onSettings(on);
    });
    addWidget(sbSetUp_);
    sbImagen_ = ToolButton("SBImagenGrande", "Imagen grande", "Imagen y letra grande", true);
    ConnectInput(this, &showing_, sbImagen_, &QToolButton::toggled,
                 [this](bool on) { session_.SetLargeImages(Page() == 0, on); });
    addWidget(sbImagen_);
    auto *print = ToolButton("SBImprimir", "Im&primir", "Imprimir y exportar (Ctrl+P)");
    auto *menu = new QMenu(print);
    menu->setObjectName("MenuImprimir");
    for (Command c : {Command::Print, Command::Preview, Command::ExportRtf})
        menu->addAction(actions[c]);
    print->setMenu(menu);
    print->setPopupMode(QToolButton::InstantPopup);
    addWidget(print);
    sbColores_ = ToolButton("SBColores", "Colores", "Colores", true);
    ConnectInput(this, &showing_, sbColores_, &QToolButton::toggled, [this](bool on) {
        if (onColours)
            onColours(on);
        session_.SetColour(on);
    });
    addWidget(sbColores_);
    button("SBAyuda", "A&yuda", "Ayuda Celestigrafo (F1)", Command::Help);
    button("SBCerrar", "Ce&rrar", "Cerrar Celestigrafo (Ctrl+Q)", Command::Close);

    // The page buttons at the right end.
    auto *spacer = new QWidget;
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    addWidget(spacer);
    pageGroup_ = new QButtonGroup(this);
    const char *pageNames[] = {"SBRueda", "SBTabla", "SBReportes"};
    const char *pageTexts[] = {"Rueda", "Tabla de aspectos", "Reportes"};
    for (int i = 0; i < 3; ++i) {
        auto *b = new QPushButton(pageTexts[i]);
        b->setObjectName(pageNames[i]);
        b->setCheckable(true);
        b->setChecked(i == 0);
        pageGroup_->addButton(b, i);
        addWidget(b);
    }
    connect(pageGroup_, &QButtonGroup::idClicked, this, [this](int id) {
        if (onPage)
            onPage(id);
    });
}

void TopBar::BindDocks(QDockWidget *datos, QDockWidget *config, QDockWidget *filter) {
    docks_ = {datos, config, filter};
}

void TopBar::ShowDocks() {
    for (std::size_t i = 0; i < docks_.size(); ++i)
        if (docks_[i])
            dockToggles_[i]->setChecked(!docks_[i]->isHidden());
}

int TopBar::Page() const {
    return std::max(0, pageGroup_->checkedId());
}

void TopBar::Show() {
    const ShowingScope showing(showing_);
    const settings::Settings::RuedaSection &rueda = session_.ws.settings.rueda;
    sbImagen_->setChecked(Page() == 0 ? rueda.imagenR : rueda.imagenT);
    sbColores_->setChecked(rueda.color);
}

void TopBar::SetSettingsOpen(bool open) {
    sbSetUp_->setChecked(open);
}

} // namespace cel::workspace
