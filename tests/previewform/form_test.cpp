// The preview window: buttons and menus by the preview buttons, the export filters in registry
// order with the quick PDF and e-mail targets, the page counter, the zoom and page boxes, the
// caption and the closing rules.
#include "tests/previewform/formtest.h"

#include "engine/preview/kvlexportmenu.h"
#include "engine/widgets/kvlcombobox.h"
#include "engine/widgets/kvlpreviewtabstrip.h"
#include "engine/widgets/kvlpreviewworkspace.h"
#include "platform/rtl/reflect/classbuilder.h"
#include "report/registry/kvlregistries.h"
#include "report/seams/kvlengine.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <functional>
#include <gtest/gtest.h>

// Filters named as the window's quick buttons expect; each describes itself.
class TkvlPDFExport : public TkvlCustomExportFilter {
    LIRRA_CLASS(TkvlPDFExport, TkvlCustomExportFilter)
public:
    using TkvlCustomExportFilter::TkvlCustomExportFilter;
};
LIRRA_DEFINE_CLASS(TkvlPDFExport)
void TkvlPDFExport::DeclareClass(rtl::ClassBuilder<TkvlPDFExport> &b)
{
    b.description([] { return QStringLiteral("Documento PDF"); });
}

class TkvlMailExport : public TkvlCustomExportFilter {
    LIRRA_CLASS(TkvlMailExport, TkvlCustomExportFilter)
public:
    using TkvlCustomExportFilter::TkvlCustomExportFilter;
};
LIRRA_DEFINE_CLASS(TkvlMailExport)
void TkvlMailExport::DeclareClass(rtl::ClassBuilder<TkvlMailExport> &b)
{
    b.description([] { return QStringLiteral("Posta"); });
}

class TestSheetExport : public TkvlCustomExportFilter {
    LIRRA_CLASS(TestSheetExport, TkvlCustomExportFilter)
public:
    using TkvlCustomExportFilter::TkvlCustomExportFilter;
};
LIRRA_DEFINE_CLASS(TestSheetExport)
void TestSheetExport::DeclareClass(rtl::ClassBuilder<TestSheetExport> &b)
{
    b.description([] { return QStringLiteral("Foglio di prova"); });
}

namespace {

using namespace formtest;

QStringList texts(const QMenu *Menu)
{
    QStringList out;
    for (const QAction *a : Menu->actions())
        out << (a->isSeparator() ? QStringLiteral("-") : a->text());
    return out;
}

QStringList visibleButtons(const TkvlPreviewForm &Form)
{
    QStringList out;
    for (const QToolButton *b : Form.ToolBar->findChildren<QToolButton *>(Qt::FindDirectChildrenOnly))
        if (!b->objectName().startsWith(QLatin1String("qt_")) && b->isVisibleTo(&Form))
            out << b->objectName();
    return out;
}

TEST(PreviewForm, ButtonsAndMenusFollowThePreviewButtons)
{
    // Registry order: the sheet filter, then PDF, then mail.
    registerOnce();
    TestSheetExport sheet(nullptr);
    TkvlPDFExport pdf(nullptr);
    TkvlMailExport mail(nullptr);
    const auto b = [](std::initializer_list<TkvlPreviewButton> Bits) {
        TkvlPreviewButtons out = 0;
        for (TkvlPreviewButton x : Bits)
            out |= kvlBit(x);
        return out;
    };
    struct Case {
        const char *name;
        TkvlPreviewButtons buttons;
        QStringList shown;
        QStringList exportMenu;
    } cases[] = {
        {"nothing", 0, {"CancelB"}, {}},
        {"export without save", b({pbExport}), {"SaveB", "CancelB"}, {"Foglio di prova...", "Documento PDF..."}},
        {"save and export",
         b({pbSave, pbExport}),
         {"SaveB", "CancelB"},
         {"Report preparato...", "-", "Foglio di prova...", "Documento PDF..."}},
        {"save alone", b({pbSave, pbNoClose}), {"SaveB"}, {"Report preparato..."}},
        {"quick export", b({pbExportQuick}), {"PdfB", "EmailB", "CancelB"}, {}},
        {"quick export without e-mail", b({pbExportQuick, pbNoEmail}), {"PdfB", "CancelB"}, {}},
        {"zoom without full screen",
         b({pbZoom, pbNoFullScreen}),
         {"ZoomPlusB", "ZoomMinusB", "CancelB"},
         {}},
        {"navigator and edit",
         b({pbNavigator, pbEdit}),
         {"DesignerB", "FirstB", "PriorB", "NextB", "LastB", "CancelB"},
         {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        FormFixture f(c.buttons);
        f.open();
        EXPECT_EQ(visibleButtons(*f.form), c.shown);
        EXPECT_EQ(texts(f.form->ExportPopup), c.exportMenu);
        EXPECT_TRUE(f.form->StatusBar->isVisibleTo(f.form.get()));
        EXPECT_EQ(f.form->PDFExport(), &pdf);
        EXPECT_EQ(f.form->EmailExport(), (c.buttons & kvlBit(pbNoEmail)) ? nullptr : &mail);
    }

    // Nothing: the right-click menu holds the drill-down items and their separator only.
    FormFixture none(0);
    none.open();
    const QList<QAction *> right = none.form->RightMenu->actions();
    ASSERT_EQ(right.size(), 3);
    EXPECT_EQ(right[0], none.form->CollapseMI);
    EXPECT_EQ(right[1], none.form->ExpandMI);
    EXPECT_TRUE(right[2]->isSeparator());
    EXPECT_FALSE(none.form->ExpandMI->isVisible());

    // All buttons: the commands up to the second separator, the save entry with its sub-menu.
    FormFixture all;
    all.open();
    EXPECT_EQ(texts(all.form->RightMenu).mid(3),
              QStringList({"Stampa", "Apri", "Salva", "Esporta in PDF", "Send by E-mail", "Trova", "-", "Zoom avanti",
                           "Zoom indietro", "Visualizza a schermo intero"}));
    QMenu *saveMenu = all.form->RightMenu->actions()[5]->menu();
    ASSERT_NE(saveMenu, nullptr);
    EXPECT_EQ(texts(saveMenu), texts(all.form->ExportPopup));
    // The captions of the tool bar come from the string table.
    EXPECT_EQ(all.form->windowTitle(), QStringLiteral("Anteprima"));
    EXPECT_EQ(all.form->CancelB->text(), QStringLiteral("Chiudi"));
}

TEST(PreviewForm, ExportEntriesAndQuickButtonsReachTheirFilters)
{
    registerOnce();
    TestSheetExport sheet(nullptr);
    TkvlPDFExport pdf(nullptr);
    FormFixture f(kvlBit(pbExport) | kvlBit(pbExportQuick));
    f.open();
    QTest::mouseClick(f.form->PdfB, Qt::LeftButton);
    f.form->ExportPopup->actions()[0]->trigger();
    const std::vector<TkvlCustomExportFilter *> expected{&pdf, &sheet};
    EXPECT_EQ(f.store->Exported, expected);
    // The entries carry the filter's place in the registry.
    EXPECT_EQ(f.form->ExportPopup->actions()[1]->data().toInt(), 1);
}

TEST(PreviewForm, PageCounterAndPageBox)
{
    FormFixture f(kvlDefaultPreviewButtons, 4);
    f.open();
    EXPECT_EQ(f.form->StatusText(0), QStringLiteral("Pagina 1 di 4"));
    EXPECT_EQ(f.form->OfNL->text(), QStringLiteral("di 4"));
    QTest::mouseClick(f.form->LastB, Qt::LeftButton);
    EXPECT_EQ(f.form->StatusText(0), QStringLiteral("Pagina 4 di 4"));
    EXPECT_EQ(f.form->PageE->text(), QStringLiteral("4"));

    f.form->PageE->setFocus();
    f.form->PageE->clear();
    QTest::keyClicks(f.form->PageE, QStringLiteral("2x"));  // digits only
    EXPECT_EQ(f.form->PageE->text(), QStringLiteral("2"));
    QTest::keyClick(f.form->PageE, Qt::Key_Return);
    EXPECT_EQ(f.form->PreviewControl()->PageNo(), 2);
    EXPECT_EQ(f.form->StatusText(0), QStringLiteral("Pagina 2 di 4"));

    // An empty box is a conversion error; the page stays.
    f.form->PageE->clear();
    QTest::keyClick(f.form->PageE, Qt::Key_Return);
    EXPECT_EQ(f.form->PreviewControl()->PageNo(), 2);
    EXPECT_EQ(f.services.messages.shown.size(), 1);
}

TEST(PreviewForm, FirstPassCounter)
{
    FormFixture f(kvlDefaultPreviewButtons, 3);
    f.open();
    TkvlPreview *p = f.form->PreviewControl();
    ASSERT_NE(f.report->Engine(), nullptr);
    f.report->Engine()->FinalPass = false;
    p->InternalOnProgressStart(f.report.get(), ptRunning, 0);
    ASSERT_TRUE(p->Running());
    // The run starts from an empty store and adds its pages.
    EXPECT_EQ(f.store->GetCount(), 0);
    f.store->addPages(3);
    p->InternalOnProgress(f.report.get(), ptRunning, 0);
    f.form->PageChanged(2);
    EXPECT_EQ(f.form->StatusText(0), QStringLiteral("Primo passaggio: pagina  3"));
    f.report->Engine()->FinalPass = true;
    f.form->PageChanged(2);
    EXPECT_EQ(f.form->StatusText(0), QStringLiteral("Pagina 2 di 3"));
    EXPECT_EQ(f.form->CancelB->text(), QStringLiteral("Annulla"));
    EXPECT_FALSE(f.form->PrintB->isEnabled());
    EXPECT_FALSE(f.form->OpenB->isEnabled());

    // Escape cancels the run and leaves the window open on the pages made so far.
    std::vector<TkvlCustomPreviewForm *> closed;
    f.report->OnClosePreview = [&closed](TkvlCustomPreviewForm *Form) { closed.push_back(Form); };
    QTest::keyClick(p->Workspace(), Qt::Key_Escape);
    EXPECT_TRUE(f.report->Terminated);
    EXPECT_TRUE(f.form->isVisible());
    EXPECT_TRUE(closed.empty());

    p->InternalOnProgressStop(f.report.get(), ptRunning, 0);
    QCoreApplication::processEvents();
    EXPECT_FALSE(p->Running());
    EXPECT_TRUE(f.form->isVisible());
    EXPECT_TRUE(f.form->PrintB->isEnabled());
    EXPECT_EQ(f.form->CancelB->text(), QStringLiteral("Chiudi"));
    QTest::keyClick(p->Workspace(), Qt::Key_Escape);
    EXPECT_FALSE(f.form->isVisible());
    EXPECT_EQ(closed, std::vector<TkvlCustomPreviewForm *>{f.form.get()});
}

// Closing the window while the engine runs stops the run; the window closes once the run has
// returned, never under it, and the report hears of the closing once.
TEST(PreviewForm, ClosingWhileRunningStopsTheRunThenCloses)
{
    FormFixture f(kvlDefaultPreviewButtons, 3);
    f.open();
    TkvlPreview *p = f.form->PreviewControl();
    std::vector<TkvlCustomPreviewForm *> closed;
    f.report->OnClosePreview = [&closed](TkvlCustomPreviewForm *Form) { closed.push_back(Form); };
    p->InternalOnProgressStart(f.report.get(), ptRunning, 0);
    f.form->close();
    EXPECT_TRUE(f.report->Terminated);
    EXPECT_TRUE(f.form->isVisible());
    QCoreApplication::processEvents();
    EXPECT_TRUE(f.form->isVisible());
    EXPECT_TRUE(closed.empty());

    p->InternalOnProgressStop(f.report.get(), ptRunning, 0);
    EXPECT_TRUE(f.form->isVisible());
    QCoreApplication::processEvents();
    EXPECT_FALSE(f.form->isVisible());
    EXPECT_EQ(closed, std::vector<TkvlCustomPreviewForm *>{f.form.get()});
}

// However the window closes, the report's OnClosePreview hears of it once, with the window.
TEST(PreviewForm, ClosingFiresOnClosePreviewOnce)
{
    enum How { CloseButton, Escape, Frame };
    for (How how : {CloseButton, Escape, Frame}) {
        SCOPED_TRACE(int(how));
        FormFixture f;
        f.open();
        std::vector<TkvlCustomPreviewForm *> closed;
        f.report->OnClosePreview = [&closed](TkvlCustomPreviewForm *Form) { closed.push_back(Form); };
        switch (how) {
        case CloseButton: QTest::mouseClick(f.form->CancelB, Qt::LeftButton); break;
        case Escape: QTest::keyClick(f.form->PreviewControl()->Workspace(), Qt::Key_Escape); break;
        case Frame: f.form->close(); break;
        }
        EXPECT_FALSE(f.form->isVisible());
        EXPECT_EQ(closed, std::vector<TkvlCustomPreviewForm *>{f.form.get()});
        // A window closed already is not closed again.
        f.form->close();
        EXPECT_EQ(closed.size(), 1u);
    }
}

TEST(PreviewForm, ZoomBox)
{
    struct Case {
        QString typed;
        double zoom;
        bool error;
    } cases[] = {
        {QStringLiteral("150 %"), 1.5, false}, {QStringLiteral("10"), 0.25, false},
        {QStringLiteral("75,5%"), 0.755, false}, {QStringLiteral("abc"), 1.0, true},
        {QString(), 1.0, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        FormFixture f(kvlDefaultPreviewButtons, 4);
        f.open();
        f.form->PreviewControl()->SetPageNo(3);
        QLineEdit *edit = f.form->ZoomCB->lineEdit();
        edit->setFocus();
        edit->clear();
        QTest::keyClicks(edit, c.typed);
        QTest::keyClick(edit, Qt::Key_Return);
        EXPECT_DOUBLE_EQ(f.form->PreviewControl()->Zoom(), c.zoom);
        EXPECT_EQ(f.form->PreviewControl()->PageNo(), 3);
        EXPECT_EQ(f.services.messages.shown.size(), c.error ? 1 : 0);
        QCoreApplication::processEvents();
        if (!c.error && !c.typed.isEmpty()) {
            EXPECT_EQ(f.form->ZoomCB->currentText(), QString::number(int(c.zoom * 100 + 0.5)) + QLatin1Char('%'));
        }
    }
    // The zoom buttons step by a quarter, the last two entries choose the fitting modes.
    FormFixture f;
    f.open();
    QTest::mouseClick(f.form->ZoomPlusB, Qt::LeftButton);
    EXPECT_DOUBLE_EQ(f.form->PreviewControl()->Zoom(), 1.25);
    f.form->ZoomCB->setCurrentIndex(6);
    f.form->ZoomChosen();
    EXPECT_EQ(f.form->PreviewControl()->ZoomMode(), zmPageWidth);
}

TEST(PreviewForm, CaptionAfterOpeningAPreparedReport)
{
    FormFixture f;
    f.report->ReportOptions()->Name.clear();
    f.open();
    f.form->setWindowTitle(QStringLiteral("altro"));
    ui::FileDialogResult answer;
    answer.accepted = true;
    answer.files = {QStringLiteral("/tmp/prova.kp3")};
    f.services.files.answers = {answer};
    QTest::mouseClick(f.form->OpenB, Qt::LeftButton);
    EXPECT_EQ(f.services.files.opened.size(), 1);
    EXPECT_EQ(f.form->windowTitle(), QStringLiteral("Anteprima"));

    FormFixture named;
    named.report->ReportOptions()->Name = QStringLiteral("Elenco");
    named.open();
    EXPECT_EQ(named.form->windowTitle(), QStringLiteral("Elenco"));
}

TEST(PreviewForm, FullScreenHidesTheBars)
{
    FormFixture f;
    f.open();
    QTest::keyClick(f.form->PreviewControl()->Workspace(), Qt::Key_F11);
    EXPECT_TRUE(f.form->FullScreen());
    EXPECT_FALSE(f.form->ToolBar->isVisible());
    EXPECT_FALSE(f.form->StatusBar->isVisible());
    QTest::mouseDClick(f.form->PreviewControl()->Workspace()->viewport(), Qt::LeftButton);
    EXPECT_FALSE(f.form->FullScreen());
    EXPECT_TRUE(f.form->ToolBar->isVisible());
}

} // namespace

namespace {

TEST(PreviewForm, ReportMessagesReachTheStatusBar)
{
    FormFixture f;
    f.open();
    f.report->SetProgressMessage(QStringLiteral("Pagina 2"));
    f.report->SetProgressMessage(QStringLiteral("un suggerimento"), true);
    EXPECT_EQ(f.form->StatusText(1), QStringLiteral("Pagina 2"));
    EXPECT_EQ(f.form->StatusText(2), QStringLiteral("un suggerimento"));
}

} // namespace

namespace {

// Minimizing a modal preview takes the program's other windows down with it; activating the
// program again brings them back with the preview active. A window that is not modal
// minimizes alone.
TEST(PreviewForm, MinimizingAModalPreviewMinimizesTheProgram)
{
    // A window manager answers later than the offscreen platform: wait for the state asked.
    const auto settles = [](const std::function<bool()> &Done) { return QTest::qWaitFor(Done, 3000); };
    for (const bool modal : {true, false}) {
        SCOPED_TRACE(modal ? "modal" : "not modal");
        QWidget owner;
        owner.setWindowTitle(QStringLiteral("LirraCal"));
        owner.resize(300, 200);
        owner.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&owner));
        FormFixture f;
        f.open();
        f.form->hide();
        f.form->setModal(modal);
        f.form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(f.form.get()));

        // Minimized through the window system, which reports the new state to the window.
        f.form->showMinimized();
        EXPECT_TRUE(settles([&] { return f.form->isMinimized() && owner.isMinimized() == modal; }))
            << "owner " << owner.isMinimized() << " form " << f.form->isMinimized() << " program "
            << f.form->ProgramMinimized();
        EXPECT_EQ(owner.isMinimized(), modal);
        EXPECT_EQ(f.form->ProgramMinimized(), modal);

        Q_EMIT qApp->applicationStateChanged(Qt::ApplicationActive);
        EXPECT_TRUE(settles([&] { return !owner.isMinimized() && f.form->isMinimized() == !modal; }))
            << "owner " << owner.isMinimized() << " form " << f.form->isMinimized() << " program "
            << f.form->ProgramMinimized();
        EXPECT_FALSE(owner.isMinimized());
        EXPECT_EQ(f.form->isMinimized(), !modal);
        EXPECT_FALSE(f.form->ProgramMinimized());
        if (modal) {
            EXPECT_TRUE(QTest::qWaitForWindowActive(f.form.get()));
        }
    }
}

// F1 opens the library's help file from the program's folder, and nothing when it is missing.
TEST(PreviewForm, F1OpensTheLibraryHelp)
{
    QTemporaryDir home;
    const QByteArray oldHome = qgetenv("LIRRACAL_HOME");
    qputenv("LIRRACAL_HOME", home.path().toUtf8());
    {
        FormFixture f;
        f.open();
        QWidget *pages = f.form->PreviewControl()->Workspace();
        QTest::keyClick(pages, Qt::Key_F1);
        EXPECT_TRUE(f.services.help.shown.isEmpty());

        QFile help(home.filePath(QStringLiteral("KVUser.chm")));
        ASSERT_TRUE(help.open(QIODevice::WriteOnly));
        help.close();
        QTest::keyClick(pages, Qt::Key_F1);
        ASSERT_EQ(f.services.help.shown.size(), 1);
        EXPECT_EQ(f.services.help.shown[0].first, home.filePath(QStringLiteral("KVUser.chm")));
        EXPECT_EQ(f.services.help.shown[0].second, QString());
    }
    if (oldHome.isNull())
        qunsetenv("LIRRACAL_HOME");
    else
        qputenv("LIRRACAL_HOME", oldHome);
}

} // namespace
