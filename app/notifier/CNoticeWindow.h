#pragma once
// A notice of the cloud: a balloon with a bitmap and the text (its first
// line as the title). It grows in four stages (one every 350 ms), stays at
// full size for 6000 ms, shrinks stage by stage and closes after stage 1.
#include "CNotifyPopup.h"

class CNoticeWindow : public CNotifyPopup {
public:
    static constexpr int kStages = 4;
    static constexpr int kWidth = 264;

    CNoticeWindow(CNotifier& notifier, const NOTIFYREQUEST& request);

    int GetStage() const { return m_stage; }
    bool IsShrinking() const { return m_shrinking; }
    void OnTick(UINT id) override;
    const char* GetRuntimeClassName() const override;

protected:
    SIZE FullSize() override;
    void PaintText(CDC& dc, const RECT& body) override;
    int OnCreate(LPCREATESTRUCTA create) override;

private:
    SIZE StageSize(int stage);

    int m_stage = 1;
    bool m_shrinking = false;
    SIZE m_full{0, 0};
};
