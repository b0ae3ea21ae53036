#pragma once
// The window "SEDI REGISTRATE", opened and closed by the main window's "SEDI" button: the sites
// with their colours, on the data module's shared sites query.
#include "app/widgets/childwindow.h"

class TColorBox;
class TDBEdit;
class TDBGrid;
class TDBNavigator;
enum class TNavigateBtn;

class TfSEDI : public TChildWindow
{
    Q_OBJECT
public:
    explicit TfSEDI(QWidget *parent = nullptr);

    TDBNavigator *DBNavigatorSEDI = nullptr;
    TDBEdit *eSede = nullptr;
    TColorBox *ColorBox = nullptr;
    TDBGrid *DBGridSEDI = nullptr;

    void DBNavigatorSEDIClick(TNavigateBtn button);
    void ColorBoxClick();
    // Puts the current site's stored colour into the colour box.
    void ShowCurrentColor();
    void DBGridSEDITitleClick(int column);

protected:
    void showEvent(QShowEvent *e) override;
    void FormClosed() override;

private:
    bool FColumnsSet = false;
};
