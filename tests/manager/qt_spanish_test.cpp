// Qt's own buttons and dialogs speak Spanish once the translation is installed.
#include <QApplication>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QTranslator>

#include <gtest/gtest.h>

#include "manager/qt_spanish.h"

namespace cel::manager {
namespace {

QString Plain(const QString &text) {
    return QString(text).remove('&');
}

TEST(QtSpanish, StandardButtonsReadInSpanish) {
    QTranslator *translator = InstallQtSpanish(*qApp);
    ASSERT_NE(translator, nullptr) << "qtbase_es is not installed (qt6-translations-l10n)";
    QDialogButtonBox box(QDialogButtonBox::Cancel | QDialogButtonBox::Open | QDialogButtonBox::Save |
                         QDialogButtonBox::Close);
    EXPECT_EQ(Plain(box.button(QDialogButtonBox::Cancel)->text()), "Cancelar");
    EXPECT_EQ(Plain(box.button(QDialogButtonBox::Open)->text()), "Abrir");
    EXPECT_EQ(Plain(box.button(QDialogButtonBox::Save)->text()), "Guardar");
    EXPECT_EQ(Plain(box.button(QDialogButtonBox::Close)->text()), "Cerrar");
    QCoreApplication::removeTranslator(translator); // the other tests read Qt's own texts
    delete translator;
}

} // namespace
} // namespace cel::manager
