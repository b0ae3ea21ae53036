// The report hears of its database connections: before one connects, after one disconnects.
#include "report/data/kvldatabase.h"
#include "report/pages/kvlreportpage.h"
#include "tests/run/runfixture.h"

#include <QStringList>

namespace {

// A connection that only remembers its state and what the report said while it changed.
class FakeDatabase : public TkvlCustomDatabase
{
public:
    using TkvlCustomDatabase::TkvlCustomDatabase;
    bool Connected = false;
    void SetConnected(bool Value) override { Connected = Value; }
    bool GetConnected() override { return Connected; }
};

} // namespace

TEST_F(RunFixture, DatabaseConnectionsAreHeardBeforeConnectAndAfterDisconnect)
{
    auto *page = new TkvlReportPage(report.get());
    auto *db = new FakeDatabase(page);
    QStringList heard;
    report->OnBeforeConnect = [&](TkvlReport *r, TkvlCustomDatabase *d) {
        EXPECT_EQ(r, report.get());
        EXPECT_EQ(d, db);
        heard << (db->Connected ? QStringLiteral("before, connected") : QStringLiteral("before"));
    };
    report->OnAfterDisconnect = [&](TkvlReport *, TkvlCustomDatabase *d) {
        EXPECT_EQ(d, db);
        heard << (db->Connected ? QStringLiteral("after, connected") : QStringLiteral("after"));
    };
    db->Connect();
    db->Connect();  // connected already: nothing
    EXPECT_TRUE(db->Connected);
    db->Disconnect();
    db->Disconnect();
    EXPECT_FALSE(db->Connected);
    EXPECT_EQ(heard, (QStringList{QStringLiteral("before"), QStringLiteral("after")}));

    // A connection outside any report connects all the same.
    FakeDatabase alone(nullptr);
    alone.Connect();
    EXPECT_TRUE(alone.Connected);
}
