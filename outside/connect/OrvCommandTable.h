#pragma once
// Per command: its wire path and the shape of its answer.

// What an answer carries besides its string and integer members.
enum OrvAnswerShape_e {
    ORV_SHAPE_PLAIN,    // strings (and integers) only
    ORV_SHAPE_RECORDS,  // "records": an array of contact records
    ORV_SHAPE_PATHS,    // "paths": an array of arrays of contact records
};

struct OrvCommandSpec_t {
    int id;                       // ORVCMD_...
    const char* path;             // under /api/v1/
    const char* const* request;   // request members, in argument order, null-terminated
    const char* const* text;      // string members of the answer, in argument order
    const char* const* numbers;   // integer members of the answer, in argument order
    OrvAnswerShape_e shape;
};

// What the table knows of a command id; null for an unknown id.
const OrvCommandSpec_t* OrvFindCommand(int id);
