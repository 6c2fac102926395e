// A one-line label that gives way first: when its row is too narrow it shows its text cut with "…"
// and the whole text as its tooltip, so the labels beside it keep their room.
#pragma once

#include <QLabel>

namespace cel::workspace {

class ElidedLabel : public QLabel {
public:
    explicit ElidedLabel(const QString &text = {}, QWidget *parent = nullptr);

    QSize minimumSizeHint() const override;

    // Whether the text is cut at the present width.
    bool Elided() const;

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace cel::workspace
