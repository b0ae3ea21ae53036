// Object trees: templates written and read, unknown classes, references, the report's lists,
// and objects copying each other through the stream.
#include "standins.h"

#include "platform/gfx/tfont.h"
#include "platform/rtl/stream.h"
#include "report/data/kvldataset.h"
#include "report/data/kvldatasetlist.h"
#include "report/options/kvloptions.h"
#include "report/core/kvlresourcetext.h"
#include "report/serial/xmlserializer.h"
#include "report/xml/xmldocument.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class TreeTest : public ::testing::Test {
protected:
    void SetUp() override { registerTestClasses(); }

    static QByteArray save(TkvlComponent *c)
    {
        TMemoryStream m;
        c->SaveToStream(m);
        return m.Bytes();
    }
    static void load(TkvlComponent *c, const QByteArray &bytes)
    {
        TMemoryStream m(bytes);
        // The object tree's own read: a report document would also add its data page and
        // report the problems to the user.
        c->TkvlComponent::LoadFromStream(m);
    }
    static QByteArray doc(const char *body)
    {
        return QByteArray("<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"no\"?>") + body;
    }
};

TEST_F(TreeTest, TemplateRoundTripKeepsTreeOrderAndReferences)
{
    TComponent host(nullptr);
    auto *src = new TTestSource(&host);
    src->SetName(QStringLiteral("Source1"));
    TTestReport rep(&host);
    rep.SetTag(9);
    rep.DataSet = src;
    rep.EngineOptions()->DoublePass = true;
    rep.EngineOptions()->MaxMemSize = 20;
    auto *page = new TkvlPage(&rep);
    page->SetName(QStringLiteral("Page1"));
    auto *m1 = new TTestMemo(page);
    m1->SetName(QStringLiteral("Memo1"));
    m1->Lines = {QStringLiteral("Hello")};
    auto *k = new TTestKinds(page);
    k->SetName(QStringLiteral("Kinds1"));
    k->Link = m1;

    const QByteArray bytes = save(&rep);
    const QString text = QString::fromUtf8(bytes);
    EXPECT_TRUE(text.startsWith(QLatin1String("<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"no\"?>")));
    EXPECT_TRUE(text.contains(QLatin1String("<TTestReport Tag=\"9\""))) << text.toStdString();
    // A source owned by the report's owner is referred to by its bare name.
    EXPECT_TRUE(text.contains(QLatin1String(" DataSet=\"Source1\"")));
    EXPECT_TRUE(text.contains(QLatin1String("<TkvlPage Name=\"Page1\"")));
    // Option records are nested objects with dotted names; their defaults are left out.
    EXPECT_TRUE(text.contains(QLatin1String(" EngineOptions.DoublePass=\"True\" EngineOptions.MaxMemSize=\"20\"")))
        << text.toStdString();
    EXPECT_FALSE(text.contains(QLatin1String("EngineOptions.ConvertNulls")));
    EXPECT_LT(text.indexOf(QLatin1String("Memo1")), text.indexOf(QLatin1String("Kinds1")));

    TTestReport back(&host);
    load(&back, bytes);
    EXPECT_EQ(back.Errors().Count(), 0) << back.Errors().Text().toStdString();
    EXPECT_EQ(back.Tag(), 9);
    EXPECT_EQ(back.DataSet.get(), src);
    EXPECT_TRUE(back.EngineOptions()->DoublePass);
    EXPECT_EQ(back.EngineOptions()->MaxMemSize, 20);
    ASSERT_EQ(back.ObjectCount(), 1);
    TkvlComponent *p = back.Object(0);
    EXPECT_EQ(p->Name(), QStringLiteral("Page1"));
    ASSERT_EQ(p->ObjectCount(), 2);
    auto *bm = rtl_cast<TTestMemo>(p->Object(0));
    auto *bk = rtl_cast<TTestKinds>(p->Object(1));
    ASSERT_TRUE(bm && bk);
    EXPECT_EQ(bm->Lines, QStringList{QStringLiteral("Hello")});
    EXPECT_EQ(bk->Link.get(), bm);
    for (TkvlComponent *c : back.GetAllObjects())
        EXPECT_FALSE(c->GetIsLoading()) << c->Name().toStdString();
}

TEST_F(TreeTest, UnknownClassesAreListedOnceWithTheirSubtreeSkipped)
{
    TTestReport rep;
    load(&rep, doc("<TTestReport><TkvlPage Name=\"Page1\">"
                   "<TNoSuch Name=\"X1\"><TTestMemo Name=\"Inner\"/></TNoSuch>"
                   "<TNoSuch Name=\"X2\"/><TFont Name=\"F\"/>"
                   "<TTestMemo Name=\"Memo1\" Left=\"oops\" Top=\"5\"/></TkvlPage></TTestReport>"));
    EXPECT_EQ(rep.FindObject(QStringLiteral("Inner")), nullptr);
    auto *m = rtl_cast<TTestMemo>(rep.FindObject(QStringLiteral("Memo1")));
    ASSERT_NE(m, nullptr);
    EXPECT_DOUBLE_EQ(m->Top(), 5);
    const QString prefix = kvlResourceText(QStringLiteral("xrCantFindClass")) + u' ';
    EXPECT_NE(rep.Errors().IndexOf(prefix + QStringLiteral("TNoSuch")), -1);
    EXPECT_NE(rep.Errors().IndexOf(prefix + QStringLiteral("TFont")), -1);  // not a report object
    EXPECT_EQ(rep.Errors().Count(), 3) << rep.Errors().Text().toStdString();  // + the bad Left
}

TEST_F(TreeTest, DeepNestingStopsWithOneMessage)
{
    QByteArray body = "<TTestReport>";
    for (int i = 0; i < 400; ++i)
        body += "<TkvlPage>";
    for (int i = 0; i < 400; ++i)
        body += "</TkvlPage>";
    body += "</TTestReport>";
    TTestReport rep;
    load(&rep, doc(body.constData()));
    EXPECT_EQ(rep.Errors().Count(), 1) << rep.Errors().Text().toStdString();
    const size_t n = rep.GetAllObjects().size();
    EXPECT_GT(n, 200u);
    EXPECT_LT(n, 400u);
}

TEST_F(TreeTest, InheritedElementsApplyToExistingObjectsOnly)
{
    TTestReport rep;
    rep.AncestorOnlyStream = true;  // keep the objects that came from the parent
    auto *m = new TTestMemo(&rep);
    m->SetName(QStringLiteral("Memo1"));
    m->Ancestor = true;
    const QByteArray written = [&] {
        TMemoryStream s;
        rep.SaveToStream(s, true, false, false);
        return s.Bytes();
    }();
    EXPECT_TRUE(QString::fromUtf8(written).contains(QLatin1String("<inherited Name=\"Memo1\"")));
    load(&rep, doc("<TTestReport><inherited Name=\"Memo1\" Tag=\"4\"/><inherited Name=\"Gone\" Tag=\"5\"/>"
                   "</TTestReport>"));
    EXPECT_EQ(m->Tag(), 4);
    EXPECT_EQ(rep.ObjectCount(), 1);
}

TEST_F(TreeTest, InheritedTemplateWritesOnlyDifferences)
{
    TTestReport parent;
    parent.SetTag(3);
    auto *pm = new TTestMemo(&parent);
    pm->SetName(QStringLiteral("Memo1"));
    pm->SetBounds(10, 20, 100, 30);
    pm->Lines = {QStringLiteral("same")};

    TTestReport child;
    child.ParentReport = &parent;
    child.SetTag(3);
    auto *cm = new TTestMemo(&child);
    cm->SetName(QStringLiteral("Memo1"));
    cm->Ancestor = true;
    cm->SetBounds(10, 25, 100, 30);
    cm->Lines = {QStringLiteral("same")};
    auto *own = new TTestMemo(&child);
    own->SetName(QStringLiteral("Own"));

    const QString text = QString::fromUtf8(save(&child));
    EXPECT_TRUE(text.contains(QLatin1String("<TTestReport>\r\n"))) << text.toStdString();  // Tag as the parent's
    EXPECT_TRUE(text.contains(QLatin1String("<inherited Name=\"Memo1\" Top=\"25\"/>"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QLatin1String("<TTestMemo Name=\"Own\" Left=\"0\"")));
    EXPECT_TRUE(text.contains(QLatin1String(" Text=\"\"/>")));
}

TEST_F(TreeTest, ReferencesResolveOnlyToTheAllowedClass)
{
    TComponent host(nullptr);
    host.SetName(QStringLiteral("Form1"));
    auto *outside = new TTestSource(&host);
    outside->SetName(QStringLiteral("Src"));
    TTestReport rep;
    auto *page = new TkvlPage(&rep);
    page->SetName(QStringLiteral("Page1"));
    auto *target = new TTestMemo(page);
    target->SetName(QStringLiteral("Target"));

    struct Case {
        const char *value;
        bool startLinked;
        TkvlComponent *expect;
        bool unresolved;  // skipped without an error, kept for callers that want the names
    } cases[] = {
        {"Target", false, target, false},
        {"nil", true, nullptr, false},
        {"Page1", true, target, true},     // a page where a memo is wanted: refused, kept
        {"Missing", false, nullptr, true},
        {"NoForm.Src", false, nullptr, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.value);
        TkvlXMLSerializer s;
        s.Owner = &rep;
        TTestKinds k(nullptr);
        if (c.startLinked)
            k.Link = target;
        s.ReadPersistentStr(&rep, &k, QStringLiteral(" Link=\"%1\"").arg(QLatin1String(c.value)));
        EXPECT_EQ(k.Link.get(), c.expect);
        EXPECT_EQ(s.Errors.Count(), 0) << s.Errors.Text().toStdString();
        EXPECT_EQ(s.UnresolvedReferences, c.unresolved ? QStringList{QLatin1String(c.value)} : QStringList());
    }

    // Dotted names go through the program's global containers.
    rtl::AddGlobalContainer(&host);
    TkvlXMLSerializer s;
    s.Owner = &rep;
    rep.DataSet = nullptr;
    s.ReadPersistentStr(&rep, &rep, QStringLiteral(" DataSet=\"Form1.Src\""));
    EXPECT_EQ(rep.DataSet.get(), outside);
    EXPECT_EQ(s.Errors.Count(), 0);
    rtl::RemoveGlobalContainer(&host);
}

TEST_F(TreeTest, ReportListsTravelInTheTemplate)
{
    TComponent host(nullptr);
    auto *users = new TkvlUserDataSet(&host);  // a record source on the report's owner
    users->SetName(QStringLiteral("Users"));
    users->SetUserName(QStringLiteral("Utenti"));
    TTestReport rep(&host);
    auto *page = new TkvlPage(&rep);
    auto *onPage = new TkvlUserDataSet(page);  // one of the report's own, placed on a page
    onPage->SetName(QStringLiteral("Local"));
    onPage->SetLeft(40);
    onPage->SetTop(60);
    rep.Variables.AddVariable(QString(), QStringLiteral("ignored"), Variant());  // no such category
    rep.Variables.SetVariables(QStringLiteral(" Totals"), Variant());
    rep.Variables.SetVariables(QStringLiteral("Sum1"), Variant(QStringLiteral("[a] + [b]")));
    TkvlStyleItem *st = rep.Styles.Add();
    st->SetName(QStringLiteral("Bold"));
    st->ApplyFrame = false;
    rep.DataSets()->Add(users);
    rep.DataSets()->Add(onPage);

    const QString text = QString::fromUtf8(save(&rep));
    const qsizetype d = text.indexOf(QLatin1String("<Datasets>")), v = text.indexOf(QLatin1String("<Variables>")),
                    s = text.indexOf(QLatin1String("<Styles>"));
    EXPECT_TRUE(d > 0 && d < v && v < s) << text.toStdString();

    EXPECT_TRUE(text.contains(QLatin1String("<item DataSet=\"Users\" DataSetName=\"Utenti\"/>")))
        << text.toStdString();

    TTestReport back(&host);
    load(&back, text.toUtf8());
    EXPECT_EQ(back.Errors().Count(), 0) << back.Errors().Text().toStdString();
    ASSERT_EQ(back.DataSets()->Count(), 2);
    EXPECT_EQ(back.DataSets()->Items(0)->DataSet(), users);
    auto *local = rtl_cast<TkvlUserDataSet>(back.FindObject(QStringLiteral("Local")));
    ASSERT_NE(local, nullptr);
    EXPECT_EQ(back.DataSets()->Items(1)->DataSet(), local);
    // Its place on the data page travels as non-published data.
    EXPECT_DOUBLE_EQ(local->Left(), 40);
    EXPECT_DOUBLE_EQ(local->Top(), 60);
    ASSERT_EQ(back.Variables.Count(), 2);
    EXPECT_EQ(back.Variables.Variables(QStringLiteral("sum1")).toString(), QStringLiteral("[a] + [b]"));
    ASSERT_EQ(back.Styles.Count(), 1);
    EXPECT_EQ(back.Styles.Items(0)->Name(), QStringLiteral("Bold"));
    EXPECT_FALSE(back.Styles.Items(0)->ApplyFrame);
    EXPECT_EQ(back.ObjectCount(), 1);
}

TEST_F(TreeTest, InheritedListEntriesMatchByInternalName)
{
    TkvlVariables parent;
    parent.SetVariables(QStringLiteral("Shared"), Variant(QStringLiteral("1")));
    TTestReport rep;
    rep.ParentVariables = &parent;
    rep.Variables.SetVariables(QStringLiteral("Shared"), Variant(QStringLiteral("2")));
    rep.Variables.SetVariables(QStringLiteral("Own"), Variant(QStringLiteral("3")));
    const QString text = QString::fromUtf8(save(&rep));
    EXPECT_TRUE(text.contains(QLatin1String("<item InheritedName=\"Shared\" Value=\"2\""))) << text.toStdString();

    // An inherited report applies the item to its own entry of that internal name.
    TTestReport child;
    child.ParentVariables = &parent;
    child.Ancestor = true;
    child.AncestorOnlyStream = true;
    child.Variables.SetVariables(QStringLiteral("Shared"), Variant(QStringLiteral("1")));
    load(&child, doc("<TTestReport><Variables><item InheritedName=\"Shared\" Value=\"2\"/>"
                     "<item InheritedName=\"NotThere\" Value=\"9\"/><item Name=\"Own\" Value=\"3\"/>"
                     "</Variables></TTestReport>"));
    ASSERT_EQ(child.Variables.Count(), 2);
    EXPECT_EQ(child.Variables.Variables(QStringLiteral("Shared")).toString(), QStringLiteral("2"));
    EXPECT_TRUE(child.Variables.Items(0)->IsInherited);
    EXPECT_EQ(child.Variables.Items(1)->Name(), QStringLiteral("Own"));
}

TEST_F(TreeTest, AssignCopiesValuesAndAssignAllTheChildren)
{
    TTestReport a, b;
    auto *pa = new TkvlPage(&a);
    pa->SetName(QStringLiteral("PageA"));
    pa->SetTag(11);
    pa->Font()->SetName(QStringLiteral("Courier"));
    auto *m = new TTestMemo(pa);
    m->SetName(QStringLiteral("Memo1"));
    m->Lines = {QStringLiteral("x")};

    auto *pb = new TkvlPage(&b);
    pb->Assign(pa);
    EXPECT_EQ(pb->Tag(), 11);
    EXPECT_EQ(pb->Font()->Name(), QStringLiteral("Courier"));
    EXPECT_EQ(pb->ObjectCount(), 0);
    EXPECT_TRUE(pb->Name().isEmpty());  // the name is the object's own

    pb->AssignAll(pa);
    ASSERT_EQ(pb->ObjectCount(), 1);
    auto *copy = rtl_cast<TTestMemo>(pb->Object(0));
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->Lines, QStringList{QStringLiteral("x")});
    EXPECT_EQ(copy->Owner(), &b);

    TFont font;
    pb->Assign(&font);  // not a report object: nothing happens
    EXPECT_EQ(pb->Tag(), 11);
}

TEST_F(TreeTest, MalformedDocumentRaisesAndSingleObjectsStream)
{
    TTestReport rep;
    EXPECT_ANY_THROW(load(&rep, QByteArray("<TTestReport><unclosed")));

    TMemoryStream m;
    TkvlXMLSerializer w(&m);
    TTestKinds k(nullptr);
    k.Count = 8;
    w.WriteComponent(&k);
    EXPECT_TRUE(m.Bytes().startsWith("<TTestKinds "));
    EXPECT_TRUE(m.Bytes().endsWith("/>"));
    m.SetPosition(0);
    TkvlXMLSerializer r(&m);
    std::unique_ptr<TPersistent> back(r.ReadComponent(nullptr));
    auto *bk = rtl_cast<TTestKinds>(back.get());
    ASSERT_NE(bk, nullptr);
    EXPECT_EQ(bk->Count, 8);
    EXPECT_EQ(r.ReadComponentStr(nullptr, u"TNoSuch A=\"1\""), nullptr);
    EXPECT_EQ(r.Errors.Count(), 1);

    // Prepared pages need no references: DontFixup drops those of the object read.
    std::unique_ptr<TPersistent> kept(r.ReadComponentStr(nullptr, u"TTestKinds Link=\"A\""));
    std::unique_ptr<TPersistent> dropped(r.ReadComponentStr(nullptr, u"TTestKinds Link=\"B\"", true));
    ASSERT_EQ(r.Fixups.count(), 1);
    EXPECT_EQ(r.Fixups.item(0).name, QStringLiteral("A"));
}

} // namespace
