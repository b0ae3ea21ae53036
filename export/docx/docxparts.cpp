// The style sheet, font table and settings every exported document carries: plain defaults
// of their kind, with the body text in the theme's minor fonts at 11 points.
#include "export/docx/docxpackage.h"

namespace docx {

namespace {

const char kDecl[] = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n";
const char kMainNs[] = "http://schemas.openxmlformats.org/wordprocessingml/2006/main";

// One latent-style exception: its name, priority (-1: none), and whether it is listed among
// the quick styles and shown without being used.
struct Latent {
    const char *name;
    int priority;
    bool quick;
    bool shown;
};

void AppendLatent(QByteArray &Out, const Latent &L)
{
    Out += "<w:lsdException w:name=\"";
    Out += L.name;
    Out += '"';
    if (L.shown)
        Out += " w:semiHidden=\"0\" w:unhideWhenUsed=\"0\"";
    if (L.priority >= 0)
        Out += " w:uiPriority=\"" + QByteArray::number(L.priority) + '"';
    if (L.quick)
        Out += " w:qFormat=\"1\"";
    Out += "/>";
}

QByteArray MakeStyles()
{
    QByteArray s = kDecl;
    s += "<w:styles xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\" xmlns:w=\"";
    s += kMainNs;
    s += "\"><w:docDefaults><w:rPrDefault><w:rPr><w:rFonts w:asciiTheme=\"minorHAnsi\" "
         "w:eastAsiaTheme=\"minorEastAsia\" w:hAnsiTheme=\"minorHAnsi\" w:cstheme=\"minorBidi\"/>"
         "<w:sz w:val=\"22\"/><w:szCs w:val=\"22\"/><w:lang w:val=\"ru-RU\" w:eastAsia=\"ru-RU\" "
         "w:bidi=\"ar-SA\"/></w:rPr></w:rPrDefault><w:pPrDefault><w:pPr><w:spacing w:after=\"200\" "
         "w:line=\"276\" w:lineRule=\"auto\"/></w:pPr></w:pPrDefault></w:docDefaults>";

    std::vector<Latent> latent = {
        {"Normal", 0, true, true}, {"heading 1", 9, true, true},
    };
    static const char *const headings[] = {"heading 2", "heading 3", "heading 4", "heading 5",
                                            "heading 6", "heading 7", "heading 8", "heading 9"};
    for (const char *h : headings)
        latent.push_back({h, 9, true, false});
    static const char *const tocs[] = {"toc 1", "toc 2", "toc 3", "toc 4", "toc 5",
                                       "toc 6", "toc 7", "toc 8", "toc 9"};
    for (const char *t : tocs)
        latent.push_back({t, 39, false, false});
    const Latent middle[] = {
        {"caption", 35, true, false},         {"Title", 10, true, true},
        {"Default Paragraph Font", 1, false, false}, {"Subtitle", 11, true, true},
        {"Strong", 22, true, true},           {"Emphasis", 20, true, true},
        {"Table Grid", 59, false, true},      {"Placeholder Text", -1, false, false},
        {"No Spacing", 1, true, true},
    };
    latent.insert(latent.end(), std::begin(middle), std::end(middle));
    // The table styles: each family plain and in the six accent colours.
    static const std::pair<const char *, int> families[] = {
        {"Light Shading", 60},     {"Light List", 61},        {"Light Grid", 62},   {"Medium Shading 1", 63},
        {"Medium Shading 2", 64},  {"Medium List 1", 65},     {"Medium List 2", 66}, {"Medium Grid 1", 67},
        {"Medium Grid 2", 68},     {"Medium Grid 3", 69},     {"Dark List", 70},    {"Colorful Shading", 71},
        {"Colorful List", 72},     {"Colorful Grid", 73},
    };
    static const QByteArray names = [] {
        QByteArray all;
        for (const auto &f : families) {
            all += f.first;
            all += '\0';
            for (int a = 1; a <= 6; ++a) {
                all += f.first;
                all += " Accent " + QByteArray::number(a);
                all += '\0';
            }
        }
        return all;
    }();
    const char *name = names.constData();
    for (const auto &f : families)
        for (int a = 0; a <= 6; ++a) {
            latent.push_back({name, f.second, false, true});
            name += qstrlen(name) + 1;
        }
    const Latent last[] = {
        {"Revision", -1, false, false},           {"List Paragraph", 34, true, true},
        {"Quote", 29, true, true},                {"Intense Quote", 30, true, true},
        {"Subtle Emphasis", 19, true, true},      {"Intense Emphasis", 21, true, true},
        {"Subtle Reference", 31, true, true},     {"Intense Reference", 32, true, true},
        {"Book Title", 33, true, true},           {"Bibliography", 37, false, false},
        {"TOC Heading", 39, true, false},
    };
    latent.insert(latent.end(), std::begin(last), std::end(last));

    s += "<w:latentStyles w:defLockedState=\"0\" w:defUIPriority=\"99\" w:defSemiHidden=\"1\" "
         "w:defUnhideWhenUsed=\"1\" w:defQFormat=\"0\" w:count=\"267\">";
    for (const Latent &l : latent)
        AppendLatent(s, l);
    s += "</w:latentStyles>"
         "<w:style w:type=\"paragraph\" w:default=\"1\" w:styleId=\"Normal\"><w:name w:val=\"Normal\"/>"
         "<w:qFormat/></w:style>"
         "<w:style w:type=\"character\" w:default=\"1\" w:styleId=\"DefaultParagraphFont\">"
         "<w:name w:val=\"Default Paragraph Font\"/><w:uiPriority w:val=\"1\"/><w:semiHidden/>"
         "<w:unhideWhenUsed/></w:style>"
         "<w:style w:type=\"table\" w:default=\"1\" w:styleId=\"TableNormal\"><w:name w:val=\"Normal Table\"/>"
         "<w:uiPriority w:val=\"99\"/><w:semiHidden/><w:unhideWhenUsed/><w:qFormat/><w:tblPr>"
         "<w:tblInd w:w=\"0\" w:type=\"dxa\"/><w:tblCellMar><w:top w:w=\"0\" w:type=\"dxa\"/>"
         "<w:left w:w=\"108\" w:type=\"dxa\"/><w:bottom w:w=\"0\" w:type=\"dxa\"/>"
         "<w:right w:w=\"108\" w:type=\"dxa\"/></w:tblCellMar></w:tblPr></w:style>"
         "<w:style w:type=\"numbering\" w:default=\"1\" w:styleId=\"NoList\"><w:name w:val=\"No List\"/>"
         "<w:uiPriority w:val=\"99\"/><w:semiHidden/><w:unhideWhenUsed/></w:style>"
         "</w:styles>";
    return s;
}

QByteArray MakeFontTable()
{
    struct Font {
        const char *name, *panose, *family;
        const char *sig[6];
    };
    static const Font fonts[] = {
        {"Calibri", "020F0502020204030204", "swiss",
         {"E00002FF", "4000ACFF", "00000001", "00000000", "0000019F", "00000000"}},
        {"Times New Roman", "02020603050405020304", "roman",
         {"E0002AFF", "C0007841", "00000009", "00000000", "000001FF", "00000000"}},
        {"Arial", "020B0604020202020204", "swiss",
         {"E0002AFF", "C0007843", "00000009", "00000000", "000001FF", "00000000"}},
        {"Tahoma", "020B0604030504040204", "swiss",
         {"E1002EFF", "C000605B", "00000029", "00000000", "000101FF", "00000000"}},
        {"Cambria", "02040503050406030204", "roman",
         {"E00002FF", "400004FF", "00000000", "00000000", "0000019F", "00000000"}},
    };
    QByteArray s = kDecl;
    s += "<w:fonts xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\" xmlns:w=\"";
    s += kMainNs;
    s += "\">";
    for (const Font &f : fonts) {
        s += "<w:font w:name=\"";
        s += f.name;
        s += "\"><w:panose1 w:val=\"";
        s += f.panose;
        s += "\"/><w:charset w:val=\"CC\"/><w:family w:val=\"";
        s += f.family;
        s += "\"/><w:pitch w:val=\"variable\"/><w:sig w:usb0=\"";
        s += f.sig[0];
        s += "\" w:usb1=\"";
        s += f.sig[1];
        s += "\" w:usb2=\"";
        s += f.sig[2];
        s += "\" w:usb3=\"";
        s += f.sig[3];
        s += "\" w:csb0=\"";
        s += f.sig[4];
        s += "\" w:csb1=\"";
        s += f.sig[5];
        s += "\"/></w:font>";
    }
    s += "</w:fonts>";
    return s;
}

QByteArray MakeSettings()
{
    QByteArray s = kDecl;
    s += "<w:settings xmlns:o=\"urn:schemas-microsoft-com:office:office\" "
         "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\" "
         "xmlns:m=\"http://schemas.openxmlformats.org/officeDocument/2006/math\" "
         "xmlns:v=\"urn:schemas-microsoft-com:vml\" xmlns:w10=\"urn:schemas-microsoft-com:office:word\" "
         "xmlns:w=\"";
    s += kMainNs;
    s += "\" xmlns:sl=\"http://schemas.openxmlformats.org/schemaLibrary/2006/main\">"
         "<w:zoom w:percent=\"100\"/><w:embedSystemFonts/><w:bordersDoNotSurroundHeader/>"
         "<w:bordersDoNotSurroundFooter/><w:defaultTabStop w:val=\"720\"/>"
         "<w:drawingGridHorizontalSpacing w:val=\"120\"/><w:drawingGridVerticalSpacing w:val=\"120\"/>"
         "<w:displayHorizontalDrawingGridEvery w:val=\"0\"/><w:displayVerticalDrawingGridEvery w:val=\"3\"/>"
         "<w:doNotUseMarginsForDrawingGridOrigin/><w:doNotShadeFormData/>"
         "<w:characterSpacingControl w:val=\"compressPunctuation\"/><w:doNotValidateAgainstSchema/>"
         "<w:doNotDemarcateInvalidXml/><w:compat><w:spaceForUL/><w:balanceSingleByteDoubleByteWidth/>"
         "<w:doNotLeaveBackslashAlone/><w:ulTrailSpace/><w:doNotExpandShiftReturn/>"
         "<w:adjustLineHeightInTable/><w:useFELayout/></w:compat>"
         "<w:rsids><w:rsidRoot w:val=\"00000001\"/><w:rsid w:val=\"00000001\"/></w:rsids>"
         "<m:mathPr><m:mathFont m:val=\"Cambria Math\"/><m:brkBin m:val=\"before\"/>"
         "<m:brkBinSub m:val=\"--\"/><m:smallFrac m:val=\"off\"/><m:dispDef/><m:lMargin m:val=\"0\"/>"
         "<m:rMargin m:val=\"0\"/><m:defJc m:val=\"centerGroup\"/><m:wrapIndent m:val=\"1440\"/>"
         "<m:intLim m:val=\"subSup\"/><m:naryLim m:val=\"undOvr\"/></m:mathPr>"
         "<w:themeFontLang w:val=\"ru-RU\"/><w:clrSchemeMapping w:bg1=\"light1\" w:t1=\"dark1\" "
         "w:bg2=\"light2\" w:t2=\"dark2\" w:accent1=\"accent1\" w:accent2=\"accent2\" w:accent3=\"accent3\" "
         "w:accent4=\"accent4\" w:accent5=\"accent5\" w:accent6=\"accent6\" w:hyperlink=\"hyperlink\" "
         "w:followedHyperlink=\"followedHyperlink\"/>"
         "<w:shapeDefaults><o:shapedefaults v:ext=\"edit\" spidmax=\"2050\"/><o:shapelayout v:ext=\"edit\">"
         "<o:idmap v:ext=\"edit\" data=\"1\"/></o:shapelayout></w:shapeDefaults>"
         "<w:decimalSymbol w:val=\",\"/><w:listSeparator w:val=\";\"/></w:settings>";
    return s;
}

} // namespace

const QByteArray &StylesPart()
{
    static const QByteArray s = MakeStyles();
    return s;
}

const QByteArray &FontTablePart()
{
    static const QByteArray s = MakeFontTable();
    return s;
}

const QByteArray &SettingsPart()
{
    static const QByteArray s = MakeSettings();
    return s;
}

} // namespace docx
