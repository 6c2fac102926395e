// What the main window prints: the print window lays out the page the window shows, with that page's
// choices, for printing, the preview and the RTF export.
#include <QStackedWidget>

#include "document/workspace_page.h"
#include "workspace/aspect_table_page.h"
#include "workspace/form_main.h"
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
    const bool synastry = session_.Synastry();
    const document::HeadingNames names =
        document::NamesFromDatabase(Workspace(), {"", "", "", "", synastry}, synastry);
    return document::MakePageContent(kind, document::StateOf(Workspace()), choices,
                                     document::MakeHeading(Workspace(), names));
}

} // namespace cel::workspace
