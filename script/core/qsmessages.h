#pragma once
// The script engine's own messages, each under a fixed key. They start as the English
// texts below; the report library's string table replaces them by key (at start-up and
// whenever a language table loads) through qsSetMessage. Texts are read when an error is
// raised, so a replacement applies to every later error.
//
//   key                 default text
//   SLangNotFound       Language '%s' not found            (format text, one %s)
//   SInvalidLanguage    Invalid language definition
//   SIdRedeclared       Identifier redeclared:             (then 'name')
//   SUnknownType        Unknown type:                      (then 'name')
//   SIncompatibleTypes  Incompatible types
//   SIdUndeclared       Undeclared identifier:             (then 'name')
//   SClassRequired      Class type required
//   SIndexRequired      Index required
//   SStringError        Strings doesn't have properties or methods
//   SClassError         Class %s does not have a default property   (format text)
//   SArrayRequired      Array type required
//   SVarRequired        Variable required
//   SNotEnoughParams    Not enough actual parameters
//   STooManyParams      Too many actual parameters
//   SLeftCantAssigned   Left side cannot be assigned to
//   SForError           For loop variable must be numeric variable
//   SEventError         Event handler must be a procedure
//
// One more text is the engine's own and not part of the string table:
//   SNestingTooDeep     Program nested too deeply
#include <QString>
#include <QStringList>

// The seventeen keys that the string table replaces, in their fixed order.
const QStringList &qsMessageKeys();
// The current text of a key; an unknown key answers the key itself.
QString qsMessage(QStringView key);
// Replaces the text of a key; false (and nothing changes) for an unknown key.
bool qsSetMessage(QStringView key, const QString &text);
// Back to the English texts.
void qsResetMessages();
// Fills a format text's "%s" with the argument.
QString qsFormatMessage(QStringView key, const QString &arg);
