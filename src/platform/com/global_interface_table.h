// The process-wide interface table's class object, which the class registry offers as a built-in.
#pragma once

#include "zpv4870_runtime.h"

namespace zpv::com {

HRESULT GetGlobalInterfaceTableClassObject(REFIID riid, void** ppv);

}  // namespace zpv::com
