#include "CNoticeWindow.h"

#include "CNotifier.h"

#include <algorithm>

namespace {
constexpr int kBitmapSize = 40;
constexpr int kGap = 12;
}  // namespace

CNoticeWindow::CNoticeWindow(CNotifier& notifier, const NOTIFYREQUEST& request) : CNotifyPopup(notifier, request) {}

SIZE CNoticeWindow::FullSize() {
    if (m_full.cx == 0) {
        const int textWidth = kWidth - 2 * kPadding - kBitmapSize - kGap;
        const SIZE text = MeasureTitledText(m_request.text, textWidth);
        const int body = std::max<int>(kBitmapSize, text.cy) + 2 * kPadding;
        m_full = {kWidth, body + CBalloonShape::kTailHeight};
    }
    return m_stage >= kStages ? m_full : StageSize(m_stage);
}

SIZE CNoticeWindow::StageSize(int stage) {
    // The body grows from 40 % to its full size; the tail keeps its size.
    const float scale = 0.4f + 0.6f * (stage - 1) / (kStages - 1);
    const int body = m_full.cy - CBalloonShape::kTailHeight;
    return {std::max(2 * kRadius + 2 * CBalloonShape::kTailHalfWidth + 8, static_cast<int>(m_full.cx * scale)),
            std::max(2 * kRadius, static_cast<int>(body * scale)) + CBalloonShape::kTailHeight};
}

int CNoticeWindow::OnCreate(LPCREATESTRUCTA create) {
    const int result = CNotifyPopup::OnCreate(create);
    m_notifier.GetTimers().Start(m_hWnd, CNotifier::kTimerNoticeStage, CNotifier::kStageMs);
    return result;
}

void CNoticeWindow::OnTick(UINT id) {
    CNotifyTimers& timers = m_notifier.GetTimers();
    if (id == CNotifier::kTimerNoticeHold) {
        timers.Stop(m_hWnd, CNotifier::kTimerNoticeHold);
        m_shrinking = true;
        timers.Start(m_hWnd, CNotifier::kTimerNoticeStage, CNotifier::kStageMs);
        return;
    }
    if (id != CNotifier::kTimerNoticeStage) return;
    if (!m_shrinking) {
        ++m_stage;
        if (m_stage >= kStages) {
            m_stage = kStages;
            timers.Stop(m_hWnd, CNotifier::kTimerNoticeStage);
            timers.Start(m_hWnd, CNotifier::kTimerNoticeHold, CNotifier::kNoticeHoldMs);
        }
        Reshape(FullSize());
        return;
    }
    if (m_stage <= 1) {
        timers.Stop(m_hWnd, CNotifier::kTimerNoticeStage);
        m_notifier.OnPopupDone(this);
        return;
    }
    --m_stage;
    Reshape(FullSize());
}

void CNoticeWindow::PaintText(CDC& dc, const RECT& body) {
    // The content shows once the balloon has its full size.
    if (m_stage < kStages) return;
    const int height = body.bottom - body.top;
    DrawBitmap(dc, m_request.param ? m_request.param : CNotifier::kBitmapOnline, body.left + kPadding,
               body.top + (height - kBitmapSize) / 2);
    const int textLeft = body.left + kPadding + kBitmapSize + kGap;
    const SIZE text = MeasureTitledText(m_request.text, body.right - kPadding - textLeft);
    RECT area{textLeft, body.top + std::max<int>(kPadding, (height - text.cy) / 2), body.right - kPadding,
              body.bottom - kPadding / 2};
    DrawTitledText(dc, m_request.text, area);
}

const char* CNoticeWindow::GetRuntimeClassName() const { return "CNoticeWindow"; }
