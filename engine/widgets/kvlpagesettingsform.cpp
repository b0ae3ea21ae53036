#include "engine/widgets/kvlpagesettingsform.h"

#include "engine/widgets/kvlpaperchoice.h"

#include "platform/rtl/exceptions.h"
#include "platform/rtl/inifile.h"
#include "report/document/kvlreport.h"
#include "report/pages/kvlreportpage.h"
#include "report/resources/kvlresources.h"
#include "report/utils/messages.h"
#include "report/utils/numbers.h"
#include "report/widgets/kvlformutils.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

// The designer's units (0 cm, 1 inches, 2 pixels, 3 characters): only inches show as inches.
bool designerUsesInches(const TkvlReport *Report)
{
    const std::unique_ptr<TCustomIniFile> ini = Report->GetIniFile();
    return ini && ini->ReadInteger(QStringLiteral("Form5.TkvlDesignerForm"), QStringLiteral("Units"), 0) == 1;
}

constexpr QSize kClientSize(286, 359);

} // namespace

TkvlPageSettingsForm::TkvlPageSettingsForm(TkvlReportPage *APage, TkvlReport *AReport, QWidget *Parent)
    : QDialog(Parent), FPage(APage), FReport(AReport)
{
    setObjectName(QStringLiteral("TkvlPageSettingsForm"));
    auto *v = new QVBoxLayout(this);
    int unit = 0;
    auto unitLabel = [&](QWidget *P) {
        auto *l = new QLabel(P);
        l->setObjectName(QStringLiteral("UnitL%1").arg(unit + 1));
        FUnitLabels[unit++] = l;
        return l;
    };
    auto *sizeGB = new QGroupBox(kvlGet(403), this);
    auto *sg = new QGridLayout(sizeGB);
    FSize = new QComboBox(sizeGB);
    FSize->setObjectName(QStringLiteral("SizeCB"));
    sg->addWidget(FSize, 0, 0, 1, 3);
    FWidth = new QLineEdit(sizeGB);
    FWidth->setObjectName(QStringLiteral("WidthE"));
    FHeight = new QLineEdit(sizeGB);
    FHeight->setObjectName(QStringLiteral("HeightE"));
    sg->addWidget(new QLabel(kvlGet(401), sizeGB), 1, 0);
    sg->addWidget(FWidth, 1, 1);
    sg->addWidget(unitLabel(sizeGB), 1, 2);
    sg->addWidget(new QLabel(kvlGet(402), sizeGB), 2, 0);
    sg->addWidget(FHeight, 2, 1);
    sg->addWidget(unitLabel(sizeGB), 2, 2);
    v->addWidget(sizeGB);

    auto *orientGB = new QGroupBox(kvlGet(404), this);
    auto *oh = new QHBoxLayout(orientGB);
    FPortrait = new QRadioButton(kvlGet(410), orientGB);
    FPortrait->setObjectName(QStringLiteral("PortraitRB"));
    FLandscape = new QRadioButton(kvlGet(411), orientGB);
    FLandscape->setObjectName(QStringLiteral("LandscapeRB"));
    FPortraitImg = new QLabel(orientGB);
    FPortraitImg->setObjectName(QStringLiteral("PortraitImg"));
    FLandscapeImg = new QLabel(orientGB);
    FLandscapeImg->setObjectName(QStringLiteral("LandscapeImg"));
    oh->addWidget(FPortraitImg);
    oh->addWidget(FLandscapeImg);
    oh->addWidget(FPortrait);
    oh->addWidget(FLandscape);
    v->addWidget(orientGB);

    auto *marginsGB = new QGroupBox(kvlGet(409), this);
    auto *mg = new QGridLayout(marginsGB);
    const int captions[] = {405, 406, 407, 408};
    const char *names[] = {"MarginLeftE", "MarginTopE", "MarginRightE", "MarginBottomE"};
    for (int i = 0; i < 4; ++i) {
        FMargins[i] = new QLineEdit(marginsGB);
        FMargins[i]->setObjectName(QLatin1String(names[i]));
        // two by two: left and top, right and bottom
        const int row = i % 2, col = (i / 2) * 3;
        mg->addWidget(new QLabel(kvlGet(captions[i]), marginsGB), row, col);
        mg->addWidget(FMargins[i], row, col + 1);
        mg->addWidget(unitLabel(marginsGB), row, col + 2);
    }
    v->addWidget(marginsGB);

    auto *otherGB = new QGroupBox(kvlGet(412), this);
    auto *ov = new QVBoxLayout(otherGB);
    FApplyToCur = new QRadioButton(kvlGet(413), otherGB);
    FApplyToCur->setObjectName(QStringLiteral("ApplyToCurRB"));
    FApplyToCur->setChecked(true);
    FApplyToAll = new QRadioButton(kvlGet(414), otherGB);
    FApplyToAll->setObjectName(QStringLiteral("ApplyToAllRB"));
    ov->addWidget(FApplyToCur);
    ov->addWidget(FApplyToAll);
    v->addWidget(otherGB);

    v->addLayout(kvlOkCancelRow(this, kvlGet(1), "OKB", kvlGet(2), FOk, FCancel));

    FPaper = new TkvlPaperChoice(
        FSize, FWidth, FHeight, FPortrait, FLandscape, FPortraitImg, FLandscapeImg,
        [this](double Mm, bool) { return Shown(Mm); },
        [this](const QString &Text, bool) { return Typed(Text); });
    v->setContentsMargins(6, 4, 6, 6);
    v->setSpacing(4);
    // The form's small type is what lets every control fit the fixed client area.
    kvlFitFixedForm(this, kClientSize);
    kvlMirrorIfRightToLeft(this);
    kvlCenterOnScreen(this, nullptr);
}

bool TkvlPageSettingsForm::NeedRebuild() const { return FApplyToAll->isChecked(); }

QString TkvlPageSettingsForm::Shown(double Mm) const { return kvlFloatToStr(FInches ? Mm / 25.4 : Mm / 10); }

double TkvlPageSettingsForm::Typed(const QString &Text) const
{
    const double v = kvlStrToFloat(Text);
    return FInches ? v * 25.4 : v * 10;
}

void TkvlPageSettingsForm::FormShow()
{
    setWindowTitle(kvlGet(400));
    FInches = designerUsesInches(FReport);
    const QString unit = kvlResources().Get(FInches ? QStringLiteral("uInch") : QStringLiteral("uCm"));
    for (QLabel *l : FUnitLabels)
        l->setText(unit);
    FPaper->Fill(FPage->PaperSize(), FPage->PaperWidth(), FPage->PaperHeight(), FPage->Orientation());
    const double margins[] = {FPage->LeftMargin, FPage->TopMargin, FPage->RightMargin, FPage->BottomMargin};
    for (int m = 0; m < 4; ++m)
        FMargins[m]->setText(Shown(margins[m]));
}

void TkvlPageSettingsForm::showEvent(QShowEvent *Event)
{
    FormShow();
    QDialog::showEvent(Event);
}

void TkvlPageSettingsForm::keyPressEvent(QKeyEvent *Event)
{
    if (Event->key() == Qt::Key_F1) {
        kvlResources().Help(this);
        return;
    }
    QDialog::keyPressEvent(Event);
}

void TkvlPageSettingsForm::done(int Result)
{
    if (Result == Accepted) {
        // Every number is read before the page changes.
        double w = 0, h = 0, margins[4] = {};
        if (!FPaper->ReadSize(w, h) ||
            !kvlReadLengths({{FMargins[0], true, &margins[0]}, {FMargins[1], false, &margins[1]},
                             {FMargins[2], true, &margins[2]}, {FMargins[3], false, &margins[3]}},
                            [this](const QString &Text, bool) { return Typed(Text); }))
            return;
        FPage->SetOrientation(FPaper->ChosenOrientation());
        FPage->SetPaperWidth(w);
        FPage->SetPaperHeight(h);
        FPage->SetPaperSize(FPaper->ChosenPaper());
        FPage->LeftMargin = margins[0];
        FPage->RightMargin = margins[2];
        FPage->TopMargin = margins[1];
        FPage->BottomMargin = margins[3];
        if (!NeedRebuild())
            FPage->AlignChildren();
    }
    QDialog::done(Result);
}
