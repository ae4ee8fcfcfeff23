// The addresses the service answers on.
#pragma once

struct CServicePaths {
    // Phase 0: the upload script the program's UploadUrl names.
    static constexpr const char* kUpload = "/php/client-upload-dgst.php";
    // Phase 1 and phase 2: the two continue addresses handed out in the answers.
    static constexpr const char* kPrepare = "/php/client-continue.php";
    static constexpr const char* kShow = "/php/client-browser.php";
    // The page the program's browser opens (SHOW), and the person's choices on it.
    static constexpr const char* kTransfer = "/transfer";
    static constexpr const char* kSend = "/transfer/send";
    static constexpr const char* kPay = "/transfer/pay";
    static constexpr const char* kCancel = "/transfer/cancel";
    // Stored ringtones: /ringtones/<id>/<file name>.
    static constexpr const char* kRingtones = "/ringtones";
    static constexpr const char* kInbox = "/inbox";
    // How to use Quillet (the program's HelpUrl).
    static constexpr const char* kHelp = "/help";
    // The query marker that asks the program to download a link itself.
    static constexpr const char* kDirectDownload = "client_direct_download";
};
