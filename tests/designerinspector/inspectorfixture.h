#pragma once
// Shared by the inspector tests and the demo: the classes and registrations of start-up, a
// designer that records what the inspector asks of it, and a small report page.
#include "report/seams/kvldesigner.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class TkvlReport;
class TkvlReportPage;
class TkvlMasterData;
class TkvlMemoView;
class TkvlPictureView;

// Report classes, the designer's strings and registrations (once per process).
void registerDesignerOnce();

class FakeDesigner : public TkvlCustomDesigner {
public:
    FakeDesigner(TkvlReport *Report, bool Preview = false) : TkvlCustomDesigner(nullptr, Report, Preview) {}
    QStringList log;  // "disable", "enable", "refresh" in call order
    int disabled = 0;
    QString GetCode() override { return {}; }
    QString InsertExpression(const QString &) override { return {}; }
    void Lock() override {}
    void ReloadPages(int) override {}
    void ReloadReport() override {}
    void UpdateDataTree() override {}
    void UpdatePage() override {}
    std::function<void()> onUpdateInspector;
    void UpdateInspector() override
    {
        log << QStringLiteral("refresh");
        if (onUpdateInspector)
            onUpdateInspector();
    }
    void DisableInspectorUpdate() override
    {
        ++disabled;
        log << QStringLiteral("disable");
    }
    void EnableInspectorUpdate() override
    {
        --disabled;
        log << QStringLiteral("enable");
    }
};

// A page with a master band holding Memo1, Memo2 and Picture1.
struct SmallReport {
    SmallReport();
    ~SmallReport();
    std::unique_ptr<TkvlReport> report;
    TkvlReportPage *page;
    TkvlMasterData *band;
    TkvlMemoView *memo1, *memo2;
    TkvlPictureView *picture;
};

class TkvlPropertyList;
class TkvlPropertyItem;
// The item at a dotted path ("Frame.Width"), or nullptr.
TkvlPropertyItem *findRow(TkvlPropertyList *List, const QString &Path);
// The class name of the editor at the path of Object's own property list; "" when hidden.
QString editorOf(class TkvlComponent *Object, const QString &Path);
