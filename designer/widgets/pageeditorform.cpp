#include "designer/widgets/pageeditorform.h"

#include "designer/widgets/dialogtools.h"
#include "designer/core/pageeditor.h"
#include "engine/widgets/kvlpaperchoice.h"
#include "platform/rtl/exceptions.h"
#include "report/document/kvlreport.h"
#include "report/pages/kvlreportpage.h"
#include "report/resources/kvlresources.h"
#include "report/utils/numbers.h"
#include "report/widgets/kvlformutils.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {



void fillBins(QComboBox *Box, const TkvlPaperList &Bins, int Bin)
{
    Box->clear();
    int chosen = -1, fallback = 0;
    for (const print::NumberedName &b : Bins) {
        if (b.number == Bin)
            chosen = Box->count();
        if (b.number == kvlDefaultBin)
            fallback = Box->count();
        Box->addItem(b.name, b.number);
    }
    Box->setCurrentIndex(chosen >= 0 ? chosen : fallback);
}

int chosenBin(const QComboBox *Box)
{
    return Box->currentIndex() >= 0 ? Box->currentData().toInt() : kvlDefaultBin;
}

} // namespace

TkvlPageEditorForm::TkvlPageEditorForm(TkvlReportPage *APage, TkvlRulerUnits AUnits, QWidget *Owner)
    : QDialog(Owner), FPage(APage), FUnits(AUnits)
{
    setObjectName(QStringLiteral("TkvlPageEditorForm"));
    setWindowTitle(kvlGet(2700));
    const QString unit = kvlResources().Get(kvlUnitKey(FUnits));
    auto unitLabel = [&](QWidget *P) { return new QLabel(unit, P); };
    auto *v = new QVBoxLayout(this);
    FTabs = new QTabWidget(this);
    v->addWidget(FTabs);

    // ---- paper ----
    auto *paper = new QWidget(FTabs);
    paper->setObjectName(QStringLiteral("TabSheet1"));
    auto *pg = new QGridLayout(paper);
    auto *sizeGB = new QGroupBox(kvlGet(2704), paper);
    auto *sg = new QGridLayout(sizeGB);
    FSize = new QComboBox(sizeGB);
    FSize->setObjectName(QStringLiteral("SizeCB"));
    FWidth = kvlLineEdit(sizeGB, "WidthE");
    FHeight = kvlLineEdit(sizeGB, "HeightE");
    sg->addWidget(FSize, 0, 0, 1, 3);
    sg->addWidget(new QLabel(kvlGet(2702), sizeGB), 1, 0);
    sg->addWidget(FWidth, 1, 1);
    sg->addWidget(unitLabel(sizeGB), 1, 2);
    sg->addWidget(new QLabel(kvlGet(2703), sizeGB), 2, 0);
    sg->addWidget(FHeight, 2, 1);
    sg->addWidget(unitLabel(sizeGB), 2, 2);
    pg->addWidget(sizeGB, 0, 0);

    auto *orientGB = new QGroupBox(kvlGet(2705), paper);
    auto *og = new QGridLayout(orientGB);
    FPortrait = new QRadioButton(kvlGet(2714), orientGB);
    FPortrait->setObjectName(QStringLiteral("PortraitRB"));
    FLandscape = new QRadioButton(kvlGet(2715), orientGB);
    FLandscape->setObjectName(QStringLiteral("LandscapeRB"));
    auto *portraitImg = new QLabel(orientGB);
    portraitImg->setObjectName(QStringLiteral("PortraitImg"));
    auto *landscapeImg = new QLabel(orientGB);
    landscapeImg->setObjectName(QStringLiteral("LandscapeImg"));
    og->addWidget(portraitImg, 0, 0, 2, 1);
    og->addWidget(landscapeImg, 0, 0, 2, 1);
    og->addWidget(FPortrait, 0, 1);
    og->addWidget(FLandscape, 1, 1);
    pg->addWidget(orientGB, 0, 1);

    auto *marginsGB = new QGroupBox(kvlGet(2710), paper);
    auto *mg = new QGridLayout(marginsGB);
    const int captions[] = {2706, 2707, 2708, 2709};
    const char *names[] = {"MarginLeftE", "MarginTopE", "MarginRightE", "MarginBottomE"};
    for (int i = 0; i < 4; ++i) {
        FMargins[i] = kvlLineEdit(marginsGB, names[i]);
        const int row = i % 2, col = (i / 2) * 3;  // left and top, then right and bottom
        mg->addWidget(new QLabel(kvlGet(captions[i]), marginsGB), row, col);
        mg->addWidget(FMargins[i], row, col + 1);
        mg->addWidget(unitLabel(marginsGB), row, col + 2);
    }
    pg->addWidget(marginsGB, 1, 0);

    auto *traysGB = new QGroupBox(kvlGet(2711), paper);
    auto *tg = new QGridLayout(traysGB);
    FTray1 = new QComboBox(traysGB);
    FTray1->setObjectName(QStringLiteral("Tray1CB"));
    FTray2 = new QComboBox(traysGB);
    FTray2->setObjectName(QStringLiteral("Tray2CB"));
    tg->addWidget(new QLabel(kvlGet(2712), traysGB), 0, 0);
    tg->addWidget(FTray1, 0, 1);
    tg->addWidget(new QLabel(kvlGet(2713), traysGB), 1, 0);
    tg->addWidget(FTray2, 1, 1);
    pg->addWidget(traysGB, 1, 1);
    FTabs->addTab(paper, kvlGet(2701));

    // ---- other options ----
    auto *other = new QWidget(FTabs);
    other->setObjectName(QStringLiteral("TabSheet3"));
    auto *xg = new QHBoxLayout(other);
    auto *columnsGB = new QGroupBox(kvlGet(2717), other);
    auto *cg = new QGridLayout(columnsGB);
    FColumns = new QSpinBox(columnsGB);
    FColumns->setObjectName(QStringLiteral("ColumnsNumberE"));
    FColumns->setRange(0, 100);
    FColumns->findChild<QLineEdit *>()->setReadOnly(true);  // changed by its arrows only
    FColumnWidth = kvlLineEdit(columnsGB, "ColumnWidthE");
    FPositions = new QPlainTextEdit(columnsGB);
    FPositions->setObjectName(QStringLiteral("ColumnPositionsM"));
    FPositions->setTabChangesFocus(true);
    cg->addWidget(new QLabel(kvlGet(2718), columnsGB), 0, 0);
    cg->addWidget(FColumns, 0, 1);
    cg->addWidget(new QLabel(kvlGet(2719), columnsGB), 1, 0);
    cg->addWidget(FColumnWidth, 1, 1);
    cg->addWidget(unitLabel(columnsGB), 1, 2);
    cg->addWidget(new QLabel(kvlGet(2720), columnsGB), 2, 0, Qt::AlignTop);
    cg->addWidget(FPositions, 2, 1);
    cg->addWidget(unitLabel(columnsGB), 2, 2, Qt::AlignTop);
    xg->addWidget(columnsGB);

    auto *restGB = new QGroupBox(kvlGet(2721), other);
    auto *rg = new QVBoxLayout(restGB);
    FPrintOnPrev = kvlCheckBox(restGB, 2723, "PrintOnPrevCB");
    FMirror = kvlCheckBox(restGB, 2724, "MirrorMarginsCB");
    FEndlessWidth = kvlCheckBox(restGB, 2726, "EndlessWidthCB");
    FEndlessHeight = kvlCheckBox(restGB, 2727, "EndlessHeightCB");
    FLargeHeight = kvlCheckBox(restGB, 2725, "LargeHeightCB");
    for (QCheckBox *c : {FPrintOnPrev, FMirror, FEndlessWidth, FEndlessHeight, FLargeHeight})
        rg->addWidget(c);
    auto *duplexRow = new QHBoxLayout;
    duplexRow->addWidget(new QLabel(kvlGet(2722), restGB));
    FDuplex = new QComboBox(restGB);
    FDuplex->setObjectName(QStringLiteral("DuplexCB"));
    for (const char *key : {"dupDefault", "dupVert", "dupHorz", "dupSimpl"})
        FDuplex->addItem(kvlResources().Get(QLatin1String(key)));
    duplexRow->addWidget(FDuplex, 1);
    rg->addLayout(duplexRow);
    rg->addStretch();
    xg->addWidget(restGB);
    FTabs->addTab(other, kvlGet(2716));

    v->addLayout(kvlOkCancelRow(this, kvlGet(1), "OKB", kvlGet(2), FOk, FCancel));

    FPaper = new TkvlPaperChoice(
        FSize, FWidth, FHeight, FPortrait, FLandscape, portraitImg, landscapeImg,
        [this](double Mm, bool X) { return Shown(Mm, X); },
        [this](const QString &Text, bool X) { return Typed(Text, X); });
    connect(FColumns, &QSpinBox::valueChanged, this, [this] { ColumnsChanged(); });
    kvlMirrorIfRightToLeft(this);
}

QString TkvlPageEditorForm::Shown(double Mm, bool X) const { return kvlFloatToStr(kvlMmToUnits(FUnits, Mm, X)); }

double TkvlPageEditorForm::Typed(const QString &Text, bool X) const
{
    return kvlUnitsTomm(FUnits, kvlStrToFloat(Text), X);
}

void TkvlPageEditorForm::FormShow()
{
    FPaper->Updating = true;
    if (TkvlReport *r = FPage->Report())
        r->SelectPrinter();
    FPaper->Fill(FPage->PaperSize(), FPage->PaperWidth(), FPage->PaperHeight(), FPage->Orientation());
    const double margins[] = {FPage->LeftMargin, FPage->TopMargin, FPage->RightMargin, FPage->BottomMargin};
    for (int m = 0; m < 4; ++m)
        FMargins[m]->setText(Shown(margins[m], m % 2 == 0));
    FColumnWidth->setText(Shown(FPage->ColumnWidth, true));
    if (TkvlCustomPrinter *printer = kvlPrinters().GetCurrentPrinter()) {
        fillBins(FTray1, printer->Bins(), FPage->Bin);
        fillBins(FTray2, printer->Bins(), FPage->BinOtherPages);
    }
    FColumns->setValue(FPage->Columns());
    QStringList lines;
    for (double mm : kvlPageSetupOf(FPage).ColumnPositions)
        lines << Shown(mm, true);
    FPositions->setPlainText(lines.join(u'\n'));
    FPrintOnPrev->setChecked(FPage->PrintOnPreviousPage);
    FMirror->setChecked(FPage->MirrorMargins);
    FEndlessHeight->setChecked(FPage->EndlessHeight);
    FEndlessWidth->setChecked(FPage->EndlessWidth);
    FLargeHeight->setChecked(FPage->LargeDesignHeight);
    FDuplex->setCurrentIndex(std::clamp(int(FPage->Duplex), 0, FDuplex->count() - 1));
    FPaper->Updating = false;
}

void TkvlPageEditorForm::ColumnsChanged()
{
    if (FPaper->Updating)
        return;
    double w = 0, left = 0, right = 0;
    if (!kvlReadLengths({{FWidth, true, &w}, {FMargins[0], true, &left}, {FMargins[2], true, &right}},
                        [this](const QString &Text, bool X) { return Typed(Text, X); }))
        return;
    const TkvlColumnLayout l = kvlColumnLayout(w, left, right, FColumns->value());
    FColumnWidth->setText(Shown(l.Width, true));
    QStringList lines;
    for (double mm : l.Positions)
        lines << Shown(mm, true);
    FPositions->setPlainText(lines.join(u'\n'));
}

void TkvlPageEditorForm::showEvent(QShowEvent *Event)
{
    FormShow();
    QDialog::showEvent(Event);
}

void TkvlPageEditorForm::keyPressEvent(QKeyEvent *Event)
{
    if (Event->key() == Qt::Key_F1) {
        kvlResources().Help(this);
        return;
    }
    QDialog::keyPressEvent(Event);
}

void TkvlPageEditorForm::done(int Result)
{
    if (Result == Accepted) {
        // Every number is read before anything is written.
        TkvlPageSetup s;
        const auto read = [this](const QString &Text, bool X) { return Typed(Text, X); };
        if (!kvlReadLengths({{FWidth, true, &s.Width},
                             {FHeight, false, &s.Height},
                             {FMargins[0], true, &s.LeftMargin},
                             {FMargins[1], false, &s.TopMargin},
                             {FMargins[2], true, &s.RightMargin},
                             {FMargins[3], false, &s.BottomMargin},
                             {FColumnWidth, true, &s.ColumnWidth}},
                            read))
            return;
        const QStringList lines = FPositions->toPlainText().split(u'\n');
        for (const QString &line : lines) {
            if (line.trimmed().isEmpty())
                continue;
            try {
                s.ColumnPositions.push_back(Typed(line, true));
            } catch (const Exception &e) {
                kvlRefuseField(FPositions, e.message());
                return;
            }
        }
        s.Orientation = FPaper->ChosenOrientation();
        s.Paper = FPaper->ChosenPaper();
        s.Bin = chosenBin(FTray1);
        s.BinOtherPages = chosenBin(FTray2);
        s.Columns = FColumns->value();
        s.PrintOnPreviousPage = FPrintOnPrev->isChecked();
        s.MirrorMargins = FMirror->isChecked();
        s.EndlessWidth = FEndlessWidth->isChecked();
        s.EndlessHeight = FEndlessHeight->isChecked();
        s.LargeDesignHeight = FLargeHeight->isChecked();
        s.Duplex = FDuplex->currentIndex();
        kvlApplyPageSetup(s, FPage);
    }
    QDialog::done(Result);
}

bool kvlEditPage(TkvlReportPage *Page, TkvlRulerUnits Units, QWidget *Owner)
{
    TkvlPageEditorForm f(Page, Units, Owner);
    return f.exec() == QDialog::Accepted;
}
