// What the model asks of the waveform view: registration, redrawing after a change, stopping play.
#pragma once

class CRingtoneModel;

// The stream view implements it; the model works as well without any view.
class IRingtoneView {
public:
    virtual ~IRingtoneView() = default;

    // The model registers itself once at start-up; the view reads the input and selection from it.
    virtual void SetModel(CRingtoneModel* model) = 0;
    // The input or the selection changed: read them again and redraw.
    virtual void Refresh() = 0;
    // Stops playing the work WAV file, if it plays.
    virtual void StopPlayback() = 0;
};
