// The soft front panel's web server: one page and its JSON API over one driver session, for any
// number of browser tabs. Every request needs the panel's token; changes are POSTs whose Origin,
// when sent, is the panel's own. Live measurements go out as Server-Sent Events, read from the
// instrument twice a second while at least one page watches. When the instrument stops answering
// (a power cut, a cable) the pages say so and the session is opened again each period until it
// answers, as `measure --watch` does.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "c_session.h"

namespace httplib {
class Server;
}

namespace zpv::cli {

class PanelServer {
public:
    // Opens the session; throws Failure when the instrument is not there.
    PanelServer(const SessionOptions& options, std::string token);
    ~PanelServer();  // stops
    PanelServer(const PanelServer&) = delete;
    PanelServer& operator=(const PanelServer&) = delete;

    // Binds (port 0: a free one) and serves on a thread of its own; throws Failure when it cannot.
    std::uint16_t Start(const std::string& address, std::uint16_t port);
    void Stop();
    const std::string& Token() const { return token_; }
    // Every phase off and the output off, read back: true when all are off; error says what failed.
    bool SwitchOutputsOff(std::string* error);

    // What a page's controls are: the panel's attributes, their kinds, values and units, as JSON.
    std::string PanelJson();
    // Each control's value as read from the instrument now, as JSON.
    std::string ValuesJson();

private:
    std::string Set(const std::string& name, const std::string& value);
    // Starts the program (JSON or YAML, as `list run` reads it) on a thread of its own.
    std::string RunList(const std::string& program);
    std::string ListJson();
    std::string OutputsOff();
    std::string Errors();
    void Poll();
    std::vector<std::string> ControlNames() const;

    // The session, or a Failure saying the instrument is away (the poller opens it again).
    std::shared_ptr<const CSession> Session();
    void Forget(const std::shared_ptr<const CSession>& lost);

    const SessionOptions options_;
    std::mutex sessionMutex_;
    std::shared_ptr<const CSession> session_;
    const std::string token_;
    std::unique_ptr<httplib::Server> server_;
    std::thread serving_;
    std::vector<std::string> phases_;

    // The latest measurements, shared by every watching page; the poller runs while one watches.
    std::mutex mutex_;
    std::condition_variable measured_;
    std::string latest_;
    std::uint64_t sample_ = 0;
    std::uint64_t settingsVersion_ = 0;  // bumped by every change, so other tabs read the values again
    int watchers_ = 0;
    bool stopping_ = false;
    std::thread poller_;

    // The list program run from the page, one at a time.
    struct ListState {
        std::string state = "idle";  // running, done, stopped, failed
        std::size_t step = 0, steps = 0;
        double secondsLeft = 0;
        std::string error;
        std::vector<std::vector<std::string>> results;
    } list_;
    std::thread listRun_;
};

}  // namespace zpv::cli
