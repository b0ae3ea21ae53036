// What the report modules register, compared with the vocabulary written down for scripts:
// constants, enumerations and sets with their values, classes with their ancestors in order,
// the members each module adds with their declarations, the functions, the global object,
// and the place of both modules in the module list.
#include "report/document/kvlreportunit.h"
#include "report/vars/kvlvariables.h"
#include "script/core/qsscript.h"
#include "script/items/qsclasses.h"
#include "tests/scriptreport/scriptreportfixture.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using scriptreporttest::RegisterOnce;

class Registration : public ::testing::Test
{
protected:
    void SetUp() override
    {
        RegisterOnce();
        script.AddRTTI();
    }
    TqsScript script;
};

TEST_F(Registration, ConstantsWithTheirValues)
{
    const struct
    {
        const char *name;
        double value;
    } constants[] = {
        {"kv01cm", 3.77953}, {"kv1cm", 37.7953}, {"kv01in", 9.6},     {"kv1in", 96},      {"kv1CharX", 9.6},
        {"kv1CharY", 17},    {"clTransparent", 536870911}, {"crHand", 150}, {"crZoom", 151}, {"crFormat", 152},
    };
    for (const auto &c : constants) {
        auto *v = dynamic_cast<TqsCustomVariable *>(script.FindLocal(QString::fromLatin1(c.name)));
        ASSERT_NE(v, nullptr) << c.name;
        EXPECT_DOUBLE_EQ(v->GetValue().toDouble(), c.value) << c.name;
        EXPECT_TRUE(v->FIsReadOnly) << c.name;
    }
    EXPECT_TRUE(script.Variables(QStringLiteral("kv1in")).isOrdinal());
    EXPECT_TRUE(script.Variables(QStringLiteral("kv1CharY")).isOrdinal());
}

TEST_F(Registration, EnumerationsAndSetsTakeTheirValuesInOrder)
{
    const struct
    {
        const char *type;
        bool set;
        const char *values;
    } types[] = {
        {"TkvlStretchMode", false, "smDontStretch smActualHeight smMaxHeight"},
        {"TkvlShiftMode", false, "smDontShift smAlways smWhenOverlapped"},
        {"TkvlDuplexMode", false, "dmNone dmVertical dmHorizontal dmSimplex"},
        {"TkvlAlign", false, "baNone baLeft baRight baCenter baWidth baBottom baClient"},
        {"TkvlFrameStyle", false, "fsSolid fsDash fsDot fsDashDot fsDashDotDot fsDouble"},
        {"TkvlFrameTypes", true, "ftLeft ftRight ftTop ftBottom"},
        {"TkvlHAlign", false, "haLeft haRight haCenter haBlock"},
        {"TkvlVAlign", false, "vaTop vaBottom vaCenter"},
        {"TkvlRestrictions", true, "rfDontModify rfDontSize rfDontMove rfDontDelete"},
        {"TkvlShapeKind", false, "skRectangle skRoundRectangle skEllipse skTriangle skDiamond skDiagonal1 skDiagonal2"},
        {"TkvlPreviewButtons", true,
         "pbPrint pbLoad pbSave pbExport pbZoom pbFind pbOutline pbPageSetup pbTools pbEdit pbNavigator pbExportQuick "
         "pbNoClose pbNoFullScreen pbNoEmail"},
        {"TkvlZoomMode", false, "zmDefault zmWholePage zmPageWidth zmManyPages"},
        {"TkvlPrintPages", false, "ppAll ppOdd ppEven"},
        {"TkvlDMPFontStyles", true,
         "fsxBold fsxItalic fsxUnderline fsxSuperScript fsxSubScript fsxCondensed fsxWide fsx12cpi fsx15cpi"},
        {"TkvlRangeBegin", false, "rbFirst rbCurrent"},
        {"TkvlRangeEnd", false, "reLast reCurrent reCount"},
        {"TkvlFieldType", false, "fftNumeric fftString fftBoolean"},
        {"TkvlFormatKind", false, "fkText fkNumeric fkDateTime fkBoolean"},
        {"TkvlFillType", false, "ftBrush ftGradient ftGlass"},
        {"TkvlPrintMode", false, "pmDefault pmSplit pmJoin pmScale"},
        {"TkvlVisibilityTypes", true, "vsPreview vsExport vsPrint"},
        {"TkvlCheckStyle", false, "csCross csCheck csLineCross csPlus"},
        {"TkvlUncheckStyle", false, "usEmpty usCross usLineCross usMinus"},
    };
    for (const auto &t : types) {
        SCOPED_TRACE(t.type);
        EXPECT_NE(script.FindLocal(QString::fromLatin1(t.type)), nullptr);
        const QStringList values = QString::fromLatin1(t.values).split(u' ');
        for (int i = 0; i < values.size(); ++i)
            EXPECT_EQ(script.Variables(values[i]).toInt(), t.set ? 1 << i : i) << values[i].toStdString();
    }
    // Scripts cannot name the two frame styles beyond the sixth.
    EXPECT_EQ(script.FindLocal(u"fsAltDot"), nullptr);
    EXPECT_EQ(script.FindLocal(u"rfDontEdit"), nullptr);
}

// The classes with their ancestors (the check box view comes from the second module).
const char *const ClassTable[][2] = {
    {"TJPEGImage", "TGraphic"},          {"TPngImage", "TGraphic"},             {"TkvlHyperlink", "TPersistent"},
    {"TkvlCustomFill", "TPersistent"},   {"TkvlBrushFill", "TkvlCustomFill"},   {"TkvlGradientFill", "TkvlCustomFill"},
    {"TkvlGlassFill", "TkvlCustomFill"}, {"TkvlFillGaps", "TPersistent"},       {"TWideStrings", "TPersistent"},
    {"TkvlDataSet", "TComponent"},       {"TkvlUserDataSet", "TkvlDataSet"},    {"TkvlCustomDBDataSet", "TkvlDataSet"},
    {"TkvlComponent", "TComponent"},     {"TkvlReportComponent", "TkvlComponent"},
    {"TkvlDialogComponent", "TkvlReportComponent"},                             {"TkvlDialogControl", "TkvlReportComponent"},
    {"TkvlFrameLine", "TPersistent"},    {"TkvlFrame", "TPersistent"},          {"TkvlView", "TkvlReportComponent"},
    {"TkvlShapeView", "TkvlView"},       {"TkvlStretcheable", "TkvlView"},      {"TkvlHighlight", "TPersistent"},
    {"TkvlFormat", "TPersistent"},       {"TkvlCustomMemoView", "TkvlStretcheable"},
    {"TkvlMemoView", "TkvlCustomMemoView"},                                     {"TkvlSysMemoView", "TkvlCustomMemoView"},
    {"TkvlDMPMemoView", "TkvlCustomMemoView"},                                  {"TkvlCustomLineView", "TkvlStretcheable"},
    {"TkvlLineView", "TkvlCustomLineView"},                                     {"TkvlDMPLineView", "TkvlCustomLineView"},
    {"TkvlDMPCommand", "TkvlView"},      {"TkvlPictureView", "TkvlView"},       {"TkvlSubreport", "TkvlView"},
    {"TkvlBand", "TkvlReportComponent"}, {"TkvlDataBand", "TkvlBand"},          {"TkvlHeader", "TkvlBand"},
    {"TkvlFooter", "TkvlBand"},          {"TkvlMasterData", "TkvlDataBand"},    {"TkvlDetailData", "TkvlDataBand"},
    {"TkvlSubdetailData", "TkvlDataBand"}, {"TkvlDataBand4", "TkvlDataBand"},   {"TkvlDataBand5", "TkvlDataBand"},
    {"TkvlDataBand6", "TkvlDataBand"},   {"TkvlPageHeader", "TkvlBand"},        {"TkvlPageFooter", "TkvlBand"},
    {"TkvlColumnHeader", "TkvlBand"},    {"TkvlColumnFooter", "TkvlBand"},      {"TkvlGroupHeader", "TkvlBand"},
    {"TkvlGroupFooter", "TkvlBand"},     {"TkvlReportTitle", "TkvlBand"},       {"TkvlReportSummary", "TkvlBand"},
    {"TkvlChild", "TkvlBand"},           {"TkvlOverlay", "TkvlBand"},           {"TkvlPage", "TkvlComponent"},
    {"TkvlReportPage", "TkvlPage"},      {"TkvlDialogPage", "TkvlPage"},        {"TkvlDMPPage", "TkvlReportPage"},
    {"TkvlDataPage", "TkvlPage"},        {"TkvlEngineOptions", "TPersistent"},  {"TkvlPrintOptions", "TPersistent"},
    {"TkvlPreviewOptions", "TPersistent"}, {"TkvlReportOptions", "TPersistent"}, {"TkvlVariable", "TCollectionItem"},
    {"TkvlVariables", "TCollection"},    {"TkvlStyleItem", "TCollectionItem"},  {"TkvlStyles", "TCollection"},
    {"TkvlArray", "TCollection"},        {"TkvlReport", "TkvlComponent"},       {"TkvlPreview", "TControl"},
    {"TkvlCustomEngine", "TPersistent"}, {"TkvlEngine", "TkvlCustomEngine"},    {"TkvlCustomOutline", "TPersistent"},
    {"TkvlOutline", "TkvlCustomOutline"}, {"TkvlCheckBoxView", "TkvlView"},
};

TEST_F(Registration, ClassesWithTheirAncestors)
{
    for (const auto &c : ClassTable) {
        TqsClassVariable *cls = script.FindClass(QString::fromLatin1(c[0]));
        ASSERT_NE(cls, nullptr) << c[0];
        EXPECT_EQ(cls->FAncestor, QLatin1String(c[1])) << c[0];
    }
}

// A member as the test writes it: methods by their declaration, constructors and indexed
// properties as the declaration they are registered with, properties as "Name: Type" with
// " (read-only)" when they have no setter.
QStringList ModuleMembers(const TqsClassVariable &cls)
{
    QStringList out;
    for (TqsCustomVariable *m : cls.FMembers) {
        if (auto *p = dynamic_cast<TqsPropertyHelper *>(m)) {
            if (!p->FPropInfo)
                out << p->FName + QStringLiteral(": ") + p->FTypeName + (p->FIsReadOnly ? QStringLiteral(" (read-only)") : QString());
        } else if (auto *h = dynamic_cast<TqsMethodHelper *>(m)) {
            QString text = h->FSyntax;
            if (h->FIndexMethod)
                text = (h == cls.FDefProperty ? QStringLiteral("default ") : QStringLiteral("indexed ")) + text +
                       (h->FIsReadOnly ? QStringLiteral(" (read-only)") : QString());
            out << text;
        }
    }
    out.sort();
    return out;
}

TEST_F(Registration, MembersAsDeclared)
{
    const struct
    {
        const char *cls;
        QStringList members;
    } table[] = {
        {"TWideStrings",
         {"function Create: Constructor", "function Add(const S: string): Integer",
          "function AddObject(const S: string; AObject: TObject): Integer", "procedure Clear", "procedure Delete(Index: Integer)",
          "function IndexOf(const S: string): Integer", "procedure Insert(Index: Integer; const S: string)",
          "procedure LoadFromFile(const FileName: string)", "procedure LoadFromStream(Stream: TStream)",
          "procedure SaveToFile(const FileName: string)", "procedure SaveToStream(Stream: TStream)", "Count: Integer (read-only)",
          "Text: string", "indexed function Objects(p0: Integer): TObject", "default function Strings(p0: Integer): string"}},
        {"TkvlDataSet",
         {"procedure Open", "procedure Close", "procedure First", "procedure Next", "procedure Prior", "function Eof: Boolean",
          "function FieldsCount: Integer", "function HasField(const fName: String): Boolean",
          "function IsBlobField(const fName: String): Boolean", "function RecordCount: Integer",
          "procedure GetFieldList(List: TStrings)", "RecNo: Integer (read-only)",
          "indexed function DisplayText(p0: String): String (read-only)",
          "indexed function DisplayWidth(p0: String): Integer (read-only)",
          "indexed function FieldType(p0: String): TkvlFieldType (read-only)",
          "indexed function Value(p0: String): Variant (read-only)"}},
        {"TkvlComponent",
         {"procedure Clear", "function FindObject(s: String): TkvlComponent", "procedure LoadFromStream(Stream: TStream)",
          "procedure SaveToStream(Stream: TStream; SaveChildren: Boolean = True)",
          "procedure SetBounds(ALeft, ATop, AWidth, AHeight: Extended)", "Objects: TList (read-only)",
          "AllObjects: TList (read-only)", "Parent: TkvlComponent", "Page: TkvlPage (read-only)",
          "AbsLeft: Extended (read-only)", "AbsTop: Extended (read-only)"}},
        {"TkvlDialogControl", {"procedure SetFocus"}},
        {"TkvlView", {"TagStr: String"}},
        {"TkvlStretcheable", {"function CalcHeight: Extended"}},
        {"TkvlCustomMemoView",
         {"function CalcWidth: Extended", "Text: String", "AnsiText: String", "Lines: TWideStrings",
          "Value: Variant (read-only)"}},
        {"TkvlPictureView", {"procedure LoadFromFile(filename: String)"}},
        {"TkvlBand", {"Overflow: Boolean (read-only)"}},
        {"TkvlDialogPage", {"function ShowModal: Integer", "ModalResult: Integer"}},
        {"TkvlEngineOptions", {"DestroyForms: Boolean"}},
        {"TkvlVariables", {"function Create: Constructor", "default function Variables(p0: String): Variant"}},
        {"TkvlStyles",
         {"function Create(AReport: TkvlReport): Constructor", "function Add: TkvlStyleItem",
          "function Find(const Name: String): TkvlStyleItem", "procedure Apply", "procedure GetList(List: TStrings)",
          "procedure LoadFromFile(const FileName: String)", "procedure LoadFromStream(Stream: TStream)",
          "procedure SaveToFile(const FileName: String)", "procedure SaveToStream(Stream: TStream)",
          "default function Items(p0: Integer): TkvlStyleItem"}},
        {"TkvlArray", {"function Create: Constructor", "default function Variables(p0: Variant): Variant"}},
        {"TkvlReport",
         {"function Calc(const Expr: String): Variant", "function GetDataset(const Alias: String): TkvlDataset",
          "function LoadFromFile(const FileName: String): Boolean", "procedure SaveToFile(const FileName: String)",
          "procedure ShowReport", "Terminated: Boolean", "Variables: TkvlVariables (read-only)",
          "Styles: TkvlStyles (read-only)"}},
        {"TkvlCustomEngine",
         {"procedure AddAnchor(const Text: String)", "procedure NewPage", "procedure NewColumn",
          "procedure ShowBand(Band: TkvlBand)", "procedure StopReport", "function FreeSpace: Extended",
          "function GetAnchorPage(const Text: String): Integer"}},
        {"TkvlCustomOutline", {"procedure AddItem(const Text: String)", "procedure LevelRoot", "procedure LevelUp"}},
        // Classes the modules register without members of their own.
        {"TkvlMemoView", {}},
        {"TkvlEngine", {}},
        {"TkvlCheckBoxView", {}},
    };
    for (const auto &t : table) {
        SCOPED_TRACE(t.cls);
        TqsClassVariable *cls = script.FindClass(QString::fromLatin1(t.cls));
        ASSERT_NE(cls, nullptr);
        QStringList expected = t.members;
        expected.sort();
        EXPECT_EQ(ModuleMembers(*cls), expected);
    }
}

TEST_F(Registration, FunctionsWithTheirCategoriesAndTheGlobalVariables)
{
    const struct
    {
        const char *name, *syntax, *category;
    } functions[] = {
        {"DayOf", "function DayOf(Date: TDateTime): Integer", "ctDate"},
        {"MonthOf", "function MonthOf(Date: TDateTime): Integer", "ctDate"},
        {"YearOf", "function YearOf(Date: TDateTime): Integer", "ctDate"},
        {"IIF", "function IIF(Expr: Boolean; TrueValue, FalseValue: Variant): Variant", "ctOther"},
        {"SUM", "function SUM(Expr: Variant; Band: Variant = 0; Flags: Integer = 0): Variant", "ctAggregate"},
        {"AVG", "function AVG(Expr: Variant; Band: Variant = 0; Flags: Integer = 0): Variant", "ctAggregate"},
        {"MIN", "function MIN(Expr: Variant; Band: Variant = 0; Flags: Integer = 0): Variant", "ctAggregate"},
        {"MAX", "function MAX(Expr: Variant; Band: Variant = 0; Flags: Integer = 0): Variant", "ctAggregate"},
        {"COUNT", "function COUNT(Band: Variant = 0; Flags: Integer = 0): Variant", "ctAggregate"},
    };
    for (const auto &f : functions) {
        auto *m = dynamic_cast<TqsMethodHelper *>(script.FindLocal(QString::fromLatin1(f.name)));
        ASSERT_NE(m, nullptr) << f.name;
        EXPECT_EQ(m->FSyntax, QLatin1String(f.syntax));
        EXPECT_EQ(m->FCategory, QLatin1String(f.category));
    }
    EXPECT_EQ(script.Variables(QStringLiteral("kvlGlobalVariables")).toInt(),
              rtl::ObjectHandles::handleOf(&kvlGlobalVariables()));
}

TEST(ReportModules, ComeAfterFormsBeforeDialogsAndTheCheckBoxModuleLast)
{
    RegisterOnce();
    const auto &modules = qsRTTIModules();
    auto at = [&](TqsRTTIModuleClass m) { return std::find(modules.begin(), modules.end(), m) - modules.begin(); };
    EXPECT_EQ(at(&TqsFormsFunctions::Create) + 1, at(&TkvlClassRTTIFunctions::Create));
    EXPECT_EQ(at(&TkvlClassRTTIFunctions::Create) + 1, at(&TqsDialogsFunctions::Create));
    EXPECT_EQ(at(&TqsDialogsFunctions::Create) + 1, at(&TqsIniFunctions::Create));
    EXPECT_EQ(at(&TkvlChBoxRTTIFunctions::Create), std::ptrdiff_t(modules.size()) - 1);
}

TEST(ReportModules, TheWideStringListNeedsTheClassLibrarysPersistentClass)
{
    RegisterOnce();
    TqsScript bare; // no class-library modules
    std::unique_ptr<TqsRTTIModule> module(TkvlClassRTTIFunctions::Create(&bare));
    EXPECT_NE(bare.FindClass(u"TkvlReport"), nullptr);
    EXPECT_EQ(bare.FindClass(u"TWideStrings"), nullptr);
}

} // namespace
