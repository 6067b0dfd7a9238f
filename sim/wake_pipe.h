// A stop signal that poll() can watch: once raised it stays readable, waking every waiting thread.
#pragma once

#include <chrono>

namespace zpv::sim {

class WakePipe {
public:
    WakePipe() = default;
    ~WakePipe() { Close(); }
    WakePipe(const WakePipe&) = delete;
    WakePipe& operator=(const WakePipe&) = delete;

    void Open();   // throws std::system_error
    void Close();
    void Raise();
    int fd() const { return read_; }
    // Waits, unless raised first; false when the signal was raised.
    bool Sleep(std::chrono::milliseconds duration) const;
    bool Raised() const { return !Sleep(std::chrono::milliseconds(0)); }

private:
    int read_ = -1;
    int write_ = -1;
};

}  // namespace zpv::sim
