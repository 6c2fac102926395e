// A page's heading and chart state taken from the session workspace, as the main window and the
// command line hold it.
#pragma once

#include <string>

#include "document/page_content.h"
#include "session/workspace.h"

namespace cel::document {

// The names the heading shows; empty ones are taken from the workspace's database where it knows them.
struct HeadingNames {
    std::string natalName; // name and surname
    std::string eventName; // the event's label (default "Evento")
    std::string place;
    std::string country;
    bool synastry = false; // the event is another person's birth
};

// Fills the empty names from the records' person and place in the open database.
HeadingNames NamesFromDatabase(const session::Workspace &workspace, HeadingNames names, bool eventIsPerson);
// The heading texts of the workspace's natal and event records and charts.
PageHeading MakeHeading(const session::Workspace &workspace, const HeadingNames &names);
// The charts and choices of the workspace; refers to it, which must outlive the page.
ChartState StateOf(const session::Workspace &workspace);

} // namespace cel::document
