#include "engine/widgets/kvlpagesettingsform.h"

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
#include <QPainter>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <array>

namespace {

TkvlCustomPrinter *current() { return kvlPrinters().GetCurrentPrinter(); }

// The designer's units (0 cm, 1 inches, 2 pixels, 3 characters): only inches show as inches.
bool designerUsesInches(const TkvlReport *Report)
{
    const std::unique_ptr<TCustomIniFile> ini = Report->GetIniFile();
    return ini && ini->ReadInteger(QStringLiteral("Form5.TkvlDesignerForm"), QStringLiteral("Units"), 0) == 1;
}

} // namespace

namespace {

constexpr QSize kClientSize(286, 359);
constexpr QSize kOrientationPictureSize(26, 32);

// A page icon, a white sheet with a folded corner and text lines, upright or turned.
QPixmap orientationPicture(bool Landscape)
{
    QImage img(kOrientationPictureSize, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    const QRectF r = Landscape ? QRectF(0.5, 6.5, 25, 19) : QRectF(3.5, 0.5, 19, 31);
    constexpr qreal fold = 5;
    const QPointF outline[] = {r.topLeft(), QPointF(r.right() - fold, r.top()), QPointF(r.right(), r.top() + fold),
                               r.bottomRight(), r.bottomLeft()};
    p.setPen(QPen(QColor(64, 64, 64), 1));
    p.setBrush(Qt::white);
    p.drawPolygon(outline, 5);
    p.drawPolyline(std::array{QPointF(r.right() - fold, r.top()), QPointF(r.right() - fold, r.top() + fold),
                              QPointF(r.right(), r.top() + fold)}
                       .data(),
                   3);
    p.setPen(QPen(QColor(0, 0, 128), 1));
    for (qreal y = r.top() + fold + 3; y < r.bottom() - 2; y += 3)
        p.drawLine(QPointF(r.left() + 3, y), QPointF(r.right() - 3, y));
    return QPixmap::fromImage(img);
}

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
    FPortraitImg->setPixmap(orientationPicture(false));
    FLandscapeImg = new QLabel(orientGB);
    FLandscapeImg->setObjectName(QStringLiteral("LandscapeImg"));
    FLandscapeImg->setPixmap(orientationPicture(true));
    for (QLabel *l : {FPortraitImg, FLandscapeImg}) {
        l->setFixedSize(kOrientationPictureSize);
        oh->addWidget(l);
    }
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

    connect(FSize, &QComboBox::activated, this, [this] { SizeChosen(); });
    connect(FPortrait, &QRadioButton::toggled, this, [this](bool On) {
        if (!On)
            return;
        ShowOrientationPicture();
        SizeChosen();
    });
    connect(FLandscape, &QRadioButton::toggled, this, [this](bool On) {
        if (!On)
            return;
        ShowOrientationPicture();
        SizeChosen();
    });
    auto typed = [this] {
        if (!FUpdating)
            FSize->setCurrentIndex(0);
    };
    connect(FWidth, &QLineEdit::textChanged, this, typed);
    connect(FHeight, &QLineEdit::textChanged, this, typed);
    v->setContentsMargins(6, 4, 6, 6);
    v->setSpacing(4);
    // The form's small type is what lets every control fit the fixed client area.
    kvlFitFixedForm(this, kClientSize);
    kvlMirrorIfRightToLeft(this);
    kvlCenterOnScreen(this, nullptr);
}

bool TkvlPageSettingsForm::NeedRebuild() const { return FApplyToAll->isChecked(); }

QString TkvlPageSettingsForm::Shown(double Mm) const { return kvlFloatToStr(FInches ? Mm / 25.4 : Mm / 10); }

double TkvlPageSettingsForm::Typed(const QLineEdit *Edit) const
{
    const double v = kvlStrToFloat(Edit->text());
    return FInches ? v * 25.4 : v * 10;
}

int TkvlPageSettingsForm::ChosenPaper() const
{
    const int i = FSize->currentIndex();
    return i >= 0 && i < FPaperNumbers.size() ? FPaperNumbers[i] : kvlCustomPaper;
}

void TkvlPageSettingsForm::FormShow()
{
    FUpdating = true;
    setWindowTitle(kvlGet(400));
    FInches = designerUsesInches(FReport);
    const QString unit = kvlResources().Get(FInches ? QStringLiteral("uInch") : QStringLiteral("uCm"));
    for (QLabel *l : FUnitLabels)
        l->setText(unit);
    FSize->clear();
    FPaperNumbers.clear();
    if (TkvlCustomPrinter *printer = current())
        for (const print::NumberedName &p : printer->Papers()) {
            FSize->addItem(p.name);
            FPaperNumbers.append(p.number);
        }
    const qsizetype i = FPaperNumbers.indexOf(FPage->PaperSize());
    FSize->setCurrentIndex(i >= 0 ? int(i) : int(FPaperNumbers.indexOf(kvlCustomPaper)));
    FWidth->setText(Shown(FPage->PaperWidth()));
    FHeight->setText(Shown(FPage->PaperHeight()));
    (FPage->Orientation() == poPortrait ? FPortrait : FLandscape)->setChecked(true);
    const double margins[] = {FPage->LeftMargin, FPage->TopMargin, FPage->RightMargin, FPage->BottomMargin};
    for (int m = 0; m < 4; ++m)
        FMargins[m]->setText(Shown(margins[m]));
    ShowOrientationPicture();
    FUpdating = false;
}

void TkvlPageSettingsForm::ShowOrientationPicture()
{
    FPortraitImg->setVisible(FPortrait->isChecked());
    FLandscapeImg->setVisible(!FPortrait->isChecked());
}

void TkvlPageSettingsForm::SizeChosen()
{
    if (FUpdating)
        return;
    TkvlCustomPrinter *printer = current();
    if (!printer)
        return;
    double w = 0, h = 0;
    try {
        w = Typed(FWidth);
        h = Typed(FHeight);
    } catch (const Exception &e) {
        kvlErrorMsg(e.message());
        return;
    }
    FUpdating = true;
    const int paper = ChosenPaper();
    const TPrinterOrientation o = FPortrait->isChecked() ? poPortrait : poLandscape;
    // A custom size is turned with the orientation; a standard paper shows its own size.
    if (paper == kvlCustomPaper)
        printer->SetViewParams(paper, h, w, o);
    else
        printer->SetViewParams(paper, w, h, o);
    FWidth->setText(Shown(printer->PaperWidth()));
    FHeight->setText(Shown(printer->PaperHeight()));
    FUpdating = false;
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
        try {
            w = Typed(FWidth);
            h = Typed(FHeight);
            for (int m = 0; m < 4; ++m)
                margins[m] = Typed(FMargins[m]);
        } catch (const Exception &e) {
            kvlErrorMsg(e.message());
            return;
        }
        FPage->SetOrientation(FPortrait->isChecked() ? poPortrait : poLandscape);
        FPage->SetPaperWidth(w);
        FPage->SetPaperHeight(h);
        FPage->SetPaperSize(ChosenPaper());
        FPage->LeftMargin = margins[0];
        FPage->RightMargin = margins[2];
        FPage->TopMargin = margins[1];
        FPage->BottomMargin = margins[3];
        if (!NeedRebuild())
            FPage->AlignChildren();
    }
    QDialog::done(Result);
}
