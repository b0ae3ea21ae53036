#include "platform/rtl/exceptions.h"
#include "report/utils/files.h"
#include "report/utils/messages.h"
#include "report/utils/rectarea.h"
#include "platform/ui/fakes.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(MessageBoxes, CarryCaptionIconAndButtonsAndReturnTheAnswer)
{
    ui::FakeServices fakes;
    kvlErrorMsg(QStringLiteral("e"));
    fakes.messages.answers = {ui::mbNo, ui::mbCancel};
    EXPECT_EQ(kvlConfirmMsg(QStringLiteral("q"), MB_YESNO), IDNO);
    EXPECT_EQ(kvlConfirmMsg(QStringLiteral("q"), MB_YESNOCANCEL), IDCANCEL);
    EXPECT_EQ(kvlConfirmMsg(QStringLiteral("q"), MB_OKCANCEL), IDOK); // answers ran out: OK
    kvlInfoMsg(QStringLiteral("i"));

    const QList<ui::MessageRequest> &shown = fakes.messages.shown;
    ASSERT_EQ(shown.size(), 5);
    EXPECT_EQ(shown[0].caption, QStringLiteral("Errore"));
    EXPECT_EQ(shown[0].icon, ui::MsgIcon::Error);
    EXPECT_EQ(shown[0].buttons, ui::MsgButtons(ui::mbOk));
    EXPECT_EQ(shown[1].caption, QStringLiteral("Richiesta di conferma"));
    EXPECT_EQ(shown[1].icon, ui::MsgIcon::Question);
    EXPECT_EQ(shown[1].buttons, ui::mbYes | ui::mbNo);
    EXPECT_EQ(shown[2].buttons, ui::mbYes | ui::mbNo | ui::mbCancel);
    EXPECT_EQ(shown[3].buttons, ui::mbOk | ui::mbCancel);
    EXPECT_EQ(shown[4].caption, QStringLiteral("Avviso"));
    EXPECT_EQ(shown[4].icon, ui::MsgIcon::Information);
    EXPECT_EQ(shown[4].text, QStringLiteral("i"));
}

TEST(MessageBoxes, ErrorHandlerFollowsTheSilentMode)
{
    ui::FakeServices fakes;
    const QString msg = QStringLiteral("Campo non trovato: X");

    kvlCommonErrorHandler(simMessageBoxes, msg);
    ASSERT_EQ(fakes.messages.shown.size(), 1);
    EXPECT_EQ(fakes.messages.shown[0].text, msg);
    EXPECT_EQ(fakes.messages.shown[0].icon, ui::MsgIcon::Error);

    kvlCommonErrorHandler(simSilent, msg);
    EXPECT_EQ(fakes.messages.shown.size(), 1);

    try {
        kvlCommonErrorHandler(simReThrow, msg);
        ADD_FAILURE() << "no exception";
    } catch (const Exception &e) {
        EXPECT_EQ(e.message(), msg);
    }
    EXPECT_EQ(fakes.messages.shown.size(), 1);
}

TEST(TempFiles, AreNewEmptyFilesInTheFolder)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString a = kvlCreateTempFile(dir.path()); // no trailing slash
    const QString b = kvlCreateTempFile(dir.path() + QLatin1Char('/'));
    EXPECT_NE(a, b);
    for (const QString &f : {a, b}) {
        const QFileInfo fi(f);
        EXPECT_TRUE(fi.isFile());
        EXPECT_EQ(fi.size(), 0);
        EXPECT_TRUE(fi.fileName().startsWith(QStringLiteral("kv")));
        EXPECT_EQ(fi.absolutePath(), QDir(dir.path()).absolutePath());
    }
    EXPECT_TRUE(GetTemporaryFolder().endsWith(u'/'));
    EXPECT_TRUE(QFileInfo(GetTempFile()).isFile());
    EXPECT_THROW(kvlCreateTempFile(dir.path() + QStringLiteral("/missing/sub")), Exception);
}

TEST(ProgramPath, HonoursTheHomeOverride)
{
    QTemporaryDir dir;
    qputenv("LIRRACAL_HOME", dir.path().toUtf8());
    EXPECT_EQ(GetAppPath(), QDir(dir.path()).absolutePath() + QLatin1Char('/'));
    qunsetenv("LIRRACAL_HOME");
    EXPECT_TRUE(QFileInfo(GetAppFileName()).isFile());
}

TEST(RectArea, TakesTheComponentsAbsoluteBox)
{
    TkvlComponent parent(nullptr), child(nullptr);
    parent.SetBounds(10, 20, 100, 100);
    child.SetParent(&parent);
    child.SetBounds(5, 6, 30, 40);
    const TkvlRectArea a(child);
    EXPECT_EQ(a.Left, 15);
    EXPECT_EQ(a.Top, 26);
    EXPECT_EQ(a.Right, 45);
    EXPECT_EQ(a.Bottom, 66);
}

TEST(RectArea, OverlapUsesATolerance)
{
    const TkvlRectArea a(0, 0, 100, 50);
    struct Case {
        TkvlRectArea b;
        bool x, y;
    } cases[] = {
        {{50, 25, 150, 75}, true, true},
        {{100, 50, 200, 90}, false, false},      // touching edges do not overlap
        {{99.99995, 0, 200, 50}, false, true},   // within the tolerance
        {{-10, 60, 10, 70}, true, false},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(a.InterceptsX(c.b), c.x);
        EXPECT_EQ(a.InterceptsY(c.b), c.y);
        EXPECT_EQ(a.InterceptX(c.b).has_value(), c.x);
    }
    const auto x = a.InterceptX(TkvlRectArea(50, 25, 150, 75));
    ASSERT_TRUE(x);
    EXPECT_EQ(x->Left, 50);
    EXPECT_EQ(x->Right, 100);
    EXPECT_EQ(x->Top, 0);
    const auto y = a.InterceptY(TkvlRectArea(50, 25, 150, 75));
    ASSERT_TRUE(y);
    EXPECT_EQ(y->Top, 25);
    EXPECT_EQ(y->Bottom, 50);
}

} // namespace
