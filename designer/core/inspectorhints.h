#pragma once
// The one-line descriptions the object inspector shows below its grid.
#include <QByteArray>

// The descriptions as one UTF-8 resource document.
QByteArray kvlInspectorHintsXML();
// Adds them to kvlResources() (once).
void kvlAddInspectorHints();
