// Mutated and oversized description files: the parser neither crashes nor
// loops, its work grows with the file size only, and so does its memory.
#include "AllocationMeter.h"
#include "ClsIniFileParser.h"
#include "IniScanner.h"
#include "TempFolder.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

// A scan reads each byte a few times at most (the name and value loops, the
// line skip and the checks at their ends).
constexpr uint64_t kReadsPerByte = 8;
constexpr uint64_t kReadsSlack = 64;
// The densest file is all empty entries, "a=" CR: 3 bytes make an entry
// object, its name and a slot in a growing array, about 20 bytes per file
// byte on x86_64 with the file buffer itself.
constexpr int64_t kHeapPerByte = 24;
constexpr int64_t kHeapSlack = 4096;

std::string ReadSample() {
    std::ifstream in(orvtest::SourcePath("skins/tests/fixtures/Sample/Skin.Ini"), std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// Names the skin reader would ask for, from the sample and beyond it.
const char* const kSectionNames[] = {"Main", "Buttons", "OrvSearchCtrl", "MessagePanel",
                                     "TreeControl", "OrvTopMenuItem", "NotASection", "S", ""};
const char* const kEntryNames[] = {"SkinName", "BaseSkin", "BordersWidth", "BgColor",
                                   "TextColor", "TextFont", "MainImage", "Width",
                                   "Height", "ClockImage", "FontSize", "LeftBorderWidth", "a", ""};

class CountingSink : public IIniScanSink {
public:
    void OnSection(const char*, uint32_t nameLength) override {
        ++sections;
        EXPECT_GT(nameLength, 0u);
    }
    void OnEntry(const char*, uint32_t nameLength, const char*, uint32_t, bool) override {
        ++entries;
        EXPECT_GT(nameLength, 0u);
    }
    uint64_t sections = 0;
    uint64_t entries = 0;
};

void ExpectLinearScan(const std::string& bytes) {
    IniScanner scanner(bytes.data(), static_cast<uint32_t>(bytes.size()));
    CountingSink sink;
    scanner.Scan(sink);
    EXPECT_LE(scanner.GetBytesExamined(), kReadsPerByte * bytes.size() + kReadsSlack);
    EXPECT_LE(sink.sections + sink.entries, bytes.size());
}

// What every entry that a lookup finds must look like, whatever the file.
void ExpectSoundEntry(const ClsIniFileToken& token, const char* name, size_t fileSize) {
    EXPECT_STREQ(token.GetName(), name);
    ASSERT_NE(token.GetText(), nullptr);
    EXPECT_LE(std::strlen(token.GetText()), fileSize);
    switch (token.GetType()) {
    case ITT_TEXT:
        break;
    case ITT_NUMBER: {
        const std::string text = token.GetText();
        ASSERT_FALSE(text.empty());
        const size_t digits = (text[0] == '-' || text[0] == '+') ? 1 : 0;
        ASSERT_LT(digits, text.size());
        EXPECT_EQ(text.find_first_not_of("0123456789", digits), std::string::npos) << text;
        if (text.size() < 10) {
            EXPECT_EQ(token.GetNumber(), std::atoi(text.c_str())) << text;
        }
        break;
    }
    case ITT_COLOR:
        // The text may hold a NUL among the six digits; the value had 7 bytes.
        EXPECT_EQ(token.GetText()[0], '#');
        EXPECT_EQ(token.GetColor() & 0xFF000000u, 0u);
        break;
    default:
        ADD_FAILURE() << "entry " << name << " has type " << token.GetType();
    }
}

void ExpectSoundParse(const std::string& path, size_t fileSize) {
    AllocationMeter meter;
    {
        ClsIniFileParser ini(path.c_str());
        const int64_t peak = meter.Peak();
        EXPECT_LE(peak, kHeapPerByte * static_cast<int64_t>(fileSize) + kHeapSlack)
            << fileSize << " bytes of file";
        for (const char* sectionName : kSectionNames) {
            ClsIniFileSection* section = ini.FindSection(sectionName);
            if (!section) continue;
            EXPECT_STREQ(section->GetName(), sectionName);
            for (const char* entryName : kEntryNames) {
                if (const ClsIniFileToken* token = section->FindToken(entryName))
                    ExpectSoundEntry(*token, entryName, fileSize);
            }
        }
    }
    EXPECT_EQ(meter.Live(), 0) << "the parser leaked";
}

class Mutator {
public:
    explicit Mutator(uint32_t seed) : m_random(seed) {}

    std::string Mutate(std::string bytes) {
        const int rounds = Pick(1, 4);
        for (int i = 0; i < rounds; ++i) MutateOnce(bytes);
        return bytes;
    }

private:
    int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_random); }
    size_t Position(const std::string& bytes) { return static_cast<size_t>(Pick(0, static_cast<int>(bytes.size()))); }

    void MutateOnce(std::string& bytes) {
        static const char kSpecial[] = {'\r', '\n', '\0', '"', '\'', '[', ']', '=', '#',
                                        ';', '/', ' ', '\t', '-', '+'};
        switch (Pick(0, 7)) {
        case 0:  // truncation
            bytes.resize(Position(bytes));
            break;
        case 1:  // flipped bits
            for (int i = Pick(1, 16); i > 0 && !bytes.empty(); --i)
                bytes[Position(bytes) % bytes.size()] ^= static_cast<char>(1 << Pick(0, 7));
            break;
        case 2:  // bytes that mean something to the scanner
            for (int i = Pick(1, 16); i > 0; --i)
                bytes.insert(Position(bytes), 1, kSpecial[Pick(0, sizeof kSpecial - 1)]);
            break;
        case 3: {  // a range removed
            const size_t from = Position(bytes);
            bytes.erase(from, static_cast<size_t>(Pick(0, 400)));
            break;
        }
        case 4: {  // a range repeated elsewhere
            const size_t from = Position(bytes);
            const std::string copy = bytes.substr(from, static_cast<size_t>(Pick(1, 2000)));
            bytes.insert(Position(bytes), copy);
            break;
        }
        case 5: {  // a very long line, of one byte or of garbage
            const size_t length = static_cast<size_t>(Pick(1000, 200000));
            std::string run(length, kSpecial[Pick(1, sizeof kSpecial - 1)]);
            if (Pick(0, 1)) for (char& ch : run) ch = static_cast<char>(Pick(0, 255));
            for (char& ch : run) if (ch == '\r') ch = 'x';
            bytes.insert(Position(bytes), run);
            break;
        }
        case 6: {  // other line ends
            std::string converted;
            const char* replacement = Pick(0, 1) ? "\n" : "\r";
            for (size_t i = 0; i < bytes.size(); ++i) {
                if (bytes.compare(i, 2, "\r\n") == 0) {
                    converted += replacement;
                    ++i;
                } else {
                    converted += bytes[i];
                }
            }
            bytes.swap(converted);
            break;
        }
        default: {  // random garbage
            std::string garbage(static_cast<size_t>(Pick(1, 5000)), '\0');
            for (char& ch : garbage) ch = static_cast<char>(Pick(0, 255));
            bytes.insert(Position(bytes), garbage);
            break;
        }
        }
    }

    std::mt19937 m_random;
};

}  // namespace

TEST(MutatedFiles, ScansOfMutatedSamplesStayLinear) {
    const std::string sample = ReadSample();
    ASSERT_FALSE(sample.empty());
    Mutator mutator(20240611);
    for (int i = 0; i < 3000; ++i) {
        const std::string bytes = mutator.Mutate(sample);
        SCOPED_TRACE("mutation " + std::to_string(i));
        ExpectLinearScan(bytes);
        if (::testing::Test::HasFailure()) return;
    }
}

TEST(MutatedFiles, ParsingMutatedFilesStaysSoundAndBounded) {
    const std::string sample = ReadSample();
    ASSERT_FALSE(sample.empty());
    TempFolder folder;
    Mutator mutator(77);
    for (int i = 0; i < 300; ++i) {
        const std::string bytes = mutator.Mutate(sample);
        SCOPED_TRACE("mutation " + std::to_string(i));
        ExpectSoundParse(folder.Write("Skin.Ini", bytes), bytes.size());
        if (::testing::Test::HasFailure()) return;
    }
}

TEST(MutatedFiles, HugeAndDegenerateFiles) {
    const std::string sample = ReadSample();
    std::vector<std::pair<std::string, std::string>> files;
    std::string repeated;
    while (repeated.size() < 16u * 1024 * 1024) repeated += sample;
    files.emplace_back("repeated sample", repeated);
    files.emplace_back("one endless value", "[S]\r\nValue = " + std::string(8u * 1024 * 1024, 'x'));
    files.emplace_back("one endless quoted value",
                       "[S]\r\nValue = \"" + std::string(4u * 1024 * 1024, ' '));
    std::string emptyEntries = "[S]\r";
    while (emptyEntries.size() < 4u * 1024 * 1024) emptyEntries += "a=\r";
    files.emplace_back("empty entries", emptyEntries);
    std::string pairs = "[S]\r";
    while (pairs.size() < 4u * 1024 * 1024) pairs += "a=1 ";
    files.emplace_back("pairs on one line", pairs);
    std::string headers;
    while (headers.size() < 4u * 1024 * 1024) headers += "[a]\r";
    files.emplace_back("headers", headers);
    files.emplace_back("open brackets", std::string(4u * 1024 * 1024, '['));
    files.emplace_back("line ends", std::string(4u * 1024 * 1024, '\r'));
    files.emplace_back("line feeds", "[S]\r" + std::string(4u * 1024 * 1024, '\n'));
    files.emplace_back("quotes", "[S]\r" + std::string(4u * 1024 * 1024, '"'));
    files.emplace_back("equals", "[S]\r" + std::string(4u * 1024 * 1024, '='));
    files.emplace_back("nul bytes", "[S]\r" + std::string(4u * 1024 * 1024, '\0'));
    std::string quotedPairs = "[S]\r";
    while (quotedPairs.size() < 4u * 1024 * 1024) quotedPairs += "a=\"x\"=";
    files.emplace_back("quoted pairs", quotedPairs);

    TempFolder folder;
    for (const auto& [name, bytes] : files) {
        SCOPED_TRACE(name);
        ExpectLinearScan(bytes);
        ExpectSoundParse(folder.Write("Skin.Ini", bytes), bytes.size());
    }
}

TEST(MutatedFiles, HugeFilesStillParse) {
    TempFolder folder;
    const std::string value(8u * 1024 * 1024, 'x');
    const std::string path = folder.Write("Skin.Ini", "[S]\r\nValue = " + value + "\r\nNext = 1");
    ClsIniFileParser ini(path.c_str());
    ClsIniFileSection* section = ini.FindSection("S");
    ASSERT_NE(section, nullptr);
    ASSERT_NE(section->FindToken("Value"), nullptr);
    EXPECT_EQ(std::strlen(section->FindToken("Value")->GetText()), value.size());
    ASSERT_NE(section->FindToken("Next"), nullptr);
    EXPECT_EQ(section->FindToken("Next")->GetNumber(), 1);

    std::string many = "[Many]\r\n";
    for (int i = 0; i < 200000; ++i) many += "Key" + std::to_string(i) + " = " + std::to_string(i) + "\r\n";
    ClsIniFileParser manyIni(folder.Write("Many.Ini", many).c_str());
    ClsIniFileSection* manySection = manyIni.FindSection("Many");
    ASSERT_NE(manySection, nullptr);
    ASSERT_NE(manySection->FindToken("Key199999"), nullptr);
    EXPECT_EQ(manySection->FindToken("Key199999")->GetNumber(), 199999);
    EXPECT_EQ(manySection->FindToken("Key0")->GetNumber(), 0);
}
