#pragma once
// A number typed into a dialog's box, read with either decimal separator.
#include <QString>

// The number in Text; on text that is no number shows the conversion error and answers false.
bool kvlReadNumber(const QString &Text, double &Value);
