#include "designer/widgets/stdwizardform.h"

#include "platform/gfx/paintercanvas.h"
#include "platform/rtl/stringlist.h"
#include "report/data/kvldbdataset.h"
#include "report/document/kvlreport.h"
#include "report/memo/kvlmemo.h"
#include "report/pages/kvlreportpage.h"
#include "report/resources/kvlresources.h"
#include "report/seams/kvldesigner.h"
#include "report/styles/kvlstyles.h"
#include "report/widgets/kvlformutils.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace {

QString cap(int Id)
{
    return kvlGet(Id);
}

// Sample memos: position, size, text and style.
struct SampleMemo {
    double l, t, w, h;
    const char *text;
    const char *style;
    bool centre = false;
};

void fillSample(TkvlReport &Report, std::initializer_list<SampleMemo> Memos)
{
    Report.Clear();
    auto *page = new TkvlReportPage(&Report);
    for (const SampleMemo &s : Memos) {
        auto *m = new TkvlMemoView(page);
        m->SetBounds(s.l, s.t, s.w, s.h);
        m->SetText(QString::fromUtf8(s.text));
        m->SetStyle(QString::fromUtf8(s.style));
        if (s.centre) {
            m->HAlign = haCenter;
            m->VAlign = vaCenter;
        }
    }
}

void loadStyleSample(TkvlReport &Report)
{
    SampleMemo g{0, 60.47248, 264.5671, 26.45671, "Alfa Trasporti", "Group header"};
    fillSample(Report, {{0, 0, 439.65337, 26, "Customers", "Title", true},
                        {0, 36, 253, 20, "", "Header line"},
                        {0, 36, 126.96846, 20, "Company", "Header"},
                        {137.74799, 36, 126.2047, 20, "Address", "Header"},
                        g,
                        {0, 92, 126.96846, 20, "Alfa Trasporti", "Data"},
                        {137.74799, 92, 126.2047, 20, "Via Roma 12", "Data"},
                        {0, 112, 126.96846, 20, "Alfa Trasporti", "Data"},
                        {137.74799, 112, 126.2047, 20, "Corso Italia 3", "Data"},
                        {0, 132, 126.96846, 20, "Alfa Trasporti", "Data"},
                        {137.74799, 132, 126.2047, 20, "Piazza Duomo 1", "Data"},
                        {0, 157.98423, 264.47248, 18, "Count: 3", "Group footer"}});
    if (auto *page = Report.ObjectCount() ? Report.Object(0) : nullptr)
        if (auto *m = rtl_cast<TkvlCustomMemoView>(page->Object(4)))
            m->VAlign = vaCenter;
}

void loadLayoutSample(TkvlReport &Report, bool Columnar)
{
    const double row = 18.89765;
    if (!Columnar) {
        static const char *const rows[6][2] = {{"Alfa Trasporti", "Via Roma 12"},    {"Bora Vetri", "Via Po 8"},
                                              {"Cima Legnami", "Corso Italia 3"}, {"Delta Tessuti", "Viale Monza 40"},
                                              {"Eco Ferramenta", "Via Dante 5"},  {"Faro Ottica", "Piazza Duomo 1"}};
        fillSample(Report, {{0, 0, 338.1107, 22.67718, "Report", "Title", true},
                            {0, 26.45671, 151.1812, 22.67718, "Company", "Header"},
                            {151.1812, 26.45671, 139.84261, 22.67718, "Address", "Header"}});
        TkvlComponent *page = Report.Object(0);
        for (int i = 0; i < 6; ++i)
            for (int c = 0; c < 2; ++c) {
                auto *m = new TkvlMemoView(page);
                m->SetBounds(c ? 151.1812 : 0, 49.13389 + i * row, c ? 139.84261 : 151.1812, row);
                m->SetText(QString::fromUtf8(rows[i][c]));
                m->SetStyle(QStringLiteral("Data"));
            }
        return;
    }
    fillSample(Report, {{0, 0, 338.1107, 22.67718, "Report", "Title", true},
                        {0, 26.45671, 64, row, "Company", "Header"},
                        {82.89765, 26.45671, 225, row, "Alfa Trasporti", "Data"},
                        {0, 45.35436, 64, row, "Address", "Header"},
                        {82.89765, 45.35436, 225, row, "Via Roma 12", "Data"},
                        {0, 64.25201, 64, row, "Phone", "Header"},
                        {82.89765, 64.25201, 114, row, "02 1234567", "Data"},
                        {0, 83.14966, 64, row, "FAX", "Header"},
                        {82.89765, 83.14966, 114, row, "02 1234568", "Data"},
                        {0, 120.94496, 64, row, "Company", "Header"},
                        {82.89765, 120.94496, 225, row, "Bora Vetri", "Data"},
                        {0, 139.84261, 64, row, "Address", "Header"},
                        {82.89765, 139.84261, 225, row, "Via Po 8", "Data"},
                        {0, 158.74026, 64, row, "Phone", "Header"},
                        {82.89765, 158.74026, 114, row, "011 765432", "Data"}});
}

QListWidget *multiList()
{
    auto *l = new QListWidget;
    l->setSelectionMode(QAbstractItemView::ExtendedSelection);
    return l;
}

std::vector<int> selectedRows(const QListWidget *List)
{
    std::vector<int> rows;
    for (int i = 0; i < List->count(); ++i)
        if (List->item(i)->isSelected())
            rows.push_back(i);
    return rows;
}

void showList(QListWidget *List, const QStringList &Items, int Current)
{
    List->clear();
    List->addItems(Items);
    if (Current >= 0 && Current < List->count()) {
        List->setCurrentRow(Current);
        List->item(Current)->setSelected(true);
    }
}

QPushButton *button(const QString &Caption, const char *Name)
{
    auto *b = new QPushButton(Caption);
    b->setObjectName(QLatin1String(Name));
    b->setAutoDefault(false);
    return b;
}

} // namespace

// A sample report drawn at scale 1, 10 pixels in, on a window-coloured box.
class TkvlStdWizardForm::SampleBox : public QWidget {
public:
    explicit SampleBox(TkvlReport *Report) : FReport(Report) { setMinimumSize(460, 200); }
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.setPen(Qt::black);
        p.setBrush(palette().color(QPalette::Base));
        p.drawRect(rect().adjusted(0, 0, -1, -1));
        if (!FReport->ObjectCount())
            return;
        gfx::PainterCanvas canvas(&p, 96, 96);
        for (TkvlComponent *c : FReport->Object(0)->Objects())
            if (auto *m = rtl_cast<TkvlCustomMemoView>(c))
                m->Draw(&canvas, 1, 1, 10, 10);
    }

private:
    TkvlReport *FReport;
};

TkvlStdWizardForm::TkvlStdWizardForm(QWidget *Parent, TkvlCustomDesigner *Designer, TkvlReport *Report,
                                     bool DotMatrix, const QString &ProgramFolder)
    : QDialog(Parent), FDesigner(Designer), FReport(Report), FDotMatrix(DotMatrix),
      FStyleSheet(std::make_unique<TkvlStyleSheet>()), FStyleReport(std::make_unique<TkvlReport>(nullptr)),
      FLayoutReport(std::make_unique<TkvlReport>(nullptr))
{
    kvlLoadWizardStyleSheet(*FStyleSheet, ProgramFolder);
    loadStyleSample(*FStyleReport);

    setObjectName(QStringLiteral("kvlStdWizardForm"));
    setWindowTitle(cap(5600));
    Pages = new QTabWidget;
    Pages->setObjectName(QStringLiteral("Pages"));

    // Step 1.
    auto *dataTab = new QWidget;
    auto *l1 = new QVBoxLayout(dataTab);
    l1->addWidget(new QLabel(cap(5606)));
    DatasetsCB = new QComboBox;
    DatasetsCB->setObjectName(QStringLiteral("DatasetsCB"));
    l1->addWidget(DatasetsCB);
    l1->addStretch();
    Pages->addTab(dataTab, cap(5601));

    // Step 2.
    auto *fieldsTab = new QWidget;
    auto *g2 = new QGridLayout(fieldsTab);
    g2->addWidget(new QLabel(cap(5607)), 0, 0, 1, 4);
    g2->addWidget(new QLabel(cap(5618)), 1, 0);
    g2->addWidget(new QLabel(cap(5617)), 1, 2);
    FieldsLB = multiList();
    FieldsLB->setObjectName(QStringLiteral("FieldsLB"));
    SelectedFieldsLB = multiList();
    SelectedFieldsLB->setObjectName(QStringLiteral("SelectedFieldsLB"));
    auto *fb = new QVBoxLayout;
    AddFieldB = button(cap(5611), "AddFieldB");
    AddAllFieldsB = button(cap(5612), "AddAllFieldsB");
    RemoveFieldB = button(cap(5613), "RemoveFieldB");
    RemoveAllFieldsB = button(cap(5614), "RemoveAllFieldsB");
    for (QPushButton *b : {AddFieldB, AddAllFieldsB, RemoveFieldB, RemoveAllFieldsB})
        fb->addWidget(b);
    fb->addStretch();
    auto *ub = new QVBoxLayout;
    FieldUpB = button(QStringLiteral("▲"), "FieldUpB");
    FieldDownB = button(QStringLiteral("▼"), "FieldDownB");
    ub->addWidget(FieldUpB);
    ub->addWidget(FieldDownB);
    ub->addStretch();
    g2->addWidget(FieldsLB, 2, 0);
    g2->addLayout(fb, 2, 1);
    g2->addWidget(SelectedFieldsLB, 2, 2);
    g2->addLayout(ub, 2, 3);
    Pages->addTab(fieldsTab, cap(5602));

    // Step 3.
    auto *groupsTab = new QWidget;
    auto *g3 = new QGridLayout(groupsTab);
    g3->addWidget(new QLabel(cap(5608)), 0, 0, 1, 4);
    g3->addWidget(new QLabel(cap(5618)), 1, 0);
    g3->addWidget(new QLabel(cap(5619)), 1, 2);
    AvailableFieldsLB = new QListWidget;
    AvailableFieldsLB->setObjectName(QStringLiteral("AvailableFieldsLB"));
    GroupsLB = new QListWidget;
    GroupsLB->setObjectName(QStringLiteral("GroupsLB"));
    auto *gb = new QVBoxLayout;
    AddGroupB = button(cap(5615), "AddGroupB");
    RemoveGroupB = button(cap(5616), "RemoveGroupB");
    gb->addWidget(AddGroupB);
    gb->addWidget(RemoveGroupB);
    gb->addStretch();
    auto *gub = new QVBoxLayout;
    GroupUpB = button(QStringLiteral("▲"), "GroupUpB");
    GroupDownB = button(QStringLiteral("▼"), "GroupDownB");
    gub->addWidget(GroupUpB);
    gub->addWidget(GroupDownB);
    gub->addStretch();
    g3->addWidget(AvailableFieldsLB, 2, 0);
    g3->addLayout(gb, 2, 1);
    g3->addWidget(GroupsLB, 2, 2);
    g3->addLayout(gub, 2, 3);
    Pages->addTab(groupsTab, cap(5603));

    // Step 4.
    auto *layoutTab = new QWidget;
    auto *l4 = new QGridLayout(layoutTab);
    l4->addWidget(new QLabel(cap(5609)), 0, 0, 1, 2);
    FitWidthCB = new QCheckBox(cap(5626));
    FitWidthCB->setObjectName(QStringLiteral("FitWidthCB"));
    FitWidthCB->setChecked(true);
    l4->addWidget(FitWidthCB, 1, 0, 1, 2);
    auto *orient = new QGroupBox(cap(5620));
    auto *ol = new QHBoxLayout(orient);
    auto *orl = new QVBoxLayout;
    PortraitRB = new QRadioButton(cap(5622));
    PortraitRB->setObjectName(QStringLiteral("PortraitRB"));
    PortraitRB->setChecked(true);
    LandscapeRB = new QRadioButton(cap(5623));
    LandscapeRB->setObjectName(QStringLiteral("LandscapeRB"));
    orl->addWidget(PortraitRB);
    orl->addWidget(LandscapeRB);
    ol->addLayout(orl);
    OrientationImg = new QLabel;
    OrientationImg->setFixedSize(32, 32);
    ol->addWidget(OrientationImg);
    auto *lay = new QGroupBox(cap(5621));
    auto *ll = new QVBoxLayout(lay);
    TabularRB = new QRadioButton(cap(5624));
    TabularRB->setObjectName(QStringLiteral("TabularRB"));
    TabularRB->setChecked(true);
    ColumnarRB = new QRadioButton(cap(5625));
    ColumnarRB->setObjectName(QStringLiteral("ColumnarRB"));
    ll->addWidget(TabularRB);
    ll->addWidget(ColumnarRB);
    auto *left = new QVBoxLayout;
    left->addWidget(orient);
    left->addWidget(lay);
    left->addStretch();
    l4->addLayout(left, 2, 0);
    LayoutPB = new SampleBox(FLayoutReport.get());
    LayoutPB->setObjectName(QStringLiteral("LayoutPB"));
    auto *ls = new QScrollArea;
    ls->setBackgroundRole(QPalette::Dark);
    ls->setWidget(LayoutPB);
    l4->addWidget(ls, 2, 1);
    l4->setColumnStretch(1, 1);
    Pages->addTab(layoutTab, cap(5604));

    // Step 5.
    StyleTab = new QWidget;
    auto *l5 = new QGridLayout(StyleTab);
    l5->addWidget(new QLabel(cap(5610)), 0, 0, 1, 2);
    StyleLB = new QListWidget;
    StyleLB->setObjectName(QStringLiteral("StyleLB"));
    StyleLB->setMaximumWidth(140);
    l5->addWidget(StyleLB, 1, 0);
    StylePB = new SampleBox(FStyleReport.get());
    StylePB->setObjectName(QStringLiteral("StylePB"));
    auto *ss = new QScrollArea;
    ss->setBackgroundRole(QPalette::Dark);
    ss->setWidget(StylePB);
    l5->addWidget(ss, 1, 1);
    l5->setColumnStretch(1, 1);
    Pages->addTab(StyleTab, cap(5605));

    BackB = button(cap(5627), "BackB");
    NextB = button(cap(5628), "NextB");
    FinishB = button(cap(5629), "FinishB");
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BackB);
    buttons->addWidget(NextB);
    buttons->addSpacing(12);
    buttons->addWidget(FinishB);
    auto *main = new QVBoxLayout(this);
    main->addWidget(Pages);
    main->addLayout(buttons);
    resize(620, 400);

    connect(DatasetsCB, &QComboBox::currentIndexChanged, this, [this] { FillFields(); });
    connect(AddFieldB, &QPushButton::clicked, this, [this] {
        if (FieldsLB->currentRow() < 0)
            return;
        const int cur = FFields.AddFields(selectedRows(FieldsLB));
        ShowFieldLists(cur, -1);
    });
    connect(RemoveFieldB, &QPushButton::clicked, this, [this] {
        if (SelectedFieldsLB->currentRow() < 0)
            return;
        const int cur = FFields.RemoveFields(selectedRows(SelectedFieldsLB));
        ShowFieldLists(-1, cur);
    });
    connect(AddAllFieldsB, &QPushButton::clicked, this, [this] {
        FFields.AddAllFields();
        ShowFieldLists(-1, -1);
    });
    connect(RemoveAllFieldsB, &QPushButton::clicked, this, [this] {
        FFields.RemoveAllFields();
        ShowFieldLists(-1, -1);
    });
    connect(FieldUpB, &QPushButton::clicked, this,
            [this] { ShowFieldLists(-1, FFields.MoveField(SelectedFieldsLB->currentRow(), -1)); });
    connect(FieldDownB, &QPushButton::clicked, this,
            [this] { ShowFieldLists(-1, FFields.MoveField(SelectedFieldsLB->currentRow(), 1)); });
    connect(AddGroupB, &QPushButton::clicked, this, [this] {
        const int row = AvailableFieldsLB->currentRow();
        if (row < 0)
            return;
        const int cur = FFields.AddGroup(row);
        ShowGroupLists(cur, int(FFields.Groups().size()) - 1);
    });
    connect(RemoveGroupB, &QPushButton::clicked, this, [this] {
        const int row = GroupsLB->currentRow();
        if (row < 0)
            return;
        const int cur = FFields.RemoveGroup(row);
        ShowGroupLists(-1, cur);
    });
    connect(GroupUpB, &QPushButton::clicked, this,
            [this] { ShowGroupLists(-1, FFields.MoveGroup(GroupsLB->currentRow(), -1)); });
    connect(GroupDownB, &QPushButton::clicked, this,
            [this] { ShowGroupLists(-1, FFields.MoveGroup(GroupsLB->currentRow(), 1)); });
    connect(Pages, &QTabWidget::currentChanged, this, [this] { PagesChanged(); });
    connect(NextB, &QPushButton::clicked, this, [this] { Pages->setCurrentIndex(Pages->currentIndex() + 1); });
    connect(BackB, &QPushButton::clicked, this, [this] { Pages->setCurrentIndex(Pages->currentIndex() - 1); });
    connect(StyleLB, &QListWidget::currentRowChanged, this, [this] { StyleChanged(); });
    connect(TabularRB, &QRadioButton::toggled, this, [this] { LayoutChanged(); });
    connect(PortraitRB, &QRadioButton::toggled, this, [this] { OrientationChanged(); });
    connect(FinishB, &QPushButton::clicked, this, [this] { Finish(); });
    PagesChanged();
    OrientationChanged();
    kvlMirrorIfRightToLeft(this);
}

TkvlStdWizardForm::~TkvlStdWizardForm() = default;

void TkvlStdWizardForm::Prepare()
{
    kvlMakeEmptyReport(FDesigner, *FReport, FDotMatrix);

    TStringList list;
    FReport->GetActiveDataSetList(list);
    list.Sort();
    FSources.clear();
    for (int i = 0; i < list.Count(); ++i)
        if (auto *ds = static_cast<TkvlDataSet *>(list.Objects(i)); ds && ds->Is<TkvlCustomDBDataSet>())
            FSources.push_back(ds);
    {
        const QSignalBlocker block(DatasetsCB);
        DatasetsCB->clear();
        for (TkvlDataSet *ds : FSources)
            DatasetsCB->addItem(ds->UserName());
        DatasetsCB->setCurrentIndex(FSources.empty() ? -1 : 0);
    }
    FillFields();

    QStringList styles;
    FStyleSheet->GetList(styles);
    StyleLB->clear();
    StyleLB->addItems(styles);
    if (!styles.isEmpty())
        StyleLB->setCurrentRow(0);
    LayoutChanged();
    if (FDotMatrix)
        Pages->removeTab(Pages->indexOf(StyleTab));
    PagesChanged();
}

void TkvlStdWizardForm::FillFields()
{
    const int i = DatasetsCB->currentIndex();
    FFields.SetSource(i >= 0 && size_t(i) < FSources.size() ? FSources[size_t(i)] : nullptr);
    ShowFieldLists(0, -1);
}

void TkvlStdWizardForm::ShowFieldLists(int FieldsCurrent, int SelectedCurrent)
{
    showList(FieldsLB, FFields.Fields(), FieldsCurrent);
    showList(SelectedFieldsLB, FFields.Selected(), SelectedCurrent);
    ShowGroupLists(-1, -1);
}

void TkvlStdWizardForm::ShowGroupLists(int AvailableCurrent, int GroupsCurrent)
{
    showList(AvailableFieldsLB, FFields.Available(), AvailableCurrent);
    showList(GroupsLB, FFields.Groups(), GroupsCurrent);
}

void TkvlStdWizardForm::PagesChanged()
{
    const int i = Pages->currentIndex();
    BackB->setEnabled(i > 0);
    NextB->setEnabled(i < Pages->count() - 1);
    if (Pages->currentWidget() && Pages->currentWidget() == AvailableFieldsLB->parentWidget() &&
        AvailableFieldsLB->count() > 0)
        AvailableFieldsLB->setCurrentRow(0);
}

void TkvlStdWizardForm::StyleChanged()
{
    const int i = StyleLB->currentRow();
    if (i < 0 || i >= FStyleSheet->Count())
        return;
    FStyleReport->SetStyles(FStyleSheet->Items(i));
    StylePB->update();
}

void TkvlStdWizardForm::LayoutChanged()
{
    loadLayoutSample(*FLayoutReport, ColumnarRB->isChecked());
    if (FStyleSheet->Count())
        FLayoutReport->SetStyles(FStyleSheet->Items(0));
    LayoutPB->update();
}

void TkvlStdWizardForm::OrientationChanged()
{
    // A sheet outline upright or on its side.
    QPixmap pm(32, 32);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setPen(palette().color(QPalette::WindowText));
    p.setBrush(Qt::white);
    p.drawRect(PortraitRB->isChecked() ? QRect(8, 2, 16, 27) : QRect(2, 8, 27, 16));
    p.end();
    OrientationImg->setPixmap(pm);
}

TkvlStdWizardChoice TkvlStdWizardForm::Choice() const
{
    TkvlStdWizardChoice c;
    c.DataSet = FFields.Source();
    c.Fields = FFields.Available();
    c.Groups = FFields.Groups();
    c.DotMatrix = FDotMatrix;
    c.Landscape = LandscapeRB->isChecked();
    c.FitWidth = FitWidthCB->isChecked();
    c.Columnar = ColumnarRB->isChecked();
    const int s = StyleLB->currentRow();
    c.Styles = !FDotMatrix && s >= 0 && s < FStyleSheet->Count() ? FStyleSheet->Items(s) : nullptr;
    return c;
}

void TkvlStdWizardForm::Finish()
{
    kvlStdWizardFinish(FDesigner, *FReport, Choice(), Measure);
    accept();
}

QString kvlProgramFolder()
{
    return QCoreApplication::applicationDirPath();
}

bool kvlExecuteStdWizard(TkvlCustomDesigner *Designer, bool DotMatrix)
{
    if (!Designer || !Designer->Report())
        return false;
    TkvlStdWizardForm form(Designer->ParentForm, Designer, Designer->Report(), DotMatrix, kvlProgramFolder());
    form.Prepare();
    kvlCenterOnScreen(&form, Designer->ParentForm);
    return form.exec() == QDialog::Accepted;
}
