#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "manager/notice_window.h"
#include "manager_fixture.h"

namespace cel::manager {
namespace {

using mgrtest::Find;

TEST(NoticeWindow, ButtonsAreSpanishAndOnlySiAnswersYes) {
    struct Case {
        bool yesNo;
        const char *press; // nullptr: closed with Escape
        bool yes;
    };
    const Case cases[] = {
        {true, "BTSi", true}, {true, "BTNo", false}, {true, nullptr, false}, {false, "BTAcuerdo", false}};
    for (const Case &c : cases) {
        TFormAviso notice(NoticeKind::Question, c.yesNo, true, "Desea eliminar el item?");
        notice.show();
        if (c.yesNo) {
            EXPECT_EQ(Find<QPushButton>(&notice, "BTSi")->text(), QString::fromUtf8("&Sí"));
            EXPECT_EQ(Find<QPushButton>(&notice, "BTNo")->text(), "&No");
            EXPECT_EQ(notice.findChild<QPushButton *>("BTAcuerdo"), nullptr);
        } else {
            EXPECT_EQ(Find<QPushButton>(&notice, "BTAcuerdo")->text(), "De &acuerdo");
        }
        if (c.press)
            Find<QPushButton>(&notice, c.press)->click();
        else
            QTest::keyClick(&notice, Qt::Key_Escape);
        EXPECT_FALSE(notice.isVisible());
        EXPECT_EQ(notice.AnsweredYes(), c.yes) << (c.press ? c.press : "Escape");
    }
}

TEST(NoticeWindow, ShowsTheTextWithLineBreaksAndGrowsWithIt) {
    TFormAviso shortNotice(NoticeKind::Information, false, true, "Archivo \"a.csv\"\r\rcreado correctamente");
    EXPECT_EQ(Find<QLabel>(&shortNotice, "LAMensaje")->text(), "Archivo \"a.csv\"\n\ncreado correctamente");
    EXPECT_TRUE(Find<QLabel>(&shortNotice, "LAMensaje")->alignment() & Qt::AlignHCenter);
    std::string longText;
    for (int i = 0; i < 30; ++i)
        longText += "Una línea más del aviso\r";
    TFormAviso longNotice(NoticeKind::Warning, false, false, QString::fromStdString(longText));
    EXPECT_GT(longNotice.height(), shortNotice.height() + 200);
    EXPECT_TRUE(Find<QLabel>(&longNotice, "LAMensaje")->alignment() & Qt::AlignLeft);
}

TEST(NoticeWindow, TheNotifierRunsTheWindowModally) {
    NoticeWindow notifier;
    mgrtest::OnNextModal([](QWidget *w) { Find<QPushButton>(w, "BTSi")->click(); });
    EXPECT_TRUE(notifier.Notice(NoticeKind::Question, true, true, "Seguro?"));
    mgrtest::OnNextModal([](QWidget *w) {
        QTest::keyClicks(w->findChild<QWidget *>("EDTexto"), "Lima");
        Find<QPushButton>(w, "BTAcuerdo")->click();
    });
    std::string text = "Nueva ";
    EXPECT_TRUE(notifier.InputText("Evento nuevo", "Nombre evento:", text));
    EXPECT_EQ(text, "Nueva Lima");
    mgrtest::OnNextModal([](QWidget *w) { Find<QPushButton>(w, "BTCancelar")->click(); });
    EXPECT_FALSE(notifier.InputText("Evento nuevo", "Nombre evento:", text));
    EXPECT_EQ(text, "Nueva Lima");
}

} // namespace
} // namespace cel::manager
