// The service's settings and misbehaviour switches, read from its command line.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// What quillet-service was asked to do. Phase switches hold -1 when not given.
struct CServiceOptions {
    std::string host = "127.0.0.1";
    int port = 8645;
    std::string storeDir;  // empty: defaultStoreDir()
    std::string publicUrl; // empty: "http://" and the request's Host header
    uint64_t maxFileSize = 16 * 1024 * 1024;
    std::string browserSize = "640x480"; // the SIZE value, sent unchecked
    bool payment = false;
    int heartbeatSeconds = 5;
    // How long a client may take to send a request's header fields (and, with a second more
    // for every 4 KiB, its body) before the connection is closed.
    int readTimeoutMs = 15000;
    // Open connections at most; 0: as many as the descriptors allow.
    int maxConnections = 0;

    int failPhase = -1;
    int failStatus = 503;
    int noStatusPhase = -1;
    bool missingParams = false;
    int slowMs = 0;
    int64_t dropUploadBytes = -1;

    bool help = false;
    bool version = false;

    // Reads the arguments after the program name. False with error set on a usage error.
    bool parse(const std::vector<std::string>& args, std::string& error);

    // The folder used when --store is not given: $XDG_DATA_HOME/quillet-service, else
    // $HOME/.local/share/quillet-service, else quillet-service-<uid> in the temporary folder.
    static std::string defaultStoreDir();
    static std::string helpText();
};
