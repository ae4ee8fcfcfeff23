// The status lines the service ends its answers with, and the waiting line of phase 2.
#pragma once

#include <array>
#include <string>

// Error statuses use 520 and up: the program treats 500-509 in phase 2 as the user's cancel.
struct CAnswerStatus {
    static constexpr const char* kOk = "200 OK";
    static constexpr const char* kSent = "200 Ringtone sent";
    static constexpr const char* kPaid = "450 Payment done";
    static constexpr const char* kCancelled = "500 Transfer cancelled by the user";
    static constexpr const char* kWaiting = "102 Waiting for the user";
    static constexpr const char* kNoFile = "520 The upload holds no ringtone file";
    static constexpr const char* kNotVorbis = "521 The ringtone is not an OGG Vorbis stream";
    static constexpr const char* kTooLarge = "522 The ringtone is larger than the service accepts";
    static constexpr const char* kUnknownTransfer = "523 Unknown or expired transfer";
    static constexpr const char* kNotStored = "524 The service could not store the ringtone";

    static constexpr std::array kAll = {
        kOk,     kSent,      kPaid,     kCancelled,       kWaiting,
        kNoFile, kNotVorbis, kTooLarge, kUnknownTransfer, kNotStored};

    // The status line that --fail-status CODE sends.
    static std::string failure(int code) { return std::to_string(code) + " Service unavailable"; }
};
