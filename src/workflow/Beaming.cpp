// The beam operation.
#include "workflow/Beaming.h"

#include "app/OpResult.h"
#include "app/Trace.h"
#include "workflow/IRingtoneModelOwner.h"
#include "workflow/RingtoneModel.h"
#include "workflow/UploadRunner.h"

namespace {

constexpr int kBeamingTitle = 108; // "Beaming ringtone"

} // namespace

bool beam(CRingtoneModel& model, IRingtoneModelOwner& owner, IBrowser* browser, bool* uploaded) {
    if (uploaded)
        *uploaded = false;
    model.setState(CRingtoneModel::StateBeaming);
    std::unique_ptr<IOpProgress> progress = owner.CreateProgress(kBeamingTitle);
    progress->Show(true);

    const int result = model.extractFile(*progress);
    if (result != OpSuccess) {
        Trace(TRACE_ERROR, "extractFile returned with opresult %d", result);
        progress.reset();
        model.setState(CRingtoneModel::StateIdle);
        return false;
    }
    const bool done = startUploadFile(model, *progress, browser, owner.Messages());
    Trace(TRACE_DEBUG, "startUploadFile returned with %s", done ? "true" : "false");
    if (uploaded)
        *uploaded = done;
    progress.reset();
    model.setState(CRingtoneModel::StateIdle);
    return true;
}
