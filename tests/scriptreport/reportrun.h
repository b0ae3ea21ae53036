#pragma once
// A template prepared through the whole library with its script in one of the four
// languages: the events record source from memory, the pages listed from the store.
#include "platform/ui/fakes.h"
#include "report/data/kvldatasetlist.h"
#include "report/data/kvldbdataset.h"
#include "report/document/kvlreport.h"
#include "report/memo/kvlmemo.h"
#include "report/options/kvloptions.h"
#include "report/seams/kvlpreviewpages.h"
#include "report/appearance/frame.h"
#include "report/core/kvlobjects.h"
#include "report/core/kvlresourcetext.h"
#include "report/views/kvlview.h"
#include "tests/dataset/memdataset.h"
#include "tests/scriptreport/scriptreportfixture.h"
#include "tests/testsupport.h"

#include <QFile>
#include <map>

namespace scriptreporttest {

// The script files beside a template carry these endings.
struct Language
{
    const char *name, *ending;
};
inline constexpr Language Languages[] = {
    {"DozovoZozedi", "dozovo"}, {"D++Iraved", "iraved"}, {"DevavAraroz", "devav"}, {"JScript", "jscript"}};

inline QString ReadData(const QString &name)
{
    QFile f(testsupport::dataFile(QStringLiteral("scriptreport/") + name));
    if (!f.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(f.readAll());
}

// Made first, so that the report below gets its engine and store.
struct Registered
{
    Registered() { RegisterOnce(); }
};

class ReportRun
{
public:
    ReportRun()
    {
        data.columns = {{QStringLiteral("ID"), TFieldType::ftInteger},
                        {QStringLiteral("CITY"), TFieldType::ftString},
                        {QStringLiteral("TITLE"), TFieldType::ftString},
                        {QStringLiteral("AMOUNT"), TFieldType::ftFloat}};
        data.rows = {{1, "Bari", "Alfa", 10.0}, {2, "Bari", "Beta", 20.0}, {3, "Roma", "Gamma", 7.0}};
        source.SetName(QStringLiteral("fEVENTS"));
        source.SetUserName(QStringLiteral("EVENTS"));
        source.SetDataSet(&data);
    }

    // Loads tests/data/scriptreport/<name>.kv3 and gives it the script text (nothing when
    // empty) in the language.
    void Load(const QString &name, const char *language, const QString &script)
    {
        report.LoadFromFile(testsupport::dataFile(QStringLiteral("scriptreport/") + name + QStringLiteral(".kv3")), true);
        report.DataSets()->Add(&source);
        report.ScriptLanguage = QString::fromLatin1(language);
        report.ScriptText().SetText(script);
    }

    // Prepares; the messages the run reported, one per line.
    QString Prepare(bool *prepared = nullptr)
    {
        fakes.messages.shown.clear();
        const bool ok = report.PrepareReport();
        if (prepared)
            *prepared = ok;
        QStringList shown;
        for (const ui::MessageRequest &m : fakes.messages.shown)
            shown << m.text;
        return shown.join(u'\n');
    }

    // Each page as "page N" and one line per memo: its top and its text.
    QString Listing()
    {
        TkvlCustomPreviewPages &pages = *report.PreviewPages();
        QString out;
        for (int i = 0; i < pages.GetCount(); ++i) {
            out += QStringLiteral("page %1\n").arg(i + 1);
            std::multimap<double, QString> lines;
            for (TkvlComponent *c : pages.GetPage(i)->GetAllObjects())
                if (auto *m = rtl_cast<TkvlCustomMemoView>(c)) {
                    QString t = m->Text();
                    while (t.endsWith(QLatin1Char('\n')) || t.endsWith(QLatin1Char('\r')))
                        t.chop(1);
                    lines.emplace(m->GetAbsTop(), t);
                }
            for (const auto &[top, text] : lines)
                out += QStringLiteral("%1 %2\n").arg(qRound(top)).arg(text);
        }
        return out;
    }

    // The outline's top-level items as "text page top", one a line.
    QString OutlineItems()
    {
        TkvlCustomOutline &o = *report.PreviewPages()->Outline;
        o.LevelRoot();
        QString out;
        for (int i = 0; i < o.GetCount(); ++i) {
            QString text;
            int page = -1, top = -1;
            o.GetItem(i, text, page, top);
            out += QStringLiteral("%1 %2 %3\n").arg(text).arg(page).arg(top);
        }
        return out;
    }

    Registered registered;
    ui::FakeServices fakes;
    MemDataSet data;
    TkvlDBDataset source{nullptr};
    TkvlReport report{nullptr};
};

} // namespace scriptreporttest
