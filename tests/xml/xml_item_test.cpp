#include "tests/base/qt_print.h"
#include "report/xml/xmlitem.h"

#include <gtest/gtest.h>

#include <memory>

TEST(XmlItem, PropRead)
{
    struct Case { QString text, name, value; bool exists; } cases[] = {
        {u"Left=\"1\" Top=\"2\""_qs, u"left"_qs, u"1"_qs, true},
        {u"Left=\"1\" Top=\"2\""_qs, u"TOP"_qs, u"2"_qs, true},
        {u"Left=\"1\" Top=\"2\""_qs, u"eft"_qs, {}, false},
        {u"Left=\"1\" Top=\"2\""_qs, u"Lef"_qs, {}, false},
        // Text inside another attribute's value is never taken for a name.
        {u"Memo=\"x Left=\" Left=\"7\""_qs, u"Left"_qs, u"7"_qs, true},
        {u"Memo=\"Top=&#34;3&#34;\""_qs, u"Top"_qs, {}, false},
        {u"Font.Name=\"Arial\" Name=\"M1\""_qs, u"Name"_qs, u"M1"_qs, true},
        {u"Text=\"a&#13;&#10;b&amp;c\""_qs, u"Text"_qs, u"a\r\nb&c"_qs, true},
        {u"  A=\"\"  B=\"b\" "_qs, u"a"_qs, {}, true},
        // A missing '=' or quote ends the scan.
        {u"A=\"1\" B=2 C=\"3\""_qs, u"C"_qs, {}, false},
        {u"A=\"1\" B C=\"3\""_qs, u"A"_qs, u"1"_qs, true},
        {u"A=\"open"_qs, u"A"_qs, {}, false},
        {u"\u00e9t\u00e9=\"summer\""_qs, u"\u00c9T\u00c9"_qs, u"summer"_qs, true},
        {{}, u"A"_qs, {}, false},
    };
    for (const auto &c : cases) {
        TkvlXMLItem item;
        item.SetText(c.text);
        EXPECT_EQ(item.Prop(c.name), c.value) << c.text.toStdString() << " / " << c.name.toStdString();
        EXPECT_EQ(item.PropExists(c.name), c.exists) << c.text.toStdString() << " / " << c.name.toStdString();
    }
}

TEST(XmlItem, PropWriteAndDeleteKeepPositions)
{
    struct Case { QString text; char op; QString name, value, result; } cases[] = {
        {u"A=\"1\" B=\"2\" C=\"3\""_qs, 's', u"b"_qs, u"x<y"_qs, u"A=\"1\" b=\"x&#60;y\" C=\"3\""_qs},
        {u"A=\"1\""_qs, 's', u"New"_qs, u"v"_qs, u"A=\"1\" New=\"v\""_qs},
        {u"A=\"1\" "_qs, 's', u"New"_qs, u"v"_qs, u"A=\"1\" New=\"v\""_qs},
        {{}, 's', u"New"_qs, u"say \"hi\""_qs, u"New=\"say &#34;hi&#34;\""_qs},
        {u"Memo=\"x Left=\""_qs, 's', u"Left"_qs, u"5"_qs, u"Memo=\"x Left=\" Left=\"5\""_qs},
        {u"A=\"1\" B=\"2\" C=\"3\""_qs, 'd', u"B"_qs, {}, u"A=\"1\" C=\"3\""_qs},
        {u"A=\"1\" B=\"2\""_qs, 'd', u"A"_qs, {}, u"B=\"2\""_qs},
        {u"A=\"1\" B=\"2\""_qs, 'd', u"B"_qs, {}, u"A=\"1\" "_qs},
        {u"A=\"1\""_qs, 'd', u"Z"_qs, {}, u"A=\"1\""_qs},
    };
    for (const auto &c : cases) {
        TkvlXMLItem item;
        item.SetText(c.text);
        if (c.op == 's')
            item.SetProp(c.name, c.value);
        else
            item.DeleteProp(c.name);
        EXPECT_EQ(item.Text(), c.result) << c.text.toStdString() << " " << c.op << " " << c.name.toStdString();
    }
}

TEST(XmlItem, TreeOperations)
{
    TkvlXMLItem root;
    TkvlXMLItem *a = root.Add(u"a"_qs);
    TkvlXMLItem *b = root.Add(u"b"_qs);
    EXPECT_EQ(root.Find(u"B"_qs), 1);
    EXPECT_EQ(root.Find(u"z"_qs), -1);
    TkvlXMLItem *z = root.FindItem(u"z"_qs);  // appended when missing
    EXPECT_EQ(root.Count(), 3);
    EXPECT_EQ(z->Parent(), &root);

    // Moving an element between parents and positions.
    a->AddItem(z);
    EXPECT_EQ(root.Count(), 2);
    EXPECT_EQ(a->Items(0), z);
    EXPECT_EQ(z->Root(), &root);
    root.InsertItem(0, z);
    EXPECT_EQ(root.IndexOf(z), 0);
    EXPECT_EQ(a->Count(), 0);
    EXPECT_EQ(root.IndexOf(b), 2);

    // Freeing an element takes it out of its parent.
    delete a;
    EXPECT_EQ(root.Count(), 2);
    EXPECT_EQ(root.Items(1), b);
    EXPECT_THROW(root.Items(2), std::out_of_range);
    EXPECT_THROW(b->Items(0), std::out_of_range);

    // Clearing an unloadable element marks it not loaded.
    b->Add();
    b->SetUnloadable(true);
    b->Clear();
    EXPECT_EQ(b->Count(), 0);
    EXPECT_FALSE(b->Loaded());
}
