// The script object's scope and source handling.
#include "script/core/qsscript.h"

#include <gtest/gtest.h>

namespace {

struct Variable : TqsScriptItem
{
    explicit Variable(int *freed = nullptr) : freed(freed) {}
    ~Variable() override
    {
        if (freed)
            ++*freed;
    }
    bool IsScriptVariable() const override { return true; }
    int *freed;
};

struct Module : TqsScriptItem
{
};

} // namespace

TEST(QsScriptScope, NamesAreCaseInsensitiveAndTheLatestWins)
{
    TqsScript script;
    auto *first = new Variable;
    auto *second = new Variable;
    script.Add(QStringLiteral("Value"), first);
    script.Add(QStringLiteral("alpha"), new Variable);
    script.Add(QStringLiteral("VALUE"), second);
    script.Add(QString(), new Module);
    EXPECT_EQ(script.Count(), 4);
    EXPECT_EQ(script.FindLocal(u"value"), second);
    EXPECT_EQ(script.ItemName(0), QString()); // sorted: the module's empty name first
    EXPECT_EQ(script.FindLocal(u""), nullptr); // binding-module instances are never found
    EXPECT_EQ(script.FindLocal(u"missing"), nullptr);
    script.Remove(second);
    EXPECT_EQ(script.FindLocal(u"Value"), first);
    delete second;
}

TEST(QsScriptScope, FindWalksTheParentChain)
{
    TqsScript global, local;
    local.Parent = &global;
    auto *g = new Variable;
    auto *shadow = new Variable;
    global.Add(QStringLiteral("x"), g);
    global.Add(QStringLiteral("y"), new Variable);
    local.Add(QStringLiteral("X"), shadow);
    EXPECT_EQ(local.Find(u"x"), shadow);
    EXPECT_EQ(local.Find(u"Y"), global.FindLocal(u"y"));
    EXPECT_EQ(local.FindLocal(u"y"), nullptr);
    EXPECT_EQ(global.Find(u"x"), g);
}

TEST(QsScriptScope, StampsVariablesAndFreesWhatItOwns)
{
    int freed = 0;
    {
        TqsScript script;
        static const int owner = 0;
        script.AddedBy = &owner;
        auto *v = new Variable(&freed);
        auto *m = new Module;
        script.Add(QStringLiteral("v"), v);
        script.Add(QString(), m);
        EXPECT_EQ(v->AddedBy, &owner);
        EXPECT_EQ(m->AddedBy, nullptr);
        script.Add(QStringLiteral("w"), new Variable(&freed));
    }
    EXPECT_EQ(freed, 2);
}

TEST(QsScriptSource, LinesAreJoinedWithCrLf)
{
    TqsScript script;
    EXPECT_EQ(script.IncludePath, QStringList{QString()});
    script.Lines = QStringList{QStringLiteral("a"), QStringLiteral("b\nc\r"), QString()};
    EXPECT_EQ(script.SourceText(), QStringLiteral("a\r\nb\r\nc\r\n\r\n\r\n"));
    EXPECT_EQ(qsNormalizeLineEnds(QStringLiteral("x\r\ny\rz\n")), QStringLiteral("x\r\ny\r\nz\r\n"));
}
