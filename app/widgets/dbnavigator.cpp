#include "app/widgets/dbnavigator.h"

#include "app/widgets/guard.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QPainter>
#include <QPainterPath>
#include <QToolButton>

namespace {

// Drawn disabled, a glyph is a pale grey: the style's own greying of these thin dark glyphs
// leaves them dark enough to look enabled.
QPixmap glyphPixmap(TNavigateBtn b, bool disabled)
{
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor pale(175, 175, 175);
    const QColor ink = disabled ? pale : QColor(40, 40, 40);
    auto triangle = [&](qreal x, bool left) {
        QPainterPath t;
        if (left) {
            t.moveTo(x + 5, 3);
            t.lineTo(x, 8);
            t.lineTo(x + 5, 13);
        } else {
            t.moveTo(x, 3);
            t.lineTo(x + 5, 8);
            t.lineTo(x, 13);
        }
        t.closeSubpath();
        p.fillPath(t, ink);
    };
    p.setPen(QPen(ink, 2.0, Qt::SolidLine, Qt::RoundCap));
    switch (b) {
    case TNavigateBtn::nbFirst: p.fillRect(QRectF(4, 3, 2, 10), ink); triangle(6.5, true); break;
    case TNavigateBtn::nbPrior: triangle(5.5, true); break;
    case TNavigateBtn::nbNext: triangle(5.5, false); break;
    case TNavigateBtn::nbLast: triangle(4.5, false); p.fillRect(QRectF(10, 3, 2, 10), ink); break;
    case TNavigateBtn::nbInsert: p.drawLine(QPointF(8, 3), QPointF(8, 13)); p.drawLine(QPointF(3, 8), QPointF(13, 8)); break;
    case TNavigateBtn::nbDelete: p.drawLine(QPointF(3, 8), QPointF(13, 8)); break;
    case TNavigateBtn::nbEdit: {
        QPainterPath t;
        t.moveTo(3, 11);
        t.lineTo(8, 4);
        t.lineTo(13, 11);
        t.closeSubpath();
        p.fillPath(t, ink);
        break;
    }
    case TNavigateBtn::nbPost:
        p.setPen(QPen(disabled ? pale : QColor(30, 130, 50), 2.2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(3, 8), QPointF(7, 12));
        p.drawLine(QPointF(7, 12), QPointF(13, 4));
        break;
    case TNavigateBtn::nbCancel:
        p.setPen(QPen(disabled ? pale : QColor(190, 40, 40), 2.2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(4, 4), QPointF(12, 12));
        p.drawLine(QPointF(12, 4), QPointF(4, 12));
        break;
    case TNavigateBtn::nbRefresh:
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(3, 3, 10, 10), 40 * 16, 280 * 16);
        p.fillRect(QRectF(10, 2, 4, 4), ink);
        break;
    }
    p.end();
    return pm;
}

QIcon glyph(TNavigateBtn b)
{
    QIcon icon(glyphPixmap(b, false));
    icon.addPixmap(glyphPixmap(b, true), QIcon::Disabled);
    return icon;
}

const char *const kNames[kNavigateBtnCount] = {"First", "Prior", "Next", "Last", "Insert",
                                               "Delete", "Edit", "Post", "Cancel", "Refresh"};

} // namespace

TDBNavigator::TDBNavigator(QWidget *parent) : QWidget(parent)
{
    auto *lay = new QHBoxLayout(this);
    lay->setContentsMargins(0, 0, 0, 0);
    lay->setSpacing(0);
    for (int i = 0; i < kNavigateBtnCount; ++i) {
        const auto b = TNavigateBtn(i);
        auto *btn = new QToolButton(this);
        btn->setObjectName(QLatin1String(kNames[i]));
        btn->setIcon(glyph(b));
        btn->setAutoRaise(false);
        btn->setFixedSize(23, 23);
        btn->setFocusPolicy(Qt::NoFocus);
        connect(btn, &QToolButton::clicked, this, [this, b] { BtnClick(b); });
        lay->addWidget(btn);
        FButtons[size_t(i)] = btn;
    }
    UpdateButtons();
}

TDBNavigator::~TDBNavigator()
{
    if (FDataSet)
        FDataSet->RemoveObserver(this);
}

void TDBNavigator::SetDataSet(TDataSet *ds)
{
    if (FDataSet == ds)
        return;
    if (FDataSet)
        FDataSet->RemoveObserver(this);
    FDataSet = ds;
    if (FDataSet)
        FDataSet->AddObserver(this);
    UpdateButtons();
}

void TDBNavigator::DataSetDestroying(TDataSet &)
{
    FDataSet = nullptr;
    UpdateButtons();
}

void TDBNavigator::SetVisibleButtons(std::initializer_list<TNavigateBtn> buttons)
{
    for (QToolButton *b : FButtons)
        b->setVisible(false);
    for (TNavigateBtn b : buttons)
        FButtons[size_t(b)]->setVisible(true);
}

bool TDBNavigator::ButtonVisible(TNavigateBtn b) const
{
    return !FButtons[size_t(b)]->isHidden();
}

void TDBNavigator::changeEvent(QEvent *e)
{
    QWidget::changeEvent(e);
    if (e->type() == QEvent::EnabledChange)
        UpdateButtons();
}

void TDBNavigator::UpdateButtons()
{
    const TDataSet *ds = FDataSet;
    const bool active = ds && ds->Active() && isEnabled();
    const bool browse = active && ds->State() == TDataSetState::dsBrowse;
    const bool editing = active && !browse;
    const bool canModify = active && !ds->ReadOnly;
    const bool atFirst = !active || ds->IsEmpty() || ds->RecNo() <= 1;
    const bool atLast = !active || ds->IsEmpty() || ds->RecNo() >= ds->RecordCount();
    auto set = [&](TNavigateBtn b, bool on) { FButtons[size_t(b)]->setEnabled(on); };
    set(TNavigateBtn::nbFirst, active && !atFirst);
    set(TNavigateBtn::nbPrior, active && !atFirst);
    set(TNavigateBtn::nbNext, active && !atLast);
    set(TNavigateBtn::nbLast, active && !atLast);
    set(TNavigateBtn::nbInsert, canModify);
    set(TNavigateBtn::nbDelete, canModify && browse && !ds->IsEmpty());
    set(TNavigateBtn::nbEdit, canModify && browse && !ds->IsEmpty());
    set(TNavigateBtn::nbPost, canModify && editing);
    set(TNavigateBtn::nbCancel, canModify && editing);
    set(TNavigateBtn::nbRefresh, active);
}

void TDBNavigator::BtnClick(TNavigateBtn b)
{
    TDataSet *ds = FDataSet;
    if (!ds)
        return;
    const bool ok = RunGuarded([&] {
        switch (b) {
        case TNavigateBtn::nbFirst: ds->First(); break;
        case TNavigateBtn::nbPrior: ds->Prior(); break;
        case TNavigateBtn::nbNext: ds->Next(); break;
        case TNavigateBtn::nbLast: ds->Last(); break;
        case TNavigateBtn::nbInsert: ds->Insert(); break;
        case TNavigateBtn::nbDelete: ds->Delete(); break;
        case TNavigateBtn::nbEdit: ds->Edit(); break;
        case TNavigateBtn::nbPost: ds->Post(); break;
        case TNavigateBtn::nbCancel: ds->Cancel(); break;
        case TNavigateBtn::nbRefresh: ds->Refresh(); break;
        }
    });
    UpdateButtons();
    if (ok)
        RunGuarded([&] { Q_EMIT Click(b); });
}
