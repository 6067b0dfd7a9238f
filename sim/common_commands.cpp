#include "handlers.h"
#include "zpv4870sim/models.h"

namespace zpv::sim {

void Identify(Call& call) {
    const Identity& id = call.state.identity;
    call.Answer(std::string(kManufacturer) + "," + id.model + "," + id.serial + "," + id.firmware);
}

void ResetInstrument(Call& call) { call.state.Reset(); }

// Every command completes before the next is read, so the operation is always complete.
void OperationComplete(Call& call) {
    if (call.IsQuery()) return call.Answer("1");
    call.state.status.SetEvents(kOperationComplete);
}

void SelfTest(Call& call) { call.Answer("0"); }

void ClearStatus(Call& call) { call.state.status.Clear(); }

void EventStatusRegister(Call& call) { call.Answer(std::to_string(call.state.status.ReadAndClear())); }

void EventStatusEnable(Call& call) {
    int& mask = call.state.status.eventEnable;
    if (call.IsQuery()) return call.Answer(std::to_string(mask));
    if (auto value = call.IntegerParam(0, 0, 255)) mask = static_cast<int>(*value);
}

void StatusByte(Call& call) { call.Answer(std::to_string(call.state.status.StatusByte())); }

void ServiceRequestEnable(Call& call) {
    int& mask = call.state.status.serviceEnable;
    if (call.IsQuery()) return call.Answer(std::to_string(mask));
    if (auto value = call.IntegerParam(0, 0, 255)) mask = static_cast<int>(*value) & ~64;
}

void Wait(Call&) {}

void NextError(Call& call) { call.Answer(call.state.status.NextError()); }

}  // namespace zpv::sim
