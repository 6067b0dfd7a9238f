/* Sessions, errors and the text rule, as a C caller meets them. */
#include "c_check.h"

#include <string.h>

static int StartsWith(const char* text, const char* prefix) { return strncmp(text, prefix, strlen(prefix)) == 0; }

int CheckSessionsAndErrors(void) {
    int failures = 0;
    ViSession vi = 77;
    ViStatus code = 1;
    ViChar text[512];

    /* No place for the session: refused at once, nothing recorded. */
    ZPV4870_ClearError(0);
    CHECK_STATUS(0, ZPV4870_ERROR_NULL_POINTER, ZPV4870_init("", VI_FALSE, VI_FALSE, VI_NULL));
    CHECK_STATUS(0, VI_SUCCESS, ZPV4870_GetError(0, &code, (ViInt32)sizeof text, text));
    CHECK(code == VI_SUCCESS);

    /* A failed open leaves no session; the object's description is the thread's last error. */
    CHECK_STATUS(0, ZPV4870_ERROR_RESOURCE_UNKNOWN, ZPV4870_InitWithOptions("NOSUCHBUS0::INSTR", VI_TRUE, VI_FALSE, "", &vi));
    CHECK(vi == 0);
    CHECK_STATUS(0, VI_SUCCESS, ZPV4870_GetError(0, &code, (ViInt32)sizeof text, text));
    CHECK(code == ZPV4870_ERROR_RESOURCE_UNKNOWN);
    CHECK(StartsWith(text, "ZPV4870: Unknown resource."));
    /* A bad option string is refused the same way. */
    CHECK_STATUS(0, ZPV4870_ERROR_BAD_OPTION_VALUE, ZPV4870_InitWithOptions("", VI_FALSE, VI_FALSE, "Simulate=maybe", &vi));
    CHECK(vi == 0);

    CHECK_STATUS(0, VI_SUCCESS, ZPV4870_InitWithOptions("", VI_TRUE, VI_TRUE, SIMULATED, &vi));
    CHECK(vi != 0);

    /* Utility functions and their null-pointer texts. */
    {
        ViInt16 result = -1;
        ViInt32 errorCode = -1;
        ViChar message[256], driverRevision[256], firmwareRevision[256];
        CHECK_STATUS(vi, VI_SUCCESS, ZPV4870_self_test(vi, &result, message));
        CHECK(result == 0);
        CHECK_STATUS(vi, VI_SUCCESS, ZPV4870_error_query(vi, &errorCode, message));
        CHECK(errorCode == 0);
        CHECK_STATUS(vi, VI_SUCCESS, ZPV4870_revision_query(vi, driverRevision, firmwareRevision));
        CHECK(driverRevision[0] != '\0');

        CHECK_STATUS(vi, ZPV4870_ERROR_NULL_POINTER, ZPV4870_self_test(vi, VI_NULL, message));
        CHECK_STATUS(vi, VI_SUCCESS, ZPV4870_GetError(vi, &code, (ViInt32)sizeof text, text));
        CHECK(code == ZPV4870_ERROR_NULL_POINTER);
        CHECK_TEXT(text, "Parameter TestResult is VI_NULL.");
        CHECK_STATUS(vi, ZPV4870_ERROR_NULL_POINTER, ZPV4870_error_query(vi, VI_NULL, message));
        CHECK_STATUS(vi, VI_SUCCESS, ZPV4870_GetError(vi, &code, (ViInt32)sizeof text, text));
        CHECK_TEXT(text, "Parameter ErrorCode is VI_NULL.");
        /* Delivered errors are cleared. */
        CHECK_STATUS(vi, VI_SUCCESS, ZPV4870_GetError(vi, &code, (ViInt32)sizeof text, text));
        CHECK(code == VI_SUCCESS);
    }

    /* An object failure carries the object's own description. */
    CHECK_STATUS(vi, ZPV4870_ERROR_ATTRIBUTE_NOT_WRITABLE,
                 ZPV4870_SetAttributeViInt32(vi, "", ZPV4870_ATTR_NUM_VOLTAGE_RANGES, 2));
    CHECK_STATUS(vi, ZPV4870_ERROR_CANNOT_CHANGE_SIMULATION_STATE,
                 ZPV4870_SetAttributeViBoolean(vi, VI_NULL, ZPV4870_ATTR_SIMULATE, VI_FALSE));
    CHECK_STATUS(vi, VI_SUCCESS, ZPV4870_GetError(vi, &code, (ViInt32)sizeof text, text));
    CHECK(code == ZPV4870_ERROR_CANNOT_CHANGE_SIMULATION_STATE);
    CHECK_TEXT(text, "ZPV4870: The simulation state cannot be changed.");

    /* The C texts of statuses need no session. */
    CHECK_STATUS(0, VI_SUCCESS, ZPV4870_error_message(0, ZPV4870_ERROR_CANNOT_APPLY_TO_ALL_PHASES, text));
    CHECK_TEXT(text, "Cannot apply to AllPhases. Use specific output phase.");
    CHECK_STATUS(0, VI_SUCCESS, ZPV4870_error_message(0, ZPV4870_ERROR_PHASES_NOT_INDEPENDENT, text));
    CHECK(strstr(text, "the \"All Phases\" channel name.") != NULL);
    strcpy(text, "untouched");
    CHECK_STATUS(0, VI_SUCCESS, ZPV4870_error_message(0, (ViStatus)0xBFFA7777, text));
    CHECK_TEXT(text, "");

    /* After close, every call with the old handle says the handle is invalid. */
    CHECK_STATUS(vi, VI_SUCCESS, ZPV4870_close(vi));
    {
        ViReal64 level = 0;
        ViInt16 result = 0;
        ViBoolean hasLock = VI_FALSE;
        ViChar message[256];
        CHECK_STATUS(0, ZPV4870_ERROR_INVALID_SESSION_HANDLE, ZPV4870_close(vi));
        CHECK_STATUS(0, ZPV4870_ERROR_INVALID_SESSION_HANDLE,
                     ZPV4870_GetAttributeViReal64(vi, "", ZPV4870_ATTR_VOLTAGE_LEVEL, &level));
        CHECK_STATUS(0, ZPV4870_ERROR_INVALID_SESSION_HANDLE,
                     ZPV4870_SetAttributeViReal64(vi, "", ZPV4870_ATTR_VOLTAGE_LEVEL, 1.0));
        CHECK_STATUS(0, ZPV4870_ERROR_INVALID_SESSION_HANDLE, ZPV4870_self_test(vi, &result, message));
        /* Checks that come before the session lookup keep their own status with a stale handle;
           the text lands on the thread's last error (session 0). */
        CHECK_STATUS(0, ZPV4870_ERROR_INVALID_ATTRIBUTE, ZPV4870_GetAttributeViInt32(vi, "", 1234, VI_NULL));
        CHECK_STATUS(0, ZPV4870_ERROR_NULL_POINTER,
                     ZPV4870_GetAttributeViReal64(vi, "", ZPV4870_ATTR_VOLTAGE_LEVEL, VI_NULL));
        CHECK_STATUS(0, ZPV4870_ERROR_NULL_POINTER, ZPV4870_self_test(vi, VI_NULL, message));
        CHECK_STATUS(0, ZPV4870_ERROR_NULL_POINTER, ZPV4870_error_query(vi, VI_NULL, message));
        CHECK_STATUS(0, ZPV4870_ERROR_NULL_POINTER, ZPV4870_GetOutputEnable(vi, VI_NULL));
        CHECK_STATUS(0, VI_SUCCESS, ZPV4870_GetError(0, &code, sizeof message, message));
        CHECK(code == ZPV4870_ERROR_NULL_POINTER);
        CHECK_TEXT(message, "Parameter Val is VI_NULL.");
        CHECK_STATUS(0, ZPV4870_ERROR_TYPES_DO_NOT_MATCH,
                     ZPV4870_GetAttributeViSession(vi, "", ZPV4870_ATTR_VOLTAGE_LEVEL, VI_NULL));
        CHECK_STATUS(0, ZPV4870_ERROR_INVALID_SESSION_HANDLE, ZPV4870_LockSession(vi, &hasLock));
        CHECK_STATUS(0, ZPV4870_ERROR_INVALID_SESSION_HANDLE, ZPV4870_UnlockSession(vi, &hasLock));
        CHECK_STATUS(0, ZPV4870_ERROR_INVALID_SESSION_HANDLE, ZPV4870_GetError(vi, &code, 0, VI_NULL));
        CHECK_STATUS(0, ZPV4870_ERROR_INVALID_SESSION_HANDLE, ZPV4870_ClearError(vi));
    }
    return failures;
}

int CheckTextCopyRule(void) {
    int failures = 0;
    ViChar buffer[16];
    /* The driver prefix "ZPV4870" is read without the driver object, so session 0 will do. */
    memset(buffer, 'x', sizeof buffer);
    CHECK_STATUS(0, 8, ZPV4870_GetAttributeViString(0, VI_NULL, ZPV4870_ATTR_SPECIFIC_DRIVER_PREFIX, 0, buffer));
    CHECK(buffer[0] == 'x');
    CHECK_STATUS(0, 8, ZPV4870_GetAttributeViString(0, VI_NULL, ZPV4870_ATTR_SPECIFIC_DRIVER_PREFIX, 5, VI_NULL));
    CHECK_STATUS(0, 8, ZPV4870_GetAttributeViString(0, VI_NULL, ZPV4870_ATTR_SPECIFIC_DRIVER_PREFIX, 7, buffer));
    CHECK_TEXT(buffer, "ZPV487");
    CHECK(buffer[7] == 'x');
    memset(buffer, 'x', sizeof buffer);
    CHECK_STATUS(0, 0, ZPV4870_GetAttributeViString(0, VI_NULL, ZPV4870_ATTR_SPECIFIC_DRIVER_PREFIX, 8, buffer));
    CHECK_TEXT(buffer, "ZPV4870");
    memset(buffer, 'x', sizeof buffer);
    CHECK_STATUS(0, 0, ZPV4870_GetAttributeViString(0, VI_NULL, ZPV4870_ATTR_SPECIFIC_DRIVER_PREFIX, -1, buffer));
    CHECK_TEXT(buffer, "ZPV4870");
    CHECK(buffer[8] == 'x');

    /* The same rule for errors: asking for the size keeps the error, delivering it clears it. */
    {
        ViStatus code = 0;
        ViChar small[4];
        const char* expected = "Parameter AttributeValue is VI_NULL.";
        ZPV4870_ClearError(0);
        CHECK_STATUS(0, ZPV4870_ERROR_NULL_POINTER, ZPV4870_GetAttributeViBoolean(0, VI_NULL, ZPV4870_ATTR_CACHE, VI_NULL));
        CHECK_STATUS(0, (ViStatus)strlen(expected) + 1, ZPV4870_GetError(0, &code, 0, VI_NULL));
        CHECK(code == ZPV4870_ERROR_NULL_POINTER);
        CHECK_STATUS(0, (ViStatus)strlen(expected) + 1, ZPV4870_GetError(0, &code, (ViInt32)sizeof small, small));
        CHECK_TEXT(small, "Par");
        CHECK_STATUS(0, VI_SUCCESS, ZPV4870_GetError(0, &code, (ViInt32)sizeof small, small));
        CHECK(code == VI_SUCCESS);
    }
    return failures;
}
