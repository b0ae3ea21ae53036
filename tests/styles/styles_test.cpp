// Styles: names, fills, what a style writes, style-set files, sheets, and applying a set.
#include "../serial/standins.h"

#include "platform/gfx/tfont.h"
#include "platform/rtl/stream.h"
#include "report/appearance/frame.h"
#include "report/serial/xmlserializer.h"

#include <gtest/gtest.h>

namespace {

class StylesTest : public ::testing::Test {
protected:
    void SetUp() override { registerTestClasses(); }
    static QByteArray header() { return "<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"no\"?>"; }
};

TEST_F(StylesTest, NamesAreUniqueIgnoringCase)
{
    TkvlStyles set;
    TkvlStyleItem *a = set.Add();
    a->SetName(QStringLiteral("Style1"));
    TkvlStyleItem *b = set.Add();
    b->SetName(QStringLiteral("Style3"));
    EXPECT_THROW(b->SetName(QStringLiteral("STYLE1")), EDuplicateStyleName);
    EXPECT_EQ(b->Name(), QStringLiteral("Style3"));
    b->SetName(QStringLiteral("STYLE3"));
    EXPECT_EQ(b->Name(), QStringLiteral("STYLE3"));
    TkvlStyleItem *c = set.Add();
    c->CreateUniqueName();
    EXPECT_EQ(c->Name(), QStringLiteral("Style2"));
    EXPECT_EQ(set.Find(QStringLiteral("style2")), c);
    EXPECT_EQ(c->InheritedName(), QStringLiteral("Style2"));
}

TEST_F(StylesTest, FillKindAndColour)
{
    TkvlStyles set;
    TkvlStyleItem *s = set.Add();
    EXPECT_EQ(s->Font()->Name(), QStringLiteral("Arial"));
    EXPECT_EQ(s->Font()->Size(), 10);
    s->SetColor(0xFF);
    EXPECT_EQ(s->Color(), 0xFF);
    s->SetFillType(ftGradient);
    ASSERT_NE(rtl_cast<TkvlGradientFill>(s->Fill()), nullptr);
    const TColor g = static_cast<TkvlGradientFill *>(s->Fill())->GetColor();
    EXPECT_EQ(s->Color(), g);
    s->SetColor(0x00FF00);  // only a brush fill takes a colour
    EXPECT_EQ(s->Color(), g);
    s->SetFillType(ftGlass);
    EXPECT_EQ(s->Color(), clNone);

    TkvlStyleItem *copy = set.Add();
    copy->Assign(s);
    EXPECT_EQ(copy->FillType(), ftGlass);
}

TEST_F(StylesTest, WhatAStyleWrites)
{
    TkvlStyles set;
    TkvlStyleItem *s = set.Add();
    s->SetName(QStringLiteral("Head"));
    TkvlXMLSerializer w;
    const QString plain = w.ObjToXML(s);
    EXPECT_FALSE(plain.contains(QLatin1String("Apply")));
    EXPECT_FALSE(plain.contains(QLatin1String("InheritedName")));
    EXPECT_FALSE(plain.contains(QLatin1String(" Color=")));
    s->ApplyFont = false;
    s->SetFillType(ftGradient);
    static_cast<TkvlGradientFill *>(s->Fill())->FStartColor = 255;
    const QString text = w.ObjToXML(s);
    EXPECT_TRUE(text.contains(QLatin1String(" ApplyFont=\"False\"")));
    // The kind comes before the fill's values, so reading makes the right fill first.
    EXPECT_LT(text.indexOf(QLatin1String(" FillType=\"ftGradient\"")), text.indexOf(QLatin1String(" Fill.")));
    EXPECT_LT(text.indexOf(QLatin1String(" Name=")), text.indexOf(QLatin1String(" Font.")));

    TkvlStyles back;
    w.XMLToObj(text, back.Add());
    EXPECT_EQ(back.Items(0)->FillType(), ftGradient);
    EXPECT_EQ(static_cast<TkvlGradientFill *>(back.Items(0)->Fill())->FStartColor, 255);
    EXPECT_FALSE(back.Items(0)->ApplyFont);
}

TEST_F(StylesTest, LoadingASetAppliesItToTheReport)
{
    TTestReport rep;
    auto *styled = new TTestMemo(&rep);
    auto *orphan = new TTestMemo(&rep);
    TkvlStyleItem *big = rep.Styles.Add();
    big->SetName(QStringLiteral("Big"));
    styled->SetStyle(QStringLiteral("Big"));
    orphan->SetStyle(QStringLiteral("Gone"));
    orphan->Font()->SetName(QStringLiteral("Mine"));

    TkvlStyles file;
    TkvlStyleItem *fb = file.Add();
    fb->SetName(QStringLiteral("BIG"));
    fb->Font()->SetName(QStringLiteral("Courier"));
    file.Name = QStringLiteral("House");
    TMemoryStream m;
    file.SaveToStream(m);
    EXPECT_TRUE(QString::fromUtf8(m.Bytes()).contains(QLatin1String("<style Name=\"House\">")));

    m.SetPosition(0);
    rep.Styles.LoadFromStream(m);
    EXPECT_EQ(rep.Styles.Name, QStringLiteral("House"));
    EXPECT_EQ(styled->Style(), QStringLiteral("BIG"));
    EXPECT_EQ(styled->Font()->Name(), QStringLiteral("Courier"));
    EXPECT_TRUE(orphan->Style().isEmpty());
    EXPECT_EQ(orphan->Font()->Name(), QStringLiteral("Mine"));

    // A sheet is not a set: loading it leaves the set empty.
    TMemoryStream sheet(header() + "<stylesheet><style Name=\"A\"><item Name=\"S\"/></style></stylesheet>");
    rep.Styles.LoadFromStream(sheet);
    EXPECT_EQ(rep.Styles.Count(), 0);
}

TEST_F(StylesTest, StyleSheetRoundTrip)
{
    TkvlStyleSheet sheet;
    TkvlStyles *a = sheet.Add();
    a->Name = QStringLiteral("Classic");
    a->Add()->SetName(QStringLiteral("Title"));
    TkvlStyles *b = sheet.Add();
    b->Name = QString();
    TMemoryStream m;
    sheet.SaveToStream(m);
    EXPECT_TRUE(QString::fromUtf8(m.Bytes()).contains(QLatin1String("<style Name=\"\"/>")));

    m.SetPosition(0);
    TkvlStyleSheet back;
    back.Add();
    back.LoadFromStream(m);
    ASSERT_EQ(back.Count(), 2);
    EXPECT_EQ(back.IndexOf(QStringLiteral("CLASSIC")), 0);
    EXPECT_EQ(back.Find(QStringLiteral("classic"))->Items(0)->Name(), QStringLiteral("Title"));
    EXPECT_EQ(back.Items(1)->Count(), 0);

    TMemoryStream wrong(header() + "<style Name=\"A\"><item Name=\"S\"/></style>");
    back.LoadFromStream(wrong);
    EXPECT_EQ(back.Count(), 0);
}

} // namespace
