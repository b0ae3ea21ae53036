#pragma once
// The window "TITOLI REGISTRATI", opened and closed by the main window's "TITOLI" button: the
// event titles, on the data module's shared titles query.
#include "app/widgets/childwindow.h"

class TDBEdit;
class TDBGrid;
class TDBNavigator;
enum class TNavigateBtn;

class TfTITOLI : public TChildWindow
{
    Q_OBJECT
public:
    explicit TfTITOLI(QWidget *parent = nullptr);

    TDBNavigator *DBNavigatorTITOLI = nullptr;
    TDBEdit *eTitolo = nullptr;
    TDBGrid *DBGridTITOLI = nullptr;

    void DBNavigatorTITOLIClick(TNavigateBtn button);
    void DBGridTITOLITitleClick(int column);

protected:
    void FormClosed() override;
};
