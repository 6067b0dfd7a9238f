// A node object of the driver tree (the driver itself, later the output phase objects): it keeps
// its own call context stack and offers it to the error reporter.
#pragma once

#include "driver/call_context.h"
#include "driver/call_context_stack.h"
#include "zpv4870_runtime.h"

namespace zpv::driver {

class CNode : public ICallContextProvider {
public:
    CallContextStack& CallContexts() { return callContexts_; }
    const MethodInfo* CurrentMethodInfo() const override { return callContexts_.Top(); }

    // Lifecycle hooks run by the driver over its tree, depth first.
    virtual HRESULT OnInitialize() { return S_OK; }
    virtual HRESULT OnReset() { return S_OK; }
    virtual HRESULT OnClose() { return S_OK; }

protected:
    CNode() = default;
    virtual ~CNode() = default;

private:
    CallContextStack callContexts_;
};

}  // namespace zpv::driver
