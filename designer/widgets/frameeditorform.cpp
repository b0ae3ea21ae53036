#include "designer/widgets/hostdialog.h"
#include "designer/widgets/frameeditorform.h"

#include "designer/widgets/colorcombo.h"
#include "designer/widgets/linestyle.h"
#include "designer/widgets/numberentry.h"
#include "report/resources/kvlresources.h"
#include "report/widgets/kvlformutils.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

const QStringList kWidths = {QStringLiteral("0,1"), QStringLiteral("0,5"), QStringLiteral("1"), QStringLiteral("1,5"),
                             QStringLiteral("2"),   QStringLiteral("3"),   QStringLiteral("4"), QStringLiteral("5")};

QComboBox *widthBox(QWidget *Parent, const char *Name)
{
    auto *cb = new QComboBox(Parent);
    cb->setObjectName(QLatin1String(Name));
    cb->setEditable(true);
    cb->setInsertPolicy(QComboBox::NoInsert);
    cb->addItems(kWidths);
    return cb;
}

// Fallback marks of the sides when the program carries no pictures (glyphs 32 .. 37).
QIcon sideMark(int Glyph)
{
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setPen(QPen(QColor(160, 160, 160), 1, Qt::DotLine));
    p.drawRect(2, 2, 11, 11);
    p.setPen(QPen(Qt::black, 2));
    switch (Glyph) {
    case 32: p.drawLine(2, 2, 13, 2); break;
    case 33: p.drawLine(2, 13, 13, 13); break;
    case 34: p.drawLine(2, 2, 2, 13); break;
    case 35: p.drawLine(13, 2, 13, 13); break;
    case 36: p.drawRect(2, 2, 11, 11); break;
    default: break;
    }
    return QIcon(pm);
}

QToolButton *sideButton(QWidget *Parent, const char *Name, int Glyph, bool Checkable)
{
    auto *b = new QToolButton(Parent);
    b->setObjectName(QLatin1String(Name));
    const QIcon icon = kvlGlyphIcon(Glyph);
    b->setIcon(icon.isNull() ? sideMark(Glyph) : icon);
    b->setCheckable(Checkable);
    b->setAutoRaise(true);
    b->setFixedSize(25, 25);
    return b;
}

} // namespace

TkvlFrameEditorForm::TkvlFrameEditorForm(QWidget *Parent) : QDialog(Parent)
{
    setWindowTitle(kvlGet(5200));
    auto *lineGB = new QGroupBox(kvlGet(5202), this);
    LineStyleC = new TkvlLineStyleControl(lineGB);
    LineStyleC->setFixedSize(98, 106);
    LineWidthCB = widthBox(lineGB, "LineWidthCB");
    LineColorCB = new TkvlColorComboBox(lineGB);
    LineColorCB->setObjectName(QStringLiteral("LineColorCB"));
    auto *lg = new QVBoxLayout(lineGB);
    lg->addWidget(new QLabel(kvlGet(5211), lineGB));
    lg->addWidget(LineStyleC);
    lg->addWidget(new QLabel(kvlGet(5215), lineGB));
    lg->addWidget(LineWidthCB);
    lg->addWidget(new QLabel(kvlGet(5214), lineGB));
    lg->addWidget(LineColorCB);
    lg->addStretch();

    auto *frameGB = new QGroupBox(kvlGet(5201), this);
    FrameAllB = sideButton(frameGB, "FrameAllB", 36, false);
    FrameNoB = sideButton(frameGB, "FrameNoB", 37, false);
    FrameTopB = sideButton(frameGB, "FrameTopB", 32, true);
    FrameBottomB = sideButton(frameGB, "FrameBottomB", 33, true);
    FrameLeftB = sideButton(frameGB, "FrameLeftB", 34, true);
    FrameRightB = sideButton(frameGB, "FrameRightB", 35, true);
    SampleC = new TkvlFrameSampleControl(frameGB);
    SampleC->setFixedSize(160, 94);
    SampleC->SetFrame(&Frame);
    ShadowCB = new QCheckBox(kvlGet(5203), frameGB);
    ShadowCB->setObjectName(QStringLiteral("ShadowCB"));
    FShadowWidthL = new QLabel(kvlGet(5215), frameGB);
    ShadowWidthCB = widthBox(frameGB, "ShadowWidthCB");
    FShadowColorL = new QLabel(kvlGet(5214), frameGB);
    ShadowColorCB = new TkvlColorComboBox(frameGB);
    ShadowColorCB->setObjectName(QStringLiteral("ShadowColorCB"));
    auto *buttons = new QHBoxLayout;
    for (QToolButton *b : {FrameAllB, FrameNoB, FrameTopB, FrameBottomB, FrameLeftB, FrameRightB})
        buttons->addWidget(b);
    buttons->addStretch();
    auto *fg = new QGridLayout(frameGB);
    fg->addLayout(buttons, 0, 0, 1, 2);
    fg->addWidget(SampleC, 1, 0, 1, 2, Qt::AlignLeft);
    fg->addWidget(ShadowCB, 2, 0, 1, 2);
    fg->addWidget(FShadowWidthL, 3, 0);
    fg->addWidget(ShadowWidthCB, 3, 1);
    fg->addWidget(FShadowColorL, 4, 0);
    fg->addWidget(ShadowColorCB, 4, 1);

    auto *hint = new QLabel(kvlGet(5216), this);
    hint->setWordWrap(true);
    auto *top = new QHBoxLayout;
    top->addWidget(frameGB, 1);
    top->addWidget(lineGB);
    auto *l = new QVBoxLayout(this);
    l->addLayout(top);
    l->addWidget(hint);
    QPushButton *ok = nullptr, *cancel = nullptr;
    l->addLayout(kvlOkCancelRow(this, kvlGet(1), "OkB", kvlGet(2), ok, cancel));

    SampleC->OnFrameLineClicked = [this](TkvlFrameType Side, bool State) { FrameLineClicked(Side, State); };
    const std::pair<QToolButton *, TkvlFrameType> sides[] = {
        {FrameTopB, ftTop}, {FrameBottomB, ftBottom}, {FrameLeftB, ftLeft}, {FrameRightB, ftRight}};
    for (auto [b, side] : sides)
        connect(b, &QToolButton::clicked, this, [this, side = side](bool Down) { FrameLineClicked(side, Down); });
    connect(FrameAllB, &QToolButton::clicked, this, [this] {
        TkvlFrameLineValues line;
        if (CurrentLine(line))
            kvlFrameAllSides(Frame, line);
        UpdateControls();
    });
    connect(FrameNoB, &QToolButton::clicked, this, [this] {
        kvlFrameNoSides(Frame);
        UpdateControls();
    });
    connect(ShadowCB, &QCheckBox::clicked, this, [this](bool On) {
        Frame.SetDropShadow(On);
        UpdateControls();
    });
    connect(ShadowWidthCB, &QComboBox::activated, this, [this] {
        double w = 0;
        if (kvlReadNumber(ShadowWidthCB->currentText(), w))
            Frame.SetShadowWidth(w);
        UpdateControls();
    });
    connect(ShadowWidthCB->lineEdit(), &QLineEdit::editingFinished, this, [this] {
        double w = 0;
        if (ShadowWidthCB->currentText() != kvlWidthText(Frame.ShadowWidth()) && kvlReadNumber(ShadowWidthCB->currentText(), w))
            Frame.SetShadowWidth(w);
        UpdateControls();
    });
    ShadowColorCB->OnColorChanged = [this](TkvlColorComboBox *) {
        Frame.SetShadowColor(ShadowColorCB->Color());
        UpdateControls();
    };
}

void TkvlFrameEditorForm::SetFrame(TkvlFrame *Value)
{
    Frame.Assign(Value);
}

bool TkvlFrameEditorForm::CurrentLine(TkvlFrameLineValues &Line)
{
    Line.Style = TkvlFrameStyle(LineStyleC->Style());
    Line.Color = LineColorCB->Color();
    return kvlReadNumber(LineWidthCB->currentText(), Line.Width);
}

void TkvlFrameEditorForm::FrameLineClicked(TkvlFrameType Side, bool State)
{
    TkvlFrameLineValues line;
    if (CurrentLine(line))
        kvlFrameLineClicked(Frame, Side, State, line);
    UpdateControls();
}

void TkvlFrameEditorForm::showEvent(QShowEvent *Event)
{
    LineWidthCB->setEditText(kvlWidthText(Frame.Width()));
    LineColorCB->SetColor(Frame.Color());
    LineStyleC->SetStyle(Frame.Style());
    UpdateControls();
    QDialog::showEvent(Event);
}

void TkvlFrameEditorForm::UpdateControls()
{
    FrameTopB->setChecked(Frame.Has(ftTop));
    FrameBottomB->setChecked(Frame.Has(ftBottom));
    FrameLeftB->setChecked(Frame.Has(ftLeft));
    FrameRightB->setChecked(Frame.Has(ftRight));
    ShadowCB->setChecked(Frame.DropShadow());
    ShadowWidthCB->setEditText(kvlWidthText(Frame.ShadowWidth()));
    ShadowColorCB->SetColor(Frame.ShadowColor());
    for (QWidget *w : std::initializer_list<QWidget *>{ShadowWidthCB, ShadowColorCB, FShadowWidthL, FShadowColorL})
        w->setEnabled(Frame.DropShadow());
    SampleC->update();
}

void TkvlFrameEditorForm::keyPressEvent(QKeyEvent *Event)
{
    if (!kvlHelpKey(this, Event))
        QDialog::keyPressEvent(Event);
}

bool kvlEditFrame(QWidget *Owner, TkvlFrame *Frame)
{
    TkvlFrameEditorForm f(Owner);
    f.SetFrame(Frame);
    if (f.exec() != QDialog::Accepted)
        return false;
    Frame->Assign(&f.Frame);
    return true;
}
