// Reads and writes on a non-blocking byte-stream descriptor (a TCP socket or a tty) within a
// deadline. A byte stream has no message boundaries, so bytes received past the point where a read
// stops are kept for the next read.
#pragma once

#include <cstddef>
#include <memory>

#include "platform/visa/deadline.h"
#include "platform/visa/status.h"

namespace zpv::visa {

// How long a byte stream is watched for the rest of an abandoned answer: until nothing has come
// for this long, or for the shorter time once a terminator went by.
inline constexpr int kLateAnswerQuietMs = 200;
inline constexpr int kLateAnswerSettleMs = 20;

struct StreamDelimiters {
    bool termCharEnabled = false;
    ViByte termChar = '\n';
    bool termCharIsEnd = false;  // the termination character reports END (VI_SUCCESS)
    ViByte endBits = 0;          // a byte with any of these bits set ends the message (END)
};

class StreamChannel {
public:
    enum class Kind { Socket, Tty };

    StreamChannel(int fd, Kind kind);
    ~StreamChannel();
    StreamChannel(const StreamChannel&) = delete;
    StreamChannel& operator=(const StreamChannel&) = delete;

    int Fd() const { return fd_; }

    // Stops at a delimiter, at count (VI_SUCCESS_MAX_CNT) or when the deadline passes (VI_ERROR_TMO);
    // a peer that hangs up gives VI_ERROR_CONN_LOST. returned holds what was stored in every case.
    ViStatus Read(ViByte* buffer, std::size_t count, std::size_t* returned, const StreamDelimiters& delimiters,
                  const Deadline& deadline);
    // more: the next write continues this one (a header before its payload), so a socket holds the
    // bytes back to go out with it.
    ViStatus Write(const ViByte* data, std::size_t count, std::size_t* returned, const Deadline& deadline,
                   bool more = false);
    // Waits until the peer has acknowledged every byte sent (sockets; a tty at once): VI_ERROR_TMO
    // when they are still on their way at the deadline.
    ViStatus WaitUntilDelivered(const Deadline& deadline);
    // Drops what we hold and what the kernel has received so far, without waiting.
    void DiscardInput();
    // Drops what arrives until the line has been quiet for quietMs - or, once a byte termChar has
    // gone by (a late answer ended), for settleMs - never past the deadline.
    void DiscardUntilQuiet(int quietMs, int settleMs, ViByte termChar, const Deadline& deadline);
    ViStatus Close();

private:
    ViStatus Receive(ViByte* into, std::size_t count, std::size_t* received, const Deadline& deadline);
    // All count bytes, the kernel waiting for them within the deadline (sockets only).
    ViStatus ReceiveAll(ViByte* into, std::size_t count, std::size_t* received, const Deadline& deadline);
    ViStatus ReceiveSome(ViByte* into, std::size_t count, std::size_t* received, const Deadline& deadline);
    // The socket's receive timeout (0: none), set only when it changes.
    ViStatus SetReceiveTimeout(int ms);
    ViStatus Fill(std::size_t wanted, const Deadline& deadline);
    ViStatus ReadDirect(ViByte* buffer, std::size_t count, std::size_t* returned, const StreamDelimiters& delimiters,
                        const Deadline& deadline);

    static constexpr std::size_t kCapacity = 64 * 1024;
    // Reads of at least this many bytes bypass the pending buffer when it is empty.
    static constexpr std::size_t kDirectReadThreshold = 4 * 1024;
    // Counted socket reads of at least this many bytes wait in the kernel for all of them.
    static constexpr std::size_t kWaitAllThreshold = 32 * 1024;
    // A socket read waits in recv itself for the time left rounded down to this step (so the
    // receive timeout stays the same from call to call and is set once), the rest in poll.
    static constexpr int kReceiveTimeoutStepMs = 10;

    int fd_;
    Kind kind_;
    std::unique_ptr<ViByte[]> pending_;
    std::size_t pendingCapacity_ = kCapacity;
    std::size_t head_ = 0;
    std::size_t tail_ = 0;
    int receiveTimeoutMs_ = -1;  // as last set; -1 not yet
};

}  // namespace zpv::visa
