#include "app/ftitoli.h"

#include "app/dm/dm.h"
#include "app/fmain.h"
#include "app/globals.h"
#include "app/placeholderlist.h"
#include "app/procedures.h"
#include "app/resources/btnlist.h"
#include "app/widgets/dbedit.h"
#include "app/widgets/dbgrid.h"
#include "app/widgets/dbnavigator.h"

#include <QPushButton>
#include <QVBoxLayout>

namespace {

placeholder::TListTexts ListTexts()
{
    return {dmtext::PlaceholderTitle, QStringLiteral("Impossibile inserire titoli duplicati."),
            QStringLiteral("Il titolo non può essere vuoto."),
            QStringLiteral("Il titolo non è stato salvato.")};
}

const QString kTitolo = QStringLiteral("TITOLO");
} // namespace

TfTITOLI::TfTITOLI(QWidget *parent) : TChildWindow(fTITOLI, TFormSlot::Titoli, parent)
{
    setObjectName(QStringLiteral("fTITOLI"));
    setWindowTitle(QStringLiteral("TITOLI REGISTRATI"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint);
    setMinimumSize(330, 122);
    setMaximumWidth(820);

    auto *lay = new QVBoxLayout(this);
    lay->setContentsMargins(4, 4, 4, 4);
    lay->setSpacing(4);

    DBNavigatorTITOLI = new TDBNavigator(this);
    DBNavigatorTITOLI->setObjectName(QStringLiteral("DBNavigatorTITOLI"));
    lay->addWidget(DBNavigatorTITOLI);

    eTitolo = new TDBEdit(this);
    eTitolo->setObjectName(QStringLiteral("eTitolo"));
    eTitolo->setToolTip(QStringLiteral("Titolo [max 120 caratteri)"));
    InstallFocusColours(eTitolo);
    lay->addWidget(eTitolo);

    DBGridTITOLI = new TDBGrid(this);
    DBGridTITOLI->setObjectName(QStringLiteral("DBGridTITOLI"));
    placeholder::SetupGrid(DBGridTITOLI);
    DBGridTITOLI->AddColumn(kTitolo, QStringLiteral("Titolo")).Width = 301;
    lay->addWidget(DBGridTITOLI, 1);

    if (dm) {
        DBNavigatorTITOLI->SetDataSet(&dm->TITOLI);
        eTitolo->SetDataSet(&dm->TITOLI);
        eTitolo->SetDataField(kTitolo);
        DBGridTITOLI->SetDataSet(&dm->TITOLI);
        placeholder::GuardPosts(dm->TITOLI, kTitolo, ListTexts());
    }

    connect(DBNavigatorTITOLI, &TDBNavigator::Click, this, [this](TNavigateBtn b) { DBNavigatorTITOLIClick(b); });
    connect(DBGridTITOLI, &TDBGrid::TitleClick, this, [this](int column) { DBGridTITOLITitleClick(column); });
}

void TfTITOLI::DBNavigatorTITOLIClick(TNavigateBtn button)
{
    if (!dm)
        return;
    placeholder::NavigatorClicked(button, dm->TITOLI, kTitolo, ListTexts(), [] { dm->InsertPlaceholderTitolo(); }, DBGridTITOLI);
}

void TfTITOLI::DBGridTITOLITitleClick(int column)
{
    DBGridTITOLI->SortByTitle(column);
}

void TfTITOLI::FormClosed()
{
    if (dm)
        placeholder::ReleasePosts(dm->TITOLI);
    if (fMain)
        SetImageIndex(fMain->bOpenFormTITOLI, 20);
}
