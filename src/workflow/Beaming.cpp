// The beam operation.
#include "workflow/Beaming.h"

#include "app/OpResult.h"
#include "app/StringIds.h"
#include "app/Trace.h"
#include "workflow/IRingtoneModelOwner.h"
#include "workflow/RingtoneModel.h"
#include "workflow/UploadRunner.h"

bool beam(CRingtoneModel& model, IRingtoneModelOwner& owner, IBrowser* browser,
          BeamOutcome* outcome) {
    if (outcome)
        *outcome = BeamOutcome();
    model.setState(CRingtoneModel::State::Beaming);
    std::unique_ptr<IOpProgress> progress = owner.CreateProgress(IDS_BEAMING_TITLE);
    progress->Show(true);

    const int result = model.extractFile(*progress);
    if (result != OpSuccess) {
        Trace(TRACE_ERROR, "extractFile returned with opresult %d", result);
        progress.reset();
        model.setState(CRingtoneModel::State::Idle);
        return false;
    }
    const bool done = startUploadFile(model, *progress, browser, owner.Messages(), outcome);
    Trace(TRACE_DEBUG, "startUploadFile returned with %s", done ? "true" : "false");
    progress.reset();
    model.setState(CRingtoneModel::State::Idle);
    return true;
}
