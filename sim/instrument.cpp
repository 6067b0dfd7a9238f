#include "zpv4870sim/instrument.h"

#include <stdexcept>

#include "handlers.h"
#include "instrument_state.h"
#include "output_model.h"
#include "zpv4870sim/command_table.h"
#include "zpv4870sim/scpi_parser.h"

namespace zpv::sim {

namespace {

bool AvailableOn(Availability availability, Family family) {
    switch (availability) {
        case Availability::AdvancedOnly: return family == Family::Advanced;
        case Availability::StandardOnly: return family == Family::Standard;
        case Availability::AllModels: break;
    }
    return true;
}

// Checks a unit's header, form and parameter count: 0 when it may run, else a command error.
int Admit(const ProgramUnit& unit, const CommandRow* row, Family family) {
    if (unit.error) return unit.error;
    if (!row || !AvailableOn(row->availability, family) || !(row->forms & (unit.query ? kQueryForm : kSetForm)))
        return kUndefinedHeader;
    const size_t expected = unit.query ? row->queryParams : row->setParams;
    if (unit.params.size() < expected) return kMissingParameter;
    if (unit.params.size() > expected) return kParameterNotAllowed;
    return 0;
}

Identity IdentityFor(InstrumentOptions& options) {
    const std::optional<Family> family = FamilyOf(options.model);
    if (!family) throw std::invalid_argument("unknown model: " + options.model);
    return {std::move(options.model), *family, std::move(options.serial), std::move(options.firmware)};
}

}  // namespace

Instrument::Instrument(InstrumentOptions options)
    : log_(options.log),
      heldBytes_(std::make_shared<std::atomic<std::size_t>>(0)),
      state_(std::make_unique<InstrumentState>(IdentityFor(options), options.faults, options.load)) {
    state_->limits = options.limits;
    state_->heldBytes = heldBytes_;
}

void Instrument::Log(std::string_view event) {
    if (!log_) return;
    std::lock_guard lock(logMutex_);
    log_(event);
}

void Instrument::ReportError(int code) {
    std::lock_guard lock(mutex_);
    state_->status.Report(code);
}

std::shared_ptr<void> Instrument::HoldAnswer(std::size_t bytes) {
    std::lock_guard lock(mutex_);
    const std::size_t held = heldBytes_->load();
    if (bytes > state_->limits.maxAnswerBytes || held + bytes > state_->limits.maxHeldBytes) {
        state_->status.Report(kOutOfMemory);
        return nullptr;
    }
    heldBytes_->fetch_add(bytes);
    // The token points at the counter it gives back to, and keeps it alive.
    return std::shared_ptr<void>(heldBytes_.get(), [counter = heldBytes_, bytes](void*) { counter->fetch_sub(bytes); });
}

Instrument::~Instrument() = default;

std::optional<std::string> Instrument::Execute(std::string_view message) {
    std::lock_guard lock(mutex_);
    InstrumentState& state = *state_;
    std::optional<std::string> response;
    bool overflow = false;  // the answer outgrew its limit: dropped, and no more is gathered
    ScpiParser parser(message);
    for (ProgramUnit unit; parser.Next(&unit);) {
        const CommandRow* row = CommandTable::Instance().Find(unit.path);
        if (const int error = Admit(unit, row, state.identity.family)) {
            state.status.Report(error);
            break;  // a command error: the rest of the message is not trusted
        }
        Call call{state, *row, unit, {}, 0};
        try {
            row->handler(call);
        } catch (const std::bad_alloc&) {
            call.Fail(kOutOfMemory);
        }
        if (call.error && IsCommandError(call.error)) break;
        if (unit.query && !call.error && !overflow) {
            if (response) {
                *response += ';';
                *response += call.response;
            } else {
                response.emplace(std::move(call.response));  // a long answer is not copied
            }
            if (response->size() > state.limits.maxAnswerBytes) {
                overflow = true;
                response.reset();
            }
        }
    }
    CheckProtection(state);
    if (overflow) state.status.Report(kOutOfMemory);
    return response;
}

std::string Instrument::Model() const {
    std::lock_guard lock(mutex_);
    return state_->identity.model;
}

Faults Instrument::GetFaults() const {
    std::lock_guard lock(mutex_);
    return state_->faults;
}

void Instrument::SetFaults(const Faults& faults) {
    std::lock_guard lock(mutex_);
    const std::uint64_t epoch = state_->faults.dropEpoch + 1;
    state_->faults = faults;
    state_->faults.dropEpoch = epoch;
}

Load Instrument::GetLoad() const {
    std::lock_guard lock(mutex_);
    return state_->load;
}

void Instrument::SetLoad(const Load& load) {
    std::lock_guard lock(mutex_);
    state_->load = load;
}

}  // namespace zpv::sim
