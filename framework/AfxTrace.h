#pragma once
#include "FrameworkExport.h"

#include <cstddef>

// Tracing of exceptions that are caught and not passed on. Every catch block
// that swallows an exception calls AfxTraceCaughtException, so that what was
// caught, and where, reaches the debugger output (OutputDebugString); a
// catch-all is never silent.

// Writes a description of the exception being handled into text (cut to
// size - 1 characters): the message of a CException (else its class name),
// what() of a std::exception, else "unknown exception". Only meaningful
// inside a catch block; outside one it writes "no exception".
FW_API void AfxDescribeCaughtException(char* text, size_t size) noexcept;

// Inside a catch block: traces "<where>: exception caught: <description>"
// as one line of debugger output. where names the place, e.g.
// "connect: answer operation".
FW_API void AfxTraceCaughtException(const char* where) noexcept;

// How many exceptions AfxTraceCaughtException has traced in the process.
FW_API long AfxGetTracedExceptionCount() noexcept;
