// Peers that never end their answer: every read operation is bounded by the session timeout as a
// whole and by MaxResponseBytes, fails with its own description, and leaves the session usable.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "errors/zpv4870_error_reporter.h"
#include "io/io_test_support.h"
#include "io/visa_com_session.h"
#include "platform/com/text_conversion.h"
#include "visa/loopback_peer.h"

namespace zpv::io {
namespace {

using namespace std::chrono_literals;
using test::LastErrorText;

constexpr HRESULT kIoTimeoutStatus = ZPV_HR(0x80044215);

// An instrument that answers "FREQ?" with "50" and "FLOOD?" with `flood` bytes of 'x' and no
// terminator, sent in pieces `gap` apart.
class FloodingPeer {
public:
    FloodingPeer(std::size_t flood, std::chrono::milliseconds gap) : flood_(flood), gap_(gap) {
        thread_ = std::thread([this] { Serve(); });
    }
    ~FloodingPeer() {
        stop_ = true;
        thread_.join();
    }
    std::string Descriptor() const { return peer_.Descriptor(); }

private:
    void Serve() {
        peer_.Accept();
        std::string pending;
        while (!stop_) {
            const std::string got = peer_.Receive(1, 20);
            pending += got;
            if (pending.find("FREQ?\n") != std::string::npos) {
                pending.clear();
                peer_.Send("50\n");
            } else if (pending.find("FLOOD?\n") != std::string::npos) {
                pending.clear();
                const std::string piece(gap_.count() ? 16 : 64 * 1024, 'x');
                for (std::size_t sent = 0; sent < flood_ && !stop_; sent += piece.size()) {
                    if (::send(peer_.Fd(), piece.data(), piece.size(), MSG_NOSIGNAL) < 0) break;
                    if (gap_.count()) std::this_thread::sleep_for(gap_);
                }
            }
        }
    }

    std::size_t flood_;
    std::chrono::milliseconds gap_;
    visa::testing::LoopbackPeer peer_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

class BoundedReads : public ::testing::Test {
protected:
    void Open(const std::string& descriptor) {
        ASSERT_EQ(session.Open(descriptor, nullptr, &reporter, nullptr, nullptr), S_OK) << LastErrorText();
    }
    HRESULT Ask(const wchar_t* command, std::string* answer) {
        BSTR text = SysAllocString(command);
        const HRESULT written = session.WriteString(text);
        SysFreeString(text);
        if (FAILED(written)) return written;
        text = nullptr;
        const HRESULT hr = session.ReadString(&text);
        if (text) {
            *answer = com::Utf8FromBstr(text);
            SysFreeString(text);
        }
        return hr;
    }

    errors::CZPV4870ErrorReporter reporter{nullptr};
    CVisaComSession session;
};

TEST_F(BoundedReads, AnAnswerLongerThanTheLimitFailsAndTheNextQueryGetsItsOwn) {
    FloodingPeer peer(2u << 20, 0ms);
    Open(peer.Descriptor());
    session.SetMaxResponseBytes(100000);
    std::string answer;
    EXPECT_EQ(Ask(L"FLOOD?\n", &answer), test::kIoErrorStatus);
    EXPECT_NE(LastErrorText().find("longer than MaxResponseBytes (100000 bytes)"), std::string::npos);
    EXPECT_EQ(Ask(L"FREQ?\n", &answer), S_OK) << LastErrorText();
    EXPECT_EQ(answer, "50\n");
}

TEST_F(BoundedReads, AnAnswerThatNeverEndsTakesNoLongerThanTheTimeout) {
    FloodingPeer peer(SIZE_MAX, 5ms);  // 16 bytes every 5 ms, for ever
    Open(peer.Descriptor());
    ASSERT_EQ(session.SetTimeout(300), S_OK);
    std::string answer;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(Ask(L"FLOOD?\n", &answer), kIoTimeoutStatus);
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_GE(took, 290ms);
    EXPECT_LT(took, 1500ms) << "each piece must not get a fresh timeout";
    EXPECT_NE(LastErrorText().find("I/O timeout error"), std::string::npos);
}

}  // namespace
}  // namespace zpv::io
