#include "designer/core/designerreg.h"

#include "designer/core/inspectorhints.h"
#include "designer/core/propeditorsstd.h"
#include "platform/gfx/picture.h"
#include "platform/gfx/tfont.h"
#include "report/appearance/fill.h"
#include "report/appearance/frame.h"
#include "report/bands/kvlband.h"
#include "report/bands/kvlsubreport.h"
#include "report/data/kvldataset.h"
#include "report/dmp/kvldmppage.h"
#include "report/dmp/kvldmpviews.h"
#include "report/document/kvlreport.h"
#include "report/memo/kvlmemo.h"
#include "report/options/kvloptions.h"
#include "report/pages/kvlreportpage.h"
#include "report/registry/kvlregistries.h"
#include "report/views/kvlhighlight.h"
#include "report/views/kvlline.h"
#include "report/views/kvlpicture.h"
#include "report/views/kvlshape.h"
#include "report/views/kvlview.h"

namespace {

// Editors of the report objects that the designer does not have yet: each behaves as the
// default editor of its property's kind and keeps its own name and place in the rules.
#define KVL_PROPERTY_PLACEHOLDER(Name, Base)                                                 \
    class Name final : public Base {                                                         \
    public:                                                                                  \
        using Base::Base;                                                                    \
        KVL_EDITOR_NAME(Name)                                                                \
    };
KVL_PROPERTY_PLACEHOLDER(TkvlLocSizeXProperty, TkvlFloatProperty)
KVL_PROPERTY_PLACEHOLDER(TkvlLocSizeYProperty, TkvlFloatProperty)
KVL_PROPERTY_PLACEHOLDER(TkvlPaperXProperty, TkvlFloatProperty)
KVL_PROPERTY_PLACEHOLDER(TkvlPaperYProperty, TkvlFloatProperty)
KVL_PROPERTY_PLACEHOLDER(TkvlPaperProperty, TkvlIntegerProperty)
KVL_PROPERTY_PLACEHOLDER(TkvlEventProperty, TkvlStringProperty)
KVL_PROPERTY_PLACEHOLDER(TkvlBooleanProperty, TkvlEnumProperty)
KVL_PROPERTY_PLACEHOLDER(TkvlFrameProperty, TkvlClassProperty)
KVL_PROPERTY_PLACEHOLDER(TkvlFillProperty, TkvlClassProperty)
KVL_PROPERTY_PLACEHOLDER(TkvlPictureProperty, TkvlClassProperty)
KVL_PROPERTY_PLACEHOLDER(TkvlBitmapProperty, TkvlClassProperty)
KVL_PROPERTY_PLACEHOLDER(TkvlDataSetProperty, TkvlComponentProperty)
KVL_PROPERTY_PLACEHOLDER(TkvlDataFieldProperty, TkvlStringProperty)
KVL_PROPERTY_PLACEHOLDER(TkvlStringsProperty, TkvlClassProperty)
KVL_PROPERTY_PLACEHOLDER(TkvlMemoProperty, TkvlClassProperty)
KVL_PROPERTY_PLACEHOLDER(TkvlBrushProperty, TkvlEnumProperty)
KVL_PROPERTY_PLACEHOLDER(TkvlFrameStyleProperty, TkvlEnumProperty)
KVL_PROPERTY_PLACEHOLDER(TkvlDisplayFormatProperty, TkvlClassProperty)
KVL_PROPERTY_PLACEHOLDER(TkvlStyleProperty, TkvlStringProperty)
KVL_PROPERTY_PLACEHOLDER(TkvlPrinterProperty, TkvlStringProperty)
#undef KVL_PROPERTY_PLACEHOLDER

#define KVL_COMPONENT_PLACEHOLDER(Name)                                                      \
    class Name final : public TkvlComponentEditor {                                          \
    public:                                                                                  \
        using TkvlComponentEditor::TkvlComponentEditor;                                      \
        const char *ClassName() const override { return #Name; }                             \
    };
KVL_COMPONENT_PLACEHOLDER(TkvlPageEditor)
KVL_COMPONENT_PLACEHOLDER(TkvlViewEditor)
KVL_COMPONENT_PLACEHOLDER(TkvlMemoEditor)
KVL_COMPONENT_PLACEHOLDER(TkvlSysMemoEditor)
KVL_COMPONENT_PLACEHOLDER(TkvlLineEditor)
KVL_COMPONENT_PLACEHOLDER(TkvlPictureEditor)
KVL_COMPONENT_PLACEHOLDER(TkvlBandEditor)
KVL_COMPONENT_PLACEHOLDER(TkvlDataBandEditor)
KVL_COMPONENT_PLACEHOLDER(TkvlHeaderEditor)
KVL_COMPONENT_PLACEHOLDER(TkvlPageHeaderEditor)
KVL_COMPONENT_PLACEHOLDER(TkvlPageFooterEditor)
KVL_COMPONENT_PLACEHOLDER(TkvlGroupHeaderEditor)
KVL_COMPONENT_PLACEHOLDER(TkvlColumnHeaderEditor)
KVL_COMPONENT_PLACEHOLDER(TkvlColumnFooterEditor)
KVL_COMPONENT_PLACEHOLDER(TkvlOverlayEditor)
KVL_COMPONENT_PLACEHOLDER(TkvlDialogControlEditor)
KVL_COMPONENT_PLACEHOLDER(TkvlSubreportEditor)
#undef KVL_COMPONENT_PLACEHOLDER

template <class T> TkvlPropertyEditorClass ed() { return kvlPropertyEditorClass<T>(); }

// A type no report property uses yet: a rule for it waits for one.
const rtl::TypeInfo *typeNamed(rtl::TypeKind Kind, const char *Name)
{
    const QString name = QString::fromLatin1(Name);
    if (const rtl::TypeInfo *t = rtl::FindType(name))
        return t;
    if (Kind == rtl::TypeKind::Integer || Kind == rtl::TypeKind::Float)
        return rtl::NamedType(Kind, name);
    return rtl::makeType(Kind, name);
}

const rtl::TypeInfo *classType(const rtl::ClassInfo *Cls) { return Cls->type(); }

void registerPalette()
{
    TkvlObjectCollection &o = kvlObjects();
    const TkvlObjectCategories report = kvlBit(ctReport);
    const QString draw = QStringLiteral("Draw");
    o.RegisterObject1(TkvlMemoView::StaticClass(), nullptr, {}, {}, 0, 2, kvlBit(ctData) | report);
    o.RegisterObject1(TkvlPictureView::StaticClass(), nullptr, {}, {}, 0, 3);
    o.RegisterObject1(TkvlSubreport::StaticClass(), nullptr, {}, {}, 0, 4, report | kvlBit(ctDMP));
    o.RegisterObject1(TkvlSysMemoView::StaticClass(), nullptr, {}, {}, 0, 32);
    o.RegisterCategory(draw, nullptr, QStringLiteral("obCatDraw"), 6);
    o.RegisterCategory(QStringLiteral("Other"), nullptr, QStringLiteral("obCatOther"), 66);
    o.RegisterObject1(TkvlLineView::StaticClass(), nullptr, {}, draw, 0, 5, kvlBit(ctData) | report);
    const int diagonals[] = {7, 63, 64, 65};
    for (int i = 0; i < 4; ++i)
        o.RegisterObject1(TkvlLineView::StaticClass(), nullptr, QStringLiteral("obDiagLine"), draw, i + 1, diagonals[i]);
    const std::pair<const char *, int> shapes[] = {
        {"obRect", 8}, {"obRoundRect", 9}, {"obEllipse", 10}, {"obTrian", 11}, {"obDiamond", 31}};
    for (int i = 0; i < 5; ++i)
        o.RegisterObject1(TkvlShapeView::StaticClass(), nullptr, QString::fromLatin1(shapes[i].first), draw, i,
                          shapes[i].second);
}

void registerComponentEditors()
{
    TkvlComponentEditorCollection &c = kvlComponentEditors();
    c.Register(TkvlReportPage::StaticClass(), kvlComponentEditorClass<TkvlPageEditor>());
    c.Register(TkvlView::StaticClass(), kvlComponentEditorClass<TkvlViewEditor>());
    c.Register(TkvlMemoView::StaticClass(), kvlComponentEditorClass<TkvlMemoEditor>());
    c.Register(TkvlSysMemoView::StaticClass(), kvlComponentEditorClass<TkvlSysMemoEditor>());
    c.Register(TkvlDMPMemoView::StaticClass(), kvlComponentEditorClass<TkvlMemoEditor>());
    c.Register(TkvlLineView::StaticClass(), kvlComponentEditorClass<TkvlLineEditor>());
    c.Register(TkvlDMPLineView::StaticClass(), kvlComponentEditorClass<TkvlLineEditor>());
    c.Register(TkvlPictureView::StaticClass(), kvlComponentEditorClass<TkvlPictureEditor>());
    c.Register(TkvlBand::StaticClass(), kvlComponentEditorClass<TkvlBandEditor>());
    c.Register(TkvlDataBand::StaticClass(), kvlComponentEditorClass<TkvlDataBandEditor>());
    c.Register(TkvlHeader::StaticClass(), kvlComponentEditorClass<TkvlHeaderEditor>());
    c.Register(TkvlPageHeader::StaticClass(), kvlComponentEditorClass<TkvlPageHeaderEditor>());
    c.Register(TkvlPageFooter::StaticClass(), kvlComponentEditorClass<TkvlPageFooterEditor>());
    c.Register(TkvlGroupHeader::StaticClass(), kvlComponentEditorClass<TkvlGroupHeaderEditor>());
    c.Register(TkvlColumnHeader::StaticClass(), kvlComponentEditorClass<TkvlColumnHeaderEditor>());
    c.Register(TkvlColumnFooter::StaticClass(), kvlComponentEditorClass<TkvlColumnFooterEditor>());
    c.Register(TkvlOverlay::StaticClass(), kvlComponentEditorClass<TkvlOverlayEditor>());
    // Dialog controls are widgets, known here by their registered class.
    if (const rtl::ClassInfo *control = rtl::FindClass(u"TkvlDialogControl"))
        c.Register(control, kvlComponentEditorClass<TkvlDialogControlEditor>());
    c.Register(TkvlSubreport::StaticClass(), kvlComponentEditorClass<TkvlSubreportEditor>());
}

void registerReportPropertyEditors()
{
    using K = rtl::TypeKind;
    TkvlPropertyEditorCollection &p = kvlPropertyEditors();
    const rtl::TypeInfo *ext = rtl::types::Extended();
    const rtl::TypeInfo *str = rtl::types::String();
    const rtl::TypeInfo *integer = rtl::types::Integer();
    const rtl::ClassInfo *comp = TkvlComponent::StaticClass();
    const rtl::ClassInfo *page = TkvlReportPage::StaticClass();
    p.Register(ext, comp, QStringLiteral("Left"), ed<TkvlLocSizeXProperty>());
    p.Register(ext, comp, QStringLiteral("Top"), ed<TkvlLocSizeYProperty>());
    p.Register(ext, comp, QStringLiteral("Width"), ed<TkvlLocSizeXProperty>());
    p.Register(ext, comp, QStringLiteral("Height"), ed<TkvlLocSizeYProperty>());
    p.Register(ext, page, QStringLiteral("PaperWidth"), ed<TkvlPaperXProperty>());
    p.Register(ext, page, QStringLiteral("PaperHeight"), ed<TkvlPaperYProperty>());
    p.Register(ext, page, QStringLiteral("LeftMargin"), ed<TkvlPaperXProperty>());
    p.Register(ext, page, QStringLiteral("RightMargin"), ed<TkvlPaperXProperty>());
    p.Register(ext, page, QStringLiteral("TopMargin"), ed<TkvlPaperYProperty>());
    p.Register(ext, page, QStringLiteral("BottomMargin"), ed<TkvlPaperYProperty>());
    p.Register(integer, page, QStringLiteral("PaperSize"), ed<TkvlPaperProperty>());
    p.RegisterEventEditor(ed<TkvlEventProperty>());
    p.Register(rtl::types::Boolean(), nullptr, {}, ed<TkvlBooleanProperty>());
    p.Register(classType(TkvlFrame::StaticClass()), nullptr, {}, ed<TkvlFrameProperty>());
    p.Register(classType(TkvlCustomFill::StaticClass()), nullptr, {}, ed<TkvlFillProperty>());
    p.Register(classType(TPicture::StaticClass()), nullptr, {}, ed<TkvlPictureProperty>());
    p.Register(typeNamed(K::Class, "TBitmap"), nullptr, {}, ed<TkvlBitmapProperty>());
    p.Register(classType(TkvlDataSet::StaticClass()), nullptr, {}, ed<TkvlDataSetProperty>());
    p.Register(str, TkvlView::StaticClass(), QStringLiteral("DataField"), ed<TkvlDataFieldProperty>());
    p.Register(rtl::types::TStrings(), nullptr, {}, ed<TkvlStringsProperty>());
    p.Register(typeNamed(K::StringList, "TWideStrings"), TkvlCustomMemoView::StaticClass(), QStringLiteral("Memo"),
               ed<TkvlMemoProperty>());
    p.Register(kvlBrushStyleType(), nullptr, {}, ed<TkvlBrushProperty>());
    p.Register(TkvlFrame::StaticClass()->findProp(u"Style")->type(), nullptr, {}, ed<TkvlFrameStyleProperty>());
    p.Register(str, TkvlMemoView::StaticClass(), QStringLiteral("DisplayFormat"), ed<TkvlDisplayFormatProperty>());
    p.Register(str, TkvlDMPMemoView::StaticClass(), QStringLiteral("DisplayFormat"), ed<TkvlDisplayFormatProperty>());
    p.Register(str, TkvlMemoView::StaticClass(), QStringLiteral("Style"), ed<TkvlStyleProperty>());
    p.Register(ext, TkvlDataBand::StaticClass(), QStringLiteral("ColumnWidth"), ed<TkvlLocSizeXProperty>());
    p.Register(ext, TkvlDataBand::StaticClass(), QStringLiteral("ColumnGap"), ed<TkvlLocSizeXProperty>());
    p.Register(str, TkvlPrintOptions::StaticClass(), QStringLiteral("Printer"), ed<TkvlPrinterProperty>());
    p.Register(integer, TkvlPrintOptions::StaticClass(), QStringLiteral("PrintOnSheet"), ed<TkvlPaperProperty>());
    p.Register(ext, nullptr, QStringLiteral("NextCrossGap"), ed<TkvlLocSizeXProperty>());
    p.Register(ext, nullptr, QStringLiteral("AddWidth"), ed<TkvlLocSizeXProperty>());
    p.Register(ext, nullptr, QStringLiteral("AddHeight"), ed<TkvlLocSizeYProperty>());
}

void registerHiddenProperties()
{
    const std::pair<const rtl::ClassInfo *, const char *> hidden[] = {
        {TkvlReport::StaticClass(),
         "DefaultLanguage;IniFile;Name;Preview;ScriptLanguage;ScriptText;Tag;Variables;DataSetName;DotMatrixReport;"
         "OldStyleProgress;ShowProgress;StoreInDFM;ParentReport"},
        {TkvlEngineOptions::StaticClass(), "NewSilentMode;MaxMemSize;PrintIfEmpty;SilentMode;TempDir;UseFileCache"},
        {TkvlPreviewOptions::StaticClass(),
         "AllowEdit;Buttons;DoubleBuffered;Maximized;MDIChild;Modal;ShowCaptions;Zoom;ZoomMode"},
        {TkvlReportOptions::StaticClass(), "CreateDate;LastChange;Compressed;Password"},
        {TkvlReportPage::StaticClass(), "Bin;BinOtherPages;ColumnWidth;ColumnPositions;DataSetName;HGuides;VGuides"},
        {TkvlDMPPage::StaticClass(), "BackPicture;Color;Font;Frame"},
        {TkvlReportComponent::StaticClass(), "GroupIndex"},
        {TkvlView::StaticClass(), "DataSetName;BrushStyle;URL"},
        {TkvlBand::StaticClass(), "Vertical"},
        {TkvlDataBand::StaticClass(), "DataSetName"},
        {TkvlGroupHeader::StaticClass(), "DrillName"},
        {TFont::StaticClass(), "Height;Pitch"},
        {TkvlHighlight::StaticClass(), "Active"},
        {TkvlPictureView::StaticClass(), "ImageIndex"},
        {TkvlSubreport::StaticClass(), "Page"},
        {TkvlDataPage::StaticClass(), "Left;Tag;Top;Visible"},
        {TkvlCustomMemoView::StaticClass(), "FirstParaBreak;LastParaBreak"},
    };
    for (const auto &[cls, names] : hidden)
        kvlHideProperties(cls, QString::fromLatin1(names));
}

} // namespace

void kvlRegisterCommonPropertyEditors()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    using K = rtl::TypeKind;
    TkvlPropertyEditorCollection &p = kvlPropertyEditors();
    const rtl::ClassInfo *font = TFont::StaticClass();
    // A component's name is a string property of the component class.
    p.Register(rtl::types::String(), TComponent::StaticClass(), QStringLiteral("Name"), ed<TkvlNameProperty>());
    p.Register(rtl::types::TColor(), nullptr, {}, ed<TkvlColorProperty>());
    p.Register(classType(font), nullptr, {}, ed<TkvlFontProperty>());
    p.Register(rtl::types::String(), font, QStringLiteral("Name"), ed<TkvlFontNameProperty>());
    p.Register(rtl::types::Integer(), font, QStringLiteral("Charset"), ed<TkvlFontCharsetProperty>());
    p.Register(typeNamed(K::Integer, "TModalResult"), nullptr, {}, ed<TkvlModalResultProperty>());
    p.Register(typeNamed(K::Integer, "TShortCut"), nullptr, {}, ed<TkvlShortCutProperty>());
    p.Register(rtl::types::TCursor(), nullptr, {}, ed<TkvlCursorProperty>());
    p.Register(rtl::types::TDateTime(), nullptr, {}, ed<TkvlDateTimeProperty>());
    p.Register(typeNamed(K::Float, "TDate"), nullptr, {}, ed<TkvlDateProperty>());
    p.Register(typeNamed(K::Float, "TTime"), nullptr, {}, ed<TkvlTimeProperty>());
}

void kvlRegisterDesignerEditors()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    registerPalette();
    registerComponentEditors();
    registerReportPropertyEditors();
    registerHiddenProperties();
}

void kvlRegisterDesigner()
{
    kvlRegisterCommonPropertyEditors();
    kvlRegisterDesignerEditors();
    kvlAddInspectorHints();
}
