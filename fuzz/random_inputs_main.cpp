// Runs a fuzz target without a fuzzing engine: the sample inputs, then pseudo-random mutations of
// them for a fixed number of rounds, so every test run (under the sanitizers too) replays the same
// hostile inputs.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

const std::vector<std::string> kSamples = {
    "", "59.999999999999\n", "+0,\"No error\"\n", "HIGH\r\n", "#15HELLO\n", "#0raw bytes\n", "1,2,3,4\n",
    "\"quoted, text\"\n", "#9999999999\n", "OutputPhase1", "A1-A3", "[A,B]:C", "A:B,C", "Simulate=true, DriverSetup=Model=X",
    "driversetup  =NumPhases:3", "1e400\n", "-\n", "0x1F\n", "\xff\xfe\x00\x01", "#",
    "*IDN?;*OPC?\n", "OUTP:FREQ 50;FREQ?\n", "MAN:CURR:HIGH 5;DEL 0.5;:MAN:COUP?\n", "LIST:VOLT 1,2,3;:LIST:VOLT?\n",
    "SIM:BLOCK? 10\r\n", "LIST:FILE:ADD \"a\"\"b\";:SYST:ERR?\n", "SYST:ALAR 1;SYST:ALAR 1\n",
    // A configuration store and a list program, for the readers of those files.
    "<?xml version=\"1.0\"?>\n<IviConfigurationStore>\n  <SoftwareModule name=\"ZPV4870\"/>\n"
    "  <HardwareAsset name=\"A\" resourceDescriptor=\"TCPIP0::10.0.0.1::5025::SOCKET\"/>\n"
    "  <DriverSession name=\"S\" softwareModule=\"ZPV4870\" hardwareAsset=\"A\" simulate=\"true\">\n"
    "    <VirtualName name=\"P\" mapTo=\"OutputPhase\"><Range min=\"1\" max=\"3\" startingPhysicalIndex=\"1\"/></VirtualName>\n"
    "    <Structure name=\"Configurable Initial Settings\"><Item name=\"Model\" type=\"String\" value=\"M\"/>"
    "<Structure name=\"N\"><Item name=\"I\" type=\"Integer\" value=\"3\"/></Structure></Structure>\n"
    "  </DriverSession>\n  <LogicalName name=\"L\" session=\"S\"/>\n</IviConfigurationStore>\n",
    "<!DOCTYPE s [<!ENTITY e \"x\">]><IviConfigurationStore><HardwareAsset name=\"&e;&#0;&amp;\"/></IviConfigurationStore>",
    "program:\n  base: time\n  count: 1\nsequences:\n  - voltage_ac_start: 0\n    voltage_ac_end: 115\n"
    "    frequency_start: 60\n    time: 2\n  - {voltage_ac_start: 5, time: 1e999}\n",
    "sequences: [[[[{? [a]: b}]]]]\n", "&a [*a, *a]\n",
};

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 20000;
    std::mt19937 random(4870);
    for (const std::string& sample : kSamples)
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(sample.data()), sample.size());
    for (int round = 0; round < rounds; ++round) {
        std::string input = kSamples[random() % kSamples.size()];
        const int edits = 1 + static_cast<int>(random() % 8);
        for (int e = 0; e < edits; ++e) {
            const std::size_t at = input.empty() ? 0 : random() % (input.size() + 1);
            switch (random() % 4) {
                case 0: input.insert(input.begin() + static_cast<long>(at), static_cast<char>(random())); break;
                case 1: if (at < input.size()) input.erase(at, 1); break;
                case 2: if (at < input.size()) input[at] = static_cast<char>(random()); break;
                default: input.insert(at, kSamples[random() % kSamples.size()]); break;
            }
        }
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(input.data()), input.size());
    }
    std::printf("%d rounds\n", rounds);
    return 0;
}
