#include "fixtures.h"

#include <gtest/gtest.h>

TEST(FontCascade, NewObjectsStartWithTheLibraryFont)
{
    TkvlProbeView v(nullptr);
    EXPECT_EQ(v.Font()->Name(), QLatin1String("Arial"));
    EXPECT_EQ(v.Font()->Size(), 10);
    EXPECT_EQ(v.Font()->Color(), 0);
    EXPECT_EQ(v.Font()->Charset(), 1);
    EXPECT_TRUE(v.ParentFont());
    kvlSetDefaultCharset(238);
    TkvlProbeView w(nullptr);
    kvlSetDefaultCharset(1);
    EXPECT_EQ(w.Font()->Charset(), 238);
}

TEST(FontCascade, ParentFontFlowsDownUntilAChildChangesItsOwn)
{
    ReportTree t;
    auto *a = t.view("A");
    auto *b = t.view("B", 0, 0, 1, 1, a);
    auto *c = t.view("C");

    enum Step { SetBandName, SetChildOwnSize, ParentFontOnAgain, SetFontObject };
    struct Case {
        Step step;
        const char *bandFont, *aFont, *bFont, *cFont;
        bool aParent, bParent, cParent;
    } cases[] = {
        // A font change on the band reaches every object that inherits, through A to B.
        {SetBandName, "Tahoma", "Tahoma", "Tahoma", "Tahoma", true, true, true},
        // A changes its own font: it stops inheriting, and B follows A.
        {SetChildOwnSize, "Tahoma", "Courier New", "Courier New", "Tahoma", false, true, true},
        // Turning ParentFont on copies the parent's font at once, and B follows again.
        {ParentFontOnAgain, "Tahoma", "Tahoma", "Tahoma", "Tahoma", true, true, true},
        // Setting a font object copies it and turns ParentFont off.
        {SetFontObject, "Tahoma", "Tahoma", "Tahoma", "Times New Roman", true, true, false},
    };
    TFont times;
    times.SetName(QStringLiteral("Times New Roman"));
    for (const Case &k : cases) {
        switch (k.step) {
        case SetBandName: t.band->Font()->SetName(QStringLiteral("Tahoma")); break;
        case SetChildOwnSize: a->Font()->SetName(QStringLiteral("Courier New")); break;
        case ParentFontOnAgain: a->SetParentFont(true); break;
        case SetFontObject: c->SetFont(&times); break;
        }
        EXPECT_EQ(t.band->Font()->Name(), QLatin1String(k.bandFont)) << k.step;
        EXPECT_EQ(a->Font()->Name(), QLatin1String(k.aFont)) << k.step;
        EXPECT_EQ(b->Font()->Name(), QLatin1String(k.bFont)) << k.step;
        EXPECT_EQ(c->Font()->Name(), QLatin1String(k.cFont)) << k.step;
        EXPECT_EQ(a->ParentFont(), k.aParent) << k.step;
        EXPECT_EQ(b->ParentFont(), k.bParent) << k.step;
        EXPECT_EQ(c->ParentFont(), k.cParent) << k.step;
        EXPECT_EQ(c->IsFontStored(), !k.cParent) << k.step;
    }

    // A new parent's font is taken on by an inheriting child.
    auto *band2 = new TkvlProbeBand(t.page);
    band2->Font()->SetSize(20);
    b->SetParent(band2);
    EXPECT_EQ(b->Font()->Size(), 20);
}
