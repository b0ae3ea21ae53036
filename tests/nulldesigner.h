#pragma once
// A designer that does nothing, for the tests, demos and benchmarks of the pieces that talk to
// the designer seam: derive from it and override only what is watched.
#include "report/seams/kvldesigner.h"

class TNullDesigner : public TkvlCustomDesigner {
public:
    using TkvlCustomDesigner::TkvlCustomDesigner;
    QString GetCode() override { return {}; }
    QString InsertExpression(const QString &) override { return {}; }
    void Lock() override {}
    void ReloadPages(int) override {}
    void ReloadReport() override {}
    void UpdateDataTree() override {}
    void UpdatePage() override {}
    void UpdateInspector() override {}
    void DisableInspectorUpdate() override {}
    void EnableInspectorUpdate() override {}
};
