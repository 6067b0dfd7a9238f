// The list program on the modern C++ face: three sequences built, run in list mode, and each
// sequence's results read back as records.
//
//   list_program_cpp <resource>        e.g. TCPIP0::127.0.0.1::5025::SOCKET
#include <cstdio>

#include "zpv4870/driver.hpp"

namespace {

struct SequenceSetting {
    double voltageStart, voltageEnd, frequency, seconds, currentHigh;
};
constexpr SequenceSetting kSequences[] = {
    {0.0, 115.0, 60.0, 2.0, 6.0},    // ramp up
    {115.0, 115.0, 60.0, 5.0, 5.0},  // dwell
    {230.0, 230.0, 50.0, 3.0, 3.0},  // step to 230 V / 50 Hz
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <resource descriptor>\n", argv[0]);
        return 2;
    }
    try {
        zpv4870::Driver drv{argv[1], {.reset = true, .options = "QueryInstrStatus=true"}};
        auto program = drv.list_mode().program();
        auto sequence = drv.list_mode().sequence();
        std::printf("Building the list program on the C++ face\n");
        program.base(zpv4870::Base::Time);
        program.trigger(zpv4870::Trigger::AUTO);
        program.count(1);
        const std::int32_t existing = sequence.get_total_sequence();
        std::int32_t index = 0;
        for (const SequenceSetting& s : kSequences) {
            if (++index > existing) sequence.add();
            sequence.edit(index);
            sequence.waveform(zpv4870::Waveform::SINE);
            sequence.voltage_ac_start(s.voltageStart);
            sequence.voltage_ac_end(s.voltageEnd);
            sequence.frequency_start(s.frequency);
            sequence.frequency_end(s.frequency);
            sequence.time_unit(zpv4870::TimeUnit::Second);
            sequence.time(s.seconds);
            sequence.current_high_limit(s.currentHigh);
        }
        std::printf("Running it\n");
        drv.execution().set_operation_mode(zpv4870::OperationMode::List);
        drv.execution().set_output_enable(zpv4870::Output::ON);
        drv.execution().set_output_enable(zpv4870::Output::OFF);
        auto results = drv.result();
        for (std::int32_t i = 1, total = results.total_sequence(); i <= total; ++i) {
            results.sequence_index(i);
            const zpv4870::Readings r = results.get_all();
            std::printf("  %d: %.1f V, %.2f A, %.1f W, %.1f Hz\n", i, r.voltage, r.current, r.power, r.frequency);
        }
        return 0;
    } catch (const zpv4870::Error& e) {
        std::fprintf(stderr, "failed (0x%08X): %s\n", static_cast<unsigned>(e.status()), e.what());
        return 1;
    }
}
