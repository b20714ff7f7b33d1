#pragma once
#include "OrvRegistryTypes.h"
#include "RegistryExport.h"

#include "CString.h"

// The main window's saved state as the program keeps it in memory; stored
// through OrvRegistry::SetState as an ORVSTATEDATA.
class ORVREG_API OrvState {
public:
    OrvState() = default;
    OrvState(const OrvState& other) = default;
    OrvState& operator=(const OrvState& other) = default;
    virtual ~OrvState();

    // Copies the seven values and the text up to its NUL (at most 23 characters).
    void SetData(ORVSTATEDATA data);
    // A record cleared to zero, then filled with the seven values and the text.
    ORVSTATEDATA GetData() const;

    unsigned long GetValue() const { return m_value; }
    void SetValue(unsigned long value) { m_value = value; }
    unsigned long GetSplitterPos() const { return m_splitterPos; }
    void SetSplitterPos(unsigned long pos) { m_splitterPos = pos; }
    unsigned long GetWindowMode() const { return m_windowMode; }
    void SetWindowMode(unsigned long mode) { m_windowMode = mode; }
    RECT GetWindowRect() const;
    void SetWindowRect(const RECT& rect);
    const CString& GetText() const { return m_text; }
    void SetText(const CString& text) { m_text = text; }

private:
    unsigned long m_value = 0;
    unsigned long m_splitterPos = 0;
    unsigned long m_windowMode = 1;
    unsigned long m_left = 0;
    unsigned long m_top = 0;
    unsigned long m_right = 0;
    unsigned long m_bottom = 0;
    CString m_text;
};
