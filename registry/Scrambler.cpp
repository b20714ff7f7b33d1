#include "Scrambler.h"

namespace orvreg {

namespace {

void XorStream(uint8_t* bytes, size_t count, uint8_t seed) {
    uint8_t state = seed;
    for (size_t i = 0; i < count; ++i) bytes[i] ^= NextScrambleByte(state);
}

uint8_t* Bytes(ORVREGISTRYDATA& record) { return reinterpret_cast<uint8_t*>(&record); }

// 50 bytes of the e-mail field and 20 of the password field: the characters,
// not their final NUL slots.
void XorEmail(ORVREGISTRYDATA& record) {
    XorStream(Bytes(record) + offsetof(ORVREGISTRYDATA, email), 50, kEmailSeed);
}
void XorPassword(ORVREGISTRYDATA& record) {
    XorStream(Bytes(record) + offsetof(ORVREGISTRYDATA, serkey), 20, kPasswordSeed);
}
void XorWhole(ORVREGISTRYDATA& record) {
    XorStream(Bytes(record), sizeof(ORVREGISTRYDATA), kRecordSeed);
}

}  // namespace

void ScrambleRecord(ORVREGISTRYDATA& record) {
    XorEmail(record);
    XorPassword(record);
    XorWhole(record);
}

void UnscrambleRecord(ORVREGISTRYDATA& record) {
    XorWhole(record);
    XorEmail(record);
    XorPassword(record);
}

}  // namespace orvreg
