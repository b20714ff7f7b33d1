// The themes the build ships (bin/Sounds, made from assets/Sounds), read as
// the program reads them: from "<program directory>Sounds\". Every event the
// program plays must have a short, clean wave the system can play.
#include "OrvSoundReader.h"
#include "OrvSoundSource.h"
#include "WaveProbe.h"

#include <windows.h>
#include <mmsystem.h>

#include <gtest/gtest.h>

#include <string>

namespace {

// The events of the contact-tree, and those offered for chat and presence.
const char* const kTreeEvents[] = {"PageSelect", "ActionSqueeze", "ActionSelect"};
const char* const kShippedEvents[] = {"PageSelect",     "ActionSqueeze", "ActionSelect",
                                      "MessageArrived", "ContactOnline", "ChatInvitation"};
const char* const kShippedThemas[] = {"Calm", "Crisp"};

// Up to and including the last separator of the running program's path.
std::string ProgramDirectory() {
    char path[1000] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string directory = path;
    return directory.substr(0, directory.find_last_of("\\/") + 1);
}

bool StartsWithNoCase(const CString& text, const CString& prefix) {
    return text.GetLength() >= prefix.GetLength() && text.Left(prefix.GetLength()).CompareNoCase(prefix) == 0;
}

bool IsFile(const char* path) {
    const DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

class ShippedThemes : public ::testing::Test {
protected:
    ShippedThemes() : m_base(ProgramDirectory() + "Sounds\\"), m_reader(m_base.c_str()) {}

    // Every wave file the shipped themes name, with its theme and event.
    template <typename Visit>
    void ForEachWave(Visit visit) {
        for (const char* dir : kShippedThemas) {
            const OrvSoundThema* thema = m_reader.GetThemaByDir(dir);
            ASSERT_NE(thema, nullptr) << dir;
            for (const char* event : kShippedEvents) visit(*thema, event, thema->GetSoundFile(event));
        }
    }

    std::string m_base;
    OrvSoundReader m_reader;
};

}  // namespace

TEST_F(ShippedThemes, BothThemesAreInstalledAndTheFirstIsCurrent) {
    EXPECT_STREQ(m_reader.GetSoundBase(), m_base.c_str());
    ASSERT_EQ(m_reader.GetThemaCount(), 2);
    EXPECT_STREQ(m_reader.GetThemaDir(0), "Calm");
    EXPECT_STREQ(m_reader.GetThemaDir(1), "Crisp");
    EXPECT_STREQ(m_reader.GetSoundDir(), "Calm");
    for (const char* dir : kShippedThemas) {
        const OrvSoundThema* thema = m_reader.GetThemaByDir(dir);
        ASSERT_NE(thema, nullptr) << dir;
        EXPECT_STREQ(thema->GetDirectory(), dir);
        EXPECT_STREQ(thema->GetName(), dir);
        EXPECT_EQ(thema->GetFolder(), CString(m_base.c_str()) + dir + "\\");
    }
}

TEST_F(ShippedThemes, EveryThemeListsEveryEventWithAFileInItsOwnFolder) {
    for (const char* dir : kShippedThemas) {
        const OrvSoundThema* thema = m_reader.GetThemaByDir(dir);
        ASSERT_NE(thema, nullptr) << dir;
        ASSERT_EQ(thema->GetEventCount(), int(std::size(kShippedEvents))) << dir;
        for (int i = 0; i < thema->GetEventCount(); ++i) EXPECT_STREQ(thema->GetEventName(i), kShippedEvents[i]);
    }
    ForEachWave([](const OrvSoundThema& thema, const char* event, const CString& file) {
        EXPECT_TRUE(StartsWithNoCase(file, thema.GetFolder())) << event << ": " << file;
        EXPECT_EQ(file.Find(".."), -1) << file;
        EXPECT_TRUE(IsFile(file)) << file;
    });
}

TEST_F(ShippedThemes, EveryWaveIsShortUnclippedNormalisedSixteenBitPcm) {
    ForEachWave([](const OrvSoundThema&, const char* event, const CString& file) {
        const WaveProbe wave = ProbeWave(file.GetString());
        ASSERT_TRUE(wave.opened && wave.riffWave && wave.hasFormat && wave.hasData) << file;
        EXPECT_TRUE(wave.IsPcm16()) << file;
        EXPECT_EQ(wave.channels, 1u) << file;
        EXPECT_EQ(wave.samplesPerSec, 44100u) << file;
        // Short enough not to trail behind the animation it goes with.
        EXPECT_GT(wave.Seconds(), 0.03) << file;
        EXPECT_LT(wave.Seconds(), 0.6) << file;
        // Normalised with headroom: loud enough to hear, never at full scale.
        EXPECT_EQ(wave.fullScaleSamples, 0u) << file;
        EXPECT_LT(wave.peak, 32767 * 95 / 100) << file;
        EXPECT_GT(wave.peak, 32767 / 2) << event << " of " << file << " is too quiet";
    });
}

TEST_F(ShippedThemes, TheThemesSoundDifferent) {
    for (const char* event : kShippedEvents) {
        const WaveProbe calm = ProbeWave(m_reader.GetThemaByDir("Calm")->GetSoundFile(event).GetString());
        const WaveProbe crisp = ProbeWave(m_reader.GetThemaByDir("Crisp")->GetSoundFile(event).GetString());
        EXPECT_FALSE(calm.dataBytes == crisp.dataBytes && calm.peak == crisp.peak) << event;
    }
}

// The tests run with a silent wave output of their own (alsa-null.conf), so
// the system's wave functions really open and play every file.
TEST_F(ShippedThemes, TheWaveOutputTakesEveryFormat) {
    ASSERT_GT(waveOutGetNumDevs(), 0u) << "no wave output: is ALSA_CONFIG_PATH set to alsa-null.conf?";
    ForEachWave([](const OrvSoundThema&, const char*, const CString& file) {
        const WaveProbe wave = ProbeWave(file.GetString());
        WAVEFORMATEX format{};
        format.wFormatTag = static_cast<WORD>(wave.formatTag);
        format.nChannels = static_cast<WORD>(wave.channels);
        format.nSamplesPerSec = wave.samplesPerSec;
        format.wBitsPerSample = static_cast<WORD>(wave.bitsPerSample);
        format.nBlockAlign = static_cast<WORD>(wave.blockAlign);
        format.nAvgBytesPerSec = wave.samplesPerSec * wave.blockAlign;
        EXPECT_EQ(waveOutOpen(nullptr, WAVE_MAPPER, &format, 0, 0, WAVE_FORMAT_QUERY), MMSYSERR_NOERROR) << file;
    });
}

// As the sounds dialog plays them: synchronously, by file name.
TEST_F(ShippedThemes, EveryWavePlaysToTheEnd) {
    ForEachWave([](const OrvSoundThema&, const char*, const CString& file) {
        EXPECT_TRUE(PlaySoundA(file, nullptr, SND_FILENAME | SND_NODEFAULT | SND_SYNC)) << file;
    });
}

// The tree plays each event by file name, asynchronously, without a default
// sound and without cutting a sound that still plays.
TEST_F(ShippedThemes, PlayingAsTheTreeDoesStartsEveryTreeSound) {
    constexpr DWORD kTreeFlags = SND_FILENAME | SND_NODEFAULT | SND_ASYNC | SND_NOSTOP;
    for (const char* dir : kShippedThemas) {
        ASSERT_TRUE(m_reader.SetSoundDir(dir));
        for (const char* event : kTreeEvents) {
            const CString file = m_reader.GetSoundFile(event);
            ASSERT_FALSE(file.IsEmpty()) << event;
            PlaySoundA(nullptr, nullptr, 0);
            EXPECT_TRUE(PlaySoundA(file, nullptr, kTreeFlags)) << file;
        }
    }
    EXPECT_TRUE(PlaySoundA(nullptr, nullptr, 0));
}

// An event without a file answers "", and a damaged wave stays silent: with
// no default sound asked for, nothing plays in place of either.
TEST_F(ShippedThemes, NothingPlaysWithoutAGoodFile) {
    constexpr DWORD kFlags = SND_FILENAME | SND_NODEFAULT | SND_SYNC;
    const CString none = m_reader.GetSoundFile("NoSuchEvent");
    ASSERT_TRUE(none.IsEmpty());
    EXPECT_FALSE(PlaySoundA(none, nullptr, kFlags));
    EXPECT_FALSE(PlaySoundA((m_base + "Calm\\Missing.wav").c_str(), nullptr, kFlags));
    EXPECT_FALSE(PlaySoundA((m_base + "Calm\\Theme.txt").c_str(), nullptr, kFlags));
}

TEST_F(ShippedThemes, SwitchingThemesSwitchesEveryEventsFile) {
    ASSERT_TRUE(m_reader.SetSoundDir("Crisp"));
    EXPECT_STREQ(m_reader.GetSoundDir(), "Crisp");
    const CString crisp = m_reader.GetThemaByDir("Crisp")->GetFolder();
    for (const char* event : kShippedEvents) {
        EXPECT_TRUE(StartsWithNoCase(m_reader.GetSoundFile(event), crisp)) << event;
        EXPECT_EQ(m_reader.GetSoundThema(event), m_reader.GetSoundFile(event)) << event;
    }
    ASSERT_TRUE(m_reader.SetSoundDir("calm"));
    EXPECT_STREQ(m_reader.GetSoundDir(), "Calm");
    const CString calm = m_reader.GetThemaByDir("Calm")->GetFolder();
    for (const char* event : kShippedEvents) EXPECT_TRUE(StartsWithNoCase(m_reader.GetSoundFile(event), calm)) << event;
    EXPECT_FALSE(m_reader.SetSoundDir("Loud"));
    EXPECT_STREQ(m_reader.GetSoundDir(), "Calm");
    EXPECT_STREQ(m_reader.GetSoundFile("NoSuchEvent"), "");
    EXPECT_STREQ(m_reader.GetSoundFile(nullptr), "");
}

// The main window's start: the stored directory first, then the themes are
// read, then the reader goes to the tree as its sound source.
TEST_F(ShippedThemes, TheStoredThemeSurvivesReadingTheThemesAgain) {
    ASSERT_TRUE(m_reader.SetSoundDir("Crisp"));
    EXPECT_EQ(m_reader.ReadThemas(), 2);
    EXPECT_STREQ(m_reader.GetSoundDir(), "Crisp");
    // The full path of the theme folder names the same theme.
    ASSERT_TRUE(m_reader.SetSoundDir((m_base + "Calm\\").c_str()));
    EXPECT_STREQ(m_reader.GetSoundDir(), "Calm");
}

// The tree keeps the object it is given as a pointer without type and calls
// it as its sound source: that must be the same object, the same answers.
TEST_F(ShippedThemes, TheTreeReachesTheReaderThroughItsSoundSource) {
    void* advised = &m_reader;
    const auto* source = static_cast<const OrvSoundSource*>(advised);
    EXPECT_EQ(static_cast<const void*>(static_cast<const OrvSoundSource*>(&m_reader)), advised);
    for (const char* dir : kShippedThemas) {
        ASSERT_TRUE(m_reader.SetSoundDir(dir));
        for (const char* event : kTreeEvents) {
            const CString file = source->GetSoundFile(event);
            EXPECT_FALSE(file.IsEmpty()) << event;
            EXPECT_EQ(file, m_reader.GetSoundThema(event)) << event;
        }
    }
}

// What the sounds dialog does: list the themes, try each, play its first
// event, and on Cancel go back to the theme it started with.
TEST_F(ShippedThemes, TryingEveryThemeAndCancellingRestoresTheStartingOne) {
    const CString starting = m_reader.GetSoundDir();
    ASSERT_STREQ(starting, "Calm");
    for (int i = 0; i < m_reader.GetThemaCount(); ++i) {
        const CString dir = m_reader.GetThemaDir(i);
        const OrvSoundThema* thema = m_reader.GetThemaByDir(dir);
        ASSERT_NE(thema, nullptr) << dir;
        ASSERT_TRUE(m_reader.SetSoundDir(dir));
        ASSERT_GT(thema->GetEventCount(), 0);
        const CString first = m_reader.GetSoundThema(thema->GetEventName(0));
        EXPECT_EQ(first, thema->GetSoundFile(thema->GetEventName(0)));
        EXPECT_TRUE(ProbeWave(first.GetString()).IsPcm16()) << first;
    }
    EXPECT_STREQ(m_reader.GetSoundDir(), "Crisp");  // the last one tried
    ASSERT_TRUE(m_reader.SetSoundDir(starting));
    EXPECT_STREQ(m_reader.GetSoundDir(), "Calm");
    EXPECT_TRUE(StartsWithNoCase(m_reader.GetSoundFile("PageSelect"), m_reader.GetThemaByDir("Calm")->GetFolder()));
}
