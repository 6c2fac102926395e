#include "workspace/print_window.h"

#include <QCheckBox>
#include <QDesktopServices>
#include <QFileDialog>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "common/version.h"
#include "document/renderer.h"
#include "export/rtf_export.h"
#include "workspace/dialog_palette.h"

namespace cel::workspace {

namespace {

constexpr double kMinZoom = 0.25;
constexpr double kMaxZoom = 4.0;
constexpr double kThumbnailPpi = 14;

QToolButton *Button(QWidget *parent, const char *name, const QString &text, const QString &hint) {
    auto *button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setText(text);
    button->setToolTip(hint);
    button->setAutoRaise(true);
    return button;
}

} // namespace

TFormPrint::TFormPrint(Notifier &notifier, document::PageContent content, document::LayoutOptions options,
                       bool hints, QWidget *parent)
    : QDialog(parent), notifier_(notifier), options_(std::move(options)),
      printer_(std::make_unique<QPrinter>(QPrinter::HighResolution)) {
    setObjectName(QStringLiteral("TFormPrint"));
    setWindowTitle(QString::fromUtf8(kChartProgramCaption) + QStringLiteral(" Impresión previa"));
    document_.content = std::move(content);

    auto *bar = new QHBoxLayout;
    first_ = Button(this, "SBFirst", QStringLiteral("|<"), QStringLiteral("Primera página"));
    prior_ = Button(this, "SBPrior", QStringLiteral("<"), QStringLiteral("Página anterior"));
    pageLabel_ = new QLabel(this);
    pageLabel_->setObjectName(QStringLiteral("LPage"));
    next_ = Button(this, "SBNext", QStringLiteral(">"), QStringLiteral("Página siguiente"));
    last_ = Button(this, "SBLast", QStringLiteral(">|"), QStringLiteral("Última página"));
    for (QWidget *w : std::initializer_list<QWidget *>{first_, prior_, pageLabel_, next_, last_})
        bar->addWidget(w);
    bar->addSpacing(12);
    auto *zoomOut = Button(this, "SBZoomOut", QStringLiteral("-"), QStringLiteral("Reducir"));
    zoomLabel_ = new QLabel(this);
    zoomLabel_->setObjectName(QStringLiteral("LZoom"));
    auto *zoomIn = Button(this, "SBZoomIn", QStringLiteral("+"), QStringLiteral("Ampliar"));
    auto *zoom100 = Button(this, "SBZoom100", QStringLiteral("100 %"), QStringLiteral("Tamaño real"));
    auto *zoomWidth =
        Button(this, "SBZoomWidth", QStringLiteral("Ancho"), QStringLiteral("Ajustar al ancho"));
    for (QWidget *w : std::initializer_list<QWidget *>{zoomOut, zoomLabel_, zoomIn, zoom100, zoomWidth})
        bar->addWidget(w);
    bar->addSpacing(12);
    portrait_ = Button(this, "SBVertical", QStringLiteral("Vertical"), QStringLiteral("Página vertical"));
    landscape_ =
        Button(this, "SBHorizontal", QStringLiteral("Horizontal"), QStringLiteral("Página horizontal"));
    portrait_->setCheckable(true);
    landscape_->setCheckable(true);
    bar->addWidget(portrait_);
    bar->addWidget(landscape_);
    bar->addSpacing(12);
    aspectGrid_ = new QCheckBox(QStringLiteral("&Aspectos junto a la rueda"), this);
    aspectGrid_->setObjectName(QStringLiteral("CBAspectGrid"));
    aspectGrid_->setToolTip(
        QStringLiteral("Imprimir la tabla de aspectos entre los cuerpos junto a la rueda"));
    bar->addWidget(aspectGrid_);
    bar->addStretch(1);

    scroll_ = new QScrollArea(this);
    scroll_->setObjectName(QStringLiteral("SAPreview"));
    scroll_->setAlignment(Qt::AlignCenter);
    scroll_->setBackgroundRole(QPalette::Dark);
    preview_ = new QLabel;
    preview_->setObjectName(QStringLiteral("LPreview"));
    scroll_->setWidget(preview_);
    thumbnails_ = new QListWidget(this);
    thumbnails_->setObjectName(QStringLiteral("LWPages"));
    thumbnails_->setViewMode(QListView::IconMode);
    thumbnails_->setFlow(QListView::TopToBottom);
    thumbnails_->setWrapping(false);
    thumbnails_->setMovement(QListView::Static);
    thumbnails_->setIconSize(QSize(120, 120));
    thumbnails_->setFixedWidth(150);
    auto *middle = new QHBoxLayout;
    middle->addWidget(thumbnails_);
    middle->addWidget(scroll_, 1);

    auto *bottom = new QHBoxLayout;
    currentPage_ = new QRadioButton(QStringLiteral("Página actual"), this);
    currentPage_->setObjectName(QStringLiteral("RBCurrentPage"));
    allPages_ = new QRadioButton(QStringLiteral("Todas las páginas"), this);
    allPages_->setObjectName(QStringLiteral("RBAllPages"));
    allPages_->setChecked(true);
    auto *setup = new QPushButton(QStringLiteral("Configurar impresora"), this);
    setup->setObjectName(QStringLiteral("BSetup"));
    auto *pdf = new QPushButton(QStringLiteral("PDF"), this);
    pdf->setObjectName(QStringLiteral("BPdf"));
    pdf->setToolTip(QStringLiteral("Guardar todas las páginas en un archivo PDF"));
    auto *rtf = new QPushButton(QStringLiteral("RTF"), this);
    rtf->setObjectName(QStringLiteral("BRTF"));
    rtf->setToolTip(QStringLiteral("Exportar a archivo RTF"));
    auto *print = new QPushButton(QStringLiteral("&Imprimir"), this);
    print->setObjectName(QStringLiteral("BImprimir"));
    print->setDefault(true);
    auto *cancel = new QPushButton(QStringLiteral("&Cancelar"), this);
    cancel->setObjectName(QStringLiteral("BCancelar"));
    for (QWidget *w : std::initializer_list<QWidget *>{currentPage_, allPages_})
        bottom->addWidget(w);
    bottom->addStretch(1);
    for (QWidget *w : std::initializer_list<QWidget *>{setup, pdf, rtf, print, cancel})
        bottom->addWidget(w);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addLayout(middle, 1);
    layout->addLayout(bottom);

    connect(first_, &QToolButton::clicked, this, [this] { ShowPage(0); });
    connect(prior_, &QToolButton::clicked, this, [this] { ShowPage(current_ - 1); });
    connect(next_, &QToolButton::clicked, this, [this] { ShowPage(current_ + 1); });
    connect(last_, &QToolButton::clicked, this,
            [this] { ShowPage(static_cast<int>(document_.pages.size()) - 1); });
    connect(zoomIn, &QToolButton::clicked, this, [this] { SetZoom(zoom_ * 1.25); });
    connect(zoomOut, &QToolButton::clicked, this, [this] { SetZoom(zoom_ / 1.25); });
    connect(zoom100, &QToolButton::clicked, this, [this] { SetZoom(1.0); });
    connect(zoomWidth, &QToolButton::clicked, this, [this] {
        if (document_.pages.empty())
            return;
        const double pageWidth =
            document_.pages[static_cast<std::size_t>(current_)].SizeMm().width() / 25.4 * 96;
        SetZoom((scroll_->viewport()->width() - 8) / pageWidth);
    });
    connect(portrait_, &QToolButton::clicked, this, [this] { SetLandscape(false); });
    connect(landscape_, &QToolButton::clicked, this, [this] { SetLandscape(true); });
    connect(aspectGrid_, &QCheckBox::toggled, this, [this](bool on) { SetAspectGrid(on); });
    connect(thumbnails_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0 && row != current_)
            ShowPage(row);
    });
    connect(setup, &QPushButton::clicked, this, [this] {
        QPageSetupDialog dialog(printer_.get(), this);
        dialog.exec();
    });
    connect(pdf, &QPushButton::clicked, this, [this] { SavePdf(); });
    connect(rtf, &QPushButton::clicked, this, [this] { ExportRtf(); });
    connect(print, &QPushButton::clicked, this, [this] { Print(); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    FollowScheme(this);
    if (!hints)
        for (QWidget *w : findChildren<QWidget *>())
            w->setToolTip(QString());
    const bool wheel = document_.content.page == document::PageKind::Rueda;
    portrait_->setVisible(wheel);
    landscape_->setVisible(wheel);
    aspectGrid_->setVisible(wheel);
    // At most the screen's free area, less room for the frame and the title bar: on a 1366x768
    // screen the whole window and its buttons stay in sight.
    QSize size(980, 760);
    if (const QScreen *screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen())
        size = size.boundedTo(screen->availableGeometry().size() - QSize(16, 48));
    resize(size.expandedTo(minimumSizeHint()));
    Rebuild();
}

TFormPrint::~TFormPrint() = default;

void TFormPrint::Rebuild() {
    document::PageContent content = std::move(document_.content);
    document::BuildDocument(document_, std::move(content), options_);
    portrait_->setChecked(!options_.landscape);
    landscape_->setChecked(options_.landscape);
    aspectGrid_->blockSignals(true);
    aspectGrid_->setChecked(options_.aspectGrid);
    aspectGrid_->blockSignals(false);
    thumbnails_->blockSignals(true);
    thumbnails_->clear();
    for (std::size_t i = 0; i < document_.pages.size(); ++i) {
        const QImage thumb = document::RenderPageImage(document_.pages[i], kThumbnailPpi, false);
        auto *item =
            new QListWidgetItem(QIcon(QPixmap::fromImage(thumb)), QString::number(i + 1), thumbnails_);
        item->setTextAlignment(Qt::AlignHCenter);
    }
    thumbnails_->blockSignals(false);
    current_ = 0; // the preview shows the first page
    Refresh();
}

void TFormPrint::Refresh() {
    const int count = static_cast<int>(document_.pages.size());
    current_ = std::clamp(current_, 0, std::max(0, count - 1));
    pageLabel_->setText(QString::number(count == 0 ? 0 : current_ + 1) + QStringLiteral(" de ") +
                        QString::number(count));
    zoomLabel_->setText(QString::number(std::lround(zoom_ * 100)) + QStringLiteral(" %"));
    first_->setEnabled(current_ > 0);
    prior_->setEnabled(current_ > 0);
    next_->setEnabled(current_ + 1 < count);
    last_->setEnabled(current_ + 1 < count);
    if (count == 0) {
        preview_->clear();
        return;
    }
    // Drawn at the screen's own pixel density, so the preview is sharp on a scaled (high-density) screen.
    const qreal ratio = std::max<qreal>(1.0, devicePixelRatioF());
    const QImage image = document::RenderPageImage(document_.pages[static_cast<std::size_t>(current_)],
                                                   96.0 * zoom_ * ratio, true);
    QPixmap picture = QPixmap::fromImage(image);
    picture.setDevicePixelRatio(ratio);
    preview_->setPixmap(picture);
    preview_->resize((QSizeF(image.size()) / ratio).toSize());
    thumbnails_->blockSignals(true);
    thumbnails_->setCurrentRow(current_);
    thumbnails_->blockSignals(false);
}

void TFormPrint::ShowPage(int index) {
    const int count = static_cast<int>(document_.pages.size());
    if (count == 0)
        return;
    current_ = std::clamp(index, 0, count - 1);
    Refresh();
}

void TFormPrint::SetZoom(double zoom) {
    zoom_ = std::clamp(zoom, kMinZoom, kMaxZoom);
    Refresh();
}

void TFormPrint::SetLandscape(bool landscape) {
    options_.landscape = landscape;
    Rebuild();
}

void TFormPrint::SetAspectGrid(bool shown) {
    if (options_.aspectGrid == shown)
        return;
    options_.aspectGrid = shown;
    Rebuild();
}

bool TFormPrint::AllPages() const {
    return allPages_->isChecked();
}

bool TFormPrint::PrintOn(QPrinter &printer) {
    if (document_.pages.empty())
        return false;
    // Our own page geometry from the paper's corner, one unit a pixel of 96 per inch.
    printer.setFullPage(true);
    printer.setResolution(96);
    const int last = static_cast<int>(document_.pages.size()) - 1;
    return AllPages() ? document::PaintDocument(printer, document_, 0, last)
                      : document::PaintDocument(printer, document_, current_, current_);
}

void TFormPrint::Print() {
    QPrintDialog dialog(printer_.get(), this);
    dialog.setWindowTitle(QStringLiteral("Imprimir"));
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (!PrintOn(*printer_)) {
        notifier_.Notice(NoticeKind::Error, false, true, "No se pudo imprimir el documento.");
        return;
    }
    accept();
}

void TFormPrint::SavePdf() {
    const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Guardar como PDF"), QString(),
                                                      QStringLiteral("Archivos PDF (*.pdf)"));
    if (path.isEmpty())
        return;
    const QString file = path.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive) ? path : path + ".pdf";
    QString error;
    if (!document::WritePdf(document_, file, &error))
        notifier_.Notice(NoticeKind::Error, false, true, (file + ": " + error).toStdString());
}

void TFormPrint::ExportRtf() {
    if (document_.content.page == document::PageKind::Resumen) {
        notifier_.Notice(NoticeKind::Warning, false, true, exporting::kSummaryRefusal);
        return;
    }
    QFileDialog dialog(this, QStringLiteral("Exportar a archivo RTF"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter(QStringLiteral("Archivos RTF (*.rtf)"));
    dialog.setDefaultSuffix(QStringLiteral("rtf"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const std::string path = dialog.selectedFiles().front().toStdString();
    try {
        const exporting::ExportResult result = exporting::ExportRtf(document_.content, path);
        if (!result.written) {
            notifier_.Notice(NoticeKind::Warning, false, true, result.message);
            return;
        }
    } catch (const std::runtime_error &e) {
        notifier_.Notice(NoticeKind::Error, false, true, e.what());
        return;
    }
    if (notifier_.Notice(NoticeKind::Question, true, true, exporting::CreatedQuestion(path)))
        QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
}

void TFormPrint::Preview(Notifier &notifier, document::PageContent content, document::LayoutOptions options,
                         bool hints, QWidget *parent) {
    TFormPrint window(notifier, std::move(content), std::move(options), hints, parent);
    window.exec();
}

void TFormPrint::PrintDirect(Notifier &notifier, document::PageContent content,
                             document::LayoutOptions options, QWidget *parent) {
    TFormPrint window(notifier, std::move(content), std::move(options), true, parent);
    window.Print();
}

void TFormPrint::ExportRtfDirect(Notifier &notifier, document::PageContent content,
                                 document::LayoutOptions options, QWidget *parent) {
    TFormPrint window(notifier, std::move(content), std::move(options), true, parent);
    window.ExportRtf();
}

} // namespace cel::workspace
