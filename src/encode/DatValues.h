// Reads time ranges of the visualization file back for the waveform view, caching the last one.
#pragma once

#include <QString>
#include <cstdint>
#include <vector>

// The visualization values of the current input: one signed byte per 10 ms. The model owns one
// and points it at the input's ".dat" file; the view asks it for the values of a time range.
class CDatValues {
public:
    // Values one request can return: ranges of 1000 s or more are not served.
    static constexpr uint32_t kCapacity = 100000;
    static constexpr double kMillisecondsPerValue = 10.0;

    CDatValues();

    // Serves datFileName for an input totalLength milliseconds long and forgets the cached range.
    void setSource(const QString& datFileName, int64_t totalLength);
    const QString& getFileName() const { return m_fileName; }

    // The values from start to end (milliseconds): value i stands for start + 10 ms * i, times
    // before 0 and past the input's end read as 0. count is set to the values that are valid
    // (0 on any failure, which is traced); the count stops at the end of the input. A repeated
    // request for the same range is answered without touching the file. Never throws.
    const int8_t* getDatValues(int64_t start, int64_t end, uint32_t& count);

private:
    // Reads the file into the buffer for the range; the count of valid values.
    uint32_t readRange(int handle, int64_t start, int64_t end);

    QString m_fileName;
    int64_t m_totalLength = 0;
    int64_t m_cachedStart = 0;
    int64_t m_cachedEnd = 0;
    uint32_t m_cachedCount = 0;
    std::vector<int8_t> m_values;
};
