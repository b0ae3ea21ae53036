#pragma once
// Small report classes for the serializer tests: a report with the three lists, a memo with
// lines and a style, an object with a property of every kind, and an outside component.
#include "platform/rtl/variant.h"
#include "report/core/kvlobjects.h"
#include "report/styles/kvlstyles.h"
#include "report/vars/kvlvariables.h"

#include <QByteArray>
#include <QStringList>

class TkvlFrame;

// A record source living outside the report (on its owner).
class TTestSource : public TComponent {
    LIRRA_CLASS(TTestSource, TComponent)
public:
    using TComponent::TComponent;
};

class TTestReport : public TkvlReport {
    LIRRA_CLASS(TTestReport, TkvlReport)
public:
    explicit TTestReport(TComponent *AOwner = nullptr);
    TkvlVariables Variables;
    TkvlStyles Styles{this};
    TkvlVariables *ParentVariables = nullptr;
    TkvlStyles *ParentStyles = nullptr;
    rtl::ComponentRef<TTestSource> DataSet;
    // The parent template: the report for its own name, else its object of that name.
    TTestReport *ParentReport = nullptr;
    void GetAncestor(const QString &Name, TPersistent *&Ancestor) override;

    void WriteNestedProperties(TkvlXMLItem *Item) override;
    bool ReadNestedProperty(TkvlXMLItem *Item) override;
};

class TTestMemo : public TkvlView {
    LIRRA_CLASS(TTestMemo, TkvlView)
public:
    explicit TTestMemo(TComponent *AOwner);
    QStringList Lines;
    QString Style() const { return FStyle; }
    // Takes the named style's parts from the report's set.
    void SetStyle(const QString &Value);
    void Draw(TCanvas *, double, double, double, double) override {}

private:
    QString FStyle;
};

enum TTestColorKind : uint8_t { tkRed, tkGreen, tkBlue };

class TTestKinds : public TkvlView {
    LIRRA_CLASS(TTestKinds, TkvlView)
public:
    explicit TTestKinds(TComponent *AOwner);
    ~TTestKinds() override;
    int32_t Count = 5;           // default 5
    int32_t Plain = 0;           // no declared default
    int64_t Big = 0;
    int32_t Letter = 'a';        // a character code, default 'a'
    TTestColorKind Kind = tkGreen;  // default tkGreen
    bool Flag = true;            // default True
    uint8_t Options = 0;         // set, default []
    double Ratio = 0;
    double When = 0;             // TDateTime
    QString Caption;
    Variant Data;
    QStringList Memo;
    TkvlFrame *Frame() const { return FFrame; }
    rtl::ComponentRef<TTestMemo> Link;
    QString OnClick;             // script event
    // Non-published data.
    int64_t Hidden = 0;
    QString HiddenText;
    QByteArray Blob;
    TkvlVariables Extra;  // a collection among the non-published data

    void DefineProperties(TFiler &Filer) override;
    void Draw(TCanvas *, double, double, double, double) override {}

private:
    TkvlFrame *FFrame;
};

// Registers the classes above and the library's own (once).
void registerTestClasses();
