#pragma once
// An empty database in a temporary folder, opened through the embedded engine, with the
// tables a test creates.
#include "platform/data/connection.h"
#include "platform/data/query.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <initializer_list>

class TempDbTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        conn.Database = dir.filePath(QStringLiteral("test.fdb"));
        conn.CreateDatabase();
        conn.Open();
    }
    void exec(std::initializer_list<const char *> statements)
    {
        for (const char *sql : statements)
            conn.RunInTransaction([&] { conn.ExecSQL(QString::fromUtf8(sql)); });
    }

    QTemporaryDir dir;
    TConnection conn;
};
