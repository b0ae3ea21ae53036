#pragma once
// Collections as XML elements: the report's lists (record sources, variables, styles) and
// any other collection written into a template.
#include <QString>

class TCollection;
class TkvlCollection;
class TkvlComponent;
class TkvlXMLItem;
class TkvlXMLSerializer;
class TReader;
class TWriter;

// Adds the element Name to Item with one "item" child per entry holding the entry's
// attribute text. With an Ancestor list of named entries, an entry the ancestor also has is
// written with InheritedName first and only with what differs from the ancestor's entry.
void kvlWriteCollection(TCollection *Collection, const QString &Name, TkvlXMLItem *Item, TkvlComponent *Owner,
                        TCollection *Ancestor = nullptr);
// Reads the "item" children of Item. When Owner comes from a parent template and Ancestor is
// given, an item naming an InheritedName goes to the entry of that internal name (marked
// inherited) or, when there is none, is dropped; every other item becomes a new entry.
void kvlReadCollection(TCollection *Collection, TkvlXMLItem *Item, TkvlComponent *Owner,
                       TCollection *Ancestor = nullptr);

// The "item" children of a dictionary or style-set file: each becomes a new entry. Writing
// adds one "item" child per entry.
void kvlReadItems(TCollection *Collection, TkvlXMLItem *Item, bool OldFormat);
void kvlWriteItems(TCollection *Collection, TkvlXMLItem *Item);

// Inside an object's non-published data: the entries' attribute texts in order. Reading
// replaces the entries.
void kvlWriteCollection(TCollection *Collection, TWriter &Writer, TkvlComponent *Owner);
void kvlReadCollection(TCollection *Collection, TReader &Reader, TkvlComponent *Owner);

// The report's own lists as its nested elements ("Datasets", "Variables", "Styles", each
// only when not empty). The ancestor lists are the parent template's (nullptr without one).
struct TkvlReportLists {
    TCollection *Datasets = nullptr;
    TkvlCollection *Variables = nullptr;
    TkvlCollection *Styles = nullptr;
    TkvlCollection *AncestorVariables = nullptr;
    TkvlCollection *AncestorStyles = nullptr;
    bool HasParentTemplate = false;
};
void kvlWriteReportLists(TkvlComponent *Report, const TkvlReportLists &Lists, TkvlXMLItem *Item);
// True when Item is one of the three lists (and was read into it).
bool kvlReadReportList(TkvlComponent *Report, const TkvlReportLists &Lists, TkvlXMLItem *Item);
