// The report's four option records: declared defaults and stored flags (what templates
// write), the values of a new report, Clear, Assign and the named-connection lookup.
#include "platform/rtl/inifile.h"
#include "report/core/kvlobjects.h"
#include "report/options/kvloptions.h"
#include "report/options/kvlregistry.h"
#include "report/serial/xmlserializer.h"

#include <QBuffer>
#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// How a property is written into a template.
enum class Stored { Always, Never, Cond };

struct PropCase {
    const rtl::ClassInfo *cls;
    const char *name;
    Stored stored;
    bool hasDefault;
    int64_t def;
};

TEST(Options, StoredFlagsAndDeclaredDefaults)
{
    const auto *e = TkvlEngineOptions::StaticClass();
    const auto *pv = TkvlPreviewOptions::StaticClass();
    const auto *pr = TkvlPrintOptions::StaticClass();
    const auto *r = TkvlReportOptions::StaticClass();
    const PropCase cases[] = {
        {e, "ConvertNulls", Stored::Always, true, 1},
        {e, "DoublePass", Stored::Always, false, 0},
        {e, "MaxMemSize", Stored::Always, true, 10},
        {e, "PrintIfEmpty", Stored::Always, true, 1},
        {e, "SilentMode", Stored::Always, false, 0},
        {e, "NewSilentMode", Stored::Always, false, 0},
        {e, "TempDir", Stored::Always, false, 0},
        {e, "UseFileCache", Stored::Always, false, 0},
        {e, "IgnoreDevByZero", Stored::Always, false, 0},
        {e, "DestroyForms", Stored::Never, true, 1},
        {e, "EnableThreadSafe", Stored::Never, true, 0},
        {e, "UseGlobalDataSetList", Stored::Never, true, 1},
        {pv, "AllowEdit", Stored::Always, true, 1},
        {pv, "Buttons", Stored::Always, false, 0},
        {pv, "OutlineWidth", Stored::Always, true, 120},
        {pv, "PagesInCache", Stored::Always, true, 50},
        {pv, "Zoom", Stored::Cond, false, 0},
        {pv, "RTLPreview", Stored::Never, true, 0},
        {pr, "Copies", Stored::Always, true, 1},
        {pr, "Collate", Stored::Always, true, 1},
        {pr, "PrintOnSheet", Stored::Always, false, 0},
        {pr, "ShowDialog", Stored::Always, true, 1},
        {pr, "SwapPageSize", Stored::Never, true, 0},
        {pr, "PagesOnSheet", Stored::Never, true, 0},
        {pr, "Duplex", Stored::Never, true, 0},
        {pr, "SplicingLine", Stored::Never, true, 3},
        {r, "ConnectionName", Stored::Always, false, 0},
        {r, "Description", Stored::Always, false, 0},
    };
    for (const PropCase &c : cases) {
        const rtl::PropInfo *p = c.cls->findProp(QString::fromLatin1(c.name));
        ASSERT_NE(p, nullptr) << c.name;
        const Stored stored = p->storedMode() == rtl::StoredMode::Always ? Stored::Always
            : p->storedMode() == rtl::StoredMode::Never                  ? Stored::Never
                                                                         : Stored::Cond;
        EXPECT_EQ(stored, c.stored) << c.name;
        EXPECT_EQ(p->hasDefault(), c.hasDefault) << c.name;
        if (c.hasDefault) {
            EXPECT_EQ(p->defaultOrd(), c.def) << c.name;
        }
    }
}

TEST(Options, TemplateAttributeOrder)
{
    auto order = [](const rtl::ClassInfo *cls) {
        QStringList names;
        for (const rtl::PropInfo *p : cls->props())
            if (p->storedMode() != rtl::StoredMode::Never && p->kind() != rtl::TypeKind::Method)
                names << p->name();
        return names.join(QLatin1Char(' '));
    };
    EXPECT_EQ(order(TkvlEngineOptions::StaticClass()),
              QLatin1String("ConvertNulls DoublePass MaxMemSize PrintIfEmpty SilentMode NewSilentMode TempDir "
                            "UseFileCache IgnoreDevByZero"));
    EXPECT_EQ(order(TkvlPreviewOptions::StaticClass()),
              QLatin1String("AllowEdit Buttons DoubleBuffered Maximized MDIChild Modal OutlineExpand OutlineVisible "
                            "OutlineWidth PagesInCache ThumbnailVisible ShowCaptions Zoom ZoomMode PictureCacheInFile"));
    EXPECT_EQ(order(TkvlPrintOptions::StaticClass()),
              QLatin1String("Copies Collate PageNumbers Printer PrintMode PrintOnSheet PrintPages Reverse ShowDialog"));
    EXPECT_EQ(order(TkvlReportOptions::StaticClass()),
              QLatin1String("Author Compressed ConnectionName CreateDate Description InitString Name LastChange "
                            "Password Picture VersionBuild VersionMajor VersionMinor VersionRelease"));
}

TEST(Options, NewReportValues)
{
    TkvlReport report(nullptr);
    const TkvlEngineOptions &e = *report.EngineOptions();
    EXPECT_TRUE(e.ConvertNulls);
    EXPECT_TRUE(e.PrintIfEmpty);
    EXPECT_TRUE(e.DestroyForms);
    EXPECT_TRUE(e.UseGlobalDataSetList);
    EXPECT_EQ(e.MaxMemSize, 10);
    EXPECT_EQ(e.NewSilentMode, simMessageBoxes);
    const TkvlPreviewOptions &pv = *report.PreviewOptions();
    EXPECT_TRUE(pv.Modal);
    EXPECT_TRUE(pv.Maximized);
    EXPECT_EQ(pv.PagesInCache, 50);
    EXPECT_EQ(pv.OutlineWidth, 120);
    EXPECT_EQ(pv.Zoom, 1.0);
    EXPECT_EQ(pv.Buttons, 4095u);
    EXPECT_EQ(pv.Buttons, kvlBit(pbExportQuick) * 2 - 1);
    const TkvlPrintOptions &pr = *report.PrintOptions();
    EXPECT_EQ(pr.Copies, 1);
    EXPECT_TRUE(pr.Collate);
    EXPECT_EQ(pr.Printer, QLatin1String("Default"));
    EXPECT_EQ(pr.SplicingLine, 3);
    EXPECT_EQ(report.ReportOptions()->Report(), &report);
    EXPECT_GT(report.ReportOptions()->CreateDate, 0);
}

TEST(Options, SilentModeIsAViewOfTheNewMode)
{
    TkvlEngineOptions e;
    const rtl::PropInfo *silent = e.ClassType()->findProp(u"SilentMode");
    silent->setOrd(&e, 1);
    EXPECT_TRUE(e.SilentMode());
    EXPECT_EQ(e.NewSilentMode, simSilent);
    e.ClassType()->findProp(u"NewSilentMode")->setOrdText(&e, u"simReThrow");
    EXPECT_FALSE(e.SilentMode());
    EXPECT_EQ(e.NewSilentMode, simReThrow);
    e.SetSilentMode(false);
    EXPECT_EQ(e.NewSilentMode, simMessageBoxes);
}

TEST(Options, EngineAssignCopiesTheStoredSettingsOnly)
{
    TkvlEngineOptions src;
    src.ConvertNulls = false;
    src.DoublePass = true;
    src.MaxMemSize = 3;
    src.PrintIfEmpty = false;
    src.NewSilentMode = simReThrow;
    src.TempDir = QStringLiteral("/tmp/x");
    src.UseFileCache = true;
    src.IgnoreDevByZero = true;
    src.DestroyForms = false;
    src.EnableThreadSafe = true;
    src.UseGlobalDataSetList = false;

    TkvlEngineOptions dst;
    dst.Assign(&src);
    EXPECT_FALSE(dst.ConvertNulls);
    EXPECT_TRUE(dst.DoublePass);
    EXPECT_EQ(dst.MaxMemSize, 3);
    EXPECT_FALSE(dst.PrintIfEmpty);
    EXPECT_EQ(dst.NewSilentMode, simReThrow);
    EXPECT_EQ(dst.TempDir, src.TempDir);
    EXPECT_TRUE(dst.UseFileCache);
    EXPECT_TRUE(dst.IgnoreDevByZero);
    EXPECT_TRUE(dst.DestroyForms);
    EXPECT_FALSE(dst.EnableThreadSafe);
    EXPECT_TRUE(dst.UseGlobalDataSetList);

    // A record of another class is ignored.
    TkvlPrintOptions other;
    dst.Assign(&other);
    EXPECT_TRUE(dst.DoublePass);
}

TEST(Options, PrintAssignAndClear)
{
    TkvlPrintOptions src;
    src.Copies = 4;
    src.Collate = false;
    src.PageNumbers = QStringLiteral("1-3");
    src.Printer = QStringLiteral("Laser");
    src.PrintMode = pmScale;
    src.PrintOnSheet = 2;
    src.PrintPages = ppEven;
    src.Reverse = true;
    src.ShowDialog = false;
    src.SplicingLine = 7;
    src.PagesOnSheet = 2;
    src.SwapPageSize = true;
    src.PrnOutFileName = QStringLiteral("out.prn");
    src.Duplex = dmVertical;

    TkvlPrintOptions dst;
    dst.Assign(&src);
    EXPECT_EQ(dst.Copies, 4);
    EXPECT_FALSE(dst.Collate);
    EXPECT_EQ(dst.PageNumbers, src.PageNumbers);
    EXPECT_EQ(dst.Printer, src.Printer);
    EXPECT_EQ(dst.PrintMode, pmScale);
    EXPECT_EQ(dst.PrintOnSheet, 2);
    EXPECT_EQ(dst.PrintPages, ppEven);
    EXPECT_TRUE(dst.Reverse);
    EXPECT_FALSE(dst.ShowDialog);
    EXPECT_EQ(dst.SplicingLine, 7);
    EXPECT_EQ(dst.PagesOnSheet, 0);
    EXPECT_FALSE(dst.SwapPageSize);
    EXPECT_TRUE(dst.PrnOutFileName.isEmpty());
    EXPECT_EQ(dst.Duplex, dmNone);

    src.Clear();
    EXPECT_EQ(src.Copies, 1);
    EXPECT_EQ(src.Printer, QLatin1String("Default"));
    EXPECT_EQ(src.Duplex, dmNone);
    EXPECT_EQ(src.SplicingLine, 3);
    EXPECT_EQ(src.PagesOnSheet, 0);
    EXPECT_TRUE(src.SwapPageSize);
    EXPECT_EQ(src.PrnOutFileName, QLatin1String("out.prn"));
}

TEST(Options, PreviewAssignCopiesEverythingAndClearResetsTheOutline)
{
    TkvlPreviewOptions src;
    src.AllowEdit = false;
    src.Buttons = kvlBit(pbPrint) | kvlBit(pbNoEmail);
    src.Modal = false;
    src.OutlineVisible = true;
    src.OutlineWidth = 200;
    src.PagesInCache = 30;
    src.ThumbnailVisible = true;
    src.Zoom = 2.5;
    src.ZoomMode = zmPageWidth;
    src.PictureCacheInFile = true;
    src.RTLPreview = true;
    TkvlPreviewOptions dst;
    dst.Assign(&src);
    EXPECT_FALSE(dst.AllowEdit);
    EXPECT_EQ(dst.Buttons, src.Buttons);
    EXPECT_FALSE(dst.Modal);
    EXPECT_EQ(dst.OutlineWidth, 200);
    EXPECT_EQ(dst.PagesInCache, 30);
    EXPECT_EQ(dst.Zoom, 2.5);
    EXPECT_EQ(dst.ZoomMode, zmPageWidth);
    EXPECT_TRUE(dst.PictureCacheInFile);
    EXPECT_TRUE(dst.RTLPreview);

    dst.Clear();
    EXPECT_FALSE(dst.OutlineVisible);
    EXPECT_EQ(dst.OutlineWidth, 120);
    EXPECT_EQ(dst.PagesInCache, 50);
    EXPECT_FALSE(dst.ThumbnailVisible);
    EXPECT_EQ(dst.Zoom, 2.5);  // not part of Clear
    EXPECT_FALSE(dst.AllowEdit);

    const rtl::PropInfo *zoom = dst.ClassType()->findProp(u"Zoom");
    EXPECT_TRUE(zoom->isStored(&dst));
    dst.Zoom = 0;
    EXPECT_FALSE(zoom->isStored(&dst));
}

TEST(Options, ReportOptionsClearKeepsTheDescriptiveDataWhenInfoOnly)
{
    for (bool info : {false, true}) {
        TkvlReportOptions o;
        o.Author = QStringLiteral("Anna");
        o.Description().Add(QStringLiteral("line"));
        o.Picture()->Bitmap()->setSize(4, 4);
        o.VersionMajor = QStringLiteral("2");
        o.CreateDate = 1;
        o.Name = QStringLiteral("Report");
        o.Password = QStringLiteral("pw");
        o.PrevPassword = QStringLiteral("pw");
        o.InitString = QStringLiteral("init");
        o.SetConnectionName(QStringLiteral("conn"));
        o.Info = info;
        o.Clear();
        EXPECT_EQ(o.Author.isEmpty(), !info);
        EXPECT_EQ(o.Description().Count(), info ? 1 : 0);
        EXPECT_EQ(o.Picture()->Empty(), !info);
        EXPECT_EQ(o.VersionMajor.isEmpty(), !info);
        EXPECT_EQ(o.CreateDate == 1, info);
        EXPECT_TRUE(o.Name.isEmpty());
        EXPECT_TRUE(o.Password.isEmpty());
        EXPECT_TRUE(o.PrevPassword.isEmpty());
        EXPECT_TRUE(o.InitString.isEmpty());
        EXPECT_TRUE(o.ConnectionName().isEmpty());
    }
}

// A picture whose pixels all differ, so that a flip or shift shows.
QImage samplePixels()
{
    QImage img(4, 3, QImage::Format_RGB32);
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            img.setPixel(x, y, qRgb(60 * x, 100 * y, 255 - 20 * x * y));
    return img;
}

QImage picturePixels(const TkvlReportOptions &o)
{
    const auto *b = dynamic_cast<const TBitmap *>(o.Picture()->Graphic());
    return b ? b->image().convertToFormat(QImage::Format_RGB32) : QImage();
}

TEST(Options, ReportPictureTravelsThroughTheTemplate)
{
    TkvlXMLSerializer s;
    TkvlReportOptions empty;
    EXPECT_FALSE(s.ObjToXML(&empty).contains(QLatin1String("Picture")));

    TkvlReportOptions o;
    o.Picture()->Bitmap()->setImage(samplePixels());
    const QString xml = s.ObjToXML(&o);
    EXPECT_TRUE(xml.contains(QLatin1String(" Picture.PropData=\"")));
    TkvlReportOptions back;
    s.XMLToObj(xml, &back);
    EXPECT_EQ(picturePixels(back), samplePixels());

    // The same picture as the ancestor's is not written again.
    EXPECT_FALSE(s.ObjToXML(&o, QString(), &back).contains(QLatin1String("Picture")));
}

TEST(Options, ReportPictureFromDamagedTemplateDataStaysEmpty)
{
    // The template's "Data" record: name, a bytes value (its length may claim more than follows), end.
    auto record = [](const QByteArray &bytes, uint32_t missing) {
        const uint32_t claimed = uint32_t(bytes.size()) + missing;
        QByteArray d;
        d.append(char(4)).append(char(0)).append("Data");
        d.append(char(6));
        d.append(reinterpret_cast<const char *>(&claimed), 4);
        d.append(bytes);
        d.append(char(0));
        return QString::fromLatin1(d.toHex().toUpper());
    };
    QByteArray png;
    QBuffer buf(&png);
    buf.open(QIODevice::WriteOnly);
    ASSERT_TRUE(samplePixels().save(&buf, "PNG"));
    const struct {
        const char *what;
        QString data;
        bool loads;
    } cases[] = {
        {"whole image", record(png, 0), true},
        {"no image", record("\x89PNG not really", 0), false},
        {"image cut short", record(png.left(png.size() / 2), 0), false},
        {"length beyond the data", record(png, 1000000), false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        TkvlXMLSerializer s;
        TkvlReportOptions o;
        const QString xml = QStringLiteral(" Author=\"A\" Picture.PropData=\"") + c.data + QStringLiteral("\" Name=\"N\"");
        s.XMLToObj(xml, &o);
        EXPECT_EQ(picturePixels(o) == samplePixels(), c.loads);
        EXPECT_EQ(o.Picture()->Empty(), !c.loads);
        EXPECT_EQ(o.Author, QLatin1String("A"));  // the rest of the template still reads
        EXPECT_EQ(o.Name, QLatin1String("N"));
    }
}

TEST(Options, ReportAssignCopiesThePicture)
{
    TkvlReportOptions src, dst;
    src.Picture()->Bitmap()->setImage(samplePixels());
    dst.Assign(&src);
    EXPECT_NE(dst.Picture(), src.Picture());
    src.Picture()->Clear();
    EXPECT_EQ(picturePixels(dst), samplePixels());
    // An empty picture empties the target's.
    dst.Assign(&src);
    EXPECT_TRUE(dst.Picture()->Empty());
}

// Registry keys kept in temporary folders for the duration of a test.
class NamedConnections : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(user.isValid());
        ASSERT_TRUE(machine.isValid());
        kvlSetRegistryRootFolder(TkvlRegistryRoot::CurrentUser, user.path());
        kvlSetRegistryRootFolder(TkvlRegistryRoot::LocalMachine, machine.path());
    }
    void TearDown() override
    {
        kvlSetRegistryRootFolder(TkvlRegistryRoot::CurrentUser, QString());
        kvlSetRegistryRootFolder(TkvlRegistryRoot::LocalMachine, QString());
    }
    void write(TkvlRegistryRoot root, const QString &key, const QString &name, const QString &value)
    {
        QString file, section;
        ASSERT_TRUE(kvlRegistryKeyLocation(root, key, file, section));
        QDir().mkpath(QFileInfo(file).path());
        TIniFile(file).WriteString(section, name, value);
    }

    QTemporaryDir user, machine;
};

TEST_F(NamedConnections, KeysAreSectionsOfTheirParentKeysFile)
{
    QString file, section;
    ASSERT_TRUE(kvlRegistryKeyLocation(TkvlRegistryRoot::CurrentUser, QString::fromLatin1(kvlConnectionsKey), file,
                                       section));
    EXPECT_EQ(file, user.path() + QStringLiteral("/Software/Korvelle Works.ini"));
    EXPECT_EQ(section, QLatin1String("Connections"));
    for (const char *bad : {"", "\\Software", "\\Software\\..\\x", "\\Software\\\\x", "\\a/b\\c"})
        EXPECT_FALSE(kvlRegistryKeyLocation(TkvlRegistryRoot::CurrentUser, QString::fromLatin1(bad), file, section))
            << bad;
}

TEST_F(NamedConnections, EachNonEmptyValueGoesToTheReportInKeyOrder)
{
    const QString key = QString::fromLatin1(kvlConnectionsKey);
    const QString rud = key + QStringLiteral("RUD");
    write(TkvlRegistryRoot::CurrentUser, key, QStringLiteral("Main"), QStringLiteral("user"));
    write(TkvlRegistryRoot::LocalMachine, key, QStringLiteral("Main"), QStringLiteral("machine"));
    write(TkvlRegistryRoot::LocalMachine, rud, QStringLiteral("Main"), QString());
    write(TkvlRegistryRoot::CurrentUser, rud, QStringLiteral("main"), QStringLiteral("user rud"));

    TkvlReport report(nullptr);
    QStringList got;
    report.OnSetConnection = [&got](const QString &s) { got << s; };
    report.ReportOptions()->SetConnectionName(QStringLiteral("Main"));
    EXPECT_EQ(got, (QStringList{QStringLiteral("machine"), QStringLiteral("user"), QStringLiteral("user rud")}));
    EXPECT_EQ(report.ReportOptions()->ConnectionName(), QLatin1String("Main"));

    // Assign copies the name without looking it up; an unknown name finds nothing.
    got.clear();
    TkvlReport other(nullptr);
    other.OnSetConnection = report.OnSetConnection;
    other.ReportOptions()->Assign(report.ReportOptions());
    EXPECT_EQ(other.ReportOptions()->ConnectionName(), QLatin1String("Main"));
    other.ReportOptions()->SetConnectionName(QStringLiteral("Nowhere"));
    EXPECT_TRUE(got.isEmpty());

    // Without a handler the name is only stored.
    report.OnSetConnection = nullptr;
    report.ReportOptions()->SetConnectionName(QStringLiteral("Main"));
    EXPECT_TRUE(got.isEmpty());
}

} // namespace
