#include "workspace/dock_layout.h"

#include <QDockWidget>

#include <algorithm>
#include <string>
#include <tuple>

namespace cel::workspace {

std::vector<settings::ToolWindowSection> DockLayoutSections(const QMainWindow &window,
                                                            const std::vector<DockSection> &docks) {
    std::vector<settings::ToolWindowSection> sections;
    for (const DockSection &d : docks) {
        const QDockWidget *dock = d.dock;
        settings::ToolWindowSection section;
        section.name = std::string("TB") + d.name;
        const Qt::DockWidgetArea area = window.dockWidgetArea(const_cast<QDockWidget *>(dock));
        const char *areaName = area == Qt::RightDockWidgetArea    ? "DockRight"
                               : area == Qt::TopDockWidgetArea    ? "DockTop"
                               : area == Qt::BottomDockWidgetArea ? "DockBottom"
                                                                  : "DockLeft";
        const QPoint at = dock->isFloating() ? dock->pos() : dock->geometry().topLeft();
        auto put = [&section](const char *key, const std::string &value) {
            section.entries.push_back({key, value});
        };
        put("Rev", "3");
        put("Visible", d.visible ? "1" : "0");
        put("DockedTo", dock->isFloating() ? "+" : areaName);
        put("LastDock", areaName);
        put("DockRow", std::to_string(dock->isFloating() ? 0 : at.x()));
        put("DockPos", std::to_string(dock->isFloating() ? 0 : at.y()));
        put("FloatLeft", std::to_string(dock->isFloating() ? at.x() : dock->mapToGlobal(QPoint()).x()));
        put("FloatTop", std::to_string(dock->isFloating() ? at.y() : dock->mapToGlobal(QPoint()).y()));
        sections.push_back(std::move(section));
    }
    return sections;
}

void RestoreDockLayout(QMainWindow &window, const std::vector<DockSection> &docks,
                       const std::vector<settings::ToolWindowSection> &sections) {
    struct Placed {
        QDockWidget *dock;
        Qt::DockWidgetArea area;
        int row, pos;
        bool floating, visible;
        QPoint floatAt;
    };
    std::vector<Placed> placed;
    for (const DockSection &d : docks) {
        const std::string name = std::string("TB") + d.name;
        const auto found = std::find_if(sections.begin(), sections.end(),
                                        [&](const settings::ToolWindowSection &s) { return s.name == name; });
        if (found == sections.end())
            continue;
        auto value = [&](const char *key) -> std::string {
            for (const auto &[k, v] : found->entries)
                if (k == key)
                    return v;
            return {};
        };
        auto number = [&](const char *key) {
            try {
                return std::stoi(value(key));
            } catch (...) {
                return 0;
            }
        };
        const std::string docked = value("DockedTo");
        const std::string areaName = docked == "+" ? value("LastDock") : docked;
        const Qt::DockWidgetArea area = areaName == "DockRight"    ? Qt::RightDockWidgetArea
                                        : areaName == "DockTop"    ? Qt::TopDockWidgetArea
                                        : areaName == "DockBottom" ? Qt::BottomDockWidgetArea
                                                                   : Qt::LeftDockWidgetArea;
        placed.push_back({d.dock, area, number("DockRow"), number("DockPos"), docked == "+",
                          number("Visible") != 0, QPoint(number("FloatLeft"), number("FloatTop"))});
    }
    std::stable_sort(placed.begin(), placed.end(), [](const Placed &a, const Placed &b) {
        return std::tie(a.area, a.row, a.pos) < std::tie(b.area, b.row, b.pos);
    });
    for (const Placed &p : placed) {
        window.removeDockWidget(p.dock);
        window.addDockWidget(p.area, p.dock, Qt::Vertical);
        p.dock->setFloating(p.floating);
        if (p.floating)
            p.dock->move(p.floatAt);
        p.dock->setVisible(p.visible);
    }
}

} // namespace cel::workspace
