#pragma once
// A dataset over SQL text with named parameters, run on a TConnection.
#include "platform/data/dataset.h"
#include "platform/data/params.h"

#include <memory>

class TDataSource;

class TQuery : public TDataSet
{
public:
    explicit TQuery(TConnection *connection = nullptr);
    ~TQuery() override;

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

    // Master of a detail query: each parameter named like a field of the master takes that
    // field's value on the master's current record (bound, as every value), and the query
    // opens again when the master moves to a record with other values. Forgotten when the
    // source is destroyed.
    TDataSource *DataSource() const { return FMaster; }
    void SetDataSource(TDataSource *source);
    TDataSource *MasterSource() const override { return FMaster; }

protected:
    void DoFetch(RowSink &sink) override;
    int DoExecute(const QString &sql, const std::vector<Variant> &values) override;
    int DoExecuteTyped(const QString &sql, const std::vector<Variant> &values,
                       const std::vector<TFieldType> &types) override;
    void DoInTransaction(const std::function<void()> &fn) override;

private:
    TConnection &Conn() const;
    class MasterLink;
    friend class MasterLink;
    // Takes the master's values; true when a parameter changed.
    bool ParamsFromMaster();
    void MasterMoved();

    TConnection *FConnection = nullptr;
    QString FSQL;
    TParams FParams;
    int FRowsAffected = -1;
    TDataSource *FMaster = nullptr;
    std::unique_ptr<MasterLink> FMasterLink;
};
