#include "setup/record_fields.h"

#include "setup/setup_store.h"

namespace pfsetup {

PinTypeFields CurrentPinTypeFields(const CPFCoreSetupAPI& store) {
    PinTypeFields pin;
    store.GetDefPinType(pin.type);
    store.GetDefPinLocation(pin.position);
    store.GetDefIil(pin.iil);
    store.GetDefIih(pin.iih);
    store.GetDefIol(pin.iol);
    store.GetDefIoh(pin.ioh);
    return pin;
}

PropertyFields CurrentPropertyFields(const CPFCoreSetupAPI& store) {
    PropertyFields property;
    store.GetPropertyName(property.name);
    store.GetPropertyValue(property.value);
    store.GetPropertyType(property.type);
    store.GetPropertyRequired(property.required);
    store.GetPropertyVisibility(property.visibility);
    store.GetPropertyAlignment(property.alignment);
    return property;
}

std::string PinTypeValue(const PinTypeFields& pin) {
    auto x = [](const std::string& load) { return load.empty() ? std::string("x") : load; };
    return x(pin.iil) + "," + x(pin.iih) + "," + x(pin.iol) + "," + x(pin.ioh) + "," + pin.position;
}

} // namespace pfsetup
