#include <gtest/gtest.h>

#include "ZPV4870.h"
#include "context/call_context.h"
#include "errors/error_test_support.h"
#include "errors/zpv4870_error_reporter.h"
#include "resources/message_table.h"

namespace zpv::errors {
namespace {

using test::TakeErrorInfo;

std::string Description() { return TakeErrorInfo().description.value_or("<none>"); }

class FakeCallContext final : public driver::ICallContextProvider {
public:
    const driver::MethodInfo* CurrentMethodInfo() const override { return current; }
    const driver::MethodInfo* current = nullptr;
};

class ErrorReporter : public ::testing::Test {
protected:
    void SetUp() override { SetErrorInfo(0, nullptr); }
    FakeCallContext calls;
    CZPV4870ErrorReporter reporter{&calls};
};

TEST_F(ErrorReporter, EveryMessageIsReachableWithItsTextStatusAndHelp) {
    ASSERT_EQ(resources::MessageTable().size(), 60u);
    for (const resources::MessageRow& row : resources::MessageTable()) {
        SCOPED_TRACE(row.name);
        const HRESULT hr = reporter.ReportError(static_cast<MessageId>(row.id), "a", "b", "c");
        EXPECT_EQ(hr, row.status != 0 ? row.status : DISP_E_EXCEPTION);
        EXPECT_EQ(SUCCEEDED(hr), row.id >= 0x25 && row.id <= 0x29);  // warnings still publish

        std::string expected = row.text;
        for (auto [mark, value] : {std::pair{"%1", "a"}, {"%2", "b"}, {"%3", "c"}})
            for (auto at = expected.find(mark); at != std::string::npos; at = expected.find(mark))
                expected.replace(at, 2, value);
        const test::Published p = TakeErrorInfo();
        ASSERT_TRUE(p.present);
        EXPECT_EQ(p.description, expected);
        const bool helped = row.id >= 0x2A && row.id <= 0x2C;
        EXPECT_EQ(p.helpContext, helped ? 3u : 0u);
        EXPECT_EQ(p.helpFile, helped ? std::optional<std::string>("ZPV4870.chm") : std::nullopt);
    }
}

TEST_F(ErrorReporter, DetailFollowsCrLfOnlyWhenGiven) {
    EXPECT_EQ(reporter.Report<errors::MessageId::AlreadyInitialized>(), ZPV_HR(0x80047061));
    EXPECT_EQ(Description(), "ZPV4870: The driver is already initialized.");
    EXPECT_EQ(reporter.Report<errors::MessageId::IdQueryFailed>("Unrecognized model: X."), ZPV_HR(0x8004705E));
    EXPECT_EQ(Description(), "ZPV4870: Instrument ID query failed.\r\nUnrecognized model: X.");
}

TEST_F(ErrorReporter, UnformattableMessagesFallBackToTheInternalError) {
    const driver::MethodInfo initialize(IID_IIviDriver, "IIviDriver", "Initialize");
    calls.current = &initialize;
    std::string text = "untouched";
    EXPECT_EQ(reporter.FormatMessageText(static_cast<MessageId>(0x61), {}, text), DISP_E_EXCEPTION);
    EXPECT_EQ(text, "untouched");
    const test::Published p = TakeErrorInfo();
    EXPECT_EQ(p.description,
              "Internal Error: Unable to retrieve and format error message from message table.\nResource ID = 97\n"
              "Language ID = 0\nReason = 'The system cannot find message text for message number 0x61 in the "
              "message file.'");
    EXPECT_EQ(p.guid, GUID_NULL);

    EXPECT_EQ(reporter.ReportError(MessageId::InvalidValue, "only one"), DISP_E_EXCEPTION);
    EXPECT_TRUE(Description().ends_with("Reason = 'Insert %2 of message 0x08 was not supplied.'"));
    EXPECT_EQ(reporter.RaiseErrorInfo(static_cast<MessageId>(0x61), "raw"), E_UNEXPECTED);
    EXPECT_EQ(Description(), "raw");
}

TEST_F(ErrorReporter, GuidAndSourceNameTheRunningInterfaceAndTheCoclass) {
    const driver::MethodInfo reset(IID_IIviDriverUtility, "IIviDriverUtility", "Reset");
    calls.current = &reset;
    LPOLESTR already = nullptr;
    const bool registerHere = FAILED(ProgIDFromCLSID(CLSID_ZPV4870, &already));
    CoTaskMemFree(already);
    const ClassRegistration registration{CLSID_ZPV4870, L"ZPV4870.ZPV4870.1", L"ZPV4870.ZPV4870", nullptr};
    if (registerHere) {
        ASSERT_EQ(CoRegisterClass(registration), S_OK);
    }
    reporter.Report<errors::MessageId::ResetFailed>();
    test::Published p = TakeErrorInfo();
    if (registerHere) CoRevokeClass(CLSID_ZPV4870);
    EXPECT_EQ(p.guid, IID_IIviDriverUtility);
    EXPECT_EQ(p.source, "ZPV4870.ZPV4870.1");

    CErrorReporter unregistered({0x0BADC0DE, 1, 2, {3, 4, 5, 6, 7, 8, 9, 10}}, nullptr);
    unregistered.Report<errors::MessageId::ResetFailed>();
    p = TakeErrorInfo();
    EXPECT_EQ(p.guid, GUID_NULL);
    EXPECT_FALSE(p.source);
}

TEST_F(ErrorReporter, InvalidValuesAreFormattedBeforeReporting) {
    EXPECT_EQ(reporter.ReportInvalidInteger("Initialize", "ResourceName", 0, "%d"), ZPV_HR(0x80047010));
    EXPECT_EQ(Description(), "ZPV4870: Invalid value '0' for method 'Initialize', parameter 'ResourceName'.");
    reporter.ReportInvalidBoolean("M", "P", true, "why");
    EXPECT_EQ(Description(), "ZPV4870: Invalid value 'True' for method 'M', parameter 'P'.\r\nwhy");
    reporter.ReportInvalidBoolean(kCurrentMethod, "P", false);
    EXPECT_EQ(Description(), "ZPV4870: Invalid value 'False' for method '', parameter 'P'.");
    reporter.ReportInvalidInteger("M", "P", -5000000000L, "%ld");
    EXPECT_EQ(Description(), "ZPV4870: Invalid value '-5000000000' for method 'M', parameter 'P'.");

    const driver::MethodInfo range(IID_IZPV4870ManualMode, "IZPV4870ManualMode", "put_Range");
    calls.current = &range;
    reporter.ReportInvalidReal(kCurrentMethod, "val", 230.5, "%0.15lg");
    EXPECT_EQ(Description(), "ZPV4870: Invalid value '230.5' for method 'IZPV4870ManualMode.Range', parameter 'val'.");
}

}  // namespace
}  // namespace zpv::errors
