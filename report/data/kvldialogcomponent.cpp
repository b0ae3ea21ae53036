#include "report/data/kvldialogcomponent.h"

#include "platform/gfx/canvas.h"
#include "platform/rtl/color.h"
#include "platform/rtl/numeric.h"
#include "platform/rtl/reflect/classbuilder.h"
#include "report/registry/kvlregistries.h"
#include "report/resources/kvlresources.h"

LIRRA_DEFINE_CLASS(TkvlDialogComponent)

namespace {

constexpr int kIconSize = 28;

} // namespace

void TkvlDialogComponent::DeclareClass(rtl::ClassBuilder<TkvlDialogComponent> &) {}

TkvlDialogComponent::TkvlDialogComponent(TComponent *AOwner, const rtl::TDesignInfo *Design)
    : TkvlReportComponent(AOwner, Design)
{
    SetkvComponentStyle(kvComponentStyle() & ~kvlBit(csPreviewVisible));
    SetWidth(kIconSize);
    SetHeight(kIconSize);
}

TkvlDialogComponent::~TkvlDialogComponent() = default;

void TkvlDialogComponent::Draw(TCanvas *Canvas, double, double, double, double)
{
    SetWidth(kIconSize);
    SetHeight(kIconSize);
    const int l = int(rtl::Round(Left()));
    const int t = int(rtl::Round(Top()));
    const int r = int(rtl::Round(Left() + kIconSize));
    const int b = int(rtl::Round(Top() + kIconSize));

    Canvas->setBrush({clBtnFace, bsSolid});
    Canvas->fillRect(QRect(l, t, r - l, b - t));
    // Raised edge: light outer and inner lines at the top and left, dark ones at the bottom
    // and right.
    auto edge = [Canvas](int l, int t, int r, int b, TColor light, TColor dark) {
        gfx::Pen pen;
        pen.color = light;
        Canvas->setPen(pen);
        Canvas->moveTo(l, b - 1);
        Canvas->lineTo(l, t);
        Canvas->lineTo(r - 1, t);
        pen.color = dark;
        Canvas->setPen(pen);
        Canvas->moveTo(r - 1, t);
        Canvas->lineTo(r - 1, b - 1);
        Canvas->lineTo(l - 1, b - 1);
    };
    edge(l, t, r, b, cl3DLight, cl3DDkShadow);
    edge(l + 1, t + 1, r - 1, b - 1, clBtnHighlight, clBtnShadow);

    if (const TkvlObjectItem *item = kvlObjects().Find(ClassType())) {
        const TImageList &images = kvlResources().GetObjectImages();
        if (item->ButtonImageIndex >= 0 && item->ButtonImageIndex < images.Count()) {
            const QImage &img = images.Image(item->ButtonImageIndex);
            Canvas->drawImage(QRect(l + 6, t + 6, img.width(), img.height()), img);
        }
    }

    gfx::FontDesc font;
    font.name = QStringLiteral("Tahoma");
    font.height = -11;  // 8 points at 96 pixels per inch
    font.color = 0;
    Canvas->setFont(font);
    Canvas->setBkMode(gfx::BkMode::Opaque);
    Canvas->setBkColor(clWindow);
    const int w = Canvas->textWidth(Name());
    Canvas->textOut(l - (w - kIconSize) / 2, b + 4, Name());
}

void TkvlDialogComponent::DefineProperties(TFiler &Filer)
{
    inherited::DefineProperties(Filer);
    const bool inReport = GetReport() != nullptr;
    Filer.DefineProperty(
        QStringLiteral("pLeft"), [this](TReader &R) { SetLeft(double(R.ReadInteger())); },
        [this](TWriter &W) { W.WriteInteger(rtl::Round(Left())); }, inReport);
    Filer.DefineProperty(
        QStringLiteral("pTop"), [this](TReader &R) { SetTop(double(R.ReadInteger())); },
        [this](TWriter &W) { W.WriteInteger(rtl::Round(Top())); }, inReport);
}
