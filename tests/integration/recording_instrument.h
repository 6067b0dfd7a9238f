// A minimal instrument on 127.0.0.1 that records every message it receives, exactly as received,
// and answers queries from a table (or with "0"), so tests can check the driver's bytes.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace zpv::driver::test {

class RecordingInstrument {
public:
    RecordingInstrument() {
        listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
        ::listen(listener_, 4);
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ntohs(address.sin_port);
        Answer("*IDN?", "Kaltrix,ZPV-4832-Advanced,SN1,1.0");
        Answer("*OPC?", "1");
        Answer("*RST;*OPC?", "1");
        thread_ = std::thread([this] { Serve(); });
    }
    ~RecordingInstrument() {
        stop_ = true;
        thread_.join();
        ::close(listener_);
    }

    std::wstring Resource() const { return L"TCPIP0::127.0.0.1::" + std::to_wstring(port_) + L"::SOCKET"; }
    void Answer(const std::string& query, const std::string& response) {
        std::lock_guard lock(mutex_);
        answers_[query] = response;
    }
    // Answers for query, one per time it is asked; once they are used up, the table's answer.
    void AnswerInTurn(const std::string& query, std::vector<std::string> responses) {
        std::lock_guard lock(mutex_);
        turns_[query].assign(responses.begin(), responses.end());
    }
    // The messages received so far, without their line feeds, once the line has been quiet briefly.
    std::vector<std::string> Received() {
        std::unique_lock lock(mutex_);
        while (arrived_.wait_for(lock, std::chrono::milliseconds(50)) == std::cv_status::no_timeout) {
        }
        seen_ = received_.size();
        return received_;
    }
    // The newest message, waiting (up to a second) for one that was not seen yet.
    std::string Last() {
        std::unique_lock lock(mutex_);
        arrived_.wait_for(lock, std::chrono::seconds(1), [&] { return received_.size() > seen_; });
        // Queries answered since the last look also count as new; let the line go quiet too.
        while (arrived_.wait_for(lock, std::chrono::milliseconds(30)) == std::cv_status::no_timeout) {
        }
        seen_ = received_.size();
        return received_.empty() ? std::string() : received_.back();
    }
    void Forget() {
        Received();
        std::lock_guard lock(mutex_);
        received_.clear();
        seen_ = 0;
    }

private:
    void Serve() {
        int peer = -1;
        std::string pending;
        while (!stop_) {
            pollfd p{peer >= 0 ? peer : listener_, POLLIN, 0};
            if (::poll(&p, 1, 20) <= 0) continue;
            if (peer < 0) {
                peer = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
                continue;
            }
            char chunk[4096];
            const ssize_t n = ::recv(peer, chunk, sizeof chunk, 0);
            if (n <= 0) {
                ::close(peer);
                peer = -1;
                continue;
            }
            pending.append(chunk, static_cast<std::size_t>(n));
            for (auto nl = pending.find('\n'); nl != std::string::npos; nl = pending.find('\n')) {
                const std::string message = pending.substr(0, nl);
                pending.erase(0, nl + 1);
                std::string reply;
                {
                    std::lock_guard lock(mutex_);
                    received_.push_back(message);
                    arrived_.notify_all();
                    if (message.empty() || message.back() != '?') continue;
                    if (auto turn = turns_.find(message); turn != turns_.end() && !turn->second.empty()) {
                        reply = turn->second.front() + "\n";
                        turn->second.pop_front();
                    } else {
                        auto it = answers_.find(message);
                        reply = (it == answers_.end() ? "0" : it->second) + "\n";
                    }
                }
                ::send(peer, reply.data(), reply.size(), MSG_NOSIGNAL);
            }
        }
        if (peer >= 0) ::close(peer);
    }

    int listener_ = -1;
    unsigned short port_ = 0;
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::map<std::string, std::string> answers_;
    std::map<std::string, std::deque<std::string>> turns_;
    std::vector<std::string> received_;
    std::size_t seen_ = 0;
    std::condition_variable arrived_;
    std::thread thread_;
};

}  // namespace zpv::driver::test
