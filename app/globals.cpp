#include "app/globals.h"

TSettings *Settings = nullptr;
TfMain *fMain = nullptr;
Tdm *dm = nullptr;
QWidget *fEDIT = nullptr;
QWidget *fSEDI = nullptr;
QWidget *fTITOLI = nullptr;
QWidget *fARC = nullptr;
