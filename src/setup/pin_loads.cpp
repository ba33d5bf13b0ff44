#include "setup/setup_store.h"

#include "base/ascii_text.h"
#include "setup/setting_rules.h"
#include "setup/setting_tables.h"

#include <utility>

void CPFCoreSetupAPI::BuildPinTable() {
    for (const pfsetup::PinTypeRow& type : pfsetup::kPinTypes) {
        auto record = std::make_unique<CPFCoreSetupPinLoad>(type.name);
        record->Position = type.position;
        record->Iil = type.loads[0];
        record->Iih = type.loads[1];
        record->Iol = type.loads[2];
        record->Ioh = type.loads[3];
        PinLoads.push_back(std::move(record));
    }
}

CPFCoreSetupPinLoad* CPFCoreSetupAPI::CurrentPinRecord() const {
    return CurrentPin == PinLoads.end() ? nullptr : CurrentPin->get();
}

int CPFCoreSetupAPI::SetCurrentPinByValue(const std::string& pinType) {
    CurrentPin = PinLoads.end();
    for (auto node = PinLoads.begin(); node != PinLoads.end(); ++node) {
        if (pfsetup::EqualsIgnoreCase((*node)->PinType, pinType)) {
            CurrentPin = node;
            return 1;
        }
    }
    return 0;
}

int CPFCoreSetupAPI::InitPinIteration() {
    CurrentPin = PinLoads.end();
    return 1;
}

int CPFCoreSetupAPI::GetNextPin() {
    if (CurrentPin == PinLoads.end()) {
        PinIterPos = PinLoads.begin();
    }
    if (PinIterPos == PinLoads.end()) {
        return 0;
    }
    CurrentPin = PinIterPos++;
    return 1;
}

int CPFCoreSetupAPI::GetDefPinType(std::string& pinType) const {
    const CPFCoreSetupPinLoad* record = CurrentPinRecord();
    if (record == nullptr) {
        pinType = "UNDEFINED";
        return 0;
    }
    pinType = record->PinType;
    return 1;
}

int CPFCoreSetupAPI::PutDefPinType(std::string pinType) {
    CPFCoreSetupPinLoad* record = CurrentPinRecord();
    if (record == nullptr || pfsetup::SettingNameProblem(pinType) != nullptr) {
        return 0;
    }
    for (const auto& other : PinLoads) {
        if (other.get() != record && pfsetup::EqualsIgnoreCase(other->PinType, pinType)) {
            return 0;
        }
    }
    record->PinType = std::move(pinType);
    return 1;
}

int CPFCoreSetupAPI::GetDefPinLocation(PFPinPosition& position) const {
    const CPFCoreSetupPinLoad* record = CurrentPinRecord();
    if (record == nullptr) {
        return 0;
    }
    position = record->Position;
    return 1;
}

int CPFCoreSetupAPI::GetDefPinLocation(std::string& position) const {
    const CPFCoreSetupPinLoad* record = CurrentPinRecord();
    if (record == nullptr) {
        return 0;
    }
    if (const char* text = pfsetup::WordList(pfsetup::kPositionWords).TextOf(record->Position)) {
        position = text;
    }
    return 1;
}

int CPFCoreSetupAPI::PutDefPinLocation(PFPinPosition position) {
    CPFCoreSetupPinLoad* record = CurrentPinRecord();
    if (record == nullptr) {
        return 0;
    }
    record->Position = position;
    return 1;
}

int CPFCoreSetupAPI::PutDefPinLocation(std::string position) {
    CPFCoreSetupPinLoad* record = CurrentPinRecord();
    if (record == nullptr) {
        return 0;
    }
    const pfsetup::SettingWord* word = pfsetup::WordList(pfsetup::kPositionWords).Find(position);
    if (word == nullptr) {
        return 0;
    }
    record->Position = static_cast<PFPinPosition>(word->value);
    return 1;
}

int CPFCoreSetupAPI::GetLoad(std::string CPFCoreSetupPinLoad::*field, std::string& load) const {
    const CPFCoreSetupPinLoad* record = CurrentPinRecord();
    if (record == nullptr) {
        return 0;
    }
    load = record->*field;
    return 1;
}

int CPFCoreSetupAPI::PutLoad(std::string CPFCoreSetupPinLoad::*field, std::string load) {
    CPFCoreSetupPinLoad* record = CurrentPinRecord();
    if (record == nullptr || pfsetup::PinLoadProblem(load) != nullptr) {
        return 0;
    }
    int quotes = pfsetup::QuoteKinds(load);
    for (std::string CPFCoreSetupPinLoad::*other :
         {&CPFCoreSetupPinLoad::Iil, &CPFCoreSetupPinLoad::Iih, &CPFCoreSetupPinLoad::Iol,
          &CPFCoreSetupPinLoad::Ioh}) {
        if (other != field) {
            quotes |= pfsetup::QuoteKinds(record->*other);
        }
    }
    if (quotes == 3) {
        return 0;
    }
    record->*field = std::move(load);
    return 1;
}

int CPFCoreSetupAPI::GetDefIil(std::string& load) const {
    return GetLoad(&CPFCoreSetupPinLoad::Iil, load);
}
int CPFCoreSetupAPI::GetDefIih(std::string& load) const {
    return GetLoad(&CPFCoreSetupPinLoad::Iih, load);
}
int CPFCoreSetupAPI::GetDefIol(std::string& load) const {
    return GetLoad(&CPFCoreSetupPinLoad::Iol, load);
}
int CPFCoreSetupAPI::GetDefIoh(std::string& load) const {
    return GetLoad(&CPFCoreSetupPinLoad::Ioh, load);
}
int CPFCoreSetupAPI::PutDefIil(std::string load) {
    return PutLoad(&CPFCoreSetupPinLoad::Iil, std::move(load));
}
int CPFCoreSetupAPI::PutDefIih(std::string load) {
    return PutLoad(&CPFCoreSetupPinLoad::Iih, std::move(load));
}
int CPFCoreSetupAPI::PutDefIol(std::string load) {
    return PutLoad(&CPFCoreSetupPinLoad::Iol, std::move(load));
}
int CPFCoreSetupAPI::PutDefIoh(std::string load) {
    return PutLoad(&CPFCoreSetupPinLoad::Ioh, std::move(load));
}
