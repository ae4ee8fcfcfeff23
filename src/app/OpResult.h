// The result codes of the long operations.
#pragma once

// What every long operation returns. Decoders extend it with three codes of their own.
enum OpResult : int {
    OpSuccess = 0,
    OpCancelled = 1, // never shown to the user
    OpFailed = 2,    // an error text may accompany it
    OpInvalidFile = 3,
    OpNotSupported = 4,
    OpComponentsMissing = 5,
};
