#pragma once
// A dataset over SQL text with named parameters, run on a TConnection.
#include "platform/data/dataset.h"
#include "platform/data/params.h"

class TQuery : public TDataSet
{
public:
    explicit TQuery(TConnection *connection = nullptr) : FConnection(connection) {}

    TConnection *Connection() const { return FConnection; }
    void SetConnection(TConnection *c) { FConnection = c; }

    QString SQL() const { return FSQL; }
    // New text: the parameter list follows its :NAME markers (values of names that stay are kept).
    void SetSQL(const QString &sql);
    TParams &Params() { return FParams; }
    TParam &ParamByName(const QString &name) { return FParams.ParamByName(name); }

    // Closes, takes the new text and opens; filter and sort stay in force.
    void Open(const QString &sql);
    using TDataSet::Open;
    // Runs a statement that returns no rows; RowsAffected tells how many rows it changed.
    void ExecSQL();
    void ExecSQL(const QString &sql);
    int RowsAffected() const { return FRowsAffected; }

protected:
    void DoFetch(RowSink &sink) override;
    int DoExecute(const QString &sql, const std::vector<Variant> &values) override;
    void DoInTransaction(const std::function<void()> &fn) override;

private:
    TConnection &Conn() const;

    TConnection *FConnection = nullptr;
    QString FSQL;
    TParams FParams;
    int FRowsAffected = -1;
};
