#pragma once
// A single-line edit in a frame drawn from the skin's Edits record, in its
// colours and font. Enter goes to the parent; a contact dropped on it goes
// to the parent naming this edit.
#include "COrvDropTarget.h"
#include "ControlsExport.h"
#include "EditSkinInfo.h"
#include "IClsSkinnedEdit.h"

#include "CBrush.h"
#include "CEdit.h"
#include "CFont.h"

#include <windows.h>

// The record lives in the host control; the edit borrows it and follows a
// skin change (CSkin::WM_SKIN_CHANGED, or SetSkinInfo / SetPos from the
// host) at once: place, frame, colours and font.
//
// The parent answers for the edit: ORV_WM_QUERY_DROP (0x8DAD) arrives with
// the edit (CSkinnedEdit*) as second parameter and its answer is the
// edit's; ORV_WM_CONTACT_DROPPED (0x8DAE) with the edit as first and the
// contact as second parameter. Enter arrives as WM_KEYDOWN, WM_CHAR and
// WM_KEYUP with key 13. The colours come through the parent's reflected
// colour request, so the parent is a framework window.
class CTL_API CSkinnedEdit : public CEdit {
public:
    CSkinnedEdit();
    // Makes the window at once (Create).
    CSkinnedEdit(CWnd* parent, UINT id, EditSkinInfo_t* skin = nullptr);
    ~CSkinnedEdit() override;

    using CEdit::Create;
    // A visible, sibling-clipping edit in the tab order, scrolling its text
    // sideways, at the record's place; registers its drop target (when OLE
    // is initialised on the thread).
    bool Create(CWnd* parent, UINT id);

    EditSkinInfo_t* GetSkinInfo() const { return m_skin; }
    // Takes the record and applies it (place, frame, font, colours).
    void SetSkinInfo(EditSkinInfo_t* skin);
    IClsSkinnedEdit* GetCallBack() const { return m_callBack; }
    void SetCallBack(IClsSkinnedEdit* callBack) { m_callBack = callBack; }
    COrvDropTarget& GetDropTarget() { return m_dropTarget; }

    // Moves the window to the record's place (no z-order change) through
    // batch when given, and has the frame computed again; returns the batch.
    HDWP SetPos(HDWP batch);
    // Draws the frame into dc (the edit's whole-window context) and the
    // text again; without dc, into the window at once.
    void RePaint(CDC* dc = nullptr);

    const char* GetRuntimeClassName() const override;

protected:
    // The styles of the window; the memo's are its own.
    virtual DWORD WindowStyle() const;
    // True: Enter goes to the parent (a single line has no use for it).
    virtual bool ForwardsEnter() const { return true; }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // The reflected colour requests.
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

private:
    const SkinBorderInfo_t* Cells() const { return m_skin ? m_skin->Skin : nullptr; }
    void PaintFrame(HDC dc);
    // The system greys a disabled edit's text in its own colour: the edit
    // draws it in the skin's disabled text colour instead.
    void PaintDisabled(HDC dc);
    void ApplyFont();
    void ShrinkByBorders(RECT& rect) const;

    EditSkinInfo_t* m_skin = nullptr;
    IClsSkinnedEdit* m_callBack = nullptr;
    CBrush m_background;  // made again for every colour request
    CFont m_font;
    COrvDropTarget m_dropTarget;
};
