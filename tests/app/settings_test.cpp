#include "appfixture.h"
#include "app/fmain.h"

#include <QFile>
#include <QGuiApplication>
#include <QScreen>

namespace {

using Bounds = std::array<int, 4>; // Top, Left, Width, Height

Bounds outer(const QWidget &w)
{
    const QRect r = w.frameGeometry();
    return {r.top(), r.left(), r.width(), r.height()};
}

using SettingsTest = AppHome;

TEST_F(SettingsTest, MainWindowBoundsSurviveClosingAndReopening)
{
    Bounds closed{};
    {
        TfMain w;
        fMain = &w;
        w.show();
        w.move(30, 40);
        w.resize(1000, 300);
        closed = outer(w);
        w.close();
        EXPECT_EQ(fileBounds(QStringLiteral("SETUP_Main")), closed);
    }
    EXPECT_EQ(closed[0], 40);
    EXPECT_EQ(closed[1], 30);

    delete Settings; // a new run
    Settings = new TSettings(iniPath());
    TfMain w;
    fMain = &w;
    w.show();
    EXPECT_EQ(outer(w), closed);
    w.close();
    EXPECT_EQ(fileBounds(QStringLiteral("SETUP_Main")), closed);
    QFile f(iniPath());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.readAll().startsWith("[SETUP_Main]\nTop=40\nLeft=30\nWidth="));
}

TEST_F(SettingsTest, TheWindowIsRestoredBeforeItConnects)
{
    struct Probe : TfMain {
        QRect atConnect;
        int connects = 0;
        void bOpenRemotoClick() override
        {
            atConnect = frameGeometry();
            ++connects;
        }
    };
    Settings->SaveFormPosMain(0, 50);
    Settings->SaveFormPosMain(1, 60);
    Settings->SaveFormPosMain(2, 1100);
    Settings->SaveFormPosMain(3, 400);
    Probe w;
    fMain = &w;
    w.show();
    w.hide();
    w.show();
    EXPECT_EQ(w.connects, 1) << "only the first show connects";
    EXPECT_EQ(w.atConnect, QRect(60, 50, 1100, 400));
}

TEST_F(SettingsTest, IndexOutsideTheFourBoundsDoesNothing)
{
    QWidget w;
    fARC = &w;
    w.setGeometry(10, 20, 300, 200);
    Settings->SaveFormPosArc(-1, 77);
    Settings->SaveFormPosArc(4, 77);
    EXPECT_FALSE(QFile::exists(iniPath()));
    fMain = nullptr;
    EXPECT_EQ(Settings->LoadFormPosArc(4), -1);
    EXPECT_EQ(Settings->LoadFormPosArc(-1), -1);
    EXPECT_EQ(w.geometry(), QRect(10, 20, 300, 200));
    fARC = nullptr;
}

TEST_F(SettingsTest, LoadAnswersTheCacheAndNeverFillsIt)
{
    QWidget w;
    w.setMinimumSize(200, 100);
    fSEDI = &w;
    {
        TIniFile ini(iniPath());
        ini.WriteInteger(QStringLiteral("SETUP_Sedi"), QStringLiteral("Top"), 100);
        ini.WriteString(QStringLiteral("SETUP_Sedi"), QStringLiteral("Height"), QStringLiteral("tall"));
    }
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(Settings->LoadFormPosSedi(i), 0) << i;
    EXPECT_EQ(Settings->FormPos(TFormSlot::Sedi), (Bounds{0, 0, 0, 0}));
    // Only Top is stored (Height is no number): the rest come from the zero cache,
    // which the minimum size raises.
    EXPECT_EQ(w.pos(), QPoint(0, 100));
    EXPECT_EQ(w.size(), QSize(200, 100));

    Settings->SaveFormPosSedi(2, 321);
    EXPECT_EQ(Settings->LoadFormPosSedi(2), 321);
    EXPECT_EQ(fileBounds(QStringLiteral("SETUP_Sedi")), (Bounds{0, 0, 321, 0}));
    fSEDI = nullptr;
}

TEST_F(SettingsTest, ClosingTwiceKeepsTheSecondBounds)
{
    QWidget w;
    fTITOLI = &w;
    w.setGeometry(10, 20, 300, 200);
    SaveFormBounds(Settings, TFormSlot::Titoli, &w);
    w.setGeometry(50, 60, 310, 210);
    SaveFormBounds(Settings, TFormSlot::Titoli, &w);
    EXPECT_EQ(fileBounds(QStringLiteral("SETUP_Titoli")), (Bounds{60, 50, 310, 210}));
    EXPECT_EQ(fileBounds(QStringLiteral("SETUP_Main")), (Bounds{-999, -999, -999, -999}));
    fTITOLI = nullptr;
}

TEST_F(SettingsTest, BoundsFromAScreenThatIsGoneComeBackOnScreen)
{
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    struct Case {
        const char *name;
        Bounds saved;
        bool moved;
    };
    const Case cases[] = {
        {"inside", {area.top() + 10, area.left() + 20, 300, 200}, false},
        {"partly off the right edge", {area.top() + 10, area.right() - 100, 300, 200}, false},
        {"far right and down", {area.bottom() + 2000, area.right() + 3000, 300, 200}, true},
        {"far left", {area.top() + 10, area.left() - 5000, 300, 200}, true},
        {"title above every screen", {area.top() - 400, area.left() + 10, 300, 200}, true},
        {"larger than the screen, away", {area.top() - 5000, area.left(), area.width() + 500, area.height() + 500},
         true},
    };
    for (const Case &c : cases) {
        QWidget w;
        fEDIT = &w;
        {
            TIniFile ini(iniPath());
            const char *keys[] = {"Top", "Left", "Width", "Height"};
            for (int i = 0; i < 4; ++i)
                ini.WriteInteger(QStringLiteral("SETUP_Edit"), QLatin1String(keys[i]), c.saved[i]);
        }
        w.show();
        LoadFormBounds(Settings, TFormSlot::Edit);
        const QRect r = w.frameGeometry();
        if (c.moved) {
            EXPECT_TRUE(area.contains(r)) << c.name;
        } else {
            EXPECT_EQ(outer(w), c.saved) << c.name;
        }
        fEDIT = nullptr;
    }
}

} // namespace
