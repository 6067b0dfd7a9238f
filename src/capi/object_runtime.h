// Each thread that enters through the C interface joins the multithreaded apartment once.
#pragma once

#include "zpv4870_runtime.h"

namespace zpv::capi {

// S_OK once the calling thread may use the object runtime; a real failure otherwise. A thread
// that had already entered (in either model) is left as it was.
HRESULT EnterObjectRuntime();

}  // namespace zpv::capi
