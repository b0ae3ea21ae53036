#pragma once
// Record sources: the report library's view of a table of records. Data bands iterate
// them, expressions read their fields by name, the designer lists their fields. Every
// record source is in the process-wide list from its construction to its destruction
// (kvldatasetlist.h), where templates find it by its user name.
#include "platform/rtl/stringlist.h"
#include "platform/rtl/variant.h"
#include "report/data/kvldialogcomponent.h"

#include <QString>
#include <cstdint>
#include <functional>

class TStream;
class TkvlReport;
class TkvlWideStrings;

enum TkvlRangeBegin : uint8_t { rbFirst, rbCurrent };
enum TkvlRangeEnd : uint8_t { reLast, reCurrent, reCount };
enum TkvlFieldType : uint8_t { fftNumeric, fftString, fftBoolean, fftDateTime };

// Start-up: the record-source classes enter the class registry, so templates can make them.
void kvlRegisterDataSetClasses();

namespace kvltypes {
const rtl::TypeInfo *RangeBegin();  // TkvlRangeBegin
const rtl::TypeInfo *RangeEnd();    // TkvlRangeEnd
} // namespace kvltypes

class TkvlDataSet : public TkvlDialogComponent {
    LIRRA_CLASS(TkvlDataSet, TkvlDialogComponent)
public:
    explicit TkvlDataSet(TComponent *AOwner, const rtl::TDesignInfo *Design = nullptr);
    // Leaves the process-wide list.
    ~TkvlDataSet() override;

    // The name by which templates and expressions refer to the source.
    const QString &UserName() const { return FUserName; }
    bool Enabled = true;
    TkvlRangeBegin RangeBegin = rbFirst;
    TkvlRangeEnd RangeEnd = reLast;
    int32_t RangeEndCount = 0;
    bool OpenDataSource = true;  // stored only; opening does not read it

    // ---- run state ----
    int RecNo() const { return FRecNo; }  // 0-based position counted here
    // The report running the source, set before each run.
    TkvlReport *ReportRef() const;
    void SetReportRef(TkvlReport *Value);

    // ---- host events ----
    std::function<void(TkvlDataSet *Sender, bool &Eof)> OnCheckEOF;
    std::function<void(TkvlDataSet *Sender)> OnFirst, OnNext, OnPrior, OnOpen, OnClose;

    virtual QString GetDisplayText(const QString &FieldName);
    virtual int GetDisplayWidth(const QString &FieldName);
    virtual TkvlFieldType GetFieldType(const QString &FieldName);
    virtual Variant GetValue(const QString &FieldName);
    // A name that is blank after trimming raises "prInvProp" and keeps the old name;
    // otherwise the text is stored untrimmed.
    virtual void SetUserName(const QString &Value);
    // Before and after each run.
    virtual void Initialize() {}
    virtual void Finalize() {}
    virtual void Open();
    virtual void Close();
    virtual void First();
    // With reCount the position stops at RangeEndCount - 1 and the end is reached.
    virtual void Next();
    virtual void Prior();
    virtual bool Eof();
    virtual int FieldsCount() { return 0; }
    virtual bool IsBlobField(const QString &) { return false; }
    virtual bool IsHasMaster() { return false; }
    // RangeEndCount for a range from rbFirst to reCount, else 0.
    virtual int RecordCount();
    // A blob field's content into a list of lines or into a stream (left at position 0).
    virtual void AssignBlobTo(const QString &, TkvlWideStrings &) {}
    virtual void AssignBlobTo(const QString &, TStream &) {}
    // Empties List, then adds the visible field names.
    virtual void GetFieldList(TStringList &List) { List.Clear(); }

    // Whether GetFieldList names the field (ignoring case).
    bool HasField(const QString &FieldName);
    // A source named while its user name is empty takes the name as user name too.
    void SetName(const QString &NewName) override;

protected:
    int FRecNo = 0;
    bool FEof = false;

private:
    QString FUserName;
    rtl::ComponentRef<TkvlReport> FReportRef;
};

// A record source whose values come from host events.
class TkvlUserDataSet : public TkvlDataSet {
    LIRRA_CLASS(TkvlUserDataSet, TkvlDataSet)
public:
    using TkvlDataSet::TkvlDataSet;

    TStringList &Fields() { return FFields; }
    std::function<void(const QString &FieldName, Variant &Value)> OnGetValue;
    std::function<void(TkvlDataSet *Sender, const QString &FieldName, Variant &Value)> OnNewGetValue;

    // Null, then OnGetValue, then OnNewGetValue (the later one wins).
    Variant GetValue(const QString &FieldName) override;
    QString GetDisplayText(const QString &FieldName) override;
    int FieldsCount() override { return FFields.Count(); }
    void GetFieldList(TStringList &List) override;

private:
    TStringList FFields;
};
