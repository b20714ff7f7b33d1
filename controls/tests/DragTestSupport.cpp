#include "DragTestSupport.h"

#include "CGlobalMemory.h"
#include "OrvMessages.h"
#include "TestSupport.h"

#include <cstring>
#include <memory>

namespace dragtest {

namespace {
const UINT kGiveInput = WM_USER + 1;

// The input giver of the script running on this thread, if any.
thread_local CMessageWindow* t_giver = nullptr;

struct InputRequest {
    INPUT input{};
    CEvent given{true};
};

void Send(INPUT input) {
    if (!t_giver) {
        ::SendInput(1, &input, sizeof(INPUT));
        return;
    }
    // Shared with the giving thread, which may get to it after a wait here
    // gave up.
    auto request = std::make_shared<InputRequest>();
    request->input = input;
    auto* posted = new std::shared_ptr<InputRequest>(request);
    if (!t_giver->Post(kGiveInput, 0, reinterpret_cast<LPARAM>(posted))) {
        delete posted;
        return;
    }
    request->given.Wait(kStepTimeoutMs);
}

INPUT Mouse(DWORD flags, LONG dx = 0, LONG dy = 0) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = dx;
    input.mi.dy = dy;
    input.mi.dwFlags = flags;
    return input;
}
}  // namespace

void MoveTo(int x, int y) {
    const int width = ::GetSystemMetrics(SM_CXSCREEN);
    const int height = ::GetSystemMetrics(SM_CYSCREEN);
    // Absolute input runs over 0..65535 across the screen; the +0.5 pixel
    // lands in the middle of the wanted pixel.
    const LONG dx = static_cast<LONG>((x * 2 + 1) * 65536LL / (2 * width));
    const LONG dy = static_cast<LONG>((y * 2 + 1) * 65536LL / (2 * height));
    Send(Mouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, dx, dy));
}

void PressLeft() { Send(Mouse(MOUSEEVENTF_LEFTDOWN)); }
void ReleaseLeft() { Send(Mouse(MOUSEEVENTF_LEFTUP)); }

void TapKey(WORD key) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    Send(input);
    input.ki.dwFlags = KEYEVENTF_KEYUP;
    Send(input);
}

POINT CentreOf(HWND window) {
    RECT rect{};
    ::GetWindowRect(window, &rect);
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

InputWorker::InputWorker(std::function<std::string()> script) {
    m_giver.Create([](UINT message, WPARAM, LPARAM lParam) -> LRESULT {
        if (message != kGiveInput) return 0;
        std::unique_ptr<std::shared_ptr<InputRequest>> request(reinterpret_cast<std::shared_ptr<InputRequest>*>(lParam));
        ::SendInput(1, &(*request)->input, sizeof(INPUT));
        (*request)->given.Set();
        return 0;
    });
    m_thread = std::thread([this, script] {
        t_giver = &m_giver;
        m_outcome = script();
        t_giver = nullptr;
        m_finished = true;
    });
}

InputWorker::~InputWorker() {
    // Input still asked for is given until the script ends.
    orvtest::PumpUntil([this] { return m_finished.load(); }, 120000);
    if (m_thread.joinable()) m_thread.join();
    m_giver.Close([](UINT message, WPARAM, LPARAM lParam) {
        if (message == kGiveInput) delete reinterpret_cast<std::shared_ptr<InputRequest>*>(lParam);
    });
}

std::string InputWorker::Join() {
    orvtest::PumpUntil([this] { return m_finished.load(); }, 120000);
    if (m_thread.joinable()) m_thread.join();
    return m_outcome;
}

PopupWindow::PopupWindow(int x, int y, int width, int height, const char* title) {
    CreateEx(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, nullptr, title, WS_POPUP | WS_VISIBLE, x, y, width, height,
             nullptr, nullptr);
}

PopupWindow::~PopupWindow() { DestroyWindow(); }

LRESULT PopupWindow::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (onMessage && onMessage(message, wParam, lParam, &result)) return result;
    if (message == WM_ERASEBKGND) {
        RECT client{};
        ::GetClientRect(m_hWnd, &client);
        ::FillRect(reinterpret_cast<HDC>(wParam), &client, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
        return 1;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

DROPEFFECT ContactTargetWindow::ObservedTarget::OnDragOver(CWnd* window, COleDataObject* data, DWORD keyState,
                                                           CPoint point) {
    const DROPEFFECT answer = COrvDropTarget::OnDragOver(window, data, keyState, point);
    overAnswers.push_back(answer);
    if (GetDraggedContact()) sawContactWhileOver = true;
    over.Set();
    return answer;
}

ContactTargetWindow::ContactTargetWindow(int x, int y, int width, int height, LRESULT answerToQuery)
    : PopupWindow(x, y, width, height, "contact target"), answer(answerToQuery) {
    onMessage = [this](UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
        if (message == ORV_WM_QUERY_DROP) {
            ++queries;
            queried.Set();
            *result = answer;
            return true;
        }
        if (message == ORV_WM_CONTACT_DROPPED) {
            dropped.push_back(*reinterpret_cast<const ORVCONTACTINFO*>(lParam));
            droppedFirstParameters.push_back(wParam);
            droppedEvent.Set();
            return true;
        }
        return false;
    };
}

ContactData MakeContactData(const ORVCONTACTINFO& contact, const char* text, size_t blockSize) {
    ContactData made;
    made.payload = std::make_unique<COrvDragContactInfo>(&contact);
    made.data.Attach(new CDataObject);
    made.data->AddGlobalData(static_cast<CLIPFORMAT>(COrvDropTarget::GetClipboardFormat()),
                             made.payload->CreateGlobalBlock(blockSize), true);
    if (text) made.data->AddGlobalData(CF_TEXT, COrvDragContactInfo::strToGlobal(text), true);
    return made;
}

SCODE DragSourceWindow::RecordingSource::QueryContinueDrag(BOOL escapePressed, DWORD keyState) {
    started.Set();
    if (onStart) ::SetEvent(onStart);
    return COleDropSource::QueryContinueDrag(escapePressed, keyState);
}

SCODE DragSourceWindow::RecordingSource::GiveFeedback(DROPEFFECT effect) {
    feedback.push_back(effect);
    fedBack.Set();
    return COleDropSource::GiveFeedback(effect);
}

DragSourceWindow::DragSourceWindow(int x, int y, int width, int height)
    : PopupWindow(x, y, width, height, "drag source") {
    onMessage = [this](UINT message, WPARAM, LPARAM, LRESULT*) {
        if (message == WM_LBUTTONDOWN && data && !dragged) {
            dragged = true;
            result = source.DoDragDrop(data, DROPEFFECT_COPY);
            finished.Set();
            return true;
        }
        return false;
    };
}

ORVCONTACTINFO SampleContact() {
    ORVCONTACTINFO contact;
    contact.id = "4711";
    contact.isMember = 1;
    contact.nodeRank = 3;
    contact.firstName = "Ada";
    contact.lastName = "Lovelace";
    contact.email = "ada@example.com";
    contact.occupation = "Analyst of engines";
    contact.emailPrivate = 0;
    contact.chatHidden = 1;
    contact.chatPresence = "O4711";
    contact.canChat = 1;
    return contact;
}

bool SameContact(const ORVCONTACTINFO& a, const ORVCONTACTINFO& b, std::string* difference) {
    auto differs = [difference](const char* field) {
        if (difference) *difference = field;
        return false;
    };
    if (a.id.Compare(b.id) != 0) return differs("id");
    if (a.isMember != b.isMember) return differs("isMember");
    if (a.nodeRank != b.nodeRank) return differs("nodeRank");
    if (a.firstName.Compare(b.firstName) != 0) return differs("firstName");
    if (a.lastName.Compare(b.lastName) != 0) return differs("lastName");
    if (a.email.Compare(b.email) != 0) return differs("email");
    if (a.occupation.Compare(b.occupation) != 0) return differs("occupation");
    if (a.emailPrivate != b.emailPrivate) return differs("emailPrivate");
    if (a.chatHidden != b.chatHidden) return differs("chatHidden");
    if (a.chatPresence.Compare(b.chatPresence) != 0) return differs("chatPresence");
    if (a.canChat != b.canChat) return differs("canChat");
    return true;
}

std::function<std::string()> DropOnField(DragSourceWindow& source, POINT to) {
    const POINT from = CentreOf(source.GetSafeHwnd());
    return [&source, from, to]() -> std::string {
        MoveTo(from.x, from.y);
        PressLeft();
        if (!source.source.started.Wait(kStepTimeoutMs)) return "the drag never started";
        MoveTo(to.x, to.y);
        source.source.fedBack.Reset();
        if (!source.source.fedBack.Wait(kStepTimeoutMs)) return "no feedback";
        MoveTo(to.x + 2, to.y);
        source.source.fedBack.Reset();
        if (!source.source.fedBack.Wait(kStepTimeoutMs)) return "no feedback over the field";
        ReleaseLeft();
        return source.finished.Wait(kStepTimeoutMs) ? "" : "the drag never ended";
    };
}

}  // namespace dragtest
