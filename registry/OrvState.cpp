#include "OrvState.h"

#include "FixedText.h"

#include <cstring>

OrvState::~OrvState() = default;

void OrvState::SetData(ORVSTATEDATA data) {
    m_value = data.value;
    m_splitterPos = data.splitterPos;
    m_windowMode = data.windowMode;
    m_left = static_cast<uint32_t>(data.left);
    m_top = static_cast<uint32_t>(data.top);
    m_right = static_cast<uint32_t>(data.right);
    m_bottom = static_cast<uint32_t>(data.bottom);
    // A record without a NUL in its text (damaged) ends at the field's end.
    m_text = CString(data.text, static_cast<int>(strnlen(data.text, sizeof data.text - 1)));
}

ORVSTATEDATA OrvState::GetData() const {
    ORVSTATEDATA data;
    std::memset(&data, 0, sizeof data);
    data.value = static_cast<uint32_t>(m_value);
    data.splitterPos = static_cast<uint32_t>(m_splitterPos);
    data.windowMode = static_cast<uint32_t>(m_windowMode);
    data.left = static_cast<int32_t>(m_left);
    data.top = static_cast<int32_t>(m_top);
    data.right = static_cast<int32_t>(m_right);
    data.bottom = static_cast<int32_t>(m_bottom);
    orvreg::StoreFixedText(data.text, m_text);
    return data;
}

RECT OrvState::GetWindowRect() const {
    return RECT{static_cast<LONG>(static_cast<int32_t>(m_left)),
                static_cast<LONG>(static_cast<int32_t>(m_top)),
                static_cast<LONG>(static_cast<int32_t>(m_right)),
                static_cast<LONG>(static_cast<int32_t>(m_bottom))};
}

void OrvState::SetWindowRect(const RECT& rect) {
    m_left = static_cast<uint32_t>(rect.left);
    m_top = static_cast<uint32_t>(rect.top);
    m_right = static_cast<uint32_t>(rect.right);
    m_bottom = static_cast<uint32_t>(rect.bottom);
}
