#pragma once
// The engine's totals answered by the report's aggregate list.
#include "engine/run/kvlengineaggregates.h"

#include <memory>

class TkvlReport;

std::unique_ptr<TkvlEngineAggregates> kvlMakeReportAggregates(TkvlReport *Report);
