#include "app/fsedi.h"

#include "app/dm/dm.h"
#include "app/fmain.h"
#include "app/globals.h"
#include "app/placeholderlist.h"
#include "app/procedures.h"
#include "app/resources/btnlist.h"
#include "app/widgets/colorbox.h"
#include "app/widgets/dbedit.h"
#include "app/widgets/dbgrid.h"
#include "app/widgets/dbnavigator.h"
#include "app/widgets/guard.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace {

placeholder::TListTexts ListTexts()
{
    return {dmtext::PlaceholderSede, QStringLiteral("Impossibile inserire sedi duplicate."),
            QStringLiteral("Il nome della sede non può essere vuoto."),
            QStringLiteral("La sede non è stata salvata.")};
}

const QString kSede = QStringLiteral("SEDE");
const QString kSedeColor = QStringLiteral("SEDECOLOR");
constexpr int kColorColumn = 1;
} // namespace

TfSEDI::TfSEDI(QWidget *parent) : TChildWindow(fSEDI, TFormSlot::Sedi, parent)
{
    setObjectName(QStringLiteral("fSEDI"));
    setWindowTitle(QStringLiteral("SEDI REGISTRATE"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint);
    setMinimumSize(330, 122);
    setMaximumWidth(330);

    auto *lay = new QVBoxLayout(this);
    lay->setContentsMargins(4, 4, 4, 4);
    lay->setSpacing(4);

    DBNavigatorSEDI = new TDBNavigator(this);
    DBNavigatorSEDI->setObjectName(QStringLiteral("DBNavigatorSEDI"));
    lay->addWidget(DBNavigatorSEDI);

    auto *row = new QHBoxLayout;
    eSede = new TDBEdit(this);
    eSede->setObjectName(QStringLiteral("eSede"));
    eSede->setToolTip(QStringLiteral("Nome della sede [max 50 caratteri)"));
    InstallFocusColours(eSede);
    ColorBox = new TColorBox(this);
    ColorBox->setObjectName(QStringLiteral("ColorBox"));
    ColorBox->setToolTip(QStringLiteral("Seleziona un colore"));
    ColorBox->FillEventPalette();
    row->addWidget(eSede, 1);
    row->addWidget(ColorBox);
    lay->addLayout(row);

    DBGridSEDI = new TDBGrid(this);
    DBGridSEDI->setObjectName(QStringLiteral("DBGridSEDI"));
    placeholder::SetupGrid(DBGridSEDI);
    DBGridSEDI->AddColumn(kSede, QStringLiteral("Sede"));
    TGridColumn &color = DBGridSEDI->AddColumn(kSedeColor, QStringLiteral("Colore"));
    color.TitleAlignment = Qt::AlignHCenter | Qt::AlignVCenter;
    color.Alignment = Qt::AlignHCenter | Qt::AlignVCenter;
    DBGridSEDI->OnCellStyle = [this](TGridCellStyle &st, int r, int column) {
        if (DBGridSEDI->Column(column).FieldName != kSedeColor)
            return;
        st.Background = rtl::ToQColor(DisplayColorFromText(DBGridSEDI->CellText(r, column)));
        // Readable on every background colour, selected or not.
        st.Text = rtl::ToQColor(clWindowText);
    };
    lay->addWidget(DBGridSEDI, 1);

    if (dm) {
        DBNavigatorSEDI->SetDataSet(&dm->SEDI);
        eSede->SetDataSet(&dm->SEDI);
        eSede->SetDataField(kSede);
        DBGridSEDI->SetDataSet(&dm->SEDI);
        placeholder::GuardPosts(dm->SEDI, kSede, ListTexts());
    }

    connect(DBNavigatorSEDI, &TDBNavigator::Click, this, [this](TNavigateBtn b) { DBNavigatorSEDIClick(b); });
    connect(ColorBox, &TColorBox::Click, this, [this] { ColorBoxClick(); });
    connect(DBGridSEDI, &TDBGrid::TitleClick, this, [this](int column) { DBGridSEDITitleClick(column); });
    if (dm) {
        // The colour box shows the current site's colour.
        connect(&dm->dsSEDI, &TDataSetTableModel::CurrentRowChanged, this, [this] { ShowCurrentColor(); });
        ShowCurrentColor();
    }
}

void TfSEDI::ShowCurrentColor()
{
    if (!dm)
        return; // the data module is going
    const TQuery &q = dm->SEDI;
    if (!q.Active() || q.IsEmpty() || q.State() == TDataSetState::dsInsert)
        return;
    // The colour the list shows for the site: a site without one (or with one that cannot be
    // read) shows yellow there, and so here.
    if (const TField *f = q.FindField(kSedeColor))
        ColorBox->SetSelected(DisplayColorFromText(f->AsString()));
}

void TfSEDI::showEvent(QShowEvent *e)
{
    TChildWindow::showEvent(e);
    if (e->spontaneous() || FColumnsSet)
        return;
    FColumnsSet = true;
    DBGridSEDI->SetColumnWidth(0, 200);
    DBGridSEDI->SetColumnWidth(kColorColumn, 100);
}

void TfSEDI::DBNavigatorSEDIClick(TNavigateBtn button)
{
    if (!dm)
        return;
    placeholder::NavigatorClicked(button, dm->SEDI, kSede, ListTexts(), [] { dm->InsertPlaceholderSede(); }, DBGridSEDI);
}

void TfSEDI::ColorBoxClick()
{
    const TColor color = ColorBox->Selected();
    if (color == clNone || !dm)
        return;
    const QString hex = ColorToHex(color);
    RunGuarded([&] {
        TQuery &q = dm->SEDI;
        // A closed list had no current site: it is opened, and nothing is coloured.
        if (!q.Active()) {
            q.Open();
            return;
        }
        TField *field = q.FieldByName(kSedeColor);
        switch (q.State()) {
        case TDataSetState::dsInsert:
            // The row being added is the site; it is stored with its colour once it has a name.
            field->SetAsString(hex);
            if (q.FieldByName(kSede)->IsNull())
                return;
            q.Post();
            break;
        case TDataSetState::dsEdit:
            field->SetAsString(hex);
            q.Post();
            break;
        default:
            // No row, no site to colour.
            if (q.IsEmpty())
                return;
            q.Edit();
            field->SetAsString(hex);
            q.Post();
            break;
        }
        q.Refresh();
    });
}

void TfSEDI::DBGridSEDITitleClick(int column)
{
    DBGridSEDI->SortByTitle(column);
}

void TfSEDI::FormClosed()
{
    if (dm)
        placeholder::ReleasePosts(dm->SEDI);
    if (fMain)
        SetImageIndex(fMain->bOpenFormSEDI, 20);
}
