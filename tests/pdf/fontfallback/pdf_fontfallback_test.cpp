// A face that the TrueType reader rejects (a table whose checksum does not add up, which the
// system's font library does not check) gives way to the next face the font configuration
// offers: one warning in Italian in the report's errors, no box, and the text in the file.
#include "tests/pdf/pdffixture.h"

#include "platform/ui/fakes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const char kSource[] = "/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf";

struct DamagedFont : PdfFixture {
    // The configuration holds the damaged face and the DejaVu faces, nothing else.
    static void SetUpTestSuite()
    {
        QFile source(QString::fromLatin1(kSource));
        if (!source.open(QIODevice::ReadOnly))
            return;
        QByteArray face = source.readAll();
        if (face.mid(12 + 16 * 9, 4) != "glyf")
            return;
        // The recorded checksum of the glyph table (the tenth entry of the table directory).
        face[12 + 16 * 9 + 4] = char(face[12 + 16 * 9 + 4] ^ 0x5A);
        Folder = new QTemporaryDir;
        QDir().mkpath(Folder->filePath(QStringLiteral("fonts")));
        QFile damaged(Folder->filePath(QStringLiteral("fonts/LiberationSans-Regular.ttf")));
        damaged.open(QIODevice::WriteOnly);
        damaged.write(face);
        damaged.close();
        QFile conf(Folder->filePath(QStringLiteral("fonts.conf")));
        conf.open(QIODevice::WriteOnly);
        conf.write("<?xml version=\"1.0\"?>\n<!DOCTYPE fontconfig SYSTEM \"urn:fontconfig:fonts.dtd\">\n<fontconfig><dir>"
                   + Folder->filePath(QStringLiteral("fonts")).toUtf8()
                   + "</dir><dir>/usr/share/fonts/truetype/dejavu</dir><cachedir>"
                   + Folder->filePath(QStringLiteral("cache")).toUtf8() + "</cachedir></fontconfig>\n");
        conf.close();
        qputenv("FONTCONFIG_FILE", QFile::encodeName(conf.fileName()));
    }
    static void TearDownTestSuite()
    {
        delete Folder;
        Folder = nullptr;
    }
    static inline QTemporaryDir *Folder = nullptr;
};

TEST_F(DamagedFont, TheNextFaceOfTheConfigurationStandsInWithOneItalianWarning)
{
    if (!Folder)
        GTEST_SKIP() << kSource << " is not installed, or not laid out as this test expects";
    ui::FakeServices services;
    TkvlReportPage *page = NewPage();
    TkvlMemoView *memo = NewMemo(QStringLiteral("Riunione"), 100, 100, 300, 30, 12, QStringLiteral("Liberation Sans"));
    TkvlMemoView *again = NewMemo(QStringLiteral("annullata"), 100, 140, 300, 30, 12, QStringLiteral("Liberation Sans"));
    const QString file = Save(Export({{page, {memo, again}}}));
    EXPECT_TRUE(services.messages.shown.isEmpty()) << services.messages.shown.value(0).text.toStdString();
    ASSERT_EQ(report->Errors().Count(), 1) << report->Errors().Text().toStdString();
    EXPECT_TRUE(report->Errors()[0].startsWith(QStringLiteral("Il carattere \"Liberation Sans\" è danneggiato: sostituito da DejaVu")))
        << report->Errors()[0].toStdString();
    const QByteArray fonts = RunTool(QStringLiteral("pdffonts"), {file});
    EXPECT_TRUE(fonts.contains("DejaVu")) << fonts.constData();
    EXPECT_FALSE(fonts.contains("Liberation")) << fonts.constData();
    const QByteArray text = RunTool(QStringLiteral("pdftotext"), {file, QStringLiteral("-")});
    EXPECT_TRUE(text.contains("Riunione")) << text.constData();
    EXPECT_TRUE(text.contains("annullata")) << text.constData();
}

} // namespace
