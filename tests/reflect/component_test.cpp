#include "platform/rtl/reflect/classbuilder.h"
#include "platform/rtl/reflect/fixups.h"

#include <gtest/gtest.h>

namespace {

// Counts what it is told about other components.
class TWatcher : public TComponent {
    LIRRA_CLASS(TWatcher, TComponent)
public:
    using TComponent::TComponent;
    std::vector<std::pair<TComponent *, TOperation>> told;
    rtl::ComponentRef<TComponent> Link;
    void Notification(TComponent *c, TOperation op) override
    {
        TComponent::Notification(c, op);
        told.emplace_back(c, op);
    }
};

class TItem : public TCollectionItem {
    LIRRA_CLASS(TItem, TCollectionItem)
public:
    using TCollectionItem::TCollectionItem;
    QString Text;
    void Assign(TPersistent *Source) override
    {
        if (auto *s = rtl_cast<TItem>(Source))
            Text = s->Text;
        else
            TCollectionItem::Assign(Source);
    }
};

// A class publishing a reference to its own descendant.
class TChildBand;
class TBand : public TComponent {
    LIRRA_CLASS(TBand, TComponent)
public:
    using TComponent::TComponent;
    rtl::ComponentRef<TChildBand> Child;
};
class TChildBand : public TBand {
    LIRRA_CLASS(TChildBand, TBand)
public:
    using TBand::TBand;
};

} // namespace

LIRRA_DEFINE_CLASS(TBand)
LIRRA_DEFINE_CLASS(TChildBand)
void TBand::DeclareClass(rtl::ClassBuilder<TBand> &b) { b.prop<&TBand::Child>("Child"); }
void TChildBand::DeclareClass(rtl::ClassBuilder<TChildBand> &) {}

LIRRA_DEFINE_CLASS(TWatcher)
LIRRA_DEFINE_CLASS(TItem)
void TWatcher::DeclareClass(rtl::ClassBuilder<TWatcher> &b)
{
    b.prop<&TWatcher::Link>("Link", TComponent::StaticClass()->type());
}
void TItem::DeclareClass(rtl::ClassBuilder<TItem> &b) { b.prop<&TItem::Text>("Text"); }

TEST(Component, OwnerFreesOwnedComponentsAndReferencesClear)
{
    auto *owner = new TComponent(nullptr);
    auto *a = new TComponent(owner);
    auto *b = new TComponent(owner);
    TWatcher w(nullptr);
    w.Link = b;
    a->FreeNotification(&w);
    EXPECT_EQ(owner->ComponentCount(), 2);

    delete b;  // leaves its owner, clears the link
    EXPECT_EQ(owner->ComponentCount(), 1);
    EXPECT_EQ(w.Link.get(), nullptr);

    delete owner;  // frees a, which tells w
    ASSERT_EQ(w.told.size(), 1u);
    EXPECT_EQ(w.told[0].first, a);
    EXPECT_EQ(w.told[0].second, TOperation::opRemove);
}

TEST(Component, NamesAreValidAndUniqueWithinTheOwner)
{
    TComponent owner(nullptr);
    auto *a = new TComponent(&owner);
    auto *b = new TComponent(&owner);
    a->SetName(QStringLiteral("Memo1"));
    struct Case {
        const char *name;
        bool ok;
    } cases[] = {{"memo1", false}, {"Memo2", true}, {"1abc", false}, {"a b", false}, {"_x9", true}, {"", true}};
    for (const Case &c : cases) {
        b->SetName(QStringLiteral("Start"));
        const QString n = QString::fromLatin1(c.name);
        if (c.ok) {
            b->SetName(n);
            EXPECT_EQ(b->Name(), n);
        } else {
            EXPECT_THROW(b->SetName(n), EComponentError) << c.name;
            EXPECT_EQ(b->Name(), QLatin1String("Start"));
        }
    }
    a->SetName(QStringLiteral("MEMO1"));  // a change of case alone is allowed
    EXPECT_EQ(owner.FindComponent(u"memo1"), a);
}

TEST(Component, GlobalContainersFindDottedNames)
{
    auto *dm = new TComponent(nullptr);
    dm->SetName(QStringLiteral("dm"));
    auto *ev = new TComponent(dm);
    ev->SetName(QStringLiteral("fEVENTS"));
    auto *frame = new TComponent(dm);
    frame->SetName(QStringLiteral("frame1"));
    auto *inner = new TComponent(frame);
    inner->SetName(QStringLiteral("btn"));
    rtl::AddGlobalContainer(dm);

    EXPECT_EQ(rtl::FindGlobalComponent(u"DM.fevents"), ev);
    EXPECT_EQ(rtl::FindGlobalComponent(u"dm.frame1.btn"), inner);
    EXPECT_EQ(rtl::FindGlobalComponent(u"dm"), dm);
    EXPECT_EQ(rtl::FindGlobalComponent(u"dm.nothing"), nullptr);
    EXPECT_EQ(rtl::FindGlobalComponent(u"other.fEVENTS"), nullptr);
    delete dm;  // leaves the list by itself
    EXPECT_EQ(rtl::FindGlobalComponent(u"dm.fEVENTS"), nullptr);
}

TEST(Component, FixupsResolveAfterLoadingAndSkipUnknownNames)
{
    TComponent root(nullptr);
    auto *target = new TComponent(&root);
    target->SetName(QStringLiteral("Target"));
    auto *w1 = new TWatcher(&root);
    auto *w2 = new TWatcher(&root);
    auto *gone = new TWatcher(&root);
    const rtl::PropInfo *link = TWatcher::StaticClass()->findProp(u"Link");
    w2->Link = w1;

    rtl::FixupList fx;
    fx.add(w1, link, QStringLiteral("target"));
    fx.add(w2, link, QStringLiteral("nil"));  // unknown: keeps its value
    fx.add(gone, link, QStringLiteral("Target"));
    delete gone;  // a referring object that died before resolution is skipped
    const int n = fx.resolve([&](const QString &name) { return root.FindComponent(name); });
    EXPECT_EQ(n, 1);
    EXPECT_EQ(w1->Link.get(), target);
    EXPECT_EQ(w2->Link.get(), w1);
    EXPECT_TRUE(fx.isEmpty());
}

TEST(Collection, ItemsKeepOrderIdsAndCopy)
{
    TCollection c(TItem::StaticClass());
    for (const char *t : {"a", "b", "c"})
        static_cast<TItem *>(c.Add())->Text = QString::fromLatin1(t);
    c.Items(2)->SetIndex(0);
    auto texts = [](const TCollection &col) {
        QStringList l;
        for (int i = 0; i < col.Count(); ++i)
            l << static_cast<TItem *>(col.Items(i))->Text;
        return l;
    };
    EXPECT_EQ(texts(c), QStringList({QStringLiteral("c"), QStringLiteral("a"), QStringLiteral("b")}));
    EXPECT_EQ(c.Items(0)->ID(), 2);
    EXPECT_EQ(c.FindItemID(1), c.Items(2));
    c.Delete(1);
    EXPECT_EQ(texts(c), QStringList({QStringLiteral("c"), QStringLiteral("b")}));

    TCollection copy(TItem::StaticClass());
    copy.Add();
    copy.Assign(&c);
    EXPECT_EQ(texts(copy), texts(c));
    EXPECT_EQ(copy.Items(0)->Collection(), &copy);
    delete copy.Items(0);  // an item leaves its collection when freed
    EXPECT_EQ(copy.Count(), 1);
}

TEST(Component, InsertingAComponentChecksItsNameInTheNewOwner)
{
    TComponent a(nullptr), b(nullptr);
    auto *x = new TComponent(&a);
    x->SetName(QStringLiteral("Same"));
    auto *y = new TComponent(&b);
    y->SetName(QStringLiteral("same"));
    EXPECT_THROW(a.InsertComponent(y), EComponentError);
    EXPECT_EQ(y->Owner(), &b);  // still with its old owner
    y->SetName(QStringLiteral("Other"));
    a.InsertComponent(y);
    EXPECT_EQ(y->Owner(), &a);
    EXPECT_EQ(b.ComponentCount(), 0);
}

// A large owner looks names up in a table: it must follow renames, moves and frees, and the
// owned order must survive removals from the middle.
TEST(Component, LargeOwnerKeepsNamesAndOrderThroughChanges)
{
    TComponent owner(nullptr), other(nullptr);
    std::vector<TComponent *> c;
    for (int i = 0; i < 40; ++i) {
        c.push_back(new TComponent(&owner));
        c.back()->SetName(QStringLiteral("C%1").arg(i));
    }
    auto names = [](const TComponent &o) {
        QStringList l;
        for (int i = 0; i < o.ComponentCount(); ++i) {
            l << o.Components(i)->Name();
            EXPECT_EQ(o.Components(i)->ComponentIndex(), i);
        }
        return l;
    };
    ASSERT_EQ(owner.FindComponent(u"c5"), c[5]);

    c[5]->SetName(QStringLiteral("Renamed"));
    EXPECT_EQ(owner.FindComponent(u"C5"), nullptr);
    EXPECT_EQ(owner.FindComponent(u"RENAMED"), c[5]);
    c[6]->SetName(QStringLiteral("C5"));  // the old name is free again
    EXPECT_EQ(owner.FindComponent(u"c5"), c[6]);
    EXPECT_THROW(c[7]->SetName(QStringLiteral("renamed")), EComponentError);

    other.InsertComponent(c[8]);  // moves to another owner
    EXPECT_EQ(owner.FindComponent(u"C8"), nullptr);
    EXPECT_EQ(other.FindComponent(u"C8"), c[8]);

    // Free most of them, from the front, the middle and the back.
    for (int i = 0; i < 40; ++i)
        if (i != 8 && (i < 20 || i % 3 == 0 || i == 39))
            delete c[size_t(i)];
    EXPECT_EQ(names(owner), QString::fromLatin1("C20 C22 C23 C25 C26 C28 C29 C31 C32 C34 C35 C37 C38").split(u' '));
    EXPECT_EQ(owner.FindComponent(u"C0"), nullptr);
    EXPECT_EQ(owner.FindComponent(u"C39"), nullptr);
    auto *again = new TComponent(&owner);
    again->SetName(QStringLiteral("C0"));  // a freed object's name may be reused
    EXPECT_EQ(owner.FindComponent(u"c0"), again);
    EXPECT_EQ(names(owner).back(), QLatin1String("C0"));
    EXPECT_EQ(owner.FindComponent(u"C38"), c[38]);
}

TEST(Collection, AssignRefusesOtherClasses)
{
    TCollection c(TItem::StaticClass());
    TComponent comp(nullptr);
    try {
        c.Assign(&comp);
        ADD_FAILURE() << "no error";
    } catch (const EConvertError &e) {
        EXPECT_EQ(e.message(), QLatin1String("Cannot assign a TComponent to a TCollection"));
    }
    EXPECT_THROW(c.Assign(nullptr), EConvertError);
}

TEST(Component, ReferenceToOwnDescendantResolvesItsClassOnUse)
{
    // Building either class first must not recurse into the other's building.
    const rtl::PropInfo *child = TChildBand::StaticClass()->findProp(u"Child");
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(child, TBand::StaticClass()->findProp(u"Child"));
    EXPECT_EQ(child->kind(), rtl::TypeKind::Component);
    EXPECT_EQ(child->allowedClass(), TChildBand::StaticClass());
    EXPECT_EQ(child->typeName(), QLatin1String("TChildBand"));

    TBand band(nullptr);
    TBand plain(nullptr);
    TChildBand sub(nullptr);
    EXPECT_THROW(child->setObject(&band, &plain), EPropertyError);
    child->setObject(&band, &sub);
    EXPECT_EQ(band.Child.get(), &sub);
}
