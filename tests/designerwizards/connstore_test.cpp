// The named connections kept under both registry roots.
#include "designer/core/connstore.h"

#include "platform/rtl/inifile.h"
#include "report/options/kvloptions.h"
#include "report/options/kvlregistry.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class ConnStoreTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        kvlSetRegistryRootFolder(TkvlRegistryRoot::LocalMachine, dir.filePath(QStringLiteral("machine")));
        kvlSetRegistryRootFolder(TkvlRegistryRoot::CurrentUser, dir.filePath(QStringLiteral("user")));
    }
    void TearDown() override
    {
        kvlSetRegistryRootFolder(TkvlRegistryRoot::LocalMachine, QString());
        kvlSetRegistryRootFolder(TkvlRegistryRoot::CurrentUser, QString());
    }
    static QString file(TkvlRegistryRoot Root)
    {
        QString f, s;
        kvlRegistryKeyLocation(Root, QString::fromLatin1(kvlConnectionsKey), f, s);
        return f;
    }
    // The key's values as "name -> data".
    static QStringList values(TkvlRegistryRoot Root)
    {
        QStringList out;
        for (const TkvlRegistryValue &v : kvlReadRegistryValues(Root, QString::fromLatin1(kvlConnectionsKey)))
            out << v.Name + QStringLiteral(" -> ") + v.Data;
        return out;
    }
    QTemporaryDir dir;
};


} // namespace

TEST_F(ConnStoreTest, WritesEachStoreWholeAndReadsBothInOrder)
{
    ASSERT_TRUE(kvlWriteConnections({{"Main", "db=/a;user=x", false},
                                     {"Shared", "db=/s", false},
                                     {"Shared", "db=/u", true},
                                     {"Mine", "db=/m", true}})
                    .isEmpty());
    // A name in both stores is listed twice, system first.
    EXPECT_EQ(kvlConnectionNames(), QStringList({"Main", "Shared", "Shared", "Mine"}));
    EXPECT_EQ(values(TkvlRegistryRoot::LocalMachine),
              QStringList({"Main -> db=/a;user=x", "Shared -> db=/s"}));

    // Moving Main to the user store removes it from the machine; the same name twice in one
    // store is written once, with the later string.
    ASSERT_TRUE(kvlWriteConnections({{"Main", "db=/a;user=x", true},
                                     {"Twice", "first", false},
                                     {"Twice", "second", false}})
                    .isEmpty());
    EXPECT_EQ(values(TkvlRegistryRoot::LocalMachine), QStringList({"Twice -> second"}));
    EXPECT_EQ(values(TkvlRegistryRoot::CurrentUser), QStringList({"Main -> db=/a;user=x"}));

    // The connection string is found by name the way reports look it up.
    EXPECT_EQ(kvlReadRegistryString(TkvlRegistryRoot::CurrentUser, QString::fromLatin1(kvlConnectionsKey),
                                    QStringLiteral("Main")),
              QStringLiteral("db=/a;user=x"));
}

TEST_F(ConnStoreTest, OtherKeysOfTheFileAreKept)
{
    const QString f = file(TkvlRegistryRoot::CurrentUser);
    QDir().mkpath(QFileInfo(f).absolutePath());
    {
        TIniFile ini(f);
        ini.WriteString(QStringLiteral("Form"), QStringLiteral("Width"), QStringLiteral("640"));
        ini.WriteString(QStringLiteral("Connections"), QStringLiteral("Old"), QStringLiteral("gone"));
    }
    ASSERT_TRUE(kvlWriteConnections({{"New", "x", true}}).isEmpty());
    const TMemIniFile ini(f);
    EXPECT_EQ(ini.ReadString(QStringLiteral("Form"), QStringLiteral("Width"), QString()), QStringLiteral("640"));
    EXPECT_EQ(values(TkvlRegistryRoot::CurrentUser), QStringList({"New -> x"}));
}

TEST_F(ConnStoreTest, UnwritableStoreStaysAndIsNamed)
{
    ASSERT_TRUE(kvlWriteConnections({{"Sys", "s", false}, {"Usr", "u", true}}).isEmpty());
    // The system store's folder becomes a regular file: its parent cannot hold the store.
    const QString machine = dir.filePath(QStringLiteral("machine2"));
    QFile blocker(machine);
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    kvlSetRegistryRootFolder(TkvlRegistryRoot::LocalMachine, machine);

    const QStringList failed = kvlWriteConnections({{"Sys", "s2", true}, {"Usr", "u2", true}});
    ASSERT_EQ(failed.size(), 1);
    EXPECT_TRUE(failed[0].contains(QStringLiteral("di sistema"))) << failed[0].toStdString();
    EXPECT_TRUE(failed[0].contains(file(TkvlRegistryRoot::LocalMachine))) << failed[0].toStdString();
    EXPECT_EQ(values(TkvlRegistryRoot::CurrentUser), QStringList({"Sys -> s2", "Usr -> u2"}));

    // A name the store cannot hold refuses the write and keeps the old values.
    kvlSetRegistryRootFolder(TkvlRegistryRoot::LocalMachine, dir.filePath(QStringLiteral("machine")));
    const QStringList bad = kvlWriteConnections({{"a=b", "x", false}});
    EXPECT_EQ(bad.size(), 1);
    EXPECT_EQ(values(TkvlRegistryRoot::LocalMachine), QStringList({"Sys -> s"}));
}

TEST(ConnectionNames, Validity)
{
    struct Case {
        const char *name;
        bool ok;
    };
    for (const Case &c : {Case{"Main", true}, Case{"Main db (2)", true}, Case{"", false}, Case{"  ", false},
                          Case{"a=b", false}, Case{"a\nb", false}, Case{"[x]", false}, Case{";x", false}})
        EXPECT_EQ(kvlIsConnectionName(QString::fromUtf8(c.name)), c.ok) << c.name;
}
