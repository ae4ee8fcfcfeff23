// The upload's worker thread: its job record, and the runner that waits for it while the calling
// thread keeps serving its event loop.
#pragma once

#include <QString>

class CRingtoneModel;
class IBrowser;
class IOpProgress;
class IUserMessages;

// Runs uploadFile on a new thread for the model's extracted ringtone, serving this thread's
// events (QCoreApplication::processEvents) until the thread ends; then hides the progress and,
// when the upload failed with a text, shows it through messages. The thread's result;
// cancelledOnPage, when given, tells whether the person ended the transfer on the service's page.
bool startUploadFile(CRingtoneModel& model, IOpProgress& progress, IBrowser* browser,
                     IUserMessages& messages, bool* cancelledOnPage = nullptr);
