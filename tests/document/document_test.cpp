// The report document: templates loaded and saved, damaged templates, the caller's options,
// passwords, the data page and record-source lookups.
#include "platform/rtl/inifile.h"
#include "platform/rtl/stream.h"
#include "platform/ui/fakes.h"
#include "report/core/kvlobjects.h"
#include "report/core/kvlresourcetext.h"
#include "report/data/kvldataset.h"
#include "report/data/kvldatasetlist.h"
#include "report/document/kvlreportunit.h"
#include "report/memo/kvlmemo.h"
#include "report/options/kvloptions.h"
#include "report/options/kvlregistry.h"
#include "report/pages/kvlreportpage.h"
#include "report/progress/kvlfakewindows.h"
#include "report/vars/kvlvariables.h"
#include "tests/document/documentfixture.h"
#include "tests/testsupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QByteArray xmlOf(const char *body)
{
    return QByteArray("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n") + body;
}

void loadBytes(TkvlReport &r, const QByteArray &bytes)
{
    TMemoryStream m(bytes);
    r.LoadFromStream(m);
}

class DocumentTest : public ::testing::Test {
protected:
    DocumentTest() { registerReportClassesOnce(); }
    ui::FakeServices services;
    TkvlFakeWindows windows;
};

} // namespace

// Every checked-in template reads and writes back byte for byte, under the number settings it
// was written with ("-it" files under Italian ones), and holds every class it was made with.
TEST_F(DocumentTest, CheckedInTemplatesSaveBackByteForByte)
{
    const QDir dir(testsupport::dataFile(QStringLiteral("templates")));
    const QStringList files = dir.entryList({QStringLiteral("*.kv3")}, QDir::Files, QDir::Name);
    ASSERT_FALSE(files.isEmpty());
    for (const QString &name : files) {
        SCOPED_TRACE(name.toStdString());
        PinnedNumbers numbers(name.contains(QLatin1String("-it")) ? u',' : u'.');
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QByteArray original = f.readAll();
        TkvlReport r(nullptr);
        ASSERT_TRUE(r.LoadFromFile(dir.filePath(name)));
        EXPECT_EQ(r.Errors().Text(), QString());
        EXPECT_TRUE(services.messages.shown.isEmpty());
        const QByteArray saved = templateBytes(r);
        EXPECT_EQ(saved.toStdString(), original.toStdString());
    }
}

// Regenerates the every-class templates (LIRRA_WRITE_TEMPLATES=1): run by hand when a class
// publishes something new, then check the files in.
TEST_F(DocumentTest, WriteEveryClassTemplates)
{
    if (qEnvironmentVariableIsEmpty("LIRRA_WRITE_TEMPLATES"))
        GTEST_SKIP() << "set LIRRA_WRITE_TEMPLATES=1 to rewrite the fixtures";
    for (const auto &[file, decimal] : {std::pair{"every-class-en.kv3", u'.'}, std::pair{"every-class-it.kv3", u','}}) {
        PinnedNumbers numbers(decimal);
        TkvlReport r(nullptr);
        buildEveryClassReport(r);
        r.SaveToFile(testsupport::dataFile(QStringLiteral("templates/") + QLatin1String(file)));
    }
}

TEST_F(DocumentTest, EveryClassTemplateHoldsOneObjectOfEachClass)
{
    TkvlReport r(nullptr);
    ASSERT_TRUE(r.LoadFromFile(testsupport::dataFile(QStringLiteral("templates/every-class-en.kv3"))));
    for (const rtl::ClassInfo *c : rtl::RegisteredClasses()) {
        if (!c->canCreate() || !c->inheritsFrom(TkvlComponent::StaticClass()) || c->inheritsFrom(TkvlReport::StaticClass()))
            continue;
        bool found = false;
        for (TkvlComponent *o : r.GetAllObjects())
            found = found || o->ClassType() == c;
        EXPECT_TRUE(found) << c->name().toStdString();
    }
}

// A damaged template loads what it can; each problem is listed once and reported once.
TEST_F(DocumentTest, DamagedTemplatesLoadWhatTheyCan)
{
    const QString cantFind = kvlResourceText(QStringLiteral("xrCantFindClass"));
    struct Case {
        const char *name;
        const char *xml;
        QStringList errors;               // exactly these (sorted)
        QStringList present, absent;      // objects
        std::function<void(TkvlReport &)> check;
    };
    const Case cases[] = {
        {"unknown classes are skipped with their subtree, later siblings read",
         "<TkvlReport><TkvlReportPage Name=\"Page1\"><TFoo Name=\"X\"><TkvlMemoView Name=\"Inner\"/></TFoo>"
         "<TFoo Name=\"Y\"/><TBar Name=\"Z\"/><TkvlMemoView Name=\"Memo1\"/></TkvlReportPage></TkvlReport>",
         {cantFind + QStringLiteral(" TBar"), cantFind + QStringLiteral(" TFoo")},
         {"Page1", "Memo1"},
         {"Inner", "X", "Y", "Z"},
         {}},
        {"a bad number is listed once and its attribute skipped",
         "<TkvlReport><TkvlReportPage Name=\"Page1\"><TkvlMemoView Name=\"M1\" Left=\"1x\" Top=\"7\"/>"
         "<TkvlMemoView Name=\"M2\" Left=\"1x\"/></TkvlReportPage></TkvlReport>",
         {},
         {"M1", "M2"},
         {},
         [](TkvlReport &r) {
             EXPECT_EQ(r.Errors().Count(), 1);
             auto *m = rtl_cast<TkvlMemoView>(r.FindObject(u"M1"));
             EXPECT_EQ(m->Left(), 0);
             EXPECT_EQ(m->Top(), 7);
         }},
        {"an unknown identifier leaves the value alone",
         "<TkvlReport><TkvlReportPage Name=\"Page1\"><TkvlMemoView Name=\"M1\" HAlign=\"haNowhere\" "
         "VAlign=\"vaBottom\"/></TkvlReportPage></TkvlReport>",
         {},
         {"M1"},
         {},
         [](TkvlReport &r) {
             EXPECT_EQ(r.Errors().Count(), 1);
             auto *m = rtl_cast<TkvlMemoView>(r.FindObject(u"M1"));
             EXPECT_EQ(m->HAlign, haLeft);
             EXPECT_EQ(m->VAlign, vaBottom);
         }},
        {"an unclosed start tag leaves only the data page",
         "<TkvlReport><TkvlReportPage Name=\"Page1\"><TkvlMemoView Name=\"M1\"",
         {QStringLiteral("Invalid file format")},
         {},
         {"Page1", "M1"},
         [](TkvlReport &r) {
             ASSERT_EQ(r.ObjectCount(), 1);
             EXPECT_TRUE(r.Object(0)->Is<TkvlDataPage>());
         }},
        {"a file cut between tags reads as far as it goes",
         "<TkvlReport><TkvlReportPage Name=\"Page1\"><TkvlMemoView Name=\"M1\"/>",
         {},
         {"Page1", "M1"},
         {},
         {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        services.messages.shown.clear();
        TkvlReport r(nullptr);
        loadBytes(r, xmlOf(c.xml));
        if (!c.errors.isEmpty()) {
            EXPECT_EQ(r.Errors().toQStringList(), c.errors);
        }
        for (const QString &n : c.present)
            EXPECT_NE(r.FindObject(n), nullptr) << n.toStdString();
        for (const QString &n : c.absent)
            EXPECT_EQ(r.FindObject(n), nullptr) << n.toStdString();
        if (c.check)
            c.check(r);
        // Reported once, with every problem.
        if (r.Errors().Count() == 0) {
            EXPECT_TRUE(services.messages.shown.isEmpty());
            continue;
        }
        ASSERT_EQ(services.messages.shown.size(), 1);
        const QString text = services.messages.shown[0].text;
        EXPECT_TRUE(text.startsWith(kvlResourceText(QStringLiteral("clErrors")) + QStringLiteral("\r\n")));
        for (int i = 0; i < r.Errors().Count(); ++i)
            EXPECT_EQ(text.count(r.Errors()[i]), 1) << r.Errors()[i].toStdString();
    }
}

// The host's configuration survives a template; only what the template decides is taken.
TEST_F(DocumentTest, LoadingKeepsTheCallersOptionsButTheNamedOnes)
{
    TkvlReport source(nullptr);
    source.EngineOptions()->DoublePass = true;
    source.EngineOptions()->MaxMemSize = 3;
    source.PreviewOptions()->OutlineVisible = true;
    source.PreviewOptions()->Zoom = 0.5;
    source.IniFile = QStringLiteral("/template/settings.ini");
    const QByteArray bytes = templateBytes(source);

    TkvlReport host(nullptr);
    host.OldStyleProgress = true;
    host.ShowProgress = false;
    host.StoreInDFM = false;
    host.IniFile = QStringLiteral("/host/settings.ini");
    host.EngineOptions()->MaxMemSize = 99;
    host.PreviewOptions()->Zoom = 2;
    loadBytes(host, bytes);

    EXPECT_TRUE(host.OldStyleProgress);
    EXPECT_FALSE(host.ShowProgress);
    EXPECT_FALSE(host.StoreInDFM);
    EXPECT_EQ(host.IniFile, QStringLiteral("/host/settings.ini"));
    EXPECT_EQ(host.EngineOptions()->MaxMemSize, 99);
    EXPECT_EQ(host.PreviewOptions()->Zoom, 2);
    EXPECT_TRUE(host.EngineOptions()->DoublePass);
    EXPECT_TRUE(host.PreviewOptions()->OutlineVisible);
}

TEST_F(DocumentTest, PasswordIsStoredLoweredByTenAndReadBack)
{
    TkvlReport r(nullptr);
    r.ReportOptions()->Password = QStringLiteral("abc");
    const QString text = QString::fromUtf8(templateBytes(r));
    EXPECT_TRUE(text.contains(QStringLiteral("ReportOptions.Password=\"WXY\""))) << text.toStdString();
    EXPECT_EQ(r.ReportOptions()->Password, QStringLiteral("abc"));
    // Saving accepted it: reading it back asks nothing.
    TkvlReport back(nullptr);
    loadBytes(back, text.toUtf8());
    EXPECT_EQ(back.ReportOptions()->Password, QStringLiteral("abc"));
    EXPECT_EQ(windows.passwordAsked, 0);
}

// A protected template asks once per process; a wrong or cancelled answer empties the report.
TEST_F(DocumentTest, ProtectedTemplateAsksOncePerProcess)
{
    struct Case {
        const char *password;
        std::optional<QString> typed;
        bool loads;
    };
    const Case cases[] = {{"right1", QStringLiteral("right1"), true},
                          {"wrong2", QStringLiteral("zzz"), false},
                          {"cancel3", std::nullopt, false}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.password);
        const QString pwd = QString::fromLatin1(c.password);
        const QByteArray bytes = xmlOf("<TkvlReport ReportOptions.Password=\"") + kvlEncodePwd(pwd).toUtf8() +
                                 "\"><TkvlReportPage Name=\"Page1\"/></TkvlReport>";
        windows.password = c.typed;
        windows.passwordAsked = 0;
        services.messages.shown.clear();
        TkvlReport r(nullptr);
        r.EngineOptions()->MaxMemSize = 42;
        loadBytes(r, bytes);
        EXPECT_EQ(windows.passwordAsked, 1);
        EXPECT_EQ(r.FindObject(u"Page1") != nullptr, c.loads);
        EXPECT_EQ(r.EngineOptions()->MaxMemSize, 42);  // the host's settings even when cleared
        if (!c.loads) {
            EXPECT_TRUE(r.Errors().toQStringList().contains(QStringLiteral("Invalid password")));
            EXPECT_EQ(services.messages.shown.size(), 1);
            continue;
        }
        // Once accepted, another load (into another report) does not ask again.
        TkvlReport again(nullptr);
        loadBytes(again, bytes);
        EXPECT_EQ(windows.passwordAsked, 1);
        EXPECT_NE(again.FindObject(u"Page1"), nullptr);
    }
    // The host's hidden password opens a template without a prompt.
    windows.passwordAsked = 0;
    TkvlReport hosted(nullptr);
    hosted.ReportOptions()->HiddenPassword = QStringLiteral("hid4");
    loadBytes(hosted, xmlOf("<TkvlReport ReportOptions.Password=\"") + kvlEncodePwd(QStringLiteral("hid4")).toUtf8() +
                          "\"><TkvlReportPage Name=\"Page1\"/></TkvlReport>");
    EXPECT_EQ(windows.passwordAsked, 0);
    EXPECT_NE(hosted.FindObject(u"Page1"), nullptr);
}

TEST_F(DocumentTest, DataPageIsMadeFirstAndTakesTheDialogComponents)
{
    for (bool dataTaken : {false, true}) {
        SCOPED_TRACE(dataTaken);
        TkvlReport r(nullptr);
        auto *page = new TkvlReportPage(&r);
        page->SetName(dataTaken ? QStringLiteral("Data") : QStringLiteral("Page1"));
        auto *a = new TkvlUserDataSet(page);
        auto *b = new TkvlUserDataSet(page);
        r.CheckDataPage();
        ASSERT_EQ(r.ObjectCount(), 2);
        auto *data = rtl_cast<TkvlDataPage>(r.Object(0));
        ASSERT_NE(data, nullptr);
        EXPECT_EQ(data->Name() == QLatin1String("Data"), !dataTaken) << data->Name().toStdString();
        EXPECT_FALSE(data->Name().isEmpty());
        EXPECT_EQ(a->Parent(), data);
        EXPECT_EQ(b->Parent(), data);
        EXPECT_EQ(a->Left(), 60);
        EXPECT_EQ(b->Left(), 124);
        EXPECT_EQ(b->Top(), 20);
        // A second call finds the page and does nothing.
        r.CheckDataPage();
        EXPECT_EQ(r.ObjectCount(), 2);
    }
}

TEST_F(DocumentTest, DatasetAndFieldFromAQuotedName)
{
    TkvlReport r(nullptr);
    auto *events = new TkvlUserDataSet(&r);
    events->SetUserName(QStringLiteral("EVENTS"));
    r.DataSets()->Add(events);
    struct Case {
        const char *name;
        TkvlDataSet *dataset;
        const char *field;
    };
    const Case cases[] = {{"EVENTS.\"TITLE\"", events, "TITLE"},
                          {"events.\"Da.te\"", events, "Da.te"},
                          {"EVENTS.TITLE", nullptr, ""},
                          {"EVENTS.\"TITLE", nullptr, ""},
                          {"OTHER.\"TITLE\"", nullptr, "TITLE"},
                          {"", nullptr, ""}};
    for (const Case &c : cases) {
        TkvlDataSet *ds = events;
        QString field = QStringLiteral("junk");
        r.GetDatasetAndField(QString::fromUtf8(c.name), ds, field);
        EXPECT_EQ(ds, c.dataset) << c.name;
        EXPECT_EQ(field, QString::fromUtf8(c.field)) << c.name;
    }
    EXPECT_EQ(r.GetAlias(events), QStringLiteral("EVENTS"));
    EXPECT_EQ(r.GetAlias(nullptr), QString());
    // A record source that goes away leaves the report's list and its main source.
    r.SetDataSet(events);
    delete events;
    EXPECT_EQ(r.DataSets()->Count(), 0);
    EXPECT_EQ(r.DataSet(), nullptr);
}

// An empty list is written as an empty value; an empty value or none reads as an empty list.
TEST_F(DocumentTest, EmptyListsReadBothWays)
{
    TkvlReport r(nullptr);
    auto *page = new TkvlReportPage(&r);
    page->SetName(QStringLiteral("Page1"));
    const QString text = QString::fromUtf8(templateBytes(r));
    EXPECT_TRUE(text.contains(QStringLiteral("ColumnPositions.Text=\"\""))) << text.toStdString();
    // The report's own lists are left out when empty.
    EXPECT_FALSE(text.contains(QStringLiteral("<Datasets")));
    EXPECT_FALSE(text.contains(QStringLiteral("<Variables")));
    EXPECT_FALSE(text.contains(QStringLiteral("<Styles")));
    for (const char *attr : {" ColumnPositions.Text=\"\"", ""}) {
        TkvlReport back(nullptr);
        loadBytes(back, xmlOf("<TkvlReport><TkvlReportPage Name=\"Page1\"") + attr + "/></TkvlReport>");
        auto *p = rtl_cast<TkvlReportPage>(back.FindObject(u"Page1"));
        ASSERT_NE(p, nullptr);
        EXPECT_EQ(p->ColumnPositions().Count(), 0) << attr;
    }
    // The lists are read ignoring the case of their element names.
    TkvlReport lists(nullptr);
    loadBytes(lists, xmlOf("<TkvlReport><variables><item Name=\"Total\"/></variables></TkvlReport>"));
    EXPECT_EQ(lists.Variables().Count(), 1);
}

TEST_F(DocumentTest, FilesAndSettingsStorage)
{
    QTemporaryDir tmp;
    TkvlReport r(nullptr);
    // A missing file: false, nothing loaded, no message; or the open error when asked for.
    new TkvlReportPage(&r);
    EXPECT_FALSE(r.LoadFromFile(tmp.filePath(QStringLiteral("missing.kv3"))));
    EXPECT_EQ(r.ObjectCount(), 0);
    EXPECT_TRUE(r.FileName.isEmpty());
    EXPECT_THROW(r.LoadFromFile(tmp.filePath(QStringLiteral("missing.kv3")), true), EFOpenError);
    EXPECT_TRUE(services.messages.shown.isEmpty());

    // An absolute parent template path is saved relative to the template's folder.
    QDir(tmp.path()).mkpath(QStringLiteral("sub"));
    r.ParentReport = tmp.filePath(QStringLiteral("base.kv3"));
    const QString file = tmp.filePath(QStringLiteral("sub/child.kv3"));
    r.SaveToFile(file);
    EXPECT_EQ(r.ParentReport, QStringLiteral("../base.kv3"));
    TkvlReport back(nullptr);
    ASSERT_TRUE(back.LoadFromFile(file));
    EXPECT_EQ(back.FileName, file);
    EXPECT_EQ(back.ParentReport, QStringLiteral("../base.kv3"));

    // Settings: a "\Software\" path is a key of the user's settings, anything else a file.
    kvlSetRegistryRootFolder(TkvlRegistryRoot::CurrentUser, tmp.filePath(QStringLiteral("config")));
    r.IniFile = QStringLiteral("\\Software\\Korvelle Works");
    r.GetIniFile()->WriteString(QStringLiteral("Designer"), QStringLiteral("Left"), QStringLiteral("10"));
    EXPECT_TRUE(QFile::exists(tmp.filePath(QStringLiteral("config/Software/Korvelle Works.ini"))));
    r.IniFile = tmp.filePath(QStringLiteral("plain.ini"));
    EXPECT_EQ(r.GetIniFile()->FileName(), tmp.filePath(QStringLiteral("plain.ini")));
    kvlSetRegistryRootFolder(TkvlRegistryRoot::CurrentUser, QString());
}
