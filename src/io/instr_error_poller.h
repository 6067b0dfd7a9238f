// Called by the I/O session after every formatted exchange, so instrument errors surface on the
// call that caused them.
#pragma once

#include "zpv4870_runtime.h"

namespace zpv::io {

class IInstrErrorPoller {
public:
    virtual HRESULT PollInstrumentStatus() = 0;

protected:
    ~IInstrErrorPoller() = default;
};

}  // namespace zpv::io
