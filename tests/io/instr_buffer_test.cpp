#include "io/instr_buffer.h"

#include <gtest/gtest.h>

#include "io/io_test_support.h"
#include "support/scripted_transport.h"

namespace zpv::io {
namespace {

using test::LastErrorText;
using test::ScriptedTransport;

class InstrBufferTest : public ::testing::Test {
protected:
    std::string ReadAll(LONG count, HRESULT* status = nullptr) {
        std::string bytes(static_cast<std::size_t>(count), '\0');
        LONG actual = 0;
        const HRESULT hr = buffer->Read(reinterpret_cast<BYTE*>(bytes.data()), count, &actual, false);
        if (status) *status = hr;
        bytes.resize(static_cast<std::size_t>(actual));
        return bytes;
    }
    HRESULT WriteText(std::string_view text, bool end) {
        return buffer->Write(reinterpret_cast<const BYTE*>(text.data()), static_cast<LONG>(text.size()), nullptr, end);
    }

    ScriptedTransport transport;
    errors::CZPV4870ErrorReporter reporter{nullptr};
    std::unique_ptr<CInstrBuffer> buffer = CInstrBuffer::Create(transport, reporter, "\n", "\n");
};

TEST_F(InstrBufferTest, TerminatorIsDroppedOnlyOnceTheResponseEnded) {
    transport.Respond("1.5\n");
    HRESULT status = E_FAIL;
    EXPECT_EQ(ReadAll(10, &status), "1.5");
    EXPECT_EQ(status, S_OK);

    // Without END the line feed might be data: it stays, and the read goes on to the real end.
    transport.Respond("1.5\n", false);
    transport.Respond("", true);
    EXPECT_EQ(ReadAll(10, &status), "1.5\n");
    EXPECT_EQ(status, S_OK);
}

TEST_F(InstrBufferTest, ReadStopsAtTheEndOfOneResponse) {
    transport.Respond("12\n");
    transport.Respond("34\n");
    HRESULT status = E_FAIL;
    EXPECT_EQ(ReadAll(1, &status), "1");
    EXPECT_EQ(status, kStatusMoreData);
    EXPECT_EQ(ReadAll(10, &status), "2");
    EXPECT_EQ(status, S_OK);
    EXPECT_EQ(ReadAll(10), "34");
}

TEST_F(InstrBufferTest, LongResponseArrivesInCapacitySizedReads) {
    transport.Respond(std::string(5000, 'x') + "\n");
    EXPECT_EQ(ReadAll(6000).size(), 5000u);
    EXPECT_EQ(transport.readTimeouts.size(), 2u);
}

TEST_F(InstrBufferTest, LongCommandGoesOutInPiecesWithEndOnlyOnTheLast) {
    ASSERT_EQ(WriteText(std::string(5000, 'a'), true), S_OK);
    ASSERT_EQ(transport.writes.size(), 2u);
    EXPECT_EQ(transport.writes[0].bytes.size(), 4096u);
    EXPECT_FALSE(transport.writes[0].end);
    EXPECT_EQ(transport.writes[1].bytes, std::string(904, 'a') + "\n");
    EXPECT_TRUE(transport.writes[1].end);
    EXPECT_TRUE(transport.sendEnd);  // switched back on after the partial send
}

// A command whose bytes end exactly at the capacity went out when the buffer filled; the final
// flush finds nothing waiting and sends nothing - no lone terminator, no second line feed.
TEST_F(InstrBufferTest, CommandFillingTheBufferExactlyIsNotFollowedByALoneTerminator) {
    ASSERT_EQ(WriteText(std::string(4095, 'a') + "\n", true), S_OK);
    ASSERT_EQ(transport.writes.size(), 1u);
    EXPECT_EQ(transport.writes[0].bytes, std::string(4095, 'a') + "\n");
    EXPECT_FALSE(transport.writes[0].end);

    ASSERT_EQ(WriteText(std::string(4096, 'b'), true), S_OK);
    ASSERT_EQ(transport.writes.size(), 2u);
    EXPECT_EQ(transport.writes[1].bytes, std::string(4096, 'b'));
}

TEST_F(InstrBufferTest, FlushWithEndAfterAFlushWithoutEndSendsNothing) {
    WriteText("AB", false);
    ASSERT_EQ(buffer->FlushWrite(false), S_OK);
    ASSERT_EQ(buffer->FlushWrite(true), S_OK);
    ASSERT_EQ(transport.writes.size(), 1u);
    EXPECT_EQ(transport.writes[0].bytes, "AB");
    EXPECT_FALSE(transport.writes[0].end);
}

TEST_F(InstrBufferTest, FlushWriteSendsTerminatorOnceAndNothingWhenEmpty) {
    EXPECT_EQ(buffer->FlushWrite(true), S_OK);
    EXPECT_TRUE(transport.writes.empty());

    WriteText("*RST\n", false);
    EXPECT_EQ(buffer->FlushWrite(true), S_OK);
    ASSERT_EQ(transport.writes.size(), 1u);
    EXPECT_EQ(transport.writes[0].bytes, "*RST\n");
}

TEST_F(InstrBufferTest, ShortTransportWriteIsAnIoError) {
    transport.ShortenNextWrite(3);
    EXPECT_EQ(WriteText("ABCDE", true), test::kIoErrorStatus);
    EXPECT_EQ(
        LastErrorText(),
        "ZPV4870: I/O error: Flush of formatted I/O write buffer only successfully sent 3 of 6 bytes to the device..");
    EXPECT_EQ(buffer->FlushWrite(true), S_OK);  // the buffer was emptied
    EXPECT_EQ(transport.writes.size(), 1u);
}

TEST_F(InstrBufferTest, PushBackNeedsAByteReadFromTheBuffer) {
    transport.Respond("AB");
    BYTE byte = 0;
    LONG actual = 0;
    buffer->ReadByte(&byte, &actual);
    ASSERT_EQ(buffer->PushBack(), S_OK);
    buffer->ReadByte(&byte, &actual);
    EXPECT_EQ(byte, 'A');

    EXPECT_EQ(buffer->FlushRead(), S_OK);
    EXPECT_EQ(buffer->PushBack(), ZPV_HR(0x80047056));
    EXPECT_EQ(LastErrorText(),
              "ZPV4870: Could not allocate necessary memory.\r\n"
              "Can't push character back into read buffer.  Buffer has not been read from.");
}

TEST_F(InstrBufferTest, FlushReadDrainsAnUnfinishedResponse) {
    transport.Respond("abc", false);
    transport.Respond("def", false);
    transport.Respond("ghi\n", true);
    transport.Respond("next\n");
    ReadAll(1);
    EXPECT_EQ(buffer->FlushRead(), S_OK);
    EXPECT_EQ(ReadAll(10), "next");
}

TEST_F(InstrBufferTest, SetBufferSizeFlushesBothSidesAndResizes) {
    transport.Respond("pending", false);
    transport.Respond(" rest\n");
    ReadAll(2);
    WriteText("OUTP ON", false);
    ASSERT_EQ(buffer->SetBufferSize(2, 100), S_OK);
    EXPECT_FALSE(transport.HasUnreadResponse());
    ASSERT_EQ(transport.writes.size(), 1u);
    EXPECT_EQ(transport.writes[0].bytes, "OUTP ON\n");
    EXPECT_TRUE(transport.writes[0].end);
    LONG read = 0, write = 0;
    buffer->GetReadCapacity(&read);
    buffer->GetWriteCapacity(&write);
    EXPECT_EQ(read, 100);
    EXPECT_EQ(write, 100);
}

TEST_F(InstrBufferTest, TransportFailurePassesUpUnchanged) {
    transport.FailNextRead(test::kScriptedTimeout);
    HRESULT status = S_OK;
    ReadAll(1, &status);
    EXPECT_EQ(status, test::kScriptedTimeout);
    transport.FailNextWrite(E_ACCESSDENIED);
    EXPECT_EQ(WriteText("X", true), E_ACCESSDENIED);
}

}  // namespace
}  // namespace zpv::io
