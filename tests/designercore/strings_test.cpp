// The designer's block of the string table: its form, its keys, and the texts the designer
// windows quote.
#include "app/libinit.h"
#include "designer/core/resources/designerstrings.h"
#include "report/resources/kvlresources.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

#include <set>

namespace {

struct Entry {
    QString name, text;
};

// Read with Qt's own reader, independent of the string table's parser.
std::vector<Entry> entries()
{
    std::vector<Entry> out;
    // Qt's reader knows version 1.0 only; the block uses nothing 1.1 adds.
    QByteArray bytes = kvlDesignerStringsXML();
    bytes.replace("<?xml version=\"1.1\"", "<?xml version=\"1.0\"");
    QXmlStreamReader xml(bytes);
    while (xml.readNextStartElement()) {
        if (xml.name() == u"Resources")
            continue;
        out.push_back({xml.attributes().value(QStringLiteral("Name")).toString(), xml.attributes().value(QStringLiteral("Text")).toString()});
        xml.skipCurrentElement();
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    return out;
}

// Numbered keys: one range per subject.
const std::pair<int, int> kRanges[] = {
    {2000, 2000}, {2100, 2106}, {2200, 2200}, {2300, 2479}, {2600, 2603}, {2700, 2727}, {2800, 2800},
    {2900, 2910}, {3000, 3032}, {3100, 3103}, {3200, 3207}, {3300, 3310}, {3400, 3403}, {3500, 3511},
    {3600, 3605}, {3700, 3700}, {3800, 3805}, {3900, 3907}, {4000, 4004}, {4100, 4109}, {4114, 4117},
    {4126, 4126}, {4200, 4213}, {4300, 4331}, {4400, 4401}, {4500, 4504}, {4600, 4609}, {4700, 4729},
    {4800, 4800}, {4900, 4901}, {5000, 5001}, {5100, 5108}, {5200, 5203}, {5211, 5211}, {5214, 5216},
    {5300, 5303}, {5400, 5403}, {5500, 5502}, {5600, 5636}, {5700, 5714}, {5800, 5802}, {5900, 5903},
    {6000, 6004}, {6100, 6113}, {6200, 6229}, {6300, 6303},
};

} // namespace

TEST(DesignerStrings, BlockHasItsFormAndItsKeys)
{
    const QByteArray xml = kvlDesignerStringsXML();
    EXPECT_TRUE(xml.startsWith(R"(<?xml version="1.1" encoding="utf-8"?>)"));
    EXPECT_TRUE(xml.contains(R"(<Resources CodePage="1252">)"));
    const std::vector<Entry> all = entries();
    ASSERT_EQ(all.size(), 910u);

    std::set<QString> folded;
    std::vector<int> numbers;
    QStringList named;
    for (const Entry &e : all) {
        EXPECT_TRUE(folded.insert(e.name.toCaseFolded()).second) << "twice: " << e.name.toStdString();
        EXPECT_FALSE(e.text.isEmpty()) << e.name.toStdString();
        EXPECT_NE(e.text, e.name);
        bool isNumber = false;
        const int n = e.name.toInt(&isNumber);
        if (isNumber)
            numbers.push_back(n);
        else
            named << e.name;
    }
    std::vector<int> expected;
    for (const auto &[from, to] : kRanges)
        for (int k = from; k <= to; ++k)
            expected.push_back(k);
    std::sort(numbers.begin(), numbers.end());
    EXPECT_EQ(numbers, expected);
    ASSERT_EQ(named.size(), 326);
    // The order of the named keys: a few landmarks, first to last.
    const char *order[] = {"oiProp", "dtNoData1", "dsCantFindProc", "vt1", "vt6", "fkNumber1", "fkBoolean4",
                           "obCatDraw", "obFIBComps", "obDataBases", "ctString", "IntToStr", "YearOf",
                           "ctAggregate", "startHelp", "dsColorOth", "foHorizontalMirror"};
    int at = -1;
    for (const char *k : order) {
        const int i = int(named.indexOf(QLatin1String(k)));
        EXPECT_GT(i, at) << k;
        at = i;
    }
    EXPECT_EQ(named.first(), QStringLiteral("oiProp"));
    EXPECT_EQ(named.last(), QStringLiteral("mvHyperlink"));
}

TEST(DesignerStrings, QuotedTextsStandAsQuoted)
{
    TkvlResources r;
    r.AddXML(kvlDesignerStringsXML());
    const std::pair<const char *, const char *> quoted[] = {
        {"2000", "Proprietà dell'oggetto"},
        {"2429", "Titolo del Report"},
        {"2432", "Pié pagina"},
        {"2447", "Sezione verticale"},
        {"2471", "Report (*.kv3)|*.kv3"},
        {"2472", "File Pascal(*.pas)|*.pas|file C++ (*.cpp)|*.cpp|File JavaScript (*.js)|*.js|File Basic (*.vb)|*.vb|"
                 "Tutti i file|*.*"},
        {"2473", "File Pascal (*.pas)|*.pas|file C++ (*.cpp)|*.cpp|File JavaScript (*.js)|*.js|File Basic (*.vb)|*.vb|"
                 "Tutti i file|*.*"},
        {"2475", "Lingua"},
        {"2476", "Toggle breakpoint"},
        {"2477", "Vai al cursore"},
        {"2479", "Edit Fill"},
        {"2908", " Espressione:"},
        {"3001", " Griglia "},
        {"3009", "Dimens."},
        {"3015", "pt"},
        {"5000", "Password"},
        {"5001", "Inserisci la password:"},
        {"5627", "<< Indietro"},
        {"5628", "Successivo >>"},
        {"6000", "Inherit error"},
        {"6001", "Base and inherited reports have duplicate objects. What should we do?"},
        {"6002", "Delete duplicates"},
        {"6003", "Rename duplicates"},
        {"6004", "Ordina i campi per nome"},
        {"oiProp", "Proprietà"},
        {"dtNoData1", "Andare nel menù \"Report-->Origini dati...\" per selezionare un'origine dati esistente o "
                      "crearne una nuova nella scheda \"Origine dati\" in alto a sinistra."},
        {"dsCm", "Centimetri"},
        {"dsInch", "Pollici"},
        {"dsPix", "Pixel"},
        {"dsChars", "Caratteri"},
        {"dsCode", "Codice"},
        {"dsData", "Origine dati"},
        {"dsPage", "Pagina"},
        {"dsNoStyle", "Nessun stile"},
        {"dsRepFilter", "Report (*.kv3)|*.kv3"},
        {"dsSaveChangesTo", "Salvare le modifiche in"},
        {"dsSavePreviewChanges", "Salvare le modifiche nell'anteprima ?"},
        {"dsCantLoad", "Impossibile caricare il file"},
        {"dsTextNotFound", "Testo '%s' non trovato"},
        {"dsReplace", "Sostituisci l'occorrenza di '%s'?"},
        {"dsColorOth", "Other..."},
        {"dsCantFindProc", "Impossibile trovare la procedura principale"},
        {"dsClearScript", "Questo cancellerà tutto il codice. Sei sicuro di continuare ?"},
        {"vt2", "[TIME]"},
        {"fkNumber1", "1234.5;%g"},
        {"fkDateTime1", "28.11.2002;dd.mm.yyyy"},
        {"IntToStr", "Converti il valore intero in stringa"},
        {"bvDrillDown", "Sezione espandibile / comprimibile"},
        {"riInherited", "Questo report è stato ereditato da: %s"},
    };
    for (const auto &[key, text] : quoted)
        EXPECT_EQ(r.Get(QString::fromLatin1(key)), QString::fromUtf8(text)) << key;
}

// The system variables name what the report evaluates.
TEST(DesignerStrings, SystemVariablesAreTheReportsOwn)
{
    TkvlResources r;
    r.AddXML(kvlDesignerStringsXML());
    const char *vars[] = {"[DATE]", "[TIME]", "[PAGE#]", "[TOTALPAGES#]", "[PAGE#] of [TOTALPAGES#]", "[LINE#]"};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(r.Get(QStringLiteral("vt%1").arg(i + 1)), QLatin1String(vars[i]));
}

TEST(DesignerStrings, FormatSamplesAreSampleSemicolonFormat)
{
    TkvlResources r;
    r.AddXML(kvlDesignerStringsXML());
    const std::pair<const char *, int> kinds[] = {{"fkNumber", 4}, {"fkDateTime", 7}, {"fkBoolean", 4}};
    for (const auto &[kind, count] : kinds) {
        for (int i = 1; i <= 10; ++i) {
            const QString key = QLatin1String(kind) + QString::number(i);
            if (i > count) {
                EXPECT_LT(r.IndexOf(key), 0) << key.toStdString();
                continue;
            }
            const QStringList parts = r.Get(key).split(u';');
            ASSERT_EQ(parts.size(), 2) << key.toStdString();
            EXPECT_FALSE(parts[0].isEmpty());
            EXPECT_FALSE(parts[1].isEmpty());
        }
    }
    EXPECT_EQ(r.Get(QStringLiteral("fkDateTime7")), QStringLiteral("02:14am, 28 Novembre, 2002;hh:mm am/pm, dd mmmm, yyyy"));
    EXPECT_EQ(r.Get(QStringLiteral("fkBoolean2")), QStringLiteral("No,Sì;No,Sì"));
}

// Start-up adds the block over the library's texts: its keys take its texts, the rest stay.
TEST(DesignerStrings, StartUpAddsTheBlockAndLeavesTheLibrarysOtherTexts)
{
    const TkvlResources library;  // the library's compiled-in texts alone
    lirracal::InitializeLibraries();
    const TkvlResources &table = kvlResources();
    std::set<QString> block;
    for (const Entry &e : entries()) {
        block.insert(e.name.toCaseFolded());
        EXPECT_EQ(table.Get(e.name), e.text) << e.name.toStdString();
    }
    int kept = 0;
    for (int i = 0; i < library.Count(); ++i) {
        if (block.count(library.Name(i).toCaseFolded()))
            continue;
        EXPECT_EQ(table.Get(library.Name(i)), library.Value(i)) << library.Name(i).toStdString();
        ++kept;
    }
    EXPECT_GT(kept, 0);
    // Palette hints the library's units add when missing take the block's texts.
    EXPECT_EQ(table.Get(QStringLiteral("obDMPCmd")), QStringLiteral("Comando per stampante ad aghi"));
}

// Python's parser reads the block written out to a file, with the same counts.
TEST(DesignerStrings, PythonReadsTheBlock)
{
    const QString python = QStandardPaths::findExecutable(QStringLiteral("python3"));
    if (python.isEmpty())
        GTEST_SKIP() << "python3 is not installed";
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("designer.xml"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(kvlDesignerStringsXML());
    f.close();
    QProcess p;
    p.start(python, {QStringLiteral("-c"),
                     QStringLiteral("import sys, xml.etree.ElementTree as E\n"
                                    "r = E.parse(sys.argv[1]).getroot()\n"
                                    "n = [e.get('Name') for e in r]\n"
                                    "print(r.tag, r.get('CodePage'), len(n), len({k.lower() for k in n}),"
                                    " sum(k.isdigit() for k in n))"),
                     path});
    ASSERT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    EXPECT_EQ(QString::fromUtf8(p.readAllStandardOutput()).trimmed(), QStringLiteral("Resources 1252 910 910 584"));
}
