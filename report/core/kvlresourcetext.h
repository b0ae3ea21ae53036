#pragma once
// Texts of the report library's string table, looked up by key. The string table installs
// itself with kvlSetResourceTextHook at start-up; until then a key stands for its own text.
#include <QString>

using TkvlResourceTextFn = QString (*)(const QString &Key);

void kvlSetResourceTextHook(TkvlResourceTextFn Fn);  // nullptr restores the key-as-text stub
QString kvlResourceText(const QString &Key);
