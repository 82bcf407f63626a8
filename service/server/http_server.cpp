// Requests in, answers out: each connection handles one request at a time, writes its answer straight into
// the socket (waiting for the socket only when it is full), and only then takes the next, so a client can
// queue no more than one answer's worth of memory. Reading stays on, so a request costs no poll changes.
#include "service/server/http_server.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>

#include <arpa/inet.h>
#include <event2/event.h>
#include <event2/listener.h>
#include <event2/util.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <sys/uio.h>
#include <unistd.h>

#include "service/core/feed_cache.h"
#include "service/server/monotonic_clock.h"

namespace nimbo::service {
namespace {

constexpr int kListenBacklog = 1024;
// Input is not read past this until it is used: a head, a small body and a pipelined request's start.
constexpr size_t kMaxBufferedInput = kMaxRequestHeadBytes + kMaxRequestBodyBytes + 1024;
constexpr size_t kReadChunk = 16 * 1024;

timeval Interval(int64_t ms) {
    if (ms < 0) ms = 0;
    return {static_cast<time_t>(ms / 1000), static_cast<suseconds_t>((ms % 1000) * 1000)};
}

// The peer as text; IPv4 clients of an IPv6 socket as plain IPv4, as proxies write them.
std::string PeerText(const sockaddr* address) {
    char text[INET6_ADDRSTRLEN] = "";
    if (address->sa_family == AF_INET) {
        inet_ntop(AF_INET, &reinterpret_cast<const sockaddr_in*>(address)->sin_addr, text, sizeof text);
    } else if (address->sa_family == AF_INET6) {
        const in6_addr& ip = reinterpret_cast<const sockaddr_in6*>(address)->sin6_addr;
        if (IN6_IS_ADDR_V4MAPPED(&ip)) {
            inet_ntop(AF_INET, &ip.s6_addr[12], text, sizeof text);
        } else {
            inet_ntop(AF_INET6, &ip, text, sizeof text);
        }
    }
    return text;
}

const char* DeadlineReason(Phase phase) {
    switch (phase) {
        case Phase::Idle:
            return "idle";
        case Phase::Reading:
            return "request_deadline";
        case Phase::Writing:
            return "write_deadline";
        case Phase::Answering:
            break;
    }
    return "answer_deadline";
}

}  // namespace

HttpServer::HttpServer(event_base* base, ConnectionLimits limits, Metrics& metrics, RequestHandler handler)
    : m_base(base), m_metrics(metrics), m_handler(std::move(handler)), m_table(limits) {
    m_resume = event_new(base, -1, 0, &HttpServer::OnResumeAccepting, this);
    m_deadline = event_new(base, -1, 0, &HttpServer::OnDeadline, this);
    m_grace = event_new(base, -1, 0, &HttpServer::OnGraceOver, this);
}

HttpServer::~HttpServer() {
    while (!m_connections.empty()) Close(*m_connections.begin()->second, nullptr);
    if (m_listener) evconnlistener_free(m_listener);
    event_free(m_resume);
    event_free(m_deadline);
    event_free(m_grace);
}

int HttpServer::Listen(const std::string& host, int port) {
    // "[::1]" as --listen writes an IPv6 address.
    const std::string name =
        host.size() > 2 && host.front() == '[' && host.back() == ']' ? host.substr(1, host.size() - 2) : host;
    evutil_addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = EVUTIL_AI_PASSIVE;
    evutil_addrinfo* found = nullptr;
    if (evutil_getaddrinfo(name.c_str(), std::to_string(port).c_str(), &hints, &found) != 0 || !found) return 0;
    m_listener = evconnlistener_new_bind(m_base, &HttpServer::OnAccept, this,
                                         LEV_OPT_CLOSE_ON_FREE | LEV_OPT_CLOSE_ON_EXEC | LEV_OPT_REUSEABLE,
                                         kListenBacklog, found->ai_addr, static_cast<int>(found->ai_addrlen));
    evutil_freeaddrinfo(found);
    if (!m_listener) return 0;
    evconnlistener_set_error_cb(m_listener, &HttpServer::OnAcceptError);
    sockaddr_storage address{};
    socklen_t length = sizeof address;
    if (getsockname(evconnlistener_get_fd(m_listener), reinterpret_cast<sockaddr*>(&address), &length) != 0) return 0;
    if (address.ss_family == AF_INET6) return ntohs(reinterpret_cast<sockaddr_in6*>(&address)->sin6_port);
    return ntohs(reinterpret_cast<sockaddr_in*>(&address)->sin_port);
}

void HttpServer::OnAccept(evconnlistener*, int fd, sockaddr* address, int, void* self) {
    auto& server = *static_cast<HttpServer*>(self);
    server.m_acceptPause.Accepted();
    const ConnectionTable::Admission admission = server.m_table.Open(MonotonicMs());
    if (admission.shed) server.Close(*server.m_connections.at(*admission.shed), "shed");
    if (!admission.admitted) {
        evutil_closesocket(fd);
        server.m_metrics.CountConnectionClosed("refused");
        return;
    }
    auto connection = std::make_unique<Connection>();
    connection->server = &server;
    connection->id = *admission.admitted;
    connection->socket = fd;
    connection->peer = PeerText(address);
    connection->readable =
        event_new(server.m_base, fd, EV_READ | EV_PERSIST, &HttpServer::OnReadable, connection.get());
    connection->writable = event_new(server.m_base, fd, EV_WRITE, &HttpServer::OnWritable, connection.get());
    if (!connection->readable || !connection->writable) {
        server.Close(*connection, nullptr);
        return;
    }
    const int on = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    event_add(connection->readable, nullptr);
    server.m_connections.emplace(connection->id, std::move(connection));
    server.Rearm();
}

void HttpServer::OnAcceptError(evconnlistener* listener, void* self) {
    auto& server = *static_cast<HttpServer*>(self);
    const int error = EVUTIL_SOCKET_ERROR();
    // Retrying at once would fail again (the listener stays readable) and spin; one line per pause.
    const int64_t pause = server.m_acceptPause.Failed();
    evconnlistener_disable(listener);
    const timeval interval = Interval(pause);
    event_add(server.m_resume, &interval);
    server.m_metrics.CountAcceptPause();
    std::fprintf(stderr, "WARN cannot accept connections (%s); not accepting for %lld ms\n",
                 evutil_socket_error_to_string(error), static_cast<long long>(pause));
}

void HttpServer::OnResumeAccepting(int, short, void* self) {
    auto& server = *static_cast<HttpServer*>(self);
    if (server.m_listener) evconnlistener_enable(server.m_listener);
}

void HttpServer::OnReadable(int, short, void* connection) {
    auto& c = *static_cast<Connection*>(connection);
    HttpServer& server = *c.server;
    char buffer[kReadChunk];
    const ssize_t got = recv(c.socket, buffer, sizeof buffer, 0);
    if (got < 0) {
        if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) server.Close(c, nullptr);
        return;
    }
    if (got == 0) {
        // A client that ends its side after a whole request still gets the answer.
        const auto phase = server.m_table.PhaseOf(c.id);
        if (phase != Phase::Answering && phase != Phase::Writing) {
            server.Close(c, nullptr);
            return;
        }
        c.peerClosed = true;
        server.PauseReading(c, true);  // the end stays readable: it would be reported again and again
        return;
    }
    c.input.append(buffer, static_cast<size_t>(got));
    if (c.input.size() > kMaxBufferedInput) server.PauseReading(c, true);
    server.Process(c.id);
}

void HttpServer::PauseReading(Connection& c, bool pause) {
    if (pause == !c.reading) return;
    c.reading = !pause;
    if (pause) {
        event_del(c.readable);
    } else if (!c.peerClosed) {
        event_add(c.readable, nullptr);
    }
}

void HttpServer::Process(ConnectionId id) {
    for (;;) {
        const auto it = m_connections.find(id);
        if (it == m_connections.end()) return;
        Connection& c = *it->second;
        const auto phase = m_table.PhaseOf(id);
        if (phase == Phase::Answering || phase == Phase::Writing || c.input.empty()) return;
        if (phase == Phase::Idle) {
            m_table.Enter(id, Phase::Reading, MonotonicMs());
            Rearm();
        }
        if (!TakeRequest(c)) return;
        if (m_table.PhaseOf(id) == Phase::Answering) {
            c.inHandler = true;
            m_handler(id, c.request, c.peer);
            c.inHandler = false;
        }
        if (m_table.PhaseOf(id) == Phase::Writing) Finish(c);
    }
}

bool HttpServer::TakeRequest(Connection& c) {
    if (c.bodyLeft == 0) {
        const size_t end = FindHeadEnd(c.input, c.scanned);
        if (end == std::string::npos || end > kMaxRequestHeadBytes) {
            if (end != std::string::npos || c.input.size() > kMaxRequestHeadBytes) {
                c.request = RequestHead();
                Write(c, Refusal(431), true);
                return true;
            }
            c.scanned = c.input.size();
            return false;
        }
        HeadParse parse = ParseRequestHead(std::string_view(c.input).substr(0, end));
        c.input.erase(0, end);
        c.scanned = 0;
        if (!parse.ok) {
            c.request = RequestHead();
            Write(c, Refusal(parse.status), true);
            return true;
        }
        c.request = std::move(parse.head);
        c.bodyLeft = c.request.bodyBytes;
    }
    // The service takes no bodies: what a client sends is dropped.
    const size_t drop = std::min(c.bodyLeft, c.input.size());
    c.input.erase(0, drop);
    c.bodyLeft -= drop;
    if (c.bodyLeft > 0) return false;
    m_table.Enter(c.id, Phase::Answering, MonotonicMs());
    Rearm();
    return true;
}

Response HttpServer::Refusal(int status) {
    Response response;
    response.status = status;
    response.contentType = "text/plain; charset=UTF-8";
    response.cacheControl = "no-store";
    response.body = ReasonPhrase(status);
    if (status == 405) response.headers.emplace_back("Allow", "GET, HEAD");
    return response;
}

void HttpServer::Respond(ConnectionId id, const Response& response) {
    const auto it = m_connections.find(id);
    if (it == m_connections.end() || m_table.PhaseOf(id) != Phase::Answering) return;
    Connection& c = *it->second;
    Write(c, response, !c.request.keepAlive || m_stopping);
    if (c.inHandler) return;  // Process goes on when the handler returns
    Finish(c);
    Process(id);
}

void HttpServer::Write(Connection& c, const Response& response, bool close) {
    const std::string head = ResponseHead(response, Date(), close, !close && c.request.http10 && c.request.keepAlive);
    const bool withBody = c.request.method != Method::Head && response.status != 304;
    std::string_view parts[2] = {head, withBody ? response.body : std::string_view()};
    size_t sent = 0;
    if (c.output.empty()) {
        iovec vector[2] = {{const_cast<char*>(parts[0].data()), parts[0].size()},
                           {const_cast<char*>(parts[1].data()), parts[1].size()}};
        const ssize_t written = writev(c.socket, vector, parts[1].empty() ? 1 : 2);
        if (written > 0) {
            sent = static_cast<size_t>(written);
        } else if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) {
            close = true;  // the client is gone: nothing more can reach it
            c.output.clear();
            sent = parts[0].size() + parts[1].size();
        }
    }
    for (const std::string_view part : parts) {
        if (sent < part.size()) c.output.append(part.substr(sent));
        sent -= std::min(sent, part.size());
    }
    c.closeAfterWrite = close || c.peerClosed;
    m_table.Enter(c.id, Phase::Writing, MonotonicMs());
    Rearm();
}

void HttpServer::OnWritable(int, short, void* connection) {
    auto& c = *static_cast<Connection*>(connection);
    HttpServer& server = *c.server;
    const ssize_t written = send(c.socket, c.output.data(), c.output.size(), MSG_NOSIGNAL);
    if (written < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) {
        server.Close(c, nullptr);
        return;
    }
    if (written > 0) c.output.erase(0, static_cast<size_t>(written));
    const ConnectionId id = c.id;
    server.Finish(c);
    server.Process(id);
}

void HttpServer::Finish(Connection& c) {
    if (!c.output.empty()) {
        event_add(c.writable, nullptr);
        return;
    }
    if (c.closeAfterWrite) {
        Close(c, nullptr);
        return;
    }
    m_table.Enter(c.id, Phase::Idle, MonotonicMs());
    Rearm();
    PauseReading(c, false);
}

void HttpServer::Close(Connection& c, const char* reason) {
    if (reason) m_metrics.CountConnectionClosed(reason);
    const ConnectionId id = c.id;
    m_table.Close(id);
    if (c.readable) event_free(c.readable);
    if (c.writable) event_free(c.writable);
    evutil_closesocket(c.socket);
    m_connections.erase(id);
    Rearm();
    FinishIfDrained();
}
void HttpServer::Rearm() {
    const std::optional<int64_t> next = m_table.NextDeadline();
    if (next == m_armedFor) return;
    m_armedFor = next;
    if (!next) {
        event_del(m_deadline);
        return;
    }
    const timeval interval = Interval(*next - MonotonicMs());
    event_add(m_deadline, &interval);
}

void HttpServer::OnDeadline(int, short, void* self) {
    auto& server = *static_cast<HttpServer*>(self);
    server.m_armedFor.reset();
    for (const auto& [id, phase] : server.m_table.Expired(MonotonicMs())) {
        const auto it = server.m_connections.find(id);
        if (it != server.m_connections.end()) server.Close(*it->second, DeadlineReason(phase));
    }
    server.Rearm();
}

void HttpServer::Stop(int64_t graceMs, std::function<void()> drained) {
    if (m_stopping) return;
    m_stopping = true;
    m_drained = std::move(drained);
    if (m_listener) {
        evconnlistener_free(m_listener);
        m_listener = nullptr;
    }
    event_del(m_resume);
    std::vector<Connection*> waiting;
    for (auto& [id, connection] : m_connections) {
        const auto phase = m_table.PhaseOf(id);
        if (phase == Phase::Idle || phase == Phase::Reading) {
            waiting.push_back(connection.get());
        } else {
            connection->closeAfterWrite = true;
            PauseReading(*connection, true);
        }
    }
    for (Connection* connection : waiting) Close(*connection, nullptr);
    const timeval interval = Interval(graceMs);
    event_add(m_grace, &interval);
    FinishIfDrained();
}

void HttpServer::OnGraceOver(int, short, void* self) {
    auto& server = *static_cast<HttpServer*>(self);
    while (!server.m_connections.empty()) server.Close(*server.m_connections.begin()->second, nullptr);
    server.FinishIfDrained();
}

void HttpServer::FinishIfDrained() {
    if (!m_stopping || !m_connections.empty() || !m_drained) return;
    event_del(m_grace);
    const std::function<void()> drained = std::move(m_drained);
    m_drained = nullptr;
    drained();
}

const std::string& HttpServer::Date() {
    const int64_t now = static_cast<int64_t>(std::time(nullptr));
    if (now != m_dateSecond) {
        m_dateSecond = now;
        m_date = HttpDate(now);
    }
    return m_date;
}

}  // namespace nimbo::service
