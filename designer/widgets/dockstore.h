#pragma once
// Where the designer's toolbars, dock sites and windows are, kept in the report's settings
// storage from one run to the next. Sections: "ToolBar5." + toolbar name, "Dock5." + dock
// site name, "Form5." + the window's class name.
class QToolBar;
class QWidget;
class TCustomIniFile;
class TkvlDockSite;

void kvlSaveToolbarPosition(TCustomIniFile &ini, const QToolBar *toolbar);
void kvlRestoreToolbarPosition(TCustomIniFile &ini, QToolBar *toolbar);
void kvlSaveDock(TCustomIniFile &ini, TkvlDockSite *site);
void kvlRestoreDock(TCustomIniFile &ini, TkvlDockSite *site);
void kvlSaveFormPosition(TCustomIniFile &ini, const QWidget *form);
// The window that hosts dock sites (the designer) keeps its visibility.
void kvlRestoreFormPosition(TCustomIniFile &ini, QWidget *form);
