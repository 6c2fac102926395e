#include "manager/zone_offer_panel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <utility>

#include "manager/wrapped_label.h"
#include "zones/zone_history.h"

namespace cel::manager {

ZoneOfferPanel::ZoneOfferPanel(QWidget *parent) : QWidget(parent) {
    setObjectName("PanelZonaHistorica");
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    text_ = new WrappedLabel(this);
    text_->setObjectName("LAZonaHistorica");
    text_->setStyleSheet("color: #8a4b00;");
    auto *row = new QHBoxLayout;
    apply_ = new QPushButton(this);
    apply_->setObjectName("BTAplicarZona");
    apply_->setAutoDefault(false);
    applySecond_ = new QPushButton(this);
    applySecond_->setObjectName("BTAplicarZona2");
    applySecond_->setAutoDefault(false);
    row->addWidget(apply_);
    row->addWidget(applySecond_);
    row->addStretch();
    column->addWidget(text_);
    column->addLayout(row);
    connect(apply_, &QPushButton::clicked, this, [this] {
        if (offer_)
            emit accepted(offer_->universal);
    });
    connect(applySecond_, &QPushButton::clicked, this, [this] {
        if (offer_)
            emit accepted(offer_->universalSecond);
    });
    hide();
}

void ZoneOfferPanel::Clear() {
    offer_.reset();
    hide();
}

void ZoneOfferPanel::Show(std::optional<session::ZoneOffer> offer) {
    offer_ = std::move(offer);
    if (!offer_ || !offer_->differs) {
        Clear();
        return;
    }
    const session::ZoneOffer &o = *offer_;
    text_->setText(QString::fromStdString(o.text + (o.note.empty() ? "" : ".\n" + o.note)));
    const bool two = o.reading.kind != zones::LocalTimeKind::Unique;
    // One button per reading of a skipped or repeated hour; one for a plain date.
    apply_->setText(QString::fromStdString(two ? "Aplicar " + zones::OffsetText(o.reading.first.offsetHours)
                                               : "Aplicar " + zones::OffsetText(o.reading.first.offsetHours) +
                                                     " (guardar en tu)"));
    apply_->setToolTip("Guarda la fecha en tiempo universal con la zona que regía entonces");
    applySecond_->setText(
        QString::fromStdString("Aplicar " + zones::OffsetText(o.reading.second.offsetHours)));
    applySecond_->setVisible(two);
    show();
}

} // namespace cel::manager
