/* The list program of list_program.cpp through the C interface only: three sequences built with
 * attributes and the sequence functions, run in list mode, and each sequence's results read.
 *
 *   list_program_c <resource>        e.g. TCPIP0::127.0.0.1::5025::SOCKET
 */
#include <stdio.h>
#include <stdlib.h>

#include "zpv4870.h"

static ViSession session = 0;

static void Check(ViStatus status, const char* what) {
    ViStatus code = status;
    ViChar description[512] = "";
    if (status >= VI_SUCCESS) return;
    ZPV4870_GetError(session, &code, (ViInt32)sizeof description, description);
    fprintf(stderr, "%s failed (0x%08X): %s\n", what, (unsigned)status, description);
    if (session != 0) ZPV4870_close(session);
    exit(1);
}

static void SetReal(ViAttr id, ViReal64 value, const char* what) {
    Check(ZPV4870_SetAttributeViReal64(session, VI_NULL, id, value), what);
}

static void SetInt(ViAttr id, ViInt32 value, const char* what) {
    Check(ZPV4870_SetAttributeViInt32(session, VI_NULL, id, value), what);
}

typedef struct {
    ViReal64 voltageStart, voltageEnd, frequency, seconds, currentHigh;
} SequenceSetting;

static const SequenceSetting kSequences[] = {
    {0.0, 115.0, 60.0, 2.0, 6.0},   /* ramp up */
    {115.0, 115.0, 60.0, 5.0, 5.0}, /* dwell */
    {230.0, 230.0, 50.0, 3.0, 3.0}, /* step to 230 V / 50 Hz */
};

int main(int argc, char** argv) {
    ViInt32 existing = 0, total = 0;
    ViChar results[512];

    if (argc != 2) {
        fprintf(stderr, "usage: %s <resource descriptor>\n", argv[0]);
        return 2;
    }
    Check(ZPV4870_InitWithOptions(argv[1], VI_TRUE, VI_TRUE, "QueryInstrStatus=true", &session),
          "ZPV4870_InitWithOptions");

    printf("Building the list program through the C interface\n");
    SetInt(ZPV4870_ATTR_LIST_MODE_PROGRAM_BASE, ZPV4870_VAL_BASE_TIME, "setting the base");
    SetInt(ZPV4870_ATTR_LIST_MODE_PROGRAM_TRIGGER, ZPV4870_VAL_TRIGGER_AUTO, "setting the trigger");
    SetInt(ZPV4870_ATTR_LIST_MODE_PROGRAM_COUNT, 1, "setting the count");
    /* A fresh program may already hold sequences: reuse those, add the rest. */
    Check(ZPV4870_GetTotalSequence(session, &existing), "ZPV4870_GetTotalSequence");
    for (ViInt32 index = 1; index <= (ViInt32)(sizeof kSequences / sizeof kSequences[0]); ++index) {
        const SequenceSetting* s = &kSequences[index - 1];
        if (index > existing) Check(ZPV4870_Add2(session), "ZPV4870_Add2");
        Check(ZPV4870_Edit2(session, index), "ZPV4870_Edit2");
        SetInt(ZPV4870_ATTR_LIST_MODE_SEQUENCE_WAVEFORM, ZPV4870_VAL_WAVEFORM_SINE, "setting the waveform");
        SetReal(ZPV4870_ATTR_LIST_MODE_SEQUENCE_VOLTAGE_AC_START, s->voltageStart, "setting the start voltage");
        SetReal(ZPV4870_ATTR_LIST_MODE_SEQUENCE_VOLTAGE_AC_END, s->voltageEnd, "setting the end voltage");
        SetReal(ZPV4870_ATTR_LIST_MODE_SEQUENCE_FREQUENCY_START, s->frequency, "setting the start frequency");
        SetReal(ZPV4870_ATTR_LIST_MODE_SEQUENCE_FREQUENCY_END, s->frequency, "setting the end frequency");
        SetInt(ZPV4870_ATTR_LIST_MODE_SEQUENCE_TIME_UNIT, ZPV4870_VAL_TIME_UNIT_SECOND, "setting the time unit");
        SetReal(ZPV4870_ATTR_LIST_MODE_SEQUENCE_TIME, s->seconds, "setting the time");
        SetReal(ZPV4870_ATTR_LIST_MODE_SEQUENCE_CURRENT_HIGH_LIMIT, s->currentHigh, "setting the current limit");
        printf("  sequence %d: %g -> %g V, %g Hz, %g s, current limit %g A\n", (int)index, s->voltageStart,
               s->voltageEnd, s->frequency, s->seconds, s->currentHigh);
    }

    printf("Running it\n");
    Check(ZPV4870_SetOperationMode(session, ZPV4870_VAL_OPERATION_MODE_LIST), "ZPV4870_SetOperationMode");
    Check(ZPV4870_SetOutputEnable(session, ZPV4870_VAL_OUTPUT_ON), "ZPV4870_SetOutputEnable");
    Check(ZPV4870_SetOutputEnable(session, ZPV4870_VAL_OUTPUT_OFF), "ZPV4870_SetOutputEnable");

    Check(ZPV4870_GetAttributeViInt32(session, VI_NULL, ZPV4870_ATTR_RESULT_TOTAL_SEQUENCE, &total),
          "reading the number of results");
    printf("Results of %d sequences (AC V, DC V, V, AC A, DC A, A, Hz, W, PF, peak A, var, crest, VA):\n", (int)total);
    for (ViInt32 i = 1; i <= total; ++i) {
        SetInt(ZPV4870_ATTR_RESULT_SEQUENCE_INDEX, i, "selecting a result");
        Check(ZPV4870_GetAll(session, (ViInt32)sizeof results, results), "ZPV4870_GetAll");
        printf("  %d: %s\n", (int)i, results);
    }
    Check(ZPV4870_close(session), "ZPV4870_close");
    return 0;
}
