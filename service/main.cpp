// quillet-service: the reference beaming service. Reads its options, opens the store, and serves
// the beaming protocol and the pages until SIGTERM or SIGINT.
#include "BeamService.h"
#include "RingtoneStore.h"
#include "ServiceLog.h"
#include "ServiceOptions.h"
#include "ServiceSite.h"
#include "StopSignals.h"
#include "TokenSource.h"
#include "TransferBoard.h"

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <httplib.h>
#include <iostream>
#include <sys/socket.h>
#include <thread>

namespace {

// Threads serving connections: each held phase-2 answer keeps one busy, and a browser keeps a
// few open while it loads a page.
constexpr size_t kThreads = 32;
// How long the stop waits for the answers under way to be written to their end.
constexpr auto kStopBound = std::chrono::seconds(5);

// Plain address reuse: no second service may share the port.
void SocketOptions(int socket) {
    const int yes = 1;
    setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
}

} // namespace

int main(int argc, char* argv[]) {
    std::signal(SIGPIPE, SIG_IGN);
    CServiceOptions options;
    std::string error;
    if (!options.parse(std::vector<std::string>(argv + 1, argv + argc), error)) {
        std::cerr << "quillet-service: " << error << "\nTry 'quillet-service --help'.\n";
        return 2;
    }
    if (options.help) {
        std::cout << CServiceOptions::helpText();
        return 0;
    }
    if (options.version) {
        std::cout << "quillet-service " << QUILLET_SERVICE_VERSION << "\n";
        return 0;
    }

    CStopSignals signals;
    CServiceLog log(stdout);
    std::unique_ptr<CRingtoneStore> store;
    try {
        store = std::make_unique<CRingtoneStore>(options.storeDir);
    } catch (const std::exception& e) {
        std::cerr << "quillet-service: " << e.what() << "\n";
        return 1;
    }
    CTokenSource tokens;
    CTransferBoard board(tokens);

    httplib::Server server;
    server.new_task_queue = [] { return new httplib::ThreadPool(kThreads); };
    server.set_socket_options(SocketOptions);
    server.set_keep_alive_timeout(2);
    server.set_payload_max_length(options.maxFileSize + 1024 * 1024);
    server.set_logger([&log](const httplib::Request& request, const httplib::Response& response) {
        log.line(request.remote_addr + ":" + std::to_string(request.remote_port) + " \"" +
                 request.method + " " + request.target + "\" " + std::to_string(response.status));
    });
    CBeamService beam(server, board, *store, tokens, log, options);
    CServiceSite site(server, board, *store, log, options);

    const int port = options.port == 0 ? server.bind_to_any_port(options.host)
                     : server.bind_to_port(options.host, options.port) ? options.port
                                                                       : -1;
    if (port <= 0) {
        std::cerr << "quillet-service: cannot listen on " << options.host << ":" << options.port
                  << "\n";
        return 1;
    }
    const bool v6 = options.host.find(':') != std::string::npos;
    log.plain("quillet-service listening on http://" +
              (v6 ? "[" + options.host + "]" : options.host) + ":" + std::to_string(port) + "/");
    log.line("store: " + store->folder().string());

    std::atomic<bool> listenEnded{false};
    signals.start([&](int signal) {
        log.line(std::string("stopping on ") + (signal == SIGINT ? "SIGINT" : "SIGTERM"));
        board.stop(kStopBound);
        // The server's stop only takes once it runs: a signal that comes right after the start
        // waits for the listening loop to begin.
        for (int i = 0; i < 5000 && !server.is_running() && !listenEnded; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        server.stop();
    });
    const bool served = server.listen_after_bind();
    listenEnded = true;
    board.stop(kStopBound);
    log.line("stopped");
    return served ? 0 : 1;
}
