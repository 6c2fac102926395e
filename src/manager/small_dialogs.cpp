#include "manager/small_dialogs.h"
#include "manager/dialog_buttons.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

#include "common/version.h"
#include "manager/colour_suite.h"
#include "session/manager_choices.h"

// The splash picture is compiled into the module; a static library registers it on first use.
static void InitManagerResources() {
    Q_INIT_RESOURCE(manager);
}

namespace cel::manager {

using namespace cel::database;

TFormAddGrupo::TFormAddGrupo(const Database &db, const QString &caption, DataStore &store, QWidget *parent)
    : QDialog(parent), store_(store) {
    setObjectName("TFormAddGrupo");
    setWindowTitle(caption);
    ApplySuite(this);
    auto *layout = new QVBoxLayout(this);
    list_ = new QListWidget(this);
    list_->setObjectName("LBGrupos");
    // The selected entry on (255, 255, 23) in blue, the others on white in black.
    list_->setStyleSheet("QListWidget { background: white; color: black; }"
                         "QListWidget::item:selected { background: rgb(255, 255, 23); color: blue; }");
    for (const session::NamedChoice &g : session::PersonGroupChoices(db)) {
        auto *item = new QListWidgetItem(QString::fromStdString(g.name), list_);
        item->setData(Qt::UserRole, g.id);
    }
    layout->addWidget(list_);
    AddDialogButtons(*this, *layout, "De &acuerdo", "&Cancelar");
    connect(list_, &QListWidget::itemDoubleClicked, this, &QDialog::reject);
    resize(280, 320);
}

std::int32_t TFormAddGrupo::ChosenId() const {
    const QListWidgetItem *item = list_->currentItem();
    return item && item->isSelected() ? item->data(Qt::UserRole).toInt() : -1;
}

void TFormAddGrupo::accept() {
    if (ChosenId() < 0) {
        store_.Notices().Notice(NoticeKind::Warning, false, true, "Debe seleccionar un grupo !");
        return;
    }
    QDialog::accept();
}

TFormExportPersona::TFormExportPersona(QWidget *parent) : QDialog(parent) {
    setObjectName("TFormExportPersona");
    setWindowTitle("Incluir datos");
    ApplySuite(this);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel("Seleccione los datos que desea incluir en el archivo CSV", this));
    const char *names[] = {"CBResidencia", "CBTrabajo", "CBGrupos", "CBNacimiento", "CBObservaciones"};
    const char *texts[] = {"Residencia", "Trabajo", "Grupos", "Nacimiento", "Observaciones"};
    for (int i = 0; i < 5; ++i) {
        boxes_[i] = new QCheckBox(texts[i], this);
        boxes_[i]->setObjectName(names[i]);
        layout->addWidget(boxes_[i]);
    }
    AddDialogButtons(*this, *layout, "De &acuerdo", "Cancelar").ok->setDefault(true);
}

session::PersonCsvOptions TFormExportPersona::Options() const {
    session::PersonCsvOptions o;
    o.residencia = boxes_[0]->isChecked();
    o.trabajo = boxes_[1]->isChecked();
    o.grupos = boxes_[2]->isChecked();
    o.nacimiento = boxes_[3]->isChecked();
    o.observaciones = boxes_[4]->isChecked();
    return o;
}

TFormSetUpAgenda::TFormSetUpAgenda(bool hints, int suite, QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint) {
    setObjectName("TFormSetUpAgenda");
    setWindowTitle("Configurar Tarjaro");
    setAttribute(Qt::WA_DeleteOnClose);
    ApplySuite(this);
    auto *layout = new QVBoxLayout(this);
    hints_ = new QCheckBox(QString::fromUtf8("Ver descripción botones"), this);
    hints_->setObjectName("CBHint");
    hints_->setChecked(hints);
    layout->addWidget(hints_);
    auto *row = new QHBoxLayout;
    row->addWidget(new QLabel("Color suite:", this));
    suite_ = new QComboBox(this);
    suite_->setObjectName("CMBColor");
    suite_->addItems({"1", "2", "3", "4", "5", "6", "7", "Windows"});
    suite_->setCurrentIndex(std::clamp(suite, 1, 8) - 1);
    row->addWidget(suite_);
    layout->addLayout(row);
    connect(hints_, &QCheckBox::toggled, this, &TFormSetUpAgenda::hintsChanged);
    connect(suite_, &QComboBox::currentIndexChanged, this, [this](int index) {
        SetCurrentSuite(index + 1);
        ApplySuite(this);
        emit suiteChanged(index + 1);
    });
}

void TFormSetUpAgenda::closeEvent(QCloseEvent *event) {
    emit closed();
    QWidget::closeEvent(event);
}

TFormSplashTarjaro::TFormSplashTarjaro(int milliseconds, QWidget *parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName("TFormSplashTarjaro");
    setAttribute(Qt::WA_DeleteOnClose);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    setAutoFillBackground(true);
    auto *layout = new QVBoxLayout(this);
    auto *picture = new QLabel(this);
    picture->setObjectName("IMProducto");
    InitManagerResources();
    QPixmap pixmap(":/tarjaro/tarjaro-256.png");
    if (pixmap.isNull()) {
        // Without the picture: the product name large.
        picture->setText("<span style='font-size:36pt; color:#1f4e8c'>Tarjaro</span>");
    } else {
        picture->setPixmap(pixmap.scaledToHeight(160, Qt::SmoothTransformation));
    }
    picture->setAlignment(Qt::AlignCenter);
    layout->addWidget(picture);
    auto *version =
        new QLabel(QString::fromUtf8("Versión ") + QString::fromLatin1(kManagerVersionText), this);
    version->setObjectName("LAVersion");
    version->setAlignment(Qt::AlignCenter);
    layout->addWidget(version);
    resize(360, 240);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    QTimer::singleShot(milliseconds, this, &QWidget::close);
}

} // namespace cel::manager
