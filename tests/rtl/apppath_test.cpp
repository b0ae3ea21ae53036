#include "platform/rtl/apppath.h"

#include <QCoreApplication>
#include <QDir>
#include <gtest/gtest.h>

namespace {

TEST(AppPath, HomeVariableOverridesTheProgramFolder)
{
    const QByteArray old = qgetenv("LIRRACAL_HOME");
    const std::pair<QByteArray, QString> cases[] = {
        {"/tmp/lirra-home", QStringLiteral("/tmp/lirra-home/")},
        {"/tmp/lirra-home/", QStringLiteral("/tmp/lirra-home/")},
        {"/tmp/a/../lirra-home", QStringLiteral("/tmp/lirra-home/")},
        {"rel/dir", QDir::currentPath() + QStringLiteral("/rel/dir/")},
        {"", QCoreApplication::applicationDirPath() + QLatin1Char('/')},
    };
    for (const auto &[env, expected] : cases) {
        qputenv("LIRRACAL_HOME", env);
        EXPECT_EQ(rtl::AppPath(), expected) << env.constData();
    }
    if (old.isNull())
        qunsetenv("LIRRACAL_HOME");
    else
        qputenv("LIRRACAL_HOME", old);
}

} // namespace
