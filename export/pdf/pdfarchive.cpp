// The archival mode: structure tree root with its role map, XMP metadata agreeing with the
// information dictionary, and the sRGB output intent.
#include "export/pdf/pdfexport.h"
#include "export/pdf/pdftext.h"

#include "export/pdf/resources/pdfresources.h"

using pdf::integer;
using pdf::ln;

namespace {

QByteArray xmlEscaped(const QString &Value) { return Value.toHtmlEscaped().toUtf8(); }

const char *const kRoleMap[][2] = {
    {"Footnote", "Note"},   {"Endnote", "Note"},        {"Textbox", "Sect"},    {"Header", "Sect"},
    {"Footer", "Sect"},     {"InlineShape", "Sect"},    {"Annotation", "Sect"}, {"Artifact", "Sect"},
    {"Workbook", "Document"}, {"Worksheet", "Part"},    {"Macrosheet", "Part"}, {"Chartsheet", "Part"},
    {"Dialogsheet", "Part"}, {"Slide", "Part"},         {"Chart", "Sect"},      {"Diagram", "Figure"},
};

} // namespace

void TkvlPDFExport::WriteArchivalObjects()
{
    FArchival = {};
    if (!PdfA)
        return;
    pdf::Writer w(FOut);
    const int roles = UpdateXRef();
    w << ObjNumber(roles) << ln << "<<" << ln;
    for (const auto &pair : kRoleMap)
        w << '/' << pair[0] << " /" << pair[1] << ln;
    w << ">>" << ln << "endobj" << ln;

    FArchival.StructTree = UpdateXRef();
    w << ObjNumber(FArchival.StructTree) << ln << "<<" << ln << "/Type /StructTreeRoot" << ln << "/RoleMap "
      << ObjNumberRef(roles) << ln << ">>" << ln << "endobj" << ln;

    // Part 2, conformance B: nothing is tagged. The values are those of the information
    // dictionary, the date the same instant with the same offset.
    QByteArray xmp = pdf::resources::XmpTemplate();
    const std::pair<const char *, QByteArray> values[] = {
        {"{10}", xmlEscaped(Author)},  {"{0}", xmlEscaped(Creator)},  {"{1}", xmlEscaped(Subject)},
        {"{2}", xmlEscaped(Title)},    {"{3}", pdf::xmpDateString(FDate)}, {"{4}", xmlEscaped(Keywords)},
        {"{5}", xmlEscaped(Producer)}, {"{6}", FFileID},                {"{7}", FFileID},
        {"{8}", "2"},                  {"{9}", "B"},
    };
    for (const auto &[key, value] : values)
        xmp.replace(key, value);
    xmp += "\r\n";
    FArchival.Metadata = UpdateXRef();
    w << ObjNumber(FArchival.Metadata) << ln << "<< /Type /Metadata /Subtype /XML " << ln << "/Length "
      << integer(xmp.size()) << ">>" << ln << "stream" << ln;
    EncryptData(FArchival.Metadata, xmp);
    FOut += xmp;
    w << ln << "endstream" << ln << "endobj" << ln;

    const int profile = UpdateXRef();
    QByteArray icc = pdf::resources::SRGBProfile();
    w << ObjNumber(profile) << ln << "<<" << ln << "/N 3" << ln;
    WritePDFStream(profile, icc, Compressed, false);

    FArchival.OutputIntent = UpdateXRef();
    w << ObjNumber(FArchival.OutputIntent) << ln << "<<" << ln << "/Type /OutputIntent" << ln << "/S /GTS_PDFA1" << ln
      << "/OutputCondition (sRGB IEC61966-2.1)" << ln << "/OutputConditionIdentifier (sRGB IEC61966-2.1)" << ln
      << "/Info (sRGB IEC61966-2.1)" << ln << "/DestOutputProfile " << ObjNumberRef(profile) << ln << ">>" << ln
      << "endobj" << ln;
}

void TkvlPDFExport::WriteCatalogEntries(QByteArray &Out)
{
    pdf::Writer w(Out);
    if (FOutlineRoot)
        w << "/Outlines " << ObjNumberRef(FOutlineRoot) << ln;
    if (FArchival.Metadata)
        w << "/Metadata " << ObjNumberRef(FArchival.Metadata) << ln << "/StructTreeRoot "
          << ObjNumberRef(FArchival.StructTree) << ln << "/OutputIntents [" << ObjNumberRef(FArchival.OutputIntent)
          << "]" << ln;
}
