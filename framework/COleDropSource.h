#pragma once
#include "CObject.h"
#include "FrameworkExport.h"

#include <windows.h>
#include <ole2.h>

// The effects of a drop (DROPEFFECT_COPY ...), as the system's drag and
// drop calls pass them.
typedef DWORD DROPEFFECT;

class CWnd;

// The source side of OLE drag and drop: decides when a press becomes a drag
// (OnBeginDrag), runs the drag (DoDragDrop) and answers the system during
// it (QueryContinueDrag, GiveFeedback). A drag runs on the calling thread
// and ends before DoDragDrop returns; OLE must be initialised there.
class FW_API COleDropSource : public CObject {
public:
    COleDropSource();
    ~COleDropSource() override;
    COleDropSource(const COleDropSource&) = delete;
    COleDropSource& operator=(const COleDropSource&) = delete;

    // The framework-wide drag detection: how far (pixels) the pointer must
    // move with the button held, or how long (ms) the button must be held,
    // before a press becomes a drag.
    static UINT GetDragStartDistance();
    static void SetDragStartDistance(UINT pixels);
    static UINT GetDragDelay();
    static void SetDragDelay(UINT milliseconds);

    // Called with the left button down over window: captures the mouse and
    // waits until the pointer leaves startRect (screen coordinates; null:
    // the drag start distance around the pointer) or the drag delay passes
    // with the button held (true: drag), or until the button is released,
    // Escape is pressed or the capture is lost (false: a click). Messages
    // for other windows are dispatched meanwhile.
    virtual BOOL OnBeginDrag(CWnd* window, const RECT* startRect = nullptr);
    // Runs the drag of data with the effects allowed; the effect the target
    // took, DROPEFFECT_NONE when it was cancelled or refused.
    DROPEFFECT DoDragDrop(IDataObject* data, DWORD allowedEffects);

    // Escape cancels, releasing the left button drops, otherwise the drag
    // goes on.
    virtual SCODE QueryContinueDrag(BOOL escapePressed, DWORD keyState);
    // The system's cursors.
    virtual SCODE GiveFeedback(DROPEFFECT effect);

    const char* GetRuntimeClassName() const override;

private:
    // What the system calls during one DoDragDrop; lives inside this object,
    // which outlives the call.
    class Sink : public IDropSource {
    public:
        explicit Sink(COleDropSource& source) : m_source(source) {}
        HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
        ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
        ULONG STDMETHODCALLTYPE Release() override { return 1; }
        HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escapePressed, DWORD keyState) override;
        HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD effect) override;

    private:
        COleDropSource& m_source;
    };
    Sink m_sink;
};
