#pragma once
// Start-up: the view classes enter the class registry (templates create them by name) and
// the check box enters the designer's palette.
void kvlRegisterViewClasses();
