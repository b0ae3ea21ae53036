#pragma once
// Binding modules of the class library for scripts: general classes (lists, streams,
// components) and ini files. qsRegisterClassLibModules enters them, in their order, into
// the process-wide module list.
#include "script/items/qsitems.h"

class TqsClassesFunctions : public TqsRTTIModule
{
public:
    explicit TqsClassesFunctions(TqsScript *script);
    static TqsRTTIModule *Create(TqsScript *script) { return new TqsClassesFunctions(script); }
};

class TqsIniFunctions : public TqsRTTIModule
{
public:
    explicit TqsIniFunctions(TqsScript *script);
    static TqsRTTIModule *Create(TqsScript *script) { return new TqsIniFunctions(script); }
};

// Appends the widget-free modules once: general classes first, ini files last.
void qsRegisterClassLibModules();
