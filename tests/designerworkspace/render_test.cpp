// Offscreen renders of the workspace on the events-list template, compared with reference
// images that were checked by eye. LIRRA_UPDATE_REFERENCES=1 writes them anew.
#include "designer/widgets/designerworkspace.h"
#include "tests/designerworkspace/wsfixture.h"
#include "tests/referencepicture.h"
#include "tests/testsupport.h"

#include "platform/rtl/reflect/classbuilder.h"
#include "report/pages/kvldialogpage.h"

#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>

class TkvlRenderButtonControl final : public TkvlDialogControl {
    LIRRA_CLASS(TkvlRenderButtonControl, TkvlDialogControl)
public:
    explicit TkvlRenderButtonControl(TComponent *AOwner) : TkvlDialogControl(AOwner)
    {
        SetControl(std::make_unique<QPushButton>());
    }
};
LIRRA_DEFINE_CLASS(TkvlRenderButtonControl)
void TkvlRenderButtonControl::DeclareClass(rtl::ClassBuilder<TkvlRenderButtonControl> &) {}

namespace {

void expectMatchesReference(const QImage &img, const char *name)
{
    testsupport::expectMatchesPicture(img, QStringLiteral("designerworkspace/%1.png").arg(QLatin1String(name)), img,
                                      24, 0.001);
}

// The sheet with the workspace on it, grabbed down to a height.
QImage render(TkvlPage *page, TkvlObjectLists &lists, const TkvlMargins &margins, QSize paper, int cropHeight,
              const std::function<void(TkvlWorkspace &)> &setUp)
{
    QWidget host;
    auto *ws = new TkvlDesignerWorkspace(&host);
    TkvlWorkspace &core = ws->Core();
    core.SetLists(&lists);
    core.SetPage(page);
    setUp(core);
    core.SetPageDimensions(paper.width(), paper.height(), margins);
    ws->SetOrigin(QPoint(0, 0));
    host.resize(core.PanelSize());
    host.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&host));
    core.Repaint();
    return host.grab(QRect(0, 0, core.PanelSize().width(), std::min(cropHeight, core.PanelSize().height())))
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

TEST(WorkspaceRendering, EventsListMatchesItsReferenceImages)
{
    struct Case {
        const char *name;
        double scale;
        std::function<void(TkvlWorkspace &, TkvlPage *)> setUp;
    } cases[] = {
        {"events_zoom1_cm", 1, [](TkvlWorkspace &, TkvlPage *) {}},
        {"events_zoom2_cm", 2, [](TkvlWorkspace &, TkvlPage *) {}},
        {"events_zoom1_in", 1, [](TkvlWorkspace &w, TkvlPage *) { w.SetGridType(gt1in); }},
        {"events_captions_off", 1, [](TkvlWorkspace &w, TkvlPage *) { w.SetShowBandCaptions(false); }},
        {"events_selection", 1,
         [](TkvlWorkspace &w, TkvlPage *p) {
             w.SelectedObjects() = {p->FindObject(u"MTitolo"), p->FindObject(u"MSede"), p->FindObject(u"HFine")};
         }},
        {"events_single_selection", 2,
         [](TkvlWorkspace &w, TkvlPage *p) { w.SelectedObjects() = {p->FindObject(u"MemoTotale")}; }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        wstest::initOnce();
        TkvlReport report(nullptr);
        ASSERT_TRUE(report.LoadFromFile(QString::fromUtf8(LIRRA_SOURCE_ROOT "/data/LirraCal_Report/Elenco eventi.kv3")));
        auto *page = rtl_cast<TkvlReportPage>(report.FindObject(u"Page1"));
        ASSERT_NE(page, nullptr);
        TkvlObjectLists lists;
        lists.Load(page);
        const TkvlMargins margins{38, 38, 38, 38};  // 10 mm
        const QImage img = render(page, lists, margins, QSize(794, 1123), int(400 * c.scale), [&](TkvlWorkspace &w) {
            w.SetScale(c.scale);
            c.setUp(w, page);
        });
        expectMatchesReference(img, c.name);
    }
}

TEST(WorkspaceRendering, DialogPageMatchesItsReferenceImage)
{
    wstest::initOnce();
    rtl::RegisterClasses({TkvlRenderButtonControl::StaticClass()});
    TkvlReport report(nullptr);
    auto *page = new TkvlDialogPage(&report);
    page->SetName(QStringLiteral("Dialog1"));
    auto *ok = new TkvlRenderButtonControl(page);
    ok->SetName(QStringLiteral("Button1"));
    ok->SetBounds(40, 30, 90, 26);
    auto *cancel = new TkvlRenderButtonControl(page);
    cancel->SetName(QStringLiteral("Button2"));
    cancel->SetBounds(150, 30, 90, 26);
    TkvlObjectLists lists;
    lists.Load(page);
    lists.Selected = {cancel};
    const QImage img = render(page, lists, TkvlMargins{}, QSize(320, 120), 120, [](TkvlWorkspace &w) {
        w.SetGridType(gtDialog);
        w.FGridX = w.FGridY = 8;
        w.FColor = clBtnFace;
    });
    expectMatchesReference(img, "dialog_page");
}

} // namespace
