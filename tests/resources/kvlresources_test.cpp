#include "platform/ui/fakes.h"
#include "report/core/kvlresourcetext.h"
#include "report/resources/kvlresources.h"
#include "report/resources/scriptmessages.h"
#include "platform/rtl/exceptions.h"

#include "platform/rtl/stream.h"
#include "report/xml/xmlreader.h"
#include "script/core/qsmessages.h"
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QByteArray doc(const QByteArray &body, const QByteArray &header = R"(<?xml version="1.0" encoding="utf-8" standalone="no"?>)")
{
    return header + "\n<Resources CodePage=\"1252\">\n" + body + "</Resources>\n";
}

void load(TkvlResources &r, const QByteArray &xml)
{
    TMemoryStream stream(xml);
    r.LoadFromStream(stream);
}

void writeFile(const QString &path, const QByteArray &data)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(data);
}

// The core keys in their stored order, as written out independently of the table.
QStringList coreKeys()
{
    QStringList k;
    auto range = [&](int a, int b) {
        for (int i = a; i <= b; ++i)
            k << QString::number(i);
    };
    auto names = [&](const char *list) { k << QString::fromLatin1(list).split(u','); };
    range(1, 9);
    range(100, 142);
    range(150, 152);
    names("zmPageWidth,zmWholePage");
    range(200, 214);
    range(216, 216);
    names("ppAll,ppOdd,ppEven,pgDefault,pmDefault,pmSplit,pmJoin,pmScale,poDirect,poReverse");
    range(300, 305);
    range(400, 414);
    range(500, 510);
    names("mbConfirm,mbError,mbInfo,xrCantFindClass,prVirtual,prDefault,prCustom,enUnconnHeader,"
          "enUnconnGroup,enUnconnGFooter,enBandPos,dbNotConn,dbFldNotFound,clDSNotIncl,clUnknownVar,"
          "clScrError,clDSNotExist,clErrors,clExprError,clKP3files,clComprPreparedRepFilter,clSaving,"
          "clCancel,clClose,clPrinting,clLoading,clPageOf,clOf,clFirstPass,clNoPrinters,clDecompressError,"
          "crFillMx,crBuildMx,prRunningFirst,prRunning,prPrinting,prExporting,uCm,uInch,uPix,uChar,"
          "dupDefault,dupVert,dupHorz,dupSimpl,SLangNotFound,SInvalidLanguage,SIdRedeclared,SUnknownType,"
          "SIncompatibleTypes,SIdUndeclared,SClassRequired,SIndexRequired,SStringError,SClassError,"
          "SArrayRequired,SVarRequired,SNotEnoughParams,STooManyParams,SLeftCantAssigned,SForError,SEventError");
    range(600, 601);
    names("clStrNotFound,clCantRen,clCirRefNotAllow,clDupName,clErrorInExp,expMtm,erInvalidImg,ReportTitle,"
          "ReportSummary,PageHeader,PageFooter,Header,Footer,MasterData,DetailData,SubdetailData,Data4,Data5,"
          "Data6,GroupHeader,GroupFooter,Child,ColumnHeader,ColumnFooter,Overlay,2_5_interleaved,"
          "2_5_industrial,2_5_matrix,Code39,Code39 Extended,Code128A,Code128B,Code128C,Code93,"
          "Code93 Extended,MSI,PostNet,Codebar,EAN8,EAN13,UPC_A,UPC_E0,UPC_E1,UPC Supp2,UPC Supp5,EAN128A,"
          "EAN128B,EAN128C,rpEditRep,rpEditAlias,rave0,rave1,rave2,rave3,rave4");
    return k;
}

TEST(CoreTable, HoldsEveryKeyInStoredOrderThenTheEarlyDesignerTexts)
{
    const TkvlResources r;
    const QStringList expected = coreKeys();
    ASSERT_EQ(expected.size(), 234);
    ASSERT_EQ(r.Count(), 236);
    for (int i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(r.Name(i), expected[i]) << i;
        EXPECT_FALSE(r.Value(i).isEmpty()) << expected[i].toStdString();
    }
    EXPECT_EQ(r.Name(234), QStringLiteral("prDupl"));
    EXPECT_EQ(r.Name(235), QStringLiteral("prInvProp"));
    EXPECT_EQ(r.CodePage(), 1252);
}

TEST(CoreTable, GivesTheQuotedTexts)
{
    const TkvlResources r;
    const struct {
        const char *key, *text;
    } cases[] = {
        {"1", "OK"},
        {"2", "Annulla"},
        {"mbError", "Errore"},
        {"mbConfirm", "Richiesta di conferma"},
        {"mbInfo", "Avviso"},
        {"clErrors", "Si sono verificati i seguenti errori:"},
        {"clExprError", "Errore nell'espressione"},
        {"clScrError", "Errore nel codice alla riga:colonna %s: %s"},
        {"dbNotConn", "Il DataSet %s non è connesso ai dati"},
        {"clPageOf", "Pagina %d di %d"},
        {"clFirstPass", "Primo passaggio: pagina "},
        {"209", "Proprietà..."},
        {"510", "File di stampa (*.prn)|*.prn"},
        {"Data4", "Dati 4° livello"},
        {"SIdUndeclared", "Identificativo non dichiarato -->"}, // stored escaped twice
        {"clDSNotExist", "Il DataSet \"%s\" non esiste"},
        {"prDupl", "Nome duplicato"},
        {"prInvProp", "Valore non valido"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(r.Get(QString::fromUtf8(c.key)), QString::fromUtf8(c.text)) << c.key;
    EXPECT_EQ(kvlGet(1), QStringLiteral("OK"));
    EXPECT_EQ(kvlGet(600), QStringLiteral("Espandi tutto"));
}

TEST(Lookup, TheObjectTreeTakesItsTextsFromTheProcessTable)
{
    kvlInitResources();
    EXPECT_EQ(kvlResourceText(QStringLiteral("prDupl")), QStringLiteral("Nome duplicato"));
    EXPECT_EQ(kvlResourceText(QStringLiteral("clCirRefNotAllow")), QStringLiteral("Circular child reference is not allowed"));
}

TEST(Lookup, MissingKeysShowThemselvesAndOneBangIsStripped)
{
    TkvlResources r;
    r.Add(QStringLiteral("bang"), QStringLiteral("!!testo"));
    const struct {
        const char *key, *text;
    } cases[] = {
        {"obDataPage", "obDataPage"},
        {"!missing", "missing"},
        {"bang", "!testo"},
        {"CLERRORS", "Si sono verificati i seguenti errori:"},
        {"", ""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(r.Get(QString::fromUtf8(c.key)), QString::fromUtf8(c.text)) << c.key;
}

TEST(Lookup, ReplacingAKeyKeepsItsPosition)
{
    TkvlResources r;
    const int count = r.Count();
    const int pos = r.IndexOf(QStringLiteral("mbError"));
    r.Add(QStringLiteral("MBERROR"), QStringLiteral("Sbaglio"));
    r.AddW(QStringLiteral("nuovo"), QStringLiteral("Nuovo"));
    EXPECT_EQ(r.IndexOf(QStringLiteral("mbError")), pos);
    EXPECT_EQ(r.Name(pos), QStringLiteral("mbError"));
    EXPECT_EQ(r.Get(QStringLiteral("mbError")), QStringLiteral("Sbaglio"));
    EXPECT_EQ(r.IndexOf(QStringLiteral("nuovo")), count);

    r.AddStrings(QStringLiteral("a=uno\r\nb=due=tre\n=vuoto\nc=\nsenzauguale\nd=quattro"));
    EXPECT_EQ(r.Get(QStringLiteral("a")), QStringLiteral("uno"));
    EXPECT_EQ(r.Get(QStringLiteral("b")), QStringLiteral("due=tre"));
    EXPECT_EQ(r.Get(QStringLiteral("d")), QStringLiteral("quattro"));
    EXPECT_EQ(r.IndexOf(QStringLiteral("c")), -1);
    EXPECT_EQ(r.Count(), count + 4);

    r.Clear();
    EXPECT_EQ(r.Count(), 0);
    EXPECT_EQ(r.Get(QStringLiteral("mbError")), QStringLiteral("mbError"));
}

TEST(ResourceXml, TextsAreUnescapedTwice)
{
    TkvlResources r;
    r.AddXML(doc(R"(<StrRes Name="q" Text="a&#38;#34;b&#38;amp;c"/>
<strres Name="ignored" Text="x"/>
<!-- a comment -->
<StrRes text="lower-case attribute names" NAME="k"/>
<StrRes Name="e" Text="caff&#232; &#38;#233;"/>
)"));
    EXPECT_EQ(r.Get(QStringLiteral("q")), QStringLiteral("a\"b&c"));
    EXPECT_EQ(r.IndexOf(QStringLiteral("ignored")), -1); // element names are case-sensitive
    EXPECT_EQ(r.Get(QStringLiteral("k")), QStringLiteral("lower-case attribute names"));
    EXPECT_EQ(r.Get(QStringLiteral("e")), QStringLiteral("caffè é"));
}

TEST(ResourceXml, OldFormHeaderReadsUtf8Texts)
{
    TkvlResources r;
    load(r, doc("<StrRes Name=\"mbInfo\" Text=\"Attenzione \xc3\xa8\"/>", R"(<?xml version="1.0"?>)"));
    EXPECT_EQ(r.Get(QStringLiteral("mbInfo")), QStringLiteral("Attenzione è"));
}

TEST(ResourceXml, OtherRootAddsNothing)
{
    TkvlResources r;
    const int count = r.Count();
    load(r, R"(<?xml version="1.0" encoding="utf-8" standalone="no"?><Other><StrRes Name="x" Text="y"/></Other>)");
    EXPECT_EQ(r.Count(), count);
}

TEST(LanguageFile, ReplacesTextsButNeverTheirFormatDirectives)
{
    TkvlResources r;
    const int count = r.Count();
    const QByteArray lang = doc(R"(<StrRes Name="mbError" Text="Fehler"/>
<StrRes Name="clPageOf" Text="Seite %d von %d"/>
<StrRes Name="clScrError" Text="%d"/>
<StrRes Name="prRunning" Text="Seite %s"/>
<StrRes Name="dbNotConn" Text="kein %s %s"/>
<StrRes Name="mbInfo" Text="100%% sicher %s"/>
<StrRes Name="clOf" Text="von %0:d"/>
<StrRes Name="extra" Text="Neu %s"/>
)");
    load(r, lang);
    load(r, lang); // twice: still one entry per key
    EXPECT_EQ(r.Count(), count + 1);
    EXPECT_EQ(r.Get(QStringLiteral("mbError")), QStringLiteral("Fehler"));
    EXPECT_EQ(r.Get(QStringLiteral("clPageOf")), QStringLiteral("Seite %d von %d"));
    EXPECT_EQ(r.Get(QStringLiteral("extra")), QStringLiteral("Neu %s"));
    // Directives that differ from the built-in text keep the built-in text.
    EXPECT_EQ(r.Get(QStringLiteral("clScrError")), QStringLiteral("Errore nel codice alla riga:colonna %s: %s"));
    EXPECT_EQ(r.Get(QStringLiteral("prRunning")), QStringLiteral("Sto preparando pagina %d"));
    EXPECT_EQ(r.Get(QStringLiteral("dbNotConn")), QStringLiteral("Il DataSet %s non è connesso ai dati"));
    EXPECT_EQ(r.Get(QStringLiteral("mbInfo")), QStringLiteral("Avviso"));
    EXPECT_EQ(r.Get(QStringLiteral("clOf")), QStringLiteral("di %d"));
}

TEST(LanguageFile, HostileDocumentsFailCleanlyAndChangeNothing)
{
    const QByteArray deep = "<?xml version=\"1.0\"?><Resources>" + QByteArray("<a>").repeated(100000);
    const QByteArray cases[] = {
        "",
        "<Resources><StrRes Name=\"mbError\" Text=\"x\"/></Resources>",                  // no header
        doc("<StrRes Name=\"mbError\" Text=\"x\"/><StrRes Name=\"a\" Text=\"<\"/>"),     // '<' inside a tag
        doc("<StrRes Name=\"mbError\" Text=\"x\"/><StrRes Name=\"a\" Text=\"y\""),       // ends inside a tag
        doc("<StrRes Name=\"mbError\" Text=\"x\"></Wrong>"),                              // end tag mismatch
        deep,
    };
    for (const QByteArray &c : cases) {
        TkvlResources r;
        const int count = r.Count();
        EXPECT_THROW(load(r, c), TkvlInvalidXMLException) << c.left(80).constData();
        EXPECT_EQ(r.Count(), count);
        EXPECT_EQ(r.Get(QStringLiteral("mbError")), QStringLiteral("Errore"));
    }
    // Odd but well-formed input loads what it can.
    TkvlResources r;
    load(r, doc(R"(<StrRes Name="big" Text="&#38;#99999999999; &#38;# &#38;#12"/>
<StrRes Name="unterminated Text="x"/>
<StrRes Text="no name"/>
)"));
    EXPECT_EQ(r.Get(QStringLiteral("big")), QStringLiteral("&#99999999999; &# &#12"));
    EXPECT_EQ(r.Get(QString()), QString());
}

class LanguageFolder : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        qputenv("LIRRACAL_HOME", dir.path().toUtf8());
    }
    void TearDown() override
    {
        qunsetenv("LIRRACAL_HOME");
    }
    QString path(const char *name) const { return dir.filePath(QString::fromLatin1(name)); }

    QTemporaryDir dir;
};

TEST_F(LanguageFolder, ListsLanguageFilesWhateverTheirCase)
{
    writeFile(path("ITALIANO.KVC"), doc(""));
    writeFile(path("deutsch.kvc"), doc(""));
    writeFile(path("English.Kvc"), doc(""));
    writeFile(path("notes.txt"), "");
    QDir(dir.path()).mkdir(QStringLiteral("folder.kvc"));
    const TkvlResources r;
    EXPECT_EQ(r.Languages(), QStringList({QStringLiteral("Deutsch"), QStringLiteral("English"), QStringLiteral("Italiano")}));
}

TEST_F(LanguageFolder, LoadsTheFileInAnyLetterCase)
{
    writeFile(path("DEUTSCH.KVC"), doc(R"(<StrRes Name="2" Text="Abbrechen"/>)"));
    TkvlResources r;
    r.LoadFromFile(path("Deutsch.kvc"));
    EXPECT_EQ(kvlGet(2), QStringLiteral("Annulla")); // the process table is another object
    EXPECT_EQ(r.Get(QStringLiteral("2")), QStringLiteral("Abbrechen"));
    r.LoadFromFile(path("missing.kvc")); // nothing happens
    EXPECT_EQ(r.Get(QStringLiteral("2")), QStringLiteral("Abbrechen"));
}

TEST_F(LanguageFolder, HelpOpensTheWindowsPageOnlyWhenTheFileExists)
{
    ui::FakeServices fakes;
    const auto &opened = fakes.help.shown;
    const TkvlResources r;
    const QString file = dir.filePath(QStringLiteral("KVUser.chm"));
    EXPECT_EQ(r.HelpLocation(QStringLiteral("tkvlmemoeditorform")), file + QStringLiteral("::/Text_object.htm"));
    EXPECT_EQ(r.HelpLocation(QStringLiteral("TSomethingElse")), file);
    EXPECT_EQ(r.HelpLocation(QString()), file);

    r.Help(QStringLiteral("TkvlDesignerForm"));
    EXPECT_TRUE(opened.isEmpty());

    writeFile(file, "help");
    r.Help(QStringLiteral("TkvlDesignerForm"));
    r.Help(QString());
    const QObject window; // a window class without a page of its own
    r.Help(&window);
    r.Help(static_cast<const QObject *>(nullptr));
    ASSERT_EQ(opened.size(), 4);
    EXPECT_EQ(opened[0], std::make_pair(file, QStringLiteral("Designer.htm")));
    for (int i = 1; i < 4; ++i)
        EXPECT_EQ(opened[i], std::make_pair(file, QString()));
}

TEST(ScriptMessages, TakeTheirTextsFromTheTable)
{
    TkvlResources r;
    auto texts = kvlScriptMessageTexts(r);
    ASSERT_EQ(texts.size(), 17);
    EXPECT_EQ(texts[0], qMakePair(QStringLiteral("SLangNotFound"), QStringLiteral("Lingua '%s' non trovata")));
    EXPECT_EQ(texts[5], qMakePair(QStringLiteral("SIdUndeclared"), QStringLiteral("Identificativo non dichiarato -->")));
    EXPECT_EQ(texts[16], qMakePair(QStringLiteral("SEventError"), QStringLiteral("Il gestore di evento deve essere una procedura")));
    for (const auto &[key, text] : texts)
        EXPECT_NE(text, key) << key.toStdString(); // every key is in the core table
    r.Clear();
    texts = kvlScriptMessageTexts(r);
    EXPECT_EQ(texts[2].second, QStringLiteral("SIdRedeclared")); // a missing key gives the key
}

TEST(ScriptMessages, EveryLoadPushesThemToTheEngine)
{
    qsResetMessages();
    TkvlResources r; // loading the compiled-in texts
    EXPECT_EQ(qsMessage(u"SIdRedeclared"), QStringLiteral("Identificativo ridichiarato: "));

    TMemoryStream lang(doc(R"(<StrRes Name="SIdRedeclared" Text="Bezeichner doppelt: "/>)"));
    r.LoadFromStream(lang);
    EXPECT_EQ(qsMessage(u"SIdRedeclared"), QStringLiteral("Bezeichner doppelt: "));

    // A document with another root adds nothing but still re-copies the texts.
    r.Add(QStringLiteral("SVarRequired"), QStringLiteral("Variable benötigt"));
    TMemoryStream other(QByteArray(R"(<?xml version="1.0" encoding="utf-8" standalone="no"?><Other/>)"));
    r.LoadFromStream(other);
    EXPECT_EQ(qsMessage(u"SVarRequired"), QStringLiteral("Variable benötigt"));

    qsResetMessages();
    kvlResources().UpdateFSResources();
    EXPECT_EQ(qsMessage(u"SIdRedeclared"), QStringLiteral("Identificativo ridichiarato: "));
}

} // namespace
