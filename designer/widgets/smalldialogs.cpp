#include "designer/widgets/smalldialogs.h"

#include "designer/core/connstore.h"
#include "platform/rtl/stringlist.h"
#include "platform/ui/services.h"
#include "report/controls/kvldialogcontrol.h"
#include "report/data/kvldataset.h"
#include "report/data/kvldatasetlist.h"
#include "report/document/kvlreport.h"
#include "report/options/kvloptions.h"
#include "report/resources/kvlresources.h"
#include "report/seams/kvldesigner.h"
#include "report/widgets/kvlformutils.h"

#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace {

QString res(const char *Key)
{
    return kvlResources().Get(QLatin1String(Key));
}

// The size the report data dialog had when it last closed (empty: not yet).
QSize reportDataSize;

constexpr int kSourceRole = Qt::UserRole;

} // namespace

// ---- report data -----------------------------------------------------------------------------

TkvlReportDataForm::TkvlReportDataForm(QWidget *Parent, TkvlReport *Report, bool Standalone)
    : QDialog(Parent), FReport(Report), FStandalone(Standalone)
{
    setObjectName(QStringLiteral("kvlReportDataForm"));
    setWindowTitle(kvlGet(Standalone ? 5800 : 2800));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    DatasetsLB = new QListWidget;
    DatasetsLB->setObjectName(QStringLiteral("DatasetsLB"));
    auto *main = new QVBoxLayout(this);
    main->setContentsMargins(4, 4, 4, 4);
    main->addWidget(DatasetsLB);
    main->addLayout(kvlOkCancelRow(this, kvlGet(1), "OKB", kvlGet(2), OKB, CancelB));
    resize(reportDataSize.isValid() ? reportDataSize : QSize(300, 260));
    if (Standalone)
        BuildConnectionList();
    else
        BuildDatasetList();
    // At most one connection ticked.
    connect(DatasetsLB, &QListWidget::itemChanged, this, [this](QListWidgetItem *Item) {
        if (!FStandalone || Item->checkState() != Qt::Checked)
            return;
        const QSignalBlocker block(DatasetsLB);
        for (int i = 0; i < DatasetsLB->count(); ++i)
            if (DatasetsLB->item(i) != Item)
                DatasetsLB->item(i)->setCheckState(Qt::Unchecked);
    });
}

void TkvlReportDataForm::BuildConnectionList()
{
    const QString current = FReport->ReportOptions()->ConnectionName();
    for (const QString &name : kvlConnectionNames()) {
        auto *item = new QListWidgetItem(name, DatasetsLB);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(name.compare(current, Qt::CaseInsensitive) == 0 ? Qt::Checked : Qt::Unchecked);
    }
}

void TkvlReportDataForm::BuildDatasetList()
{
    TkvlReportDataSets *enabled = FReport->EnabledDataSets();
    FSources.clear();
    for (int i = 0; i < enabled->Count(); ++i)
        if (TkvlDataSet *ds = enabled->Items(i)->DataSet())
            FSources.push_back(ds);
    if (FSources.empty()) {
        TStringList list;
        FReport->GetActiveDataSetList(list);
        for (int i = 0; i < list.Count(); ++i)
            if (auto *ds = static_cast<TkvlDataSet *>(list.Objects(i)))
                FSources.push_back(ds);
    }
    std::stable_sort(FSources.begin(), FSources.end(), [](TkvlDataSet *a, TkvlDataSet *b) {
        return a->UserName().compare(b->UserName(), Qt::CaseInsensitive) < 0;
    });
    // Record sources of another report are not offered.
    std::erase_if(FSources, [this](TkvlDataSet *ds) {
        TkvlReport *owner = ds->Report();
        return owner && owner != FReport;
    });
    for (size_t i = 0; i < FSources.size(); ++i) {
        auto *item = new QListWidgetItem(FSources[i]->UserName(), DatasetsLB);
        item->setData(kSourceRole, int(i));
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(FReport->DataSets()->Find(FSources[i]) ? Qt::Checked : Qt::Unchecked);
    }
}

void TkvlReportDataForm::done(int Result)
{
    reportDataSize = size();
    if (Result == QDialog::Accepted) {
        if (FStandalone) {
            FReport->ReportOptions()->SetConnectionName(QString());
            for (int i = 0; i < DatasetsLB->count(); ++i)
                if (DatasetsLB->item(i)->checkState() == Qt::Checked) {
                    FReport->ReportOptions()->SetConnectionName(DatasetsLB->item(i)->text());
                    break;
                }
        } else {
            FReport->DataSets()->Clear();
            for (int i = 0; i < DatasetsLB->count(); ++i)
                if (DatasetsLB->item(i)->checkState() == Qt::Checked)
                    FReport->DataSets()->Add(FSources[size_t(DatasetsLB->item(i)->data(kSourceRole).toInt())]);
        }
    }
    QDialog::done(Result);
}

bool kvlExecuteReportData(QWidget *Parent, TkvlReport *Report, bool Standalone)
{
    TkvlReportDataForm form(Parent, Report, Standalone);
    return form.exec() == QDialog::Accepted;
}

// ---- tab order -------------------------------------------------------------------------------

void kvlSetDialogTabOrder(const std::vector<TkvlDialogControl *> &Controls)
{
    QWidget *prev = nullptr;
    for (TkvlDialogControl *c : Controls) {
        QWidget *w = c->Control();
        if (!w)
            continue;
        if (prev && prev->window() == w->window())
            QWidget::setTabOrder(prev, w);
        prev = w;
    }
}

TkvlTabOrderEditorForm::TkvlTabOrderEditorForm(QWidget *Parent, TkvlCustomDesigner *Designer) : QDialog(Parent)
{
    setObjectName(QStringLiteral("kvlTabOrderEditorForm"));
    setWindowTitle(kvlGet(5400));
    auto *label = new QLabel(kvlGet(5401));
    ControlsLB = new QListWidget;
    ControlsLB->setObjectName(QStringLiteral("ControlsLB"));
    UpB = new QPushButton(kvlGet(5402));
    UpB->setObjectName(QStringLiteral("UpB"));
    UpB->setAutoDefault(false);
    DownB = new QPushButton(kvlGet(5403));
    DownB->setObjectName(QStringLiteral("DownB"));
    DownB->setAutoDefault(false);
    auto *grid = new QGridLayout;
    grid->addWidget(label, 0, 0, 1, 2);
    grid->addWidget(ControlsLB, 1, 0, 3, 1);
    grid->addWidget(UpB, 1, 1);
    grid->addWidget(DownB, 2, 1);
    grid->setRowStretch(3, 1);
    auto *main = new QVBoxLayout(this);
    main->addLayout(grid);
    main->addLayout(kvlOkCancelRow(this, kvlGet(1), "OkB", kvlGet(2), OkB, CancelB));

    if (Designer)
        FParent = !Designer->SelectedObjects.empty() ? Designer->SelectedObjects.front()
                                                      : static_cast<TkvlComponent *>(Designer->Page());
    if (FParent) {
        FOldOrder = FParent->Objects();
        for (TkvlComponent *c : FOldOrder)
            if (auto *dc = rtl_cast<TkvlDialogControl>(c); dc && dc->Control() &&
                                                           dc->Control()->focusPolicy() != Qt::NoFocus) {
                FControls.push_back(dc);
                ControlsLB->addItem(dc->Name() + QStringLiteral(": ") + dc->GetDescription());
            }
    }
    connect(UpB, &QPushButton::clicked, this, [this] { Move(-1); });
    connect(DownB, &QPushButton::clicked, this, [this] { Move(1); });
    resize(360, 300);
}

void TkvlTabOrderEditorForm::Move(int Delta)
{
    const int row = ControlsLB->currentRow();
    const int to = row + Delta;
    if (row < 0 || to < 0 || to >= int(FControls.size()))
        return;
    // The two controls trade places among all the children; other children stay put.
    TkvlDialogControl *a = FControls[size_t(row)], *b = FControls[size_t(to)];
    const int ia = FParent->IndexOfObject(a), ib = FParent->IndexOfObject(b);
    const int lo = std::min(ia, ib), hi = std::max(ia, ib);
    FParent->MoveObject(hi, lo);
    FParent->MoveObject(lo + 1, hi);
    std::swap(FControls[size_t(row)], FControls[size_t(to)]);
    QListWidgetItem *item = ControlsLB->takeItem(row);
    ControlsLB->insertItem(to, item);
    ControlsLB->setCurrentRow(to);
    kvlSetDialogTabOrder(FControls);
}

void TkvlTabOrderEditorForm::done(int Result)
{
    if (Result != QDialog::Accepted && FParent) {
        for (int i = 0; i < int(FOldOrder.size()); ++i)
            FParent->MoveObject(FParent->IndexOfObject(FOldOrder[size_t(i)]), i);
        std::vector<TkvlDialogControl *> old;
        for (TkvlComponent *c : FOldOrder)
            if (std::find(FControls.begin(), FControls.end(), c) != FControls.end())
                old.push_back(static_cast<TkvlDialogControl *>(c));
        kvlSetDialogTabOrder(old);
    }
    QDialog::done(Result);
}

bool kvlExecuteTabOrder(TkvlCustomDesigner *Designer)
{
    TkvlTabOrderEditorForm form(Designer ? Designer->ParentForm : nullptr, Designer);
    const bool ok = form.exec() == QDialog::Accepted;
    if (Designer) {
        if (ok)
            Designer->SetModified(true);
        Designer->ReloadPages(-1);
    }
    return ok;
}

// ---- named connections -----------------------------------------------------------------------

TkvlConnectionItemEdit::TkvlConnectionItemEdit(QWidget *Parent, TkvlReport *Report)
    : QDialog(Parent), FReport(Report)
{
    setObjectName(QStringLiteral("kvlConnectionItemEdit"));
    setWindowTitle(QStringLiteral("Edit connection"));
    NameE = new QLineEdit;
    NameE->setObjectName(QStringLiteral("NameE"));
    ConnE = new QLineEdit;
    ConnE->setObjectName(QStringLiteral("ConnE"));
    ConnB = new QPushButton(QStringLiteral("..."));
    ConnB->setObjectName(QStringLiteral("ConnB"));
    ConnB->setAutoDefault(false);
    ConnB->setFixedWidth(28);
    auto *type = new QGroupBox(QStringLiteral("Connection type"));
    SystemRB = new QRadioButton(QStringLiteral("System connection"));
    SystemRB->setObjectName(QStringLiteral("SystemRB"));
    SystemRB->setChecked(true);
    UserRB = new QRadioButton(QStringLiteral("User connection"));
    UserRB->setObjectName(QStringLiteral("UserRB"));
    auto *tl = new QVBoxLayout(type);
    tl->addWidget(SystemRB);
    tl->addWidget(UserRB);
    auto *grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Connection name ")), 0, 0);
    grid->addWidget(NameE, 0, 1, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Connection string")), 1, 0);
    grid->addWidget(ConnE, 1, 1);
    grid->addWidget(ConnB, 1, 2);
    grid->addWidget(type, 2, 0, 1, 3);
    auto *main = new QVBoxLayout(this);
    main->addLayout(grid);
    main->addLayout(kvlOkCancelRow(this, QStringLiteral("OK"), "OkB", QStringLiteral("Cancel"), OkB, CancelB));
    // Only a name the store can keep is accepted.
    const auto check = [this] { OkB->setEnabled(kvlIsConnectionName(NameE->text())); };
    connect(NameE, &QLineEdit::textChanged, this, check);
    check();
    connect(ConnB, &QPushButton::clicked, this, [this] {
        if (FReport && FReport->OnEditConnection)
            ConnE->setText(FReport->OnEditConnection(ConnE->text()));
    });
    resize(420, 180);
}

TkvlConnEditorForm::TkvlConnEditorForm(QWidget *Parent, TkvlReport *Report) : QDialog(Parent), FReport(Report)
{
    setObjectName(QStringLiteral("kvlConnEditorForm"));
    setWindowTitle(kvlGet(5800));
    ConnLV = new QTreeWidget;
    ConnLV->setObjectName(QStringLiteral("ConnLV"));
    ConnLV->setColumnCount(3);
    ConnLV->setHeaderLabels({res("cpName"), QStringLiteral("Type"), QStringLiteral("Database")});
    ConnLV->setRootIsDecorated(false);
    ConnLV->setAllColumnsShowFocus(true);
    ConnLV->setSelectionBehavior(QAbstractItemView::SelectRows);
    ConnLV->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ConnLV->setColumnWidth(0, 300);
    ConnLV->setColumnWidth(1, 150);
    ConnLV->setStyleSheet(QStringLiteral("QTreeView::item { border-right: 1px solid #d0d0d0; "
                                         "border-bottom: 1px solid #d0d0d0; }"));
    const auto make = [this](const QString &Caption, const char *Name) {
        auto *b = new QPushButton(Caption);
        b->setObjectName(QLatin1String(Name));
        b->setAutoDefault(false);
        return b;
    };
    NewB = make(kvlGet(5801), "NewB");
    EditB = make(kvlGet(132), "EditB");
    DeleteB = make(kvlGet(5802), "DeleteB");
    TestB = make(QStringLiteral("Test"), "TestB");
    OKB = make(res("clClose"), "OKB");
    OKB->setDefault(true);
    auto *buttons = new QVBoxLayout;
    for (QPushButton *b : {NewB, EditB, DeleteB, TestB})
        buttons->addWidget(b);
    buttons->addStretch();
    buttons->addWidget(OKB);
    auto *main = new QHBoxLayout(this);
    main->addWidget(ConnLV, 1);
    main->addLayout(buttons);
    resize(720, 320);

    for (const TkvlConnection &c : kvlReadConnections())
        AddItem(c.Name, c.User, c.ConnString);
    connect(NewB, &QPushButton::clicked, this, [this] { Edit(true); });
    connect(EditB, &QPushButton::clicked, this, [this] { Edit(false); });
    connect(DeleteB, &QPushButton::clicked, this, [this] {
        QTreeWidgetItem *item = ConnLV->currentItem();
        if (!item || !item->isSelected())
            return;
        ui::MessageRequest r;
        r.text = QStringLiteral("Delete connection ") + item->text(0) + QLatin1Char('?');
        r.icon = ui::MsgIcon::Question;
        r.buttons = ui::mbYes | ui::mbNo;
        if (ui::messageBoxes().Show(r) == ui::mbYes)
            delete item;
    });
    connect(OKB, &QPushButton::clicked, this, [this] {
        ConnLV->clearSelection();
        accept();
    });
}

void TkvlConnEditorForm::AddItem(const QString &Name, bool User, const QString &ConnString)
{
    auto *item = new QTreeWidgetItem(ConnLV);
    item->setText(0, Name);
    item->setText(1, User ? QStringLiteral("User") : QStringLiteral("System"));
    item->setText(2, QStringLiteral("ADO Database"));
    item->setData(0, Qt::UserRole, User);
    item->setData(0, Qt::UserRole + 1, ConnString);
    item->setToolTip(0, ConnString);
}

void TkvlConnEditorForm::Edit(bool New)
{
    QTreeWidgetItem *item = New ? nullptr : ConnLV->currentItem();
    if (!New && (!item || !item->isSelected()))
        return;
    TkvlConnectionItemEdit dlg(this, FReport);
    if (item) {
        dlg.NameE->setText(item->text(0));
        (item->data(0, Qt::UserRole).toBool() ? dlg.UserRB : dlg.SystemRB)->setChecked(true);
        dlg.ConnE->setText(item->data(0, Qt::UserRole + 1).toString());
    }
    if (dlg.exec() != QDialog::Accepted)
        return;
    const bool user = dlg.UserRB->isChecked();
    if (!item) {
        AddItem(dlg.NameE->text(), user, dlg.ConnE->text());
        item = ConnLV->topLevelItem(ConnLV->topLevelItemCount() - 1);
    } else {
        item->setText(0, dlg.NameE->text());
        item->setText(1, user ? QStringLiteral("User") : QStringLiteral("System"));
        item->setData(0, Qt::UserRole, user);
        item->setData(0, Qt::UserRole + 1, dlg.ConnE->text());
        item->setToolTip(0, dlg.ConnE->text());
    }
    ConnLV->setCurrentItem(item);
    item->setSelected(true);
}

void TkvlConnEditorForm::keyPressEvent(QKeyEvent *Event)
{
    if (Event->key() == Qt::Key_Escape) {
        OKB->click();
        return;
    }
    QDialog::keyPressEvent(Event);
}

void TkvlConnEditorForm::done(int Result)
{
    if (Result == QDialog::Accepted) {
        std::vector<TkvlConnection> list;
        for (int i = 0; i < ConnLV->topLevelItemCount(); ++i) {
            QTreeWidgetItem *item = ConnLV->topLevelItem(i);
            list.push_back({item->text(0), item->data(0, Qt::UserRole + 1).toString(),
                            item->data(0, Qt::UserRole).toBool()});
        }
        for (const QString &failure : kvlWriteConnections(list)) {
            ui::MessageRequest r;
            r.caption = windowTitle();
            r.text = failure;
            r.icon = ui::MsgIcon::Warning;
            ui::messageBoxes().Show(r);
        }
    }
    QDialog::done(Result);
}

void kvlExecuteConnections(QWidget *Parent, TkvlReport *Report)
{
    TkvlConnEditorForm form(Parent, Report);
    form.exec();
}

// ---- about -----------------------------------------------------------------------------------

TkvlAboutForm::TkvlAboutForm(QWidget *Parent, const TkvlAboutAddresses &Addresses)
    : QDialog(Parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("kvlAboutForm"));
    setWindowTitle(kvlGet(2600));
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);
    auto *bevel = new QFrame;
    bevel->setFrameShape(QFrame::Panel);
    bevel->setFrameShadow(QFrame::Raised);
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(bevel);

    auto *logo = new QLabel;
    QPixmap pm(48, 48);
    pm.fill(QColor(0x80, 0x80, 0x80));
    logo->setPixmap(pm);
    auto *name = new QLabel(QStringLiteral("Korvelle<sup>®</sup>"));
    QFont big = name->font();
    big.setPointSizeF(big.pointSizeF() * 2);
    big.setBold(true);
    name->setFont(big);
    auto *version = new QLabel(QStringLiteral("Version ") + TkvlReport::Version());
    const auto link = [this](const QString &Text, int Tag) {
        auto *l = new QLabel(Text);
        l->setCursor(Qt::PointingHandCursor);
        l->setStyleSheet(QStringLiteral("color: blue; text-decoration: underline;"));
        l->setProperty("tag", Tag);
        l->installEventFilter(this);
        return l;
    };
    WebL = link(Addresses.Web, 1);
    WebL->setObjectName(QStringLiteral("Label5"));
    SalesL = link(Addresses.Sales, 2);
    SalesL->setObjectName(QStringLiteral("Label7"));
    SupportL = link(Addresses.Support, 2);
    SupportL->setObjectName(QStringLiteral("Label9"));
    auto *line = new QFrame;
    line->setFrameShape(QFrame::HLine);
    line->setStyleSheet(QStringLiteral("color: gray;"));
    Button1 = new QPushButton(QStringLiteral("OK"));
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);

    auto *grid = new QGridLayout(bevel);
    grid->setContentsMargins(16, 16, 16, 12);
    grid->addWidget(logo, 0, 0, 2, 1, Qt::AlignTop);
    grid->addWidget(name, 0, 1, 1, 2);
    grid->addWidget(version, 1, 1, 1, 2);
    grid->addWidget(new QLabel(kvlGet(2601)), 2, 1, 1, 2);
    grid->addWidget(WebL, 3, 1, 1, 2);
    grid->addWidget(new QLabel(kvlGet(2602)), 4, 1);
    grid->addWidget(SalesL, 4, 2);
    grid->addWidget(new QLabel(kvlGet(2603)), 5, 1);
    grid->addWidget(SupportL, 5, 2);
    grid->addWidget(line, 6, 0, 1, 3);
    grid->addWidget(Button1, 7, 0, 1, 3, Qt::AlignHCenter);
}

bool TkvlAboutForm::eventFilter(QObject *Watched, QEvent *Event)
{
    if (Event->type() == QEvent::MouseButtonRelease) {
        auto *label = qobject_cast<QLabel *>(Watched);
        if (label && static_cast<QMouseEvent *>(Event)->button() == Qt::LeftButton) {
            const int tag = label->property("tag").toInt();
            ui::shell().OpenUrl(tag == 2 ? QStringLiteral("mailto:") + label->text() : label->text());
            return true;
        }
    }
    return QDialog::eventFilter(Watched, Event);
}

void kvlExecuteAbout(QWidget *Parent, const TkvlAboutAddresses &Addresses)
{
    TkvlAboutForm form(Parent, Addresses);
    form.adjustSize();
    kvlCenterOnScreen(&form, Parent);
    form.exec();
}
