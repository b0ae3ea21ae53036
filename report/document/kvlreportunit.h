#pragma once
// What the report unit sets up once per process: the process-wide variables, the legacy
// hooks, the report cursors, the classes registered by name; and the password rules shared
// by every report of the process.
#include "platform/rtl/variant.h"

#include <QString>
#include <functional>

class TStream;
class TkvlReport;
class TkvlVariables;

// Variables every report of the process can read.
TkvlVariables &kvlGlobalVariables();

// Hooks of hosts written for the old interface; each is optional and set at start-up.
struct TkvlKV2Events {
    // Returns true when it read the stream itself.
    std::function<bool(TkvlReport *Report, TStream &Stream)> OnLoad;
    std::function<void(TkvlReport *Report, const QString &Name, Variant &Value)> OnGetValue;
    std::function<void(TkvlReport *Report)> OnPrepareScript;
    std::function<void(TkvlReport *Report, const QString &Name, Variant &Value)> OnGetScriptValue;
};
TkvlKV2Events &kvlKV2Events();

// The report cursors: the hand over links, the zoom of the preview, the designer's format
// painter.
enum : int { crKvlHand = 150, crKvlZoom = 151, crKvlFormat = 152 };
// The Qt cursor shape of a cursor number (Qt::CursorShape as an int; -1 when unknown).
int kvlCursorShape(int Cursor);

// Start-up, after the root classes: registers every report class (kind by kind, then the
// classes templates name in their traditional order), makes the process-wide variables and
// hooks, and refreshes the script engine's copies of string-table texts. Once per process.
void kvlInitReportUnit();

// Templates store their password with every UTF-16 unit lowered by 10.
QString kvlEncodePwd(const QString &Password);
QString kvlDecodePwd(const QString &Password);
// A password the user confirmed once is not asked for again while the process runs.
bool kvlPasswordAccepted(const QString &Password);
void kvlAcceptPassword(const QString &Password);
// True when the report's password may be used: empty, already accepted, the host's hidden
// one, or typed again correctly at the prompt. Otherwise "Invalid password" is reported.
bool kvlCheckPassword(TkvlReport *Report);
