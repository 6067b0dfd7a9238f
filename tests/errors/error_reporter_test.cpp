#include <gtest/gtest.h>

#include <thread>

#include "ZPV4870.h"
#include "driver/call_context.h"
#include "errors/error_test_support.h"
#include "errors/zpv4870_error_reporter.h"
#include "resources/message_table.h"

namespace zpv::errors::test {
namespace {

struct ExpectedRow {
    unsigned id;
    HRESULT status;
    DWORD helpContext;
    const char* text;
};
constexpr ExpectedRow kRows[] = {
#define ZPV_MESSAGE(id, name, status, help, text) {id, ZPV_HR(status), help, text},
#include "resources/messages.inc"
#undef ZPV_MESSAGE
};

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

std::string WithInserts(std::string text) {
    const std::pair<std::string_view, std::string_view> inserts[] = {{"%1", "a"}, {"%2", "b"}, {"%3", "c"}};
    for (auto [mark, value] : inserts)
        for (auto at = text.find(mark); at != std::string::npos; at = text.find(mark, at)) text.replace(at, 2, value);
    return text;
}

TEST_F(ErrorReporter, EveryMessageIsReachableWithItsTextStatusAndHelp) {
    ASSERT_EQ(std::size(kRows), 60u);
    ASSERT_EQ(resources::MessageTable().size(), 60u);
    for (const ExpectedRow& row : kRows) {
        SCOPED_TRACE(row.id);
        const HRESULT hr = reporter.ReportError(static_cast<MessageId>(row.id), "a", "b", "c");
        EXPECT_EQ(hr, row.status != 0 ? row.status : DISP_E_EXCEPTION);
        EXPECT_EQ(SUCCEEDED(hr), row.id >= 0x25 && row.id <= 0x29);
        const Published p = TakeErrorInfo();
        ASSERT_TRUE(p.present);
        EXPECT_EQ(p.description, WithInserts(row.text));
        const bool helped = row.id >= 0x2A && row.id <= 0x2C;
        EXPECT_EQ(p.helpContext, helped ? 3u : 0u);
        EXPECT_EQ(p.helpFile, helped ? std::optional<std::string>("ZPV4870.chm") : std::nullopt);
    }
}

TEST_F(ErrorReporter, DetailFollowsCrLfOnlyWhenGiven) {
    EXPECT_EQ(reporter.ReportAlreadyInitialized(), ZPV_HR(0x80047061));
    EXPECT_EQ(TakeErrorInfo().description, "ZPV4870: The driver is already initialized.");
    EXPECT_EQ(reporter.ReportIdQueryFailed("Unrecognized model: X."), ZPV_HR(0x8004705E));
    EXPECT_EQ(TakeErrorInfo().description, "ZPV4870: Instrument ID query failed.\r\nUnrecognized model: X.");
    EXPECT_EQ(reporter.ReportIoTimeout("", "VI_ERROR_TMO"), ZPV_HR(0x80044215));
    EXPECT_EQ(TakeErrorInfo().description, "ZPV4870: I/O timeout error: VI_ERROR_TMO.");
}

TEST_F(ErrorReporter, UnformattableMessagesFallBackToTheInternalError) {
    const driver::MethodInfo initialize(IID_IIviDriver, "IIviDriver", "Initialize");
    calls.current = &initialize;
    std::string text = "untouched";
    EXPECT_EQ(reporter.FormatMessageText(static_cast<MessageId>(0x61), {}, text), DISP_E_EXCEPTION);
    EXPECT_EQ(text, "untouched");
    Published p = TakeErrorInfo();
    EXPECT_EQ(p.description,
              "Internal Error: Unable to retrieve and format error message from message table.\nResource ID = 97\n"
              "Language ID = 0\nReason = 'The system cannot find message text for message number 0x61 in the "
              "message file.'");
    EXPECT_EQ(p.guid, GUID_NULL);
    EXPECT_FALSE(p.helpFile);

    EXPECT_EQ(reporter.ReportError(MessageId::InvalidValue, "only one"), DISP_E_EXCEPTION);
    EXPECT_NE(TakeErrorInfo().description->find("Reason = 'Insert %2 of message 0x08 was not supplied.'"),
              std::string::npos);

    EXPECT_EQ(reporter.RaiseErrorInfo(static_cast<MessageId>(0x61), "raw"), E_UNEXPECTED);
    p = TakeErrorInfo();
    EXPECT_EQ(p.description, "raw");
    EXPECT_EQ(p.helpContext, 0u);
}

TEST_F(ErrorReporter, GuidIsTheInterfaceOfTheCallInProgress) {
    reporter.ReportResetFailed();
    EXPECT_EQ(TakeErrorInfo().guid, GUID_NULL);
    const driver::MethodInfo reset(IID_IIviDriverUtility, "IIviDriverUtility", "Reset");
    calls.current = &reset;
    reporter.ReportResetFailed();
    EXPECT_EQ(TakeErrorInfo().guid, IID_IIviDriverUtility);
    EXPECT_EQ(reporter.ReportErrorText(E_FAIL, "plain"), E_FAIL);
    EXPECT_EQ(TakeErrorInfo().guid, GUID_NULL);

    CErrorReporter noCalls(CLSID_ZPV4870, nullptr);
    noCalls.ReportResetFailed();
    EXPECT_EQ(TakeErrorInfo().guid, GUID_NULL);
}

TEST_F(ErrorReporter, SourceIsTheRegisteredProgId) {
    constexpr CLSID kUnregistered = {0x0BADC0DE, 0x1, 0x2, {3, 4, 5, 6, 7, 8, 9, 10}};
    CErrorReporter orphan(kUnregistered, &calls);
    orphan.ReportResetFailed();
    EXPECT_FALSE(TakeErrorInfo().source);

    LPOLESTR already = nullptr;
    const bool registeredHere = FAILED(ProgIDFromCLSID(CLSID_ZPV4870, &already));
    CoTaskMemFree(already);
    const ClassRegistration registration{CLSID_ZPV4870, L"ZPV4870.ZPV4870.1", L"ZPV4870.ZPV4870", nullptr};
    if (registeredHere) {
        ASSERT_EQ(CoRegisterClass(registration), S_OK);
    }
    reporter.ReportResetFailed();
    EXPECT_EQ(TakeErrorInfo().source, "ZPV4870.ZPV4870.1");
    if (registeredHere) CoRevokeClass(CLSID_ZPV4870);
}

TEST_F(ErrorReporter, InvalidValuesAreFormattedBeforeReporting) {
    EXPECT_EQ(reporter.ReportInvalidInteger("Initialize", "ResourceName", 0, "%d"), ZPV_HR(0x80047010));
    EXPECT_EQ(TakeErrorInfo().description, "ZPV4870: Invalid value '0' for method 'Initialize', parameter 'ResourceName'.");
    reporter.ReportInvalidBoolean("M", "P", true, "why");
    EXPECT_EQ(TakeErrorInfo().description, "ZPV4870: Invalid value 'True' for method 'M', parameter 'P'.\r\nwhy");
    reporter.ReportInvalidBoolean(kCurrentMethod, "P", false);
    EXPECT_EQ(TakeErrorInfo().description, "ZPV4870: Invalid value 'False' for method '', parameter 'P'.");

    const driver::MethodInfo range(IID_IZPV4870ManualMode, "IZPV4870ManualMode", "put_Range");
    calls.current = &range;
    reporter.ReportInvalidReal(kCurrentMethod, "val", 230.5, "%0.15lg");
    EXPECT_EQ(TakeErrorInfo().description,
              "ZPV4870: Invalid value '230.5' for method 'IZPV4870ManualMode.Range', parameter 'val'.");
    reporter.ReportInvalidInteger("M", "P", -5000000000L, "%ld");
    EXPECT_NE(TakeErrorInfo().description->find("'-5000000000'"), std::string::npos);
    CComBSTR omega(L"\u03A9");
    reporter.ReportInvalidAutomationText("M", "P", omega);
    EXPECT_NE(TakeErrorInfo().description->find("'\u03A9'"), std::string::npos);
}

TEST_F(ErrorReporter, ReportsStayOnTheReportingThread) {
    std::thread([&] {
        reporter.ReportNotInitialized();
        EXPECT_TRUE(TakeErrorInfo().present);
        reporter.ReportOperationPending();  // left for thread exit to release
    }).join();
    EXPECT_FALSE(TakeErrorInfo().present);
}

}  // namespace
}  // namespace zpv::errors::test
