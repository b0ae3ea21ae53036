#pragma once
// New objects from the workspace's insertion, object editors, new report pages, and
// resetting inherited objects to their parent template's state. All of it works on the
// designer as the report sees it (TkvlCustomDesigner: its page, object list and selection)
// plus the few window operations a context carries.
#include <functional>

class TkvlComponent;
class TkvlCustomDesigner;
class TkvlReport;
class TkvlReportPage;
class TSampleFormat;
struct TkvlInsertion;

struct TkvlInsertContext {
    TkvlCustomDesigner *Designer = nullptr;
    TkvlInsertion *Insertion = nullptr;  // the workspace's pending insertion
    const TSampleFormat *Sample = nullptr;
    bool EditAfterInsert = false;
    bool TextToolDown = false;
    // Window operations; any may be empty.
    std::function<void()> PressSelectTool;
    std::function<void()> BringWorkspaceToFront;
    std::function<void()> PageDimensionsChanged;  // the current page was edited
};

// The workspace's insertion becomes an object on the current page: named, formatted from
// the sample, taken by a container that encloses it, selected, announced to the host, and
// for a subreport given a page of its own. Returns the new object, or nullptr when nothing
// was inserted.
TkvlComponent *OnInsertObject(TkvlInsertContext &Ctx);

// Opens the component editor of the first selected object. True when it changed something.
bool OnEditObject(TkvlInsertContext &Ctx);

// A new report page of the report (a dot-matrix page in a dot-matrix report), named and
// given the default paper and margins; the caller shows it.
TkvlReportPage *kvlCreateReportPage(TkvlReport *Report);
// The new-page command: the page above, shown, and the report marked modified.
TkvlReportPage *kvlNewPage(TkvlCustomDesigner *Designer);

// Puts every selected inherited object back into its parent template's state (with its
// children when WithChildren). True when at least one object was reset.
bool RevertInherited(TkvlCustomDesigner *Designer, bool WithChildren);
