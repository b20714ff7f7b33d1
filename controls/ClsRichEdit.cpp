#include "ClsRichEdit.h"

#include "ClsBitMap.h"
#include "CComPtr.h"

#include <ole2.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <string>

const int ClsRichEdit::kChatColorCount;
const int ClsRichEdit::kMaxLineLength;
const long ClsRichEdit::kDefaultHistoryLimit;

namespace {
const char kChatCodes[] = "0123456789AB";
const COLORREF kChatColors[ClsRichEdit::kChatColorCount] = {
    RGB(128, 128, 128), RGB(255, 0, 0), RGB(0, 128, 128), RGB(0, 255, 0), RGB(0, 0, 255),   RGB(255, 0, 255),
    RGB(0, 0, 0),       RGB(128, 0, 0), RGB(128, 128, 0), RGB(0, 128, 0), RGB(0, 0, 128), RGB(128, 0, 128)};
const COLORREF kBackground = RGB(255, 255, 255);
const COLORREF kErrorColor = RGB(255, 0, 0);
const COLORREF kInfoColor = RGB(0, 0, 255);
const char kFace[] = "Arial";
const LONG kTextHeightTwips = 200;  // 10 points

// Holds the control's drawing off while a run of changes is made.
class RedrawPause {
public:
    explicit RedrawPause(HWND window) : m_window(window) { ::SendMessageA(m_window, WM_SETREDRAW, FALSE, 0); }
    // Drawing now also lays the new text out, so that the scroll range
    // is known before anyone scrolls.
    ~RedrawPause() {
        ::SendMessageA(m_window, WM_SETREDRAW, TRUE, 0);
        ::InvalidateRect(m_window, nullptr, TRUE);
        ::UpdateWindow(m_window);
    }
    RedrawPause(const RedrawPause&) = delete;
    RedrawPause& operator=(const RedrawPause&) = delete;

private:
    HWND m_window;
};
}  // namespace

ClsRichEdit::ClsRichEdit() = default;

ClsRichEdit::~ClsRichEdit() { DestroyWindow(); }

const char* ClsRichEdit::GetRuntimeClassName() const { return "ClsRichEdit"; }

bool ClsRichEdit::Create(CWnd* parent, UINT id, const RECT& place, bool readOnly) {
    const DWORD style = WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL |
                        (readOnly ? ES_READONLY : ES_WANTRETURN);
    if (!CRichEditCtrl::Create(style, place, parent, id)) return false;
    SetBackgroundColor(FALSE, kBackground);
    CHARFORMAT2A format = FormatOf(ttMessage);
    SetDefaultCharFormat(format);
    LimitText(readOnly ? m_historyLimit + kMaxLineLength * 2 : m_historyLimit);
    return true;
}

COLORREF ClsRichEdit::GetChatColor(char code) {
    const char* at = code ? std::strchr(kChatCodes, code) : nullptr;
    return at ? kChatColors[at - kChatCodes] : RGB(0, 0, 0);
}

char ClsRichEdit::GetChatColorCode(int index) {
    return index >= 0 && index < kChatColorCount ? kChatCodes[index] : kChatCodes[0];
}

CHARFORMAT2A ClsRichEdit::FormatOf(TypeOfText_t type, COLORREF color) {
    CHARFORMAT2A format{};
    format.cbSize = sizeof format;
    format.dwMask = CFM_COLOR | CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_FACE | CFM_SIZE | CFM_CHARSET;
    format.yHeight = kTextHeightTwips;
    format.bCharSet = DEFAULT_CHARSET;
    std::strcpy(format.szFaceName, kFace);
    switch (type) {
    case ttSender:
        format.dwEffects = CFE_BOLD;
        format.crTextColor = color;
        break;
    case ttSystemError:
        format.dwEffects = CFE_ITALIC;
        format.crTextColor = kErrorColor;
        break;
    case ttSystemInfo:
        format.dwEffects = CFE_ITALIC;
        format.crTextColor = kInfoColor;
        break;
    case ttMessage:
    default:
        format.crTextColor = RGB(0, 0, 0);
        break;
    }
    return format;
}

void ClsRichEdit::SetTextAttributes(TypeOfText_t type, COLORREF color) {
    CHARFORMAT2A format = FormatOf(type, color);
    SetSelectionCharFormat(format);
}

bool ClsRichEdit::AddSmiley(const char* code, HBITMAP picture) {
    if (!code || !*code || !picture) return false;
    std::unique_ptr<ClsBitMap> copy = ClsBitMap::CreateImageFromBitmap(picture, nullptr);
    if (!copy || !copy->GetIsValid()) return false;
    {
        // Magenta shows the background the picture will sit on.
        ClsBitMap::ScopedLock locked(*copy);
        CDC* dc = copy->Lock();
        if (!dc) return false;
        for (int y = 0; y < copy->GetHeight(); ++y)
            for (int x = 0; x < copy->GetWidth(); ++x)
                if (::GetPixel(dc->GetSafeHdc(), x, y) == ClsBitMap::kTransparentKey)
                    ::SetPixelV(dc->GetSafeHdc(), x, y, kBackground);
    }
    m_smileys.push_back(Smiley{CString(code), std::move(copy)});
    return true;
}

void ClsRichEdit::RemoveSmileys() { m_smileys.clear(); }

const char* ClsRichEdit::GetSmileyCode(int index) const {
    if (index < 0 || index >= GetSmileyCount()) return nullptr;
    return m_smileys[static_cast<size_t>(index)].code;
}

int ClsRichEdit::MatchSmiley(const char* text, int* length) const {
    for (size_t i = 0; i < m_smileys.size(); ++i) {
        const CString& code = m_smileys[i].code;
        const int n = code.GetLength();
        if (std::strncmp(text, code, static_cast<size_t>(n)) == 0) {
            *length = n;
            return static_cast<int>(i);
        }
        // ":)" as ":-)", ";(" as ";-(".
        if (n == 2 && (code[0] == ':' || code[0] == ';') && text[0] == code[0] && text[1] == '-' &&
            text[2] == code[1] && text[2]) {
            *length = 3;
            return static_cast<int>(i);
        }
        // "(K)" as "(k)".
        if (n > 2 && code[0] == '(' && code[n - 1] == ')' && _strnicmp(text, code, static_cast<size_t>(n)) == 0) {
            *length = n;
            return static_cast<int>(i);
        }
    }
    return -1;
}

bool ClsRichEdit::IsAtEnd() const {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    if (!::GetScrollInfo(m_hWnd, SB_VERT, &info)) return true;
    // No page: the text fits and there is nothing to scroll.
    const int page = static_cast<int>(info.nPage);
    if (page == 0 || info.nMax - info.nMin < page) return true;
    return info.nPos + page >= info.nMax;
}

void ClsRichEdit::ScrollToEnd() {
    if (m_hWnd) ::SendMessageA(m_hWnd, WM_VSCROLL, SB_BOTTOM, 0);
}

void ClsRichEdit::SetHistoryLimit(long characters) {
    m_historyLimit = std::max(characters, 1024L);
    if (m_hWnd) LimitText(m_historyLimit + kMaxLineLength * 2);
}

void ClsRichEdit::MoveToEnd() {
    const long end = GetTextLength();
    SetSel(end, end);
}

void ClsRichEdit::AppendFormatted(const char* text, const CHARFORMAT2A& format) {
    if (!text || !*text) return;
    MoveToEnd();
    CHARFORMAT2A copy = format;
    SetSelectionCharFormat(copy);
    ReplaceSel(text);
}

void ClsRichEdit::TrimHistory(long incoming) {
    const long length = GetTextLength();
    if (length + incoming <= m_historyLimit) return;
    // Whole lines go, oldest first, until the new text fits.
    const std::wstring text = GetTextW();
    const size_t wanted = static_cast<size_t>(std::min(length, length + incoming - m_historyLimit));
    size_t cut = text.find(L'\r', wanted > 0 ? wanted - 1 : 0);
    cut = cut == std::wstring::npos ? text.size() : cut + 1;
    SetSel(0, static_cast<long>(cut));
    ReplaceSel("");
}

void ClsRichEdit::AddSentence(const char* sender, char colorCode, const char* text) {
    if (!m_hWnd) return;
    const CString line = CString(text ? text : "").Left(kMaxLineLength);
    const CString name = CString(sender ? sender : "") + ": ";
    const bool follow = IsAtEnd();
    long selStart = 0, selEnd = 0;
    GetSel(selStart, selEnd);
    POINT scroll{};
    ::SendMessageA(m_hWnd, EM_GETSCROLLPOS, 0, reinterpret_cast<LPARAM>(&scroll));
    {
        RedrawPause pause(m_hWnd);
        const long before = GetTextLength();
        TrimHistory(line.GetLength() + name.GetLength() + 1);
        const long removed = before - GetTextLength();
        if (GetTextLength() > 0) AppendFormatted("\r", FormatOf(ttMessage));
        AppendFormatted(name, FormatOf(ttSender, GetChatColor(colorCode)));
        AppendWithSmileys(line, FormatOf(ttMessage));
        SetSel(std::max(selStart - removed, 0L), std::max(selEnd - removed, 0L));
    }
    // Scrolled once drawing is on again: the control keeps its scroll
    // bar up to date only while it draws.
    if (follow)
        ScrollToEnd();
    else
        ::SendMessageA(m_hWnd, EM_SETSCROLLPOS, 0, reinterpret_cast<LPARAM>(&scroll));
}

void ClsRichEdit::AddSystemMessage(const char* text, TypeOfText_t type) {
    if (!m_hWnd) return;
    const CString line = CString(text ? text : "").Left(kMaxLineLength);
    const bool follow = IsAtEnd();
    long selStart = 0, selEnd = 0;
    GetSel(selStart, selEnd);
    POINT scroll{};
    ::SendMessageA(m_hWnd, EM_GETSCROLLPOS, 0, reinterpret_cast<LPARAM>(&scroll));
    {
        RedrawPause pause(m_hWnd);
        const long before = GetTextLength();
        TrimHistory(line.GetLength() + 1);
        const long removed = before - GetTextLength();
        if (GetTextLength() > 0) AppendFormatted("\r", FormatOf(ttMessage));
        AppendFormatted(line, FormatOf(type == ttSystemError ? ttSystemError : ttSystemInfo));
        SetSel(std::max(selStart - removed, 0L), std::max(selEnd - removed, 0L));
    }
    // Scrolled once drawing is on again: the control keeps its scroll
    // bar up to date only while it draws.
    if (follow)
        ScrollToEnd();
    else
        ::SendMessageA(m_hWnd, EM_SETSCROLLPOS, 0, reinterpret_cast<LPARAM>(&scroll));
}

void ClsRichEdit::AppendWithSmileys(const char* text, const CHARFORMAT2A& format) {
    std::string run;
    for (const char* at = text; *at;) {
        int length = 0;
        const int smiley = MatchSmiley(at, &length);
        if (smiley < 0) {
            run += *at++;
            continue;
        }
        AppendFormatted(run.c_str(), format);
        run.clear();
        MoveToEnd();
        CHARFORMAT2A copy = format;
        SetSelectionCharFormat(copy);
        if (!InsertPicture(*m_smileys[static_cast<size_t>(smiley)].picture, static_cast<DWORD>(smiley + 1)))
            run.assign(at, static_cast<size_t>(length));
        at += length;
    }
    AppendFormatted(run.c_str(), format);
}

bool ClsRichEdit::InsertPicture(const ClsBitMap& picture, DWORD user) {
    CComPtr<IRichEditOle> ole = GetIRichEditOle();
    if (!ole || !picture.GetIsValid()) return false;
    CComPtr<IOleClientSite> site;
    if (ole->GetClientSite(site.Receive()) != S_OK || !site) return false;
    // Storage for the object in memory, as embedding asks for one.
    CComPtr<ILockBytes> bytes;
    if (FAILED(::CreateILockBytesOnHGlobal(nullptr, TRUE, bytes.Receive()))) return false;
    CComPtr<IStorage> storage;
    if (FAILED(::StgCreateDocfileOnILockBytes(bytes.Get(), STGM_SHARE_EXCLUSIVE | STGM_CREATE | STGM_READWRITE, 0,
                                              storage.Receive())))
        return false;
    // A static picture: the system's default object with the bitmap in its
    // cache, which the control draws.
    CComPtr<IOleObject> object;
    if (FAILED(::OleCreateDefaultHandler(CLSID_NULL, nullptr, IID_IOleObject,
                                         reinterpret_cast<void**>(object.Receive()))))
        return false;
    CComPtr<IOleCache> cache;
    CComPtr<IDataObject> data;
    if (FAILED(object->QueryInterface(IID_IOleCache, reinterpret_cast<void**>(cache.Receive()))) ||
        FAILED(object->QueryInterface(IID_IDataObject, reinterpret_cast<void**>(data.Receive()))))
        return false;
    object->SetClientSite(site.Get());
    FORMATETC format{CF_BITMAP, nullptr, DVASPECT_CONTENT, -1, TYMED_GDI};
    DWORD connection = 0;
    if (FAILED(cache->Cache(&format, 0, &connection))) return false;
    HBITMAP copy = static_cast<HBITMAP>(::CopyImage(picture.GetHandle(), IMAGE_BITMAP, 0, 0, 0));
    if (!copy) return false;
    STGMEDIUM medium{};
    medium.tymed = TYMED_GDI;
    medium.hBitmap = copy;
    // With release the cache owns the bitmap, also when it refuses it.
    if (FAILED(data->SetData(&format, &medium, TRUE))) return false;
    CLSID kind = CLSID_NULL;
    object->GetUserClassID(&kind);
    ::OleSetContainedObject(object.Get(), TRUE);

    REOBJECT embedded{};
    embedded.cbStruct = sizeof embedded;
    embedded.cp = REO_CP_SELECTION;
    embedded.clsid = kind;
    embedded.poleobj = object.Get();
    embedded.pstg = storage.Get();
    embedded.polesite = site.Get();
    embedded.dvaspect = DVASPECT_CONTENT;
    embedded.dwUser = user;
    return ole->InsertObject(&embedded) == S_OK;
}

bool ClsRichEdit::InsertSmiley(int index) {
    if (!m_hWnd || index < 0 || index >= GetSmileyCount()) return false;
    long start = 0, end = 0;
    GetSel(start, end);
    const Smiley& smiley = m_smileys[static_cast<size_t>(index)];
    if (InsertPicture(*smiley.picture, static_cast<DWORD>(index + 1))) {
        SetSel(start + 1, start + 1);
        return true;
    }
    ReplaceSel(smiley.code, TRUE);
    return false;
}

int ClsRichEdit::GetObjectCount() const {
    CComPtr<IRichEditOle> ole = GetIRichEditOle();
    return ole ? static_cast<int>(ole->GetObjectCount()) : 0;
}

CString ClsRichEdit::GetTextWithSmileyCodes() const {
    const std::wstring text = GetTextW();
    // The smiley of each embedded picture, by its position.
    std::map<LONG, DWORD> pictures;
    if (CComPtr<IRichEditOle> ole = GetIRichEditOle()) {
        const LONG count = ole->GetObjectCount();
        for (LONG i = 0; i < count; ++i) {
            REOBJECT embedded{};
            embedded.cbStruct = sizeof embedded;
            if (ole->GetObject(i, &embedded, REO_GETOBJ_NO_INTERFACES) == S_OK) pictures[embedded.cp] = embedded.dwUser;
        }
    }
    std::wstring plain;
    CString result;
    auto flush = [&plain, &result] {
        if (!plain.empty()) result += CString(plain.c_str());
        plain.clear();
    };
    for (size_t i = 0; i < text.size(); ++i) {
        auto picture = pictures.find(static_cast<LONG>(i));
        if (picture != pictures.end()) {
            flush();
            const char* code = GetSmileyCode(static_cast<int>(picture->second) - 1);
            if (code) result += code;
            continue;
        }
        if (text[i] == L'\r') {
            flush();
            result += "\r\n";
            continue;
        }
        plain += text[i];
    }
    flush();
    return result;
}
