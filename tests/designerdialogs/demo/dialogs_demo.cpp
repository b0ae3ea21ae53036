// The designer's dialogs on a small report, one at a time: dialogs_demo <name>.
#include "designer/core/resources/designerstrings.h"
#include "designer/widgets/bandeditorforms.h"
#include "designer/widgets/optionseditorform.h"
#include "designer/widgets/pageeditorform.h"
#include "designer/widgets/reporteditorform.h"
#include "designer/widgets/styleeditorform.h"
#include "designer/widgets/vareditorform.h"
#include "report/styles/kvlstyles.h"
#include "report/vars/kvlvariables.h"
#include "report/options/kvloptions.h"
#include "platform/gfx/picture.h"
#include "report/bands/kvlband.h"
#include "report/data/kvldataset.h"
#include "report/data/kvldatasetlist.h"
#include "platform/rtl/formatsettings.h"
#include "platform/rtl/reflect/classinfo.h"
#include "report/document/kvlreport.h"
#include "report/document/kvlreportunit.h"
#include "report/pages/kvlreportpage.h"

#include <QApplication>
#include "platform/gfx/tfont.h"
#include <QTabWidget>
#include <QTextStream>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    rtl::RegisterRootClasses();
    kvlInitReportUnit();
    kvlAddDesignerStrings();
    TFormatSettings fs = rtl::FormatSettings();
    fs.DecimalSeparator = u',';
    rtl::ScopedFormatSettings numbers(fs);
    TkvlReport report(nullptr);
    auto *page = new TkvlReportPage(&report);
    page->SetSizeAndDimensions(9, 210, 297);
    page->LeftMargin = page->TopMargin = page->RightMargin = page->BottomMargin = 10;
    for (const char *name : {"EVENTI", "SEDI"}) {
        auto *ds = new TkvlUserDataSet(&report);
        ds->SetUserName(QLatin1String(name));
        ds->Fields().Add(QStringLiteral("TITOLO"));
        ds->Fields().Add(QStringLiteral("SEDE"));
        report.DataSets()->Add(ds);
    }
    auto *band = new TkvlMasterData(page);
    auto *group = new TkvlGroupHeader(page);
    group->Condition = QStringLiteral("EVENTI.\"SEDE\"");
    const QString which = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("page");
    if (which == QLatin1String("page"))
        return kvlEditPage(page, ruCM, nullptr) ? 0 : 1;
    if (which == QLatin1String("databand"))
        return kvlEditDataBand(band, nullptr, nullptr) ? 0 : 1;
    if (which == QLatin1String("group"))
        return kvlEditGroup(group, nullptr, nullptr) ? 0 : 1;
    if (which == QLatin1String("lines")) {
        QString text = QStringLiteral("Totali\n Somma1\n Somma2");
        return kvlEditStrings(text, nullptr) ? 0 : 1;
    }
    if (which == QLatin1String("picture")) {
        TPicture picture;
        if (argc > 2)
            picture.LoadFromFile(QString::fromLocal8Bit(argv[2]));
        return kvlEditPicture(&picture, nullptr) ? 0 : 1;
    }
    if (which == QLatin1String("options")) {
        TkvlDesignerOptions o;
        o.GridSize[0] = 0.1;
        o.GridSize[1] = 0.1;
        o.GridSize[2] = 4;
        o.GridSize[3] = 4;
        o.CodeFontName = QStringLiteral("DejaVu Sans Mono");
        o.MemoFontName = QStringLiteral("DejaVu Sans");
        return kvlEditDesignerOptions(o, gt1cm, true, {}, nullptr) ? 0 : 1;
    }
    if (which == QLatin1String("report")) {
        report.ReportOptions()->Name = QStringLiteral("Eventi del mese");
        report.ReportOptions()->Author = QStringLiteral("Segreteria");
        TkvlTemplateFolder folder{QStringLiteral("/usr/share/lirracal/modelli"), [](const QString &P) {
                                      return QStringList{P + QStringLiteral("/eventi.kvl"), P + QStringLiteral("/sedi.kvl")};
                                  }};
        const int tab = argc > 2 ? QString::fromLocal8Bit(argv[2]).toInt() : 0;
        TkvlReportEditorForm f(&report, nullptr, folder);
        f.Tabs()->setCurrentIndex(tab);
        return f.exec() == QDialog::Accepted ? 0 : 1;
    }
    if (which == QLatin1String("styles")) {
        TkvlStyleItem *s = report.Styles().Add();
        s->SetName(QStringLiteral("Titolo"));
        s->Font()->SetSize(14);
        report.Styles().Add()->SetName(QStringLiteral("Note"));
        return kvlEditStyles(&report, {}, nullptr) ? 0 : 1;
    }
    if (which == QLatin1String("variables")) {
        for (const auto &[name, value] : {std::pair{" Totali", ""}, {"Somma", "[EVENTI.\"COSTO\"] + 1"},
                                          {"Media", "[Somma] / 2"}, {" Date", ""}, {"Oggi", "[DATE]"}}) {
            TkvlVariable *v = report.Variables().Add();
            v->SetName(QString::fromUtf8(name));
            v->SetValue(Variant(QString::fromUtf8(value)));
        }
        return kvlEditVariables(&report, nullptr, nullptr) ? 0 : 1;
    }
    QTextStream(stderr) << "unknown dialog " << which << '\n';
    return 2;
}
