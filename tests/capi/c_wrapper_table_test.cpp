// Every function wrapper, listed by the wrapper rows themselves: each is called once on a
// simulated session with valid arguments, and once per checked pointer with that pointer absent.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "capi/c_parameters.h"
#include "capi/wrapper_rows.h"

namespace {

// Storage the arguments point into; one call at a time.
struct Scratch {
    ViInt32 i;
    ViReal64 r;
    ViBoolean b;
    ViChar text[256];
    ViReal64 reals[16];
    ViByte bytes[64];
} scratch;

template <class T>
T Valid() {
    if constexpr (std::is_same_v<T, ViReal64>) return 1.0;
    else return T{1};  // a valid index and enumeration value alike
}
// A checked output: absent when it is the one named absent.
template <class T>
T* Output(const char* name, const char* absent) {
    if (absent && std::string(name) == absent) return nullptr;
    if constexpr (std::is_same_v<T, ViReal64>) return &scratch.r;
    else if constexpr (std::is_same_v<T, ViBoolean>) return &scratch.b;
    else return &scratch.i;
}

#define ZPV_T_ARG(kind, ...) ZPV_T_ARG_##kind(__VA_ARGS__)
#define ZPV_T_ARG_IN(T, n) , Valid<T>()
#define ZPV_T_ARG_OUT(T, n) , Output<T>(#n, absent)
#define ZPV_T_ARG_TEXT_IN(n) , "TEST.LST"
#define ZPV_T_ARG_TEXT_OUT(n) , ViInt32{sizeof scratch.text}, scratch.text
#define ZPV_T_ARG_ARRAY_IN(n) , ViInt32{4}, scratch.reals
#define ZPV_T_ARG_ARRAY_OUT(n) , ViInt32{16}, scratch.reals
#define ZPV_T_ARG_READ_BYTES(buffer, count, returned) , scratch.bytes, ViInt32{sizeof scratch.bytes}, Output<ViInt32>(#returned, absent)
#define ZPV_T_ARG_WRITE_BYTES(buffer, count) , scratch.bytes, ViInt32{4}

#define ZPV_T_CHANNEL_Session
#define ZPV_T_CHANNEL_AllPhases , channel
#define ZPV_T_CHANNEL_FirstPhase , channel
#define ZPV_T_PHASED_Session false
#define ZPV_T_PHASED_AllPhases true
#define ZPV_T_PHASED_FirstPhase true

// The names of the checked pointers, in parameter order.
#define ZPV_T_CHECKED(kind, ...) ZPV_T_CHECKED_##kind(__VA_ARGS__)
#define ZPV_T_CHECKED_IN(T, n)
#define ZPV_T_CHECKED_OUT(T, n) #n,
#define ZPV_T_CHECKED_TEXT_IN(n)
#define ZPV_T_CHECKED_TEXT_OUT(n)
#define ZPV_T_CHECKED_ARRAY_IN(n)
#define ZPV_T_CHECKED_ARRAY_OUT(n)
#define ZPV_T_CHECKED_READ_BYTES(buffer, count, returned) #returned,
#define ZPV_T_CHECKED_WRITE_BYTES(buffer, count)

struct Wrapper {
    const char* name;
    bool perPhase;
    std::vector<const char*> checked;
    ViStatus (*call)(ViSession vi, ViConstString channel, const char* absent);
};

#define ZPV_T_WRAPPER(Name, I, Member, S, ...)                                                            \
    Wrapper{"ZPV4870_" #Name, ZPV_T_PHASED_##S, {ZPV_C_EACH(ZPV_T_CHECKED, __VA_ARGS__)},               \
            []([[maybe_unused]] ViSession vi, [[maybe_unused]] ViConstString channel,                     \
               [[maybe_unused]] const char* absent) {                                                    \
                return ZPV4870_##Name(vi ZPV_T_CHANNEL_##S ZPV_C_EACH(ZPV_T_ARG, __VA_ARGS__));           \
            }},

const std::vector<Wrapper> kWrappers = {ZPV_C_WRAPPERS(ZPV_T_WRAPPER)};

class CWrapperTable : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(ZPV4870_InitWithOptions("", VI_FALSE, VI_FALSE, "Simulate=true, DriverSetup=Model=ZPV-4832-Advanced",
                                          &vi),
                  VI_SUCCESS);
    }
    void TearDown() override { ZPV4870_close(vi); }
    std::string LastError(ViStatus* code = nullptr) {
        ViChar text[512] = "";
        ViStatus status = 0;
        ZPV4870_GetError(vi, &status, sizeof text, text);
        if (code) *code = status;
        return text;
    }
    ViSession vi = 0;
};

TEST_F(CWrapperTable, EveryWrapperAnswersInSimulation) {
    ASSERT_GT(kWrappers.size(), 100u);  // the rows themselves; the header is compared with them elsewhere
    constexpr ViStatus kNotImplemented = static_cast<ViStatus>(0x80004001);
    for (const Wrapper& w : kWrappers) {
        SCOPED_TRACE(w.name);
        const ViStatus status = w.call(vi, "OutputPhase1", nullptr);
        const std::string error = LastError();
        // What the members do while simulating: answer, refuse for want of an instrument, refuse
        // direct I/O or an unsupported inherent feature, or (class-compliant actions) report that
        // they are not implemented.
        const bool expected = status == VI_SUCCESS || status == ZPV4870_ERROR_NOT_INITIALIZED ||
                              status == ZPV4870_ERROR_IO_GENERAL || status == ZPV4870_ERROR_FUNCTION_NOT_SUPPORTED ||
                              status == kNotImplemented;
        EXPECT_TRUE(expected) << "status 0x" << std::hex << status << ": " << error;
        // Every failure but the class members' carries the object's description.
        if (status < 0 && status != kNotImplemented) {
            EXPECT_EQ(error.rfind("ZPV4870: ", 0), 0u) << error;
        }
    }
}

TEST_F(CWrapperTable, EveryCheckedPointerIsReportedByName) {
    int checkedPointers = 0;
    for (const Wrapper& w : kWrappers) {
        for (const char* name : w.checked) {
            SCOPED_TRACE(std::string(w.name) + " without " + name);
            ++checkedPointers;
            // Before anything else: even a malformed channel name is not looked at yet.
            EXPECT_EQ(w.call(vi, "[[bad", name), ZPV4870_ERROR_NULL_POINTER);
            ViStatus code = 0;
            EXPECT_EQ(LastError(&code), std::string("Parameter ") + name + " is VI_NULL.");
            EXPECT_EQ(code, ZPV4870_ERROR_NULL_POINTER);
        }
    }
    EXPECT_EQ(checkedPointers, 55);
}

TEST_F(CWrapperTable, PhaseWrappersResolveTheirChannelName) {
    for (const Wrapper& w : kWrappers) {
        if (!w.perPhase) continue;
        SCOPED_TRACE(w.name);
        EXPECT_EQ(w.call(vi, "OutputPhase9", nullptr), ZPV4870_ERROR_UNKNOWN_PHYSICAL_IDENTIFIER) << LastError();
        EXPECT_EQ(w.call(vi, "Output[Phase", nullptr), ZPV4870_ERROR_BADLY_FORMED_SELECTOR) << LastError();
    }
}

}  // namespace
