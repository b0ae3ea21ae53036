#pragma once
// The script engine's compiler messages that take their texts from the string table.
#include <QList>
#include <QPair>
#include <QString>

class TkvlResources;

// Key and text of each of the script engine's messages, as the table gives them.
QList<QPair<QString, QString>> kvlScriptMessageTexts(const TkvlResources &Resources);

// Hands the texts to the script engine's compiler messages.
void kvlSetScriptEngineMessages(const QList<QPair<QString, QString>> &Messages);
