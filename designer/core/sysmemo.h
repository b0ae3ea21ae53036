#pragma once
// Rules of the system-text and aggregate dialog.
#include <QString>
#include <QStringList>
#include <vector>

// What the aggregate controls hold.
struct TkvlAggregateChoice {
    QString Function;    // as typed: "SUM", "MIN", "MAX", "AVG", "COUNT" or anything else
    QString Expression;  // wins over the record source and field when not empty
    QString DataSet, DataField;
    QString Band;
    bool CountInvisible = false;
    bool RunningTotal = false;
};

// The aggregate text without the enclosing brackets, e.g. SUM(<EVENTS."ID">,MasterData1).
QString kvlCreateAggregate(const TkvlAggregateChoice &Choice);

// The object's text without the one line break ("\r\n" or "\n") that ends it.
QString kvlStripLineBreak(const QString &Text);

// The system variables offered, from the string table ("vt1" .. "vt6").
QStringList kvlSysVariables();
// Text is one of them (ignoring case).
bool kvlIsSysVariable(const QString &Text);

class TkvlComponent;
class TkvlReport;
// Names of the data bands among Objects, in object order.
QStringList kvlDataBandNames(const std::vector<TkvlComponent *> &Objects);
// Names of the record sources the report uses.
QStringList kvlReportDataSets(TkvlReport *Report);
// Fields of the record source the report uses under Name (none when it uses none of that name).
QStringList kvlDataSetFields(TkvlReport *Report, const QString &Name);
// The name under which the report uses the record source of the band named BandName among
// Objects; empty when there is no such band, or its source is none or a user data set.
QString kvlBandDataSet(TkvlReport *Report, const std::vector<TkvlComponent *> &Objects, const QString &BandName);
