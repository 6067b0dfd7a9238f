// What is running on a node object: the method info of every member and the provider that
// reports the innermost call in progress.
#pragma once

#include <string>

#include "zpv4870_runtime.h"

namespace zpv::driver {

// One record per member, built on the member's first call and kept for the process.
struct MethodInfo {
    MethodInfo(const IID& iid, const char* interfaceName, const char* methodName);

    IID iid;
    std::string interfaceName;  // "IIviDriver"
    std::string methodName;     // "get_Identifier"
    std::string displayName;    // "IIviDriverIdentity.Identifier": "get_"/"put_" removed
    bool opensTrace = false;    // IIviDriver.Initialize: the trace file opens during the call
};

class ICallContextProvider {
public:
    // The method info on top of the call context stack, or null between calls.
    virtual const MethodInfo* CurrentMethodInfo() const = 0;

protected:
    ~ICallContextProvider() = default;
};

}  // namespace zpv::driver
