// Serves the instrument over a pseudo-terminal in raw mode, standing in for a serial port: a client
// opens Path() like a tty device. A serial line has no connection to drop, so a dropped message is
// swallowed unanswered and the drop count starts again.
#pragma once

#include <memory>
#include <string>
#include <thread>

#include "zpv4870sim/instrument.h"

namespace zpv::sim {

class WakePipe;

class PtyServer {
public:
    explicit PtyServer(Instrument& instrument);
    ~PtyServer();  // stops
    PtyServer(const PtyServer&) = delete;
    PtyServer& operator=(const PtyServer&) = delete;

    // Creates the pseudo-terminal and starts serving it. Throws std::system_error.
    void Start();
    const std::string& Path() const { return path_; }  // for example "/dev/pts/4"
    void Stop();

private:
    void Serve();
    bool WriteAll(std::string_view bytes);

    Instrument& instrument_;
    std::unique_ptr<WakePipe> stop_;
    int master_ = -1;
    int slave_ = -1;  // held open so the line never hangs up between clients
    std::string path_;
    std::thread thread_;
};

}  // namespace zpv::sim
