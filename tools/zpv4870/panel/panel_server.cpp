#include "panel_server.h"

#include <httplib.h>

#include <algorithm>
#include <chrono>
#include <ctime>

#include "attribute_catalog.h"
#include "attribute_values.h"
#include "commands.h"
#include "instrument_identity.h"
#include "list_program.h"
#include "list_run.h"
#include "output.h"
#include "panel/panel_page.h"

namespace zpv::cli {

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kMeasurePeriod = std::chrono::milliseconds(500);
constexpr std::size_t kWorkers = 32;

// The panel's controls: per phase the settings people touch most, then the session's.
constexpr const char* kPhaseControls[] = {"VoltageLevel", "CurrentLimit", "Enabled"};
constexpr const char* kSessionControls[] = {"OutputPhases.Frequency", "ManualMode.Range", "ManualMode.Frequency"};

struct Measurement {
    const char* name;  // after the phase: "OutputPhase1.Voltage"
    ViStatus (*read)(ViSession, ViReal64*);
};
constexpr Measurement kMeasurements[] = {{"Voltage", ZPV4870_Voltage},
                                         {"Current", ZPV4870_Current},
                                         {"Power", ZPV4870_Power},
                                         {"Frequency", ZPV4870_Frequency},
                                         {"PowerFactor", ZPV4870_PowerFactor}};
constexpr const char* kMeasuredPhase = "OutputPhase1";  // the instrument measures at its output

// The list editor's columns (ListMode.Sequence.<name>) and the results' columns.
constexpr const char* kSequenceColumns[] = {"VoltageAcStart", "VoltageAcEnd", "FrequencyStart", "FrequencyEnd", "Time",
                                            "TimeUnit"};
constexpr const char* kResultColumns[] = {"Voltage", "Current", "Power", "Frequency", "PowerFactor"};
constexpr const char* kPageProgram = "the page's list program";

std::string NowText() {
    const auto now = std::chrono::system_clock::now();
    const std::time_t t = std::chrono::system_clock::to_time_t(now);
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
    char text[40];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", std::localtime(&t));
    char full[48];
    std::snprintf(full, sizeof full, "%s.%03d", text, static_cast<int>(ms));
    return full;
}

bool SameText(const std::string& a, const std::string& b) {
    unsigned char differ = a.size() != b.size();
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) differ |= static_cast<unsigned char>(a[i] ^ b[i]);
    return differ == 0;
}

const char* KindText(ValueKind kind) {
    switch (kind) {
        case ValueKind::Int32: return "int";
        case ValueKind::Real64: return "real";
        case ValueKind::Boolean: return "boolean";
        default: return "string";
    }
}

}  // namespace

PanelServer::PanelServer(const SessionOptions& options, std::string token)
    : options_(options),
      session_(std::make_shared<const CSession>(options)),
      token_(std::move(token)),
      server_(std::make_unique<httplib::Server>()) {
    ViInt32 phases = 1;
    session_->Check(ZPV4870_GetAttributeViInt32(session_->Handle(), "", ZPV4870_ATTR_OUTPUT_PHASE_COUNT, &phases),
                    "reading the number of output phases");
    for (ViInt32 i = 1; i <= phases; ++i) phases_.push_back("OutputPhase" + std::to_string(i));

    httplib::Server& s = *server_;
    // Each watching page holds a worker for its event stream: room for many tabs and their requests.
    s.new_task_queue = [] { return new httplib::ThreadPool(kWorkers); };
    s.set_default_headers({{"Content-Security-Policy",
                            "default-src 'none'; script-src 'unsafe-inline'; style-src 'unsafe-inline'; "
                            "connect-src 'self'; img-src 'self' data:; form-action 'self'; frame-ancestors 'none'"},
                           {"X-Content-Type-Options", "nosniff"},
                           {"Referrer-Policy", "no-referrer"},
                           {"Cache-Control", "no-store"}});
    // Every request carries the token of the printed address (in the query, or for a POST in the
    // X-Panel-Token header, which no other site's page can send without asking first); a change
    // also comes from our own page.
    s.set_pre_routing_handler([this](const httplib::Request& request, httplib::Response& response) {
        const std::string token = request.has_param("token") ? request.get_param_value("token")
                                                             : request.get_header_value("X-Panel-Token");
        std::string why;
        if (!SameText(token, token_)) why = "the panel's token is missing or wrong: open the address the panel printed";
        const std::string origin = request.get_header_value("Origin");
        if (why.empty() && request.method != "GET" && !origin.empty() &&
            origin != "http://" + request.get_header_value("Host"))
            why = "a change may only come from the panel's own page";
        if (why.empty()) return httplib::Server::HandlerResponse::Unhandled;
        response.status = 403;
        response.set_content(JsonObject({{"error", JsonString(why)}}), "application/json");
        return httplib::Server::HandlerResponse::Handled;
    });
    // A handler's failure (the instrument away, say) is the page's error text.
    s.set_exception_handler([](const httplib::Request&, httplib::Response& response, std::exception_ptr failure) {
        std::string why = "the panel failed";
        try {
            std::rethrow_exception(failure);
        } catch (const std::exception& e) {
            why = OneLine(e.what());
        } catch (...) {
        }
        response.status = 503;
        response.set_content(JsonObject({{"error", JsonString(why)}}), "application/json");
    });
    const auto json = [](httplib::Response& response, const std::string& body) {
        response.set_content(body, "application/json");
    };
    s.Get("/", [](const httplib::Request&, httplib::Response& response) {
        response.set_content(kPanelPage, "text/html; charset=utf-8");
    });
    s.Get("/api/panel", [this, json](const httplib::Request&, httplib::Response& r) { json(r, PanelJson()); });
    s.Get("/api/values", [this, json](const httplib::Request&, httplib::Response& r) { json(r, ValuesJson()); });
    s.Get("/api/errors", [this, json](const httplib::Request&, httplib::Response& r) { json(r, Errors()); });
    s.Post("/api/set", [this, json](const httplib::Request& request, httplib::Response& r) {
        json(r, Set(request.get_param_value("name"), request.get_param_value("value")));
    });
    s.Get("/api/list", [this, json](const httplib::Request&, httplib::Response& r) { json(r, ListJson()); });
    s.Post("/api/list-run", [this, json](const httplib::Request& request, httplib::Response& r) {
        json(r, RunList(request.get_param_value("program")));
    });
    s.Post("/api/outputs-off", [this, json](const httplib::Request&, httplib::Response& r) { json(r, OutputsOff()); });
    s.Get("/api/events", [this](const httplib::Request&, httplib::Response& response) {
        {
            std::lock_guard lock(mutex_);
            ++watchers_;
        }
        measured_.notify_all();
        auto sent = std::make_shared<std::uint64_t>(0);
        response.set_chunked_content_provider(
            "text/event-stream",
            [this, sent](std::size_t, httplib::DataSink& sink) {
                std::unique_lock lock(mutex_);
                measured_.wait_for(lock, std::chrono::seconds(1), [&] { return stopping_ || sample_ > *sent; });
                if (stopping_) return false;
                if (sample_ == *sent) return sink.is_writable();
                *sent = sample_;
                const std::string event = "data: " + latest_ + "\n\n";
                lock.unlock();
                return sink.write(event.data(), event.size());
            },
            [this](bool) {
                std::lock_guard lock(mutex_);
                --watchers_;
            });
    });
    poller_ = std::thread([this] { Poll(); });
}

PanelServer::~PanelServer() { Stop(); }

std::shared_ptr<const CSession> PanelServer::Session() {
    std::lock_guard lock(sessionMutex_);
    if (!session_) throw Failure("the instrument is not answering; the panel opens its session again when it is back");
    return session_;
}

void PanelServer::Forget(const std::shared_ptr<const CSession>& lost) {
    std::lock_guard lock(sessionMutex_);
    if (session_ == lost) session_.reset();
}

std::uint16_t PanelServer::Start(const std::string& address, std::uint16_t port) {
    const int bound = port == 0 ? server_->bind_to_any_port(address) : (server_->bind_to_port(address, port) ? port : -1);
    if (bound <= 0) throw Failure("cannot listen on " + address + ":" + std::to_string(port));
    serving_ = std::thread([this] { server_->listen_after_bind(); });
    return static_cast<std::uint16_t>(bound);
}

void PanelServer::Stop() {
    {
        std::lock_guard lock(mutex_);
        if (stopping_) return;
        stopping_ = true;
    }
    measured_.notify_all();
    server_->stop();
    if (serving_.joinable()) serving_.join();
    if (poller_.joinable()) poller_.join();
    if (listRun_.joinable()) listRun_.join();  // a run asked to stop switches its output off
}

std::vector<std::string> PanelServer::ControlNames() const {
    std::vector<std::string> names;
    for (const std::string& phase : phases_)
        for (const char* control : kPhaseControls) names.push_back(phase + "." + control);
    for (const char* control : kSessionControls) names.emplace_back(control);
    return names;
}

std::string PanelServer::PanelJson() {
    const auto session = Session();
    std::vector<std::pair<std::string, std::string>> identity;
    for (const auto& [name, value] : IdentityFields(*session)) identity.emplace_back(name, JsonString(value));
    std::vector<std::string> controls, phases, measurements;
    for (const std::string& name : ControlNames()) {
        const auto resolved = Resolve(name);
        if (!resolved) continue;  // not on this model
        const Attribute& a = *resolved->attribute;
        std::vector<std::string> values;
        for (const EnumValue& value : a.values) values.push_back(JsonString(value.name));
        controls.push_back(JsonObject({{"name", JsonString(DisplayName(*resolved))},
                                       {"kind", JsonString(KindText(a.kind))},
                                       {"values", JsonArray(values)},
                                       {"unit", JsonString(a.unit)},
                                       {"range", JsonString(a.range)},
                                       {"writable", a.writable ? "true" : "false"}}));
    }
    std::vector<std::string> sequence;
    for (const char* column : kSequenceColumns) {
        const auto resolved = Resolve(std::string("ListMode.Sequence.") + column);
        if (!resolved) continue;
        std::vector<std::string> values;
        for (const EnumValue& value : resolved->attribute->values) values.push_back(JsonString(value.name));
        sequence.push_back(JsonObject({{"name", JsonString(DisplayName(*resolved))},
                                       {"kind", JsonString(KindText(resolved->attribute->kind))},
                                       {"values", JsonArray(values)},
                                       {"unit", JsonString(resolved->attribute->unit)}}));
    }
    for (const std::string& phase : phases_) phases.push_back(JsonString(phase));
    for (const Measurement& m : kMeasurements) measurements.push_back(JsonString(std::string(kMeasuredPhase) + "." + m.name));
    return JsonObject({{"identity", JsonObject(identity)},
                       {"phases", JsonArray(phases)},
                       {"controls", JsonArray(controls)},
                       {"sequence", JsonArray(sequence)},
                       {"measurements", JsonArray(measurements)}});
}

std::string PanelServer::ValuesJson() {
    const auto session = Session();
    std::vector<std::pair<std::string, std::string>> values;
    for (const std::string& name : ControlNames()) {
        const auto resolved = Resolve(name);
        if (!resolved) continue;
        try {
            values.emplace_back(DisplayName(*resolved), ReadAttribute(*session, *resolved).json);
        } catch (const std::exception& failure) {
            values.emplace_back(DisplayName(*resolved), JsonObject({{"error", JsonString(OneLine(failure.what()))}}));
        }
    }
    std::lock_guard lock(mutex_);
    return JsonObject({{"version", std::to_string(settingsVersion_)}, {"values", JsonObject(values)}});
}

std::string PanelServer::Set(const std::string& name, const std::string& value) {
    const auto session = Session();
    const auto resolved = Resolve(name);
    const std::vector<std::string> names = ControlNames();
    if (!resolved || std::find(names.begin(), names.end(), DisplayName(*resolved)) == names.end())
        return JsonObject({{"error", JsonString("the panel has no control " + name)}});
    std::string error;
    try {
        CheckValue(*resolved->attribute, value);
        WriteAttribute(*session, *resolved, value);
    } catch (const std::exception& failure) {  // a usage error or the driver's refusal
        error = OneLine(failure.what());
    }
    {
        std::lock_guard lock(mutex_);
        ++settingsVersion_;  // other pages read the values again, whatever the instrument kept
    }
    std::string readBack = "null";
    try {
        readBack = ReadAttribute(*session, *resolved).json;
    } catch (const std::exception& failure) {
        if (error.empty()) error = OneLine(failure.what());
    }
    std::vector<std::pair<std::string, std::string>> answer = {{"name", JsonString(DisplayName(*resolved))},
                                                                {"value", readBack}};
    if (!error.empty()) answer.emplace_back("error", JsonString(error));
    return JsonObject(answer);
}

std::string PanelServer::RunList(const std::string& text) {
    const auto session = Session();
    ListProgram program;
    try {
        program = ParseListProgram(text, kPageProgram);  // every mistake before the first command
    } catch (const std::exception& mistake) {
        return JsonObject({{"error", JsonString(OneLine(mistake.what()))}});
    }
    std::lock_guard lock(mutex_);
    if (list_.state == "running") return JsonObject({{"error", JsonString("a list program is running")}});
    if (stopping_) return JsonObject({{"error", JsonString("the panel is closing")}});
    if (listRun_.joinable()) listRun_.join();  // the last run, finished
    list_ = ListState{};
    list_.state = "running";
    list_.steps = program.sequences.size();
    listRun_ = std::thread([this, session, program = std::move(program)] {
        ListRunEvents events;
        events.progress = [this](std::size_t step, std::size_t steps, double left) {
            std::lock_guard lock(mutex_);
            list_.step = step;
            list_.steps = steps;
            list_.secondsLeft = left;
        };
        events.stop = [this] {
            std::lock_guard lock(mutex_);
            return stopping_;
        };
        ListState finished;
        try {
            const ListRunOutcome outcome = cli::RunList(*session, program, kPageProgram, false, events);
            finished.state = outcome.completed ? "done" : "stopped";
            finished.results = outcome.results;
        } catch (const std::exception& failure) {
            finished.state = "failed";
            finished.error = OneLine(failure.what());
        }
        std::lock_guard lock(mutex_);
        finished.steps = finished.step = program.sequences.size();
        list_ = std::move(finished);
        ++settingsVersion_;  // the run leaves the output off
    });
    return JsonObject({{"started", "true"}});
}

std::string PanelServer::ListJson() {
    std::vector<std::size_t> columns;
    std::vector<std::string> names;
    for (const char* column : kResultColumns)
        for (std::size_t i = 0; i < ReadingFields().size(); ++i)
            if (ReadingFields()[i].name == column) {
                columns.push_back(i);
                const std::string& unit = ReadingFields()[i].unit;
                names.push_back(JsonString(std::string(column) + (unit.empty() ? "" : " / " + unit)));
            }
    std::lock_guard lock(mutex_);
    std::vector<std::string> rows;
    for (const auto& result : list_.results) {
        std::vector<std::string> row;
        for (std::size_t column : columns) row.push_back(JsonString(column < result.size() ? result[column] : ""));
        rows.push_back(JsonArray(row));
    }
    return JsonObject({{"state", JsonString(list_.state)},
                       {"step", std::to_string(list_.step)},
                       {"steps", std::to_string(list_.steps)},
                       {"seconds_left", JsonNumber(list_.secondsLeft)},
                       {"error", JsonString(list_.error)},
                       {"columns", JsonArray(names)},
                       {"results", JsonArray(rows)}});
}

bool PanelServer::SwitchOutputsOff(std::string* error) {
    std::shared_ptr<const CSession> session;
    try {
        session = Session();
    } catch (const std::exception& away) {
        *error = OneLine(away.what());
        return false;
    }
    // Every phase, then the output as a whole; each tried even when one before it failed.
    const auto attempt = [&](ViStatus status, const std::string& what) {
        try {
            session->Check(status, what);
        } catch (const std::exception& failure) {
            *error += (error->empty() ? "" : "; ") + OneLine(failure.what());
        }
    };
    for (const std::string& phase : phases_)
        attempt(ZPV4870_SetAttributeViBoolean(session->Handle(), phase.c_str(), ZPV4870_ATTR_OUTPUT_PHASE_ENABLED, VI_FALSE),
                "switching " + phase + " off");
    attempt(ZPV4870_SetOutputEnable(session->Handle(), ZPV4870_VAL_OUTPUT_OFF), "switching the output off");
    bool off = true;
    for (const std::string& phase : phases_) {
        ViBoolean enabled = VI_TRUE;
        attempt(ZPV4870_GetAttributeViBoolean(session->Handle(), phase.c_str(), ZPV4870_ATTR_OUTPUT_PHASE_ENABLED,
                                              &enabled),
                "reading " + phase + " back");
        off = off && !enabled;
    }
    std::lock_guard lock(mutex_);
    ++settingsVersion_;
    return off && error->empty();
}

std::string PanelServer::OutputsOff() {
    std::string error;
    const bool off = SwitchOutputsOff(&error);
    std::vector<std::pair<std::string, std::string>> answer = {{"off", off ? "true" : "false"}};
    if (!error.empty()) answer.emplace_back("error", JsonString(error));
    return JsonObject(answer);
}

std::string PanelServer::Errors() {
    const auto session = Session();
    std::vector<std::string> errors;
    for (const auto& [code, message] : session->ErrorQueue(32)) errors.push_back(JsonString(std::to_string(code) + ", " + message));
    return JsonObject({{"errors", JsonArray(errors)}});
}

// Reads the measurements twice a second while a page watches, and wakes every watching page.
void PanelServer::Poll() {
    auto next = Clock::now();
    std::unique_lock lock(mutex_);
    while (!stopping_) {
        measured_.wait(lock, [&] { return stopping_ || watchers_ > 0; });
        if (stopping_) break;
        next = std::max(next, Clock::now());  // after a time without watchers, from now
        const std::uint64_t version = settingsVersion_;
        const std::string list = JsonObject({{"state", JsonString(list_.state)},
                                             {"step", std::to_string(list_.step)},
                                             {"steps", std::to_string(list_.steps)},
                                             {"seconds_left", JsonNumber(list_.secondsLeft)}});
        lock.unlock();
        std::vector<std::pair<std::string, std::string>> values;
        std::string why;
        std::shared_ptr<const CSession> session;
        {
            std::lock_guard hold(sessionMutex_);
            session = session_;
        }
        bool reopened = false;
        if (!session) {  // away: try to open it again, once a period
            try {
                session = std::make_shared<const CSession>(options_);
                std::lock_guard hold(sessionMutex_);
                session_ = session;
                reopened = true;
            } catch (const std::exception& failure) {
                why = OneLine(failure.what());
            }
        }
        for (const Measurement& m : kMeasurements) {
            if (!session) break;
            ViReal64 value = 0;
            const ViStatus status = m.read(session->Handle(), &value);
            if (status < VI_SUCCESS) {
                try {
                    session->Check(status, std::string("measuring ") + m.name);
                } catch (const std::exception& failure) {
                    why = OneLine(failure.what());
                }
                // Gone rather than refusing: the session is opened again next period.
                if (status == ZPV4870_ERROR_IO_GENERAL || status == ZPV4870_ERROR_IO_TIMEOUT) Forget(session);
                break;
            }
            values.emplace_back(std::string(kMeasuredPhase) + "." + m.name, JsonNumber(value));
        }
        std::vector<std::pair<std::string, std::string>> sample = {
            {"time", JsonString(NowText())}, {"settings", std::to_string(version)}, {"list", list}};
        if (why.empty()) sample.emplace_back("values", JsonObject(values));
        else sample.emplace_back("disconnected", JsonString(why));
        lock.lock();
        if (reopened) ++settingsVersion_;  // the pages read the settings of the instrument that came back
        latest_ = JsonObject(sample);
        ++sample_;
        measured_.notify_all();
        next += kMeasurePeriod;
        measured_.wait_until(lock, next, [&] { return stopping_; });
    }
}

}  // namespace zpv::cli
