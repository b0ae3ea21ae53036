#include "platform/rtl/reflect/component.h"
#include "report/utils/components.h"

#include <gtest/gtest.h>
#include <memory>

namespace {

// A data module "dm" with a record source, a form "Main" holding a frame with a grid, and
// a report owned by the form.
class ComponentNames : public ::testing::Test
{
protected:
    void SetUp() override
    {
        dm = std::make_unique<TComponent>(nullptr);
        dm->SetName(QStringLiteral("dm"));
        events = named(dm.get(), "fEVENTS");
        rtl::AddGlobalContainer(dm.get());

        form = std::make_unique<TComponent>(nullptr);
        form->SetName(QStringLiteral("Main"));
        frame = named(form.get(), "Frame1");
        frame->SetState(csInline, true);
        grid = named(frame, "Grid");
        report = named(form.get(), "Report1");
        own = named(report, "Memo1");
        rtl::AddGlobalContainer(form.get());

        loose = std::make_unique<TComponent>(nullptr);
        loose->SetName(QStringLiteral("Loose"));
        stray = named(loose.get(), "Stray");
    }

    static TComponent *named(TComponent *owner, const char *name)
    {
        auto *c = new TComponent(owner);
        c->SetName(QString::fromLatin1(name));
        return c;
    }

    std::unique_ptr<TComponent> dm, form, loose;
    TComponent *events, *frame, *grid, *report, *own, *stray;
};

TEST_F(ComponentNames, FindsByQualifiedName)
{
    EXPECT_EQ(kvlFindComponent(nullptr, QStringLiteral("DM.fevents")), events);
    EXPECT_EQ(kvlFindComponent(nullptr, QStringLiteral("Main.Frame1.Grid")), grid);
    EXPECT_EQ(kvlFindComponent(report, QStringLiteral("Memo1")), own);
    EXPECT_EQ(kvlFindComponent(report, QStringLiteral("Frame1")), nullptr); // plain names stay in the owner
    EXPECT_EQ(kvlFindComponent(nullptr, QStringLiteral("dm.nothing")), nullptr);
    EXPECT_EQ(kvlFindComponent(nullptr, QStringLiteral("Main.Frame1.nothing")), nullptr);

    for (const char *name : {"nodm.fEVENTS", "Main.NoFrame.Grid"}) {
        try {
            kvlFindComponent(nullptr, QString::fromLatin1(name));
            ADD_FAILURE() << name;
        } catch (const EClassNotFound &e) {
            EXPECT_EQ(e.message(), QStringLiteral("Missing ") + QString::fromLatin1(name));
        }
    }
}

TEST_F(ComponentNames, FullNamesRoundTripThroughTheLookup)
{
    EXPECT_EQ(kvlGetFullName(report, nullptr), QString());
    EXPECT_EQ(kvlGetFullName(report, own), QStringLiteral("Memo1"));
    EXPECT_EQ(kvlGetFullName(report, frame), QStringLiteral("Frame1")); // owned by the report's owner
    EXPECT_EQ(kvlGetFullName(report, events), QStringLiteral("dm.fEVENTS"));
    EXPECT_EQ(kvlGetFullName(report, grid), QStringLiteral("Main.Frame1.Grid"));
    EXPECT_EQ(kvlGetFullName(report, dm.get()), QStringLiteral("dm"));
    EXPECT_EQ(kvlGetFullName(report, stray), QString()); // not reachable by a reference

    for (TComponent *c : {events, grid})
        EXPECT_EQ(kvlFindComponent(report, kvlGetFullName(report, c)), c);
}

} // namespace
