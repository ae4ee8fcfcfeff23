// The CD-audio library: drive list, table of contents and audio frames through handle calls.
#include "platform/cdaudio/CdAudio.h"

#include "platform/cdaudio/CdDevice.h"
#include "platform/cdaudio/CdDriveSource.h"
#include "platform/cdaudio/CdTrace.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>

#ifdef QUILLET_WITH_CDIO
#include <cdio/version.h>
#endif

namespace {
// The open drives by handle, as the library keeps them between its calls. A call holds its own
// reference, so a handle closed meanwhile by another thread stays valid until the call ends.
std::mutex g_devicesLock;
std::map<HCDROM, std::shared_ptr<CCdDevice>> g_devices;
HCDROM g_lastHandle = 0;

std::shared_ptr<CCdDevice> Device(HCDROM handle) {
    const std::lock_guard<std::mutex> lock(g_devicesLock);
    const auto found = g_devices.find(handle);
    return found == g_devices.end() ? nullptr : found->second;
}

std::shared_ptr<CCdDevice> DeviceOrTrace(HCDROM handle, const char* call) {
    std::shared_ptr<CCdDevice> device = Device(handle);
    if (!device)
        CdTrace("%s: unknown handle %u", call, handle);
    return device;
}
} // namespace

int GetCDList(CDLIST* list) {
    if (!list)
        return 0;
    CdTraceInstallLogHandler();
    const int room = std::min<int>(list->max, kCdMaxDrives);
    list->num = 0;
#ifdef QUILLET_WITH_CDIO
    const std::vector<CCdDriveSource> drives = CCdDriveSource::listAll();
    for (const CCdDriveSource& drive : drives) {
        if (list->num >= room)
            break;
        drive.fillRecord(list->cd[list->num++]);
    }
    CdTrace("GetCDList: %d drives found, %d listed", int(drives.size()), int(list->num));
    return 1;
#else
    (void)room;
    CdTrace("GetCDList: this build has no CD access");
    return 0;
#endif
}

HCDROM GetCDHandle(const GETCDHAND* params) {
    if (!params || params->size != sizeof(GETCDHAND) || params->ver != 1) {
        CdTrace("GetCDHandle: unknown open parameters");
        return 0;
    }
    const std::optional<CCdDriveSource> source =
        CCdDriveSource::find(params->ha, params->tgt, params->lun);
    if (!source) {
        CdTrace("GetCDHandle: no drive at %d:%d:%d", params->ha, params->tgt, params->lun);
        return 0;
    }
    std::shared_ptr<CCdDevice> device = CCdDevice::open(*source, *params);
    if (!device)
        return 0;
    const std::lock_guard<std::mutex> lock(g_devicesLock);
    do
        ++g_lastHandle;
    while (g_lastHandle == 0 || g_devices.count(g_lastHandle));
    g_devices[g_lastHandle] = std::move(device);
    return g_lastHandle;
}

int ModifyCDParms(HCDROM handle, uint32_t which, uint32_t value) {
    const std::shared_ptr<CCdDevice> device = DeviceOrTrace(handle, "ModifyCDParms");
    if (!device)
        return 0;
    if (which != kCdParamTocMsf) {
        CdTrace("ModifyCDParms: unknown parameter 0x%x", which);
        return 0;
    }
    device->setTocMsf(value != 0);
    return 1;
}

int ReadTOC(HCDROM handle, CDTOC* toc) {
    const std::shared_ptr<CCdDevice> device = DeviceOrTrace(handle, "ReadTOC");
    return device && toc && device->readToc(*toc) ? 1 : 0;
}

int ReadCDAudioLBA(HCDROM handle, TRACKBUF* buffer) {
    const std::shared_ptr<CCdDevice> device = DeviceOrTrace(handle, "ReadCDAudioLBA");
    return device && buffer && device->readFrames(*buffer) ? 1 : 0;
}

int ReadCDAudioLBAEx(HCDROM handle, TRACKBUF* buffer, TRACKBUF* overlap) {
    const std::shared_ptr<CCdDevice> device = DeviceOrTrace(handle, "ReadCDAudioLBAEx");
    return device && buffer && overlap && device->readFramesVerified(*buffer, *overlap) ? 1 : 0;
}

int CloseCDHandle(HCDROM handle) {
    std::shared_ptr<CCdDevice> device;
    {
        const std::lock_guard<std::mutex> lock(g_devicesLock);
        const auto found = g_devices.find(handle);
        if (found == g_devices.end())
            return 0;
        device = std::move(found->second);
        g_devices.erase(found);
    }
    return 1;
}

void SetAKRipTraceFunc(AKRIPTRACEFUNC function) {
    CdTraceInstallLogHandler();
    CdTraceSetFunction(function);
}

uint32_t GetASPI32DLLVersion() {
#ifdef QUILLET_WITH_CDIO
    const uint32_t major = libcdio_version_num / 10000;
    const uint32_t minor = libcdio_version_num / 100 % 100;
    return (major & 0xFF) | (minor << 8);
#else
    return 0;
#endif
}
