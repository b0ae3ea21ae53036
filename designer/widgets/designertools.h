#pragma once
// The designer's standard tool windows in its window: the object inspector docked on the
// right, the data tree and the report tree on the left, each refreshed by the window's hooks.
class TkvlDesignerForm;

void kvlAttachToolWindows(TkvlDesignerForm *Form);
