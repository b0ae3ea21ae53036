#pragma once
// The report classes for scripts: report objects with their methods and computed properties,
// the engine, the outline, report units and enumerations, a few report functions and the
// process-wide variables (TkvlClassRTTIFunctions); the check box view and its styles
// (TkvlChBoxRTTIFunctions).
#include "script/items/qsitems.h"

#include <cstdint>
#include <map>
#include <utility>

class TkvlComponent;

class TkvlClassRTTIFunctions : public TqsRTTIModule
{
public:
    explicit TkvlClassRTTIFunctions(TqsScript *script);
    // Frees the list objects it handed out that the script did not free.
    ~TkvlClassRTTIFunctions() override;
    static TqsRTTIModule *Create(TqsScript *script) { return new TkvlClassRTTIFunctions(script); }

    // One list object per (object, list kind) for the life of the script, so that reading
    // a list property twice gives the same object: the lines of a memo, the children of a
    // component, all its descendants.
    enum ListKind : uint8_t { lkLines, lkObjects, lkAllObjects };
    TPersistent *ListOf(TPersistent *owner, ListKind kind);

private:
    std::map<std::pair<int32_t, ListKind>, int32_t> FLists; // owner handle -> list handle
};

class TkvlChBoxRTTIFunctions : public TqsRTTIModule
{
public:
    explicit TkvlChBoxRTTIFunctions(TqsScript *script);
    static TqsRTTIModule *Create(TqsScript *script) { return new TkvlChBoxRTTIFunctions(script); }
};

// Enters the report module into the module list right after `after` (the forms module;
// before the ini-file module when `after` is not listed) and the check box module last.
// Once; the class-library modules must be listed first.
void kvlRegisterReportModules(TqsRTTIModuleClass after);
