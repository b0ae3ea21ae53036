#pragma once
// The standard report wizard without its window: the field and group lists with their rules,
// the wizard style sheet, the empty reports and the layout Finish builds from the choices.
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

class TkvlCustomDesigner;
class TkvlCustomMemoView;
class TkvlDataSet;
class TkvlReport;
class TkvlStyleSheet;
class TkvlStyles;

// One millimetre in screen pixels, the wizard's unit of band and memo heights.
inline constexpr double kvlWizardUnit = 3.77953;

// The style names the wizard gives its memos.
namespace kvlwizstyle {
inline const QString Title = QStringLiteral("Title");
inline const QString Header = QStringLiteral("Header");
inline const QString GroupHeader = QStringLiteral("Group header");
inline const QString Data = QStringLiteral("Data");
inline const QString GroupFooter = QStringLiteral("Group footer");
inline const QString HeaderLine = QStringLiteral("Header line");
} // namespace kvlwizstyle

// The built-in wizard style sheet (XML, UTF-8).
QByteArray kvlBuiltInWizardStyleSheet();
// Loads "wizstyle.xml" from Folder when it exists, else the built-in sheet. A file that is
// not well-formed raises the XML reader's error; another root gives an empty sheet.
void kvlLoadWizardStyleSheet(TkvlStyleSheet &Sheet, const QString &Folder);

// Clears the report into the pages "Data" and "Page1" (a dot-matrix page in dot-matrix mode)
// with the page defaults; the designer, when given, is locked first and reloads the report at
// the end, also when a step fails. Also empties the file name and sets DotMatrixReport.
void kvlMakeEmptyReport(TkvlCustomDesigner *Designer, TkvlReport &Report, bool DotMatrix);

// The field lists of the wizard. Available holds the selected fields that are not groups;
// every change of the selected fields makes it a copy of them again and drops the groups.
// Row operations answer the row that becomes current in the list they took from (-1: none).
class TkvlStdWizardFields {
public:
    // Fields lists the source's fields (none for nil); nothing selected.
    void SetSource(TkvlDataSet *Source);
    TkvlDataSet *Source() const { return FSource; }

    const QStringList &Fields() const { return FFields; }
    const QStringList &Selected() const { return FSelected; }
    const QStringList &Available() const { return FAvailable; }
    const QStringList &Groups() const { return FGroups; }

    // Rows of Fields (any order) move to the end of Selected, in list order.
    int AddFields(std::vector<int> Rows);
    // Rows of Selected move back to the end of Fields.
    int RemoveFields(std::vector<int> Rows);
    void AddAllFields();
    void RemoveAllFields();
    // Swaps a selected field with its neighbour (Delta -1 or 1); answers its new row.
    int MoveField(int Row, int Delta);

    // An available field becomes the last group.
    int AddGroup(int Row);
    // A group becomes the last available field.
    int RemoveGroup(int Row);
    int MoveGroup(int Row, int Delta);

private:
    void UpdateAvailable();
    static int MoveRows(QStringList &From, QStringList &To, std::vector<int> Rows);
    static int Swap(QStringList &List, int Row, int Delta);

    TkvlDataSet *FSource = nullptr;
    QStringList FFields, FSelected, FAvailable, FGroups;
};

// Column widths of the data fields. H is the name's width, D the data's; Width is the larger
// (D on a tie). With Fit and a total wider than PageWidth: when even the names are wider, every
// column becomes its name scaled to fill the page, else the columns whose data is wider than
// their name give up that excess in proportion so that the columns fill the page exactly.
struct TkvlWizardColumn {
    double H = 0, D = 0, Width = 0;
};
void kvlFitWizardColumns(std::vector<TkvlWizardColumn> &Columns, double PageWidth, bool Fit);

// What the user chose in the wizard.
struct TkvlStdWizardChoice {
    TkvlDataSet *DataSet = nullptr;
    QStringList Fields;  // the data columns: selected fields that are not groups, in order
    QStringList Groups;
    bool DotMatrix = false;
    bool Landscape = false;
    bool FitWidth = true;
    bool Columnar = false;
    TkvlStyles *Styles = nullptr;  // the chosen style set (standard mode)
};

// The width Memo needs for Text; the default asks the memo (CalcWidth).
using TkvlWizardMeasure = std::function<double(TkvlCustomMemoView &Memo, bool Header, const QString &Text)>;

// Lays the report out from the choices on the report's second page (made empty first by
// kvlMakeEmptyReport): title, column header, group headers, master data, group footers, page
// footer, then the styles. The designer, when given, is locked first and reloads the report
// at the end, also when a step fails.
void kvlStdWizardFinish(TkvlCustomDesigner *Designer, TkvlReport &Report, const TkvlStdWizardChoice &Choice,
                        const TkvlWizardMeasure &Measure = {});
