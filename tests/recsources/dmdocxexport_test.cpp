// The data module's word-processing export, as the preview finds it in the registry.
#include "app/dm/dm.h"
#include "export/docx/docxexport.h"
#include "export/resources/exportstrings.h"
#include "report/registry/kvlregistries.h"
#include "tests/dataset/dbfixture.h"

using DmDocxExport = EventsDbTest;

TEST_F(DmDocxExport, IsListedUnderItsDescriptionWithTheModulesSettings)
{
    TkvlDOCXExport *f = dm.kvlDOCXExport1;
    ASSERT_TRUE(f);
    EXPECT_EQ(f->Name(), QStringLiteral("kvlDOCXExport1"));
    bool listed = false;
    for (int i = 0; i < kvlExportFilters().Count(); ++i)
        listed |= kvlExportFilters().Items(i).Filter == f;
    EXPECT_TRUE(listed);
    kvlAddExportStrings();  // the program's start-up adds them
    EXPECT_EQ(f->GetDescription(), QStringLiteral("Microsoft Word 2007 XML"));
    EXPECT_EQ(f->DefaultExt, QStringLiteral(".docx"));
    EXPECT_TRUE(f->UseFileCache);
    EXPECT_TRUE(f->ShowProgress);
    EXPECT_FALSE(f->OverwritePrompt);
    EXPECT_FALSE(f->DataOnly);
    EXPECT_FALSE(f->OpenAfterExport);
    EXPECT_EQ(f->PictureType, gpPNG);
}
