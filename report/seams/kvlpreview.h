#pragma once
// The preview control as the report sees it. The control and its window live with the
// preview code; this base carries no widget, so the report model stays free of them.
#include "report/seams/kvlseamtypes.h"

#include <QString>

class TkvlCustomPreviewForm;
class TkvlReport;
class TkvlCustomPreviewPages;

class TkvlCustomPreview {
public:
    TkvlCustomPreview() = default;
    virtual ~TkvlCustomPreview() = default;
    TkvlCustomPreview(const TkvlCustomPreview &) = delete;
    TkvlCustomPreview &operator=(const TkvlCustomPreview &) = delete;

    TkvlCustomPreviewPages *PreviewPages = nullptr;
    TkvlReport *Report = nullptr;
    bool UseReportHints = false;
    TkvlCustomPreviewForm *PreviewForm = nullptr;  // the window that hosts the control, if any

    // Binds the control to a report and its prepared pages; UnInit unbinds.
    virtual void Init(TkvlReport *AReport, TkvlCustomPreviewPages *APreviewPages) = 0;
    virtual void UnInit(TkvlCustomPreviewPages *APreviewPages) = 0;
    virtual void Lock() = 0;
    virtual void Unlock() = 0;
    virtual void RefreshReport() = 0;
    // Whether the control shows the report's outline now.
    virtual bool OutlineVisible() const { return false; }
    // The report's progress message (IsHint: its hint) for the window that shows the control.
    virtual void ShowProgressMessage(const QString &Text, bool IsHint)
    {
        (void)Text;
        (void)IsHint;
    }
    virtual void InternalOnProgressStart(TkvlReport *AReport, TkvlProgressType Kind, int Progress) = 0;
    virtual void InternalOnProgress(TkvlReport *AReport, TkvlProgressType Kind, int Progress) = 0;
    virtual void InternalOnProgressStop(TkvlReport *AReport, TkvlProgressType Kind, int Progress) = 0;
    // The report is being destroyed: the control lets go of it and of its prepared pages.
    virtual void ReportDestroyed(TkvlReport *AReport) { (void)AReport; }
};
