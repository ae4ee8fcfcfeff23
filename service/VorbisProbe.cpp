#include "VorbisProbe.h"

#include <algorithm>
#include <cstdio>
#include <vorbis/vorbisfile.h>

namespace {

// The bytes being read, as vorbisfile's data source.
struct MemorySource {
    std::string_view bytes;
    size_t position = 0;
};

size_t ReadMemory(void* buffer, size_t size, size_t count, void* source) {
    auto& memory = *static_cast<MemorySource*>(source);
    if (size == 0)
        return 0;
    const size_t items = std::min(count, (memory.bytes.size() - memory.position) / size);
    std::copy_n(memory.bytes.data() + memory.position, items * size, static_cast<char*>(buffer));
    memory.position += items * size;
    return items;
}

int SeekMemory(void* source, ogg_int64_t offset, int whence) {
    auto& memory = *static_cast<MemorySource*>(source);
    ogg_int64_t base = 0;
    if (whence == SEEK_CUR)
        base = ogg_int64_t(memory.position);
    else if (whence == SEEK_END)
        base = ogg_int64_t(memory.bytes.size());
    else if (whence != SEEK_SET)
        return -1;
    const ogg_int64_t target = base + offset;
    if (target < 0 || target > ogg_int64_t(memory.bytes.size()))
        return -1;
    memory.position = size_t(target);
    return 0;
}

long TellMemory(void* source) {
    return long(static_cast<MemorySource*>(source)->position);
}

std::string OpenError(int code) {
    switch (code) {
    case OV_ENOTVORBIS:
        return "the OGG stream does not hold Vorbis audio";
    case OV_EBADHEADER:
        return "the Vorbis headers are damaged";
    case OV_EVERSION:
        return "the Vorbis version is not supported";
    case OV_EREAD:
        return "the data could not be read";
    default:
        return "the data is not an OGG stream";
    }
}

} // namespace

bool CVorbisProbe::probe(std::string_view bytes, VorbisStreamInfo& info, std::string& reason) {
    if (bytes.substr(0, 4) != "OggS") {
        reason = "the data is not an OGG stream";
        return false;
    }
    MemorySource source{bytes};
    const ov_callbacks callbacks{ReadMemory, SeekMemory, nullptr, TellMemory};
    OggVorbis_File file{};
    if (const int opened = ov_open_callbacks(&source, &file, nullptr, 0, callbacks); opened != 0) {
        reason = OpenError(opened);
        return false;
    }
    const vorbis_info* vi = ov_info(&file, 0);
    info.channels = vi ? vi->channels : 0;
    info.rate = vi ? vi->rate : 0;

    bool sound = info.channels > 0 && info.rate > 0;
    if (!sound)
        reason = "the Vorbis stream has no channels";
    char pcm[16384];
    int section = 0;
    int64_t frames = 0;
    while (sound) {
        const long got = ov_read(&file, pcm, sizeof pcm, 0, 2, 1, &section);
        if (got == 0)
            break;
        if (got < 0) {
            reason = got == OV_HOLE ? "the OGG stream has a gap or a damaged page"
                                    : "the Vorbis audio is damaged";
            sound = false;
            break;
        }
        if (section == 0)
            frames += got / (2 * info.channels);
    }
    ov_clear(&file);
    if (sound && frames == 0) {
        reason = "the Vorbis stream holds no audio";
        sound = false;
    }
    info.frames = frames;
    info.durationMs = sound ? frames * 1000 / info.rate : 0;
    return sound;
}
