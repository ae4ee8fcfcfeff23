// The upload's worker thread: its job record, and the runner that waits for it while the calling
// thread keeps serving its event loop.
#pragma once

#include <QString>

// How a beam ended, for a caller that tells more than the message already shown.
struct BeamOutcome {
    bool uploaded = false;        // the upload succeeded
    bool cancelledOnPage = false; // the person ended the transfer on the service's page
    QString cause;                // the reason behind a failure to connect
};

class CRingtoneModel;
class IBrowser;
class IOpProgress;
class IUserMessages;

// Runs uploadFile on a new thread for the model's extracted ringtone, serving this thread's
// events (QCoreApplication::processEvents) until the thread ends; then hides the progress and,
// when the upload failed with a text, shows it through messages. The thread's result; outcome,
// when given, receives how it ended.
bool startUploadFile(CRingtoneModel& model, IOpProgress& progress, IBrowser* browser,
                     IUserMessages& messages, BeamOutcome* outcome = nullptr);
