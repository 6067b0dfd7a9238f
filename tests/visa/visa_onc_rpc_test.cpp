// The ONC RPC client against a scripted server on loopback: transaction ids, malformed replies,
// a peer that closes or never answers. And the XDR reader's bounds.
#include <chrono>
#include <functional>
#include <thread>

#include <gtest/gtest.h>

#include "platform/visa/onc_rpc_client.h"
#include "platform/visa/tcp_connector.h"
#include "visa/loopback_peer.h"

namespace zpv::visa {
namespace {

using Clock = std::chrono::steady_clock;

std::vector<std::uint8_t> Words(std::initializer_list<std::uint32_t> words) {
    std::vector<std::uint8_t> bytes;
    XdrWriter out(bytes);
    for (std::uint32_t word : words) out.PutUint32(word);
    return bytes;
}

std::string Record(const std::vector<std::uint8_t>& body, bool last = true) {
    std::vector<std::uint8_t> framed = Words({(last ? 0x80000000u : 0u) | static_cast<std::uint32_t>(body.size())});
    framed.insert(framed.end(), body.begin(), body.end());
    return std::string(framed.begin(), framed.end());
}

// An accepted reply: xid, REPLY, MSG_ACCEPTED, AUTH_NONE verifier, accept_stat, results.
std::string Accepted(std::uint32_t xid, std::uint32_t acceptStat, std::initializer_list<std::uint32_t> results = {}) {
    std::vector<std::uint8_t> body = Words({xid, 1, 0, 0, 0, acceptStat});
    std::vector<std::uint8_t> tail = Words(results);
    body.insert(body.end(), tail.begin(), tail.end());
    return Record(body);
}

class VisaVxi11Rpc : public ::testing::Test {
protected:
    void SetUp() override {
        int fd = -1;
        std::string why;
        ASSERT_EQ(ConnectTcp("127.0.0.1", peer_.Port(), Deadline::After(1000), &fd, &why), VI_SUCCESS) << why;
        client_ = std::make_unique<OncRpcClient>(fd, 0x20000001, 3);
        peer_.Accept();
    }

    // Sends a call of procedure 7 and returns its xid as the peer sees it.
    std::uint32_t CallSeenByPeer(ViStatus* status, RpcReply* reply, ViUInt32 timeoutMs, const std::string& answer = {},
                                 std::size_t maxReply = 1024) {
        std::thread call([&] { *status = client_->Call(7, Words({42}), maxReply, Deadline::After(timeoutMs), reply); });
        const std::string request = peer_.Receive(4 + 44);
        std::uint32_t xid = 0;
        XdrReader in(reinterpret_cast<const std::uint8_t*>(request.data()) + 4, request.size() - 4);
        in.GetUint32(&xid);
        if (!answer.empty()) peer_.Send(answer);
        call.join();
        return xid;
    }

    testing::LoopbackPeer peer_;
    std::unique_ptr<OncRpcClient> client_;
};

TEST_F(VisaVxi11Rpc, CallCarriesHeaderAndReplyMustCarryItsTransactionId) {
    std::thread call;
    RpcReply reply;
    ViStatus status = VI_ERROR_SYSTEM_ERROR;
    call = std::thread([&] { status = client_->Call(7, Words({42}), 1024, Deadline::After(2000), &reply); });
    const std::string request = peer_.Receive(4 + 44);
    ASSERT_EQ(request.size(), 48u);
    XdrReader in(reinterpret_cast<const std::uint8_t*>(request.data()), request.size());
    std::uint32_t w[12];
    for (auto& word : w) in.GetUint32(&word);
    EXPECT_EQ(w[0], 0x80000000u | 44) << "one last fragment";
    EXPECT_EQ(w[2], 0u) << "CALL";
    EXPECT_EQ(w[3], 2u) << "RPC version";
    EXPECT_EQ(w[4], 0x20000001u);
    EXPECT_EQ(w[5], 3u);
    EXPECT_EQ(w[6], 7u);
    EXPECT_EQ(w[11], 42u);
    // Results split over two fragments are joined.
    std::vector<std::uint8_t> body = Words({w[1], 1, 0, 0, 0, 0, 99});
    peer_.Send(Record(std::vector<std::uint8_t>(body.begin(), body.begin() + 10), false) +
               Record(std::vector<std::uint8_t>(body.begin() + 10, body.end())));
    call.join();
    ASSERT_EQ(status, VI_SUCCESS) << client_->LastError();
    XdrReader results = reply.Results();
    std::uint32_t value = 0;
    EXPECT_TRUE(results.GetUint32(&value));
    EXPECT_EQ(value, 99u);

    // A reply to a call never made is an error, not an answer.
    ViStatus second = VI_SUCCESS;
    CallSeenByPeer(&second, &reply, 1000, Accepted(0, 0, {5}));
    EXPECT_EQ(second, VI_ERROR_IO);
    EXPECT_NE(client_->LastError().find("answered transaction"), std::string::npos) << client_->LastError();
}

TEST_F(VisaVxi11Rpc, LateReplyToAnAbandonedCallIsSkipped) {
    RpcReply reply;
    ViStatus status = VI_SUCCESS;
    const auto start = Clock::now();
    const std::uint32_t abandoned = CallSeenByPeer(&status, &reply, 150);
    EXPECT_EQ(status, VI_ERROR_TMO);
    EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(1000));

    std::thread call([&] { status = client_->Call(7, Words({42}), 1024, Deadline::After(2000), &reply); });
    const std::string request = peer_.Receive(48);
    XdrReader in(reinterpret_cast<const std::uint8_t*>(request.data()) + 4, request.size() - 4);
    std::uint32_t current = 0;
    in.GetUint32(&current);
    peer_.Send(Accepted(abandoned, 0, {1}) + Accepted(current, 0, {2}));
    call.join();
    ASSERT_EQ(status, VI_SUCCESS);
    std::uint32_t value = 0;
    XdrReader results = reply.Results();
    results.GetUint32(&value);
    EXPECT_EQ(value, 2u);
}

// Bulk data after a results head is received straight into the caller's storage, wherever the
// fragments break; what does not fit stays in the record after the head; a late reply to an
// abandoned call and a refused call never write into that storage.
TEST_F(VisaVxi11Rpc, BulkDataGoesStraightIntoTheCallersStorage) {
    std::string data(10000, '\0');
    for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<char>(i * 7 + 1);
    const auto bulkCall = [&](std::size_t capacity, const std::function<std::string(std::uint32_t)>& answer,
                              RpcReply* reply, std::string* storage, ReplyBulk* bulk) {
        storage->assign(capacity, '#');
        *bulk = ReplyBulk{8, reinterpret_cast<std::uint8_t*>(storage->data()), capacity};
        ViStatus status = VI_ERROR_SYSTEM_ERROR;
        std::thread call([&] { status = client_->Call(7, Words({42}), 20000, Deadline::After(2000), reply, bulk); });
        const std::string request = peer_.Receive(48);
        XdrReader in(reinterpret_cast<const std::uint8_t*>(request.data()) + 4, request.size() - 4);
        std::uint32_t xid = 0;
        in.GetUint32(&xid);
        peer_.Send(answer(xid));
        call.join();
        return status;
    };
    // xid, REPLY, accepted, verifier, SUCCESS, then the head (a reason and the data's length) and data.
    const auto body = [&](std::uint32_t xid) {
        std::vector<std::uint8_t> bytes = Words({xid, 1, 0, 0, 0, 0, 4, static_cast<std::uint32_t>(data.size())});
        bytes.insert(bytes.end(), data.begin(), data.end());
        return bytes;
    };
    // Fragments that break inside the reply header, inside the head and inside the data.
    const auto fragmented = [&](std::uint32_t xid) {
        const std::vector<std::uint8_t> all = body(xid);
        std::string out;
        std::size_t at = 0;
        for (std::size_t cut : {std::size_t{9}, std::size_t{26}, std::size_t{5000}, all.size()}) {
            out += Record(std::vector<std::uint8_t>(all.begin() + at, all.begin() + cut), cut == all.size());
            at = cut;
        }
        return out;
    };
    RpcReply reply;
    std::string storage;
    ReplyBulk bulk;
    ASSERT_EQ(bulkCall(20000, fragmented, &reply, &storage, &bulk), VI_SUCCESS) << client_->LastError();
    EXPECT_EQ(bulk.received, data.size());
    EXPECT_EQ(storage.substr(0, data.size()), data);
    EXPECT_EQ(reply.record.size() - reply.resultsAt, 8u) << "only the head stays in the record";

    ASSERT_EQ(bulkCall(3000, [&](std::uint32_t xid) { return Record(body(xid)); }, &reply, &storage, &bulk),
              VI_SUCCESS);
    EXPECT_EQ(bulk.received, 3000u);
    EXPECT_EQ(storage, data.substr(0, 3000));
    XdrReader results = reply.Results();
    ASSERT_TRUE(results.Skip(8));
    ASSERT_EQ(results.Left(), data.size() - 3000);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(reply.record.data()) + reply.record.size() - results.Left(),
                          results.Left()),
              data.substr(3000));

    // A call given up on: its reply turns up during the next bulk call and is skipped untouched.
    ViStatus status = VI_SUCCESS;
    const std::uint32_t abandoned = CallSeenByPeer(&status, &reply, 100);
    ASSERT_EQ(status, VI_ERROR_TMO);
    const auto lateThenOwn = [&](std::uint32_t xid) {
        std::vector<std::uint8_t> late = Words({abandoned, 1, 0, 0, 0, 0, 4, 4, 0x4C415445});
        return Record(late) + Record(Words({xid, 1, 0, 0, 0, 0, 4, 0}));
    };
    ASSERT_EQ(bulkCall(100, lateThenOwn, &reply, &storage, &bulk), VI_SUCCESS) << client_->LastError();
    EXPECT_EQ(bulk.received, 0u);
    EXPECT_EQ(storage, std::string(100, '#'));

    EXPECT_EQ(bulkCall(100, [](std::uint32_t xid) { return Accepted(xid, 3, {1, 2, 3}); }, &reply, &storage, &bulk),
              VI_ERROR_NSUP_OPER);
    EXPECT_EQ(storage, std::string(100, '#'));
}

TEST_F(VisaVxi11Rpc, MalformedAndRefusedRepliesGiveClearStatuses) {
    RpcReply reply;
    ViStatus status = VI_SUCCESS;
    std::uint32_t xid = 0;
    // Each answer is built once the call's xid is known.
    const struct {
        std::function<std::string(std::uint32_t)> answer;
        ViStatus expected;
        const char* why;
    } cases[] = {
        {[](std::uint32_t x) { return Record(Words({x, 0, 0})); }, VI_ERROR_IO, "not an RPC reply"},
        {[](std::uint32_t x) { return Record(Words({x, 1, 0, 0})); }, VI_ERROR_IO, "truncated"},
        {[](std::uint32_t x) { return Accepted(x, 1); }, VI_ERROR_NSUP_OPER, "does not offer the program"},
        {[](std::uint32_t x) { return Accepted(x, 3); }, VI_ERROR_NSUP_OPER, "does not offer the procedure"},
        {[](std::uint32_t x) { return Record(Words({x, 1, 1, 1, 5})); }, VI_ERROR_NPERMISSION, "credentials"},
    };
    for (const auto& c : cases) {
        std::thread call([&] { status = client_->Call(7, Words({42}), 1024, Deadline::After(2000), &reply); });
        const std::string request = peer_.Receive(48);
        XdrReader in(reinterpret_cast<const std::uint8_t*>(request.data()) + 4, request.size() - 4);
        in.GetUint32(&xid);
        peer_.Send(c.answer(xid));
        call.join();
        EXPECT_EQ(status, c.expected) << c.why;
        EXPECT_NE(client_->LastError().find(c.why), std::string::npos) << client_->LastError();
    }

    // A record longer than the caller accepts: the stream cannot be trusted any more.
    CallSeenByPeer(&status, &reply, 1000, Record(std::vector<std::uint8_t>(4096)), 64);
    EXPECT_EQ(status, VI_ERROR_IO);
    EXPECT_EQ(client_->Call(7, Words({42}), 1024, Deadline::After(200), &reply), VI_ERROR_CONN_LOST);
}

TEST_F(VisaVxi11Rpc, PeerThatHangsUpMidReplyIsAConnectionLoss) {
    RpcReply reply;
    ViStatus status = VI_SUCCESS;
    std::thread call([&] { status = client_->Call(7, Words({42}), 1024, Deadline::After(2000), &reply); });
    peer_.Receive(48);
    peer_.Send(Record(Words({1, 1, 0, 0, 0, 0})).substr(0, 10));
    peer_.Hangup();
    call.join();
    EXPECT_EQ(status, VI_ERROR_CONN_LOST);
}

TEST(VisaVxi11Xdr, ReaderNeverReadsPastItsBuffer) {
    std::vector<std::uint8_t> bytes;
    XdrWriter out(bytes);
    out.PutString("abcde");
    EXPECT_EQ(bytes.size(), 4u + 8u) << "padded to a multiple of 4";

    const std::uint8_t* data = nullptr;
    std::size_t length = 0;
    XdrReader whole(bytes.data(), bytes.size());
    EXPECT_TRUE(whole.GetOpaque(&data, &length, 5));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(data), length), "abcde");
    EXPECT_EQ(whole.Left(), 0u);

    XdrReader tooLong(bytes.data(), bytes.size());
    EXPECT_FALSE(tooLong.GetOpaque(&data, &length, 4)) << "longer than the caller allows";
    XdrReader cut(bytes.data(), bytes.size() - 1);
    EXPECT_FALSE(cut.GetOpaque(&data, &length, 100)) << "padding missing";
    std::vector<std::uint8_t> huge = Words({0xFFFFFFF0u});
    XdrReader lying(huge.data(), huge.size());
    EXPECT_FALSE(lying.GetOpaque(&data, &length, SIZE_MAX));
    std::uint32_t word = 0;
    EXPECT_FALSE(lying.GetUint32(&word)) << "a failure sticks";
}

}  // namespace
}  // namespace zpv::visa
