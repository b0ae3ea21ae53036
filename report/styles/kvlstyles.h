#pragma once
// Styles: named bundles of font, frame and fill that memo views take by name; style sets
// (.ks3 files) and style sheets (several sets in one file).
#include "platform/rtl/color.h"
#include "report/appearance/fill.h"
#include "report/vars/kvlcollection.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

class TFont;
class TkvlFrame;
class TkvlReport;
class TStream;
class TkvlXMLDocument;
class TkvlXMLItem;

class TkvlStyleItem : public TkvlCollectionItem {
    LIRRA_CLASS(TkvlStyleItem, TkvlCollectionItem)
public:
    explicit TkvlStyleItem(TCollection *ACollection);
    ~TkvlStyleItem() override;
    void Assign(TPersistent *Source) override;

    const QString &Name() const { return FName; }
    // Raises EDuplicateStyleName ("clDupName") when another item of the set has the name,
    // ignoring case.
    void SetName(const QString &Value);
    // "Style" followed by the lowest free number in the set.
    void CreateUniqueName();

    TFont *Font() const { return FFont.get(); }
    void SetFont(TFont *Value);
    TkvlFrame *Frame() const { return FFrame.get(); }
    void SetFrame(TkvlFrame *Value);
    TkvlCustomFill *Fill() const { return FFill.get(); }
    // Takes the kind of Value, then its values.
    void SetFill(TkvlCustomFill *Value);
    TkvlFillType FillType() const;
    // Another kind replaces the fill by a default one of that kind.
    void SetFillType(TkvlFillType Value);
    // Background of a brush fill, the gradient's colour, clNone otherwise; only a brush
    // fill takes a new colour.
    TColor Color() const;
    void SetColor(TColor Value);

    bool ApplyFont = true;
    bool ApplyFill = true;
    bool ApplyFrame = true;

    QString DisplayName() const override { return FName; }

private:
    std::unique_ptr<TFont> FFont;
    std::unique_ptr<TkvlFrame> FFrame;
    std::unique_ptr<TkvlCustomFill> FFill;
};

class TkvlStyles : public TkvlCollection {
    LIRRA_CLASS(TkvlStyles, TkvlCollection)
public:
    // Report: the report whose memo views the set applies to (none inside a style sheet).
    explicit TkvlStyles(TkvlReport *AReport = nullptr);

    QString Name;
    TkvlReport *Report() const { return FReport; }

    TkvlStyleItem *Add() { return static_cast<TkvlStyleItem *>(TCollection::Add()); }
    TkvlStyleItem *Items(int Index) const { return static_cast<TkvlStyleItem *>(TCollection::Items(Index)); }
    TkvlStyleItem *Find(const QString &AName) const;
    void GetList(QStringList &List) const;
    // Every memo view of the report takes its style again, or loses a style the set lacks.
    void Apply();

    void LoadFromFile(const QString &FileName);
    void LoadFromStream(TStream &Stream);
    // Only a "style" element is read; anything else leaves the set empty.
    void LoadFromXMLItem(TkvlXMLItem *Item, bool OldXMLFormat);
    void SaveToFile(const QString &FileName);
    void SaveToStream(TStream &Stream);
    void SaveToXMLItem(TkvlXMLItem *Item);

private:
    TkvlReport *FReport;
};

class TkvlStyleSheet {
public:
    TkvlStyleSheet() = default;
    void Clear() { FItems.clear(); }
    void Delete(int Index);
    TkvlStyles *Add();
    int Count() const { return int(FItems.size()); }
    TkvlStyles *Items(int Index) const { return FItems.at(size_t(Index)).get(); }
    TkvlStyles *Find(const QString &Name) const;
    int IndexOf(const QString &Name) const;
    void GetList(QStringList &List) const;

    void LoadFromFile(const QString &FileName);
    void LoadFromStream(TStream &Stream);
    void SaveToFile(const QString &FileName);
    void SaveToStream(TStream &Stream);

private:
    void SaveToXMLDocument(TkvlXMLDocument &doc);
    std::vector<std::unique_ptr<TkvlStyles>> FItems;
};

LIRRA_DECLARE_EXCEPTION(EDuplicateStyleName, Exception)

void kvlRegisterStyleClasses();
