#include "workspace/splash.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

#include "common/version.h"

namespace cel::workspace {

QWidget *ShowSplash() {
    auto *splash =
        new QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    splash->setObjectName("FormSplash");
    splash->setAttribute(Qt::WA_DeleteOnClose);
    splash->setStyleSheet("background: white;");
    auto *column = new QVBoxLayout(splash);
    auto *title = new QLabel("Celestigrafo");
    title->setStyleSheet("font-size: 28pt; font-weight: bold; color: navy;");
    title->setAlignment(Qt::AlignCenter);
    auto *version = new QLabel(QString("Versión %1").arg(kChartVersionText));
    version->setAlignment(Qt::AlignCenter);
    column->addWidget(title);
    column->addWidget(version);
    splash->resize(360, 180);
    if (QScreen *screen = QGuiApplication::primaryScreen())
        splash->move(screen->availableGeometry().center() - splash->rect().center());
    splash->show();
    QTimer::singleShot(5000, splash, &QWidget::close);
    return splash;
}

} // namespace cel::workspace
