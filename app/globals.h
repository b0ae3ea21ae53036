#pragma once
// The application's process-wide objects. Each window reference is set while its
// window exists and null otherwise.
class QWidget;
class TSettings;
class TfMain;
class Tdm;

extern TSettings *Settings;
extern TfMain *fMain;
extern Tdm *dm;
extern QWidget *fEDIT;
extern QWidget *fSEDI;
extern QWidget *fTITOLI;
extern QWidget *fARC;
