// Rows that must not build: formats that do not fit their members (the format check's message)
// and named columns out of order (tests/CMakeLists.txt runs the compiler on each).
#include "ZPV4870.h"
#include "members/member_declarations.h"

#if WRONG_ROW == 1  // a double read with an integer conversion
#define ZPV_LIST_IZPV4870ExecutionConfigurations(X, I) \
    X(PROPERTY, I, double, Frequency, "OUTP:FREQ?", "%d", "OUTP:FREQ %0.15lg", .stored = true, .initial = 60.0)
#elif WRONG_ROW == 2  // the keyword map of another enumeration
#define ZPV_LIST_IZPV4870ExecutionConfigurations(X, I) \
    X(ACTION, I, Configure, "MAN:RANG %{ZPV4870WaveformEnum}s", kAllModels, (IN, ZPV4870RangeEnum, Range))
#elif WRONG_ROW == 3  // an action parameter without a conversion
#define ZPV_LIST_IZPV4870ExecutionConfigurations(X, I) \
    X(ACTION, I, Configure, "MAN:CURR:HIGH %0.15lg", kAllModels, (IN, double, Threshold), (IN, double, Delay))
#elif WRONG_ROW == 4  // a rest-of-response conversion in a command that is sent
#define ZPV_LIST_IZPV4870ExecutionConfigurations(X, I) \
    X(PROPERTY, I, BSTR, Name, "NAME?", "%$Bt", "NAME %$Bt")
#elif WRONG_ROW == 5  // named columns out of their order
#define ZPV_LIST_IZPV4870ExecutionConfigurations(X, I) \
    X(SETTING, I, double, Frequency, "OUTP:FREQ", .initial = 60.0, .stored = true)
#endif

namespace zpv::members {
namespace rows {
ZPV_LIST_IZPV4870ExecutionConfigurations(ZPV_ROW, IZPV4870ExecutionConfigurations)
}
}  // namespace zpv::members
