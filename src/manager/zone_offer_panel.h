// Beside a birth's or an event's time: what the zone history says was in force at the place on that
// date when it differs from the zone stored with the place ("En esa fecha regía UTC+2, horario de
// verano (Europe/Madrid)"), with the notes on skipped or repeated hours and on dates before 1970, and
// the button that applies it. Nothing is applied without that click.
#pragma once

#include <QWidget>

#include <optional>

#include "common/date_time.h"
#include "session/zone_offer.h"

class QLabel;
class QPushButton;

namespace cel::manager {

class ZoneOfferPanel : public QWidget {
    Q_OBJECT
public:
    explicit ZoneOfferPanel(QWidget *parent = nullptr);

    // Shows the offer (see session::OfferZoneForPlace); hidden for none, or when the offset in force
    // is the place's stored zone.
    void Show(std::optional<session::ZoneOffer> offer);
    void Clear();
    const std::optional<session::ZoneOffer> &Offer() const { return offer_; }

signals:
    // The universal time of the reading the user applied.
    void accepted(TDateTime universal);

private:
    QLabel *text_ = nullptr;
    QPushButton *apply_ = nullptr;
    QPushButton *applySecond_ = nullptr;
    std::optional<session::ZoneOffer> offer_;
};

} // namespace cel::manager
