// A node object of the driver tree (the driver itself and the output phase objects): it keeps its
// own call context stack, simulated value store and the table of repeated capabilities it owns.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "core/simulated_value_store.h"
#include "context/call_context.h"
#include "context/call_context_stack.h"
#include "zpv4870_runtime.h"

namespace zpv::repcap {
class CRepCap;
}

namespace zpv::driver {

// One kind of repeated capability a node owns.
struct RepCapInfo {
    const char* className;  // key of the collection, e.g. "ZPV4870OutputPhase"
    // A new per-instance object held by the driver (ReleaseOwnership lets go); every reference
    // handed out holds `owner`, the driver's controlling IUnknown.
    HRESULT (*create)(IUnknown* owner, repcap::CRepCap*& node);
    std::span<const char* const> physicalNames;
};

class CNode : public ICallContextProvider {
public:
    CallContextStack& CallContexts() { return callContexts_; }
    const MethodInfo* CurrentMethodInfo() const override {
        return tInnermostCall ? tInnermostCall : callContexts_.Top();
    }
    driver::SimulatedValueStore& SimulatedValues() { return simulatedValues_; }

    // The repeated capabilities this node owns, and names added at run time per class name.
    virtual std::span<const RepCapInfo> RepCapTable() const { return {}; }
    virtual std::vector<std::string> AdditionalPhysicalNames(const std::string& /*className*/) { return {}; }

    // Lifecycle hooks run by the driver over its tree.
    virtual HRESULT OnInitialize() { return S_OK; }
    virtual HRESULT OnReset() { return S_OK; }
    virtual HRESULT OnClose() { return S_OK; }

protected:
    CNode() = default;
    virtual ~CNode() = default;

private:
    CallContextStack callContexts_;
    driver::SimulatedValueStore simulatedValues_;
};

}  // namespace zpv::driver
