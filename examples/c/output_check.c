/* The output check of output_check.cpp, written in plain C against the flat C interface: opens
 * the instrument with an identity check and a reset, sets voltage, frequency and current limit by
 * attribute, switches the output on, reads everything back and asks the instrument for errors.
 *
 *   output_check_c <resource> [<more options>]
 *   e.g. output_check_c TCPIP0::127.0.0.1::5025::SOCKET "DriverSetup=Trace=true, TraceName=check"
 */
#include <stdio.h>
#include <string.h>
#include <stdlib.h>

#include "zpv4870.h"

static ViSession session = 0;

/* Prints the failed step with the session's error description and ends the program. */
static void Check(ViStatus status, const char* what) {
    ViStatus code = status;
    ViChar description[512] = "";
    if (status >= VI_SUCCESS) return;
    ZPV4870_GetError(session, &code, (ViInt32)sizeof description, description);
    fprintf(stderr, "%s failed (0x%08X): %s\n", what, (unsigned)status, description);
    if (session != 0) ZPV4870_close(session);
    exit(1);
}

int main(int argc, char** argv) {
    ViChar model[256], firmware[256], driverRevision[256], message[256];
    ViReal64 level = 0, frequency = 0, limit = 0;
    ViBoolean enabled = VI_FALSE;
    ViInt32 errorCode = 0;
    char options[512];

    if (argc != 2 && argc != 3) {
        fprintf(stderr, "usage: %s <resource descriptor> [<more options>]\n", argv[0]);
        return 2;
    }
    snprintf(options, sizeof options, "QueryInstrStatus=true%s%s", argc == 3 ? ", " : "", argc == 3 ? argv[2] : "");
    Check(ZPV4870_InitWithOptions(argv[1], VI_TRUE, VI_TRUE, options, &session), "ZPV4870_InitWithOptions");
    Check(ZPV4870_GetAttributeViString(session, VI_NULL, ZPV4870_ATTR_INSTRUMENT_MODEL, (ViInt32)sizeof model, model),
          "reading the model");
    Check(ZPV4870_revision_query(session, driverRevision, firmware), "ZPV4870_revision_query");
    printf("Instrument %s, firmware %s, driver %s\n", model, firmware, driverRevision);

    /* Per-phase attributes take the phase's name; the source's own settings take none. */
    Check(ZPV4870_SetAttributeViReal64(session, "OutputPhase1", ZPV4870_ATTR_OUTPUT_PHASE_VOLTAGE_LEVEL, 230.0),
          "setting the voltage");
    Check(ZPV4870_SetAttributeViReal64(session, VI_NULL, ZPV4870_ATTR_MANUAL_MODE_FREQUENCY, 50.0),
          "setting the frequency");
    Check(ZPV4870_SetAttributeViReal64(session, "OutputPhase1", ZPV4870_ATTR_OUTPUT_PHASE_CURRENT_LIMIT, 4.5),
          "setting the current limit");
    Check(ZPV4870_SetAttributeViBoolean(session, "OutputPhase1", ZPV4870_ATTR_OUTPUT_PHASE_ENABLED, VI_TRUE),
          "switching the output on");

    Check(ZPV4870_GetAttributeViReal64(session, "OutputPhase1", ZPV4870_ATTR_OUTPUT_PHASE_VOLTAGE_LEVEL, &level),
          "reading the voltage");
    Check(ZPV4870_GetAttributeViReal64(session, VI_NULL, ZPV4870_ATTR_MANUAL_MODE_FREQUENCY, &frequency),
          "reading the frequency");
    Check(ZPV4870_GetAttributeViReal64(session, "OutputPhase1", ZPV4870_ATTR_OUTPUT_PHASE_CURRENT_LIMIT, &limit),
          "reading the current limit");
    Check(ZPV4870_GetAttributeViBoolean(session, "OutputPhase1", ZPV4870_ATTR_OUTPUT_PHASE_ENABLED, &enabled),
          "reading the output state");
    printf("Output %s: %.1f V, %.1f Hz, current limit %.2f A\n", enabled ? "on" : "off", level, frequency, limit);

    /* A refused request shows how errors read: status, then the session's description. The C
       interface records its own texts as templates ("Attribute '%1' is read-only."); the
       program that made the call knows what %1 stands for and says it. */
    {
        ViStatus code = 0;
        ViChar description[512], shown[600];
        const char* insert;
        const ViStatus refused = ZPV4870_SetAttributeViInt32(session, VI_NULL, ZPV4870_ATTR_NUM_VOLTAGE_RANGES, 2);
        ZPV4870_GetError(session, &code, (ViInt32)sizeof description, description);
        insert = strstr(description, "%1");
        if (insert)
            snprintf(shown, sizeof shown, "%.*s%s%s", (int)(insert - description), description,
                     "NumVoltageRanges (1250015)", insert + 2);
        else
            snprintf(shown, sizeof shown, "%s", description);
        printf("Writing a read-only attribute: 0x%08X, \"%s\"\n", (unsigned)refused, shown);
    }

    Check(ZPV4870_error_query(session, &errorCode, message), "ZPV4870_error_query");
    printf("Instrument error queue: %d, \"%s\"\n", (int)errorCode, message);
    Check(ZPV4870_close(session), "ZPV4870_close");
    return errorCode == 0 ? 0 : 1;
}
