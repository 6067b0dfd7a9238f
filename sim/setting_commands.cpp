#include "handlers.h"
#include "output_model.h"
#include "parameter_type.h"

namespace zpv::sim {

void StoredSetting(Call& call) {
    SettingValues* values = call.state.ValuesFor(call.row.scope);
    if (!values) return call.Fail(kSettingsConflict);  // no list sequence to edit
    if (call.IsQuery()) return call.Answer(values->Get(call.row));
    const Parameter& param = call.Param(0);
    std::optional<std::string> canonical = param.quoted ? std::nullopt : Canonical(*call.row.type, param.text);
    if (!canonical) return call.Fail(kIllegalParameterValue);
    values->Set(call.row, std::move(*canonical));
}

void OutputState(Call& call) {
    const bool wasOn = OutputOn(call.state);
    StoredSetting(call);
    if (call.IsQuery() || call.error || wasOn || !OutputOn(call.state)) return;
    call.state.outputOnSince = std::chrono::steady_clock::now();
    if (call.state.global.Get("OUTP:MODE") == "LIST") PlayListProgram(call.state);
}

}  // namespace zpv::sim
