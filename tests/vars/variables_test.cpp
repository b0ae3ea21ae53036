// Report variables: categories, lookups, internal names, dictionary files, hyperlink values.
#include "platform/rtl/stream.h"
#include "report/appearance/hyperlink.h"
#include "report/vars/kvlvariables.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

namespace {

QStringList names(const TkvlVariables &v)
{
    QStringList l;
    for (int i = 0; i < v.Count(); ++i)
        l << v.Items(i)->Name();
    return l;
}

// " Totals", Sum1, Sum2, " Dates", Day
void fill(TkvlVariables &v)
{
    for (const char *n : {" Totals", "Sum1", "Sum2", " Dates", "Day"})
        v.Add()->SetName(QString::fromLatin1(n));
    v.Items(1)->SetValue(Variant(QStringLiteral("1")));
}

TEST(Variables, CategoryOperations)
{
    struct Case {
        const char *name;
        void (*op)(TkvlVariables &);
        QStringList expect;
    } cases[] = {
        {"delete category ignores case", [](TkvlVariables &v) { v.DeleteCategory(QStringLiteral("totals")); },
         {" Dates", "Day"}},
        {"delete missing category", [](TkvlVariables &v) { v.DeleteCategory(QStringLiteral("Nope")); },
         {" Totals", "Sum1", "Sum2", " Dates", "Day"}},
        {"add after the category's last variable",
         [](TkvlVariables &v) { v.AddVariable(QStringLiteral("Totals"), QStringLiteral("Sum3"), Variant()); },
         {" Totals", "Sum1", "Sum2", "Sum3", " Dates", "Day"}},
        {"add at the end of the last category",
         [](TkvlVariables &v) { v.AddVariable(QStringLiteral("Dates"), QStringLiteral("Month"), Variant()); },
         {" Totals", "Sum1", "Sum2", " Dates", "Day", "Month"}},
        {"add an existing name keeps its place",
         [](TkvlVariables &v) { v.AddVariable(QStringLiteral("Dates"), QStringLiteral("sum1"), Variant(2)); },
         {" Totals", "Sum1", "Sum2", " Dates", "Day"}},
        {"add to a missing category",
         [](TkvlVariables &v) { v.AddVariable(QStringLiteral("Nope"), QStringLiteral("X"), Variant()); },
         {" Totals", "Sum1", "Sum2", " Dates", "Day"}},
        {"write a new variable appends", [](TkvlVariables &v) { v.SetVariables(QStringLiteral("New"), Variant(1)); },
         {" Totals", "Sum1", "Sum2", " Dates", "Day", "New"}},
        {"delete variable", [](TkvlVariables &v) { v.DeleteVariable(QStringLiteral("SUM2")); },
         {" Totals", "Sum1", " Dates", "Day"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TkvlVariables v;
        fill(v);
        c.op(v);
        EXPECT_EQ(names(v), c.expect);
    }
}

TEST(Variables, ListsAndValues)
{
    TkvlVariables v;
    v.Add()->SetName(QStringLiteral("Loose"));
    fill(v);
    QStringList l{QStringLiteral("old")};
    v.GetCategoriesList(l, false);
    EXPECT_EQ(l, (QStringList{"old", "Totals", "Dates"}));
    v.GetVariablesList(QStringLiteral("TOTALS"), l);
    EXPECT_EQ(l, (QStringList{"Sum1", "Sum2"}));
    v.GetVariablesList(QString(), l);
    EXPECT_EQ(l, QStringList{"Loose"});
    v.GetVariablesList(QStringLiteral("Nope"), l);
    EXPECT_TRUE(l.isEmpty());
    EXPECT_TRUE(v.Variables(QStringLiteral("Nope")).isNull());
    v.AddVariable(QStringLiteral("Dates"), QStringLiteral("Sum1"), Variant(QStringLiteral("x")));
    EXPECT_EQ(v.Variables(QStringLiteral("sum1")).toString(), QStringLiteral("x"));
    // An entry without a name ends a category.
    v.Insert(4)->SetName(QString());
    v.GetVariablesList(QStringLiteral("Totals"), l);
    EXPECT_EQ(l, (QStringList{"Sum1", "Sum2"}));
}

TEST(Variables, InternalNamesAreUniqueAndLowest)
{
    TkvlVariables v;
    TkvlVariable *a = v.Add();
    TkvlVariable *b = v.Add();
    EXPECT_EQ(a->InheritedName(), QStringLiteral("TkvlVariable1"));
    EXPECT_EQ(b->InheritedName(), QStringLiteral("TkvlVariable2"));
    a->SetName(QStringLiteral("Named"));
    EXPECT_EQ(a->InheritedName(), QStringLiteral("Named"));
    TkvlVariable *c = v.Add();
    EXPECT_EQ(c->InheritedName(), QStringLiteral("TkvlVariable1"));  // 1 is free again
    EXPECT_EQ(v.FindByName(QStringLiteral("TkvlVariable2")), b);
    EXPECT_EQ(v.FindByName(QStringLiteral("named")), nullptr);  // exact case

    delete b;  // its number is free again
    TkvlVariable *d = v.Add();
    EXPECT_EQ(d->InheritedName(), QStringLiteral("TkvlVariable2"));
    c->SetInheritedName(QStringLiteral("TkvlVariable3"));
    EXPECT_EQ(v.Add()->InheritedName(), QStringLiteral("TkvlVariable1"));
    EXPECT_EQ(v.Add()->InheritedName(), QStringLiteral("TkvlVariable4"));
    a->SetName(QStringLiteral("TkvlVariable5"));  // a user name takes a number too
    EXPECT_EQ(v.Add()->InheritedName(), QStringLiteral("TkvlVariable6"));
    // An item moved to another list takes its name along.
    TkvlVariables w;
    d->SetCollection(&w);
    EXPECT_EQ(w.FindByName(QStringLiteral("TkvlVariable2")), d);
    EXPECT_EQ(v.FindByName(QStringLiteral("TkvlVariable2")), nullptr);
    EXPECT_EQ(v.Add()->InheritedName(), QStringLiteral("TkvlVariable2"));

    TkvlArray arr;  // no internal names here
    arr.SetVariables(Variant(3), Variant(QStringLiteral("three")));
    EXPECT_EQ(arr.Variables(Variant(QStringLiteral("3"))).toString(), QStringLiteral("three"));
    EXPECT_TRUE(arr.Variables(Variant(4)).isNull());
}

TEST(Variables, DictionaryFileRoundTripAndWrongRoot)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("vars.kq3"));
    TkvlVariables v;
    fill(v);
    v.Items(2)->SetValue(Variant(QStringLiteral("[Sum1] * 2 & \"q\"")));
    v.SaveToFile(file);

    TMemoryStream m;
    m.LoadFromFile(file);
    const QString text = QString::fromUtf8(m.Bytes());
    EXPECT_TRUE(text.contains(QLatin1String("<variables>")));
    EXPECT_TRUE(text.contains(QLatin1String("<item Name=\" Totals\"/>"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QLatin1String("Value=\"[Sum1] * 2 &#38; &#34;q&#34;\""))) << text.toStdString();

    TkvlVariables back;
    back.Add()->SetName(QStringLiteral("stale"));
    back.LoadFromFile(file);
    EXPECT_EQ(names(back), names(v));
    EXPECT_EQ(back.Variables(QStringLiteral("Sum2")).toString(), v.Items(2)->Value().toString());
    EXPECT_TRUE(back.Variables(QStringLiteral("Day")).isNull());

    TMemoryStream wrong(QByteArray("<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"no\"?>"
                                   "<style Name=\"\"><item Name=\"A\"/></style>"));
    back.LoadFromStream(wrong);
    EXPECT_EQ(back.Count(), 0);
}

TEST(Variables, HyperlinkValuesGoToTheNamedVariables)
{
    struct Case {
        const char *vars, *value, *sep;
        QStringList expect;  // values of a, b, c ("-" untouched)
    } cases[] = {
        {"a", "1", ";", {"1", "-", "-"}},
        {"a;b;c", "1;2", ";", {"1", "2", "2"}},
        {"a;zz;c", "1;2;3", ";", {"1", "-", "3"}},
        {"a;b", "whole", ";", {"whole", "whole", "-"}},
        {"a|b", "1|2", "|", {"1", "2", "-"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.vars);
        TkvlVariables v;
        for (const char *n : {"a", "b", "c"})
            v.SetVariables(QString::fromLatin1(n), Variant(QStringLiteral("-")));
        TkvlHyperlink h;
        h.FReportVariable = QString::fromLatin1(c.vars);
        h.FValue = QString::fromLatin1(c.value);
        h.FValuesSeparator = QString::fromLatin1(c.sep);
        h.AssignVariables(&v);
        QStringList got;
        for (int i = 0; i < 3; ++i)
            got << v.Items(i)->Value().toString();
        EXPECT_EQ(got, c.expect);
        EXPECT_EQ(v.Count(), 3);
    }
}

} // namespace
