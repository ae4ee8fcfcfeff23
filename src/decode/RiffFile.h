// Reads and writes RIFF files chunk by chunk: find, enter and leave chunks, create them, patch
// sizes.
#pragma once

#include <QString>
#include <cstdint>
#include <cstdio>

// A RIFF file open for reading or for writing. Chunks are found and left as the Windows multimedia
// file calls do it, so that files get the same bytes and the same verdicts.
class CRiffFile {
public:
    // The bookkeeping of one chunk. dataOffset is the file offset of the chunk's body (for a RIFF
    // or LIST chunk: of its form type, which the size field counts).
    struct Chunk {
        uint32_t id = 0;
        uint32_t size = 0;
        uint32_t formType = 0;
        uint32_t dataOffset = 0;
        bool created = false; // made by createChunk: its size is patched when it is left
    };

    // What descend looks for.
    enum class Find {
        Chunk, // a chunk whose id is chunk.id
        Riff,  // a RIFF chunk whose form type is chunk.formType
    };

    // Failures of open, numbered as the multimedia file calls number them.
    enum OpenError : int {
        OpenOk = 0,
        FileNotFound = 257,
        OutOfMemory = 258,
        CannotOpen = 259,
        PathNotFound = 267,
        AccessDenied = 268,
        SharingViolation = 269,
        NetworkError = 270,
        TooManyOpenFiles = 271,
        InvalidFile = 272,
    };

    enum class Mode { Read, Write };

    CRiffFile() = default;
    ~CRiffFile();
    CRiffFile(const CRiffFile&) = delete;
    CRiffFile& operator=(const CRiffFile&) = delete;

    // Opens path for reading, or for writing (created, or truncated when it exists). OpenOk or
    // the OpenError that stands for the system error (kept in systemError).
    int open(const QString& path, Mode mode);
    bool isOpen() const { return m_file != nullptr; }
    // Closes the file; false when the last bytes could not be written (systemError tells why).
    bool close();

    // Reads up to bytes at the current position; the count read (0 at the end), -1 on failure.
    int64_t read(void* buffer, int64_t bytes);
    // Writes bytes at the current position; false unless all were written.
    bool write(const void* data, int64_t bytes);
    // Moves to offset from origin (SEEK_SET, SEEK_CUR, SEEK_END); the new position or -1.
    int64_t seek(int64_t offset, int origin);
    // The current position, -1 when closed.
    int64_t tell() const;

    // Finds, from the current position, the chunk that find asks for and enters it: the position
    // is then its body (for a RIFF chunk: behind its form type), and chunk holds its header.
    // With parent, the search starts within the parent's body and ends at its end. False when not
    // found (the position is back where it was).
    bool descend(Chunk& chunk, const Chunk* parent, Find find);
    // Leaves chunk: a created chunk gets its size set to the bytes written into it (a zero pad
    // byte after an odd size); the position moves behind the chunk. False on a failed write.
    bool ascend(Chunk& chunk);
    // Writes the header of a new chunk (chunk.id and chunk.size; with riff, "RIFF", chunk.size and
    // chunk.formType) at the current position and enters it.
    bool createChunk(Chunk& chunk, bool riff);

    // errno of the last failure, 0 when none.
    int systemError() const { return m_systemError; }

    // The four-character code of text, padded with blanks to four characters.
    static constexpr uint32_t fourCC(const char* text) {
        uint32_t code = 0;
        bool ended = false;
        for (int i = 0; i < 4; ++i) {
            ended = ended || text[i] == '\0';
            code |= uint32_t(ended ? uint8_t(' ') : uint8_t(text[i])) << (8 * i);
        }
        return code;
    }

private:
    bool fail();

    std::FILE* m_file = nullptr;
    int m_systemError = 0;
};
