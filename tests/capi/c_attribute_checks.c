/* Every attribute identifier, found the way a caller would: by asking. Each known identifier
 * answers exactly one of the typed functions; the others refuse it as a type mismatch. */
#include "c_check.h"

#include <string.h>

enum { kInt32, kReal64, kBoolean, kSession, kString, kTypes };
static const char* const kTypeNames[kTypes] = {"ViInt32", "ViReal64", "ViBoolean", "ViSession", "ViString"};

typedef struct {
    ViInt32 i;
    ViReal64 r;
    ViBoolean b;
    ViSession s;
    ViChar text[256];
} Value;

static ViStatus Get(ViSession vi, ViAttr id, int type, Value* v) {
    switch (type) {
        case kInt32: return ZPV4870_GetAttributeViInt32(vi, VI_NULL, id, &v->i);
        case kReal64: return ZPV4870_GetAttributeViReal64(vi, VI_NULL, id, &v->r);
        case kBoolean: return ZPV4870_GetAttributeViBoolean(vi, VI_NULL, id, &v->b);
        case kSession: return ZPV4870_GetAttributeViSession(vi, VI_NULL, id, &v->s);
        default: return ZPV4870_GetAttributeViString(vi, VI_NULL, id, (ViInt32)sizeof v->text, v->text);
    }
}

static ViStatus Set(ViSession vi, ViAttr id, int type, const Value* v) {
    switch (type) {
        case kInt32: return ZPV4870_SetAttributeViInt32(vi, VI_NULL, id, v->i);
        case kReal64: return ZPV4870_SetAttributeViReal64(vi, VI_NULL, id, v->r);
        case kBoolean: return ZPV4870_SetAttributeViBoolean(vi, VI_NULL, id, v->b);
        case kSession: return ZPV4870_SetAttributeViSession(vi, VI_NULL, id, v->s);
        default: return ZPV4870_SetAttributeViString(vi, VI_NULL, id, v->text);
    }
}

/* The "not implemented" of the class-compliant members outside simulation, passed on unchanged. */
#define NOT_IMPLEMENTED ((ViStatus)0x80004001L)

/* What a read or a write of an existing attribute may answer besides success: the model lacks
 * the member, the class-compliant member is not implemented, or there is no instrument to ask
 * (in simulation: direct I/O has no session). */
static int Acceptable(ViStatus status, int simulated) {
    return status == VI_SUCCESS || status == ZPV4870_ERROR_MODEL_NOT_SUPPORTED ||
           status == ZPV4870_ERROR_CANNOT_CHANGE_SIMULATION_STATE ||
           (simulated ? status == ZPV4870_ERROR_NOT_INITIALIZED || status == ZPV4870_ERROR_IO_GENERAL
                      : status == NOT_IMPLEMENTED);
}

/* Current protection Enabled and Threshold share one instrument setting: Enabled writes "ON" or
 * "OFF" where Threshold reads a number and the other way round, so on an instrument one of them
 * always reads what the other wrote. */
static int SharesItsSetting(ViAttr id, ViStatus status) {
    return (id == ZPV4870_ATTR_OUTPUT_PHASE_CURRENT_PROTECTION_ENABLED ||
            id == ZPV4870_ATTR_OUTPUT_PHASE_CURRENT_PROTECTION_THRESHOLD) &&
           (status == ZPV4870_ERROR_IO_GENERAL || status == (ViStatus)0x8000FFFFL);
}

int CheckEveryAttribute(const char* resource, const char* options) {
    static const ViAttr kRanges[][2] = {{1050000, 1050600}, {1150000, 1150200}, {1250000, 1250060}};
    const int simulated = strstr(options, "Simulate=true") != NULL;
    int failures = 0, known = 0, readOnly = 0;
    ViSession vi = 0;
    CHECK_STATUS(0, VI_SUCCESS, ZPV4870_InitWithOptions(resource, VI_TRUE, VI_TRUE, options, &vi));
    if (vi == 0) return failures;

    for (size_t r = 0; r < sizeof kRanges / sizeof kRanges[0]; ++r) {
        for (ViAttr id = kRanges[r][0]; id <= kRanges[r][1]; ++id) {
            Value value;
            ViStatus got[kTypes];
            int type = -1, mismatches = 0, unknown = 0;
            for (int t = 0; t < kTypes; ++t) {
                memset(&value, 0x5A, sizeof value);
                got[t] = Get(vi, id, t, &value);
                if (got[t] == ZPV4870_ERROR_INVALID_ATTRIBUTE) ++unknown;
                else if (got[t] == ZPV4870_ERROR_TYPES_DO_NOT_MATCH) ++mismatches;
                else type = t;
            }
            if (unknown == kTypes) continue;
            ++known;
            if (unknown != 0 || mismatches != kTypes - 1 || type < 0 || type == kSession) {
                fprintf(stderr, "attribute %u: %d unknown, %d mismatches\n", (unsigned)id, unknown, mismatches);
                ++failures;
                continue;
            }
            /* Read again with the type found, to keep that value for the write. */
            memset(&value, 0x5A, sizeof value);
            const ViStatus read = Get(vi, id, type, &value);
            if (!Acceptable(read, simulated) && !SharesItsSetting(id, read)) {
                ViChar text[512] = "";
                ZPV4870_GetError(vi, VI_NULL, (ViInt32)sizeof text, text);
                fprintf(stderr, "attribute %u (%s): read gave 0x%08X: %s\n", (unsigned)id, kTypeNames[type],
                        (unsigned)read, text);
                ++failures;
            }
            if (read == VI_SUCCESS && type == kBoolean) CHECK(value.b == VI_TRUE || value.b == VI_FALSE);
            if (read != VI_SUCCESS) memset(&value, 0, sizeof value);

            for (int t = 0; t < kTypes; ++t)
                if (t != type) CHECK_STATUS(vi, ZPV4870_ERROR_TYPES_DO_NOT_MATCH, Set(vi, id, t, &value));
            const ViStatus written = Set(vi, id, type, &value);
            if (written == ZPV4870_ERROR_ATTRIBUTE_NOT_WRITABLE) {
                ++readOnly;
            } else if (read == VI_SUCCESS && !Acceptable(written, simulated)) {
                fprintf(stderr, "attribute %u (%s): writing back what was read gave 0x%08X\n", (unsigned)id,
                        kTypeNames[type], (unsigned)written);
                ++failures;
            }
        }
    }
    CHECK(known == 178);
    CHECK(readOnly == 33);
    CHECK_STATUS(vi, VI_SUCCESS, ZPV4870_close(vi));
    return failures;
}

int CheckPhaseChannels(void) {
    int failures = 0;
    ViSession vi = 0;
    ViReal64 level = 0;
    ViBoolean enabled = 7;
    CHECK_STATUS(0, VI_SUCCESS, ZPV4870_InitWithOptions("", VI_FALSE, VI_FALSE, SIMULATED, &vi));

    /* The one phase answers to its name, to no name and to the empty name, in any letter case. */
    CHECK_STATUS(vi, VI_SUCCESS, ZPV4870_SetAttributeViReal64(vi, "OutputPhase1", ZPV4870_ATTR_VOLTAGE_LEVEL, 230.5));
    CHECK_STATUS(vi, VI_SUCCESS, ZPV4870_GetAttributeViReal64(vi, VI_NULL, ZPV4870_ATTR_VOLTAGE_LEVEL, &level));
    CHECK(level == 230.5);
    level = 0;
    CHECK_STATUS(vi, VI_SUCCESS, ZPV4870_GetAttributeViReal64(vi, "", ZPV4870_ATTR_VOLTAGE_LEVEL, &level));
    CHECK(level == 230.5);
    CHECK_STATUS(vi, VI_SUCCESS, ZPV4870_GetAttributeViReal64(vi, "outputphase1", ZPV4870_ATTR_VOLTAGE_LEVEL, &level));
    /* A list naming the phase twice writes it twice, in order; a read takes the first name. */
    CHECK_STATUS(vi, VI_SUCCESS,
                 ZPV4870_SetAttributeViReal64(vi, "OutputPhase1,outputphase1", ZPV4870_ATTR_VOLTAGE_LEVEL, 120.0));
    CHECK_STATUS(vi, VI_SUCCESS,
                 ZPV4870_GetAttributeViReal64(vi, "OutputPhase1,outputphase1", ZPV4870_ATTR_VOLTAGE_LEVEL, &level));
    CHECK(level == 120.0);

    /* A read does not take a range. A range with an unknown name changes nothing. */
    CHECK_STATUS(vi, ZPV4870_ERROR_BADLY_FORMED_SELECTOR,
                 ZPV4870_GetAttributeViReal64(vi, "OutputPhase1-3", ZPV4870_ATTR_VOLTAGE_LEVEL, &level));
    CHECK_STATUS(vi, ZPV4870_ERROR_UNKNOWN_PHYSICAL_IDENTIFIER,
                 ZPV4870_SetAttributeViReal64(vi, "OutputPhase1-OutputPhase3", ZPV4870_ATTR_VOLTAGE_LEVEL, 99.0));
    CHECK_STATUS(vi, VI_SUCCESS, ZPV4870_GetAttributeViReal64(vi, VI_NULL, ZPV4870_ATTR_VOLTAGE_LEVEL, &level));
    CHECK(level == 120.0);
    CHECK_STATUS(vi, ZPV4870_ERROR_UNKNOWN_PHYSICAL_IDENTIFIER,
                 ZPV4870_GetAttributeViBoolean(vi, "OutputPhase7", ZPV4870_ATTR_OUTPUT_PHASE_ENABLED, &enabled));
    CHECK(enabled == 7);
    CHECK_STATUS(vi, ZPV4870_ERROR_BADLY_FORMED_SELECTOR,
                 ZPV4870_GetAttributeViBoolean(vi, "Output Phase[", ZPV4870_ATTR_OUTPUT_PHASE_ENABLED, &enabled));

    /* Attributes of the whole instrument ignore the channel name, even a malformed one. */
    CHECK_STATUS(vi, VI_SUCCESS,
                 ZPV4870_SetAttributeViReal64(vi, "[[[-", ZPV4870_ATTR_MANUAL_MODE_FREQUENCY, 60.0));
    CHECK_STATUS(vi, VI_SUCCESS, ZPV4870_GetAttributeViReal64(vi, "Nowhere9", ZPV4870_ATTR_MANUAL_MODE_FREQUENCY, &level));
    CHECK(level == 60.0);

    /* Strings cross as UTF-8 both ways. */
    {
        ViChar waveform[64];
        CHECK_STATUS(vi, VI_SUCCESS, ZPV4870_SetAttributeViString(vi, "OutputPhase1", ZPV4870_ATTR_WAVEFORM, "Sine \xC2\xB5"));
        CHECK_STATUS(vi, VI_SUCCESS,
                     ZPV4870_GetAttributeViString(vi, "OutputPhase1", ZPV4870_ATTR_WAVEFORM, (ViInt32)sizeof waveform, waveform));
        CHECK_TEXT(waveform, "Sine \xC2\xB5");
    }
    CHECK_STATUS(vi, VI_SUCCESS, ZPV4870_close(vi));
    return failures;
}
