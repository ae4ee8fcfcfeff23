// The base of the capture sources: the consumers (grabbers) that every captured buffer goes to.
#pragma once

#include "audio/AudioStreamGrabber.h"

#include <cstdint>
#include <mutex>
#include <set>

// Grabbers are not owned and are registered at most once. Delivery and registration share one
// lock, so a grabber removed by RemoveGrabber receives nothing after the call returns.
class CAudioSource {
public:
    // How a grabber takes the sound: in whole capture buffers (the recorder), or in the parts
    // that make up a buffer, each as soon as the card has delivered it (the level displays, which
    // have to keep up with the sound).
    enum class Delivery { WholeBuffers, Parts };

    CAudioSource() = default;
    virtual ~CAudioSource() = default;
    CAudioSource(const CAudioSource&) = delete;
    CAudioSource& operator=(const CAudioSource&) = delete;

    // Registers grabber for every later buffer (or part of one).
    virtual void AddGrabber(IAudioStreamGrabber* grabber,
                            Delivery delivery = Delivery::WholeBuffers);
    // Unregisters grabber; waits for a delivery in progress to end.
    virtual void RemoveGrabber(IAudioStreamGrabber* grabber);

protected:
    // Hands bytes to every registered grabber in set order, under the lock.
    void Deliver(const void* data, uint32_t bytes);
    // Hands a part of a buffer to every grabber that takes parts, under the lock.
    void DeliverPart(const void* data, uint32_t bytes);
    // Whether a grabber takes parts.
    bool HasPartGrabbers();

private:
    std::mutex m_lock;
    std::set<IAudioStreamGrabber*> m_grabbers;
    std::set<IAudioStreamGrabber*> m_partGrabbers;
};
