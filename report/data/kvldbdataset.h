#pragma once
// Record sources over a data-access dataset, with field aliases. The alias lines read
// "FIELD=Alias"; a line whose field name begins with "-" hides that field. Without alias
// lines every field of the dataset is visible under its own name.
#include "platform/data/dataset.h"
#include "platform/data/datasource.h"
#include "report/data/kvldataset.h"

#include <memory>
#include <vector>

class TkvlCustomDBDataSet : public TkvlDataSet {
    LIRRA_CLASS(TkvlCustomDBDataSet, TkvlDataSet)
public:
    using TkvlDataSet::TkvlDataSet;

    TStringList &FieldAliases() { return FFieldAliases; }
    // Close the dataset after the run.
    bool CloseDataSource = false;

    // The alias of the first line for that field name, else the name itself (ignoring case).
    QString GetAlias(const QString &FieldName) const;
    // The field name of the first line with that alias, else the alias itself.
    QString ConvertAlias(const QString &Alias) const;
    int FieldsCount() override;

protected:
    // Visible name (alias) -> the dataset's field; sorted, ignoring case, without duplicates.
    // A name whose field the dataset lacks has no field and reads as missing.
    struct MapEntry {
        QString Name;
        QString FieldName;
        TField *Field;
    };
    std::vector<MapEntry> FFieldMap;
    const MapEntry *FindMapped(const QString &Name) const;

private:
    TStringList FFieldAliases;
};

class TkvlDBDataset : public TkvlCustomDBDataSet {
    LIRRA_CLASS(TkvlDBDataset, TkvlCustomDBDataSet)
public:
    explicit TkvlDBDataset(TComponent *AOwner, const rtl::TDesignInfo *Design = nullptr);
    ~TkvlDBDataset() override;

    // The dataset given directly; forgotten when it is destroyed. Setting it clears DataSource.
    TDataSet *DataSet() const { return FDirect; }
    void SetDataSet(TDataSet *Value);
    // The data source whose dataset is read when no dataset is given directly; forgotten when
    // it is destroyed. Setting it clears DataSet. Stored only outside a report.
    TDataSource *DataSource() const { return FDataSource; }
    void SetDataSource(TDataSource *Value);
    // The dataset the source reads: DataSet, else the data source's dataset, else none.
    TDataSet *EffectiveDataSet() const { return FDataSet; }
    // BCD fields read as currency values instead of doubles.
    bool BCDToCurrency = false;

    // Raises "dbNotConn" without a dataset; watches the dataset's opening and closing for
    // the run.
    void Initialize() override;
    // Puts the host dataset back on the record it was on when the source opened (when a
    // range starts or ends at the current record), closes it with CloseDataSource.
    void Finalize() override;
    // Opens the dataset (once per run), maps the fields and remembers the current record.
    void Open() override;
    void Close() override;
    void First() override;
    void Next() override;
    void Prior() override;
    bool Eof() override;
    int RecordCount() override;
    // Whether the dataset is the detail of a master data source.
    bool IsHasMaster() override;

    // A missing field gives Null and one entry in the running report's error list.
    Variant GetValue(const QString &FieldName) override;
    // An inactive source gives UserName."FIELD"; a missing field the not-found text, listed
    // as an error.
    QString GetDisplayText(const QString &FieldName) override;
    int GetDisplayWidth(const QString &FieldName) override;
    TkvlFieldType GetFieldType(const QString &FieldName) override;
    bool IsBlobField(const QString &FieldName) override;
    // A name that is not a visible field raises the not-found text; a field that is not a
    // blob leaves the target alone.
    void AssignBlobTo(const QString &FieldName, TkvlWideStrings &Target) override;
    void AssignBlobTo(const QString &FieldName, TStream &Target) override;
    void GetFieldList(TStringList &List) override;

private:
    class Watcher;
    friend class Watcher;
    class SourceLink;
    friend class SourceLink;

    void EnsureOpen();
    void BuildFieldMap();
    void ResolveFields();
    void Forget();
    // Follows DataSet / DataSource to the dataset they give now.
    void Rebind();
    bool IsReferenceStored() const { return GetReport() == nullptr; }
    TField *FieldFor(const QString &FieldName) const;
    TField *BlobField(const QString &FieldName);
    QString NotFoundText(const QString &FieldName) const;
    void ListError(const QString &Text);

    TDataSet *FDataSet = nullptr;  // the effective dataset, watched
    TDataSet *FDirect = nullptr;
    TDataSource *FDataSource = nullptr;
    std::unique_ptr<Watcher> FWatcher;
    std::unique_ptr<SourceLink> FSourceLink;
    TBookmark FBookmark;
    bool FHooked = false;       // between Initialize and Finalize
    bool FInitialized = false;  // opened for this run
    bool FRangeStop = false;
};
