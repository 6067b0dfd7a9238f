// The calling thread's apartment state, for the runtime functions that need an entered apartment.
#pragma once

namespace zpv::com {

// True while the calling thread has a successful CoInitializeEx not yet undone.
bool IsApartmentEntered();

}  // namespace zpv::com
