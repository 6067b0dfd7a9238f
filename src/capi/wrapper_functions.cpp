// The exported function wrappers, one per row of capi/wrapper_rows.h.
#include "capi/c_parameters.h"
#include "capi/wrapper_call.h"
#include "capi/wrapper_rows.h"

#define ZPV_C_WRAPPER_DEFINITION(Name, I, Member, S, ...)                                                    \
    ViStatus ZPV4870_##Name(ViSession vi ZPV_C_CHANNEL_PARAM_##S ZPV_C_EACH(ZPV_C_PARAM, __VA_ARGS__)) {     \
        return ::zpv::capi::Wrap<I, ::zpv::capi::Scope::S>(vi, ZPV_C_CHANNEL_ARG_##S,                        \
                                                           &I::Member ZPV_C_EACH(ZPV_C_ARG, __VA_ARGS__));   \
    }

extern "C" {
ZPV_C_WRAPPERS(ZPV_C_WRAPPER_DEFINITION)
}
