// A session of the C interface for one command, opened from the common options and closed at the
// end; every failing call becomes a Failure carrying the driver's description.
#pragma once

#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "zpv4870.h"

namespace zpv::cli {

// A failure of the instrument or the driver: exit status 1.
struct Failure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct SessionOptions {
    std::string resource;
    bool simulate = false;
    std::string model;
    int timeoutMs = 0;  // 0: the driver's default
    std::string options;
    // The instrument's event status is read after every call (QueryInstrStatus), so what it
    // refuses fails the command with its own message; --no-status-check switches it off.
    bool statusCheck = true;
    // --io-log: every transfer on the wire to this file ("-": standard error).
    std::string ioLog;
};

class CSession {
public:
    explicit CSession(const SessionOptions& options);
    ~CSession();
    CSession(const CSession&) = delete;
    CSession& operator=(const CSession&) = delete;

    ViSession Handle() const { return vi_; }
    // Throws a Failure naming `what` and the session's error description when status < 0.
    ViStatus Check(ViStatus status, const std::string& what) const;
    // A text output by the copy-out rule; call(size, buffer) is the C call. A positive result of
    // a text function is the size the text needs (the library replaces a warning of the call by
    // the copy's result), never a warning.
    template <class Call>
    std::string Text(const std::string& what, Call&& call) const {
        std::string text(4096, '\0');
        for (;;) {
            const ViStatus needed = Check(call(static_cast<ViInt32>(text.size()), text.data()), what);
            if (needed <= static_cast<ViStatus>(text.size())) break;
            text.assign(static_cast<std::size_t>(needed), '\0');
        }
        text.resize(text.find('\0'));
        return text;
    }

    // The instrument's error queue, emptied: code and message each, at most `most` of them (an
    // instrument whose queue never empties must not keep the caller). Throws as Check does.
    std::vector<std::pair<ViInt32, std::string>> ErrorQueue(int most) const;

private:
    ViSession vi_ = 0;
};

// The option string the common options stand for.
std::string OptionString(const SessionOptions& options);

}  // namespace zpv::cli
