// One beaming transfer: a stored ringtone on its way from the upload to the person's choice.
#pragma once

#include <chrono>
#include <deque>
#include <string>

// Plain state, read and written only under the lock of the CTransferBoard that holds it.
struct CTransfer {
    enum class Outcome {
        Open,       // waiting for the person
        Sent,       // sent to a phone
        Cancelled,  // cancelled on the page
        ClientLeft, // the program closed its phase-2 request
        Ended,      // the phase-2 answer ended without waiting for the person
        Stopped     // the service stopped
    };

    std::string ringtoneId;
    std::string pageToken; // given out in phase 2, opens the page
    Outcome outcome = Outcome::Open;
    bool held = false; // a phase-2 answer is open and waiting
    int answer = 0;    // the waiting answer's number on the board
    bool paid = false;
    std::string phone;
    // Status lines waiting to be written on the held answer.
    std::deque<std::string> lines;
    std::chrono::steady_clock::time_point created = std::chrono::steady_clock::now();
};
