// Protected files: permissions, the key derivation and the enciphered strings and streams,
// read back by qpdf with each password.
#include "tests/pdf/pdffixture.h"

#include "export/pdf/pdfsecurity.h"
#include "platform/rtl/stream.h"

#include <QRegularExpression>

namespace {

exporttest::RunResult qpdf(const QStringList &Args) { return exporttest::RunProgram(QStringLiteral("qpdf"), Args); }

QByteArray showEncryption(const QString &File, const QString &Password)
{
    const exporttest::RunResult r =
        qpdf({QStringLiteral("--show-encryption"), QStringLiteral("--password=") + Password, File});
    return r.out + r.err;
}

} // namespace

TEST(PdfSecurity, PermissionValuesFollowTheFlags)
{
    struct Case {
        TkvlPDFEncBits flags;
        int32_t p;
    } cases[] = {
        {kvlPDFEncAll, -4},
        {0, -64},
        {kvlPDFEncBit(ePrint), -60},
        {kvlPDFEncBit(eModify), -56},
        {kvlPDFEncBit(eCopy), -48},
        {kvlPDFEncBit(eAnnot), -32},
    };
    for (const Case &c : cases)
        EXPECT_EQ(TkvlPDFSecurity::PermissionValue(c.flags), c.p) << c.flags;
}

TEST(PdfSecurity, PasswordsOutsideTheWesternPageAreRefused)
{
    EXPECT_EQ(TkvlPDFSecurity::PasswordBytes(QStringLiteral("caffè€")), QByteArray("caff\xE8\x80"));
    EXPECT_FALSE(TkvlPDFSecurity::PasswordBytes(QStringLiteral("łódź")));
    EXPECT_FALSE(TkvlPDFSecurity::PasswordBytes(QStringLiteral("密码")));
}

TEST_F(PdfFixture, AProtectedFileOpensWithEachPasswordAndGrantsTheUserOnlyThePermissionsSet)
{
    filter->Title = QStringLiteral("Relazione (bozza) \\ è");
    filter->Author = QStringLiteral("Dùccio");
    filter->UserPassword = QStringLiteral("utente");
    filter->OwnerPassword = QStringLiteral("padrone");
    filter->SetProtectionFlags(kvlPDFEncAll & ~kvlPDFEncBit(ePrint));
    TkvlReportPage *page = NewPage();
    const QByteArray pdf = Export({{page, {NewMemo(QStringLiteral("Testo cifrato"), 10, 10, 300, 40)}}});
    EXPECT_FALSE(pdf.contains("Testo"));
    EXPECT_TRUE(pdf.contains("/Encrypt "));
    const QString file = Save(pdf);

    const QByteArray asUser = showEncryption(file, QStringLiteral("utente"));
    EXPECT_TRUE(asUser.contains("R = 3")) << asUser.constData();
    EXPECT_TRUE(asUser.contains("P = -8")) << asUser.constData();   // -64 + 8 + 16 + 32
    EXPECT_TRUE(asUser.contains("Supplied password is user password")) << asUser.constData();
    EXPECT_TRUE(asUser.contains("print low resolution: not allowed")) << asUser.constData();
    EXPECT_TRUE(asUser.contains("modify other: allowed")) << asUser.constData();
    const QByteArray asOwner = showEncryption(file, QStringLiteral("padrone"));
    EXPECT_TRUE(asOwner.contains("Supplied password is owner password")) << asOwner.constData();
    EXPECT_NE(qpdf({QStringLiteral("--check"), QStringLiteral("--password=sbagliata"), file}).exitCode, 0);

    const QString plain = dir + QStringLiteral("/plain.pdf");
    const exporttest::RunResult d =
        qpdf({QStringLiteral("--decrypt"), QStringLiteral("--password=utente"), file, plain});
    ASSERT_EQ(d.exitCode, 0) << d.err.constData();
    EXPECT_EQ(qpdf({QStringLiteral("--check"), plain}).exitCode, 0);
    const QByteArray info = RunTool(QStringLiteral("pdfinfo"), {plain});
    EXPECT_TRUE(info.contains("Relazione (bozza) \\ \xC3\xA8")) << info.constData();
    EXPECT_TRUE(info.contains("D\xC3\xB9" "ccio")) << info.constData();
    EXPECT_TRUE(RunTool(QStringLiteral("pdftotext"), {plain, QStringLiteral("-")}).contains("Testo cifrato"));
    const QByteArray fonts = RunTool(QStringLiteral("pdffonts"), {plain});
    EXPECT_TRUE(fonts.contains("CID TrueType")) << fonts.constData();
    // The font's system information deciphers to the registry's own name.
    const QByteArray json = qpdf({QStringLiteral("--json"), QStringLiteral("--json-key=qpdf"), plain}).out;
    EXPECT_TRUE(json.contains("\"/Registry\": \"u:Adobe\"")) << json.constData();
    EXPECT_TRUE(json.contains("\"/Ordering\": \"u:Identity\""));
}

TEST_F(PdfFixture, PasswordCases)
{
    struct Case {
        const char *name;
        QString user, owner;
        bool pdfA;
        QString opensAsOwner;   // empty: nobody opens as owner with a password we know
        QString opensAsUser;    // empty: the file is not protected
    } cases[] = {
        // Only a user password: that password grants the user's rights alone.
        {"user only", QStringLiteral("solo"), QString(), false, QString(), QStringLiteral("solo")},
        // Only the first 32 bytes of a long password count.
        {"40 characters", QStringLiteral("0123456789abcdefghijklmnopqrstuvWXYZWXYZ"), QStringLiteral("p"), false,
         QStringLiteral("p"), QStringLiteral("0123456789abcdefghijklmnopqrstuvxxxxxxxx")},
        {"none", QString(), QString(), false, QString(), QString()},
        {"archival", QStringLiteral("u"), QStringLiteral("o"), true, QString(), QString()},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        filter->UserPassword = c.user;
        filter->OwnerPassword = c.owner;
        filter->PdfA = c.pdfA;
        const QByteArray pdf = Export({{NewPage(), {}}});
        EXPECT_EQ(filter->OwnerPassword, c.owner);   // the property keeps what was set
        const QString file = Save(pdf);
        if (c.opensAsUser.isEmpty()) {
            EXPECT_FALSE(pdf.contains("/Encrypt"));
            EXPECT_TRUE(pdf.contains("/Title <FEFF>"));
            continue;
        }
        const QByteArray asUser = showEncryption(file, c.opensAsUser);
        EXPECT_TRUE(asUser.contains("Supplied password is user password")) << asUser.constData();
        if (!c.opensAsOwner.isEmpty()) {
            EXPECT_TRUE(showEncryption(file, c.opensAsOwner).contains("Supplied password is owner password"));
        }
    }
}

TEST_F(PdfFixture, AParenthesisByteOfTheOwnerEntryIsEscaped)
{
    // A user password whose owner entry holds 0x28 (the entry does not depend on the identifier).
    QString user;
    for (int i = 0; i < 1000 && user.isEmpty(); ++i) {
        const QByteArray u = "u" + QByteArray::number(i);
        if (TkvlPDFSecurity(u, "owner", -4, QByteArray(16, 'x')).OwnerEntry().contains('('))
            user = QString::fromLatin1(u);
    }
    ASSERT_FALSE(user.isEmpty());
    filter->UserPassword = user;
    filter->OwnerPassword = QStringLiteral("owner");
    const QByteArray pdf = Export({{NewPage(), {}}});
    const qsizetype o = pdf.indexOf("/O (");
    ASSERT_GE(o, 0);
    EXPECT_TRUE(pdf.mid(o, pdf.indexOf("\r\n/U (", o) - o).contains("\\("));
    const QString file = Save(pdf);
    EXPECT_TRUE(showEncryption(file, QStringLiteral("owner")).contains("Supplied password is owner password"));
    EXPECT_TRUE(showEncryption(file, user).contains("Supplied password is user password"));
}

TEST_F(PdfFixture, APasswordNobodyCouldTypeStopsTheExportWithAMessage)
{
    filter->UserPassword = QStringLiteral("пароль");
    TMemoryStream out;
    filter->Stream = &out;
    EXPECT_FALSE(filter->Start());
    EXPECT_FALSE(filter->StartError().isEmpty());
    EXPECT_EQ(out.Size(), 0);
    filter->Finish();
    filter->Stream = nullptr;
}
