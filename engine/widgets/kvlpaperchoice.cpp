#include "engine/widgets/kvlpaperchoice.h"

#include "platform/rtl/exceptions.h"
#include "report/utils/messages.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QRadioButton>
#include <QTabWidget>

#include <array>

namespace {
constexpr QSize kPictureSize(26, 32);
}

QSize kvlOrientationPictureSize() { return kPictureSize; }

QPixmap kvlOrientationPicture(bool Landscape)
{
    QImage img(kPictureSize, QImage::Format_ARGB32_Premultiplied);
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

void kvlRefuseField(QWidget *Field, const QString &Message)
{
    for (QWidget *w = Field; w && !w->isWindow(); w = w->parentWidget())
        if (auto *tabs = qobject_cast<QTabWidget *>(w->parentWidget() ? w->parentWidget()->parentWidget() : nullptr);
            tabs && tabs->indexOf(w) >= 0)
            tabs->setCurrentWidget(w);
    kvlErrorMsg(Message);
    Field->setFocus();
}

bool kvlReadLengths(std::initializer_list<TkvlLengthField> Fields, const TkvlTextToLength &Read)
{
    for (const TkvlLengthField &f : Fields) {
        try {
            *f.Mm = Read(f.Edit->text(), f.X);
        } catch (const Exception &e) {
            kvlRefuseField(const_cast<QLineEdit *>(f.Edit), e.message());
            return false;
        }
    }
    return true;
}

TkvlPaperChoice::TkvlPaperChoice(QComboBox *Size, QLineEdit *Width, QLineEdit *Height, QRadioButton *Portrait,
                                 QRadioButton *Landscape, QLabel *PortraitImg, QLabel *LandscapeImg,
                                 TkvlLengthToText Show, TkvlTextToLength Read)
    : QObject(Size), FSize(Size), FWidth(Width), FHeight(Height), FPortrait(Portrait), FLandscape(Landscape),
      FPortraitImg(PortraitImg), FLandscapeImg(LandscapeImg), FShow(std::move(Show)), FRead(std::move(Read))
{
    FPortraitImg->setPixmap(kvlOrientationPicture(false));
    FLandscapeImg->setPixmap(kvlOrientationPicture(true));
    for (QLabel *l : {FPortraitImg, FLandscapeImg})
        l->setFixedSize(kPictureSize);
    connect(FSize, &QComboBox::activated, this, [this] { SizeChosen(); });
    for (QRadioButton *rb : {FPortrait, FLandscape})
        connect(rb, &QRadioButton::toggled, this, [this](bool On) {
            if (!On)
                return;
            ShowOrientationPicture();
            SizeChosen();
        });
    auto typed = [this] {
        if (!Updating)
            FSize->setCurrentIndex(0);
    };
    connect(FWidth, &QLineEdit::textChanged, this, typed);
    connect(FHeight, &QLineEdit::textChanged, this, typed);
}

void TkvlPaperChoice::Fill(int Paper, double WidthMm, double HeightMm, TPrinterOrientation Orientation)
{
    const bool was = Updating;
    Updating = true;
    FSize->clear();
    FPaperNumbers.clear();
    if (TkvlCustomPrinter *printer = kvlPrinters().GetCurrentPrinter())
        for (const print::NumberedName &p : printer->Papers()) {
            FSize->addItem(p.name);
            FPaperNumbers.append(p.number);
        }
    const qsizetype i = FPaperNumbers.indexOf(Paper);
    FSize->setCurrentIndex(i >= 0 ? int(i) : int(FPaperNumbers.indexOf(kvlCustomPaper)));
    FWidth->setText(FShow(WidthMm, true));
    FHeight->setText(FShow(HeightMm, false));
    (Orientation == poPortrait ? FPortrait : FLandscape)->setChecked(true);
    ShowOrientationPicture();
    Updating = was;
}

int TkvlPaperChoice::ChosenPaper() const
{
    const int i = FSize->currentIndex();
    return i >= 0 && i < FPaperNumbers.size() ? FPaperNumbers[i] : kvlCustomPaper;
}

TPrinterOrientation TkvlPaperChoice::ChosenOrientation() const
{
    return FPortrait->isChecked() ? poPortrait : poLandscape;
}

bool TkvlPaperChoice::ReadSize(double &WidthMm, double &HeightMm) const
{
    return kvlReadLengths({{FWidth, true, &WidthMm}, {FHeight, false, &HeightMm}}, FRead);
}

void TkvlPaperChoice::ShowOrientationPicture()
{
    FPortraitImg->setVisible(FPortrait->isChecked());
    FLandscapeImg->setVisible(!FPortrait->isChecked());
}

void TkvlPaperChoice::SizeChosen()
{
    if (Updating)
        return;
    TkvlCustomPrinter *printer = kvlPrinters().GetCurrentPrinter();
    double w = 0, h = 0;
    if (!printer || !ReadSize(w, h))
        return;
    Updating = true;
    const int paper = ChosenPaper();
    // A custom size is turned with the orientation; a standard paper shows its own size.
    if (paper == kvlCustomPaper)
        printer->SetViewParams(paper, h, w, ChosenOrientation());
    else
        printer->SetViewParams(paper, w, h, ChosenOrientation());
    FWidth->setText(FShow(printer->PaperWidth(), true));
    FHeight->setText(FShow(printer->PaperHeight(), false));
    Updating = false;
}
