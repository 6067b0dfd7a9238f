/* A minimal harness for the checks written in C: each check function counts its failures and
 * prints each one with its place, the call, the statuses and the session's last error. */
#ifndef ZPV4870_TESTS_C_CHECK_H
#define ZPV4870_TESTS_C_CHECK_H

#include <stdio.h>
#include <string.h>

#include "zpv4870.h"

#define CHECK(cond)                                                                     \
    do {                                                                                \
        if (!(cond)) {                                                                  \
            fprintf(stderr, "%s:%d: CHECK(%s) failed\n", __FILE__, __LINE__, #cond);    \
            ++failures;                                                                 \
        }                                                                               \
    } while (0)

/* The call must return expected; on a mismatch the session's error text is printed too. */
#define CHECK_STATUS(vi, expected, call)                                                           \
    do {                                                                                           \
        ViStatus got_ = (call);                                                                    \
        if (got_ != (ViStatus)(expected)) {                                                        \
            ViChar text_[512] = "";                                                                \
            ViStatus code_ = 0;                                                                    \
            ZPV4870_GetError((vi), &code_, (ViInt32)sizeof text_, text_);                          \
            fprintf(stderr, "%s:%d: %s returned 0x%08X, expected 0x%08X (last error 0x%08X: %s)\n", \
                    __FILE__, __LINE__, #call, (unsigned)got_, (unsigned)(expected), (unsigned)code_,  \
                    text_);                                                                        \
            ++failures;                                                                            \
        }                                                                                          \
    } while (0)

#define CHECK_TEXT(actual, expected)                                                                  \
    do {                                                                                              \
        if (strcmp((actual), (expected)) != 0) {                                                      \
            fprintf(stderr, "%s:%d: text \"%s\", expected \"%s\"\n", __FILE__, __LINE__, (actual),     \
                    (expected));                                                                      \
            ++failures;                                                                               \
        }                                                                                             \
    } while (0)

#define SIMULATED "Simulate=true, DriverSetup=Model=ZPV-4816-Advanced"

/* The checks; each returns its number of failures. resource and options name the session the
 * attribute and thread checks open. */
#ifdef __cplusplus
extern "C" {
#endif
int CheckSessionsAndErrors(void);
int CheckTextCopyRule(void);
int CheckEveryAttribute(const char* resource, const char* options);
int CheckPhaseChannels(void);
int CheckThreads(const char* resource, const char* options, ViAttr phaseLevel);
int CheckWrapperPatterns(void);
#ifdef __cplusplus
}
#endif

#endif
