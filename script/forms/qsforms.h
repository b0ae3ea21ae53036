#pragma once
// Binding modules of forms, controls and dialogs for scripts, and the input window they
// ask for text with. qsRegisterFormsModules enters the forms module after the graphics
// module and the dialogs module before the ini-file module.
#include "script/items/qsitems.h"

#include <QString>

class TqsFormsFunctions : public TqsRTTIModule
{
public:
    explicit TqsFormsFunctions(TqsScript *script);
    static TqsRTTIModule *Create(TqsScript *script) { return new TqsFormsFunctions(script); }
};

class TqsDialogsFunctions : public TqsRTTIModule
{
public:
    explicit TqsDialogsFunctions(TqsScript *script);
    static TqsRTTIModule *Create(TqsScript *script) { return new TqsDialogsFunctions(script); }
};

// Asks for a line of text; true on OK with the text left in value.
class IInputQuery
{
public:
    virtual ~IInputQuery() = default;
    virtual bool Execute(const QString &caption, const QString &prompt, QString &value) = 0;
};
// The installed input window (a Qt input dialog unless another was installed); install
// answers the previous one. Installed at start-up or by tests, before scripts run.
IInputQuery &qsInputQuery();
IInputQuery *qsInstallInputQuery(IInputQuery *query);

// Appends the class-library modules (once) with forms and dialogs in their places.
void qsRegisterFormsModules();
