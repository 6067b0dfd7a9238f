// measure: one reading, or a live table with --watch until Ctrl-C.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <optional>
#include <string>
#include <thread>

#include "commands.h"
#include "interrupts.h"
#include "output.h"

namespace zpv::cli {

namespace {

struct Reading {
    double voltage, current, power, frequency;
};

Reading Read(const CSession& session) {
    Reading r{};
    const ViSession vi = session.Handle();
    session.Check(ZPV4870_Voltage(vi, &r.voltage), "measuring the voltage");
    session.Check(ZPV4870_Current(vi, &r.current), "measuring the current");
    session.Check(ZPV4870_Power(vi, &r.power), "measuring the power");
    session.Check(ZPV4870_Frequency(vi, &r.frequency), "measuring the frequency");
    return r;
}

std::string Json(const Reading& r) {
    return JsonObject({{"phase", JsonString("OutputPhase1")},
                       {"voltage", JsonNumber(r.voltage)},
                       {"current", JsonNumber(r.current)},
                       {"power", JsonNumber(r.power)},
                       {"frequency", JsonNumber(r.frequency)}});
}

std::string TableOf(const Reading& r) {
    return Table({{"PHASE", "VOLTAGE/V", "CURRENT/A", "POWER/W", "FREQUENCY/Hz"},
                  {"OutputPhase1", Number(r.voltage), Number(r.current), Number(r.power), Number(r.frequency)}});
}

std::string Now() {
    const std::time_t t = std::time(nullptr);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", std::localtime(&t));
    return text;
}

}  // namespace

int Measure(const Common& common, double watchSeconds, const std::string& csvPath) {
    std::optional<CSession> session(std::in_place, common.session);  // no instrument at the start: a failure
    std::ofstream csv;
    if (!csvPath.empty()) {
        csv.open(csvPath);
        if (!csv) throw UsageError("cannot write " + csvPath);
        csv << "time,phase,voltage,current,power,frequency\n";
    }
    auto record = [&](const Reading& r) {
        if (csv) csv << Now() << ",OutputPhase1," << r.voltage << ',' << r.current << ',' << r.power << ','
                     << r.frequency << std::endl;
    };
    if (watchSeconds <= 0) {
        const Reading r = Read(*session);
        record(r);
        std::fputs(common.json ? (Json(r) + "\n").c_str() : TableOf(r).c_str(), stdout);
        return 0;
    }

    // Live: redrawn in place on a terminal, one line per reading otherwise; Ctrl-C ends it. A
    // data logger outlives the instrument's restarts: a reading that fails shows the instrument as
    // disconnected, and the session is opened again every period until it answers.
    CatchInterrupts();
    const bool terminal = !common.json && isatty(STDOUT_FILENO);
    bool drawn = false;
    std::optional<Reading> last;
    const auto period = std::chrono::duration<double>(watchSeconds);
    while (!Interrupted()) {
        const auto started = std::chrono::steady_clock::now();
        std::optional<Reading> r;
        std::string why;
        try {
            if (!session) session.emplace(common.session);
            r = Read(*session);
        } catch (const std::exception& failure) {
            why = OneLine(failure.what());
            session.reset();
        }
        if (r) {
            record(*r);
            last = r;
        }
        const std::string status = r ? "" : "disconnected: " + why;
        if (common.json) {
            std::printf("%s\n", r ? Json(*r).c_str()
                                   : JsonObject({{"time", JsonString(Now())}, {"disconnected", JsonString(why)}}).c_str());
        } else if (terminal) {
            const std::string table = TableOf(last.value_or(Reading{}));
            const std::size_t split = table.find('\n') + 1;
            if (drawn) std::printf("\x1b[3A");  // back to the table's first line
            std::printf("\x1b[2K%s\x1b[2K%s\x1b[2K(%s, %s every %g s; Ctrl-C ends)\n", table.substr(0, split).c_str(),
                        table.substr(split).c_str(), Now().c_str(),
                        r ? "measured" : (status + "; trying again").c_str(), watchSeconds);
            drawn = true;
        } else if (r) {
            std::printf("%s,OutputPhase1,%s,%s,%s,%s\n", Now().c_str(), Number(r->voltage).c_str(),
                        Number(r->current).c_str(), Number(r->power).c_str(), Number(r->frequency).c_str());
        } else {
            std::printf("%s,OutputPhase1,%s\n", Now().c_str(), status.c_str());
        }
        std::fflush(stdout);
        while (!Interrupted() && std::chrono::steady_clock::now() - started < period)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    if (terminal) std::printf("Stopped.\n");
    return 0;
}

}  // namespace zpv::cli
