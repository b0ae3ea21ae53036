#pragma once
// A script with the forms and dialogs modules, kept alive while a test drives its widgets.
#include "platform/rtl/exceptions.h"
#include "platform/rtl/objecthandles.h"
#include "platform/ui/fakes.h"
#include "script/core/qsscript.h"
#include "script/forms/qsformsobjects.h"
#include "script/forms/qsforms.h"
#include "script/grammar/qsgrammars.h"

#include <gtest/gtest.h>

#include <QString>

#include <memory>
#include <ostream>

inline void PrintTo(const QString &s, std::ostream *os) { *os << '"' << s.toStdString() << '"'; }

namespace formstest {

// Answers the input window at once: OK with answer, or cancelled.
struct FakeInput final : IInputQuery
{
    bool accept = true;
    QString answer;
    bool Execute(const QString &, const QString &, QString &value) override
    {
        if (accept)
            value = answer;
        return accept;
    }
};

class ScriptFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        static const bool ready = [] {
            qsRegisterStandardLanguages();
            qsRegisterFormsModules();
            return true;
        }();
        (void)ready;
        FOld = qsInstallInputQuery(&input);
    }
    void TearDown() override
    {
        script.reset();
        qsInstallInputQuery(FOld);
    }

    // Compiles and runs; the failure text, or "" when it ran.
    QString Run(const char *language, const QString &source)
    {
        script = std::make_unique<TqsScript>();
        script->AddRTTI();
        script->SyntaxType = QString::fromLatin1(language);
        script->Lines = source.split(QLatin1Char('\n'));
        if (!script->Compile())
            return QStringLiteral("compile: ") + script->ErrorMsg + QStringLiteral(" at ") + script->ErrorPos;
        try {
            script->Execute();
        } catch (const Exception &e) {
            return QStringLiteral("raised: ") + e.message();
        }
        return QString();
    }
    QString Var(const char *name) const { return script->Variables(QLatin1String(name)).toString(); }
    // The widget of the control held by the script variable.
    QWidget *WidgetOf(const char *name) const
    {
        auto *c = rtl::ObjectHandles::objectAs<qsforms::TControl>(script->Variables(QLatin1String(name)).toInt64());
        return c ? c->WidgetOrNull() : nullptr;
    }

    ui::FakeServices services;
    FakeInput input;
    std::unique_ptr<TqsScript> script;

private:
    IInputQuery *FOld = nullptr;
};

} // namespace formstest
