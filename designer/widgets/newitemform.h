#pragma once
// The designer's "New..." gallery: the registered report wizards on one tab, the report
// templates on the other (optionally inherited).
#include <QDialog>
#include <QStringList>
#include <functional>

class QCheckBox;
class QListWidget;
class QPushButton;
class QTabWidget;
class TkvlCustomDesigner;

class TkvlNewItemForm : public QDialog {
public:
    // Templates: full paths of the designer's report templates.
    TkvlNewItemForm(QWidget *Parent, TkvlCustomDesigner *Designer, const QStringList &Templates);

    // Carries out the choice of a dialog closed with OK: a wizard runs, or a template is loaded
    // or inherited as a new unnamed report. A modified report is replaced only after AskSave
    // (when given) answers true; false leaves everything as it is. False when nothing was done.
    bool Apply(const std::function<bool()> &AskSave);

    QTabWidget *Pages;
    QWidget *ItemsTab, *TemplateTab;
    QListWidget *ItemsLV, *TemplateLV;
    QCheckBox *InheritCB;
    QPushButton *OkB, *CancelB;

private:
    void LoadTemplate(const QString &Path);

    TkvlCustomDesigner *FDesigner;
    QStringList FTemplates;
};

// The gallery, modally, then its choice; true when the report was replaced.
bool kvlExecuteNewItem(TkvlCustomDesigner *Designer, const QStringList &Templates,
                       const std::function<bool()> &AskSave);
