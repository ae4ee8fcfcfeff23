#include "ServiceTest.h"

#include "encode/EncoderParams.h"
#include "encode/OggFileEncoder.h"
#include "support/TestSupport.h"

#include <cmath>
#include <csignal>
#include <numbers>

CServiceProcess& ServiceTest::startService(const std::vector<std::string>& arguments) {
    EXPECT_TRUE(m_dir.isValid());
    m_service = std::make_unique<CServiceProcess>(storeDir(), arguments);
    EXPECT_TRUE(m_service->started()) << "the service did not report its address";
    return *m_service;
}

void ServiceTest::TearDown() {
    if (m_service && m_service->started() && m_service->running()) {
        const int status = m_service->stop(SIGTERM);
        EXPECT_EQ(status, 0);
        if (status != 0)
            for (const std::string& line : m_service->log())
                ADD_FAILURE() << "service log: " << line;
    }
}

std::string ServiceTest::storeDir() const {
    return m_dir.filePath("store").toStdString();
}

std::string ServiceTest::oggTone(int ms, bool stereo) const {
    const int channels = stereo ? 2 : 1;
    const int rate = 22050;
    const int frames = rate * ms / 1000;
    QByteArray pcm;
    for (int i = 0; i < frames; ++i) {
        const auto value =
            int16_t(std::lround(12000.0 * std::sin(2.0 * std::numbers::pi * 440.0 * i / rate)));
        for (int c = 0; c < channels; ++c) {
            pcm.append(char(value & 0xFF));
            pcm.append(char((value >> 8) & 0xFF));
        }
    }
    EncoderParams params;
    params.mode = stereo ? EncoderParams::kStereo : EncoderParams::kMono;
    params.sampleRate = rate;
    params.quality = 3;
    const QString path = m_dir.filePath("tone.ogg");
    {
        COggFileEncoder encoder(path, params);
        encoder.encode(pcm.constData(), uint32_t(pcm.size()));
    }
    return testsupport::ReadBytes(path).toStdString();
}

HttpReply ServiceTest::upload(const std::string& fileName, const std::string& bytes,
                              const std::string& maxFileSize) const {
    const std::string body = UploadBody(kBoundary, fileName, bytes, maxFileSize);
    return HttpPost(m_service->url("/php/client-upload-dgst.php"), body,
                    UploadHeaders(kBoundary, body.size()));
}

std::string ServiceTest::phase2Url(const std::string& bytes, const std::string& fileName) {
    const auto phase0 = upload(fileName, bytes).lines();
    const auto phase1 =
        HttpGet(valueOf(phase0, "CONTINUE:") + "?" + valueOf(phase0, "TOKEN:")).lines();
    EXPECT_EQ(phase1.size(), 3u);
    return valueOf(phase1, "CONTINUE:") + "?" + valueOf(phase1, "TOKEN:");
}

std::string ServiceTest::valueOf(const std::vector<std::string>& lines,
                                 const std::string& keyword) {
    for (const std::string& line : lines)
        if (line.rfind(keyword, 0) == 0)
            return line.substr(keyword.size());
    return {};
}
