#include "setup/setup_records.h"

#include <utility>

// A new pin type goes on the left until its defaults are applied.
CPFCoreSetupPinLoad::CPFCoreSetupPinLoad() : Position(PFLeft) {}

CPFCoreSetupPinLoad::CPFCoreSetupPinLoad(std::string pinType)
    : Position(PFLeft), PinType(std::move(pinType)) {}

// Every caller sets type, required, visibility and alignment right after creation; zero marks
// an attribute that was never set.
CPFCoreSetupProperty::CPFCoreSetupProperty()
    : Type(0), Required(0), Visibility(static_cast<PFPropertyVisibility>(0)),
      Alignment(static_cast<PFPropertyAlignment>(0)) {}

CPFCoreSetupProperty::CPFCoreSetupProperty(std::string name) : CPFCoreSetupProperty() {
    Name = std::move(name);
}
