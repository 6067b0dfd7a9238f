// The output check on the modern C++ face: open with an identity check and a reset, set voltage,
// frequency and current limit, switch the output on, read everything back and ask the instrument
// for errors.
//
//   output_check_cpp <resource>        e.g. TCPIP0::127.0.0.1::5025::SOCKET
#include <cstdio>

#include "zpv4870/driver.hpp"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <resource descriptor>\n", argv[0]);
        return 2;
    }
    try {
        zpv4870::Driver drv{argv[1], {.reset = true, .options = "QueryInstrStatus=true"}};
        std::printf("Instrument %s %s, firmware %s\n", drv.manufacturer().c_str(), drv.model().c_str(),
                    drv.firmware_revision().c_str());
        auto phase = drv.output_phases().phase(1);
        phase.voltage_level(230.0);
        drv.manual_mode().frequency(50.0);
        phase.current_limit(4.5);
        phase.enabled(true);
        std::printf("Output %s: %.1f V, %.1f Hz, current limit %.2f A\n", phase.enabled() ? "on" : "off",
                    phase.voltage_level(), drv.manual_mode().frequency(), phase.current_limit());
        const zpv4870::Readings r = drv.measure().all();
        std::printf("Measured: %.1f V, %.2f A, %.1f W, PF %.2f\n", r.voltage, r.current, r.power, r.power_factor);
        // A refused value comes back as a result instead of an exception when asked so.
        if (const auto refused = drv.system().try_alarm(12); !refused)
            std::printf("Alarm 12 refused: %s\n", refused.error().what());
        const auto [code, message] = drv.error_query();
        std::printf("Instrument error queue: %d, \"%s\"\n", code, message.c_str());
        return code == 0 ? 0 : 1;
    } catch (const zpv4870::Error& e) {
        std::fprintf(stderr, "failed (0x%08X): %s\n", static_cast<unsigned>(e.status()), e.what());
        return 1;
    }
}
