#pragma once
// Reads a wave file the way the system's sound functions do (the multimedia
// file functions, RIFF chunk by chunk) and reports what a player would get.
#include <string>

struct WaveProbe {
    bool opened = false;      // mmioOpen took the file
    bool riffWave = false;    // a RIFF chunk of form WAVE
    bool hasFormat = false;   // a complete "fmt " chunk
    bool hasData = false;     // a "data" chunk whose samples could be read
    unsigned formatTag = 0;   // WAVE_FORMAT_PCM for plain PCM
    unsigned channels = 0;
    unsigned samplesPerSec = 0;
    unsigned bitsPerSample = 0;
    unsigned blockAlign = 0;
    unsigned dataBytes = 0;
    // Largest sample magnitude of 16-bit data, and how many samples sit at
    // full scale (-32768 or 32767), which means clipping.
    int peak = 0;
    unsigned fullScaleSamples = 0;

    double Seconds() const;
    // Plain 16-bit PCM that any wave device takes.
    bool IsPcm16() const;
};

WaveProbe ProbeWave(const std::string& path);
