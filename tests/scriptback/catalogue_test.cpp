// The catalogue of script names that the designer lists.
#include "backtest.h"

#include "platform/rtl/reflect/component.h"
#include "script/catalogue/qscatalogue.h"
#include "script/xml/qsxml.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>

namespace {

QStringList Texts(const TqsXMLItem *group)
{
    QStringList out;
    for (int i = 0; i < group->Count(); ++i)
        out << group->Items(i)->Prop(QStringLiteral("text"));
    return out;
}

QStringList ChildNames(const TqsXMLItem *item)
{
    QStringList out;
    for (int i = 0; i < item->Count(); ++i)
        out << item->Items(i)->Name;
    return out;
}

const QStringList Groups{QStringLiteral("Functions"), QStringLiteral("Classes"), QStringLiteral("Types"),
                         QStringLiteral("Variables"), QStringLiteral("Constants")};

TEST(Catalogue, AnEmptyScriptStillHasTheFiveGroups)
{
    TqsScript empty;
    for (bool functionsOnly : {false, true}) {
        TqsXMLItem root;
        GenerateXMLContents(&empty, &root, functionsOnly);
        EXPECT_EQ(ChildNames(&root), Groups);
        for (int i = 0; i < root.Count(); ++i)
            EXPECT_EQ(root.Items(i)->Count(), 0);
    }
}

class CatalogueOfAScript : public ::testing::Test
{
protected:
    void SetUp() override
    {
        script.AddRTTI();
        script.AddEnum(QStringLiteral("TkvlHAlign"), QStringLiteral("haLeft, haRight, haCenter, haBlock"));
        base = script.AddClass(TPersistent::StaticClass(), QString());
        base->AddMethod(QStringLiteral("function FindObject(Name: String): TPersistent"), TqsModuleCall());
        base->AddDefaultProperty(QStringLiteral("Items"), QStringLiteral("Integer"), QStringLiteral("Variant"), {}, false);
        auto *comp = script.AddClass(TComponent::StaticClass(), QStringLiteral("TPersistent"));
        comp->AddEvent(QStringLiteral("OnChange"), {});
        script.AddVariable(QStringLiteral("Quote\"d"), QStringLiteral("String"), Variant(QString()));
        GenerateXMLContents(&script, &root, false);
    }
    const TqsXMLItem *Group(const char *name) { return root.Items(root.Find(QString::fromLatin1(name))); }

    TqsScript script;
    TqsClassVariable *base = nullptr;
    TqsXMLItem root;
};

TEST_F(CatalogueOfAScript, FunctionsAreGroupedByCategory)
{
    const TqsXMLItem *functions = Group("Functions");
    QStringList cats;
    int total = 0;
    for (int i = 0; i < functions->Count(); ++i) {
        cats << functions->Items(i)->Prop(QStringLiteral("text"));
        total += functions->Items(i)->Count();
    }
    cats.sort();
    EXPECT_EQ(cats, (QStringList{"ctConv", "ctDate", "ctFormat", "ctMath", "ctOther", "ctString"}));
    EXPECT_EQ(total, 68);
    const TqsXMLItem *conv = functions->Items(functions->Find(QStringLiteral("ctConv")));
    ASSERT_GT(conv->Count(), 0);
    // Name order: BoolToStr comes first among the conversions.
    EXPECT_EQ(conv->Items(0)->Prop(QStringLiteral("text")), QStringLiteral("function BoolToStr(B: Boolean): string;"));
    EXPECT_EQ(conv->Items(0)->Prop(QStringLiteral("description")), QStringLiteral("BoolToStr"));
}

TEST_F(CatalogueOfAScript, ClassesTypesVariablesAndConstants)
{
    EXPECT_EQ(Texts(Group("Classes")),
              (QStringList{"TComponent = class(TPersistent)", "TPersistent = class()"}));
    const TqsXMLItem *comp = Group("Classes")->Items(0);
    EXPECT_EQ(Texts(comp), (QStringList{"property Tag: Integer", "event OnChange"}));
    EXPECT_EQ(Texts(Group("Classes")->Items(1)),
              (QStringList{"function FindObject(Name: String): TPersistent", "index property Items(p0: Integer): Variant"}));

    EXPECT_EQ(Texts(Group("Types")), QStringList{"TkvlHAlign: (haBlock,haCenter,haLeft,haRight)"});
    EXPECT_EQ(ChildNames(Group("Types")), QStringList{"item"});

    const QStringList vars = Texts(Group("Variables"));
    EXPECT_TRUE(vars.contains(QStringLiteral("ExceptionMessage: String")));
    EXPECT_TRUE(vars.contains(QStringLiteral("Quote\"d: String")));
    const QStringList consts = Texts(Group("Constants"));
    for (const char *c : {"True: Boolean = True", "nil: Variant = 0", "Null: Variant = ", "varArray: Integer = 8192"})
        EXPECT_TRUE(consts.contains(QLatin1String(c))) << c;
    EXPECT_EQ(ChildNames(&root), Groups);
}

TEST_F(CatalogueOfAScript, FunctionsOnlyListsNothingElse)
{
    TqsXMLItem only;
    GenerateXMLContents(&script, &only, true);
    EXPECT_EQ(ChildNames(&only), Groups);
    EXPECT_EQ(only.Items(0)->Count(), 6);
    for (int i = 1; i < 5; ++i)
        EXPECT_EQ(only.Items(i)->Count(), 0) << Groups[i].toStdString();
}

TEST_F(CatalogueOfAScript, MembersOfAClassIncludeItsAncestors)
{
    TqsXMLItem members;
    GenerateMembers(&script, TComponent::StaticClass(), &members);
    QStringList texts = Texts(&members);
    texts.sort();
    EXPECT_EQ(texts, (QStringList{"event OnChange", "function FindObject(Name: String): TPersistent",
                                  "index property Items(p0: Integer): Variant", "property Tag: Integer"}));
    TqsXMLItem none;
    GenerateMembers(&script, TPersistent::StaticClass(), &none);
    EXPECT_EQ(none.Count(), 2);
}

TEST_F(CatalogueOfAScript, WrittenCatalogueIsWellFormedXml)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("catalogue.xml"));
    TqsXMLDocument doc;
    doc.Root()->Name = QStringLiteral("catalogue");
    doc.Root()->Assign(&root);
    doc.Root()->Name = QStringLiteral("catalogue");
    doc.SaveToFile(file);
    QProcess py;
    py.start(QStringLiteral("/usr/bin/python3"),
             {QStringLiteral("-c"), QStringLiteral("import sys, xml.dom.minidom as m; d = m.parse(sys.argv[1]); "
                                                   "print(len(d.getElementsByTagName('item')))"),
              file});
    ASSERT_TRUE(py.waitForFinished(30000));
    EXPECT_EQ(py.exitCode(), 0) << py.readAllStandardError().toStdString();
    EXPECT_GT(py.readAllStandardOutput().trimmed().toInt(), 68);
}

} // namespace
