#pragma once
// Registry of script languages: name -> grammar text, in registration order, names
// compared case-insensitively. Filled at start-up; registering a name again replaces
// its grammar. Each grammar is compiled into its rule graph once, on first use, and the
// graph is then shared read-only by every script; safe to call from several threads.
#include <QString>
#include <QStringList>
#include <memory>

class TqsGrammar;

void qsRegisterLanguage(const QString &name, const QString &grammar);
// The grammar text; an unregistered name raises Exception with SLangNotFound.
QString qsGetLanguage(const QString &name);
// Every registered name in registration order, except names beginning with "@".
void qsGetLanguageList(QStringList &list);
// The compiled grammar; raises SLangNotFound, or SInvalidLanguage for an unusable document.
std::shared_ptr<const TqsGrammar> qsGetCompiledLanguage(const QString &name);
