#pragma once
// Shared by the report document tests: the classes registered as the program does, a report
// holding one object of every registered report class with every property off its default,
// and pinned number settings.
#include "platform/rtl/formatsettings.h"

#include <QString>
#include <memory>

class TPersistent;
class TkvlReport;

// The report classes, as start-up registers them (once per process).
void registerReportClassesOnce();

// Every published property of Obj (and of the objects it owns) set off its default;
// references point at another object of the report of the allowed class.
void setOffDefaults(TPersistent *Obj, TkvlReport *Report);

// One report page and one data page; one object of every creatable registered report class
// (bands and views on the report page, data components on the data page, pages on the
// report), each off its defaults; then a dot-matrix page made by SetDefaults.
void buildEveryClassReport(TkvlReport &Report);

// A 2 x 2 PNG picture.
QByteArray tinyPng();

// The report's template as the serializer writes it.
QByteArray templateBytes(TkvlReport &Report);

// Number settings with the given decimal separator, for the life of the object.
class PinnedNumbers {
public:
    explicit PinnedNumbers(QChar Decimal);

private:
    std::unique_ptr<rtl::ScopedFormatSettings> FScope;
};
