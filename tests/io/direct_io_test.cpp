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

// A socket's line feed ends a message, yet in a block's data it is data: formatted block reads
// and whole-reply reads both take the block whole (a block whose last data byte is a line feed
// too), and the next answer is read clean.
TEST_F(DirectIo, BinaryBlocksKeepTheirLineFeeds) {
    const auto ask = [&](const std::wstring& query) {
        BSTR text = SysAllocString((query + L"\n").c_str());
        const HRESULT hr = session.WriteString(text);
        SysFreeString(text);
        return hr;
    };
    const auto isPattern = [](const BYTE* data, std::size_t size) {
        for (std::size_t i = 0; i < size; ++i)
            if (data[i] != i % 256) return false;
        return true;
    };
    for (long bytes : {11L, 1000L, 300000L}) {
        SCOPED_TRACE(bytes);
        const std::wstring query = L"SIM:BLOCK:BIN? " + std::to_wstring(bytes);
        ASSERT_EQ(ask(query), S_OK);
        SAFEARRAY* block = nullptr;
        ASSERT_EQ(session.ReadBlock(VT_UI1, false, true, &block), S_OK) << LastErrorText();
        EXPECT_EQ(block->rgsabound[0].cElements, static_cast<ULONG>(bytes));
        EXPECT_TRUE(isPattern(static_cast<const BYTE*>(block->pvData), block->rgsabound[0].cElements));
        SafeArrayDestroy(block);

        ASSERT_EQ(ask(query), S_OK);
        SAFEARRAY* reply = nullptr;
        ASSERT_EQ(session.ReadBytes(&reply), S_OK) << LastErrorText();
        const std::string header = "#" + std::to_string(std::to_string(bytes).size()) + std::to_string(bytes);
        ASSERT_EQ(reply->rgsabound[0].cElements, header.size() + bytes + 1);
        const auto* data = static_cast<const BYTE*>(reply->pvData);
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(data), header.size()), header);
        EXPECT_TRUE(isPattern(data + header.size(), static_cast<std::size_t>(bytes)));
        SafeArrayDestroy(reply);

        ASSERT_EQ(ask(L"*IDN?"), S_OK);
        BSTR identity = nullptr;
        ASSERT_EQ(session.ReadString(&identity), S_OK) << LastErrorText();
        EXPECT_EQ(com::Utf8FromBstr(identity).rfind("Kaltrix,", 0), 0u) << "a stray byte of the block was left";
        SysFreeString(identity);
    }
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
