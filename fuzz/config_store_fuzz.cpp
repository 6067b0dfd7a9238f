// Any bytes as a configuration store file: read and checked, or refused with a file:line message.
// A store the reader takes, edited and written again, is one the reader takes again: the writer
// never writes what the reader refuses.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/config/config_store.h"
#include "platform/config/store_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const zpv::config::LoadResult loaded = zpv::config::ParseStore(text, "fuzz.xml");
    if (!loaded.error.empty()) {
        if (loaded.error.rfind("fuzz.xml", 0) != 0) std::abort();  // every refusal names the file
        return 0;
    }
    loaded.store.FindSession("S");
    zpv::config::StoreEdit edit(text, "fuzz.xml");
    edit.EnsureModule("ZPV4870", "OutputPhase", "OutputPhase1");
    edit.Set("HardwareAsset", "Fuzz", "resourceDescriptor", "TCPIP0::10.0.0.1::5025::SOCKET");
    edit.Set("DriverSession", "Fuzz", "hardwareAsset", "Fuzz");
    edit.SetInitialSetting("Fuzz", "Model", "String", "ZPV-4803-Advanced");
    const zpv::config::LoadResult again = zpv::config::ParseStore(edit.Text(), "fuzz.xml");
    if (!again.error.empty()) {
        std::fprintf(stderr, "the edited store no longer reads: %s\n", again.error.c_str());
        std::abort();
    }
    return 0;
}
