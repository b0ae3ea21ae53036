#include "app/farc.h"

#include "app/dm/dm.h"
#include "app/fmain.h"
#include "app/globals.h"
#include "app/procedures.h"
#include "app/resources/btnlist.h"
#include "app/widgets/dbedit.h"
#include "app/widgets/dbgrid.h"
#include "app/widgets/makebutton.h"
#include "app/widgets/guard.h"
#include "platform/ui/messages.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace {

const QString kID = QStringLiteral("ID");

} // namespace

TfARC::TfARC(QWidget *parent) : TChildWindow(fARC, TFormSlot::Arc, parent)
{
    setObjectName(QStringLiteral("fARC"));
    setWindowTitle(QStringLiteral("EVENTI ARCHIVIATI"));
    setMinimumSize(600, 122);

    auto *lay = new QVBoxLayout(this);
    lay->setContentsMargins(0, 0, 0, 0);
    lay->setSpacing(0);

    Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    auto *top = new QHBoxLayout(Panel1);
    top->setContentsMargins(4, 4, 4, 4);

    bAutoSizeDBGrid_ARC = MakeButton(Panel1, "bAutoSizeDBGrid_ARC", QStringLiteral("|=|"),
                                     QStringLiteral("Adatta larghezza colonne"));
    bAutoSizeDBGrid_ARC->setFixedWidth(32);

    auto *arcEdit = new TDBEdit(Panel1);
    arcEdit->setReadOnly(true);
    arcEdit->setFixedWidth(30);
    arcEdit->setAlignment(Qt::AlignCenter);
    eARC = arcEdit;
    eARC->setObjectName(QStringLiteral("eARC"));
    eARC->setToolTip(QStringLiteral("Evento archiviato = X"));
    InstallFocusColours(eARC, true);

    bAnnullaArchiviazione = MakeButton(Panel1, "bAnnullaArchiviazione", QStringLiteral("Annulla archiviazione"),
                                       QStringLiteral("Annulla l'archiviazione del singolo evento selezionato"), 31);
    cbToggleTuttiSelArc = new QCheckBox(QStringLiteral("Tutti"), Panel1);
    cbToggleTuttiSelArc->setObjectName(QStringLiteral("cbToggleTuttiSelArc"));
    cbToggleTuttiSelArc->setToolTip(QStringLiteral("Seleziona/deseleziona tutti gli eventi in tabella"));
    LabCountArc = new QLabel(QStringLiteral("..."), Panel1);
    LabCountArc->setObjectName(QStringLiteral("LabCountArc"));
    LabCountArc->setToolTip(QStringLiteral("Numero di eventi archiviati"));
    bEliminaEventiSelezionati = MakeButton(Panel1, "bEliminaEventiSelezionati", QStringLiteral("Elimina"),
                                           QStringLiteral("Elimina definitivamente gli eventi selezionati"), 15);
    for (QWidget *w : std::initializer_list<QWidget *>{bAutoSizeDBGrid_ARC, eARC, bAnnullaArchiviazione,
                                                       cbToggleTuttiSelArc, LabCountArc, bEliminaEventiSelezionati})
        top->addWidget(w);
    top->addStretch(1);
    lay->addWidget(Panel1);

    DBGridEVENTS_ARC = new TDBGrid(this);
    DBGridEVENTS_ARC->setObjectName(QStringLiteral("DBGridEVENTS_ARC"));
    QFont f(QStringLiteral("Tahoma"));
    f.setPixelSize(13);
    DBGridEVENTS_ARC->setFont(f);
    DBGridEVENTS_ARC->SetMultiSelect(true);
    const Qt::Alignment centre = Qt::AlignHCenter | Qt::AlignVCenter;
    DBGridEVENTS_ARC->AddColumn(kID);
    DBGridEVENTS_ARC->AddColumn(QStringLiteral("TITLE"), QStringLiteral("Titolo"));
    DBGridEVENTS_ARC->AddColumn(QStringLiteral("START_EVENT"), QStringLiteral("Inizio"));
    DBGridEVENTS_ARC->AddColumn(QStringLiteral("END_EVENT"), QStringLiteral("Fine"));
    DBGridEVENTS_ARC->AddColumn(QStringLiteral("SEDE"), QStringLiteral("Sede"));
    DBGridEVENTS_ARC->AddColumn(QStringLiteral("ARC"), QStringLiteral("Arc.")).TitleAlignment = centre;
    lay->addWidget(DBGridEVENTS_ARC, 1);

    if (dm) {
        DBGridEVENTS_ARC->SetDataSet(&dm->EVENTS);
        arcEdit->SetDataSet(&dm->EVENTS);
        arcEdit->SetDataField(QStringLiteral("ARC"));
    }

    connect(bAutoSizeDBGrid_ARC, &QPushButton::clicked, this, [this] { bAutoSizeDBGrid_ARCClick(); });
    connect(bAnnullaArchiviazione, &QPushButton::clicked, this, [this] { bAnnullaArchiviazioneClick(); });
    connect(bEliminaEventiSelezionati, &QPushButton::clicked, this, [this] { bEliminaEventiSelezionatiClick(); });
    connect(cbToggleTuttiSelArc, &QCheckBox::clicked, this, [this] { cbToggleTuttiSelArcClick(); });
    connect(DBGridEVENTS_ARC, &TDBGrid::TitleClick, this, [this](int column) { DBGridEVENTS_ARCTitleClick(column); });
}

void TfARC::showEvent(QShowEvent *e)
{
    TChildWindow::showEvent(e);
    if (e->spontaneous() || FShown)
        return;
    FShown = true;
    FormShow();
}

void TfARC::resizeEvent(QResizeEvent *e)
{
    TChildWindow::resizeEvent(e);
    // From the new width, as the main grid does.
    bAutoSizeDBGrid_ARCClick();
}

void TfARC::FormShow()
{
    if (!dm)
        return;
    RunGuarded([this] {
        dm->EVENTS.Open(dmsql::EventsArchived);
        ContaEventiArc();
    });
    bAutoSizeDBGrid_ARCClick();
}

int TfARC::ContaEventiArc()
{
    int n = 0;
    if (dm) {
        TQuery &q = dm->EVENTS;
        q.Open(dmsql::EventsArchived);
        n = q.RecordCount();
        q.First();
    }
    LabCountArc->setText(QString::number(n));
    return n;
}

void TfARC::bAutoSizeDBGrid_ARCClick()
{
    const int outer = width() + (frameGeometry().width() - geometry().width());
    const int widths[] = {50, outer - 549, 134, 134, 104, 30};
    for (int i = 0; i < 6; ++i)
        DBGridEVENTS_ARC->SetColumnWidth(i, widths[i]);
}

void TfARC::DBGridEVENTS_ARCTitleClick(int column)
{
    DBGridEVENTS_ARC->SortByTitle(column);
}

void TfARC::cbToggleTuttiSelArcClick()
{
    TDataSet *ds = DBGridEVENTS_ARC->DataSet();
    if (!ds || !ds->Active())
        return;
    ds->DisableControls();
    if (DBGridEVENTS_ARC->SelectedCount() > 0)
        DBGridEVENTS_ARC->ClearSelection();
    else
        DBGridEVENTS_ARC->SelectAllRows();
    ds->EnableControls();
}

void TfARC::ActOnSelection(const QString &confirmTopic, const QString &confirmText, const std::function<void(const QList<int> &)> &action)
{
    if (!dm)
        return;
    QList<TBookmark> rows = DBGridEVENTS_ARC->SelectedRows();
    // With no row marked, the highlighted one is the selection.
    const TDataSet *ds = DBGridEVENTS_ARC->DataSet();
    if (rows.isEmpty() && ds && ds->Active() && !ds->IsEmpty())
        rows.append(ds->BookmarkAt(ds->CurrentRow()));
    if (rows.isEmpty()) {
        ui::WarningBox(QStringLiteral("verifica eventi selezionati"), QStringLiteral("Seleziona uno o più eventi."));
        return;
    }
    if (!ui::ConfirmBox(confirmTopic, confirmText))
        return;
    TQuery &q = dm->EVENTS;
    std::exception_ptr error;
    try {
        // One transaction for the whole selection: all rows change or none.
        QList<int> ids;
        ids.reserve(rows.size());
        for (const TBookmark bm : rows) {
            q.GotoBookmark(bm);
            ids.append(q.FieldByName(kID)->AsInteger());
        }
        action(ids);
    } catch (...) {
        error = std::current_exception();
    }
    // Whatever happened, the grid shows what the database now holds.
    RunGuarded([this, &q] {
        DBGridEVENTS_ARC->ClearSelection();
        q.Refresh();
        ContaEventiArc();
        if (fMain)
            fMain->ContaEventi();
    });
    if (error) {
        try {
            std::rethrow_exception(error);
        } catch (...) {
            ShowCurrentException();
        }
    }
}

void TfARC::bAnnullaArchiviazioneClick()
{
    ActOnSelection(QStringLiteral("conferma annullamento archiviazione eventi"),
                    QStringLiteral("Annullare l'archiviazione di tutti gli eventi selezionati?"),
                    [](const QList<int> &ids) { dm->UnarchiveArchivedEvents(ids); });
}

void TfARC::bEliminaEventiSelezionatiClick()
{
    ActOnSelection(QStringLiteral("conferma eliminazione eventi"), QStringLiteral("Eliminare tutti gli eventi selezionati?"),
                    [](const QList<int> &ids) { dm->DeleteArchivedEvents(ids); });
}

void TfARC::FormClosed()
{
    if (dm && dm->Conn.Connected()) {
        try {
            dm->EVENTS.Open(dmsql::EventsNotArchived);
        } catch (...) {
            ShowCurrentException();
        }
        if (fMain)
            fMain->ContaEventi();
    }
    if (fMain)
        SetImageIndex(fMain->bOpenFormARC, 20);
}
