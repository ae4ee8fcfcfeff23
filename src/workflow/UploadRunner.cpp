// The upload's worker thread and the runner that waits for it.
#include "workflow/UploadRunner.h"

#include "app/IOpProgress.h"
#include "app/IUserMessages.h"
#include "app/ServedThread.h"
#include "web/UploadClient.h"
#include "workflow/RingtoneModel.h"

bool startUploadFile(CRingtoneModel& model, IOpProgress& progress, IBrowser* browser,
                     IUserMessages& messages, BeamOutcome* outcome) {
    UploadThreadParams params;
    params.ringtoneFile = model.getRingtoneFileName();
    // The input's short title ("MySong", "track03", "recording") names the ringtone.
    params.ringtoneName = model.getInputTitle();
    params.progress = &progress;
    params.browser = browser;

    // The window stays alive: its events are served while the thread works.
    if (!RunServingEvents([&] { uploadFile(params); }, "upload"))
        return false;

    progress.Show(false);
    if (outcome)
        *outcome = BeamOutcome{params.result, params.cancelledOnPage, params.errorCause};
    if (!params.result && !params.errorText.isEmpty())
        ShowErrorMessage(messages, params.errorText);
    return params.result;
}
