#include "instrument_state.h"

namespace zpv::sim {

namespace {

std::array<FileStore, kModeCount> FreshFileStores() {
    return {FileStore(Scope::ManualFile), FileStore(Scope::StepFile), FileStore(Scope::PulseFile),
            FileStore(Scope::ListFile)};
}

}  // namespace

InstrumentState::InstrumentState(Identity id, const Faults& f, const Load& l)
    : identity(std::move(id)), faults(f), load(l), global(Scope::Global), files(FreshFileStores()) {}

void InstrumentState::Reset() {
    global = SettingValues(Scope::Global);
    files = FreshFileStores();
    results.clear();
    listRuns = 0;
    overCurrent = false;
}

SettingValues* InstrumentState::ValuesFor(Scope scope) {
    switch (scope) {
        case Scope::Global: return &global;
        case Scope::ManualFile: return &Files(Mode::Manual).Edited().settings;
        case Scope::StepFile: return &Files(Mode::Step).Edited().settings;
        case Scope::PulseFile: return &Files(Mode::Pulse).Edited().settings;
        case Scope::ListFile: return &Files(Mode::List).Edited().settings;
        case Scope::ListSequence: return Files(Mode::List).Edited().sequences.SelectedValues();
        case Scope::None: break;
    }
    return nullptr;
}

}  // namespace zpv::sim
