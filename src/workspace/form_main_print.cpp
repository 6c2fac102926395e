// The main window's print menu: the print window lays out the page the window shows, with that page's
// choices, for printing, the preview and the RTF export.
#include <QMenu>
#include <QStackedWidget>
#include <QToolButton>

#include "document/workspace_page.h"
#include "workspace/aspect_table_page.h"
#include "workspace/form_main.h"
#include "workspace/print_window.h"
#include "workspace/reports_page.h"

namespace cel::workspace {

document::PageContent TFormMain::PrintContent() const {
    document::PageKind kind = document::PageKind::Rueda;
    document::PageChoices choices;
    if (pages_->currentWidget() == tablePage_) {
        kind = tablePage_->PrintKind();
        tablePage_->AddPrintChoices(choices);
    } else if (pages_->currentWidget() == reportsPage_) {
        kind = reportsPage_->PrintKind();
        reportsPage_->AddPrintChoices(choices);
    }
    // Pictures and cell sizes follow the screen's resolution, as on screen (96 or 120 pixels per inch).
    choices.ppi = logicalDpiX() > 0 ? logicalDpiX() : 96;
    choices.previewPpi = choices.ppi;
    const bool synastry = sbSinastria_ != nullptr && sbSinastria_->isChecked();
    const document::HeadingNames names =
        document::NamesFromDatabase(ws_, {"", "", "", "", synastry}, synastry);
    return document::MakePageContent(kind, document::StateOf(ws_), choices,
                                     document::MakeHeading(ws_, names));
}

void TFormMain::BuildPrintMenu(QToolButton *button) {
    auto *menu = new QMenu(button);
    menu->setObjectName("MenuImprimir");
    const auto layout = [this] { return document::LayoutOptions{false, ws_.settings.main.footer}; };
    menu->addAction("Imprimir", this,
                    [this, layout] { TFormPrint::PrintDirect(notifier_, PrintContent(), layout(), this); });
    menu->addAction("Impresión preliminar", this, [this, layout] {
        TFormPrint::Preview(notifier_, PrintContent(), layout(), ws_.settings.main.hint, this);
    });
    menu->addAction("Exportar a archivo RTF", this, [this, layout] {
        TFormPrint::ExportRtfDirect(notifier_, PrintContent(), layout(), this);
    });
    button->setMenu(menu);
    button->setPopupMode(QToolButton::InstantPopup);
}

} // namespace cel::workspace
