#pragma once
// Rules of the band and picture dialogs, free of widgets: the record sources a data band can
// take, a group condition split into record source and field or kept as an expression, and
// the picture's size line.
#include <QString>
#include <QStringList>
#include <vector>

class TkvlDataSet;
class TkvlReport;
class TPicture;

// The record sources the report uses, sorted by name; entry 0 stands for none.
struct TkvlSourceChoice {
    QStringList Names;                   // Names[0] is "[non assegnato]"
    std::vector<TkvlDataSet *> Sources;  // Sources[0] is nullptr
    int Selected = 0;                    // the entry of the current source, 0 when not listed
};
TkvlSourceChoice kvlSourceChoice(const TkvlReport *Report, const TkvlDataSet *Current);

// The field names of the used record source called Name; empty when the report uses none.
QStringList kvlSourceFields(const TkvlReport *Report, const QString &Name);

// A group's condition as the dialog shows it.
struct TkvlGroupCondition {
    bool DataField = true;
    QString Source, Field;  // the data field choice
    QString Expression;     // the expression choice
};
// An empty condition takes the first used record source; SOURCE."FIELD" on a used source the
// data field choice; anything else is an expression.
TkvlGroupCondition kvlSplitGroupCondition(const TkvlReport *Report, const QString &Condition);
// SOURCE."FIELD" for the data field choice, else the expression.
QString kvlJoinGroupCondition(const TkvlGroupCondition &Condition);

// "Vuoto" for no picture, else "width x height".
QString kvlPictureStatus(const TPicture &Picture);
