#include "designer/widgets/highlighteditorform.h"

#include "designer/widgets/filleditorform.h"
#include "designer/widgets/frameeditorform.h"
#include "platform/gfx/paintercanvas.h"
#include "platform/ui/services.h"
#include "report/resources/kvlresources.h"
#include "report/seams/kvldesigner.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>
#include <memory>

namespace {

class TkvlHighlightSample : public QWidget {
public:
    TkvlHighlightSample(QWidget *Parent, const TkvlHighlightEditor &Editor) : QWidget(Parent), FEditor(Editor) {}

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.fillRect(rect(), palette().color(QPalette::Window));
        gfx::PainterCanvas c(&p, 96, 96);
        kvlDrawHighlightSample(&c, rect(), FEditor.CurrentItem());
    }

private:
    const TkvlHighlightEditor &FEditor;
};


ui::FontChoice fontChoice(const TFont &f)
{
    ui::FontChoice c;
    c.family = f.Name();
    c.pointSize = f.Size();
    c.bold = f.HasStyle(fsBold);
    c.italic = f.HasStyle(fsItalic);
    c.underline = f.HasStyle(fsUnderline);
    c.strikeOut = f.HasStyle(fsStrikeOut);
    return c;
}

void takeFont(TFont &f, const ui::FontChoice &c)
{
    if (!c.family.isEmpty())
        f.SetName(c.family);
    f.SetSize(c.pointSize);
    f.SetStyle(TFontStyles((c.bold ? FontStyleBit(fsBold) : 0) | (c.italic ? FontStyleBit(fsItalic) : 0) |
                           (c.underline ? FontStyleBit(fsUnderline) : 0) | (c.strikeOut ? FontStyleBit(fsStrikeOut) : 0)));
}

} // namespace

TkvlHighlightEditorForm::TkvlHighlightEditorForm(QWidget *Parent, TkvlCustomDesigner *Designer)
    : TkvlHostDialog(Parent), FDesigner(Designer)
{
    setWindowTitle(kvlGet(4600));
    QWidget *c = Content();
    auto *conditionsGB = new QGroupBox(kvlGet(4601), c);
    HighlightsLB = new QListWidget(conditionsGB);
    HighlightsLB->setObjectName(QStringLiteral("HighlightsLB"));
    AddB = new QPushButton(kvlGet(4602), conditionsGB);
    DeleteB = new QPushButton(kvlGet(4603), conditionsGB);
    EditB = new QPushButton(kvlGet(4604), conditionsGB);
    UpB = new QToolButton(conditionsGB);
    UpB->setIcon(kvlGlyphIcon(100));
    if (UpB->icon().isNull())
        UpB->setArrowType(Qt::UpArrow);
    DownB = new QToolButton(conditionsGB);
    DownB->setIcon(kvlGlyphIcon(101));
    if (DownB->icon().isNull())
        DownB->setArrowType(Qt::DownArrow);
    auto *cg = new QGridLayout(conditionsGB);
    cg->addWidget(HighlightsLB, 0, 0, 5, 1);
    cg->addWidget(AddB, 0, 1, 1, 2);
    cg->addWidget(DeleteB, 1, 1, 1, 2);
    cg->addWidget(EditB, 2, 1, 1, 2);
    cg->addWidget(UpB, 3, 1);
    cg->addWidget(DownB, 3, 2);
    cg->setRowStretch(4, 1);

    auto *styleGB = new QGroupBox(kvlGet(4605), c);
    FrameCB = new QCheckBox(styleGB);
    FillCB = new QCheckBox(styleGB);
    FontCB = new QCheckBox(styleGB);
    FrameB = new QPushButton(kvlGlyphIcon(36), kvlGet(4606), styleGB);
    FillB = new QPushButton(kvlGlyphIcon(38), kvlGet(4607), styleGB);
    FontB = new QPushButton(kvlGlyphIcon(59), kvlGet(4608), styleGB);
    VisibleCB = new QCheckBox(kvlGet(4609), styleGB);
    PaintBox1 = new TkvlHighlightSample(styleGB, FEditor);
    PaintBox1->setMinimumSize(150, 60);
    auto *sg = new QGridLayout(styleGB);
    sg->addWidget(FrameCB, 0, 0);
    sg->addWidget(FrameB, 0, 1);
    sg->addWidget(FillCB, 1, 0);
    sg->addWidget(FillB, 1, 1);
    sg->addWidget(FontCB, 2, 0);
    sg->addWidget(FontB, 2, 1);
    sg->addWidget(VisibleCB, 3, 0, 1, 2);
    sg->addWidget(PaintBox1, 0, 2, 4, 1);
    sg->setColumnStretch(2, 1);

    auto *l = new QVBoxLayout(c);
    l->setContentsMargins(0, 0, 0, 0);
    l->addWidget(conditionsGB, 1);
    l->addWidget(styleGB);
    AddOkCancel("OKB");
    resize(420, 380);

    connect(HighlightsLB, &QListWidget::currentRowChanged, this, [this](int Row) {
        FEditor.Current = Row;
        UpdateControls();
    });
    connect(AddB, &QPushButton::clicked, this, [this] {
        const QString cond = FDesigner ? FDesigner->InsertExpression(QStringLiteral("Value = 0")) : QString();
        if (cond.isEmpty())
            return;
        FEditor.Add(cond);
        FillList();
    });
    connect(DeleteB, &QPushButton::clicked, this, [this] {
        FEditor.Delete();
        FillList();
    });
    connect(EditB, &QPushButton::clicked, this, [this] {
        TkvlHighlight *h = FEditor.CurrentItem();
        if (!h || !FDesigner)
            return;
        const QString cond = FDesigner->InsertExpression(h->Condition);
        if (cond.isEmpty())
            return;
        h->Condition = cond;
        HighlightsLB->currentItem()->setText(cond);
    });
    connect(UpB, &QToolButton::clicked, this, [this] {
        FEditor.Move(-1);
        FillList();
    });
    connect(DownB, &QToolButton::clicked, this, [this] {
        FEditor.Move(1);
        FillList();
    });
    const std::pair<QCheckBox *, bool TkvlHighlight::*> flags[] = {{FrameCB, &TkvlHighlight::ApplyFrame},
                                                                   {FillCB, &TkvlHighlight::ApplyFill},
                                                                   {FontCB, &TkvlHighlight::ApplyFont},
                                                                   {VisibleCB, &TkvlHighlight::Visible}};
    for (auto [cb, flag] : flags)
        connect(cb, &QCheckBox::clicked, this, [this, flag = flag](bool On) {
            if (TkvlHighlight *h = FEditor.CurrentItem())
                h->*flag = On;
            UpdateControls();
        });
    connect(FrameB, &QPushButton::clicked, this, [this] {
        if (TkvlHighlight *h = FEditor.CurrentItem())
            kvlEditFrame(nullptr, h->Frame());
        UpdateControls();
    });
    connect(FillB, &QPushButton::clicked, this, [this] {
        TkvlHighlight *h = FEditor.CurrentItem();
        if (!h)
            return;
        std::unique_ptr<TkvlCustomFill> fill(kvlEditFill(this, h->Fill()));
        if (fill)
            h->SetFill(fill.get());
        UpdateControls();
    });
    connect(FontB, &QPushButton::clicked, this, [this] {
        TkvlHighlight *h = FEditor.CurrentItem();
        if (!h)
            return;
        ui::FontChoice c = fontChoice(*h->Font());
        if (ui::fontDialog().Execute(c))
            takeFont(*h->Font(), c);
        UpdateControls();
    });
}

void TkvlHighlightEditorForm::ShowStep()
{
    FEditor.Load(FMemo);
    FillList();
}

void TkvlHighlightEditorForm::FillList()
{
    const int current = FEditor.Current;
    HighlightsLB->blockSignals(true);
    HighlightsLB->clear();
    for (int i = 0; i < FEditor.Count(); ++i)
        HighlightsLB->addItem(FEditor.Items().Items(i)->Condition);
    HighlightsLB->setCurrentRow(current);
    HighlightsLB->blockSignals(false);
    FEditor.Current = current;
    UpdateControls();
}

void TkvlHighlightEditorForm::UpdateControls()
{
    const TkvlHighlight *h = FEditor.CurrentItem();
    for (QWidget *w : std::initializer_list<QWidget *>{DeleteB, EditB, UpB, DownB, FrameCB, FillCB, FontCB, VisibleCB,
                                                       FrameB, FillB, FontB})
        w->setEnabled(h != nullptr);
    if (h) {
        FrameCB->setChecked(h->ApplyFrame);
        FillCB->setChecked(h->ApplyFill);
        FontCB->setChecked(h->ApplyFont);
        VisibleCB->setChecked(h->Visible);
        FrameB->setEnabled(h->ApplyFrame);
        FillB->setEnabled(h->ApplyFill);
        FontB->setEnabled(h->ApplyFont);
        UpB->setEnabled(FEditor.Current > 0);
        DownB->setEnabled(FEditor.Current < FEditor.Count() - 1);
    }
    PaintBox1->update();
}

void TkvlHighlightEditorForm::HideStep()
{
    if (ModalResult() == Accepted)
        FEditor.WriteBack();
}

bool kvlEditHighlights(QWidget *Owner, TkvlCustomDesigner *Designer, TkvlCustomMemoView *Memo)
{
    TkvlHighlightEditorForm f(Owner, Designer);
    f.SetMemoView(Memo);
    return f.exec() == QDialog::Accepted;
}
