#pragma once
// The reversible scrambling of the stored account record: three byte streams,
// each a one-byte state rotated left by 3 bits per step, XORed over the
// e-mail field, the password field and then the whole record.
#include "OrvRegistryTypes.h"

namespace orvreg {

// The next yield of a generator: its state rotated left by 3 bits.
inline uint8_t NextScrambleByte(uint8_t& state) {
    state = static_cast<uint8_t>((state << 3) | (state >> 5));
    return state;
}

// Seeds of the three generators.
constexpr uint8_t kEmailSeed = 0x4B;
constexpr uint8_t kPasswordSeed = 0xA7;
constexpr uint8_t kRecordSeed = 0x3D;

void ScrambleRecord(ORVREGISTRYDATA& record);
void UnscrambleRecord(ORVREGISTRYDATA& record);

}  // namespace orvreg
