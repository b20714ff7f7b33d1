#pragma once
// A waiting dialog of the session start (resources 131, 132, 143 and 159):
// a text and Cancel, shown while one request is out. The answer ends it
// with the private message 3024 (lParam: the result); Cancel ends it with 3.
// Either way the dialog posts "WM_OrvCloseDialog" with the result to
// itself, which ends the frame's wait loop.
#include "CSDialog.h"

#include "CDialog.h"
#include "CString.h"

class OrvWaitDialog : public CDialog {
public:
    enum : int { kResultCancel = 3 };

    explicit OrvWaitDialog(UINT templateId);
    ~OrvWaitDialog() override;

    // Makes the (hidden) dialog; false when the resource is missing.
    bool Create(CWnd* parent);
    UINT GetTemplateId() const { return m_templateId; }
    // The answer code the verification keeps for the session start.
    void SetCode(const CString& code) { m_code = code; }
    const CString& GetCode() const { return m_code; }

protected:
    BOOL OnInitDialog() override;
    void OnCancel() override;
    void OnOK() override;
    bool OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

private:
    void Finish(int result);

    UINT m_templateId;
    CString m_code;
    CSDialog m_skin;
    bool m_finished = false;
};
