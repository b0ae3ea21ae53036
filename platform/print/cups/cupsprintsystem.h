#pragma once
// The print system of a desktop: CUPS queues through Qt's print support and libcups, with
// Qt's print dialog as the printer's settings dialog.

namespace print {

// Installs the CUPS print system and its dialog for the whole program; called once at
// start-up (and by tests of real queues).
void installCupsPrintSystem();

} // namespace print
