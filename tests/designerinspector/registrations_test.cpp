// The registrations made at start: which editor each property gets, what is hidden, which
// component editors serve which objects, and the palette.
#include "inspectorfixture.h"

#include "designer/core/propeditors.h"
#include "report/bands/kvlband.h"
#include "report/dmp/kvldmpviews.h"
#include "report/document/kvlreport.h"
#include "report/memo/kvlmemo.h"
#include "report/pages/kvlreportpage.h"
#include "report/registry/kvlregistries.h"
#include "report/views/kvlpicture.h"
#include "report/resources/kvlresources.h"

#include <gtest/gtest.h>

namespace {

class Registrations : public ::testing::Test {
protected:
    Registrations() { registerDesignerOnce(); }
    SmallReport r;
};

TEST_F(Registrations, PropertyEditorsByTypeClassAndName)
{
    auto *data = new TkvlDataPage(r.report.get());
    auto *footer = new TkvlFooter(r.page);
    auto *dmpMemo = new TkvlDMPMemoView(r.band);
    r.memo1->SetFillType(ftBrush);
    struct Case {
        TkvlComponent *object;
        const char *path;
        const char *editor;  // "" when hidden
    };
    const Case cases[] = {
        {r.memo1, "Left", "TkvlLocSizeXProperty"},
        {r.memo1, "Height", "TkvlLocSizeYProperty"},
        {r.memo1, "Frame.Width", "TkvlFloatProperty"},
        {r.memo1, "Frame.Color", "TkvlColorProperty"},
        {r.memo1, "BrushStyle", ""},
        {r.memo1, "Fill.Style", "TkvlBrushProperty"},
        {r.memo1, "Fill", "TkvlFillProperty"},
        {r.memo1, "Frame", "TkvlFrameProperty"},
        {r.memo1, "Frame.Style", "TkvlFrameStyleProperty"},
        {r.memo1, "Name", "TkvlNameProperty"},
        {r.memo1, "Font", "TkvlFontProperty"},
        {r.memo1, "Font.Name", "TkvlFontNameProperty"},
        {r.memo1, "Font.Charset", "TkvlFontCharsetProperty"},
        {r.memo1, "Font.Color", "TkvlColorProperty"},
        {r.memo1, "Font.Height", ""},
        {r.memo1, "DataField", "TkvlDataFieldProperty"},
        {r.memo1, "DataSet", "TkvlDataSetProperty"},
        {r.memo1, "DisplayFormat", "TkvlDisplayFormatProperty"},
        {r.memo1, "Visible", "TkvlBooleanProperty"},
        {r.memo1, "OnBeforePrint", "TkvlEventProperty"},
        {r.memo1, "Cursor", "TkvlCursorProperty"},
        {r.memo1, "Highlight.Active", ""},
        {dmpMemo, "DisplayFormat", "TkvlDisplayFormatProperty"},
        {r.page, "ColumnWidth", ""},
        {r.page, "PaperWidth", "TkvlPaperXProperty"},
        {r.page, "LeftMargin", "TkvlPaperXProperty"},
        {r.band, "ColumnWidth", "TkvlLocSizeXProperty"},
        {r.band, "ColumnGap", "TkvlLocSizeXProperty"},
        {r.band, "DataSetName", ""},
        {footer, "Vertical", ""},
        {r.report.get(), "Name", ""},
        {r.report.get(), "ScriptText", ""},
        {data, "Left", ""},
        {data, "Top", ""},
        {data, "Tag", ""},
        {data, "Visible", ""},
        {data, "Name", "TkvlNameProperty"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(editorOf(c.object, QString::fromLatin1(c.path)), QString::fromLatin1(c.editor))
            << c.object->ClassName().toStdString() << " " << c.path;
}

TEST_F(Registrations, ComponentEditorsOfTheStandardObjects)
{
    auto *footer = new TkvlFooter(r.page);
    auto *title = new TkvlReportTitle(r.page);
    auto *dmpMemo = new TkvlDMPMemoView(r.band);
    auto *data = new TkvlDataPage(r.report.get());
    const std::pair<TkvlComponent *, const char *> cases[] = {
        {r.band, "TkvlDataBandEditor"},  {footer, "TkvlBandEditor"},   {title, "TkvlBandEditor"},
        {r.memo1, "TkvlMemoEditor"},     {dmpMemo, "TkvlMemoEditor"},  {r.picture, "TkvlPictureEditor"},
        {r.page, "TkvlPageEditor"},      {data, nullptr},
    };
    for (const auto &[object, editor] : cases) {
        auto e = kvlComponentEditors().GetComponentEditor(object, nullptr, nullptr);
        EXPECT_EQ(e ? QString::fromLatin1(e->ClassName()) : QString(), QString::fromLatin1(editor))
            << object->ClassName().toStdString();
    }
    // The context menu's items come as a plain list.
    TkvlMenuItems items;
    auto e = kvlComponentEditors().GetComponentEditor(r.memo1, nullptr, &items);
    e->AddItem(QStringLiteral("Stretched"), 3, true);
    e->AddItem(QStringLiteral("-"), -1, false);
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].Tag, 3);
    EXPECT_TRUE(items[0].Checked);
    EXPECT_FALSE(items[0].Separator);
    EXPECT_TRUE(items[1].Separator);
}

TEST_F(Registrations, PaletteDrawCategoryAndAnEmptyOther)
{
    const TkvlObjectCollection &o = kvlObjects();
    QStringList draw;
    int other = 0;
    bool drawCategory = false, otherCategory = false;
    for (int i = 0; i < o.Count(); ++i) {
        const TkvlObjectItem &item = o.Items(i);
        if (!item.ClassRef) {
            drawCategory |= item.CategoryName == QLatin1String("Draw") && item.ButtonHint == QLatin1String("obCatDraw")
                         && item.ButtonImageIndex == 6;
            otherCategory |= item.CategoryName == QLatin1String("Other") && item.ButtonImageIndex == 66;
            continue;
        }
        if (item.CategoryName == QLatin1String("Draw"))
            draw << QStringLiteral("%1/%2/%3/%4")
                        .arg(item.ClassRef->name())
                        .arg(item.Flags)
                        .arg(item.ButtonImageIndex)
                        .arg(kvlResources().Get(item.ButtonHint.isEmpty() ? QStringLiteral("-") : item.ButtonHint));
        other += item.CategoryName == QLatin1String("Other");
    }
    EXPECT_TRUE(drawCategory);
    EXPECT_TRUE(otherCategory);
    EXPECT_EQ(other, 0);
    EXPECT_EQ(draw, QStringList({"TkvlLineView/0/5/-", "TkvlLineView/1/7/Linea diagonale",
                                 "TkvlLineView/2/63/Linea diagonale", "TkvlLineView/3/64/Linea diagonale",
                                 "TkvlLineView/4/65/Linea diagonale", "TkvlShapeView/0/8/Rettangolo",
                                 "TkvlShapeView/1/9/Rettangolo arrotondato", "TkvlShapeView/2/10/Ellisse",
                                 "TkvlShapeView/3/11/Triangolo", "TkvlShapeView/4/31/Diamante"}));
    const TkvlObjectItem *memo = o.Find(TkvlMemoView::StaticClass());
    ASSERT_TRUE(memo);
    EXPECT_EQ(memo->Category, kvlBit(ctData) | kvlBit(ctReport));
    EXPECT_EQ(memo->ButtonImageIndex, 2);
}

TEST_F(Registrations, DescriptionsOfProperties)
{
    const std::pair<const char *, const char *> cases[] = {
        {"propColor", "Colore dell'oggetto"},
        {"propColor.TFont", "Colore del testo"},
        {"propWidth.TkvlFrame", "Larghezza della cornice"},
        {"propClipped", "Determines whether the text should be clipped inside the objects bounds"},
    };
    for (const auto &[key, text] : cases)
        EXPECT_EQ(kvlResources().Get(QString::fromLatin1(key)), QString::fromUtf8(text)) << key;
}

} // namespace
