#include "sequence_list.h"

namespace zpv::sim {

bool SequenceList::Add() {
    if (sequences_.size() >= kCapacity) return false;
    sequences_.emplace_back(Scope::ListSequence);
    selected_ = sequences_.size();
    return true;
}

bool SequenceList::Select(long long number) {
    if (!Exists(number)) return false;
    selected_ = static_cast<size_t>(number);
    return true;
}

bool SequenceList::CopyFrom(long long number) {
    if (!Exists(number) || !selected_) return false;
    sequences_[selected_ - 1] = sequences_[number - 1];
    return true;
}

bool SequenceList::Delete(long long number) {
    if (!Exists(number)) return false;
    sequences_.erase(sequences_.begin() + (number - 1));
    // The selection stays on the same sequence, or on the one that took the deleted one's place.
    if (selected_ > static_cast<size_t>(number) || selected_ > sequences_.size()) --selected_;
    return true;
}

}  // namespace zpv::sim
