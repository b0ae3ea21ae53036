#include "designer/widgets/styleeditorform.h"

#include "designer/core/settings.h"
#include "designer/core/styleeditor.h"
#include "designer/widgets/dialogtools.h"
#include "platform/gfx/paintercanvas.h"
#include "platform/gfx/tfont.h"
#include "platform/rtl/exceptions.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/services.h"
#include "report/document/kvlreport.h"
#include "report/memo/kvlmemo.h"
#include "report/resources/kvlresources.h"
#include "report/styles/kvlstyles.h"
#include "report/utils/messages.h"
#include "report/widgets/kvlformutils.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

// The sample: a box in the window colour with a grey outline and the style on a memo.
class SampleBox final : public QWidget {
public:
    explicit SampleBox(QWidget *Parent) : QWidget(Parent) { setObjectName(QStringLiteral("PaintBox")); }
    std::function<const TkvlStyleItem *()> Style;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.setPen(rtl::ToQColor(clGray));
        p.setBrush(palette().color(QPalette::Window));
        p.drawRect(rect().adjusted(0, 0, -1, -1));
        const TkvlStyleItem *style = Style ? Style() : nullptr;
        if (!style)
            return;
        TkvlMemoView memo(nullptr);
        memo.ApplyStyle(style);
        memo.SetText(kvlResources().Get(QStringLiteral("dsStyleSample")));
        memo.GapX = 20;
        memo.GapY = 10;
        memo.SetWidth(memo.CalcWidth());
        memo.SetHeight(memo.CalcHeight());
        gfx::PainterCanvas canvas(&p, 96, 96);
        memo.Draw(&canvas, 1, 1, (width() - memo.Width()) / 2, (height() - memo.Height()) / 2);
    }
};

QString styleFilter()
{
    return kvlResources().Get(QStringLiteral("dsStyleFile")) + QStringLiteral(" (*.ks3)|*.ks3");
}

} // namespace

TkvlStyleEditorForm::TkvlStyleEditorForm(TkvlReport *AReport, TkvlStyleDialogs Dialogs, QWidget *Owner)
    : QDialog(Owner), FReport(AReport), FDialogs(std::move(Dialogs)),
      FStyles(std::make_unique<TkvlStyles>(AReport))
{
    setObjectName(QStringLiteral("TkvlStyleEditorForm"));
    setWindowTitle(kvlGet(5100));
    auto *v = new QVBoxLayout(this);
    auto *bar = new QToolBar(this);
    bar->setObjectName(QStringLiteral("ToolBar"));
    FAdd = kvlToolButton(bar, 89, kvlGet(5104), "AddB");
    FDelete = kvlToolButton(bar, 88, kvlGet(5105), "DeleteB");
    FEdit = kvlToolButton(bar, 68, kvlGet(5106), "EditB");
    bar->addSeparator();
    FLoad = kvlToolButton(bar, 1, kvlGet(5107), "LoadB");
    FSave = kvlToolButton(bar, 2, kvlGet(5108), "SaveB");
    bar->addSeparator();
    FCancel = kvlToolButton(bar, 55, kvlGet(2), "CancelB");
    FOk = kvlToolButton(bar, 56, kvlGet(1), "OkB");
    v->addWidget(bar);
    auto *body = new QGridLayout;
    FList = new QListWidget(this);
    FList->setObjectName(QStringLiteral("StylesTV"));
    FList->setEditTriggers(QAbstractItemView::EditKeyPressed);  // F2
    body->addWidget(FList, 0, 0, 5, 1);
    auto box = [this](const char *Name) {
        auto *c = new QCheckBox(this);
        c->setObjectName(QLatin1String(Name));
        return c;
    };
    auto button = [this](int Caption, const char *Name) {
        auto *b = new QPushButton(kvlGet(Caption), this);
        b->setObjectName(QLatin1String(Name));
        b->setAutoDefault(false);
        return b;
    };
    FApplyFill = box("ApplyFillCB");
    FApplyFont = box("ApplyFontCB");
    FApplyFrame = box("ApplyFrameCB");
    FColorB = button(5101, "ColorB");
    FFontB = button(5102, "FontB");
    FFrameB = button(5103, "FrameB");
    FDef = box("DefCB");
    FDef->setText(QStringLiteral("DEFAULT_CHARSET"));
    FDef->setChecked(true);
    body->addWidget(FApplyFill, 0, 1);
    body->addWidget(FColorB, 0, 2);
    body->addWidget(FApplyFont, 1, 1);
    body->addWidget(FFontB, 1, 2);
    body->addWidget(FDef, 2, 2);
    body->addWidget(FApplyFrame, 3, 1);
    body->addWidget(FFrameB, 3, 2);
    auto *sample = new SampleBox(this);
    sample->Style = [this] { return Selected(); };
    sample->setMinimumSize(220, 90);
    FPaintBox = sample;
    body->addWidget(FPaintBox, 5, 0, 1, 3);
    body->setRowStretch(4, 1);
    v->addLayout(body);

    connect(FList, &QListWidget::currentRowChanged, this, [this] { UpdateControls(); });
    for (QCheckBox *c : {FApplyFill, FApplyFont, FApplyFrame})
        connect(c, &QCheckBox::toggled, this, [this] { ApplyBoxes(); });
    connect(FDef, &QCheckBox::toggled, this, [this](bool On) {
        if (TkvlStyleItem *s = Selected(); s && On && !FIsLocked) {
            s->Font()->SetCharset(TFont::DefaultCharset);
            FPaintBox->update();
        }
    });
    connect(FColorB, &QPushButton::clicked, this, [this] {
        if (TkvlStyleItem *s = Selected(); s && FDialogs.EditFill && FDialogs.EditFill(s, this))
            FPaintBox->update();
    });
    connect(FFrameB, &QPushButton::clicked, this, [this] {
        if (TkvlStyleItem *s = Selected(); s && FDialogs.EditFrame && FDialogs.EditFrame(s, parentWidget()))
            FPaintBox->update();
    });
    connect(FFontB, &QPushButton::clicked, this, [this] {
        TkvlStyleItem *s = Selected();
        if (!s)
            return;
        TFont *f = s->Font();
        ui::FontChoice c;
        c.family = f->Name();
        c.pointSize = f->Size();
        c.bold = f->Style() & FontStyleBit(fsBold);
        c.italic = f->Style() & FontStyleBit(fsItalic);
        c.underline = f->Style() & FontStyleBit(fsUnderline);
        c.strikeOut = f->Style() & FontStyleBit(fsStrikeOut);
        if (ui::fontDialog().Execute(c)) {
            f->SetName(c.family);
            f->SetSize(c.pointSize);
            f->SetStyle(TFontStyles((c.bold ? FontStyleBit(fsBold) : 0) | (c.italic ? FontStyleBit(fsItalic) : 0) |
                                    (c.underline ? FontStyleBit(fsUnderline) : 0) |
                                    (c.strikeOut ? FontStyleBit(fsStrikeOut) : 0)));
        }
        if (FDef->isChecked())
            f->SetCharset(TFont::DefaultCharset);
        FPaintBox->update();
    });
    connect(FAdd, &QToolButton::clicked, this, [this] {
        TkvlStyleItem *s = FStyles->Add();
        s->CreateUniqueName();
        UpdateStyles(s->Index());
        Rename();
    });
    connect(FDelete, &QToolButton::clicked, this, [this] {
        TkvlStyleItem *s = Selected();
        if (!s)
            return;
        const int at = FList->currentRow();
        FStyles->Delete(s->Index());
        UpdateStyles(at);
    });
    connect(FEdit, &QToolButton::clicked, this, [this] { Rename(); });
    connect(FList, &QListWidget::itemChanged, this, [this](QListWidgetItem *Item) {
        if (FIsLocked)
            return;
        TkvlStyleItem *s = FStyles->Items(FList->row(Item));
        FIsLocked = true;
        try {
            if (FEdit->isEnabled())
                s->SetName(Item->text());
        } catch (const Exception &e) {
            kvlErrorMsg(e.message());
        }
        Item->setText(s->Name());
        FIsLocked = false;
    });
    connect(FLoad, &QToolButton::clicked, this, [this] {
        ui::FileDialogRequest r;
        r.filter = styleFilter();
        if (TkvlDesigner *comp = kvlDesignerComp())
            r.initialDir = comp->OpenDir;
        const ui::FileDialogResult a = ui::fileDialogs().Open(r);
        if (!a.accepted || a.fileName().isEmpty())
            return;
        // A file that does not read leaves the copy and the list as they were.
        try {
            kvlLoadStylesKeeping(*FStyles, a.fileName());
        } catch (const Exception &e) {
            kvlErrorMsg(e.message());
            return;
        }
        UpdateStyles(0);
    });
    connect(FSave, &QToolButton::clicked, this, [this] {
        ui::FileDialogRequest r;
        r.filter = styleFilter();
        r.defaultExt = QStringLiteral("ks3");
        if (TkvlDesigner *comp = kvlDesignerComp())
            r.initialDir = comp->SaveDir;
        const ui::FileDialogResult a = ui::fileDialogs().Save(r);
        if (!a.accepted || a.fileName().isEmpty())
            return;
        try {
            FStyles->SaveToFile(kvlStyleFileName(a.fileName()));
        } catch (const Exception &e) {
            kvlErrorMsg(e.message());
        }
    });
    connect(FCancel, &QToolButton::clicked, this, &QDialog::reject);
    connect(FOk, &QToolButton::clicked, this, &QDialog::accept);

    FStyles->Assign(&FReport->Styles());
    UpdateStyles(0);
    resize(560, 380);
    kvlMirrorIfRightToLeft(this);
}

TkvlStyleEditorForm::~TkvlStyleEditorForm() = default;

TkvlStyleItem *TkvlStyleEditorForm::Selected() const
{
    const int row = FList->currentRow();
    return row >= 0 && row < FStyles->Count() ? FStyles->Items(row) : nullptr;
}

void TkvlStyleEditorForm::UpdateStyles(int Index)
{
    FIsLocked = true;
    FList->clear();
    for (int i = 0; i < FStyles->Count(); ++i) {
        auto *item = new QListWidgetItem(FStyles->Items(i)->Name(), FList);
        if (!FStyles->Items(i)->IsInherited)
            item->setFlags(item->flags() | Qt::ItemIsEditable);
    }
    FIsLocked = false;
    FList->setCurrentRow(FStyles->Count() ? std::min(Index, FStyles->Count() - 1) : -1);
    UpdateControls();
}

void TkvlStyleEditorForm::UpdateControls()
{
    FLoad->setEnabled(!FReport->GetIsAncestor());
    TkvlStyleItem *s = Selected();
    for (QWidget *w : std::initializer_list<QWidget *>{FColorB, FFontB, FFrameB, FApplyFill, FApplyFont, FApplyFrame})
        w->setEnabled(s);
    if (s) {
        FIsLocked = true;
        FApplyFill->setChecked(s->ApplyFill);
        FApplyFrame->setChecked(s->ApplyFrame);
        FApplyFont->setChecked(s->ApplyFont);
        FDef->setChecked(s->Font()->Charset() == TFont::DefaultCharset);
        FIsLocked = false;
        FColorB->setEnabled(s->ApplyFill);
        FFontB->setEnabled(s->ApplyFont);
        FFrameB->setEnabled(s->ApplyFrame);
    }
    const bool own = s && !s->IsInherited;
    FDelete->setEnabled(own);
    FEdit->setEnabled(own);
    FPaintBox->update();
}

void TkvlStyleEditorForm::ApplyBoxes()
{
    TkvlStyleItem *s = Selected();
    if (FIsLocked || !s)
        return;
    s->ApplyFont = FApplyFont->isChecked();
    s->ApplyFill = FApplyFill->isChecked();
    s->ApplyFrame = FApplyFrame->isChecked();
    UpdateControls();
}

void TkvlStyleEditorForm::Rename()
{
    if (QListWidgetItem *item = FList->currentItem(); item && FEdit->isEnabled())
        FList->editItem(item);
}

void TkvlStyleEditorForm::done(int Result)
{
    if (Result == Accepted)
        FReport->Styles().Assign(FStyles.get());
    QDialog::done(Result);
}

void TkvlStyleEditorForm::keyPressEvent(QKeyEvent *Event)
{
    if (Event->key() == Qt::Key_F1) {
        kvlResources().Help(this);
        return;
    }
    if (Event->key() == Qt::Key_F2) {
        Rename();
        return;
    }
    QDialog::keyPressEvent(Event);
}

bool kvlEditStyles(TkvlReport *Report, TkvlStyleDialogs Dialogs, QWidget *Owner)
{
    TkvlStyleEditorForm f(Report, std::move(Dialogs), Owner);
    return f.exec() == QDialog::Accepted;
}
