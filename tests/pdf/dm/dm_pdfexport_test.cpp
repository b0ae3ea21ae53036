// The data module's PDF export, as the preview finds it in the registry.
#include "app/dm/dm.h"
#include "export/pdf/pdfexport.h"
#include "report/registry/kvlregistries.h"
#include "tests/dataset/dbfixture.h"

using DmPdfExport = EventsDbTest;

TEST_F(DmPdfExport, IsRegisteredWithTheModulesSettings)
{
    TkvlPDFExport *f = dm.kvlPDFExport1;
    ASSERT_TRUE(f);
    EXPECT_EQ(f->Name(), QStringLiteral("kvlPDFExport1"));
    EXPECT_EQ(f->ClassName(), QStringLiteral("TkvlPDFExport"));
    bool listed = false;
    for (int i = 0; i < kvlExportFilters().Count(); ++i)
        listed |= kvlExportFilters().Items(i).Filter == f;
    EXPECT_TRUE(listed);
    EXPECT_TRUE(f->UseFileCache);
    EXPECT_TRUE(f->ShowProgress);
    EXPECT_FALSE(f->OverwritePrompt);
    EXPECT_FALSE(f->DataOnly);
    EXPECT_FALSE(f->PrintOptimized);
    EXPECT_FALSE(f->Outline);
    EXPECT_FALSE(f->Background);
    EXPECT_TRUE(f->HTMLTags);
    EXPECT_EQ(f->Quality, 95);
    EXPECT_FALSE(f->Transparency);
    EXPECT_EQ(f->Author, QStringLiteral("Korvelle"));
    EXPECT_EQ(f->Subject, QStringLiteral("Korvelle PDF export"));
    EXPECT_EQ(f->ProtectionFlags(), 0xFu);   // print, modify, copy, annotate
    for (bool b : {f->HideToolbar, f->HideMenubar, f->HideWindowUI, f->FitWindow, f->CenterWindow, f->PrintScaling,
                   f->PdfA})
        EXPECT_FALSE(b);
}
