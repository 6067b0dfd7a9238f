// A VXI-11 client we did not write, pyvisa-py, talks to our VXI-11 server through our portmapper.
// Skipped when python3-pyvisa-py is not installed.
#include <cstdio>
#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include "zpv4870sim/portmapper.h"
#include "zpv4870sim/vxi11_server.h"

namespace zpv::sim {
namespace {

// pyvisa-py asks the portmapper on port 111; its module constant is moved to ours.
constexpr const char* kScript = R"(
import sys
import pyvisa_py.protocols.rpc as rpc
rpc.PMAP_PORT = int(sys.argv[1])
import pyvisa
rm = pyvisa.ResourceManager('@py')
inst = rm.open_resource('TCPIP::127.0.0.1::INSTR', read_termination='\n', write_termination='\n', timeout=5000)
print('identity', inst.query('*IDN?'))
inst.write('OUTP:FREQ 55')
print('frequency', inst.query('OUTP:FREQ?'))
inst.clear()
print('status', inst.read_stb())
print('block', len(inst.query_binary_values('SIM:BLOCK? 100000', datatype='B', container=bytes)))
inst.close()
)";

std::string RunCommand(const std::string& command) {
    std::string output;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char chunk[4096];
        for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, pipe)) > 0;) output.append(chunk, n);
        ::pclose(pipe);
    }
    return output;
}

// The first interpreter that has pyvisa-py: the one on the path, else the system's, where the
// Debian package puts it.
std::string PythonWithPyvisa() {
    for (const char* python : {"python3", "/usr/bin/python3"})
        if (std::system((std::string(python) + " -c 'import pyvisa, pyvisa_py' >/dev/null 2>&1").c_str()) == 0)
            return python;
    return {};
}

TEST(SimVxi11Interop, PyvisaPyReadsIdentitySetsAndQueriesAValue) {
    const std::string python = PythonWithPyvisa();
    if (python.empty())
        GTEST_SKIP() << "python3-pyvisa-py is not installed (apt-get install python3-pyvisa-py): "
                        "the check against a VXI-11 client we did not write is skipped";
    Instrument instrument;
    Vxi11Server server(instrument);
    server.Start(0);
    Portmapper portmapper;
    portmapper.Start(0);
    portmapper.Set(Vxi11Server::kCoreProgram, Vxi11Server::kVersion, Portmapper::kTcp, server.Port());

    const std::string script = ::testing::TempDir() + "zpv_pyvisa_check.py";
    FILE* file = std::fopen(script.c_str(), "w");
    ASSERT_NE(file, nullptr);
    std::fputs(kScript, file);
    std::fclose(file);
    const std::string output =
        RunCommand("timeout 60 " + python + " " + script + " " + std::to_string(portmapper.Port()) + " 2>&1");
    std::remove(script.c_str());

    EXPECT_NE(output.find("identity Kaltrix,"), std::string::npos) << output;
    EXPECT_NE(output.find("frequency 55\n"), std::string::npos) << output;
    EXPECT_NE(output.find("status 0\n"), std::string::npos) << output;
    EXPECT_NE(output.find("block 100000\n"), std::string::npos) << output;
    EXPECT_EQ(server.LinkCount(), 0u) << "pyvisa-py destroyed its link";
}

}  // namespace
}  // namespace zpv::sim
