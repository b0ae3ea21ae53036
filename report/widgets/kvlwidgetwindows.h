#pragma once
// Start-up: the report library's windows become the ones its code shows, and the texts they
// show are registered.
void kvlInstallWidgetWindows();
