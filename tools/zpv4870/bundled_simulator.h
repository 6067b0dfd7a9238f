// --simulate: the bundled instrument simulator, run inside the tool on a free loopback port, so
// every command works as it does against an instrument (the driver's own simulation answers only
// the class-compliant members).
#pragma once

#include <memory>
#include <string>

namespace zpv::cli {

class BundledSimulator {
public:
    // Starts serving; model "" is the simulator's default. Throws UsageError for a model that is
    // not one of the twelve, Failure when no loopback port can be had.
    explicit BundledSimulator(const std::string& model);
    ~BundledSimulator();
    BundledSimulator(const BundledSimulator&) = delete;
    BundledSimulator& operator=(const BundledSimulator&) = delete;

    // "TCPIP0::127.0.0.1::<port>::SOCKET".
    std::string Resource() const;

private:
    struct Running;
    std::unique_ptr<Running> running_;
};

}  // namespace zpv::cli
