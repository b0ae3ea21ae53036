// The variables dictionary as the editor changes it: new names, renaming, lines and files.
#include "designer/core/vareditor.h"
#include "report/vars/kvlvariables.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// Entries as "name=value", categories with their blank.
QStringList entries(const TkvlVariables &V)
{
    QStringList l;
    for (int i = 0; i < V.Count(); ++i)
        l << V.Items(i)->Name() + u'=' + V.Items(i)->Value().toString();
    return l;
}

void add(TkvlVariables &V, const char *Name, const char *Value = "")
{
    TkvlVariable *v = V.Add();
    v->SetName(QString::fromUtf8(Name));
    v->SetValue(Variant(QString::fromUtf8(Value)));
}

TEST(VarDictionary, NewCategoriesAndVariablesTakeFreeNames)
{
    TkvlVariables v;
    EXPECT_EQ(kvlNewCategory(v), QStringLiteral("New Category1"));
    EXPECT_EQ(kvlNewCategory(v), QStringLiteral("New Category2"));
    EXPECT_EQ(kvlNewVariable(v, QStringLiteral("New Category1")), QStringLiteral("New Variable1"));
    // unique in the whole dictionary, not only in the category
    EXPECT_EQ(kvlNewVariable(v, QStringLiteral("New Category2")), QStringLiteral("New Variable2"));
    EXPECT_EQ(kvlNewVariable(v, QStringLiteral("new category1")), QStringLiteral("New Variable3"));
    EXPECT_EQ(entries(v), (QStringList{" New Category1=", "New Variable1=", "New Variable3=", " New Category2=",
                                       "New Variable2="}));
}

TEST(VarDictionary, AVariableWithoutCategoriesIsStored)
{
    TkvlVariables v;
    add(v, "Anno", "2026");
    EXPECT_EQ(kvlNewVariable(v, QString()), QStringLiteral("New Variable1"));
    EXPECT_EQ(entries(v), (QStringList{"Anno=2026", "New Variable1="}));
    add(v, " Totali");
    EXPECT_EQ(kvlNewVariable(v, QString()), QStringLiteral("New Variable2"));
    EXPECT_EQ(entries(v), (QStringList{"Anno=2026", "New Variable1=", "New Variable2=", " Totali="}));
}

TEST(VarDictionary, RenamingRefusesAnotherEntrysName)
{
    struct {
        const char *from, *to;
        bool category, done;
        const char *after;
    } cases[] = {
        {"Somma", "MEDIA", false, false, "Somma"},    // another entry, ignoring case
        {"Somma", "SOMMA", false, true, "SOMMA"},     // itself in another case
        {"Somma", "Totali", false, true, "Totali"},   // a category's blank keeps the names apart
        {"Totali", "Media", true, true, " Media"},    // likewise the other way
        {"Totali", "Conti", true, false, " Totali"},  // another category
    };
    for (const auto &c : cases) {
        TkvlVariables v;
        add(v, " Totali");
        add(v, "Somma", "1");
        add(v, "Media", "2");
        add(v, " Conti");
        const QString from = c.category ? u' ' + QString::fromUtf8(c.from) : QString::fromUtf8(c.from);
        const int at = v.IndexOf(from);
        EXPECT_EQ(kvlRenameEntry(v, QString::fromUtf8(c.from), QString::fromUtf8(c.to), c.category), c.done)
            << c.from << " " << c.to;
        EXPECT_EQ(v.Items(at)->Name(), QString::fromUtf8(c.after)) << c.from << " " << c.to;
    }
}

TEST(VarDictionary, LinesKeepTheValues)
{
    TkvlVariables v;
    add(v, " Vecchia");
    add(v, "Sum1", "[A] + 1");
    add(v, "Sum2", "[B]");
    add(v, "Via", "x");
    EXPECT_EQ(kvlDictionaryLines(v), (QStringList{"Vecchia", " Sum1", " Sum2", " Via"}));
    kvlDictionaryFromLines(v, {"Totals", " Sum1", "   ", " Sum2", " Nuova"});
    EXPECT_EQ(entries(v), (QStringList{" Totals=", "Sum1=[A] + 1", "Sum2=[B]", "Nuova="}));
    v.DeleteCategory(QStringLiteral("Totals"));
    EXPECT_EQ(entries(v), QStringList{});
}

TEST(VarDictionary, AFileThatDoesNotReadKeepsTheDictionary)
{
    QTemporaryDir dir;
    TkvlVariables v;
    add(v, " Totali");
    add(v, "Somma", "1");
    const QString good = dir.filePath(QStringLiteral("buono.kq3"));
    v.SaveToFile(good);
    const QString bad = dir.filePath(QStringLiteral("rotto.kq3"));
    QFile f(bad);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("<variables><item Name=\"x\"");
    f.close();
    TkvlVariables other;
    add(other, "Anno", "2026");
    for (const QString &file : {bad, dir.filePath(QStringLiteral("manca.kq3"))}) {
        EXPECT_ANY_THROW(kvlLoadVariablesKeeping(other, file));
        EXPECT_EQ(entries(other), QStringList{"Anno=2026"});
    }
    kvlLoadVariablesKeeping(other, good);
    EXPECT_EQ(entries(other), (QStringList{" Totali=", "Somma=1"}));
}

} // namespace
