// The capture sources' grabber set.
#include "audio/AudioSource.h"

void CAudioSource::AddGrabber(IAudioStreamGrabber* grabber) {
    std::lock_guard lock(m_lock);
    m_grabbers.insert(grabber);
}

void CAudioSource::RemoveGrabber(IAudioStreamGrabber* grabber) {
    std::lock_guard lock(m_lock);
    m_grabbers.erase(grabber);
}

void CAudioSource::Deliver(const void* data, uint32_t bytes) {
    std::lock_guard lock(m_lock);
    for (IAudioStreamGrabber* grabber : m_grabbers)
        grabber->ProcessBuffer(data, bytes);
}
