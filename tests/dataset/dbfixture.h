#pragma once
// An events database made by the data module in a temporary folder, opened through the
// embedded engine, with message boxes that answer at once.
#include "app/dm/dm.h"
#include "memdataset.h"
#include "platform/ui/fakes.h"
#include "platform/ui/services.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

class EventsDbTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        path = dir.filePath(QStringLiteral("events.fdb"));
        Tdm::CreateEventsDatabase(path);
        TDatabaseConfig cfg;
        cfg.database = path;
        dm.PrepareDatabase(cfg);
        dm.Conn.Open();
        previous = ui::install(&boxes);
    }
    void TearDown() override { ui::install(previous); }

    // Values of one column of a statement's rows, read through a connection of its own so
    // only committed data is seen.
    QStringList committed(const QString &sql, const QString &field)
    {
        TConnection other;
        other.Database = path;
        other.Open();
        TQuery q(&other);
        q.Open(sql);
        QStringList out;
        for (q.First(); !q.Eof(); q.Next())
            out << q.FieldByName(field)->AsString();
        q.Close();
        return out;
    }

    QTemporaryDir dir;
    QString path;
    Tdm dm;
    ui::FakeMessageBoxes boxes;
    ui::IMessageBoxes *previous = nullptr;
};
