#include "designer/widgets/optionseditorform.h"

#include "designer/widgets/dialogtools.h"
#include "engine/widgets/kvlpaperchoice.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/format.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/services.h"
#include "report/resources/kvlresources.h"
#include "report/utils/numbers.h"
#include "report/widgets/kvlformutils.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {


QComboBox *fontBox(QWidget *Parent, const char *Name)
{
    auto *b = new QComboBox(Parent);
    b->setObjectName(QLatin1String(Name));
    b->setEditable(true);
    b->addItems(QFontDatabase::families());
    return b;
}

QComboBox *sizeBox(QWidget *Parent, const char *Name)
{
    auto *b = new QComboBox(Parent);
    b->setObjectName(QLatin1String(Name));
    b->setEditable(true);
    b->addItems({"8", "9", "10", "11", "12", "14"});
    return b;
}

// Reads a number from a control's text; on text that is not one the error is shown there.
template <class T, class Read>
bool readInto(QWidget *Field, const QString &Text, T &Value, Read R)
{
    try {
        Value = T(R(Text));
        return true;
    } catch (const Exception &e) {
        kvlRefuseField(Field, e.message());
        return false;
    }
}

} // namespace

TkvlOptionsEditor::TkvlOptionsEditor(const TkvlDesignerOptions &Options, TkvlGridType Grid, bool StartupVisible,
                                     std::function<void()> RestoreState, QWidget *Owner)
    : QDialog(Owner), FBefore(Options), FResult(Options), FUnitsEditable(kvlGridUnitsEditable(Grid)),
      FRestoreState(std::move(RestoreState)), FWColor(Options.WorkspaceColor), FTColor(Options.ToolsColor)
{
    setObjectName(QStringLiteral("TkvlOptionsEditor"));
    setWindowTitle(kvlGet(3000));
    auto *v = new QVBoxLayout(this);
    auto *columns = new QHBoxLayout;
    auto *left = new QVBoxLayout, *right = new QVBoxLayout;
    columns->addLayout(left);
    columns->addLayout(right);
    v->addLayout(columns);

    // ---- grid ----
    auto *gridGB = new QGroupBox(kvlGet(3001), this);
    gridGB->setObjectName(QStringLiteral("Label1"));
    auto *gg = new QGridLayout(gridGB);
    gg->addWidget(new QLabel(kvlGet(3002), gridGB), 0, 0);
    gg->addWidget(new QLabel(kvlGet(3003), gridGB), 0, 1);
    const char *rbNames[] = {"CMRB", "InchesRB", "PixelsRB"};
    const char *eNames[] = {"CME", "InchesE", "PixelsE", "DialogFormE"};
    for (int i = 0; i < 4; ++i) {
        if (i < 3) {
            FUnitRB[i] = new QRadioButton(kvlGet(3018 + i), gridGB);
            FUnitRB[i]->setObjectName(QLatin1String(rbNames[i]));
            gg->addWidget(FUnitRB[i], i + 1, 0);
        } else {
            gg->addWidget(new QLabel(kvlGet(3004), gridGB), i + 1, 0);
        }
        FGridE[i] = new QLineEdit(gridGB);
        FGridE[i]->setObjectName(QLatin1String(eNames[i]));
        FGridE[i]->setText(kvlFloatToStr(Options.GridSize[i]));
        gg->addWidget(FGridE[i], i + 1, 1);
        gg->addWidget(new QLabel(kvlGet(3013 + i), gridGB), i + 1, 2);
    }
    FShowGrid = kvlCheckBox(gridGB, 3021, "ShowGridCB");
    FAlignGrid = kvlCheckBox(gridGB, 3022, "AlignGridCB");
    gg->addWidget(FShowGrid, 5, 0, 1, 3);
    gg->addWidget(FAlignGrid, 6, 0, 1, 3);
    left->addWidget(gridGB);

    // ---- fonts ----
    auto *fontsGB = new QGroupBox(kvlGet(3006), this);
    fontsGB->setObjectName(QStringLiteral("Label6"));
    auto *fg = new QGridLayout(fontsGB);
    FCodeFont = fontBox(fontsGB, "CodeWindowFontCB");
    FCodeSize = sizeBox(fontsGB, "CodeWindowSizeCB");
    FMemoFont = fontBox(fontsGB, "MemoEditorFontCB");
    FMemoSize = sizeBox(fontsGB, "MemoEditorSizeCB");
    fg->addWidget(new QLabel(kvlGet(3007), fontsGB), 0, 0);
    fg->addWidget(new QLabel(kvlGet(3009), fontsGB), 0, 1);
    fg->addWidget(FCodeFont, 1, 0);
    fg->addWidget(FCodeSize, 1, 1);
    fg->addWidget(new QLabel(kvlGet(3008), fontsGB), 2, 0);
    fg->addWidget(new QLabel(kvlGet(3010), fontsGB), 2, 1);
    fg->addWidget(FMemoFont, 3, 0);
    fg->addWidget(FMemoSize, 3, 1);
    FObjectFont = kvlCheckBox(fontsGB, 3024, "ObjectFontCB");
    fg->addWidget(FObjectFont, 4, 0, 1, 2);
    fg->setColumnStretch(0, 1);
    left->addWidget(fontsGB);

    // ---- colours ----
    auto *colorsGB = new QGroupBox(kvlGet(3011), this);
    colorsGB->setObjectName(QStringLiteral("Label11"));
    auto *cg = new QGridLayout(colorsGB);
    FWorkspaceB = new QPushButton(kvlGet(3025), colorsGB);
    FWorkspaceB->setObjectName(QStringLiteral("WorkspaceB"));
    FToolB = new QPushButton(kvlGet(3026), colorsGB);
    FToolB->setObjectName(QStringLiteral("ToolB"));
    FWorkspacePB = new QLabel(colorsGB);
    FWorkspacePB->setObjectName(QStringLiteral("WorkspacePB"));
    FToolPB = new QLabel(colorsGB);
    FToolPB->setObjectName(QStringLiteral("ToolPB"));
    cg->addWidget(FWorkspaceB, 0, 0);
    cg->addWidget(FWorkspacePB, 1, 0);
    cg->addWidget(FToolB, 2, 0);
    cg->addWidget(FToolPB, 3, 0);
    FLCD = kvlCheckBox(colorsGB, 3027, "LCDCB");
    cg->addWidget(FLCD, 4, 0);
    right->addWidget(colorsGB);

    // ---- other ----
    auto *otherGB = new QGroupBox(kvlGet(3005), this);
    otherGB->setObjectName(QStringLiteral("Label5"));
    auto *og = new QGridLayout(otherGB);
    FEditAfterIns = kvlCheckBox(otherGB, 3023, "EditAfterInsCB");
    FBandsCaptions = kvlCheckBox(otherGB, 3032, "BandsCaptionsCB");
    FDropFields = kvlCheckBox(otherGB, 3029, "DropFieldsCB");
    FFreeBands = kvlCheckBox(otherGB, 3028, "FreeBandsCB");
    FStartup = kvlCheckBox(otherGB, 3030, "StartupCB");
    int row = 0;
    for (QCheckBox *c : {FEditAfterIns, FBandsCaptions, FDropFields, FFreeBands, FStartup})
        og->addWidget(c, row++, 0, 1, 3);
    FGap = new QLineEdit(otherGB);
    FGap->setObjectName(QStringLiteral("GapE"));
    og->addWidget(new QLabel(kvlGet(3012), otherGB), row, 0);
    og->addWidget(FGap, row, 1);
    og->addWidget(new QLabel(kvlGet(3017), otherGB), row, 2);
    right->addWidget(otherGB);
    right->addStretch();

    auto *buttons = kvlOkCancelRow(this, kvlGet(1), "OkB", kvlGet(2), FOk, FCancel);
    FRestore = new QPushButton(kvlGet(3031), this);
    FRestore->setObjectName(QStringLiteral("RestoreDefaultsB"));
    FRestore->setAutoDefault(false);
    buttons->insertWidget(0, FRestore);
    v->addLayout(buttons);

    // ---- the values ----
    for (int i = 0; i < 3; ++i) {
        FUnitRB[i]->setEnabled(FUnitsEditable);
        FGridE[i]->setEnabled(FUnitsEditable);
    }
    if (Options.Units >= ruCM && Options.Units <= ruPixels)
        FUnitRB[Options.Units]->setChecked(true);
    FShowGrid->setChecked(Options.ShowGrid);
    FAlignGrid->setChecked(Options.GridAlign);
    FEditAfterIns->setChecked(Options.EditAfterInsert);
    FBandsCaptions->setChecked(Options.ShowBandCaptions);
    FDropFields->setChecked(Options.DropFields);
    FStartup->setChecked(Options.ShowStartup);
    FStartup->setVisible(StartupVisible);
    FFreeBands->setChecked(Options.FreeBandsPlacement);
    FObjectFont->setChecked(Options.UseObjectFont);
    FLCD->setChecked(Options.GridLCD);
    FGap->setText(QString::number(Options.GapBetweenBands));
    FCodeFont->setEditText(Options.CodeFontName);
    FCodeSize->setEditText(QString::number(Options.CodeFontSize));
    FMemoFont->setEditText(Options.MemoFontName);
    FMemoSize->setEditText(QString::number(Options.MemoFontSize));
    PaintSwatch(FWorkspacePB, FWColor);
    PaintSwatch(FToolPB, FTColor);

    connect(FWorkspaceB, &QPushButton::clicked, this, [this] { ChooseColor(FWColor, FWorkspacePB); });
    connect(FToolB, &QPushButton::clicked, this, [this] { ChooseColor(FTColor, FToolPB); });
    connect(FRestore, &QPushButton::clicked, this, [this] {
        if (FRestoreState)
            FRestoreState();
        accept();
    });
    kvlMirrorIfRightToLeft(this);
}

void TkvlOptionsEditor::PaintSwatch(QLabel *Swatch, TColor Color)
{
    QPixmap pm(161, 21);
    pm.fill(rtl::ToQColor(Color));
    QPainter p(&pm);
    p.setPen(rtl::ToQColor(clGray));
    p.drawRect(0, 0, pm.width() - 1, pm.height() - 1);
    p.end();
    Swatch->setPixmap(pm);
    Swatch->setFixedSize(pm.size());
}

void TkvlOptionsEditor::ChooseColor(TColor &Color, QLabel *Swatch)
{
    TColor c = Color;
    if (!ui::colorDialog().Execute(c))
        return;
    Color = c;
    PaintSwatch(Swatch, Color);
}

void TkvlOptionsEditor::done(int Result)
{
    if (Result == Accepted) {
        // Every number is read before the options change.
        TkvlDesignerOptions o = FBefore;
        const auto real = [](const QString &T) { return kvlStrToFloat(T); };
        const auto whole = [](const QString &T) { return rtl::StrToInt64(T.trimmed()); };
        if (!readInto(FGridE[3], FGridE[3]->text(), o.GridSize[3], real))
            return;
        for (int i = 0; i < 3 && FUnitsEditable; ++i)
            if (!readInto(FGridE[i], FGridE[i]->text(), o.GridSize[i], real))
                return;
        if (!readInto(FGap, FGap->text(), o.GapBetweenBands, whole) ||
            !readInto(FCodeSize, FCodeSize->currentText(), o.CodeFontSize, whole) ||
            !readInto(FMemoSize, FMemoSize->currentText(), o.MemoFontSize, whole))
            return;
        o.Units = FUnitRB[0]->isChecked() ? ruCM : FUnitRB[1]->isChecked() ? ruInches : ruPixels;
        o.ShowGrid = FShowGrid->isChecked();
        o.GridAlign = FAlignGrid->isChecked();
        o.EditAfterInsert = FEditAfterIns->isChecked();
        o.ShowBandCaptions = FBandsCaptions->isChecked();
        o.DropFields = FDropFields->isChecked();
        o.ShowStartup = FStartup->isChecked();
        o.FreeBandsPlacement = FFreeBands->isChecked();
        o.CodeFontName = FCodeFont->currentText();
        o.MemoFontName = FMemoFont->currentText();
        o.UseObjectFont = FObjectFont->isChecked();
        o.WorkspaceColor = FWColor;
        o.ToolsColor = FTColor;
        o.GridLCD = FLCD->isChecked();
        FResult = kvlAcceptedOptions(FBefore, o, FUnitsEditable);
    }
    QDialog::done(Result);
}

void TkvlOptionsEditor::keyPressEvent(QKeyEvent *Event)
{
    if (Event->key() == Qt::Key_F1) {
        kvlResources().Help(this);
        return;
    }
    QDialog::keyPressEvent(Event);
}

bool kvlEditDesignerOptions(TkvlDesignerOptions &Options, TkvlGridType Grid, bool StartupVisible,
                            std::function<void()> RestoreState, QWidget *Owner)
{
    TkvlOptionsEditor f(Options, Grid, StartupVisible, std::move(RestoreState), Owner);
    if (f.exec() != QDialog::Accepted)
        return false;
    Options = f.Options();
    return true;
}
