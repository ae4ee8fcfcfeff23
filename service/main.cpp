// quillet-service: the reference beaming service. Reads its options, opens the store, and serves
// the beaming protocol and the pages until SIGTERM or SIGINT.
#include "BeamService.h"
#include "HttpServer.h"
#include "RingtoneStore.h"
#include "ServiceLog.h"
#include "ServiceOptions.h"
#include "ServiceSite.h"
#include "StopSignals.h"
#include "TokenSource.h"
#include "TransferBoard.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <iostream>
#include <sys/resource.h>

namespace {

// How long the stop waits for the answers under way to be written to their end.
constexpr auto kStopBound = std::chrono::seconds(5);
// Descriptors kept for the store, the log and the listening socket.
constexpr rlim_t kDescriptorReserve = 32;

// Raises the limit of open descriptors as far as allowed; the connections the rest allows.
size_t ConnectionRoom() {
    rlimit limit{};
    if (getrlimit(RLIMIT_NOFILE, &limit) != 0)
        return 1000;
    if (limit.rlim_cur < limit.rlim_max) {
        limit.rlim_cur = limit.rlim_max;
        setrlimit(RLIMIT_NOFILE, &limit);
        getrlimit(RLIMIT_NOFILE, &limit);
    }
    const rlim_t room = limit.rlim_cur == RLIM_INFINITY ? 1000000 : limit.rlim_cur;
    return room > 2 * kDescriptorReserve ? size_t(room - kDescriptorReserve) : size_t(room / 2);
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

    CHttpServer::Limits limits;
    limits.readTimeout = std::chrono::milliseconds(options.readTimeoutMs);
    limits.bodyLimit = options.maxFileSize + 1024 * 1024;
    const size_t room = ConnectionRoom();
    limits.maxConnections =
        options.maxConnections > 0 ? std::min(size_t(options.maxConnections), room) : room;
    CHttpServer server(limits, [&log](const CHttpRequest& request, int status) {
        log.line(request.remoteAddress + ":" + std::to_string(request.remotePort) + " \"" +
                 request.method + " " + request.target + "\" " + std::to_string(status));
    });
    CBeamService beam(server, board, *store, tokens, log, options);
    CServiceSite site(server, board, *store, log, options);

    const int port = server.listen(options.host, options.port);
    if (port <= 0) {
        std::cerr << "quillet-service: cannot listen on " << options.host << ":" << options.port
                  << "\n";
        return 1;
    }
    const bool v6 = options.host.find(':') != std::string::npos;
    log.plain("quillet-service listening on http://" +
              (v6 ? "[" + options.host + "]" : options.host) + ":" + std::to_string(port) + "/");
    log.line("store: " + store->folder().string());

    signals.start([&](int signal) {
        log.line(std::string("stopping on ") + (signal == SIGINT ? "SIGINT" : "SIGTERM"));
        board.stop(kStopBound);
        server.stop();
    });
    server.run();
    board.stop(kStopBound);
    log.line("stopped");
    return 0;
}
