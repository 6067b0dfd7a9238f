// Everything the simulated instrument remembers, guarded by the Instrument's lock.
#pragma once

#include <atomic>
#include <memory>

#include <array>
#include <chrono>
#include <string>
#include <vector>

#include "event_status.h"
#include "file_store.h"
#include "measurement.h"
#include "setting_values.h"
#include "zpv4870sim/faults.h"
#include "zpv4870sim/load.h"
#include "zpv4870sim/answer_limits.h"
#include "zpv4870sim/models.h"

namespace zpv::sim {

// Modes that keep setting files; also the order of InstrumentState::files.
enum class Mode { Manual, Step, Pulse, List };
inline constexpr size_t kModeCount = 4;

struct Identity {
    std::string model;
    Family family;
    std::string serial;
    std::string firmware;
};

struct InstrumentState {
    InstrumentState(Identity identity, const Faults& faults, const Load& load);

    // *RST: settings, files, list programs and results back to their defaults. Identity, status
    // registers, error queue and the simulator's own faults and load stay.
    void Reset();

    // The values a stored setting of `scope` reads and writes; nullptr when the list program being
    // edited has no sequence.
    SettingValues* ValuesFor(Scope scope);
    FileStore& Files(Mode mode) { return files[static_cast<size_t>(mode)]; }
    const FileStore& Files(Mode mode) const { return files[static_cast<size_t>(mode)]; }

    Identity identity;
    Faults faults;
    Load load;
    AnswerLimits limits;
    std::shared_ptr<const std::atomic<std::size_t>> heldBytes;  // answers held by the connections
    EventStatus status;

    SettingValues global;
    std::array<FileStore, kModeCount> files;
    std::vector<Quantities> results;  // one per sequence of the last list run
    int listRuns = 0;
    bool overCurrent = false;  // tripped; latched until the protections are cleared
    std::chrono::steady_clock::time_point outputOnSince;
};

}  // namespace zpv::sim
