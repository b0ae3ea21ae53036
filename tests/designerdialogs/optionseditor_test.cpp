// The designer options: what OK hands back, what a dialog or dot-matrix page keeps, colours,
// restoring the defaults and numbers that do not read.
#include "designer/widgets/optionseditorform.h"
#include "tests/designerdialogs/dialogstest.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

using namespace dialogstest;

namespace {

struct OptionsEditor : Fixture {
    OptionsEditor()
    {
        before.Units = ruInches;
        before.GridSize[0] = 0.5;
        before.GridSize[1] = 0.1;
        before.GridSize[2] = 4;
        before.GridSize[3] = 4;
        before.GapBetweenBands = 4;
        before.CodeFontName = QStringLiteral("Courier New");
        before.MemoFontName = QStringLiteral("Arial");
        before.WorkspaceColor = clWhite;
    }
    TkvlDesignerOptions before;
    int restored = 0;
};

TEST_F(OptionsEditor, DialogAndDotMatrixPagesTakeOnlyTheDialogGrid)
{
    for (TkvlGridType grid : {gtDialog, gtChar}) {
        TkvlOptionsEditor d(before, grid, true, {});
        Show(d);
        EXPECT_FALSE(d.CMRB()->isEnabled()) << grid;
        EXPECT_FALSE(d.CME()->isEnabled()) << grid;
        Click(d.CMRB());  // refused: disabled
        Retype(d.DialogFormE(), QStringLiteral("8"));
        Click(d.ShowGridCB());
        Click(d.OkB());
        EXPECT_EQ(d.Options().Units, ruInches) << grid;
        EXPECT_EQ(d.Options().GridSize[0], 0.5) << grid;
        EXPECT_EQ(d.Options().GridSize[3], 8) << grid;
        EXPECT_TRUE(d.Options().ShowGrid) << grid;
    }
    // On a report page the unit and its grid are the user's.
    TkvlOptionsEditor d(before, gt1in, true, {});
    Show(d);
    EXPECT_EQ(d.InchesE()->text(), QStringLiteral("0,10"));
    Click(d.CMRB());
    Retype(d.CME(), QStringLiteral("0,25"));
    Click(d.OkB());
    EXPECT_EQ(d.Options().Units, ruCM);
    EXPECT_EQ(d.Options().GridSize[0], 0.25);
}

TEST_F(OptionsEditor, ColoursAreTakenOnOkOnly)
{
    services.colors.answer = clRed;
    for (bool ok : {false, true}) {
        TkvlOptionsEditor d(before, gt1cm, true, {});
        Show(d);
        const QImage white = d.WorkspacePB()->pixmap().toImage();
        Click(d.WorkspaceB());
        EXPECT_NE(d.WorkspacePB()->pixmap().toImage(), white);
        EXPECT_EQ(d.WorkspacePB()->pixmap().toImage().pixelColor(80, 10), QColor(Qt::red));
        EXPECT_EQ(d.WorkspacePB()->pixmap().toImage().pixelColor(0, 0), QColor(128, 128, 128));
        Click(ok ? d.OkB() : d.CancelB());
        EXPECT_EQ(d.Options().WorkspaceColor, ok ? clRed : clWhite);
    }
}

TEST_F(OptionsEditor, RestoreDefaultsAsksTheWindowAndClosesWithOk)
{
    TkvlOptionsEditor d(before, gt1cm, false, [this] { ++restored; });
    Show(d);
    EXPECT_FALSE(d.StartupCB()->isVisible());
    Click(d.FreeBandsCB());
    Click(d.RestoreDefaultsB());
    EXPECT_EQ(restored, 1);
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(d.result(), QDialog::Accepted);
    EXPECT_TRUE(d.Options().FreeBandsPlacement);  // what the dialog showed is in effect
}

TEST_F(OptionsEditor, ANumberThatDoesNotReadKeepsTheDialogOpen)
{
    struct {
        QLineEdit *(TkvlOptionsEditor::*field)() const;
        const char *text;
    } cases[] = {{&TkvlOptionsEditor::GapE, "4,5"}, {&TkvlOptionsEditor::PixelsE, "x"}};
    for (const auto &c : cases) {
        TkvlOptionsEditor d(before, gt1cm, true, {});
        Show(d);
        Click(d.CMRB());
        Retype((d.*c.field)(), QString::fromUtf8(c.text));
        Click(d.OkB());
        EXPECT_TRUE(d.isVisible()) << c.text;
        EXPECT_TRUE((d.*c.field)()->hasFocus()) << c.text;
        EXPECT_EQ(d.Options().Units, ruInches) << c.text;
    }
    EXPECT_EQ(services.messages.shown.size(), 2);
}

} // namespace
