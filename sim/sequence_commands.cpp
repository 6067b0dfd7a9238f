#include "handlers.h"

namespace zpv::sim {

namespace {

SequenceList& Sequences(Call& call) { return call.state.Files(Mode::List).Edited().sequences; }

void Check(Call& call, bool done) {
    if (!done) call.Fail(kIllegalParameterValue);
}

}  // namespace

void SequenceAdd(Call& call) { Check(call, Sequences(call).Add()); }

void SequenceEdit(Call& call) {
    if (call.IsQuery()) return call.Answer(std::to_string(Sequences(call).Selected()));
    if (auto number = call.IntegerParam(0, 1, SequenceList::kCapacity)) Check(call, Sequences(call).Select(*number));
}

void SequenceCopy(Call& call) {
    if (!Sequences(call).Selected()) return call.Fail(kSettingsConflict);
    if (auto number = call.IntegerParam(0, 1, SequenceList::kCapacity)) Check(call, Sequences(call).CopyFrom(*number));
}

void SequenceDelete(Call& call) {
    if (auto number = call.IntegerParam(0, 1, SequenceList::kCapacity)) Check(call, Sequences(call).Delete(*number));
}

void SequenceTotal(Call& call) { call.Answer(std::to_string(Sequences(call).Total())); }

}  // namespace zpv::sim
