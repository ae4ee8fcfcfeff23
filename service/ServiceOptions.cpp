#include "ServiceOptions.h"

#include "AnswerStatus.h"
#include "WholeNumber.h"

#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace {

// A whole decimal number in [low, high], or false.
template <typename T> bool ParseNumber(const std::string& text, T low, T high, T& value) {
    T parsed{};
    if (!WholeNumber(text, parsed) || parsed < low || parsed > high)
        return false;
    value = parsed;
    return true;
}

} // namespace

bool CServiceOptions::parse(const std::vector<std::string>& args, std::string& error) {
    for (size_t i = 0; i < args.size(); ++i) {
        std::string name = args[i];
        std::string value;
        bool hasValue = false;
        if (const auto eq = name.find('='); name.rfind("--", 0) == 0 && eq != std::string::npos) {
            value = name.substr(eq + 1);
            name = name.substr(0, eq);
            hasValue = true;
        }
        // Takes the option's value from "--name=value" or from the next argument.
        const auto takeValue = [&]() {
            if (hasValue)
                return true;
            if (i + 1 >= args.size()) {
                error = "option " + name + " needs a value";
                return false;
            }
            value = args[++i];
            return true;
        };
        const auto number = [&](auto low, auto high, auto& target) {
            if (!takeValue())
                return false;
            if (!ParseNumber(value, low, high, target)) {
                error = "invalid value for " + name + ": " + value;
                return false;
            }
            return true;
        };
        const auto text = [&](std::string& target) {
            if (!takeValue())
                return false;
            if (value.empty()) {
                error = "option " + name + " needs a value";
                return false;
            }
            target = value;
            return true;
        };
        const auto flag = [&](bool& target) {
            if (hasValue) {
                error = "option " + name + " takes no value";
                return false;
            }
            target = true;
            return true;
        };

        bool ok = true;
        if (name == "--help" || name == "-h")
            ok = flag(help);
        else if (name == "--version")
            ok = flag(version);
        else if (name == "--host")
            ok = text(host);
        else if (name == "--port")
            ok = number(0, 65535, port);
        else if (name == "--store")
            ok = text(storeDir);
        else if (name == "--public-url") {
            ok = takeValue();
            publicUrl = value;
            while (!publicUrl.empty() && publicUrl.back() == '/')
                publicUrl.pop_back();
            if (ok && publicUrl.rfind("http://", 0) != 0 && publicUrl.rfind("https://", 0) != 0) {
                error = "--public-url must start with http:// or https://";
                return false;
            }
        } else if (name == "--max-size")
            ok = number(uint64_t(1), uint64_t(1) << 40, maxFileSize);
        else if (name == "--size")
            ok = text(browserSize);
        else if (name == "--payment")
            ok = flag(payment);
        else if (name == "--heartbeat")
            ok = number(0, 3600, heartbeatSeconds);
        else if (name == "--read-timeout")
            ok = number(100, 3600000, readTimeoutMs);
        else if (name == "--max-connections")
            ok = number(1, 1000000, maxConnections);
        else if (name == "--fail-phase")
            ok = number(0, 2, failPhase);
        else if (name == "--fail-status")
            ok = number(500, 599, failStatus);
        else if (name == "--no-status")
            ok = number(0, 2, noStatusPhase);
        else if (name == "--missing-params")
            ok = flag(missingParams);
        else if (name == "--slow")
            ok = number(0, 600000, slowMs);
        else if (name == "--drop-upload")
            ok = number(int64_t(0), int64_t(1) << 40, dropUploadBytes);
        else {
            error = "unknown option: " + args[i];
            return false;
        }
        if (!ok) {
            if (error.empty())
                error = "invalid value for " + name;
            return false;
        }
    }
    if (storeDir.empty())
        storeDir = defaultStoreDir();
    return true;
}

std::string CServiceOptions::defaultStoreDir() {
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    if (dataHome && *dataHome == '/')
        return (std::filesystem::path(dataHome) / "quillet-service").string();
    const char* home = std::getenv("HOME");
    if (home && *home == '/')
        return (std::filesystem::path(home) / ".local/share/quillet-service").string();
    std::error_code ec;
    std::filesystem::path temp = std::filesystem::temp_directory_path(ec);
    if (ec)
        temp = "/tmp";
    return (temp / ("quillet-service-" + std::to_string(getuid()))).string();
}

std::string CServiceOptions::helpText() {
    std::string text = R"(Usage: quillet-service [OPTION]...
The reference beaming service of Quillet. It answers the program's upload request
(POST /php/client-upload-dgst.php) and the two continue requests, checks and stores each
uploaded OGG Vorbis ringtone, and serves the pages on which a person plays the ringtone,
sends it to a phone number, downloads it, or cancels. /inbox lists the ringtones each
phone number received (/inbox?phone=NUMBER for one number).

Options:
  --host ADDRESS       address to listen on (default 127.0.0.1)
  --port N             port to listen on; 0 picks a free port (default 8645). The first
                       line printed is "quillet-service listening on http://HOST:PORT/"
  --store DIR          folder for the received ringtones and the inbox (default
                       $XDG_DATA_HOME/quillet-service, else ~/.local/share/quillet-service,
                       else quillet-service-UID in the temporary folder)
  --public-url URL     start of the addresses written into answers (default: http:// and
                       the Host header of the request being answered)
  --max-size BYTES     largest ringtone accepted (default 16777216)
  --size WxH           browser size sent on the SIZE line (default 640x480); sent as
                       given, so 0x480, 640x0 or 640 make a bad SIZE
  --payment            the page asks for a (pretend) payment before the phone form;
                       paying sends "450 Payment done" on the held answer
  --heartbeat SECONDS  an empty line on a held phase-2 answer every SECONDS, so the
                       program notices its own cancel (default 5; 0 sends none)
  --read-timeout MS    a client must send a request's header fields within MS
                       milliseconds and its body within MS more plus a second per
                       4 KiB, or the connection is closed (default 15000)
  --max-connections N  open connections at most; more wait to be accepted (default:
                       as many as the process may open descriptors, less a reserve)
  --help               show this text and exit
  --version            show the version and exit

Misbehaviour, to drive every branch of the program:
  --fail-phase N       answer phase N (0 upload, 1 first continue, 2 second continue)
                       with a 5xx status line; in phase 2 it follows the browser lines
  --fail-status CODE   the status code of --fail-phase, 500 to 599 (default 503)
  --no-status N        end the answer of phase N without a status line
  --missing-params     phase 2 sends neither SHOW nor SIZE, so the browser cannot open
  --slow MS            wait MS milliseconds before each answer line
  --drop-upload BYTES  drop the connection once BYTES of the upload body have arrived

Answers are text/plain lines ended by CR LF, sent as they are made, with the HTTP
status 200; the protocol's own status lines are:
)";
    for (const char* status : CAnswerStatus::kAll)
        text += std::string("  ") + status + "\n";
    text += "  " + CAnswerStatus::failure(503) + " (--fail-phase)\n";
    text += R"(
SIGTERM or SIGINT stops the service: held answers end without a status line.
)";
    return text;
}
