// HTTP/1.1 connections on libevent: accepting within the connection cap (pausing after a failed accept),
// reading each request within its deadline, writing answers in order, and closing down for a stop. What is
// decided (heads, caps, deadlines, pauses) is the portable core's; this file moves the bytes.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>

#include "service/core/accept_pause.h"
#include "service/core/connection_table.h"
#include "service/core/http_request_head.h"
#include "service/core/http_response.h"
#include "service/core/metrics.h"

struct event;
struct event_base;
struct evconnlistener;
struct sockaddr;

namespace nimbo::service {

class HttpServer {
public:
    using ConnectionId = ConnectionTable::Id;
    // Called on the loop thread for each whole request; the answer goes back through Respond, now or later.
    using RequestHandler = std::function<void(ConnectionId, const RequestHead&, const std::string& peer)>;

    HttpServer(event_base* base, ConnectionLimits limits, Metrics& metrics, RequestHandler handler);
    ~HttpServer();
    HttpServer(const HttpServer&) = delete;
    HttpServer& operator=(const HttpServer&) = delete;

    // Binds the listening socket; returns the port it got (the asked one, or a free one for 0), or 0.
    int Listen(const std::string& host, int port);

    // Answers the request `connection` waits on; a connection that has gone meanwhile is skipped.
    void Respond(ConnectionId connection, const Response& response);

    // Stops accepting and closes the connections with no request being answered; the others may finish
    // their answers within `graceMs`. Then `drained` runs, once.
    void Stop(int64_t graceMs, std::function<void()> drained);

    size_t open() const { return m_table.size(); }
    size_t cap() const { return m_table.cap(); }

private:
    struct Connection {
        HttpServer* server = nullptr;
        ConnectionId id = 0;
        int socket = -1;
        event* readable = nullptr;  // always on, but while too much input waits
        event* writable = nullptr;  // only while an answer does not fit in the socket
        std::string peer;
        std::string input;
        std::string output;      // what the socket did not take at once
        size_t scanned = 0;      // bytes of input already searched for the end of a head
        size_t bodyLeft = 0;     // of the current request's body, still to be dropped
        RequestHead request;     // the current request
        bool inHandler = false;  // the request handler runs: the connection must outlive it
        bool reading = true;
        bool peerClosed = false;
        bool closeAfterWrite = false;
    };

    static void OnAccept(evconnlistener* listener, int fd, sockaddr* address, int length, void* self);
    static void OnAcceptError(evconnlistener* listener, void* self);
    static void OnResumeAccepting(int, short, void* self);
    static void OnReadable(int, short, void* connection);
    static void OnWritable(int, short, void* connection);
    static void OnDeadline(int, short, void* self);
    static void OnGraceOver(int, short, void* self);

    void Process(ConnectionId id);
    bool TakeRequest(Connection& connection);
    Response Refusal(int status);
    void Write(Connection& connection, const Response& response, bool close);
    void Finish(Connection& connection);
    void PauseReading(Connection& connection, bool pause);
    void Close(Connection& connection, const char* reason);
    void Rearm();
    void FinishIfDrained();
    const std::string& Date();

    event_base* m_base;
    Metrics& m_metrics;
    RequestHandler m_handler;
    ConnectionTable m_table;
    AcceptPause m_acceptPause;
    evconnlistener* m_listener = nullptr;
    event* m_resume = nullptr;
    event* m_deadline = nullptr;
    event* m_grace = nullptr;
    std::optional<int64_t> m_armedFor;
    std::unordered_map<ConnectionId, std::unique_ptr<Connection>> m_connections;
    bool m_stopping = false;
    std::function<void()> m_drained;
    int64_t m_dateSecond = -1;
    std::string m_date;
};

}  // namespace nimbo::service
