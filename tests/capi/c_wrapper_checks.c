/* The three wrapper patterns as a C caller meets them, in simulation: settings on every phase a
 * channel name selects, readings from the first, and text outputs under the copy-out rule. */
#include "c_check.h"

int CheckWrapperPatterns(void) {
    int failures = 0;
    ViSession vi = 0;
    ViReal64 level = 0, maxVoltage = -1, minVoltage = -1;
    ViBoolean busy = 7;
    ViChar name[32];
    CHECK_STATUS(0, VI_SUCCESS, ZPV4870_InitWithOptions("", VI_FALSE, VI_FALSE, SIMULATED, &vi));

    /* Changing a setting: every selected phase; all names are resolved before the first write. */
    CHECK_STATUS(vi, VI_SUCCESS, ZPV4870_ConfigureVoltageLevel(vi, "OutputPhase1", 120.0));
    CHECK_STATUS(vi, VI_SUCCESS, ZPV4870_GetAttributeViReal64(vi, VI_NULL, ZPV4870_ATTR_VOLTAGE_LEVEL, &level));
    CHECK(level == 120.0);
    CHECK_STATUS(vi, VI_SUCCESS, ZPV4870_ConfigureVoltageLevel(vi, "OutputPhase1,outputphase1", 121.0));
    CHECK_STATUS(vi, ZPV4870_ERROR_UNKNOWN_PHYSICAL_IDENTIFIER,
                 ZPV4870_ConfigureVoltageLevel(vi, "OutputPhase1-OutputPhase3", 99.0));
    CHECK_STATUS(vi, VI_SUCCESS, ZPV4870_GetAttributeViReal64(vi, VI_NULL, ZPV4870_ATTR_VOLTAGE_LEVEL, &level));
    CHECK(level == 121.0);

    /* Reading: pointers first, in parameter order; then a channel name without ranges. */
    CHECK_STATUS(vi, ZPV4870_ERROR_NULL_POINTER,
                 ZPV4870_QueryVoltageRangeCapabilities(vi, "OutputPhase1", 0, &maxVoltage, VI_NULL));
    {
        ViStatus code = 0;
        ViChar text[64];
        ZPV4870_GetError(vi, &code, (ViInt32)sizeof text, text);
        CHECK_TEXT(text, "Parameter MinVoltage is VI_NULL.");
    }
    CHECK_STATUS(vi, ZPV4870_ERROR_NULL_POINTER,
                 ZPV4870_QueryVoltageRangeCapabilities(vi, "OutputPhase1", 0, VI_NULL, VI_NULL));
    {
        ViStatus code = 0;
        ViChar text[64];
        ZPV4870_GetError(vi, &code, (ViInt32)sizeof text, text);
        CHECK_TEXT(text, "Parameter MaxVoltage is VI_NULL.");
    }
    CHECK(maxVoltage == -1 && minVoltage == -1);
    CHECK_STATUS(vi, ZPV4870_ERROR_BADLY_FORMED_SELECTOR, ZPV4870_QueryVoltageRampBusy(vi, "OutputPhase1-2", &busy));
    CHECK(busy == 7);
    CHECK_STATUS(vi, ZPV4870_ERROR_UNKNOWN_PHYSICAL_IDENTIFIER,
                 ZPV4870_QueryVoltageRampBusy(vi, "OutputPhase1,OutputPhase1x", &busy));
    CHECK_STATUS(vi, VI_SUCCESS, ZPV4870_QueryVoltageRampBusy(vi, "OutputPhase1,outputphase1", &busy));
    CHECK(busy == VI_FALSE);

    /* Text outputs: the size needed, a truncated copy, the whole text. */
    CHECK_STATUS(vi, 13, ZPV4870_GetOutputPhaseName(vi, 1, 0, VI_NULL));
    CHECK_STATUS(vi, 13, ZPV4870_GetOutputPhaseName(vi, 1, 5, name));
    CHECK_TEXT(name, "Outp");
    CHECK_STATUS(vi, VI_SUCCESS, ZPV4870_GetOutputPhaseName(vi, 1, (ViInt32)sizeof name, name));
    CHECK_TEXT(name, "OutputPhase1");
    CHECK_STATUS(vi, ZPV4870_ERROR_INVALID_VALUE, ZPV4870_GetOutputPhaseName(vi, 2, (ViInt32)sizeof name, name));

    /* Direct I/O needs an instrument. */
    {
        ViByte bytes[8];
        ViInt32 count = -1;
        CHECK_STATUS(vi, ZPV4870_ERROR_IO_GENERAL, ZPV4870_viRead(vi, bytes, (ViInt32)sizeof bytes, &count));
        CHECK(count == -1);
    }
    CHECK_STATUS(vi, VI_SUCCESS, ZPV4870_close(vi));
    return failures;
}
