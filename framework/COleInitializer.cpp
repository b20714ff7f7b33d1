#include "COleInitializer.h"

#include <ole2.h>

COleInitializer::COleInitializer()
    : m_result(::OleInitialize(nullptr)), m_initialized(SUCCEEDED(m_result)) {}

COleInitializer::~COleInitializer() {
    if (m_initialized) ::OleUninitialize();
}
