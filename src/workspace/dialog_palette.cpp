#include "workspace/dialog_palette.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QWidget>

#include "settings/settings.h"

namespace cel::workspace {

namespace {

constexpr const char *kSchemeProperty = "celScheme";
constexpr const char *kHintsProperty = "celHints";
constexpr const char *kFollowsProperty = "celFollowsScheme";

// One filter for the whole program: a tooltip event is dropped when its widget's window has them off.
class HintFilter : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() == QEvent::ToolTip && watched->isWidgetType() &&
            !HintsShown(static_cast<QWidget *>(watched)))
            return true;
        return QObject::eventFilter(watched, event);
    }
};

// Installed once per application object (the filter goes with it).
void InstallHintFilter() {
    static QPointer<HintFilter> filter;
    if (filter.isNull() && qApp != nullptr) {
        filter = new HintFilter(qApp);
        qApp->installEventFilter(filter);
    }
}

// The nearest widget from `widget` up through its parents (windows included) that holds a scheme.
const QWidget *SchemeHolder(const QWidget *widget) {
    for (const QWidget *w = widget; w != nullptr; w = w->parentWidget())
        if (w->property(kSchemeProperty).isValid())
            return w;
    return nullptr;
}

} // namespace

QPalette SchemePalette(int scheme) {
    QPalette palette = QApplication::palette();
    if (const auto colour = settings::SchemeColour(scheme)) {
        const int v = *colour;
        palette.setColor(QPalette::Window, QColor(v & 0xFF, (v >> 8) & 0xFF, (v >> 16) & 0xFF));
    }
    return palette;
}

void ApplyScheme(QWidget *window, int scheme, bool hints) {
    InstallHintFilter();
    window->setProperty(kSchemeProperty, scheme);
    window->setProperty(kHintsProperty, hints);
    window->setPalette(SchemePalette(scheme));
    // Child windows do not take the parent's palette by themselves.
    for (QWidget *child : window->findChildren<QWidget *>())
        if (child->isWindow() && child->property(kFollowsProperty).toBool())
            ApplyScheme(child, scheme, hints);
}

void FollowScheme(QWidget *window) {
    window->setProperty(kFollowsProperty, true);
    if (const QWidget *holder = SchemeHolder(window->parentWidget()))
        ApplyScheme(window, holder->property(kSchemeProperty).toInt(),
                    holder->property(kHintsProperty).toBool());
}

bool HintsShown(const QWidget *widget) {
    const QWidget *holder = SchemeHolder(widget);
    return holder == nullptr || holder->property(kHintsProperty).toBool();
}

} // namespace cel::workspace
