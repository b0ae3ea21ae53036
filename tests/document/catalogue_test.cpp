// The attributes each kind of template element can carry, in their order, against what the
// classes write with every property off its default.
#include "platform/rtl/stream.h"
#include "report/core/kvlobjects.h"
#include "report/pages/kvlreportpage.h"
#include "report/xml/xmldocument.h"
#include "report/xml/xmlitem.h"
#include "tests/document/documentfixture.h"

#include <QHash>
#include <gtest/gtest.h>

namespace {

// Attribute names of an element's text, in order; nested ones ("Font.Name") as the part
// after Prefix, or, without a prefix, collapsed to their first part once per run.
QStringList attributeNames(const QString &Text, const QString &Prefix = QString())
{
    QStringList out;
    qsizetype i = 0;
    while (true) {
        while (i < Text.size() && Text[i] == u' ')
            ++i;
        const qsizetype eq = Text.indexOf(u'=', i);
        if (eq < 0)
            break;
        QString name = Text.mid(i, eq - i).trimmed();
        const qsizetype q1 = Text.indexOf(u'"', eq);
        const qsizetype q2 = Text.indexOf(u'"', q1 + 1);
        i = q2 + 1;
        if (!Prefix.isEmpty()) {
            if (!name.startsWith(Prefix))
                continue;
            name = name.mid(Prefix.size()).section(u'.', 0, 0);
        } else {
            name = name.section(u'.', 0, 0);
        }
        if (out.isEmpty() || out.last() != name)
            out << name;
    }
    return out;
}

// The elements of the every-class template, the first of each class.
QHash<QString, QString> elementTexts(const QByteArray &Bytes)
{
    TMemoryStream m(Bytes);
    TkvlXMLDocument doc;
    doc.LoadFromStream(&m, false);
    QHash<QString, QString> out;
    std::function<void(TkvlXMLItem *)> walk = [&](TkvlXMLItem *it) {
        if (!out.contains(it->Name()))
            out.insert(it->Name(), it->Text());
        for (int k = 0; k < it->Count(); ++k)
            walk(it->Items(k));
    };
    walk(doc.Root());
    return out;
}

// Written by every view, after Name, Tag and Description.
const char *const kView = "Align ShiftMode Left Top Width Height GroupIndex Restrictions Visible OnAfterData "
                          "OnAfterPrint OnBeforePrint OnMouseEnter OnMouseLeave OnMouseDown OnMouseMove OnMouseUp "
                          "OnPreviewClick OnPreviewDblClick Hyperlink Hint ShowHint Visibility ";
// Written by every band, after Name, Tag and Description.
const char *const kBand = "FillType Fill FillGap Frame Font Height Left ParentFont Restrictions Top Vertical Visible "
                          "Width OnAfterCalcHeight OnAfterPrint OnBeforePrint ";
const char *const kSource = "Name Tag Description Enabled RangeBegin RangeEnd RangeEndCount UserName ";
const char *const kDataBand =
    "AllowSplit Child Columns ColumnWidth ColumnGap DataSet DataSetName FooterAfterEach Filter KeepChild KeepFooter "
    "KeepHeader KeepTogether OutlineText PrintChildIfInvisible PrintIfDetailEmpty RowCount StartNewPage Stretched "
    "OnMasterDetail";
const char *const kTitle = "AllowSplit Child KeepChild PrintChildIfInvisible StartNewPage Stretched";

QString named(const char *Rest) { return QStringLiteral("Name Tag Description ") + QLatin1String(Rest); }

} // namespace

TEST(CatalogueTest, EveryElementKindWritesItsAttributesInOrder)
{
    registerReportClassesOnce();
    PinnedNumbers numbers(u'.');
    TkvlReport report(nullptr);
    buildEveryClassReport(report);
    const QHash<QString, QString> texts = elementTexts(templateBytes(report));

    const QString view = QLatin1String(kView);
    const QString band = QLatin1String(kBand);
    const QString memoHead = view + QStringLiteral("StretchMode FirstParaBreak LastParaBreak Cursor TagStr ");
    // ImageIndex is written only once the picture is in a prepared report's cache; a
    // record source's DataSet and DataSource only outside a report.
    const QString reportPage = QStringLiteral(
        "Orientation PaperWidth PaperHeight PaperSize LeftMargin RightMargin TopMargin BottomMargin MirrorMargins "
        "Columns ColumnWidth ColumnPositions Bin BinOtherPages BackPicture BackPictureVisible BackPicturePrintable "
        "BackPictureStretched PageCount Color DataSet DataSetName Duplex Frame EndlessHeight EndlessWidth "
        "LargeDesignHeight OutlineText PrintIfEmpty PrintOnPreviousPage ShowTitleOnPreviousPage ResetPageNumbers "
        "TitleBeforeHeader HGuides VGuides OnAfterPrint OnBeforePrint OnManualBuild");
    const std::vector<std::pair<const char *, QString>> table = {
        {"TkvlReportPage", QStringLiteral("Name Tag Font Visible ") + reportPage},
        // Its font is the fixed one its style makes: never its own, so never written.
        {"TkvlDMPPage", QStringLiteral("Name Tag Visible ") + reportPage + QStringLiteral(" FontStyle")},
        {"TkvlDataPage", QStringLiteral("Name Tag Font Visible Height Left Top Width")},
        {"TkvlMasterData", named(kBand) + QLatin1String(kDataBand)},
        {"TkvlDetailData", named(kBand) + QLatin1String(kDataBand)},
        {"TkvlSubdetailData", named(kBand) + QLatin1String(kDataBand)},
        {"TkvlDataBand4", named(kBand) + QLatin1String(kDataBand)},
        {"TkvlDataBand5", named(kBand) + QLatin1String(kDataBand)},
        {"TkvlDataBand6", named(kBand) + QLatin1String(kDataBand)},
        {"TkvlHeader",
         named(kBand) + QStringLiteral("AllowSplit Child KeepChild PrintChildIfInvisible ReprintOnNewPage "
                                       "StartNewPage Stretched")},
        {"TkvlFooter", named(kBand) + QStringLiteral("AllowSplit Child KeepChild PrintChildIfInvisible Stretched")},
        {"TkvlGroupHeader",
         named(kBand) + QStringLiteral("AllowSplit Child Condition DrillDown ExpandDrillDown KeepChild KeepTogether "
                                       "ReprintOnNewPage OutlineText PrintChildIfInvisible ResetPageNumbers "
                                       "ShowFooterIfDrillDown ShowChildIfDrillDown StartNewPage Stretched DrillName")},
        {"TkvlGroupFooter",
         named(kBand) + QStringLiteral("AllowSplit Child HideIfSingleDataRecord KeepChild PrintChildIfInvisible "
                                       "Stretched")},
        {"TkvlPageHeader", named(kBand) + QStringLiteral("Child PrintChildIfInvisible PrintOnFirstPage Stretched")},
        {"TkvlPageFooter", named(kBand) + QStringLiteral("PrintOnFirstPage PrintOnLastPage")},
        {"TkvlReportTitle", named(kBand) + QLatin1String(kTitle)},
        {"TkvlReportSummary", named(kBand) + QLatin1String(kTitle)},
        {"TkvlChild", named(kBand) + QLatin1String(kTitle)},
        {"TkvlColumnHeader", named(kBand) + QStringLiteral("Child Stretched")},
        {"TkvlColumnFooter", named(kBand).trimmed()},
        {"TkvlNullBand", named(kBand).trimmed()},
        {"TkvlOverlay", named(kBand) + QStringLiteral("PrintOnTop")},
        {"TkvlMemoView",
         QStringLiteral("Name Tag Description ") + memoHead +
             QStringLiteral("AutoWidth AllowExpressions AllowHTMLTags CharSpacing Clipped DataField DataSet "
                            "DataSetName DisplayFormat ExpressionDelimiters FlowTo Font Frame FillType Fill GapX GapY "
                            "HAlign HideZeros Highlight LineSpacing ParagraphGap ParentFont Rotation RTLReading Style "
                            "SuppressRepeated Underlines UseDefaultCharset WordBreak WordWrap Wysiwyg VAlign Text")},
        {"TkvlSysMemoView",
         QStringLiteral("Name Tag Description ") + memoHead +
             QStringLiteral("AutoWidth CharSpacing DisplayFormat Font Frame FillType Fill GapX GapY HAlign HideZeros "
                            "Highlight ParentFont Rotation RTLReading Style SuppressRepeated VAlign WordWrap Text")},
        {"TkvlLineView",
         named(kView) + QStringLiteral("StretchMode Color TagStr ArrowEnd ArrowLength ArrowSolid ArrowStart "
                                       "ArrowWidth Frame Diagonal")},
        {"TkvlDMPMemoView",
         QStringLiteral("Name Tag Description ") + memoHead +
             QStringLiteral("AutoWidth AllowExpressions DataField DataSet DataSetName DisplayFormat "
                            "ExpressionDelimiters FlowTo FontStyle Frame HAlign HideZeros ParentFont RTLReading "
                            "SuppressRepeated WordWrap TruncOutboundText VAlign Text")},
        {"TkvlDMPLineView", named(kView) + QStringLiteral("StretchMode Color TagStr FontStyle ParentFont")},
        {"TkvlDMPCommand", named(kView) + QStringLiteral("Command")},
        {"TkvlPictureView",
         named(kView) + QStringLiteral("Cursor AutoSize Center DataField DataSet DataSetName Frame FillType Fill "
                                       "FileLink KeepAspectRatio Picture Stretched TagStr HightQuality Transparent "
                                       "TransparentColor")},
        {"TkvlShapeView", named(kView) + QStringLiteral("Cursor Curve FillType Fill Frame Shape TagStr")},
        {"TkvlCheckBoxView",
         named(kView) + QStringLiteral("CheckColor Checked CheckStyle Cursor DataField DataSet DataSetName "
                                       "Expression Frame TagStr UncheckStyle")},
        {"TkvlUserDataSet", QLatin1String(kSource) + QStringLiteral("Fields PropData")},
        {"TkvlDBDataset",
         QLatin1String(kSource) +
             QStringLiteral("CloseDataSource FieldAliases OpenDataSource BCDToCurrency PropData")},
    };
    // Parts of the catalogue that other work brings: their names are taken out until then.
    for (const auto &[cls, expectedText] : table) {
        const QString c = QString::fromLatin1(cls);
        SCOPED_TRACE(cls);
        ASSERT_TRUE(texts.contains(c)) << "no element of this class";
        const QStringList expected = expectedText.split(u' ', Qt::SkipEmptyParts);
        EXPECT_EQ(attributeNames(texts.value(c)).join(u' ').toStdString(),
                  expected.join(u' ').toStdString());
    }

    // Nested records, in the memo's element (the band's for its fill gaps).
    const QString memo = texts.value(QStringLiteral("TkvlMemoView"));
    const std::vector<std::tuple<const char *, QString, const char *>> nested = {
        {"Font.", memo, "Charset Color Height Name Orientation Pitch Style Quality"},
        {"Frame.", memo,
         "Color DropShadow ShadowColor ShadowWidth Style Typ Width LeftLine TopLine RightLine BottomLine"},
        {"Frame.LeftLine.", memo, "Color Style Width"},
        {"Hyperlink.", memo, "Kind DetailReport DetailPage Expression ReportVariable TabCaption Value ValuesSeparator"},
        {"DisplayFormat.", memo, "DecimalSeparator ThousandSeparator FormatStr Kind"},
        {"Highlight.", memo, "ApplyFont ApplyFill ApplyFrame Font Condition FillType Fill Frame Visible"},
        {"FillGap.", texts.value(QStringLiteral("TkvlMasterData")), "Top Left Bottom Right"},
    };
    for (const auto &[prefix, text, names] : nested)
        EXPECT_EQ(attributeNames(text, QString::fromLatin1(prefix)).join(u' ').toStdString(), names) << prefix;
    // The fill of a view with its kind changed to each of the three.
    for (const auto &[kind, names] : {std::pair{"ftBrush", "BackColor ForeColor Style"},
                                      std::pair{"ftGradient", "StartColor EndColor GradientStyle"},
                                      std::pair{"ftGlass", "Color Blend Hatch Orientation"}}) {
        TkvlReport r(nullptr);
        auto *page = new TkvlReportPage(&r);
        auto *shape = rtl_cast<TkvlView>(rtl::FindClass(u"TkvlShapeView")->create(page));
        rtl::FindClass(u"TkvlShapeView")->findProp(u"FillType")->setOrdText(shape, QString::fromLatin1(kind));
        setOffDefaults(shape->Fill(), &r);
        const QString text = QString::fromUtf8(templateBytes(r));
        const qsizetype at = text.indexOf(QLatin1String("<TkvlShapeView"));
        EXPECT_EQ(attributeNames(text.mid(at, text.indexOf(u'>', at) - at), QStringLiteral("Fill.")).join(u' ')
                      .toStdString(),
                  names)
            << kind;
    }
}
