// The data module's comma-separated text export, as the preview finds it in the registry.
#include "app/dm/dm.h"
#include "export/csv/csvexport.h"
#include "report/registry/kvlregistries.h"
#include "tests/dataset/dbfixture.h"

using DmCsvExport = EventsDbTest;

TEST_F(DmCsvExport, IsRegisteredWithTheModulesSettings)
{
    TkvlCSVExport *f = dm.kvlCSVExport1;
    ASSERT_TRUE(f);
    EXPECT_EQ(f->Name(), QStringLiteral("kvlCSVExport1"));
    bool listed = false;
    for (int i = 0; i < kvlExportFilters().Count(); ++i)
        listed |= kvlExportFilters().Items(i).Filter == f;
    EXPECT_TRUE(listed);
    EXPECT_TRUE(f->UseFileCache);
    EXPECT_TRUE(f->ShowProgress);
    EXPECT_FALSE(f->OverwritePrompt);
    EXPECT_FALSE(f->DataOnly);
    EXPECT_EQ(f->Separator, QStringLiteral(";"));
    EXPECT_TRUE(f->NoSysSymbols);
    EXPECT_FALSE(f->OEMCodepage);
    EXPECT_FALSE(f->UTF8);
    EXPECT_FALSE(f->ForcedQuotes);
}
