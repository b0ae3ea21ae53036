#pragma once
// The designer's settings component: what the host program decides for every designer window
// it opens (defaults of new reports, folders, restrictions, and callbacks that take over
// loading, saving and the template list). Windows read the last component created through
// kvlDesignerComp(), or the fixed answers of the kvlDesigner* readings when there is none.
#include "platform/rtl/color.h"
#include "platform/rtl/reflect/component.h"
#include "report/printers/kvlprinters.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

class QObject;
class TFont;
class TkvlReport;

// Operations a host can switch off, in stored order (bit 0 first).
enum TkvlDesignerRestriction : uint8_t {
    drDontInsertObject,
    drDontDeletePage,
    drDontCreatePage,
    drDontChangePageOptions,
    drDontCreateReport,
    drDontLoadReport,
    drDontSaveReport,
    drDontPreviewReport,
    drDontEditVariables,
    drDontChangeReportOptions,
    drDontEditReportData,
    drDontShowRecentFiles,
    drDontEditReportScript,
    drDontEditInternalDatasets,
};
using TkvlDesignerRestrictions = uint32_t;  // bit i: restriction i
constexpr TkvlDesignerRestrictions kvlBit(TkvlDesignerRestriction r) { return TkvlDesignerRestrictions(1u << r); }

using TkvlLoadReportEvent = std::function<bool(TkvlReport *Report)>;
using TkvlLoadRecentReportEvent = std::function<bool(TkvlReport *Report, const QString &FileName)>;
using TkvlSaveReportEvent = std::function<bool(TkvlReport *Report, bool SaveAs)>;
using TkvlGetTemplateListEvent = std::function<void(QStringList &List)>;
// Notify events: the designer window, or the object the user inserted.
using TkvlDesignerNotifyEvent = std::function<void(QObject *Designer)>;
using TkvlInsertObjectEvent = std::function<void(TComponent *Object)>;

class TkvlDesigner : public TComponent {
    LIRRA_CLASS(TkvlDesigner, TComponent)
public:
    // Becomes the process-wide settings component, replacing any earlier one.
    explicit TkvlDesigner(TComponent *AOwner);
    // Leaves no settings component in effect, whichever one was in effect.
    ~TkvlDesigner() override;

    bool CloseQuery = true;
    QString DefaultScriptLanguage = QStringLiteral("DozovoZozedi");
    TFont *DefaultFont() const { return FDefaultFont.get(); }
    // Copies the font's attributes; the component keeps its own font.
    void SetDefaultFont(TFont *Value);
    double DefaultLeftMargin = 10, DefaultRightMargin = 10, DefaultTopMargin = 10, DefaultBottomMargin = 10;
    int32_t DefaultPaperSize = 9;
    TPrinterOrientation DefaultOrientation = poPortrait;
    bool Gradient = false;
    TColor GradientEnd = 11982554;
    TColor GradientStart = clWindow;
    QString OpenDir, SaveDir;
    QString TemplatesExt = QStringLiteral("kv3");
    QString TemplateDir;
    bool Standalone = false;
    TkvlDesignerRestrictions Restrictions = 0;
    bool RTLLanguage = false;
    bool MemoParentFont = false;

    // Host callbacks: listed by the registry, never stored.
    TkvlLoadReportEvent OnLoadReport;
    TkvlLoadRecentReportEvent OnLoadRecentReport;
    TkvlSaveReportEvent OnSaveReport;
    TkvlDesignerNotifyEvent OnShow;
    TkvlInsertObjectEvent OnInsertObject;
    TkvlDesignerNotifyEvent OnShowStartupScreen;
    TkvlGetTemplateListEvent OnGetTemplateList;

private:
    std::unique_ptr<TFont> FDefaultFont;
};

// The last settings component created while it lives, else nullptr. Main thread only.
TkvlDesigner *kvlDesignerComp();

// Readings with the fixed answers of a program without a settings component.
// True when the operation is allowed.
bool kvlDesignerAllows(TkvlDesignerRestriction Op);
// The script language of new reports ("DozovoZozedi").
QString kvlDesignerDefaultLanguage();
// The template extension without a leading "." ("kv3"). A leading "." of a longer value is
// removed from the component's own property, so later readers see it as well.
QString kvlDesignerTemplateExt();
// Toolbars drawn with a gradient (false), and its two colours.
bool kvlDesignerGradient();
TColor kvlDesignerGradientStart();
TColor kvlDesignerGradientEnd();
// The host's callbacks; an empty optional (or false) when none is assigned.
std::optional<bool> kvlDesignerLoadReport(TkvlReport *Report);
std::optional<bool> kvlDesignerLoadRecentReport(TkvlReport *Report, const QString &FileName);
std::optional<bool> kvlDesignerSaveReport(TkvlReport *Report, bool SaveAs);
// True when the host supplied the list (List is cleared first either way).
bool kvlDesignerGetTemplateList(QStringList &List);
void kvlDesignerShow(QObject *Designer);
void kvlDesignerInsertObject(TComponent *Object);
void kvlDesignerShowStartupScreen(QObject *Designer);

// The settings of a designer that edits one prepared page: a component of its own, with the
// remembered component's restrictions plus those that make no sense on a prepared page, is
// in effect while this object lives. The remembered component is made current again
// afterwards unless it was destroyed meanwhile.
class TkvlPreviewDesignerSettings {
public:
    TkvlPreviewDesignerSettings();
    ~TkvlPreviewDesignerSettings();
    TkvlPreviewDesignerSettings(const TkvlPreviewDesignerSettings &) = delete;
    TkvlPreviewDesignerSettings &operator=(const TkvlPreviewDesignerSettings &) = delete;

    TkvlDesigner *Settings() const { return FOwn.get(); }
    static constexpr TkvlDesignerRestrictions kAdded =
        kvlBit(drDontDeletePage) | kvlBit(drDontCreatePage) | kvlBit(drDontCreateReport) |
        kvlBit(drDontLoadReport) | kvlBit(drDontPreviewReport) | kvlBit(drDontEditVariables) |
        kvlBit(drDontChangeReportOptions);

private:
    rtl::ComponentRef<TkvlDesigner> FOld;
    std::unique_ptr<TkvlDesigner> FOwn;
};
