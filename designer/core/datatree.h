#pragma once
// What the data tree lists, without widgets: the report's record sources with their fields,
// its variables, and the texts a node inserts into a memo or the script.
#include <QString>
#include <QStringList>
#include <vector>

class TkvlDataSet;
class TkvlReport;

struct TkvlDataTreeSource {
    QString Alias;
    TkvlDataSet *DataSet = nullptr;
    QStringList Fields;
    std::vector<int> FieldImages;
};

struct TkvlDataTreeCategory {
    QString Name;  // empty: the variables hang under the root
    QStringList Variables;
};

namespace kvldatatree {

// Images of the designer's tool-bar strip.
enum Image : int {
    imSourceRoot = 53, imSource = 72, imFieldNumeric = 104, imFieldString = 102, imFieldBoolean = 107,
    imFieldOther = 54, imFolder = 66, imVariable = 80, imFunction = 52, imClass = 78, imProperty = 73,
    imEvent = 79, imMember = 74
};

// The report's record sources (by user name) with their fields, sorted when Sort.
std::vector<TkvlDataTreeSource> Sources(TkvlReport *Report, bool Sort);
// The variable categories; one nameless entry when the report has none.
std::vector<TkvlDataTreeCategory> Variables(TkvlReport *Report);
// The system variables, listed after the report's own.
const QStringList &SystemVariables();

// <SOURCE."FIELD">, <Variable>.
QString FieldText(const QString &Alias, const QString &Field);
QString VariableText(const QString &Name);
// A function's declaration without its keyword becomes what the script gets: the name with
// one comma per further parameter between parentheses, or a constant's name.
QString FunctionText(const QString &Declaration);
// The member's image by the beginning of its text.
int MemberImage(const QString &Text);

// The record sources the user collapsed, remembered by whole name for the program's run.
QStringList &CollapsedSources();

} // namespace kvldatatree
