// nimbo-service: reads its options and the places, then answers on one event loop until stopped.
#include <csignal>
#include <cstdio>
#include <fstream>
#include <functional>
#include <sstream>

#include <sys/resource.h>

#include <curl/curl.h>
#include <event2/event.h>
#include <event2/thread.h>

#include "service/core/place_index.h"
#include "service/core/service_options.h"
#include "service/server/http_service.h"

namespace {

// The first SIGTERM or SIGINT stops the service in order; a second one ends it at once.
struct Stopping {
    event_base* base;
    nimbo::service::HttpService* service;
    bool asked = false;
};

void OnStopSignal(evutil_socket_t, short, void* state) {
    auto& stopping = *static_cast<Stopping*>(state);
    if (stopping.asked) {
        event_base_loopbreak(stopping.base);
        return;
    }
    stopping.asked = true;
    std::fprintf(stderr, "INFO stopping: not accepting, answering the waiting requests\n");
    stopping.service->Stop([base = stopping.base] { event_base_loopbreak(base); });
}

// Connections and upstream calls each take a descriptor: the soft limit goes up to the hard one.
uint64_t RaiseDescriptorLimit() {
    rlimit limit{};
    if (getrlimit(RLIMIT_NOFILE, &limit) != 0) return 1024;
    if (limit.rlim_cur < limit.rlim_max) {
        rlimit raised = limit;
        raised.rlim_cur = limit.rlim_max;
        if (setrlimit(RLIMIT_NOFILE, &raised) == 0) limit = raised;
    }
    return limit.rlim_cur == RLIM_INFINITY ? uint64_t{1} << 20 : static_cast<uint64_t>(limit.rlim_cur);
}

nimbo::service::PlaceIndex LoadPlaces(const std::string& path) {
    if (path.empty()) {
        std::fprintf(stderr, "WARN no --places file: the search finds nothing and only the old codes are known\n");
        return nimbo::service::PlaceIndex();
    }
    std::ifstream file(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    if (!file) std::fprintf(stderr, "WARN cannot read the places file %s\n", path.c_str());
    nimbo::service::PlacesRead read = nimbo::service::ReadPlaces(bytes.str());
    if (!read.error.empty()) std::fprintf(stderr, "WARN %s: %s\n", path.c_str(), read.error.c_str());
    // The names of the places' regions and districts lie beside the places file (scripts/places.sh).
    const std::string regionsPath = path.substr(0, path.find_last_of('/') + 1) + "regions.tsv";
    std::ifstream regions(regionsPath, std::ios::binary);
    if (regions) {
        std::ostringstream tsv;
        tsv << regions.rdbuf();
        const size_t named = nimbo::service::AddPlaceRegions(tsv.str(), read.places);
        std::fprintf(stderr, "INFO %zu places named with their regions from %s\n", named, regionsPath.c_str());
    } else {
        std::fprintf(stderr, "WARN no %s: search lines name regions only in Türkiye\n", regionsPath.c_str());
    }
    return nimbo::service::PlaceIndex(std::move(read.places));
}

}  // namespace

int main(int argc, char** argv) {
    std::string error;
    auto options = nimbo::service::ParseOptions(std::vector<std::string>(argv + 1, argv + argc), error);
    if (!options) {
        std::fprintf(stderr, "nimbo-service: %s (see --help)\n", error.c_str());
        return 2;
    }
    if (options->help) {
        std::fputs(nimbo::service::OptionsHelp().c_str(), stdout);
        return 0;
    }
    std::signal(SIGPIPE, SIG_IGN);
    const uint64_t descriptors = RaiseDescriptorLimit();
    const size_t asked = options->connections.maxConnections;
    options->connections.maxConnections = nimbo::service::ConnectionCap(asked, descriptors);
    if (asked != 0 && options->connections.maxConnections < asked) {
        std::fprintf(stderr, "WARN --max-connections %zu is too many for the descriptor limit %llu; using %zu\n", asked,
                     static_cast<unsigned long long>(descriptors), options->connections.maxConnections);
    }
    curl_global_init(CURL_GLOBAL_DEFAULT);
    evthread_use_pthreads();
    event_base* base = event_base_new();
    {
        const nimbo::service::PlaceIndex places = LoadPlaces(options->placesFile);
        std::fprintf(stderr, "INFO %zu places indexed\n", places.size());
        nimbo::service::HttpService service(base, *options, places);
        const int port = service.Listen(options->listenHost, options->listenPort);
        if (port == 0) {
            std::fprintf(stderr, "ERROR cannot listen on %s:%d\n", options->listenHost.c_str(), options->listenPort);
            return 1;
        }
        if (!options->recordedFolder.empty()) {
            std::fprintf(stderr, "INFO offline: answering from the recorded upstream answers in %s, not live weather\n",
                         options->recordedFolder.c_str());
        }
        Stopping stopping{base, &service};
        event* interrupt = evsignal_new(base, SIGINT, &OnStopSignal, &stopping);
        event* terminate = evsignal_new(base, SIGTERM, &OnStopSignal, &stopping);
        event_add(interrupt, nullptr);
        event_add(terminate, nullptr);
        std::fprintf(stderr, "INFO at most %zu connections at once (descriptor limit %llu)\n",
                     options->connections.maxConnections, static_cast<unsigned long long>(descriptors));
        std::fprintf(stderr, "INFO listening on http://%s:%d\n", options->listenHost.c_str(), port);
        event_base_dispatch(base);
        event_free(interrupt);
        event_free(terminate);
        std::fprintf(stderr, "INFO stopped\n");
    }
    event_base_free(base);
    curl_global_cleanup();
    return 0;
}
