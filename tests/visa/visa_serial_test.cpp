#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>

#include <gtest/gtest.h>

#include "platform/visa/resource_manager.h"
#include "platform/visa/serial_session.h"

namespace zpv::visa {
namespace {

// The session opens the pseudo-terminal's device side; the test plays the instrument on the
// controlling side.
class VisaSerial : public ::testing::Test {
protected:
    void SetUp() override {
        master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        ASSERT_GE(master_, 0);
        ASSERT_EQ(::grantpt(master_), 0);
        ASSERT_EQ(::unlockpt(master_), 0);
        path_ = ::ptsname(master_);
        ASSERT_EQ(manager_.Open("ASRL" + path_ + "::INSTR", 2000, &session_), VI_SUCCESS) << manager_.ErrorDetail();
    }
    void TearDown() override {
        if (master_ >= 0) ::close(master_);
    }

    void Send(std::string_view data) {
        ASSERT_EQ(::write(master_, data.data(), data.size()), static_cast<ssize_t>(data.size()));
    }
    // What the line carried: everything until it has been quiet for 50 ms after the first bytes
    // (one write may reach the other end in pieces).
    std::string Receive(int timeoutMs = 1000) {
        std::string text;
        char chunk[256];
        for (int wait = timeoutMs;; wait = 50) {
            pollfd p{master_, POLLIN, 0};
            if (::poll(&p, 1, wait) != 1) return text;
            const ssize_t n = ::read(master_, chunk, sizeof chunk);
            if (n <= 0) return text;
            text.append(chunk, static_cast<std::size_t>(n));
        }
    }
    ViStatus ReadText(std::size_t count, std::string& text) {
        std::string buffer(count, '\0');
        std::size_t returned = 0;
        ViStatus status = session_->Read(buffer.data(), count, &returned);
        text = buffer.substr(0, returned);
        return status;
    }
    termios DeviceSettings() {
        termios t{};
        int fd = ::open(path_.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
        EXPECT_EQ(::tcgetattr(fd, &t), 0);
        ::close(fd);
        return t;
    }

    int master_ = -1;
    std::string path_;
    ResourceManager manager_;
    std::unique_ptr<MessageSession> session_;
};

TEST_F(VisaSerial, OpensRawAtDefaultsAndAppliesLineSettings) {
    termios t = DeviceSettings();
    EXPECT_EQ(t.c_lflag & (ICANON | ECHO | ISIG), 0u);
    EXPECT_EQ(::cfgetospeed(&t), B9600);
    EXPECT_EQ(t.c_cflag & (CSIZE | PARENB | CSTOPB | CRTSCTS), static_cast<tcflag_t>(CS8));
    EXPECT_EQ(session_->Interface(), InterfaceType::Asrl);
    EXPECT_EQ(session_->ResourceClass(), "INSTR");

    EXPECT_EQ(session_->SetSerialAttribute(SerialAttribute::BaudRate, 115200), VI_SUCCESS);
    EXPECT_EQ(session_->SetSerialAttribute(SerialAttribute::StopBits, VI_ASRL_STOP_TWO), VI_SUCCESS);
    EXPECT_EQ(session_->SetSerialAttribute(SerialAttribute::FlowControl, VI_ASRL_FLOW_RTS_CTS), VI_SUCCESS);
    t = DeviceSettings();
    EXPECT_EQ(::cfgetospeed(&t), B115200);
    EXPECT_NE(t.c_cflag & CSTOPB, 0u);
    EXPECT_NE(t.c_cflag & CRTSCTS, 0u);

    // Values without a termios form are refused and leave the setting as it was.
    EXPECT_EQ(session_->SetSerialAttribute(SerialAttribute::BaudRate, 12345), VI_ERROR_NSUP_ATTR_STATE);
    EXPECT_EQ(session_->SetSerialAttribute(SerialAttribute::StopBits, VI_ASRL_STOP_ONE5), VI_ERROR_NSUP_ATTR_STATE);
    EXPECT_EQ(session_->SetSerialAttribute(SerialAttribute::FlowControl, VI_ASRL_FLOW_DTR_DSR),
              VI_ERROR_NSUP_ATTR_STATE);
    EXPECT_EQ(session_->SetSerialAttribute(SerialAttribute::EndOut, VI_ASRL_END_BREAK), VI_ERROR_NSUP_ATTR_STATE);
    ViUInt32 value = 0;
    EXPECT_EQ(session_->GetSerialAttribute(SerialAttribute::BaudRate, &value), VI_SUCCESS);
    EXPECT_EQ(value, 115200u);
}

TEST_F(VisaSerial, EndInModeDecidesHowReadsStop) {
    std::string text;
    Send("OK\nrest");
    EXPECT_EQ(ReadText(100, text), VI_SUCCESS) << "the termination character is END by default";
    EXPECT_EQ(text, "OK\n");

    session_->SetTimeout(100);
    ASSERT_EQ(session_->SetSerialAttribute(SerialAttribute::EndIn, VI_ASRL_END_NONE), VI_SUCCESS);
    Send("\n");
    EXPECT_EQ(ReadText(100, text), VI_ERROR_TMO);
    EXPECT_EQ(text, "rest\n");

    session_->SetTermCharEnabled(true);
    Send("a\nb");
    EXPECT_EQ(ReadText(100, text), VI_SUCCESS_TERM_CHAR);
    EXPECT_EQ(text, "a\n");

    ASSERT_EQ(session_->SetSerialAttribute(SerialAttribute::EndIn, VI_ASRL_END_LAST_BIT), VI_SUCCESS);
    session_->SetTermCharEnabled(false);
    Send("c\xC4z");
    EXPECT_EQ(ReadText(100, text), VI_SUCCESS);
    EXPECT_EQ(text, "bc\xC4");
}

TEST_F(VisaSerial, EndOutModeDecidesWhatEndAdds) {
    std::size_t written = 0;
    EXPECT_EQ(session_->Write("*IDN?\n", 6, &written), VI_SUCCESS);
    EXPECT_EQ(Receive(), "*IDN?\n");

    ASSERT_EQ(session_->SetSerialAttribute(SerialAttribute::EndOut, VI_ASRL_END_TERMCHAR), VI_SUCCESS);
    EXPECT_EQ(session_->Write("X", 1, &written, true), VI_SUCCESS);
    EXPECT_EQ(written, 1u);
    EXPECT_EQ(Receive(), "X\n");
    EXPECT_EQ(session_->Write("Y", 1, &written, false), VI_SUCCESS);
    EXPECT_EQ(Receive(), "Y");
}

TEST_F(VisaSerial, HangupGivesConnectionLostWithoutWaiting) {
    ::close(master_);
    master_ = -1;
    session_->SetTimeout(5000);
    std::string text;
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(ReadText(10, text), VI_ERROR_CONN_LOST);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
}

TEST(VisaSerialOpen, PortsThatCannotBeUsedAreNotFound) {
    ResourceManager manager;
    std::unique_ptr<MessageSession> session;
    EXPECT_EQ(manager.Open("ASRL/dev/zpv-no-such-port::INSTR", 100, &session), VI_ERROR_RSRC_NFOUND);
    EXPECT_NE(manager.ErrorDetail().find("/dev/zpv-no-such-port"), std::string::npos);
    EXPECT_EQ(manager.Open("ASRL/dev/null::INSTR", 100, &session), VI_ERROR_RSRC_NFOUND);
    EXPECT_NE(manager.ErrorDetail().find("not a serial port"), std::string::npos);
    EXPECT_EQ(manager.Open("ASRL0::INSTR", 100, &session), VI_ERROR_RSRC_NFOUND);

    ResourceDescriptor first;
    ASSERT_EQ(ParseResourceDescriptor("ASRL1::INSTR", &first), VI_SUCCESS);
    EXPECT_EQ(SerialSession::DevicePath(first), "/dev/ttyS0");
}

}  // namespace
}  // namespace zpv::visa
