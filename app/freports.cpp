// The main window's report menus: "Stampa" prepares and shows the chosen template, "Modifica"
// opens it for editing first.
#include "app/dm/dm.h"
#include "app/fmain.h"
#include "app/globals.h"
#include "app/resources/btnlist.h"
#include "platform/rtl/apppath.h"
#include "platform/rtl/exceptions.h"
#include "platform/ui/services.h"
#include "report/document/kvlreport.h"

#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QToolButton>

namespace {

constexpr int kPrintPicture = 28;
constexpr int kEditPicture = 29;

} // namespace

QString TfMain::ReportFolder() { return rtl::AppPath() + QStringLiteral("LirraCal_Report"); }

QMenu *TfMain::BuildReportMenu(bool print)
{
    auto *menu = new QMenu(this);
    QFont font = menu->font();
    font.setPointSize(12);
    menu->setFont(font);
    // The list is read again whenever the menu opens (the button's arrow shows it too).
    connect(menu, &QMenu::aboutToShow, this, [this, menu, print] { FillReportMenu(menu, print); });
    FReportMenu = menu;
    setContextMenuPolicy(Qt::CustomContextMenu);
    return menu;
}

void TfMain::FillReportMenu(QMenu *menu, bool print)
{
    menu->clear();
    const QDir folder(ReportFolder());
    if (!folder.exists())
        return;
    const QStringList files = folder.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::NoSort);
    for (const QString &name : files) {
        // The name is shown as it is ("&" included) and carried whole in the item's data.
        QAction *item = menu->addAction(QString(name).replace(QLatin1Char('&'), QStringLiteral("&&")));
        item->setData(name);
        SetImageIndex(item, print ? kPrintPicture : kEditPicture);
        connect(item, &QAction::triggered, this, [this, item, print] {
            if (print)
                OnClickStampaHandler(item);
            else
                OnClickEditReportHandler(item);
        });
    }
}

void TfMain::bStampaClick()
{
    PopupStampa = BuildReportMenu(true);
    bStampa->setMenu(PopupStampa);
    PopupStampa->popup(bStampa->mapToGlobal(QPoint(0, bStampa->height())));
}

void TfMain::bEditReportClick()
{
    PopupEditReport = BuildReportMenu(false);
    bEditReport->setMenu(PopupEditReport);
    PopupEditReport->popup(bEditReport->mapToGlobal(QPoint(0, bEditReport->height())));
}

void TfMain::OnClickStampaHandler(QAction *item) { RunReport(item, false); }
void TfMain::OnClickEditReportHandler(QAction *item) { RunReport(item, true); }

void TfMain::RunReport(QAction *item, bool edit)
{
    TDataSet &events = dm->EVENTS;
    const int recNo = events.RecNo();
    events.DisableControls();
    try {
        const QString fileName = ReportFolder() + QLatin1Char('/') + item->data().toString();
        // A file removed since the list was made is skipped.
        if (QFileInfo(fileName).isFile()) {
            TkvlReport *report = dm->fREP;
            report->LoadFromFile(fileName);
            if (edit) {
                // The report then takes the file as it is on disk, saved or not.
                report->DesignReport();
                report->LoadFromFile(fileName);
            }
            report->ShowReport(true);
        }
    } catch (const Exception &e) {
        ui::ShowErrorMessage(QString::fromLatin1(e.className()), e.message());
    } catch (const std::exception &e) {
        ui::ShowErrorMessage(QStringLiteral("Exception"), QString::fromUtf8(e.what()));
    }
    events.EnableControls();
    if (recNo > 0 && events.Active())
        events.SetRecNo(recNo);
}
