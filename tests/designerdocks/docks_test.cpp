// Dock sites driven with the mouse: tool windows dragged in and out, refused from another
// designer window, the splitter's grip and drag; and the stored positions of toolbars,
// dock sites and windows, hostile ones included.
#include "dockhost.h"

#include "designer/widgets/dockstore.h"
#include "designer/widgets/docktbpanel.h"
#include "designer/widgets/dragmanager.h"
#include "platform/rtl/inifile.h"
#include "platform/ui/windowbounds.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace {

QPoint globalCentre(const QWidget *w) { return w->mapToGlobal(w->rect().center()); }

// Press on the caption, move in steps to a screen point, release there (or press Esc).
void dragCaption(TkvlDockForm *form, QPoint to, bool escape = false)
{
    QWidget *caption = form->Caption();
    const QPoint from(10, caption->height() / 2);
    QTest::mousePress(caption, Qt::LeftButton, Qt::NoModifier, from);
    const QPoint start = caption->mapToGlobal(from);
    QWidget *window = caption->window();
    for (int step = 1; step <= 4; ++step) {
        const QPoint p = start + (to - start) * step / 4;
        QTest::mouseMove(window, window->mapFromGlobal(p));
    }
    if (escape) {
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : window, Qt::Key_Escape);
    }
    QTest::mouseRelease(window, Qt::LeftButton, Qt::NoModifier, window->mapFromGlobal(to));
    QApplication::processEvents(); // the drop runs once the release is handled
}

class Docks : public ::testing::Test
{
protected:
    void SetUp() override
    {
        host.move(40, 40);
        host.show();
        host.inspector->move(500, 100);
        host.inspector->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
    }
    // A point just inside the left site's edge (an empty site is 0 pixels wide).
    QPoint leftSitePoint() const { return host.left->mapToGlobal(QPoint(2, 100)); }

    DockHost host;
};

TEST_F(Docks, ToolWindowDraggedInAndOut)
{
    EXPECT_EQ(host.left->width(), 0);
    EXPECT_FALSE(host.left->Splitter()->isVisible());
    dragCaption(host.inspector, leftSitePoint());
    ASSERT_EQ(host.inspector->HostDockSite(), host.left);
    EXPECT_EQ(host.left->DockClientCount(), 1);
    EXPECT_EQ(host.left->Thickness(), 150); // the window's width
    QApplication::processEvents();
    EXPECT_EQ(host.left->width(), 150);
    EXPECT_TRUE(host.left->Splitter()->isVisible());
    EXPECT_FALSE(TkvlDragController::Instance().Manager().Armed());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    // Out again: dropped over the centre, it floats there with its old size.
    const QPoint drop = globalCentre(host.center);
    dragCaption(host.inspector, drop);
    EXPECT_EQ(host.inspector->HostDockSite(), nullptr);
    EXPECT_TRUE(host.inspector->isWindow());
    EXPECT_TRUE(host.inspector->isVisible());
    EXPECT_EQ(host.inspector->size(), QSize(150, 300));
    EXPECT_EQ(host.left->DockClientCount(), 0);
    EXPECT_EQ(host.left->Thickness(), 0);
    EXPECT_FALSE(host.left->Splitter()->isVisible());
}

TEST_F(Docks, EscCancelsTheDrag)
{
    const QRect before = ui::OuterBounds(host.inspector);
    dragCaption(host.inspector, leftSitePoint(), true);
    EXPECT_TRUE(host.inspector->isWindow());
    EXPECT_EQ(ui::OuterBounds(host.inspector), before);
    EXPECT_EQ(host.left->DockClientCount(), 0);
    EXPECT_FALSE(TkvlDragController::Instance().Manager().Armed());
}

TEST_F(Docks, ToolWindowOfAnotherDesignerIsRefused)
{
    DockHost other; // same name as the first: the owner itself decides
    other.move(60, 60);
    other.show();
    other.tree->move(520, 120);
    other.tree->show();
    dragCaption(other.tree, leftSitePoint());
    EXPECT_EQ(host.left->DockClientCount(), 0);
    EXPECT_EQ(other.tree->HostDockSite(), nullptr);
    EXPECT_TRUE(other.tree->isWindow());
    EXPECT_FALSE(host.left->Dock(other.tree));
    // Nor can a window docked in one designer leave for the other's site.
    ASSERT_TRUE(other.left->Dock(other.tree));
    EXPECT_FALSE(other.left->DoUnDock(other.tree, host.left));
    EXPECT_EQ(other.tree->HostDockSite(), other.left);
}

TEST_F(Docks, GripCollapsesAndTheBarResizes)
{
    for (TkvlDockSite *site : {host.left, host.right}) {
        ASSERT_TRUE(site->Dock(site == host.left ? host.inspector : host.tree));
        QApplication::processEvents();
        TDockSplitter *bar = site->Splitter();
        ASSERT_TRUE(bar->isVisible());
        const QPoint middle(3, bar->height() / 2);
        QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, middle);
        QApplication::processEvents();
        EXPECT_EQ(site->width(), 0);
        EXPECT_TRUE(bar->isVisible());
        QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, QPoint(3, bar->height() / 2));
        QApplication::processEvents();
        EXPECT_EQ(site->width(), 150);

        // Dragged away from the grip: 30 pixels towards the centre widens the site.
        const QPoint p(3, 10);
        QTest::mousePress(bar, Qt::LeftButton, Qt::NoModifier, p);
        const int towards = site == host.left ? 30 : -30;
        QTest::mouseMove(bar, p + QPoint(towards / 2, 0));
        QTest::mouseMove(bar, p + QPoint(towards, 0));
        QTest::mouseRelease(bar, Qt::LeftButton, Qt::NoModifier, p + QPoint(towards, 0));
        QApplication::processEvents();
        EXPECT_EQ(site->width(), 180);
        EXPECT_FALSE(site->Collapsed());
    }
}

// A toolbar dragged by its grip into the bottom bar, then out of it, where it floats.
TEST_F(Docks, ToolbarDraggedBetweenBarsAndOut)
{
    kvlMakeToolbarDraggable(host.toolbar);
    const auto drag = [&](QPoint to) {
        QWidget *window = host.toolbar->window();
        QTest::mousePress(host.toolbar, Qt::LeftButton, Qt::NoModifier, QPoint(2, 5));
        const QPoint start = host.toolbar->mapToGlobal(QPoint(2, 5));
        for (int step = 1; step <= 4; ++step)
            QTest::mouseMove(window, window->mapFromGlobal(start + (to - start) * step / 4));
        QTest::mouseRelease(window, Qt::LeftButton, Qt::NoModifier, window->mapFromGlobal(to));
        QApplication::processEvents();
    };
    drag(host.bottom->mapToGlobal(QPoint(60, 0)));
    ASSERT_EQ(kvlToolbarBar(host.toolbar), host.bottom);
    EXPECT_EQ(host.toolbar->pos(), QPoint(58, 0));
    EXPECT_EQ(host.top->height(), 0);
    EXPECT_EQ(host.bottom->height(), 27 * ((host.toolbar->height() + 26) / 27));

    const QPoint out = globalCentre(host.center);
    drag(out);
    ASSERT_TRUE(kvlToolbarFloating(host.toolbar));
    EXPECT_EQ(ui::OuterBounds(kvlToolbarFloatWindow(host.toolbar)).topLeft(), out - QPoint(2, 5));
    EXPECT_EQ(host.bottom->height(), 0);
    EXPECT_EQ(kvlToolbarOwner(host.toolbar), &host);
}

TEST(TBPanel, AlignsByItsParent)
{
    QToolBar across, down;
    down.setOrientation(Qt::Vertical);
    TkvlTBPanel panel;
    EXPECT_EQ(panel.size(), QSize(8, 8));
    panel.SetParent(&across);
    EXPECT_EQ(panel.Alignment(), TkvlTBPanel::alLeft);
    panel.SetParent(&down);
    EXPECT_EQ(panel.Alignment(), TkvlTBPanel::alTop);
    panel.SetParent(nullptr);
}

// ---- stored positions

class Stored : public Docks
{
protected:
    void SetUp() override
    {
        Docks::SetUp();
        ASSERT_TRUE(dir.isValid());
        ini = std::make_unique<TMemIniFile>(dir.filePath(QStringLiteral("designer.ini")));
    }
    QTemporaryDir dir;
    std::unique_ptr<TMemIniFile> ini;
};

TEST_F(Stored, ToolbarsReturnFloatingAndToTheirBar)
{
    kvlFloatToolbar(host.toolbar, QRect(300, 200, 160, 40));
    ASSERT_TRUE(kvlToolbarFloating(host.toolbar));
    kvlSaveToolbarPosition(*ini, host.toolbar);
    QStringList keys;
    ini->ReadSection(QStringLiteral("ToolBar5.StandardTB"), keys);
    EXPECT_EQ(keys, (QStringList{"Float", "Visible", "Left", "Top", "Width", "Height"})); // no bar: no Dock5
    host.top->Insert(host.toolbar, QPoint(0, 0));
    kvlRestoreToolbarPosition(*ini, host.toolbar);
    ASSERT_TRUE(kvlToolbarFloating(host.toolbar));
    EXPECT_EQ(ui::OuterBounds(kvlToolbarFloatWindow(host.toolbar)).topLeft(), QPoint(300, 200));
    EXPECT_EQ(host.toolbar->size(), QSize(160, 40));
    EXPECT_TRUE(host.toolbar->isVisible());

    host.bottom->Insert(host.toolbar, QPoint(40, 0));
    ini->EraseSection(QStringLiteral("ToolBar5.StandardTB"));
    kvlSaveToolbarPosition(*ini, host.toolbar);
    EXPECT_EQ(ini->ReadString(QStringLiteral("ToolBar5.StandardTB"), QStringLiteral("Dock5"), QString()),
              QStringLiteral("DockBottom"));
    kvlFloatToolbar(host.toolbar, QRect(100, 100, 90, 30));
    kvlRestoreToolbarPosition(*ini, host.toolbar);
    EXPECT_EQ(kvlToolbarBar(host.toolbar), host.bottom);
    EXPECT_EQ(host.toolbar->pos(), QPoint(40, 0));
    EXPECT_GE(host.bottom->height(), host.toolbar->height()); // whole rows of 27
    EXPECT_EQ(host.bottom->height() % 27, 0);
    EXPECT_EQ(host.top->height(), 0);

    // Hidden it stays hidden; a bar position before the bar's start is put inside it.
    ini->WriteBool(QStringLiteral("ToolBar5.StandardTB"), QStringLiteral("Visible"), false);
    ini->WriteInteger(QStringLiteral("ToolBar5.StandardTB"), QStringLiteral("Left"), -5000);
    kvlRestoreToolbarPosition(*ini, host.toolbar);
    EXPECT_TRUE(host.toolbar->isHidden());
    EXPECT_EQ(host.toolbar->pos(), QPoint(0, 0));
}

TEST_F(Stored, DockSiteLayoutRoundTrip)
{
    ASSERT_TRUE(host.left->Dock(host.inspector));
    ASSERT_TRUE(host.left->Dock(host.tree));
    host.left->SetThickness(210);
    QApplication::processEvents();
    kvlSaveDock(*ini, host.left);
    EXPECT_EQ(ini->ReadInteger(QStringLiteral("Dock5.LeftDockSite1"), QStringLiteral("Width"), 0), 210);
    const QString hex = ini->ReadString(QStringLiteral("Dock5.LeftDockSite1"), QStringLiteral("Data2005"), QString());
    EXPECT_FALSE(hex.isEmpty());
    EXPECT_EQ(hex, hex.toUpper());

    host.inspector->FloatAt(QRect(400, 100, 150, 300));
    host.tree->FloatAt(QRect(450, 150, 150, 300));
    ASSERT_EQ(host.left->DockClientCount(), 0);
    kvlRestoreDock(*ini, host.left);
    ASSERT_EQ(host.left->DockClientCount(), 2);
    EXPECT_EQ(host.left->DockClients(0), host.inspector);
    EXPECT_EQ(host.left->DockClients(1), host.tree);
    EXPECT_EQ(host.left->Thickness(), 210);
}

TEST_F(Stored, EmptyLayoutKeepsTheWindowsAndTakesTheSize)
{
    ASSERT_TRUE(host.left->Dock(host.inspector));
    const QString section = QStringLiteral("Dock5.LeftDockSite1");
    ini->WriteString(section, QStringLiteral("Data2005"), QString());
    ini->WriteInteger(section, QStringLiteral("Width"), 240);
    kvlRestoreDock(*ini, host.left);
    EXPECT_EQ(host.left->DockClients(0), host.inspector);
    EXPECT_EQ(host.left->Thickness(), 240);
    EXPECT_EQ(host.left->PanelSize(), 100); // "Size" missing
}

QString hexOf(const QByteArray &b) { return QString::fromLatin1(b.toHex().toUpper()); }

TEST_F(Stored, HostileLayoutsLoseNoWindow)
{
    struct Case
    {
        const char *name;
        QString data;
        int width;
        int thickness; // -1: between 1 and the window's width
    } cases[] = {
        {"odd hexadecimal", "ABC", 200, 200},
        {"not hexadecimal", "ZZ", 200, 200},
        {"foreign bytes", hexOf("\x00\x13\xff garbage"), 200, 200},
        {"unknown window", hexOf("kvldock 1\n80 Ghost"), 200, 200},
        {"huge sizes", hexOf("kvldock 1\n99999999 Inspector"), 99999999, -1},
        {"negative width", hexOf("kvldock 1\n-5 Inspector"), -50, 150},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        host.right->Dock(host.tree);
        ASSERT_TRUE(host.left->Dock(host.inspector));
        host.left->SetThickness(150);
        const QString section = QStringLiteral("Dock5.LeftDockSite1");
        ini->WriteString(section, QStringLiteral("Data2005"), c.data);
        ini->WriteInteger(section, QStringLiteral("Width"), c.width);
        ini->WriteInteger(section, QStringLiteral("Size"), -7);
        kvlRestoreDock(*ini, host.left);
        EXPECT_EQ(host.left->DockClientCount(), 1);
        EXPECT_EQ(host.left->DockClients(0), host.inspector);
        EXPECT_EQ(host.tree->HostDockSite(), host.right);
        if (c.thickness >= 0) {
            // A stored width below 0 collapses the site, and its grip opens it again.
            if (c.width < 0) {
                EXPECT_TRUE(host.left->Collapsed());
                host.left->ToggleCollapse();
                EXPECT_GT(host.left->Thickness(), 0);
            } else {
                EXPECT_EQ(host.left->Thickness(), c.thickness);
            }
        } else {
            EXPECT_GT(host.left->Thickness(), 0);
            EXPECT_LE(host.left->Thickness(), host.width());
        }
        EXPECT_GE(host.left->PanelSize(), 0);
    }
}

TEST_F(Stored, FormsReturnToTheirBoundsAndSites)
{
    ASSERT_TRUE(host.left->Dock(host.inspector));
    kvlSaveFormPosition(*ini, host.inspector);
    EXPECT_EQ(ini->ReadString(QStringLiteral("Form5.TestToolWindow"), QStringLiteral("Dock5"), QString()),
              QStringLiteral("LeftDockSite1"));
    host.inspector->FloatAt(QRect(300, 120, 150, 300));
    kvlRestoreFormPosition(*ini, host.inspector);
    EXPECT_EQ(host.inspector->HostDockSite(), host.left);

    // A floating dialog: bounds, and off-screen positions brought back onto the screen.
    TestDialog dialog(&host);
    dialog.setWindowFlag(Qt::Dialog);
    dialog.show();
    ui::SetOuterLeft(&dialog, 100);
    ui::SetOuterTop(&dialog, 80);
    ui::SetOuterWidth(&dialog, 250);
    ui::SetOuterHeight(&dialog, 180);
    kvlSaveFormPosition(*ini, &dialog);
    EXPECT_EQ(ini->ReadString(QStringLiteral("Form5.TestDialog"), QStringLiteral("Dock5"), QStringLiteral("x")), QString());
    ui::SetOuterLeft(&dialog, 10);
    kvlRestoreFormPosition(*ini, &dialog);
    EXPECT_EQ(ui::OuterBounds(&dialog), QRect(100, 80, 250, 180));
    ini->WriteInteger(QStringLiteral("Form5.TestDialog"), QStringLiteral("Left"), -90000);
    ini->WriteInteger(QStringLiteral("Form5.TestDialog"), QStringLiteral("Top"), 90000);
    ini->WriteBool(QStringLiteral("Form5.TestDialog"), QStringLiteral("Visible"), false);
    kvlRestoreFormPosition(*ini, &dialog);
    const QRect screen = dialog.screen()->availableGeometry();
    EXPECT_TRUE(screen.intersects(ui::OuterBounds(&dialog)));
    EXPECT_TRUE(dialog.isHidden());
}

TEST_F(Stored, TheDesignerKeepsItsOwnVisibility)
{
    host.hide();
    kvlSaveFormPosition(*ini, &host);
    const QString section = QString::fromLatin1("Form5.") + QString::fromLatin1(host.metaObject()->className());
    ini->WriteBool(section, QStringLiteral("Visible"), true);
    kvlRestoreFormPosition(*ini, &host);
    EXPECT_TRUE(host.isHidden());
    host.show();
    ini->WriteBool(section, QStringLiteral("Visible"), false);
    kvlRestoreFormPosition(*ini, &host);
    EXPECT_TRUE(host.isVisible());
}

} // namespace
