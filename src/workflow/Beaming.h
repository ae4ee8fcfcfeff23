// The beam operation: the ringtone is extracted, uploaded to the service, and finished by the
// person in the browser.
#pragma once

#include "workflow/UploadRunner.h"

class CRingtoneModel;
class IBrowser;
class IRingtoneModelOwner;

// Runs a beam of the model's selection with a progress display of the owner (title "Beaming
// ringtone"); the model's state is State::Beaming meanwhile. Failures of the upload are shown
// through the owner's messages. True when the upload stage was reached, false when the
// extraction did not succeed. outcome, when given, receives how the upload ended.
bool beam(CRingtoneModel& model, IRingtoneModelOwner& owner, IBrowser* browser,
          BeamOutcome* outcome = nullptr);
