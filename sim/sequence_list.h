// The sequences of one list program and the one being edited. Sequences are numbered from 1.
#pragma once

#include <cstddef>
#include <vector>

#include "setting_values.h"

namespace zpv::sim {

class SequenceList {
public:
    static constexpr size_t kCapacity = 100;

    // Appends a sequence at its defaults and selects it for editing; false when full.
    bool Add();
    bool Select(long long number);
    // Copies the settings of sequence `number` into the one being edited.
    bool CopyFrom(long long number);
    bool Delete(long long number);

    size_t Selected() const { return selected_; }  // 0: none
    size_t Total() const { return sequences_.size(); }
    SettingValues* SelectedValues() { return selected_ ? &sequences_[selected_ - 1] : nullptr; }
    const std::vector<SettingValues>& All() const { return sequences_; }

private:
    bool Exists(long long number) const { return number >= 1 && static_cast<size_t>(number) <= sequences_.size(); }

    std::vector<SettingValues> sequences_;
    size_t selected_ = 0;
};

}  // namespace zpv::sim
