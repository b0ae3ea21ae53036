#include "designer/widgets/newitemform.h"

#include "platform/rtl/reflect/classinfo.h"
#include "report/document/kvlreport.h"
#include "report/registry/kvlregistries.h"
#include "report/resources/kvlresources.h"
#include "report/seams/kvldesigner.h"
#include "report/seams/kvlwizard.h"
#include "report/widgets/kvlformutils.h"
#include "platform/gfx/picturehelpers.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <memory>

namespace {

QListWidget *iconList(const char *Name)
{
    auto *l = new QListWidget;
    l->setObjectName(QLatin1String(Name));
    l->setViewMode(QListView::IconMode);
    l->setIconSize(QSize(32, 32));
    l->setGridSize(QSize(140, 76));
    l->setWordWrap(true);
    l->setMovement(QListView::Static);
    l->setResizeMode(QListView::Adjust);
    l->setEditTriggers(QAbstractItemView::NoEditTriggers);
    return l;
}

QIcon wizardIcon(int Index)
{
    const TImageList &images = kvlResources().GetWizardImages();
    if (Index < 0 || Index >= images.Count())
        return QIcon();
    return QIcon(QPixmap::fromImage(images.Image(Index)));
}

} // namespace

TkvlNewItemForm::TkvlNewItemForm(QWidget *Parent, TkvlCustomDesigner *Designer, const QStringList &Templates)
    : QDialog(Parent), FDesigner(Designer), FTemplates(Templates)
{
    setObjectName(QStringLiteral("kvlNewItemForm"));
    setWindowTitle(kvlGet(5300));
    FTemplates.sort();
    Pages = new QTabWidget;
    Pages->setObjectName(QStringLiteral("Pages"));
    ItemsTab = new QWidget;
    auto *il = new QVBoxLayout(ItemsTab);
    ItemsLV = iconList("ItemsLV");
    il->addWidget(ItemsLV);
    Pages->addTab(ItemsTab, kvlGet(5301));
    TemplateTab = new QWidget;
    auto *tl = new QVBoxLayout(TemplateTab);
    TemplateLV = iconList("TemplateLV");
    InheritCB = new QCheckBox(kvlGet(5303));
    InheritCB->setObjectName(QStringLiteral("InheritCB"));
    tl->addWidget(TemplateLV);
    tl->addWidget(InheritCB);
    Pages->addTab(TemplateTab, kvlGet(5302));
    auto *main = new QVBoxLayout(this);
    main->addWidget(Pages);
    main->addLayout(kvlOkCancelRow(this, kvlGet(1), "OkB", kvlGet(2), OkB, CancelB));

    // Registration order; the entry's index travels with the item.
    for (int i = 0; i < kvlWizards().Count(); ++i) {
        const TkvlWizardItem &w = kvlWizards().Items(i);
        auto *item = new QListWidgetItem(wizardIcon(w.ButtonImageIndex), w.ClassRef->description(), ItemsLV);
        item->setData(Qt::UserRole, i);
    }
    for (int i = 0; i < FTemplates.size(); ++i) {
        auto *item = new QListWidgetItem(wizardIcon(5), QFileInfo(FTemplates[i]).fileName(), TemplateLV);
        item->setData(Qt::UserRole, i);
    }
    for (QListWidget *l : {ItemsLV, TemplateLV})
        connect(l, &QListWidget::itemDoubleClicked, this, [this] { accept(); });
    resize(400, 380);
    kvlMirrorIfRightToLeft(this);
}

bool TkvlNewItemForm::Apply(const std::function<bool()> &AskSave)
{
    if (result() != QDialog::Accepted || !FDesigner || !FDesigner->Report())
        return false;
    const bool onItems = Pages->currentWidget() == ItemsTab;
    QListWidget *list = onItems ? ItemsLV : TemplateLV;
    QListWidgetItem *item = list->currentItem();
    if (!item || !item->isSelected())
        return false;
    if (FDesigner->Modified() && AskSave && !AskSave())
        return false;
    const int index = item->data(Qt::UserRole).toInt();
    if (onItems) {
        if (index < 0 || index >= kvlWizards().Count())
            return false;
        const rtl::ClassInfo *cls = kvlWizards().Items(index).ClassRef;
        std::unique_ptr<TkvlCustomWizard> wizard(rtl_cast<TkvlCustomWizard>(cls->create(FDesigner)));
        if (!wizard)
            return false;
        const bool changed = wizard->Execute();
        if (changed)
            FDesigner->SetModified(true);
        return changed;
    }
    if (index < 0 || index >= FTemplates.size())
        return false;
    LoadTemplate(FTemplates[index]);
    return true;
}

void TkvlNewItemForm::LoadTemplate(const QString &Path)
{
    TkvlReport *report = FDesigner->Report();
    FDesigner->Lock();
    try {
        report->Clear();
        if (InheritCB->isChecked())
            report->SetParentReport(QDir(report->GetApplicationFolder()).relativeFilePath(Path));
        else if (report->OnLoadTemplate)
            report->OnLoadTemplate(report, Path);
        else
            report->LoadFromFile(Path, true);
    } catch (...) {
        report->FileName.clear();
        FDesigner->ReloadReport();
        throw;
    }
    report->FileName.clear();
    FDesigner->ReloadReport();
}

bool kvlExecuteNewItem(TkvlCustomDesigner *Designer, const QStringList &Templates,
                       const std::function<bool()> &AskSave)
{
    TkvlNewItemForm form(Designer ? Designer->ParentForm : nullptr, Designer, Templates);
    kvlCenterOnScreen(&form, form.parentWidget());
    form.exec();
    return form.Apply(AskSave);
}
