#pragma once
// Base of the report wizards, found through the wizard registry and created with the
// designer as owner.
#include "platform/rtl/reflect/component.h"

#include <QString>

class TkvlReport;
class TkvlCustomDesigner;

class TkvlCustomWizard : public TComponent {
    LIRRA_CLASS(TkvlCustomWizard, TComponent)
public:
    // Takes the designer and its report from the owner (both nil for another owner).
    explicit TkvlCustomWizard(TComponent *AOwner);

    TkvlCustomDesigner *Designer() const { return FDesigner; }
    TkvlReport *Report() const { return FReport; }

    // The wizard's description (a class operation; empty for the base).
    QString GetDescription() const { return ClassType()->description(); }
    virtual bool Execute() = 0;

private:
    TkvlCustomDesigner *FDesigner;
    TkvlReport *FReport;
};
