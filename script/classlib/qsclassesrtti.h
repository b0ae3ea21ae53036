#pragma once
// Binding modules of the class library for scripts: general classes (lists, streams,
// components), graphics and ini files. qsRegisterClassLibModules enters them, in their order, into
// the process-wide module list.
#include "script/items/qsitems.h"

class TqsClassesFunctions : public TqsRTTIModule
{
public:
    explicit TqsClassesFunctions(TqsScript *script);
    static TqsRTTIModule *Create(TqsScript *script) { return new TqsClassesFunctions(script); }
};

class TqsGraphicsFunctions : public TqsRTTIModule
{
public:
    explicit TqsGraphicsFunctions(TqsScript *script);
    static TqsRTTIModule *Create(TqsScript *script) { return new TqsGraphicsFunctions(script); }
};

class TqsIniFunctions : public TqsRTTIModule
{
public:
    explicit TqsIniFunctions(TqsScript *script);
    static TqsRTTIModule *Create(TqsScript *script) { return new TqsIniFunctions(script); }
};

// Appends the widget-free modules once: general classes, graphics, and ini files last (the
// forms and dialogs modules go in between, see qsRegisterFormsModules).
void qsRegisterClassLibModules();
