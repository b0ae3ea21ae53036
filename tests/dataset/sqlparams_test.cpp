// Named parameters become positional markers; text that only looks like a marker stays.
#include "platform/data/sqlparams.h"

#include <gtest/gtest.h>

namespace {

struct ParamCase
{
    const char *sql;
    const char *expected;
    QStringList names;
};

TEST(SqlParams, MarkersOutsideQuotesAndComments)
{
    const ParamCase cases[] = {
        {"UPDATE EVENTS SET START_EVENT =:DT WHERE ID = :ID ", "UPDATE EVENTS SET START_EVENT =? WHERE ID = ? ", {"DT", "ID"}},
        {"SELECT ':A' || :a FROM RDB$DATABASE", "SELECT ':A' || ? FROM RDB$DATABASE", {"A"}},
        {"SELECT 'it''s :x' FROM T WHERE X = :x AND Y = :X", "SELECT 'it''s :x' FROM T WHERE X = ? AND Y = ?", {"X", "X"}},
        {"SELECT \"a:b\" FROM T -- :c\nWHERE D = :d /* :e */", "SELECT \"a:b\" FROM T -- :c\nWHERE D = ? /* :e */", {"D"}},
        {"SELECT 1 FROM T WHERE A = :P_1$", "SELECT 1 FROM T WHERE A = ?", {"P_1$"}},
        {"SELECT 'open", "SELECT 'open", {}},
        {"SELECT 1 :", "SELECT 1 :", {}},
        {"CREATE TRIGGER T FOR E BEFORE INSERT AS BEGIN NEW.ID = :X; END", "CREATE TRIGGER T FOR E BEFORE INSERT AS BEGIN NEW.ID = :X; END", {}},
        {"execute  block as declare i int = 0; begin i = :i + 1; end", "execute  block as declare i int = 0; begin i = :i + 1; end", {}},
        {"EXECUTE PROCEDURE P(:A)", "EXECUTE PROCEDURE P(?)", {"A"}},
    };
    for (const ParamCase &c : cases) {
        const data::SqlWithParams p = data::ParseSqlParams(QString::fromUtf8(c.sql));
        EXPECT_EQ(p.sql, QString::fromUtf8(c.expected)) << c.sql;
        EXPECT_EQ(p.names, c.names) << c.sql;
    }
}

} // namespace
