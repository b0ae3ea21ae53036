#include "export/docx/docxpackage.h"

#include "export/office/kvlofficeopen.h"
#include "export/picture/kvlimageconverter.h"

#include <QFile>

namespace docx {

namespace {

const char kDecl[] = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n";
const char kPkgRelNs[] = "http://schemas.openxmlformats.org/package/2006/relationships";
const char kRelNs[] = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";

} // namespace

QString MakePackageFolder(const QString &TempDir)
{
    const QString root = CreatePackageFolder(TempDir);
    CreateDirs(root, {QStringLiteral("_rels"), QStringLiteral("docProps"), QStringLiteral("word"),
                      QStringLiteral("word/theme"), QStringLiteral("word/_rels"), QStringLiteral("word/media")});
    return root;
}

void WritePart(const QString &Folder, const QString &Name, const QByteArray &Bytes)
{
    QFile f(Folder + Name);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(Bytes) != Bytes.size())
        throw EInOutError(QStringLiteral("Cannot write the file %1").arg(f.fileName()));
}

QByteArray ContentTypes(const std::set<QString> &MediaExtensions)
{
    QByteArray s = kDecl;
    s += "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">";
    for (const QString &ext : MediaExtensions)
        s += "<Default Extension=\"" + ext.toUtf8() + "\" ContentType=\"" + kvlPictureContentType(ext) + "\"/>";
    s += "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
         "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
         "<Override PartName=\"/word/document.xml\" "
         "ContentType=\"application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml\"/>"
         "<Override PartName=\"/word/styles.xml\" "
         "ContentType=\"application/vnd.openxmlformats-officedocument.wordprocessingml.styles+xml\"/>"
         "<Override PartName=\"/docProps/app.xml\" "
         "ContentType=\"application/vnd.openxmlformats-officedocument.extended-properties+xml\"/>"
         "<Override PartName=\"/word/settings.xml\" "
         "ContentType=\"application/vnd.openxmlformats-officedocument.wordprocessingml.settings+xml\"/>"
         "<Override PartName=\"/word/fontTable.xml\" "
         "ContentType=\"application/vnd.openxmlformats-officedocument.wordprocessingml.fontTable+xml\"/>"
         "<Override PartName=\"/docProps/core.xml\" "
         "ContentType=\"application/vnd.openxmlformats-package.core-properties+xml\"/>"
         "</Types>";
    return s;
}

void WriteFixedParts(const QString &Folder, const QString &Author)
{
    QByteArray rels = kDecl;
    rels += "<Relationships xmlns=\"";
    rels += kPkgRelNs;
    rels += "\"><Relationship Id=\"rId3\" Type=\"";
    rels += kRelNs;
    rels += "/extended-properties\" Target=\"docProps/app.xml\"/><Relationship Id=\"rId2\" "
            "Type=\"http://schemas.openxmlformats.org/package/2006/relationships/metadata/core-properties\" "
            "Target=\"docProps/core.xml\"/><Relationship Id=\"rId1\" Type=\"";
    rels += kRelNs;
    rels += "/officeDocument\" Target=\"word/document.xml\"/></Relationships>";
    WritePart(Folder, QStringLiteral("_rels/.rels"), rels);

    QByteArray core = kDecl;
    core += "<cp:coreProperties "
            "xmlns:cp=\"http://schemas.openxmlformats.org/package/2006/metadata/core-properties\" "
            "xmlns:dc=\"http://purl.org/dc/elements/1.1/\" xmlns:dcterms=\"http://purl.org/dc/terms/\" "
            "xmlns:dcmitype=\"http://purl.org/dc/dcmitype/\" "
            "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">"
            "<dc:title></dc:title><dc:subject></dc:subject><dc:creator>";
    core += EscapeXMLText(Author).toUtf8();
    core += "</dc:creator><cp:keywords></cp:keywords><dc:description></dc:description>"
            "<cp:lastModifiedBy>User</cp:lastModifiedBy><cp:revision>2</cp:revision>"
            "<dcterms:created xsi:type=\"dcterms:W3CDTF\">2010-05-06T08:40:00Z</dcterms:created>"
            "<dcterms:modified xsi:type=\"dcterms:W3CDTF\">2010-05-06T08:40:00Z</dcterms:modified>"
            "</cp:coreProperties>";
    WritePart(Folder, QStringLiteral("docProps/core.xml"), core);

    QByteArray app = kDecl;
    app += "<Properties xmlns=\"http://schemas.openxmlformats.org/officeDocument/2006/extended-properties\" "
           "xmlns:vt=\"http://schemas.openxmlformats.org/officeDocument/2006/docPropsVTypes\">"
           "<Template>Normal.dotm</Template><TotalTime>1</TotalTime><Application>Korvelles</Application>"
           "<DocSecurity>0</DocSecurity><ScaleCrop>false</ScaleCrop><Company></Company>"
           "<LinksUpToDate>false</LinksUpToDate><SharedDoc>false</SharedDoc>"
           "<HyperlinksChanged>false</HyperlinksChanged><AppVersion>12.0000</AppVersion></Properties>";
    WritePart(Folder, QStringLiteral("docProps/app.xml"), app);

    WritePart(Folder, QStringLiteral("word/styles.xml"), StylesPart());
    WritePart(Folder, QStringLiteral("word/fontTable.xml"), FontTablePart());
    WritePart(Folder, QStringLiteral("word/settings.xml"), SettingsPart());
}

QByteArray DocumentStart()
{
    QByteArray s = kDecl;
    s += "<w:document xmlns:ve=\"http://schemas.openxmlformats.org/markup-compatibility/2006\" "
         "xmlns:o=\"urn:schemas-microsoft-com:office:office\" "
         "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\" "
         "xmlns:m=\"http://schemas.openxmlformats.org/officeDocument/2006/math\" "
         "xmlns:v=\"urn:schemas-microsoft-com:vml\" "
         "xmlns:wp=\"http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing\" "
         "xmlns:w10=\"urn:schemas-microsoft-com:office:word\" "
         "xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\" "
         "xmlns:wne=\"http://schemas.microsoft.com/office/word/2006/wordml\"><w:body>";
    return s;
}

QByteArray DocumentRelsStart()
{
    QByteArray s = kDecl;
    s += "<Relationships xmlns=\"";
    s += kPkgRelNs;
    s += "\"><Relationship Id=\"rId2\" Type=\"";
    s += kRelNs;
    s += "/settings\" Target=\"settings.xml\"/><Relationship Id=\"rId1\" Type=\"";
    s += kRelNs;
    s += "/styles\" Target=\"styles.xml\"/><Relationship Id=\"rId4\" Type=\"";
    s += kRelNs;
    s += "/fontTable\" Target=\"fontTable.xml\"/>";
    return s;
}

} // namespace docx
