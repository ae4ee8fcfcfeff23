// The beam operation: the ringtone is extracted, uploaded to the service, and finished by the
// person in the browser.
#pragma once

class CRingtoneModel;
class IBrowser;
class IRingtoneModelOwner;

// Runs a beam of the model's selection with a progress display of the owner (title "Beaming
// ringtone"); the model's state is State::Beaming meanwhile. Failures of the upload are shown
// through the owner's messages. True when the upload stage was reached, false when the
// extraction did not succeed. uploaded, when given, tells whether the upload itself succeeded;
// cancelledOnPage, when given, whether the person ended the transfer on the service's page.
bool beam(CRingtoneModel& model, IRingtoneModelOwner& owner, IBrowser* browser,
          bool* uploaded = nullptr, bool* cancelledOnPage = nullptr);
