// Shared pieces of the I/O tests: a reporter whose published texts can be read back, and the
// driver-side hooks a session calls.
#pragma once

#include <string>
#include <string_view>

#include "errors/error_test_support.h"
#include "errors/zpv4870_error_reporter.h"
#include "io/enum_lookup_context.h"
#include "io/instr_error_poller.h"

namespace zpv::test {

// The description the last report published on this thread ("" when none).
inline std::string LastErrorText() {
    const errors::test::Published published = errors::test::TakeErrorInfo();
    return published.description.value_or("");
}

inline constexpr HRESULT kIoErrorStatus = ZPV_HR(0x80044214);
inline constexpr HRESULT kNotConnectedStatus = ZPV_HR(0x8004701D);

struct FixedEnumContext final : io::IEnumLookupContext {
    std::string context;
    std::string model = "ZPV-4832-Standard";
    std::string_view CurrentCallContext() const override { return context; }
    std::string_view InstrumentModel() const override { return model; }
};

struct CountingPoller final : io::IInstrErrorPoller {
    int polls = 0;
    HRESULT status = S_OK;
    HRESULT PollInstrumentStatus() override {
        ++polls;
        return status;
    }
};

}  // namespace zpv::test
