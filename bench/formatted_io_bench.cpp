// The formatted I/O engine against the C library doing the same work: rendering a frequency
// command into the write buffer next to snprintf, and parsing its answer next to strtod.
#include <benchmark/benchmark.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "keywords/enum_command_maps.h"
#include "errors/zpv4870_error_reporter.h"
#include "io/formatted_io.h"
#include "io/instr_buffer.h"

namespace {

using namespace zpv;

constexpr double kFrequency = 59.999999999999;
constexpr char kAnswer[] = "59.999999999999\n";

// Takes every write and answers every read with the same response, ended with END.
class LoopbackTransport final : public io::ILowLevelIo {
public:
    HRESULT Read(BYTE* buffer, LONG count, LONG* actual, LONG) override {
        const LONG n = std::min<LONG>(count, sizeof kAnswer - 1);
        std::memcpy(buffer, kAnswer, static_cast<std::size_t>(n));
        *actual = n;
        return S_OK;
    }
    HRESULT Write(const BYTE*, LONG count, LONG* written, LONG) override {
        *written = count;
        return S_OK;
    }
    HRESULT GetAttributes(io::SessionAttributes* value) override { return *value = {}, S_OK; }
    HRESULT SetAttributes(const io::SessionAttributes&) override { return S_OK; }
};

struct Engine {
    LoopbackTransport transport;
    errors::CZPV4870ErrorReporter reporter{nullptr};
    std::unique_ptr<io::CInstrBuffer> buffer = io::CInstrBuffer::Create(transport, reporter, "\n", "\n");
    io::FormatServices services{&reporter, &keywords::CEnumCommandMaps::Instance(), nullptr};

    HRESULT Render(const char* format, ...) {
        va_list args;
        va_start(args, format);
        const HRESULT hr = io::FormattedOutputV(buffer.get(), format, args, services);
        va_end(args);
        return hr;
    }
    HRESULT Parse(const char* format, ...) {
        va_list args;
        va_start(args, format);
        const HRESULT hr = io::FormattedInputV(buffer.get(), format, args, services);
        va_end(args);
        return hr;
    }
};

void RenderCommand(benchmark::State& state) {
    Engine engine;
    for (auto _ : state) {
        double frequency = kFrequency;
        benchmark::DoNotOptimize(frequency);
        engine.Render("OUTP:FREQ %0.15lg", frequency);
        engine.buffer->FlushWrite(true);
    }
}
BENCHMARK(RenderCommand);

void SnprintfCommand(benchmark::State& state) {
    char command[64];
    for (auto _ : state) {
        double frequency = kFrequency;
        benchmark::DoNotOptimize(frequency);
        std::snprintf(command, sizeof command, "OUTP:FREQ %0.15lg", frequency);
        benchmark::DoNotOptimize(command);
    }
}
BENCHMARK(SnprintfCommand);

void ParseAnswer(benchmark::State& state) {
    Engine engine;
    double value = 0;
    for (auto _ : state) {
        engine.Parse("%lg", &value);
        benchmark::DoNotOptimize(value);
    }
    if (value != kFrequency) state.SkipWithError("wrong value parsed");
}
BENCHMARK(ParseAnswer);

void StrtodAnswer(benchmark::State& state) {
    char answer[sizeof kAnswer];
    std::memcpy(answer, kAnswer, sizeof kAnswer);
    for (auto _ : state) {
        benchmark::DoNotOptimize(answer);
        double value = std::strtod(answer, nullptr);
        benchmark::DoNotOptimize(value);
    }
}
BENCHMARK(StrtodAnswer);

// Both halves of one exchange, next to both halves done by the C library.
void RenderAndParse(benchmark::State& state) {
    Engine engine;
    double value = 0;
    for (auto _ : state) {
        double frequency = kFrequency;
        benchmark::DoNotOptimize(frequency);
        engine.Render("OUTP:FREQ %0.15lg", frequency);
        engine.buffer->FlushWrite(true);
        engine.Parse("%lg", &value);
        benchmark::DoNotOptimize(value);
    }
}
BENCHMARK(RenderAndParse);

void SnprintfAndStrtod(benchmark::State& state) {
    char command[64];
    char answer[sizeof kAnswer];
    std::memcpy(answer, kAnswer, sizeof kAnswer);
    for (auto _ : state) {
        double frequency = kFrequency;
        benchmark::DoNotOptimize(frequency);
        std::snprintf(command, sizeof command, "OUTP:FREQ %0.15lg", frequency);
        benchmark::DoNotOptimize(command);
        benchmark::DoNotOptimize(answer);
        double value = std::strtod(answer, nullptr);
        benchmark::DoNotOptimize(value);
    }
}
BENCHMARK(SnprintfAndStrtod);

}  // namespace

BENCHMARK_MAIN();
