#include "projfile/spi_model.h"

const std::string* SpiValueList::Next() {
    if (cursor_ == kNone || cursor_ >= values_.size()) {
        Rewind();
        return nullptr;
    }
    const std::string* value = &values_[cursor_];
    ++cursor_;
    if (cursor_ == values_.size()) {
        cursor_ = kNone;
    }
    return value;
}

const std::string& SpiOrigin::File() const {
    static const std::string none;
    return file ? *file : none;
}

void SpiDirective::StartLevel(int atLevel) {
    level = atLevel;
    values[atLevel].RemoveAll();
    origins[atLevel] = SpiOrigin();
}
