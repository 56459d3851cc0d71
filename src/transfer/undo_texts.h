// The undo's texts, in Polish: the plan shown before it, and the log lines
// as it goes.
#pragma once

#include <string>
#include <vector>

#include "transfer/undo.h"

namespace transfer {

// What the plan will do to one change, before it is done.
std::u16string PlannedStepLine(const UndoStep& step);
// What was done to one change, for the log.
std::u16string DoneStepLine(const UndoStep& step);
// The plan as a person reads it: what run, then one line per change, its
// file named within the run's new installation.
std::vector<std::u16string> PlanLines(const UndoPlan& plan);
// The closing line for the log: the run taken back, or why none was.
std::u16string OutcomeLine(const UndoPlan& plan);

}  // namespace transfer
