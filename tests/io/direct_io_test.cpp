// The session's VISA attributes by identifier, its low-level transfers and the VISA operations a
// message-based session lacks, against the simulator over a TCP socket.
#include <gtest/gtest.h>

#include "errors/zpv4870_error_reporter.h"
#include "io/io_test_support.h"
#include "io/visa_com_session.h"
#include "platform/com/text_conversion.h"
#include "platform/visa/session_attribute_ids.h"
#include "zpv4870sim/instrument.h"
#include "zpv4870sim/socket_server.h"

namespace zpv::io {
namespace {

using test::LastErrorText;

class DirectIo : public ::testing::Test {
protected:
    void SetUp() override {
        server.Start(0);
        const std::string resource = "TCPIP0::127.0.0.1::" + std::to_string(server.Port()) + "::SOCKET";
        ASSERT_EQ(session.Open(resource, nullptr, &reporter, nullptr, nullptr), S_OK) << LastErrorText();
    }

    sim::Instrument instrument;
    sim::SocketServer server{instrument};
    errors::CZPV4870ErrorReporter reporter{nullptr};
    CVisaComSession session;
};

TEST_F(DirectIo, AttributesConvertOrSayWhyNot) {
    ULONG timeout = 0;
    EXPECT_EQ(session.GetAttribute(visa::VI_ATTR_TMO_VALUE, &timeout), S_OK);
    EXPECT_EQ(timeout, 2000u);
    BSTR text = nullptr;
    EXPECT_EQ(session.GetAttribute(visa::VI_ATTR_TMO_VALUE, &text), S_OK);
    EXPECT_EQ(com::Utf8FromBstr(text), "2000");
    SysFreeString(text);
    VARIANT_BOOL enabled = VARIANT_FALSE;
    EXPECT_EQ(session.GetAttribute(visa::VI_ATTR_TERMCHAR_EN, &enabled), S_OK);
    EXPECT_EQ(enabled, VARIANT_TRUE);  // a socket ends its messages at the line feed

    // The six conversions that can fail, each with its own text.
    BYTE small = 0;
    USHORT word = 0;
    ULONGLONG wide = 0;
    const std::string id = std::to_string(visa::VI_ATTR_TMO_VALUE);
    struct Case {
        HRESULT status;
        const char* type;
        visa::ViAttr attribute;
    };
    const Case cases[] = {
        {session.GetAttribute(visa::VI_ATTR_TMO_VALUE, &small), "UINT8", visa::VI_ATTR_TMO_VALUE},
        {session.GetAttribute(visa::VI_ATTR_TERMCHAR_EN, &word), "UINT16", visa::VI_ATTR_TERMCHAR_EN},
        {session.GetAttribute(visa::VI_ATTR_RSRC_CLASS, &timeout), "UINT32", visa::VI_ATTR_RSRC_CLASS},
        {session.GetAttribute(visa::VI_ATTR_RSRC_NAME, &wide), "UINT64", visa::VI_ATTR_RSRC_NAME},
        {session.GetAttribute(visa::VI_ATTR_RSRC_CLASS, &enabled), "boolean", visa::VI_ATTR_RSRC_CLASS},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        EXPECT_EQ(c.status, test::kIoErrorStatus);
    }
    EXPECT_EQ(session.GetAttribute(visa::VI_ATTR_RSRC_CLASS, &enabled), test::kIoErrorStatus);
    EXPECT_EQ(LastErrorText(), "ZPV4870: I/O error: GetAttribute could not convert attribute with ID " +
                                   std::to_string(visa::VI_ATTR_RSRC_CLASS) + " to a boolean value..");

    EXPECT_EQ(session.GetAttribute(visa::VI_ATTR_TMO_VALUE, static_cast<BYTE*>(nullptr)), ZPV_HR(0x80047058));
    EXPECT_EQ(LastErrorText(), "ZPV4870: Null pointer passed for method 'GetAttribute', parameter 'puchValue'.");
    // An attribute the session does not answer: the transport's own status, described.
    EXPECT_EQ(session.GetAttribute(visa::VI_ATTR_ASRL_BAUD, &timeout), test::kIoErrorStatus);
}

TEST_F(DirectIo, LowLevelTransfersKeepTheirOwnTimeout) {
    BSTR query = SysAllocString(L"*IDN?\n");
    LONG written = 0;
    EXPECT_EQ(session.LowLevelWriteStringNoPoll(query, &written, 500), S_OK);
    SysFreeString(query);
    EXPECT_EQ(written, 6);
    char reply[256] = {};
    LONG actual = 0;
    EXPECT_EQ(session.LowLevelReadNoPoll(reinterpret_cast<BYTE*>(reply), sizeof reply, &actual, 500), S_OK);
    EXPECT_EQ(std::string(reply, static_cast<std::size_t>(actual)).rfind("Kaltrix,", 0), 0u);
    LONG timeout = 0;
    EXPECT_EQ(session.GetTimeout(&timeout), S_OK);
    EXPECT_EQ(timeout, 2000) << "the operation's timeout was put back";

    EXPECT_EQ(session.LowLevelWriteNoPoll(nullptr, 3, &written, kUseSessionTimeout), ZPV_HR(0x80047058));
    EXPECT_EQ(LastErrorText(), "ZPV4870: Null pointer passed for method 'LowLevelWriteNoPoll', parameter 'psaBuf'.");
    EXPECT_EQ(session.LowLevelWriteStringNoPoll(nullptr, &written, kUseSessionTimeout), ZPV_HR(0x80047058));
    EXPECT_EQ(session.LowLevelReadStringNoPoll(nullptr, 10, kUseSessionTimeout), ZPV_HR(0x80047058));
    EXPECT_EQ(LastErrorText(),
              "ZPV4870: Null pointer passed for method 'LowLevelReadStringNoPoll', parameter 'pbstrBuf'.");
}

TEST_F(DirectIo, RegisterMemoryAndAsyncOperationsAreNotOnMessageSessions) {
    const std::pair<const char*, const char*> operations[] = {
        {"In16", "The VISA-COM session does not support register-based operations."},
        {"MoveOut32", "The VISA-COM session does not support register-based operations."},
        {"In64", "The VISA-COM session does not support 64-bit register-based operations."},
        {"AllocateMemory", "The VISA-COM session does not support shared memory register-based operations."},
        {"WriteAsync", "The VISA-COM session does not support asynchronous messaging operations."},
        {"MoveAsync", "The VISA-COM session does not support the MoveAsync operation."},
    };
    for (const auto& [name, message] : operations) {
        EXPECT_EQ(session.VisaOperation(name), test::kIoErrorStatus) << name;
        EXPECT_EQ(LastErrorText(), std::string("ZPV4870: I/O error: ") + message + ".") << name;
    }
    EXPECT_EQ(session.VisaOperation("Frobnicate"), E_INVALIDARG);
}

}  // namespace
}  // namespace zpv::io
