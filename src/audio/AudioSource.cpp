// The capture sources' grabber set.
#include "audio/AudioSource.h"

void CAudioSource::AddGrabber(IAudioStreamGrabber* grabber, Delivery delivery) {
    std::lock_guard lock(m_lock);
    (delivery == Delivery::Parts ? m_partGrabbers : m_grabbers).insert(grabber);
}

void CAudioSource::RemoveGrabber(IAudioStreamGrabber* grabber) {
    std::lock_guard lock(m_lock);
    m_grabbers.erase(grabber);
    m_partGrabbers.erase(grabber);
}

void CAudioSource::Deliver(const void* data, uint32_t bytes) {
    std::lock_guard lock(m_lock);
    for (IAudioStreamGrabber* grabber : m_grabbers)
        grabber->ProcessBuffer(data, bytes);
}

void CAudioSource::DeliverPart(const void* data, uint32_t bytes) {
    std::lock_guard lock(m_lock);
    for (IAudioStreamGrabber* grabber : m_partGrabbers)
        grabber->ProcessBuffer(data, bytes);
}

bool CAudioSource::HasPartGrabbers() {
    std::lock_guard lock(m_lock);
    return !m_partGrabbers.empty();
}
