#include "WaveProbe.h"

#include <windows.h>
#include <mmsystem.h>

#include <cstdlib>
#include <vector>

namespace {

// Owns one multimedia file handle.
class MmioFile {
public:
    explicit MmioFile(const std::string& path) {
        std::vector<char> name(path.begin(), path.end());
        name.push_back('\0');
        m_handle = mmioOpenA(name.data(), nullptr, MMIO_READ | MMIO_DENYWRITE);
    }
    ~MmioFile() {
        if (m_handle) mmioClose(m_handle, 0);
    }
    MmioFile(const MmioFile&) = delete;
    MmioFile& operator=(const MmioFile&) = delete;

    HMMIO Get() const { return m_handle; }

private:
    HMMIO m_handle = nullptr;
};

}  // namespace

double WaveProbe::Seconds() const {
    if (!blockAlign || !samplesPerSec) return 0;
    return static_cast<double>(dataBytes / blockAlign) / samplesPerSec;
}

bool WaveProbe::IsPcm16() const {
    return hasFormat && hasData && formatTag == WAVE_FORMAT_PCM && bitsPerSample == 16 && channels >= 1 &&
           channels <= 2 && blockAlign == channels * 2;
}

WaveProbe ProbeWave(const std::string& path) {
    WaveProbe probe;
    MmioFile file(path);
    if (!file.Get()) return probe;
    probe.opened = true;

    MMCKINFO riff{};
    riff.fccType = mmioFOURCC('W', 'A', 'V', 'E');
    if (mmioDescend(file.Get(), &riff, nullptr, MMIO_FINDRIFF) != MMSYSERR_NOERROR) return probe;
    probe.riffWave = true;

    MMCKINFO chunk{};
    chunk.ckid = mmioFOURCC('f', 'm', 't', ' ');
    if (mmioDescend(file.Get(), &chunk, &riff, MMIO_FINDCHUNK) != MMSYSERR_NOERROR) return probe;
    PCMWAVEFORMAT format{};
    if (chunk.cksize < sizeof format ||
        mmioRead(file.Get(), reinterpret_cast<HPSTR>(&format), sizeof format) != LONG(sizeof format))
        return probe;
    probe.hasFormat = true;
    probe.formatTag = format.wf.wFormatTag;
    probe.channels = format.wf.nChannels;
    probe.samplesPerSec = format.wf.nSamplesPerSec;
    probe.bitsPerSample = format.wBitsPerSample;
    probe.blockAlign = format.wf.nBlockAlign;
    mmioAscend(file.Get(), &chunk, 0);

    chunk = MMCKINFO{};
    chunk.ckid = mmioFOURCC('d', 'a', 't', 'a');
    if (mmioDescend(file.Get(), &chunk, &riff, MMIO_FINDCHUNK) != MMSYSERR_NOERROR) return probe;
    // Wave files for short sounds; anything near this is not one.
    constexpr DWORD kMaxDataBytes = 16 * 1024 * 1024;
    if (chunk.cksize == 0 || chunk.cksize > kMaxDataBytes) return probe;
    std::vector<char> data(chunk.cksize);
    if (mmioRead(file.Get(), data.data(), LONG(data.size())) != LONG(data.size())) return probe;
    probe.hasData = true;
    probe.dataBytes = chunk.cksize;
    if (probe.bitsPerSample == 16) {
        for (size_t i = 0; i + 1 < data.size(); i += 2) {
            const auto sample = static_cast<short>(static_cast<unsigned char>(data[i]) |
                                                   (static_cast<unsigned char>(data[i + 1]) << 8));
            const int magnitude = std::abs(static_cast<int>(sample));
            if (magnitude > probe.peak) probe.peak = magnitude;
            if (sample == 32767 || sample == -32768) ++probe.fullScaleSamples;
        }
    }
    return probe;
}
