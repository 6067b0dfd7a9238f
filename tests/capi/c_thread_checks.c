/* One session shared by threads: calls from any thread, many at once, and the session lock that
 * makes a write and the read after it one unit. */
#define _POSIX_C_SOURCE 200809L
#include "c_check.h"

#include <pthread.h>
#include <sched.h>

enum { kThreads = 8, kRounds = 100 };

typedef struct {
    ViSession vi;
    ViAttr phaseLevel; /* a per-phase ViReal64 attribute the session can read and write */
    int index;
    int failures;
} Worker;

static void* SetAndRead(void* arg) {
    Worker* w = (Worker*)arg;
    int failures = 0;
    for (int i = 0; i < kRounds; ++i) {
        ViReal64 level = 0;
        ViReal64 frequency = -1;
        CHECK_STATUS(w->vi, VI_SUCCESS,
                     ZPV4870_SetAttributeViReal64(w->vi, "OutputPhase1", w->phaseLevel, 100.0 + w->index));
        CHECK_STATUS(w->vi, VI_SUCCESS, ZPV4870_GetAttributeViReal64(w->vi, VI_NULL, w->phaseLevel, &level));
        CHECK(level >= 100.0 && level < 100.0 + kThreads);
        CHECK_STATUS(w->vi, VI_SUCCESS,
                     ZPV4870_GetAttributeViReal64(w->vi, VI_NULL, ZPV4870_ATTR_MANUAL_MODE_FREQUENCY, &frequency));
        CHECK(frequency >= 0);
    }
    w->failures = failures;
    return NULL;
}

/* Under the session lock, no other thread's write comes between this thread's write and read. */
static void* LockedUnits(void* arg) {
    Worker* w = (Worker*)arg;
    int failures = 0;
    for (int i = 0; i < kRounds; ++i) {
        ViBoolean hasLock = VI_FALSE;
        ViReal64 level = 0;
        const ViReal64 mine = 10.0 * (w->index + 1) + i % 7;
        CHECK_STATUS(w->vi, VI_SUCCESS, ZPV4870_LockSession(w->vi, &hasLock));
        CHECK(hasLock == VI_TRUE);
        CHECK_STATUS(w->vi, VI_SUCCESS, ZPV4870_SetAttributeViReal64(w->vi, VI_NULL, ZPV4870_ATTR_MANUAL_MODE_VOLTAGE_AC, mine));
        sched_yield();
        CHECK_STATUS(w->vi, VI_SUCCESS,
                     ZPV4870_GetAttributeViReal64(w->vi, VI_NULL, ZPV4870_ATTR_MANUAL_MODE_VOLTAGE_AC, &level));
        CHECK(level == mine);
        CHECK_STATUS(w->vi, VI_SUCCESS, ZPV4870_UnlockSession(w->vi, &hasLock));
        CHECK(hasLock == VI_FALSE);
    }
    w->failures = failures;
    return NULL;
}

static void* CloseSession(void* arg) {
    Worker* w = (Worker*)arg;
    w->failures = ZPV4870_close(w->vi) == VI_SUCCESS ? 0 : 1;
    return NULL;
}

static int RunWorkers(ViSession vi, ViAttr phaseLevel, int count, void* (*body)(void*)) {
    pthread_t threads[kThreads];
    Worker workers[kThreads];
    int failures = 0;
    for (int i = 0; i < count; ++i) {
        workers[i].vi = vi;
        workers[i].phaseLevel = phaseLevel;
        workers[i].index = i;
        workers[i].failures = 0;
        CHECK(pthread_create(&threads[i], NULL, body, &workers[i]) == 0);
    }
    for (int i = 0; i < count; ++i) {
        pthread_join(threads[i], NULL);
        failures += workers[i].failures;
    }
    return failures;
}

int CheckThreads(const char* resource, const char* options, ViAttr phaseLevel) {
    int failures = 0;
    ViSession vi = 0;
    CHECK_STATUS(0, VI_SUCCESS, ZPV4870_InitWithOptions(resource, VI_FALSE, VI_FALSE, options, &vi));
    if (vi == 0) return failures;
    failures += RunWorkers(vi, phaseLevel, kThreads, SetAndRead);
    failures += RunWorkers(vi, phaseLevel, 2, LockedUnits);
    /* Opened on this thread, closed on another. */
    failures += RunWorkers(vi, phaseLevel, 1, CloseSession);
    CHECK_STATUS(0, ZPV4870_ERROR_INVALID_SESSION_HANDLE, ZPV4870_close(vi));
    return failures;
}
