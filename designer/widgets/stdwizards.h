#pragma once
// The four report wizards of the designer's "New..." gallery: the standard and dot-matrix
// report wizards, and the empty standard and dot-matrix reports.
#include "report/seams/kvlwizard.h"

class TkvlStdWizard : public TkvlCustomWizard {
    LIRRA_CLASS(TkvlStdWizard, TkvlCustomWizard)
public:
    explicit TkvlStdWizard(TComponent *AOwner) : TkvlCustomWizard(AOwner) {}
    bool Execute() override;
};

class TkvlDotMatrixWizard : public TkvlCustomWizard {
    LIRRA_CLASS(TkvlDotMatrixWizard, TkvlCustomWizard)
public:
    explicit TkvlDotMatrixWizard(TComponent *AOwner) : TkvlCustomWizard(AOwner) {}
    bool Execute() override;
};

class TkvlStdEmptyWizard : public TkvlCustomWizard {
    LIRRA_CLASS(TkvlStdEmptyWizard, TkvlCustomWizard)
public:
    explicit TkvlStdEmptyWizard(TComponent *AOwner) : TkvlCustomWizard(AOwner) {}
    bool Execute() override;
};

class TkvlDMPEmptyWizard : public TkvlCustomWizard {
    LIRRA_CLASS(TkvlDMPEmptyWizard, TkvlCustomWizard)
public:
    explicit TkvlDMPEmptyWizard(TComponent *AOwner) : TkvlCustomWizard(AOwner) {}
    bool Execute() override;
};

// Start-up: the four enter the wizard registry in the gallery's order (a class already there
// is skipped); shutdown takes them out again.
void kvlRegisterStdWizards();
void kvlUnregisterStdWizards();
