#include "io/io_session.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "keywords/enum_command_maps.h"
#include "io/io_test_support.h"
#include "support/scripted_transport.h"
#include "ZPV4870.h"

namespace zpv::io {
namespace {

using test::LastErrorText;

class IoSessionTest : public ::testing::Test {
protected:
    void SetUp() override {
        session.SetInstrErrorPoller(&poller);
        session.SetEnumResolver(&keywords::CEnumCommandMaps::Instance(), &context);
        ASSERT_EQ(session.Open("TCPIP0::192.168.1.20::inst0::INSTR", &reporter), S_OK);
    }

    errors::CZPV4870ErrorReporter reporter{nullptr};
    test::ScriptedConnector connector;
    test::ScriptedTransport& transport = *connector.transport;
    test::CountingPoller poller;
    test::FixedEnumContext context;
    CIoSession session{&reporter, &connector};
};

TEST_F(IoSessionTest, PrintfSendsOneMessageWithEndThenPolls) {
    ASSERT_EQ(session.Printf("OUTP:FREQ %0.15lg", 59.999999999999), S_OK);
    ASSERT_EQ(transport.writes.size(), 1u);
    EXPECT_EQ(transport.writes[0].bytes, "OUTP:FREQ 59.999999999999\n");
    EXPECT_TRUE(transport.writes[0].end);
    EXPECT_EQ(poller.polls, 1);

    // A line feed in the format sends at once; the final flush then finds nothing to send.
    ASSERT_EQ(session.Printf("*CLS\n"), S_OK);
    ASSERT_EQ(transport.writes.size(), 2u);
    EXPECT_EQ(transport.writes[1].bytes, "*CLS\n");
    EXPECT_TRUE(transport.writes[1].end);
}

// Deliberately unlike "nothing is rolled back": a command that fails partway through being built
// is dropped whole, so no half command ever reaches the power source glued to the next one.
TEST_F(IoSessionTest, ACommandThatFailsPartwayIsDroppedWhole) {
    EXPECT_EQ(session.Printf("VOLT %d;:MAN:WAVE %$Bs", 5, static_cast<BSTR>(nullptr)), E_INVALIDARG);
    EXPECT_TRUE(transport.writes.empty());
    ASSERT_EQ(session.Printf("*CLS"), S_OK);
    ASSERT_EQ(transport.writes.size(), 1u);
    EXPECT_EQ(transport.writes[0].bytes, "*CLS\n");
}

// After a failed read the abandoned answer is discarded once, before the next write, and not
// after reads that succeeded.
TEST_F(IoSessionTest, AFailedReadDiscardsTheAbandonedAnswerBeforeTheNextWrite) {
    double value = 0;
    EXPECT_EQ(session.Queryf("A?", "%lg", &value), test::kScriptedTimeout);
    transport.Respond("1.5\n");  // the late answer to "A?"
    EXPECT_EQ(transport.lateInputDiscards, 0);
    ASSERT_EQ(session.Printf("B 1"), S_OK);
    EXPECT_EQ(transport.lateInputDiscards, 1);
    transport.Respond("7\n");
    ASSERT_EQ(session.Queryf("C?", "%lg", &value), S_OK);
    EXPECT_EQ(value, 7.0);
    ASSERT_EQ(session.Printf("D 1"), S_OK);
    EXPECT_EQ(transport.lateInputDiscards, 1);
}

// A command whose write failed may still reach the instrument (a pulled cable holds it in the
// send queue): it is never sent again in front of the next command, its answer is discarded
// before the next write, and while that discard fails nothing new goes out.
TEST_F(IoSessionTest, AFailedWriteIsNeitherResentNorAnsweredIntoTheNextQuery) {
    transport.FailNextWrite(test::kScriptedTimeout);
    double value = 0;
    EXPECT_EQ(session.Queryf("A?", "%lg", &value), test::kScriptedTimeout);
    transport.discardFailure = test::kScriptedTimeout;
    EXPECT_EQ(session.Printf("B 1"), test::kScriptedTimeout);
    EXPECT_EQ(transport.lateInputDiscards, 1);
    EXPECT_EQ(transport.WrittenText(), "") << "nothing may go out while the old answer can still come";
    transport.Respond("1.5\n");  // the late answer to "A?"
    transport.Respond("7\n");
    // The discard drops the late answer (in this script, with the one queued behind it).
    EXPECT_EQ(session.Queryf("C?", "%lg", &value), test::kScriptedTimeout);
    EXPECT_EQ(transport.lateInputDiscards, 2);
    EXPECT_EQ(transport.WrittenText(), "C?\n") << "the failed commands came back";
}

TEST_F(IoSessionTest, EnumKeywordFollowsTheCallContext) {
    context.context = "IZPV4870OutputPhaseCurrentProtection.Configure";
    session.Printf("CURR:PROT %{VARIANT_BOOL}s", VARIANT_TRUE);
    context.context = "IZPV4870OutputPhase.Enabled";
    session.Printf("OUTP %{VARIANT_BOOL}s", VARIANT_TRUE);
    EXPECT_EQ(transport.WrittenText(), "CURR:PROT 1\nOUTP ON\n");
}

TEST_F(IoSessionTest, QueryfDiscardsStaleDataAndLeavesItsRestForScanf) {
    transport.Respond("1,2\n");
    LONG value = 0;
    ASSERT_EQ(session.Queryf("LIST:COUN?", "%d", &value), S_OK);
    EXPECT_EQ(value, 1);
    EXPECT_EQ(transport.writes[0].bytes, "LIST:COUN?\n");
    ASSERT_EQ(session.Scanf(",%d", &value), S_OK);  // reads what the query left
    EXPECT_EQ(value, 2);

    transport.Respond("3,4\n");
    transport.Respond("9\n");
    ASSERT_EQ(session.Queryf("A?", "%d", &value), S_OK);
    ASSERT_EQ(session.Queryf("B?", "%d", &value), S_OK);  // ",4" of the last answer is dropped
    EXPECT_EQ(value, 9);
    EXPECT_EQ(poller.polls, 4);
}

TEST_F(IoSessionTest, TimeoutHoldsForOneOperationAndIsRestoredOnFailure) {
    ASSERT_EQ(session.PrintfTimed(kUseSessionTimeout, "A"), S_OK);
    EXPECT_TRUE(transport.timeoutChanges.empty());

    ASSERT_EQ(session.PrintfTimed(500, "B"), S_OK);
    EXPECT_EQ(transport.writes.back().timeoutMs, 500);
    EXPECT_EQ(transport.timeoutMs, 2000);

    double value = 0;
    EXPECT_EQ(session.QueryfTimed(50, "C?", "%lg", &value), test::kScriptedTimeout);  // nothing answers
    EXPECT_EQ(transport.readTimeouts.back(), 50);
    EXPECT_EQ(transport.timeoutMs, 2000);
    EXPECT_EQ(poller.polls, 2);  // no poll after a failure
}

TEST_F(IoSessionTest, PollFailureIsTheResultAndThePollDoesNotRecurse) {
    struct QueryingPoller final : IInstrErrorPoller {
        CIoSession* session = nullptr;
        int polls = 0;
        HRESULT PollInstrumentStatus() override {
            ++polls;
            LONG esr = 0;
            session->Queryf("*ESR?", "%d", &esr);
            return esr & 0x3C ? ZPV_HR(0x80047001) : S_OK;
        }
    } querying;
    querying.session = &session;
    session.SetInstrErrorPoller(&querying);
    transport.Respond("32\n");
    EXPECT_EQ(session.Printf("VOLT 300"), ZPV_HR(0x80047001));
    EXPECT_EQ(querying.polls, 1);
    EXPECT_EQ(transport.WrittenText(), "VOLT 300\n*ESR?\n");
}

TEST_F(IoSessionTest, LocksMapToVisaAccessModes) {
    std::string key;
    EXPECT_EQ(session.Lock(0, 1000, "", &key), S_OK);
    EXPECT_EQ(transport.lockedMode, 1);
    EXPECT_EQ(session.Lock(1, 1000, "shared-key", &key), S_OK);
    EXPECT_EQ(transport.lockedMode, 2);
    EXPECT_EQ(key, "shared-key");
    EXPECT_EQ(session.Lock(2, 1000, "", &key), test::kIoErrorStatus);
    EXPECT_EQ(LastErrorText(), "ZPV4870: I/O error: Unsupported VISA session access mode..");
}

TEST_F(IoSessionTest, NothingWorksBeforeOpenOrAfterClose) {
    ASSERT_EQ(session.Close(), S_OK);
    EXPECT_TRUE(connector.transportClosed);
    LONG value = 0;
    const std::function<HRESULT()> operations[] = {
        [&] { return session.Printf("*RST"); },
        [&] { return session.Scanf("%d", &value); },
        [&] { return session.FlushWrite(true, kUseSessionTimeout); },
        [&] { return session.FlushRead(kUseSessionTimeout); },
        [&] { return session.WriteValue(LONG{1}, true); },
    };
    for (const auto& operation : operations) {
        EXPECT_EQ(operation(), test::kNotConnectedStatus);
        EXPECT_EQ(LastErrorText(), "ZPV4870: A connection to the instrument has not been established.");
    }
    EXPECT_EQ(session.GetBuffer(), nullptr);
}

// Serial lines and raw sockets end messages with a line feed; other resources keep their rules.
struct TerminationCase {
    InterfaceType type;
    const char* resourceName;
    bool lineFeedEnds;
};

class IoSessionTerminationTest : public ::testing::TestWithParam<TerminationCase> {};

TEST_P(IoSessionTerminationTest, OpenChoosesTheTerminationRules) {
    errors::CZPV4870ErrorReporter reporter{nullptr};
    test::ScriptedConnector connector;
    connector.transport->interfaceType = GetParam().type;
    connector.transport->resourceName = GetParam().resourceName;
    connector.transport->sendEnd = false;
    connector.transport->terminationCharacter = 0;
    CIoSession session(&reporter, &connector);
    ASSERT_EQ(session.Open(GetParam().resourceName, nullptr), S_OK);
    EXPECT_EQ(connector.lastOpenTimeoutMs, 2000);
    EXPECT_EQ(connector.transport->terminationCharacterEnabled, GetParam().lineFeedEnds);
    EXPECT_EQ(connector.transport->sendEnd, GetParam().lineFeedEnds);
    EXPECT_EQ(connector.transport->terminationCharacter, GetParam().lineFeedEnds ? '\n' : 0);
}

INSTANTIATE_TEST_SUITE_P(
    Resources, IoSessionTerminationTest,
    ::testing::Values(TerminationCase{InterfaceType::Serial, "ASRL1::INSTR", true},
                      TerminationCase{InterfaceType::Tcpip, "TCPIP0::10.0.0.2::5025::socket", true},
                      TerminationCase{InterfaceType::Tcpip, "TCPIP0::10.0.0.2::inst0::INSTR", false},
                      TerminationCase{InterfaceType::Usb, "USB0::0x1::0x2::SN::INSTR", false}));

TEST_F(IoSessionTest, TypedReadsCheckTheRangeOfTheDestination) {
    BYTE byte = 0;
    transport.Respond("300\n");
    EXPECT_EQ(session.QueryValue("SYST:VAL?", &byte), test::kIoErrorStatus);
    EXPECT_EQ(LastErrorText(),
              "ZPV4870: I/O error: Overflow or underflow reading value of '3.000000e+02' into a BYTE..");
    transport.Respond("-40000\n");
    SHORT small = 0;
    EXPECT_EQ(session.ReadValue(&small), test::kIoErrorStatus);
    EXPECT_EQ(LastErrorText(),
              "ZPV4870: I/O error: Overflow or underflow reading value of '-4.000000e+04' into a short..");
    transport.Respond("1e-40\n");
    FLOAT single = 0;
    EXPECT_EQ(session.ReadValue(&single), test::kIoErrorStatus);
    transport.Respond("255 trailing\n");
    EXPECT_EQ(session.ReadValue(&byte), S_OK);
    EXPECT_EQ(byte, 255);
    std::string text;
    transport.Respond("next\n");
    EXPECT_EQ(session.ReadValue(&text), S_OK);  // the rest of the last answer was discarded
    EXPECT_EQ(text, "next");
}

TEST_F(IoSessionTest, TypedListsAndBlocks) {
    SAFEARRAY* values = SafeArrayCreateVector(VT_I2, 0, 3);
    const SHORT data[] = {1, -2, 0x0304};
    std::memcpy(values->pvData, data, sizeof data);
    ASSERT_EQ(session.WriteList(values, true), S_OK);
    EXPECT_EQ(transport.writes.back().bytes, "1,-2,772\n");
    ASSERT_EQ(session.WriteBlock("WAVE:DATA ", values, true), S_OK);
    EXPECT_EQ(transport.writes.back().bytes, std::string("WAVE:DATA #16\x00\x01\xFF\xFE\x03\x04\n", 20));
    SafeArrayDestroy(values);

    // A transport that takes only part of the block: the count is of the block's data bytes.
    SAFEARRAY* bytes = SafeArrayCreateVector(VT_UI1, 0, 17);
    transport.ShortenNextWrite(22);  // "WAVE:DATA #217" and 8 data bytes
    EXPECT_EQ(session.WriteBlock("WAVE:DATA ", bytes, true), test::kIoErrorStatus);
    EXPECT_EQ(LastErrorText(),
              "ZPV4870: I/O error: Binary block write only successfully sent 8 of 17 data bytes to the device..");
    transport.ShortenNextWrite(5);  // not even the header
    EXPECT_EQ(session.WriteBlock("WAVE:DATA ", bytes, true), test::kIoErrorStatus);
    EXPECT_EQ(LastErrorText(),
              "ZPV4870: I/O error: Binary block write only successfully sent 0 of 17 data bytes to the device..");
    SafeArrayDestroy(bytes);

    SAFEARRAY* variants = SafeArrayCreateVector(VT_VARIANT, 0, 1);
    EXPECT_EQ(session.WriteList(variants, true), E_INVALIDARG);
    EXPECT_EQ(LastErrorText(), "ZPV4870: Unknown type of array passed to WriteList function.");
    SafeArrayDestroy(variants);

    SAFEARRAY* list = nullptr;
    transport.Respond("1.5, 2.5,3\n");
    ASSERT_EQ(session.QueryList("LIST?", VT_R8, &list), S_OK);
    ASSERT_EQ(list->rgsabound[0].cElements, 3u);
    EXPECT_EQ(static_cast<double*>(list->pvData)[1], 2.5);
    SafeArrayDestroy(list);

    SAFEARRAY* block = nullptr;
    transport.Respond(std::string("xx#14\x00\x01\x00\x02\n", 10));
    ASSERT_EQ(session.ReadBlock(VT_I2, true, true, &block), S_OK);
    ASSERT_EQ(block->rgsabound[0].cElements, 2u);
    EXPECT_EQ(static_cast<SHORT*>(block->pvData)[1], 2);
    SafeArrayDestroy(block);
    transport.Respond("abc\n");
    EXPECT_EQ(session.ReadBlock(VT_UI1, false, true, &block), test::kIoErrorStatus);
    EXPECT_EQ(LastErrorText(), "ZPV4870: I/O error: Binary block header not found..");
}

}  // namespace
}  // namespace zpv::io
