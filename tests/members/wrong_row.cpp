// Rows whose formats do not fit their members: each WRONG_ROW must fail to compile with the
// format check's message (tests/CMakeLists.txt runs the compiler on each).
#include "ZPV4870.h"
#include "members/member_declarations.h"

#if WRONG_ROW == 1  // a double read with an integer conversion
#define ZPV_LIST_IZPV4870ExecutionConfigurations(X, I) \
    X(PROPERTY, I, double, Frequency, "OUTP:FREQ?", "%d", "OUTP:FREQ %0.15lg", true, 60.0, kAllModels)
#elif WRONG_ROW == 2  // the keyword map of another enumeration
#define ZPV_LIST_IZPV4870ExecutionConfigurations(X, I) \
    X(ACTION, I, Configure, "MAN:RANG %{ZPV4870WaveformEnum}s", kAllModels, (IN, ZPV4870RangeEnum, Range))
#elif WRONG_ROW == 3  // an action parameter without a conversion
#define ZPV_LIST_IZPV4870ExecutionConfigurations(X, I) \
    X(ACTION, I, Configure, "MAN:CURR:HIGH %0.15lg", kAllModels, (IN, double, Threshold), (IN, double, Delay))
#endif

namespace zpv::members {
namespace rows {
ZPV_LIST_IZPV4870ExecutionConfigurations(ZPV_ROW, IZPV4870ExecutionConfigurations)
}
}  // namespace zpv::members
