// The frame on a bare target: gate, stale error information, out-pointers, nesting and the tracer.
#include "core/method_frame.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "ZPV4870.h"
#include "errors/error_test_support.h"

namespace zpv::driver {
namespace {

// A node with just what the frame needs, reporting through a real reporter.
class Target : public ICallContextProvider {
public:
    Target() : reporter(GUID_NULL, this) {}
    std::recursive_mutex& ObjectLock() { return lock; }
    CallContextStack& CallContexts() { return stack; }
    bool IsInitialized() const { return initialized; }
    errors::IErrorReporter& Reporter() { return reporter; }
    trace::ICallTracer* Tracer() const { return tracer; }
    const MethodInfo* CurrentMethodInfo() const override { return tInnermostCall ? tInnermostCall : stack.Top(); }

    std::recursive_mutex lock;
    CallContextStack stack;
    bool initialized = true;
    errors::CErrorReporter reporter;
    trace::ICallTracer* tracer = nullptr;
};

const MethodInfo kOuter(IID_IIviDriverUtility, "IIviDriverUtility", "ResetWithDefaults");
const MethodInfo kInner(IID_IIviDriverOperation, "IIviDriverOperation", "put_Simulate");

TEST(MethodFrame, GateRefusesBeforeAnythingElseAndLeavesOutputs) {
    Target t;
    t.initialized = false;
    double value = 4.5;
    bool ran = false;
    EXPECT_EQ(RunFrame(t, kOuter, Gate::Initialized, [&] { ran = true; return S_OK; }, RetVal(&value)),
              static_cast<HRESULT>(0x8004701D));
    EXPECT_FALSE(ran);
    EXPECT_EQ(value, 4.5);
    EXPECT_EQ(RunFrame(t, kOuter, Gate::Always, [&] { ran = true; return S_OK; }, RetVal(&value)), S_OK);
    EXPECT_TRUE(ran);
    EXPECT_EQ(value, 0.0);  // return values start cleared
}

// Whatever a member throws stops at the frame as a status with a description.
TEST(MethodFrame, ExceptionsBecomeStatusesWithADescription) {
    Target t;
    double value = 1.0;
    EXPECT_EQ(RunFrame(t, kOuter, Gate::Always, []() -> HRESULT { throw std::bad_alloc(); }, RetVal(&value)),
              E_OUTOFMEMORY);
    EXPECT_EQ(errors::test::TakeErrorInfo().description, "ZPV4870: Could not allocate necessary memory.");
    EXPECT_EQ(RunFrame(t, kOuter, Gate::Always, []() -> HRESULT { throw std::out_of_range("map::at"); }),
              E_UNEXPECTED);
    EXPECT_EQ(errors::test::TakeErrorInfo().description,
              "ZPV4870: Unexpected failure inside the driver: map::at.");
    EXPECT_EQ(RunFrame(t, kOuter, Gate::Always, []() -> HRESULT { throw 42; }), E_UNEXPECTED);
    EXPECT_EQ(errors::test::TakeErrorInfo().description,
              "ZPV4870: Unexpected failure inside the driver: an unknown exception.");
    // The object is usable afterwards: its lock was released and its call stack unwound.
    EXPECT_EQ(RunFrame(t, kOuter, Gate::Always, [] { return S_OK; }), S_OK);
    EXPECT_EQ(t.stack.Top(), nullptr);
}

TEST(MethodFrame, OutPointersAreCheckedInOrderAndInOutKeepsItsContent) {
    Target t;
    LONG code = 9;
    BSTR text = nullptr;
    EXPECT_EQ(RunFrame(t, kOuter, Gate::Always, [] { return S_OK; }, RetVal(&code, "ErrorCode"),
                       RetVal(static_cast<BSTR*>(nullptr), "ErrorMessage")),
              static_cast<HRESULT>(0x80047058));
    EXPECT_EQ(errors::test::TakeErrorInfo().description,
              "ZPV4870: Null pointer passed for method 'ResetWithDefaults', parameter 'ErrorMessage'.");
    EXPECT_EQ(code, 9);  // nothing is cleared when a later pointer is missing

    LONG inout = 7;
    EXPECT_EQ(RunFrame(t, kOuter, Gate::Always, [&] { return inout == 7 ? S_OK : E_FAIL; }, InOut(&inout, "x"),
                       RetVal(&text)),
              S_OK);
}

TEST(MethodFrame, NestedCallPublishesTheInnermostInterface) {
    Target t;
    HRESULT hr = RunFrame(t, kOuter, Gate::Initialized, [&] {
        EXPECT_EQ(t.stack.Top(), &kOuter);
        return RunFrame(t, kInner, Gate::Initialized, [&] {
            EXPECT_EQ(t.stack.Top(), &kInner);
            return t.reporter.Report<errors::MessageId::CannotChangeSimulationState>();
        });
    });
    EXPECT_EQ(hr, static_cast<HRESULT>(0x80047062));
    EXPECT_EQ(errors::test::TakeErrorInfo().guid, IID_IIviDriverOperation);
    EXPECT_EQ(t.stack.Top(), nullptr);
    EXPECT_EQ(tInnermostCall, nullptr);
}

TEST(MethodFrame, StaleErrorInformationIsClearedAtEntry) {
    Target t;
    t.reporter.Report<errors::MessageId::ResetFailed>();
    EXPECT_EQ(RunFrame(t, kOuter, Gate::Always, [] { return S_OK; }), S_OK);
    EXPECT_FALSE(errors::test::TakeErrorInfo().present);
}

TEST(MethodFrame, TracerSeesEveryCallAndMayRefuseIt) {
    struct Recorder : trace::ICallTracer {
        HRESULT BeginCall(const MethodInfo& m, std::span<const trace::ParameterRecord> params,
                          trace::CallRecord&) override {
            calls.push_back("begin " + m.displayName + " " + std::to_string(params.size()));
            return refuse ? E_ACCESSDENIED : S_OK;
        }
        HRESULT EndCall(const MethodInfo& m, HRESULT hr, std::span<const trace::ParameterRecord>,
                        trace::CallRecord&) override {
            calls.push_back("end " + m.displayName + (FAILED(hr) ? " failed" : ""));
            return S_OK;
        }
        std::vector<std::string> calls;
        bool refuse = false;
    } recorder;
    Target t;
    t.tracer = &recorder;
    bool ran = false;
    double level = 1.5;
    EXPECT_EQ(RunFrame(t, kInner, Gate::Always, [&] { ran = true; return E_FAIL; }, In(level, "level")), E_FAIL);
    recorder.refuse = true;
    EXPECT_EQ(RunFrame(t, kOuter, Gate::Always, [&] { ran = false; return S_OK; }), E_ACCESSDENIED);
    EXPECT_TRUE(ran);
    EXPECT_EQ(recorder.calls, (std::vector<std::string>{"begin IIviDriverOperation.Simulate 1",
                                                          "end IIviDriverOperation.Simulate failed",
                                                          "begin IIviDriverUtility.ResetWithDefaults 0",
                                                          "end IIviDriverUtility.ResetWithDefaults failed"}));
}

}  // namespace
}  // namespace zpv::driver
