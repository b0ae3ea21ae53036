#pragma once
// Cached dataset: every row is fetched when it opens; navigation, bookmarks, Locate, a
// client-side filter and index sort work on the cache. Changes made through Insert/Edit/Post
// and Delete are written back by the row's original key values (KeyFields).
#include "platform/data/filter.h"
#include "platform/rtl/variant.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <Qt>
#include <functional>
#include <memory>
#include <vector>

class TDataSet;
class TDataSource;
class TConnection;

enum class TFieldType {
    ftUnknown,
    ftString,     // VARCHAR
    ftFixedChar,  // CHAR (trailing blanks trimmed on read)
    ftSmallint,
    ftInteger,
    ftLargeint,
    ftBoolean,
    ftFloat,
    ftFMTBcd,     // NUMERIC / DECIMAL with decimals
    ftDate,
    ftTime,
    ftDateTime,   // TIMESTAMP
    ftBlob,       // binary blob: the value holds one character (0-255) per byte
    ftMemo,       // text blob
};

enum class TDataSetState { dsInactive, dsBrowse, dsEdit, dsInsert };

enum TLocateOption { loCaseInsensitive = 1, loPartialKey = 2 };

// Identifies a row of an open dataset whatever the filter and sort; 0 is no row.
struct TBookmark
{
    qint64 id = 0;
    bool IsNull() const { return id == 0; }
    friend bool operator==(TBookmark a, TBookmark b) { return a.id == b.id; }
};

class TField
{
public:
    TDataSet *DataSet() const { return FDataSet; }
    const QString &FieldName() const { return FName; }
    int Index() const { return FIndex; }
    TFieldType DataType() const { return FType; }
    int Size() const { return FSize; }            // characters of a text field, else 0
    int Scale() const { return FScale; }
    bool Required() const { return FRequired; }
    const QString &Origin() const { return FOrigin; } // table the column comes from
    bool IsBlob() const { return FType == TFieldType::ftBlob || FType == TFieldType::ftMemo; }
    bool IsText() const;

    QString DisplayLabel() const { return FDisplayLabel.isEmpty() ? FName : FDisplayLabel; }
    void SetDisplayLabel(const QString &s) { FDisplayLabel = s; }
    Qt::Alignment Alignment() const { return FAlignment; }
    void SetAlignment(Qt::Alignment a) { FAlignment = a; }
    // Picture for FormatDateTime (dates and times) or FormatFloat (numbers with decimals);
    // empty gives the default text.
    QString DisplayFormat;
    bool Visible = true;
    int DisplayWidth() const;

    // Value of the current row (or of the row being edited).
    const Variant &Value() const;
    // Converts to the field's type; raises EDatabaseError outside Edit/Insert.
    void SetValue(const Variant &v);
    void Clear() { SetValue(Variant::null()); }
    bool IsNull() const { return Value().isEmptyOrNull(); }

    QString AsString() const;
    int AsInteger() const;
    qint64 AsLargeInt() const;
    double AsFloat() const;
    double AsDateTime() const;
    bool AsBoolean() const;
    void SetAsString(const QString &s) { SetValue(Variant(s)); }
    void SetAsInteger(int v) { SetValue(Variant(v)); }
    void SetAsFloat(double v) { SetValue(Variant(v)); }
    void SetAsDateTime(double days) { SetValue(Variant::fromDate(days)); }
    // Bytes of a blob: a binary blob's own bytes, any other field's text as UTF-8.
    QByteArray AsBytes() const;
    void SetAsBytes(const QByteArray &bytes);

    QString DisplayText() const { return TextOf(Value()); }
    // Display text of any value of this field.
    QString TextOf(const Variant &v) const;

private:
    friend class TDataSet;
    TDataSet *FDataSet = nullptr;
    QString FName;
    QString FOrigin;
    QString FDisplayLabel;
    int FIndex = 0;
    TFieldType FType = TFieldType::ftUnknown;
    int FSize = 0;
    int FScale = 0;
    bool FRequired = false;
    Qt::Alignment FAlignment = Qt::AlignLeft | Qt::AlignVCenter;
};

// Listener of a dataset: the table model, record sources, windows.
class TDataSetObserver
{
public:
    virtual ~TDataSetObserver() = default;
    virtual void DataSetAfterOpen(TDataSet &) {}
    virtual void DataSetBeforeClose(TDataSet &) {}
    virtual void DataSetDestroying(TDataSet &) {}
    // The rows changed as a whole (open, refresh, filter, sort, insert, delete, enable controls).
    virtual void DataSetChanged(TDataSet &) {}
    // One row's values changed (post of an edit); row is its position in the view.
    virtual void DataSetRecordChanged(TDataSet &, int /*row*/) {}
    // The current row moved.
    virtual void DataSetScrolled(TDataSet &) {}
    // Browse became Edit: the row is the same, what can be done with it is not.
    virtual void DataSetStateChanged(TDataSet &) {}
};

class TDataSet
{
public:
    TDataSet();
    virtual ~TDataSet();
    TDataSet(const TDataSet &) = delete;
    TDataSet &operator=(const TDataSet &) = delete;

    QString Name;

    // The master a detail dataset takes its parameters from; none by default.
    virtual TDataSource *MasterSource() const { return nullptr; }

    // --- open / close
    void Open();
    void Close();
    bool Active() const { return FState != TDataSetState::dsInactive; }
    void SetActive(bool on) { on ? Open() : Close(); }
    TDataSetState State() const { return FState; }

    // --- fields
    int FieldCount() const { return int(FFields.size()); }
    TField *Fields(int i) const { return FFields[size_t(i)].get(); }
    TField *FindField(const QString &name) const; // case-insensitive; nullptr when missing
    TField *FieldByName(const QString &name) const; // raises EDatabaseError when missing
    QStringList FieldNames() const;

    // --- navigation (RecNo counts from 1 over the filtered, sorted rows)
    void First();
    void Last();
    void Next();
    void Prior();
    int MoveBy(int distance);
    bool Eof() const { return FEof; }
    bool Bof() const { return FBof; }
    bool IsEmpty() const { return FView.empty(); }
    int RecordCount() const { return int(FView.size()); }
    int RecNo() const { return FView.empty() ? 0 : FCur + 1; }
    void SetRecNo(int recNo);

    // --- bookmarks
    TBookmark GetBookmark() const;
    // Bookmark of a row of the view without moving; a null bookmark outside the view.
    TBookmark BookmarkAt(int row) const;
    bool BookmarkValid(TBookmark bm) const; // the row exists and passes the filter
    void GotoBookmark(TBookmark bm);        // raises EDatabaseError when not valid
    int CompareBookmarks(TBookmark a, TBookmark b) const;

    // Moves to the first row (in view order) whose fields (";"-separated) equal the values
    // (a single value or a variant array, one per field). Options: TLocateOption flags.
    bool Locate(const QString &keyFields, const Variant &values, int options = 0);
    // Value of the first matching row without moving; Null when there is none.
    Variant Lookup(const QString &keyFields, const Variant &values, const QString &resultFields);

    // --- filter: text parsed once when set, evaluated per row
    QString Filter() const { return FFilterText; }
    void SetFilter(const QString &text);           // raises EDatabaseError on malformed text
    bool Filtered() const { return FFiltered; }
    void SetFiltered(bool on);
    int FilterOptions() const { return FFilterOptions; }
    void SetFilterOptions(int options);            // TFilterOption flags

    // --- index sort: "FIELD[:D|:A][;FIELD...]"; empty is the order of the rows as fetched
    QString IndexFieldNames() const { return FIndexFieldNames; }
    void SetIndexFieldNames(const QString &fields);

    // --- editing
    // Key of the rows written back, ";"-separated. UpdateTableName defaults to the table the
    // first key field comes from.
    QString KeyFields;
    QString UpdateTableName;
    bool ReadOnly = false;
    void Insert();
    void Append() { Insert(); }
    void Edit();
    void Post();
    void Cancel();
    // Deletes the current row after BeforeDelete; false when the hook refused.
    bool Delete();
    // Called before a row is deleted; returning false cancels silently.
    std::function<bool(TDataSet &)> BeforeDelete;
    // Called before a row is stored; raising refuses it and the row stays being edited.
    std::function<void(TDataSet &)> BeforePost;
    // Called when the database refused a row; it may raise an error of its own in place of
    // the database's (the row stays being edited either way).
    std::function<void(TDataSet &, const std::exception &)> OnPostError;
    // Called when the dataset has opened / before it closes (after the observers).
    std::function<void(TDataSet &)> AfterOpen;
    std::function<void(TDataSet &)> BeforeClose;

    // --- controls
    void DisableControls();
    void EnableControls();
    bool ControlsDisabled() const { return FDisableCount > 0; }

    void AddObserver(TDataSetObserver *o);
    void RemoveObserver(TDataSetObserver *o);

    // Runs the query again; stays on the same row by key (else the row that followed it),
    // keeps filter and sort.
    void Refresh();

    // Values of any row of the view without moving the cursor.
    const Variant &ValueAt(int row, int field) const;
    QString DisplayTextAt(int row, int field) const;
    // View position of the current row, -1 when empty.
    int CurrentRow() const { return FView.empty() ? -1 : FCur; }

protected:
    // Description of a result column, for subclasses that fetch rows.
    struct ColumnInfo
    {
        QString name;
        QString origin;
        TFieldType type = TFieldType::ftUnknown;
        int size = 0;
        int scale = 0;
        bool required = false;
    };
    // Fetches every row: calls setColumns once, then addRow for each row.
    class RowSink
    {
    public:
        virtual ~RowSink() = default;
        virtual void setColumns(const std::vector<ColumnInfo> &cols) = 0;
        virtual void addRow(std::vector<Variant> &&values) = 0;
    };
    virtual void DoFetch(RowSink &sink) = 0;
    // Writes a change back; returns the rows the statement changed.
    virtual int DoExecute(const QString &sql, const std::vector<Variant> &values) = 0;
    // The same with the type of the field each value belongs to (ftUnknown for none), so that
    // binary blobs are written as bytes; by default the types are ignored.
    virtual int DoExecuteTyped(const QString &sql, const std::vector<Variant> &values,
                               const std::vector<TFieldType> & /*types*/)
    {
        return DoExecute(sql, values);
    }
    // Runs fn as one unit of work (a transaction of its own).
    virtual void DoInTransaction(const std::function<void()> &fn) { fn(); }

    void CheckActive() const;
    // Leaves Edit or Insert the way moving to another row does: a changed row is posted, an
    // untouched one dropped.
    void CheckBrowse();

private:
    struct Row
    {
        qint64 id;
        std::vector<Variant> values;
    };
    class Sink;
    friend class TField;

    void FetchAll();
    void RebuildView(const Row *keep);
    void ResolveIndex();
    bool PassesFilter(const Row &r) const;
    std::vector<int> KeyFieldIndexes() const;
    QString TableForWrite() const;
    void Notify(void (TDataSetObserver::*fn)(TDataSet &));
    void DataChanged();
    void Scrolled();
    int ViewIndexOf(qint64 id) const;
    const Variant &CurrentValue(int field) const;
    void ClearRows();

    std::vector<std::unique_ptr<TField>> FFields;
    std::vector<std::unique_ptr<Row>> FRows; // fetch order
    std::vector<Row *> FView;                // filtered and sorted
    int FCur = 0;
    bool FEof = true;
    bool FBof = true;
    qint64 FNextId = 1;
    TDataSetState FState = TDataSetState::dsInactive;

    Row FBuffer;                  // row being edited or inserted
    std::vector<bool> FModified;  // per field, in FBuffer
    Row *FEditRow = nullptr;      // original of an edit

    QString FFilterText;
    std::unique_ptr<data::FilterExpr> FFilterExpr;
    bool FFiltered = false;
    int FFilterOptions = 0;

    QString FIndexFieldNames;
    struct SortKey
    {
        int field;
        bool desc;
    };
    std::vector<SortKey> FSort;

    int FDisableCount = 0;
    bool FPendingChange = false;
    std::vector<TDataSetObserver *> FObservers;
};
