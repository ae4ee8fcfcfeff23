// The upload thread's exchange with the beaming service: the upload of the ringtone, the two
// continue requests, and the browser in which the person finishes the transfer.
#pragma once

#include <QByteArray>
#include <QString>
#include <chrono>
#include <memory>

class CHttpRequest;
class CHttpSession;
class IBrowser;
class IOpProgress;

// What the upload thread is given and what it leaves behind. It lives on the runner's stack
// while the thread runs and is shared with nothing else.
struct UploadThreadParams {
    QString ringtoneFile;            // the extracted ringtone to upload
    QString ringtoneName;            // the input's short title ("MySong", "track03") naming it
    IOpProgress* progress = nullptr; // the beam's progress display
    IBrowser* browser = nullptr;     // where the person finishes the transfer; may be null
    bool result = false;             // set by the thread: true on success
    bool cancelledOnPage = false;    // set by the thread: the person ended it on the page
    QString errorText;               // set by the thread on a failure the person should see
    QString errorCause;              // set by the thread: the reason behind a connection failure
};

// One run: phase 0 posts the ringtone to the UploadUrl setting and reads TOKEN, DIGEST and
// CONTINUE; phase 1 gets the continue address and reads TOKEN and CONTINUE; phase 2 gets the
// next one and reads TOKEN, SHOW and SIZE, opens the browser once all three have come, and reads
// on until the status line of the person's choice. Runs on the upload thread; the progress and
// the browser are called from it.
class CUploadClient {
public:
    // Bytes of the body handed over between two cancel checks.
    static constexpr int kChunkSize = 16384;
    // How long the upload and first continue wait for the service's next byte; phase 2 waits as
    // long as the person's page is open (the service's empty heartbeat lines keep it going).
    static constexpr std::chrono::milliseconds kIdleTimeout{40000};
    // Lines without a keyword an answer may hold before it counts as no answer of the service.
    static constexpr int kMaxLinesWithoutKeyword = 1000;

    CUploadClient(const QString& filePath, const QString& ringtoneName, IOpProgress& progress,
                  IBrowser* browser);
    ~CUploadClient();
    CUploadClient(const CUploadClient&) = delete;
    CUploadClient& operator=(const CUploadClient&) = delete;

    // Runs the exchange once. True on success, and after a payment whatever followed; on false,
    // errorText is the message for the person (empty after a cancel).
    bool run();
    const QString& errorText() const { return m_errorText; }
    // True after a run the person ended on the service's page (a cancel there or the closed
    // browser), as opposed to a cancel of the progress or a failure.
    bool cancelledOnPage() const { return m_cancelledOnPage; }
    // The transfer library's reason when the connection could not be made (its message says only
    // that a connection is needed); empty otherwise.
    const QString& errorCause() const { return m_errorCause; }
    // Sets the idle time-out of the first two phases (kIdleTimeout unless set).
    void setIdleTimeout(std::chrono::milliseconds timeout) { m_idleTimeout = timeout; }

private:
    enum Phase { UploadPhase = 0, ContinuePhase = 1, BrowserPhase = 2 };

    // The phases in order; every failure is thrown.
    void exchange();
    // Sends the ringtone to the upload URL (address: its form for the transfer library) and
    // waits until the service begins to answer.
    void upload(const QString& url, const QByteArray& address, const QString& proxy);
    // Sends the GET of the continue address of phase 1 or 2 and reads its answer.
    void follow(Phase phase);
    void readAnswer(Phase phase);
    // After reading a phase's answer: throws the cancel of a user abort, or code 127 when no
    // status 200 was read.
    void checkPhaseEnd(Phase phase);
    // Acts on one non-empty answer line; false ends the reading.
    bool takeLine(Phase phase, const QString& line);
    bool takeStatus(Phase phase, int code, const QString& text, const QString& line);
    // Counts a browser parameter line and opens the browser at the third.
    void countBrowserParameter();
    void openBrowser();
    // True when the person has asked to stop: the cancel, in phase 2 also the closed browser.
    bool stopAsked(Phase phase);
    // Cleans up after the exchange and decides the result.
    bool finish();
    // Throws the internet failure of a service that sent nothing for the idle time-out.
    [[noreturn]] void throwSilent();

    QString m_filePath;
    QString m_ringtoneName;
    IOpProgress& m_progress;
    IBrowser* m_browser;

    std::unique_ptr<CHttpSession> m_session;
    std::unique_ptr<CHttpRequest> m_request;

    QString m_token;
    QString m_continueUrl;
    QString m_sizeText;
    int m_width = 0;
    int m_height = 0;
    int m_count = 0;
    bool m_userAbort = false;
    bool m_ok = false;
    bool m_paid = false;
    bool m_connecting = false;
    bool m_failed = false;
    bool m_cancelledOnPage = false;
    int m_linesWithoutKeyword = 0;
    std::chrono::milliseconds m_idleTimeout = kIdleTimeout;
    QString m_errorText;
    QString m_errorCause;
};

// The upload thread's body: uploads the record's ringtone, with its progress and
// browser, and leaves the result and the error text in the record. Returns the result.
bool uploadFile(UploadThreadParams& params);
