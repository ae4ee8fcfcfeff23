// The upload's worker thread: its job record, and the runner that waits for it while the calling
// thread keeps serving its event loop.
#pragma once

#include <QString>

class CRingtoneModel;
class IBrowser;
class IOpProgress;
class IUserMessages;

// What the upload thread is given and what it leaves behind. It lives on the runner's stack
// while the thread runs and is shared with nothing else.
struct UploadThreadParams {
    CRingtoneModel* model = nullptr; // the ringtone file and name to upload
    IOpProgress* progress = nullptr; // the beam's progress display
    IBrowser* browser = nullptr;     // where the person finishes the transfer; may be null
    bool result = false;             // set by the thread: true on success
    QString errorText;               // set by the thread on a failure the person should see
};

// Runs uploadFile on a new thread for the model's extracted ringtone, serving this thread's
// events (QCoreApplication::processEvents) until the thread ends; then hides the progress and,
// when the upload failed with a text, shows it through messages. The thread's result.
bool startUploadFile(CRingtoneModel& model, IOpProgress& progress, IBrowser* browser,
                     IUserMessages& messages);
