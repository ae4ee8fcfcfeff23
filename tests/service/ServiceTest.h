// The base of the service's tests: a service in a fresh store, a tone to upload, the first phases.
#pragma once

#include "HttpClient.h"
#include "ServiceProcess.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

class ServiceTest : public ::testing::Test {
protected:
    static constexpr const char* kBoundary = "__=_Part_Boundary_001_123456.654321";

    // Starts a service on a free port with its own store; the test fails when it does not start.
    CServiceProcess& startService(const std::vector<std::string>& arguments = {});
    // Stops the service with SIGTERM and expects a clean exit.
    void TearDown() override;

    std::string storeDir() const;
    // An OGG Vorbis sine tone made by the program's own encoder.
    std::string oggTone(int ms = 1000, bool stereo = false) const;
    // The program's upload of the bytes under the file name.
    HttpReply upload(const std::string& fileName, const std::string& bytes,
                     const std::string& maxFileSize = "21474836480") const;
    // Uploads the bytes and follows phase 1: the address of phase 2 with its token.
    std::string phase2Url(const std::string& bytes, const std::string& fileName = "tone.ogg");

    // The value of the line that starts with the keyword, or "" when there is none.
    static std::string valueOf(const std::vector<std::string>& lines, const std::string& keyword);

    QTemporaryDir m_dir;
    std::unique_ptr<CServiceProcess> m_service;
};
