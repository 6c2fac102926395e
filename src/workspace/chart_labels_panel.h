// The lines above the pages: the natal and the event record with their dates, and the "GMT" and
// "edad" choices of those date lines. A view of the session's labels.
#pragma once

#include "workspace/view_input.h"

class QCheckBox;
class QLabel;

namespace cel::workspace {

class ChartLabelsPanel : public SessionPanel {
public:
    explicit ChartLabelsPanel(session::Session &session, QWidget *parent = nullptr);
    // Writes the names, the date lines and the two choices from the session.
    void Show();

private:
    QLabel *labelNatal_ = nullptr, *labelEvento_ = nullptr;
    QLabel *labelNatalDate_ = nullptr, *labelEventoDate_ = nullptr;
    QCheckBox *cbGmt_ = nullptr, *cbEdad_ = nullptr;
};

} // namespace cel::workspace
