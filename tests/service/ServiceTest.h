// The base of the service's tests: a service in the test's store, the program's upload form, and
// the first phases of a transfer.
#pragma once

#include "support/BeamTestSupport.h"

#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <memory>

class ServiceTest : public ::testing::Test {
protected:
    static constexpr char kBoundary[] = "__=_Part_Boundary_001_123456.654321";
    static constexpr char kUpload[] = "/php/client-upload-dgst.php";

    // Starts a service with the switches in the test's store; the test fails when it does not.
    CServiceProcess& startService(const std::vector<std::string>& switches = {}) {
        m_service = std::make_unique<CServiceProcess>(switches, storeDir());
        EXPECT_TRUE(m_service->started()) << "the service did not report its address";
        return *m_service;
    }
    // Stops a running service with SIGTERM and expects a clean exit.
    void TearDown() override {
        if (!m_service || !m_service->running())
            return;
        const int status = m_service->stop(SIGTERM);
        EXPECT_EQ(status, 0);
        for (const std::string& line : status != 0 ? m_service->log() : std::vector<std::string>())
            ADD_FAILURE() << "service log: " << line;
    }

    std::string storeDir() const { return m_dir.filePath("store").toStdString(); }
    // An OGG Vorbis ringtone made by the program's own encoder.
    std::string ringtone(int ms = 1000, int channels = 1) const {
        return beamtest::MakeRingtone(m_dir.filePath("tone.ogg"), ms, channels);
    }
    // The body the program uploads: its message header as preamble, the MAX_FILE_SIZE part and
    // the userfile part.
    static std::string uploadBody(const std::string& fileName, const std::string& fileBytes,
                                  const std::string& maxFileSize = "21474836480") {
        const std::string part =
            std::string("\r\n--") + kBoundary + "\r\nContent-Disposition: form-data; name=";
        return std::string("Content-Type: multipart/mixed; boundary=\"") + kBoundary + "\"\r\n" +
               part + "\"MAX_FILE_SIZE\"\r\n\r\n" + maxFileSize + part +
               "\"userfile\"; filename=\"" + fileName + "\"\r\n\r\n" + fileBytes + "\r\n--" +
               kBoundary + "--\r\n";
    }
    // The header fields the program sends with it.
    static std::vector<std::string> uploadHeaders(size_t bodySize) {
        return {"Accept: text/*",
                std::string("Content-type: multipart/form-data; boundary=") + kBoundary,
                "Content-length: " + std::to_string(bodySize)};
    }
    HttpReply postUpload(const std::string& body) const {
        return HttpPost(m_service->url(kUpload), body, uploadHeaders(body.size()));
    }
    HttpReply upload(const std::string& fileName, const std::string& bytes,
                     const std::string& maxFileSize = "21474836480") const {
        return postUpload(uploadBody(fileName, bytes, maxFileSize));
    }
    // The address of the next phase: the CONTINUE value, "?" and the TOKEN value of the answer.
    static std::string next(const std::vector<std::string>& lines) {
        return valueOf(lines, "CONTINUE:") + "?" + valueOf(lines, "TOKEN:");
    }
    // Uploads the bytes and follows phase 1: the address of phase 2 with its token.
    std::string phase2Url(const std::string& bytes, const std::string& fileName = "tone.ogg") {
        const auto phase1 = HttpGet(next(upload(fileName, bytes).lines())).lines();
        EXPECT_EQ(phase1.size(), 3u);
        return next(phase1);
    }
    // The value of the line that starts with the keyword, or "" when there is none.
    static std::string valueOf(const std::vector<std::string>& lines, const std::string& keyword) {
        for (const std::string& line : lines)
            if (line.rfind(keyword, 0) == 0)
                return line.substr(keyword.size());
        return {};
    }

    // Waits for the four lines of a held phase-2 answer; its token.
    static std::string heldToken(CAnswerReader& phase2) {
        EXPECT_TRUE(phase2.waitForLines(4, CServiceProcess::kBound));
        return valueOf(phase2.lines(), "TOKEN:");
    }
    // The person's choice on the transfer page: "send" (to the phone), "pay" or "cancel".
    HttpReply choose(const std::string& action, const std::string& token,
                     const std::string& phone = {}) const {
        std::vector<std::pair<std::string, std::string>> fields{{"token", token}};
        if (!phone.empty())
            fields.emplace_back("phone", phone);
        return HttpPostForm(m_service->url("/transfer/" + action), fields);
    }
    static bool Contains(const std::string& text, const std::string& part) {
        return text.find(part) != std::string::npos;
    }

    QTemporaryDir m_dir;
    std::unique_ptr<CServiceProcess> m_service;
};
