#include "app/fedit.h"

#include "app/dm/dm.h"
#include "app/fmain.h"
#include "app/globals.h"
#include "app/procedures.h"
#include "app/resources/btnlist.h"
#include "app/widgets/colorbox.h"
#include "app/widgets/datepicker.h"
#include "app/widgets/guard.h"
#include "platform/data/valueconv.h"
#include "platform/rtl/datetime.h"
#include "platform/ui/messages.h"

#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QShowEvent>
#include <QTimeEdit>
#include <QToolButton>
#include <QVBoxLayout>
#include <cmath>

const QString TfEDIT::Caption = QStringLiteral(" MODIFICA EVENTO SELEZIONATO");
const QString TfEDIT::Saved = QStringLiteral("...");
const QString TfEDIT::Unsaved = QStringLiteral("Salva modifiche ▼");

namespace {

const QString kFormatError = QStringLiteral("Formato data non valido");
const QString kStartEndText =
    QStringLiteral("Attenzione, la data di inizio non può essere uguale o successiva alla data di fine.");

double DaysOf(const QDate &d)
{
    return double(QDate(1899, 12, 30).daysTo(d));
}

QDate DateOf(double days)
{
    return data::DateTimeFromDays(days).date();
}

// Moments compared to the millisecond, so a value read back from the database equals the
// one that was written.
qint64 Msecs(double days)
{
    return std::llround(days * 86400000.0);
}

QLabel *heading(QWidget *parent, const QString &text)
{
    auto *l = new QLabel(text, parent);
    QFont f = l->font();
    f.setBold(true);
    l->setFont(f);
    return l;
}

QLineEdit *readOnlyField(QWidget *parent, const char *name, const QString &hint)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(QLatin1String(name));
    e->setReadOnly(true);
    e->setToolTip(hint);
    InstallFocusColours(e, true);
    return e;
}

QComboBox *numberList(QWidget *parent, const char *name, int from, int to, int step, const QString &selected,
                      const QString &hint)
{
    auto *cb = new QComboBox(parent);
    cb->setObjectName(QLatin1String(name));
    for (int v = from; v <= to; v += step)
        cb->addItem(QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0')));
    cb->setCurrentText(selected);
    cb->setToolTip(hint);
    InstallFocusColours(cb);
    return cb;
}

QTimeEdit *storedTime(QWidget *parent, const char *name, const QString &hint)
{
    auto *t = new QTimeEdit(parent);
    t->setObjectName(QLatin1String(name));
    t->setDisplayFormat(QStringLiteral("HH:mm"));
    t->setReadOnly(true);
    t->setButtonSymbols(QAbstractSpinBox::NoButtons);
    t->setFrame(true);
    t->setToolTip(hint);
    InstallFocusColours(t, true);
    return t;
}

TDatePickerEdit *datePicker(QWidget *parent, const char *name, const QString &hint)
{
    auto *p = new TDatePickerEdit(parent);
    p->setObjectName(QLatin1String(name));
    p->setToolTip(hint);
    InstallFocusColours(p);
    return p;
}

QPushButton *button(QWidget *parent, const char *name, const QString &caption, const QString &hint, int picture)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    b->setToolTip(hint);
    if (picture >= 0)
        SetImageIndex(b, picture);
    return b;
}

// A button whose caption and arrow both open the same list.
QToolButton *splitButton(QWidget *parent, const char *name, const QString &caption, const QString &hint,
                         QToolButton *&arrow)
{
    auto *b = new QToolButton(parent);
    b->setObjectName(QLatin1String(name));
    b->setText(caption);
    b->setToolTip(hint);
    b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    SetImageIndex(b, 21);
    arrow = new QToolButton(parent);
    arrow->setObjectName(QLatin1String(name) + QStringLiteral("Arrow"));
    arrow->setArrowType(Qt::DownArrow);
    arrow->setToolTip(hint);
    return b;
}

} // namespace

TfEDIT::TfEDIT(QWidget *parent) : TChildWindow(fEDIT, TFormSlot::Edit, parent)
{
    setObjectName(QStringLiteral("fEDIT"));
    setWindowTitle(Caption);
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(368, 461);
    CreateControls();
    if (dm) {
        FEvents = &dm->EVENTS;
        FEvents->AddObserver(this);
    }
    LoadFields();
}

TfEDIT::~TfEDIT()
{
    if (FEvents)
        FEvents->RemoveObserver(this);
}

void TfEDIT::CreateControls()
{
    auto *lay = new QVBoxLayout(this);
    lay->setContentsMargins(6, 4, 6, 4);
    lay->setSpacing(2);

    // title
    {
        auto *row = new QHBoxLayout;
        bGetListCONS = splitButton(this, "bGetListCONS", QStringLiteral("TITOLO"),
                                   QStringLiteral("Seleziona un titolo e aggiorna automaticamente"), bGetListCONSArrow);
        row->addWidget(bGetListCONS);
        row->setSpacing(0);
        row->addWidget(bGetListCONSArrow);
        row->addStretch(1);
        lay->addLayout(row);
        eTITLE = readOnlyField(this, "eTITLE", QStringLiteral("Titolo dell'evento"));
        lay->addWidget(eTITLE);
    }

    auto dateRow = [this, lay](const QString &title, QLabel *&label, TDatePickerEdit *&picker, const char *pickerName,
                               const QString &pickerHint, QTimeEdit *&time, const char *timeName, const QString &timeHint,
                               QComboBox *&hour, const char *hourName, const QString &hourSel, const QString &hourHint,
                               QComboBox *&minute, const char *minName, const QString &minHint, QPushButton *&save,
                               const char *saveName, const QString &saveCaption, const QString &saveHint) {
        auto *head = new QHBoxLayout;
        head->addWidget(heading(this, title));
        head->addStretch(1);
        label = new QLabel(Saved, this);
        head->addWidget(label);
        lay->addLayout(head);
        auto *row = new QHBoxLayout;
        picker = datePicker(this, pickerName, pickerHint);
        time = storedTime(this, timeName, timeHint);
        hour = numberList(this, hourName, 7, 24, 1, hourSel, hourHint);
        minute = numberList(this, minName, 0, 55, 5, QStringLiteral("00"), minHint);
        save = button(this, saveName, saveCaption, saveHint, 2);
        for (QWidget *w : std::initializer_list<QWidget *>{picker, time, hour, minute, save})
            row->addWidget(w);
        lay->addLayout(row);
    };
    dateRow(QStringLiteral(" INIZIO (data/ora)"), labSalvaInizio, StartDataPicker, "StartDataPicker",
            QStringLiteral("Seleziona/inserisci data di inizio evento"), DateTimePickerInizio, "DateTimePickerInizio",
            QStringLiteral("Orario di inizio evento attualmente registrato"), cbOraInizio, "cbOraInizio",
            QStringLiteral("09"), QStringLiteral("Seleziona ora di inizio evento"), cbMinutiInizio, "cbMinutiInizio",
            QStringLiteral("Seleziona minuto di inizio evento"), bSaveStartData, "bSaveStartData",
            QStringLiteral("Inizio"), QStringLiteral("Salva modifiche per data/ora di inizio evento"));
    labSalvaInizio->setObjectName(QStringLiteral("labSalvaInizio"));
    dateRow(QStringLiteral(" FINE (data/ora)"), labSalvaFine, EndDataPicker, "EndDataPicker",
            QStringLiteral("Seleziona/inserisci data di fine evento"), DateTimePickerFine, "DateTimePickerFine",
            QStringLiteral("Orario di fine evento attualmente registrato"), cbOraFine, "cbOraFine", QStringLiteral("12"),
            QStringLiteral("Seleziona ora di fine evento"), cbMinutiFine, "cbMinutiFine",
            QStringLiteral("Seleziona minuto di fine evento"), bSaveEndData, "bSaveEndData", QStringLiteral("Fine"),
            QStringLiteral("Salva modifiche per data/ora di fine evento"));
    labSalvaFine->setObjectName(QStringLiteral("labSalvaFine"));

    // site
    {
        auto *row = new QHBoxLayout;
        bGetListSEDI = splitButton(this, "bGetListSEDI", QStringLiteral("SEDE"),
                                   QStringLiteral("Seleziona una sede e aggiorna automaticamente"), bGetListSEDIArrow);
        row->setSpacing(0);
        row->addWidget(bGetListSEDI);
        row->addWidget(bGetListSEDIArrow);
        row->addStretch(1);
        lay->addLayout(row);
        eSede = readOnlyField(this, "eSede", QStringLiteral("Sede dell'evento"));
        lay->addWidget(eSede);
    }

    // colour
    {
        lay->addWidget(heading(this, QStringLiteral(" COLORE")));
        auto *row = new QHBoxLayout;
        eColor = readOnlyField(this, "eColor", QStringLiteral("Colore dell'evento"));
        ColorBox = new TColorBox(this);
        ColorBox->setObjectName(QStringLiteral("ColorBox"));
        ColorBox->setToolTip(QStringLiteral("Seleziona un colore e aggiorna automaticamente"));
        ColorBox->FillEventPalette();
        ColorBox->setMaxVisibleItems(10);
        ColorBox->setCurrentIndex(-1);
        row->addWidget(eColor);
        row->addWidget(ColorBox, 1);
        row->addWidget(new QLabel(QStringLiteral("< seleziona un colore"), this));
        lay->addLayout(row);
    }

    // duplicate
    {
        lay->addWidget(heading(this, QStringLiteral(" DUPLICA EVENTO CON UNA NUOVA DATA")));
        auto *row = new QHBoxLayout;
        row->setSpacing(1);
        DataDaDuplicarePicker = datePicker(this, "DataDaDuplicarePicker",
                                           QStringLiteral("Seleziona la data di inizio su cui duplicare l'evento"));
        row->addWidget(DataDaDuplicarePicker);
        for (int tag = 1; tag <= 7; ++tag) {
            const QString hint = tag == 1 ? QStringLiteral("Aggiungi 1 giorno alla data di inizio")
                                          : QStringLiteral("Aggiungi %1 giorni alla data di inizio").arg(tag);
            QPushButton *b = button(this, "", QString::number(tag), hint, -1);
            b->setObjectName(QStringLiteral("bIncDay%1").arg(tag));
            b->setProperty("Tag", tag);
            b->setFixedWidth(20);
            connect(b, &QPushButton::clicked, this, [this, tag] { bIncDayClick(tag); });
            bIncDay[tag - 1] = b;
            row->addWidget(b);
        }
        bDuplicaEvento = button(this, "bDuplicaEvento", QStringLiteral("Duplica"),
                                QStringLiteral("Duplica l'evento e lo inserisce con la nuova data"), 32);
        row->addWidget(bDuplicaEvento);
        lay->addLayout(row);
    }

    // archive
    {
        lay->addWidget(heading(this, QStringLiteral(" ARCHIVIA EVENTO o ANNULLA ARCHIVIAZIONE")));
        auto *row = new QHBoxLayout;
        eARC = readOnlyField(this, "eARC", QStringLiteral("Evento archiviato = X"));
        eARC->setFixedWidth(30);
        bArchivia = button(this, "bArchivia", QStringLiteral("Archivia"), QStringLiteral("Archivia evento = X"), 30);
        bAnnullaArchiviazione = button(this, "bAnnullaArchiviazione", QStringLiteral("Annulla"),
                                       QStringLiteral("Annulla archiviazione"), 31);
        ID = readOnlyField(this, "ID", QStringLiteral("ID dell'evento selezionato"));
        for (QWidget *w : std::initializer_list<QWidget *>{eARC, bArchivia, bAnnullaArchiviazione, ID})
            row->addWidget(w);
        lay->addLayout(row);
    }
    lay->addStretch(1);

    connect(StartDataPicker, &QDateEdit::dateChanged, this, [this] { StartDataPickerChange(); });
    connect(EndDataPicker, &QDateEdit::dateChanged, this, [this] { EndDataPickerChange(); });
    for (QComboBox *cb : {cbOraInizio, cbMinutiInizio})
        connect(cb, &QComboBox::currentIndexChanged, this, [this] { labSalvaInizio->setText(Unsaved); });
    for (QComboBox *cb : {cbOraFine, cbMinutiFine})
        connect(cb, &QComboBox::currentIndexChanged, this, [this] { labSalvaFine->setText(Unsaved); });
    connect(bSaveStartData, &QPushButton::clicked, this, [this] { RunGuarded([this] { bSaveStartDataClick(); }); });
    connect(bSaveEndData, &QPushButton::clicked, this, [this] { RunGuarded([this] { bSaveEndDataClick(); }); });
    connect(bDuplicaEvento, &QPushButton::clicked, this, [this] { RunGuarded([this] { bDuplicaEventoClick(); }); });
    connect(bArchivia, &QPushButton::clicked, this, [this] { RunGuarded([this] { bArchiviaClick(); }); });
    connect(bAnnullaArchiviazione, &QPushButton::clicked, this,
            [this] { RunGuarded([this] { bAnnullaArchiviazioneClick(); }); });
    for (QToolButton *b : {bGetListCONS, bGetListCONSArrow})
        connect(b, &QToolButton::clicked, this, [this] { RunGuarded([this] { bGetListTITOLIClick(); }); });
    for (QToolButton *b : {bGetListSEDI, bGetListSEDIArrow})
        connect(b, &QToolButton::clicked, this, [this] { RunGuarded([this] { bGetListSEDIClick(); }); });
    connect(ColorBox, &TColorBox::Click, this, [this] { ColorBoxClick(); });
}

// ---------------------------------------------------------------- showing, closing, following

void TfEDIT::showEvent(QShowEvent *e)
{
    TChildWindow::showEvent(e);
    if (e->spontaneous() || FShown)
        return;
    FShown = true;
    FollowCurrentRow();
}

void TfEDIT::FormClosed()
{
    // Ends the connection's open transaction, as the main window's "Ricarica" does.
    if (dm && dm->Conn.Connected())
        RunGuarded([] { dm->Conn.Reconnect(); });
}

void TfEDIT::FollowCurrentRow()
{
    if (!FEvents || !FEvents->Active() || FEvents->IsEmpty())
        return;
    const double start = StoredValue("START_EVENT");
    const double end = StoredValue("END_EVENT");
    // Each setting runs its change handling as a user's would; the labels are reset after.
    StartDataPicker->SetDate(DateOf(start));
    EndDataPicker->SetDate(DateOf(end));
    DataDaDuplicarePicker->SetDate(DateOf(start));
    labSalvaInizio->setText(Saved);
    labSalvaFine->setText(Saved);
}

void TfEDIT::LoadFields()
{
    const bool row = FEvents && FEvents->Active() && !FEvents->IsEmpty();
    auto text = [&](const char *field) {
        if (!row)
            return QString();
        const TField *f = FEvents->FindField(QLatin1String(field));
        return f ? f->AsString() : QString();
    };
    eTITLE->setText(text("TITLE"));
    eSede->setText(text("SEDE"));
    eColor->setText(text("COLOR"));
    eARC->setText(text("ARC"));
    ID->setText(text("ID"));
    // A text longer than its field shows its beginning.
    for (QLineEdit *e : {eTITLE, eSede, eColor, eARC, ID})
        e->setCursorPosition(0);
    auto time = [&](QTimeEdit *t, const char *field) {
        const TField *f = row ? FEvents->FindField(QLatin1String(field)) : nullptr;
        t->setTime(f && !f->IsNull() ? data::DateTimeFromDays(f->AsDateTime()).time() : QTime(0, 0));
    };
    time(DateTimePickerInizio, "START_EVENT");
    time(DateTimePickerFine, "END_EVENT");
}

void TfEDIT::DataSetBeforeClose(TDataSet &)
{
    for (QLineEdit *e : {eTITLE, eSede, eColor, eARC, ID})
        e->clear();
}

void TfEDIT::DataSetDestroying(TDataSet &)
{
    FEvents = nullptr;
}

// ---------------------------------------------------------------- marking changes

void TfEDIT::StartDataPickerChange()
{
    EndDataPicker->SetDate(StartDataPicker->Date());
    labSalvaInizio->setText(Unsaved);
}

void TfEDIT::EndDataPickerChange()
{
    if (FRevertingEnd)
        return;
    const QDate start = StartDataPicker->Date();
    const QDate end = EndDataPicker->Date();
    if (start.isValid() && end.isValid() && start > end) {
        FRevertingEnd = true;
        if (FEvents && FEvents->Active() && !FEvents->IsEmpty())
            EndDataPicker->SetDate(DateOf(StoredValue("END_EVENT")));
        FRevertingEnd = false;
        ui::ErrorBox(QStringLiteral("verifica data di fine"),
                     QStringLiteral("Attenzione, la data di fine evento non può essere precedente alla data di inizio."));
    }
    labSalvaFine->setText(Unsaved);
}

// ---------------------------------------------------------------- the current event

bool TfEDIT::CurrentEvent(int &id)
{
    if (!FEvents || !FEvents->Active())
        return false;
    // A row half-edited through the navigator is dropped: the editor writes to the database.
    if (FEvents->State() != TDataSetState::dsBrowse)
        FEvents->Cancel();
    if (FEvents->IsEmpty())
        return false;
    const TField *f = FEvents->FieldByName(QStringLiteral("ID"));
    if (f->IsNull())
        return false;
    id = f->AsInteger();
    return true;
}

double TfEDIT::StoredValue(const char *field) const
{
    return FEvents->FieldByName(QLatin1String(field))->AsDateTime();
}

namespace {

std::optional<double> Moment(const TDatePickerEdit *picker, const QComboBox *hour, const QComboBox *minute)
{
    const QDate d = picker->Date();
    bool okH = false, okM = false;
    const int h = hour->currentText().toInt(&okH);
    const int m = minute->currentText().toInt(&okM);
    if (!d.isValid() || !okH || !okM)
        return std::nullopt;
    const auto t = rtl::TryEncodeTime(h, m, 0, 0);
    if (!t)
        return std::nullopt;
    return DaysOf(d) + *t;
}

} // namespace

std::optional<double> TfEDIT::StartValue() const
{
    return Moment(StartDataPicker, cbOraInizio, cbMinutiInizio);
}

std::optional<double> TfEDIT::EndValue() const
{
    return Moment(EndDataPicker, cbOraFine, cbMinutiFine);
}

void TfEDIT::RefreshEvents(bool count)
{
    if (!dm)
        return;
    RunGuarded([&] {
        dm->EVENTS.Refresh();
        if (count && fMain)
            fMain->ContaEventi();
    });
}

// ---------------------------------------------------------------- start and end

void TfEDIT::SaveSide(bool start)
{
    int id = 0;
    if (!CurrentEvent(id))
        return;
    const QString topic = start ? QStringLiteral("verifica data di inizio") : QStringLiteral("verifica data di fine evento");
    // The other side counts with what its controls say when they hold unsaved changes; both are
    // then written together.
    QLabel *otherLabel = start ? labSalvaFine : labSalvaInizio;
    const bool otherPending = otherLabel->text() == Unsaved;
    const std::optional<double> mine = start ? StartValue() : EndValue();
    std::optional<double> other;
    if (otherPending)
        other = start ? EndValue() : StartValue();
    else
        other = StoredValue(start ? "END_EVENT" : "START_EVENT");
    if (!mine || !other) {
        ui::ShowMessage(kFormatError);
        return;
    }
    const double s = start ? *mine : *other;
    const double e = start ? *other : *mine;
    if (Msecs(s) >= Msecs(e)) {
        ui::ErrorBox(topic, kStartEndText);
        return;
    }
    const bool writeStart = start || otherPending;
    const bool writeEnd = !start || otherPending;
    try {
        dm->SaveEventPeriod(id, writeStart ? std::optional<double>(s) : std::nullopt,
                            writeEnd ? std::optional<double>(e) : std::nullopt);
    } catch (...) {
        ShowCurrentErrorMessage();
        return;
    }
    if (writeStart)
        labSalvaInizio->setText(Saved);
    if (writeEnd)
        labSalvaFine->setText(Saved);
    RefreshEvents(false);
}

void TfEDIT::bSaveStartDataClick()
{
    SaveSide(true);
}

void TfEDIT::bSaveEndDataClick()
{
    SaveSide(false);
}

// ---------------------------------------------------------------- duplicate

void TfEDIT::bIncDayClick(int tag)
{
    const QDate start = StartDataPicker->Date();
    if (!start.isValid())
        return;
    DataDaDuplicarePicker->SetDate(tag >= 1 && tag <= 7 ? start.addDays(tag) : start);
}

void TfEDIT::bDuplicaEventoClick()
{
    int id = 0;
    if (!CurrentEvent(id))
        return;
    const QDate day = DataDaDuplicarePicker->Date();
    if (!day.isValid()) {
        ui::ShowMessage(kFormatError);
        return;
    }
    if (day == StartDataPicker->Date()) {
        ui::ErrorBox(QStringLiteral("verifica data da duplicare"),
                     QStringLiteral("Attenzione, hai scelto una data da duplicare identica a quella di inizio già esistente."));
        return;
    }
    const QString dayText = rtl::DateToStr(DaysOf(day));
    if (!ui::ConfirmBox(QStringLiteral("conferma duplicazione evento"),
                        QStringLiteral("Duplicare l'evento corrente con la data del ") + dayText + QStringLiteral(" ?")))
        return;
    try {
        const double start = StoredValue("START_EVENT");
        const double end = StoredValue("END_EVENT");
        // Same time of day on the new date, same length: an event past midnight stays so.
        const double newStart = DaysOf(day) + (start - std::floor(start));
        const double newEnd = newStart + (end - start);
        auto text = [&](const char *field) { return FEvents->FieldByName(QLatin1String(field))->AsString(); };
        dm->InsertEvent(text("TITLE"), newStart, newEnd, text("SEDE"), text("COLOR"));
        dm->EVENTS.Open(dmsql::EventsNewestFirst);
        if (fMain)
            fMain->ContaEventi();
        // The copy is the current event now: its dates, not the original's, and nothing pending.
        FollowCurrentRow();
    } catch (...) {
        ShowCurrentErrorMessage();
    }
}

// ---------------------------------------------------------------- archive

void TfEDIT::bArchiviaClick()
{
    int id = 0;
    if (!CurrentEvent(id))
        return;
    try {
        dm->SaveEventArchived(id, true);
    } catch (...) {
        ShowCurrentErrorMessage();
        return;
    }
    RefreshEvents(true);
}

void TfEDIT::bAnnullaArchiviazioneClick()
{
    int id = 0;
    if (!CurrentEvent(id))
        return;
    try {
        dm->SaveEventArchived(id, false);
    } catch (...) {
        ShowCurrentErrorMessage();
        return;
    }
    RefreshEvents(true);
}

// ---------------------------------------------------------------- titles, sites, colour

void TfEDIT::ShowList(QToolButton *button, bool titles)
{
    if (!dm || !(titles ? dm->TITOLI.Active() : dm->SEDI.Active()))
        return;
    const QStringList values = titles ? dm->TitleList() : dm->SedeList();
    if (values.isEmpty())
        return;
    delete PopupMenu;
    PopupMenu = new QMenu(this);
    for (const QString &v : values) {
        QAction *a = AddValueAction(PopupMenu, v);
        SetImageIndex(a, 2);
        if (titles)
            connect(a, &QAction::triggered, this, [this, a] { OnClickInserisciTITLEHandler(a); });
        else
            connect(a, &QAction::triggered, this, [this, a] { OnClickInserisciSEDEHandler(a); });
    }
    PopupMenu->popup(button->mapToGlobal(QPoint(0, button->height())));
}

void TfEDIT::bGetListTITOLIClick()
{
    ShowList(bGetListCONS, true);
}

void TfEDIT::bGetListSEDIClick()
{
    ShowList(bGetListSEDI, false);
}

void TfEDIT::OnClickInserisciTITLEHandler(QAction *item)
{
    int id = 0;
    if (!dm || !CurrentEvent(id))
        return;
    const QString title = ActionValue(item);
    try {
        dm->TITOLI.Open(dmsql::Titoli);
        dm->SaveEventTitle(id, title);
        dm->EVENTS.Refresh();
    } catch (...) {
        ShowCurrentErrorMessage();
    }
}

void TfEDIT::OnClickInserisciSEDEHandler(QAction *item)
{
    int id = 0;
    if (!dm || !CurrentEvent(id))
        return;
    const QString sede = ActionValue(item);
    try {
        dm->SEDI.Open(dmsql::Sedi);
        // Looked up through the scratch query, so the sites query keeps listing every site.
        const QString color = dm->SedeColor(sede);
        dm->SaveEventSede(id, sede, color);
        dm->EVENTS.Refresh();
    } catch (...) {
        ShowCurrentErrorMessage();
    }
}

void TfEDIT::ColorBoxClick()
{
    const TColor color = ColorBox->Selected();
    int id = 0;
    if (color == clNone || !CurrentEvent(id))
        return;
    try {
        dm->SaveEventColor(id, ColorToHex(color));
        dm->EVENTS.Refresh();
    } catch (...) {
        ShowCurrentErrorMessage();
    }
}
