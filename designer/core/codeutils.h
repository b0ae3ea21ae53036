#pragma once
// Script code the designer writes and finds by itself: the empty script of a new report,
// event handlers, and the procedures that fit an event. The four languages are known only
// through descriptions in the string table; the script is read line by line.
#include <QString>

class TStringList;
namespace rtl {
class TypeInfo;
}

// Registers the language descriptions and the event parameter lists in kvlResources()
// (again: the texts are replaced).
void kvlAddCodeRes();

// A parameter of a language's description ("proc", "begin", "end", "lastend", "openquote",
// "closequote"); empty for a missing language or parameter.
QString kvlGetLanguageParam(const QString &Language, const QString &Param);
// The parameter list of an event type (by its type name) in a language; empty when missing.
QString kvlGetEventParams(const QString &EventTypeName, const QString &Language);

// Replaces the code with the script of a new report in the language.
void kvlEmptyCode(TStringList &Code, const QString &Language);
// The line of the named handler outside block comments, or -1.
int kvlLocateEventHandler(const TStringList &Code, const QString &Language, const QString &EventName);
// The first line of the script's main block, or -1 when a language with a main block has
// none. Languages without a main block give the last line (0 for an empty script).
int kvlLocateMainProc(const TStringList &Code, const QString &Language);
// Inserts an empty handler above the main block; the result is the line after its body
// line (the body line counted from 1), or -1 when nothing was inserted.
int kvlAddEvent(TStringList &Code, const QString &Language, const rtl::TypeInfo *EventType,
                const QString &EventName);
// The handlers whose parameter list is the event's, in script order.
void kvlGetEventHandlersList(const TStringList &Code, const QString &Language, const rtl::TypeInfo *EventType,
                             TStringList &List);
