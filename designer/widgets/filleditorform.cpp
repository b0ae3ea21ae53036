#include "designer/widgets/hostdialog.h"
#include "designer/widgets/filleditorform.h"

#include "designer/core/frameeditor.h"
#include "designer/widgets/colorcombo.h"
#include "designer/widgets/numberentry.h"
#include "platform/gfx/paintercanvas.h"
#include "report/resources/kvlresources.h"
#include "report/widgets/kvlformutils.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

// Draws the active fill over a white box framed in the button-shadow colour.
class TkvlFillSample : public QWidget {
public:
    TkvlFillSample(QWidget *Parent, TkvlFillEditor &Editor) : QWidget(Parent), FEditor(Editor) {}

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.fillRect(rect(), Qt::white);
        {
            gfx::PainterCanvas c(&p, 96, 96);
            FEditor.Fill()->Draw(&c, 0, 0, width(), height(), 1, 1);
        }
        p.setPen(palette().color(QPalette::Dark));
        p.setBrush(Qt::NoBrush);
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }

private:
    TkvlFillEditor &FEditor;
};

Qt::BrushStyle qtBrush(int Style)
{
    static const Qt::BrushStyle styles[] = {Qt::SolidPattern, Qt::NoBrush,   Qt::HorPattern,   Qt::VerPattern,
                                            Qt::FDiagPattern,  Qt::BDiagPattern, Qt::CrossPattern, Qt::DiagCrossPattern};
    return styles[Style];
}

// A swatch of the brush style: white, the style drawn in black (white for clear), outlined.
QIcon brushSwatch(int Style)
{
    QPixmap pm(20, 14);
    pm.fill(Qt::white);
    QPainter p(&pm);
    p.setBrush(QBrush(Style == bsClear ? Qt::white : Qt::black, qtBrush(Style)));
    p.setPen(QColor(128, 128, 128));
    p.drawRect(0, 0, 19, 13);
    return QIcon(pm);
}

QComboBox *list(QWidget *Parent, const char *Name, std::initializer_list<const char *> Keys)
{
    auto *cb = new QComboBox(Parent);
    cb->setObjectName(QLatin1String(Name));
    for (const char *k : Keys)
        cb->addItem(kvlResources().Get(QLatin1String(k)));
    return cb;
}

TkvlColorComboBox *colorBox(QWidget *Parent, const char *Name)
{
    auto *cb = new TkvlColorComboBox(Parent);
    cb->setObjectName(QLatin1String(Name));
    cb->SetShowColorName(true);
    cb->setMinimumWidth(140);
    return cb;
}

} // namespace

TkvlFillEditorForm::TkvlFillEditorForm(QWidget *Parent) : QDialog(Parent)
{
    setWindowTitle(kvlGet(6100));
    PageControl = new QTabWidget(this);
    PageControl->setObjectName(QStringLiteral("PageControl"));

    auto *brushTS = new QWidget;
    BrushStyleCB = list(brushTS, "BrushStyleCB",
                        {"bsSolid", "bsClear", "bsHorizontal", "bsVertical", "bsFDiagonal", "bsBDiagonal", "bsCross", "bsDiagCross"});
    for (int i = 0; i < BrushStyleCB->count(); ++i)
        BrushStyleCB->setItemIcon(i, brushSwatch(i));
    BrushBackColorCB = colorBox(brushTS, "BrushBackColorCB");
    BrushForeColorCB = colorBox(brushTS, "BrushForeColorCB");
    auto *bl = new QFormLayout(brushTS);
    bl->addRow(kvlGet(6104), BrushStyleCB);
    bl->addRow(kvlGet(6105), BrushBackColorCB);
    bl->addRow(kvlGet(6106), BrushForeColorCB);
    PageControl->addTab(brushTS, kvlGet(6101));

    auto *gradientTS = new QWidget;
    GradientStyleCB = list(gradientTS, "GradientStyleCB",
                           {"gsHorizontal", "gsVertical", "gsElliptic", "gsRectangle", "gsVertCenter", "gsHorizCenter"});
    GradientStartColorCB = colorBox(gradientTS, "GradientStartColorCB");
    GradientEndColorCB = colorBox(gradientTS, "GradientEndColorCB");
    auto *gl = new QFormLayout(gradientTS);
    gl->addRow(kvlGet(6107), GradientStyleCB);
    gl->addRow(kvlGet(6108), GradientStartColorCB);
    gl->addRow(kvlGet(6109), GradientEndColorCB);
    PageControl->addTab(gradientTS, kvlGet(6102));

    auto *glassTS = new QWidget;
    GlassOrientationCB = list(glassTS, "GlassOrientationCB", {"foVertical", "foHorizontal", "foVerticalMirror", "foHorizontalMirror"});
    GlassColorCB = colorBox(glassTS, "GlassColorCB");
    GlassBlendE = new QLineEdit(glassTS);
    GlassBlendE->setObjectName(QStringLiteral("GlassBlendE"));
    GlassHatchCB = new QCheckBox(kvlGet(6113), glassTS);
    GlassHatchCB->setObjectName(QStringLiteral("GlassHatchCB"));
    auto *sl = new QFormLayout(glassTS);
    sl->addRow(kvlGet(6110), GlassOrientationCB);
    sl->addRow(kvlGet(6111), GlassColorCB);
    sl->addRow(kvlGet(6112), GlassBlendE);
    sl->addRow(QString(), GlassHatchCB);
    PageControl->addTab(glassTS, kvlGet(6103));

    PaintBox1 = new TkvlFillSample(this, FEditor);
    PaintBox1->setFixedHeight(60);
    auto *l = new QVBoxLayout(this);
    l->addWidget(PageControl);
    l->addWidget(PaintBox1);
    QPushButton *ok = nullptr, *cancel = nullptr;
    l->addLayout(kvlOkCancelRow(this, kvlGet(1), "OKB", kvlGet(2), ok, cancel));

    auto changed = [this] { PaintBox1->update(); };
    connect(PageControl, &QTabWidget::currentChanged, this, [this](int Page) {
        FEditor.Active = TkvlFillType(Page);
        PaintBox1->update();
    });
    connect(BrushStyleCB, &QComboBox::activated, this, [this, changed](int i) { FEditor.Brush.FStyle = TBrushStyle(i); changed(); });
    connect(GradientStyleCB, &QComboBox::activated, this,
            [this, changed](int i) { FEditor.Gradient.FGradientStyle = TkvlGradientStyle(i); changed(); });
    connect(GlassOrientationCB, &QComboBox::activated, this,
            [this, changed](int i) { FEditor.Glass.FOrientation = TkvlGlassFillOrientation(i); changed(); });
    connect(GlassHatchCB, &QCheckBox::toggled, this, [this, changed](bool On) { FEditor.Glass.FHatch = On; changed(); });
    connect(GlassBlendE, &QLineEdit::editingFinished, this, [this] { ReadBlend(); });
    connect(GlassBlendE, &QLineEdit::textEdited, this, [this] { FBadBlend.clear(); });
    const std::pair<TkvlColorComboBox *, TColor *> colors[] = {
        {BrushBackColorCB, &FEditor.Brush.FBackColor},       {BrushForeColorCB, &FEditor.Brush.FForeColor},
        {GradientStartColorCB, &FEditor.Gradient.FStartColor}, {GradientEndColorCB, &FEditor.Gradient.FEndColor},
        {GlassColorCB, &FEditor.Glass.FColor}};
    for (auto [cb, target] : colors)
        cb->OnColorChanged = [target = target, changed](TkvlColorComboBox *Sender) { *target = Sender->Color(); changed(); };
    UpdateControls();
}

void TkvlFillEditorForm::SetFill(const TkvlCustomFill *Fill)
{
    FEditor.SetFill(Fill);
    const TkvlFillType active = FEditor.Active;
    PageControl->setCurrentIndex(active);
    FEditor.Active = active;
    UpdateControls();
}

TkvlCustomFill *TkvlFillEditorForm::Fill()
{
    return FEditor.Fill();
}

void TkvlFillEditorForm::SetIsSimpleFill(bool Value)
{
    PageControl->setTabVisible(ftGradient, !Value);
    PageControl->setTabVisible(ftGlass, !Value);
    if (Value)
        PageControl->setCurrentIndex(ftBrush);
}

void TkvlFillEditorForm::UpdateControls()
{
    BrushStyleCB->setCurrentIndex(FEditor.Brush.FStyle);
    BrushBackColorCB->SetColor(FEditor.Brush.FBackColor);
    BrushForeColorCB->SetColor(FEditor.Brush.FForeColor);
    GradientStyleCB->setCurrentIndex(FEditor.Gradient.FGradientStyle);
    GradientStartColorCB->SetColor(FEditor.Gradient.FStartColor);
    GradientEndColorCB->SetColor(FEditor.Gradient.FEndColor);
    GlassOrientationCB->setCurrentIndex(FEditor.Glass.FOrientation);
    GlassColorCB->SetColor(FEditor.Glass.FColor);
    GlassBlendE->setText(kvlWidthText(FEditor.Glass.FBlend));
    GlassHatchCB->setChecked(FEditor.Glass.FHatch);
    PaintBox1->update();
}

bool TkvlFillEditorForm::ReadBlend()
{
    if (GlassBlendE->text() == kvlWidthText(FEditor.Glass.FBlend))
        return true;
    // The error of this text was shown already (Enter reads it, then presses OK).
    if (GlassBlendE->text() == FBadBlend)
        return false;
    double v = 0;
    if (!kvlReadNumber(GlassBlendE->text(), v)) {
        FBadBlend = GlassBlendE->text();
        return false;
    }
    FEditor.Glass.FBlend = v;
    PaintBox1->update();
    return true;
}

void TkvlFillEditorForm::done(int Result)
{
    if (Result == Accepted && !ReadBlend()) {
        FBadBlend.clear();
        return;
    }
    QDialog::done(Result);
}

void TkvlFillEditorForm::keyPressEvent(QKeyEvent *Event)
{
    if (!kvlHelpKey(this, Event))
        QDialog::keyPressEvent(Event);
}

TkvlCustomFill *kvlEditFill(QWidget *Owner, const TkvlCustomFill *Fill, bool IsSimpleFill)
{
    TkvlFillEditorForm f(Owner);
    f.SetFill(Fill);
    if (IsSimpleFill)
        f.SetIsSimpleFill(true);
    if (f.exec() != QDialog::Accepted)
        return nullptr;
    TkvlCustomFill *result = kvlCreateFill(kvlGetFillType(f.Fill()));
    result->Assign(f.Fill());
    return result;
}
