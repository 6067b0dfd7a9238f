/* Compiled on its own, as C99 and as C++: the C header needs nothing else. */
#include "zpv4870.h"

int main(void) {
    ViSession vi = VI_NULL;
    ViReal64 level = 0.0;
    ViStatus status = ZPV4870_init("TCPIP0::127.0.0.1::5025::SOCKET", VI_TRUE, VI_FALSE, &vi);
    if (status >= VI_SUCCESS) status = ZPV4870_GetAttributeViReal64(vi, "OutputPhase1", ZPV4870_ATTR_VOLTAGE_LEVEL, &level);
    return status == ZPV4870_ERROR_INVALID_SESSION_HANDLE ? 1 : 0;
}
