// Searches and search-paths through the program's real windows against the
// real network (orvane-server with the demo network, the chat server with
// its room keeper), driven as a member drives them: text in the fields,
// clicks through SendInput on the buttons, the list headers and rows. What
// the lists show is compared with what the server answers to the same
// request on a connection of the test's own. Screenshots in
// test-artifacts/orvane_search_*.bmp.
#include "AppTestSupport.h"
#include "DemoNetwork.h"

#include "OrvApp.h"
#include "OrvChatUser.h"

#include "CNodesList.h"
#include "CRootItem.h"
#include "CTreeControl.h"
#include "CTreeItem.h"
#include "ClsPath.h"
#include "OrvMessages.h"
#include "OrvPathFinderCtrl.h"
#include "OrvPathFinderResultCtrl.h"
#include "OrvRegistry.h"
#include "OrvResultRules.h"
#include "OrvSearchCtrl.h"
#include "OrvSearchResultCtrl.h"
#include "OrvSkinReader.h"
#include "OrvToolBarCtrl.h"
#include "TestSupport.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using apptest::DemoNetwork;
using apptest::ScreenPixels;
using apptest::TestFrame;

namespace {

const char* const kEmail = "demo1@example.com";
const char* const kPassword = "orvane-demo-1";

using apptest::EnsureRichEdit;
using apptest::ProgramDirectory;

// Real pointer input at a screen point.
void MouseAt(POINT at, DWORD down, DWORD up, int clicks = 1) {
    ::SetCursorPos(at.x, at.y);
    for (int i = 0; i < clicks; ++i) {
        INPUT input[2] = {};
        input[0].type = input[1].type = INPUT_MOUSE;
        input[0].mi.dwFlags = down;
        input[1].mi.dwFlags = up;
        ::SendInput(2, input, sizeof(INPUT));
    }
}
void Click(POINT at) { MouseAt(at, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP); }
void DoubleClick(POINT at) { MouseAt(at, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, 2); }
void RightClick(POINT at) { MouseAt(at, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP); }

POINT CentreOf(HWND window) {
    RECT rect{};
    ::GetWindowRect(window, &rect);
    return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

// The centre of a row of a list view, on the screen, a little right of
// the chat mark.
POINT RowPoint(HWND list, int row) {
    RECT rect{};
    ListView_GetItemRect(list, row, &rect, LVIR_BOUNDS);
    POINT at{rect.left + 60, (rect.top + rect.bottom) / 2};
    ::ClientToScreen(list, &at);
    return at;
}

RECT ScreenRect(HWND window) {
    RECT rect{};
    ::GetWindowRect(window, &rect);
    return rect;
}

// A screen rectangle within a screenshot taken of outer.
RECT Within(const RECT& inner, const RECT& outer) {
    return RECT{inner.left - outer.left, inner.top - outer.top, inner.right - outer.left, inner.bottom - outer.top};
}

// The values of every "name":"value" member of a JSON text, in order.
std::vector<std::string> JsonValues(const std::string& json, const std::string& name) {
    std::vector<std::string> values;
    const std::string key = "\"" + name + "\":\"";
    for (size_t at = json.find(key); at != std::string::npos; at = json.find(key, at)) {
        at += key.size();
        const size_t end = json.find('"', at);
        if (end == std::string::npos) break;
        values.push_back(json.substr(at, end - at));
        at = end;
    }
    return values;
}

bool TreeShows(CTreeControl* tree, const CString& id) {
    if (!tree || !tree->isAComplete() || tree->IsLocked()) return false;
    CSingleLock lock(tree->GetListLock());
    CNodesList* list = tree->GetCurrentList();
    return list && list->GetRoot() && list->GetRoot()->GetContact().id == id;
}

class SearchFlow : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        apptest::ClearSettings();
        s_network = std::make_unique<DemoNetwork>();
        s_started = s_network->Start("search");
        apptest::StoreMember(s_network->Url(), kEmail, kPassword);
        s_richEdit = EnsureRichEdit(ProgramDirectory());
        if (!s_started || !s_richEdit) return;
        s_frame = std::make_unique<TestFrame>();
        s_frame->SetProgramDirectory(ProgramDirectory().c_str());
        s_frame->SetUrl(OrvRegistry().GetUrl());
        OrvApp::CreateServices(*s_frame, ProgramDirectory().c_str());
        s_windowMade = s_frame->StartSession() && OrvApp::RegisterMainWindowClass(::GetModuleHandleA(nullptr)) &&
                       OrvApp::CreateMainWindow(*s_frame);
    }
    static void TearDownTestSuite() {
        if (s_frame && s_frame->GetSafeHwnd()) s_frame->SendMessage(WM_CLOSE, 1, 0);
        s_frame.reset();
        s_network.reset();
        apptest::ClearSettings();
    }
    void SetUp() override {
        ASSERT_TRUE(s_started) << s_network->Logs();
        ASSERT_TRUE(s_richEdit);
        ASSERT_TRUE(s_windowMade);
        ASSERT_TRUE(Until([&] {
            return s_frame->GetSessionState() == OrvMainFrame::ssOnline && s_frame->IsWindowVisible() &&
                   !s_frame->IsTreePending() && !s_frame->IsBusy();
        })) << "state " << s_frame->GetSessionState() << "\n"
            << s_network->Logs();
        frame = s_frame.get();
        reader = frame->GetSkinReader();
        ASSERT_NE(reader, nullptr);
        search = reader->GetSearchCtrl();
        finder = reader->GetPathFinderCtrl();
        results = reader->GetSearchResultCtrl();
        paths = reader->GetPathFinderResultCtrl();
        ASSERT_TRUE(search && finder && results && paths && reader->GetToolBarCtrl());
        frame->SetForegroundWindow();
    }
    void TearDown() override {
        for (const auto& shown : frame ? frame->messenger.shown : std::vector<apptest::ShownMessage>())
            ADD_FAILURE() << "message shown: " << shown.caption << ": " << shown.text;
        if (frame) frame->messenger.shown.clear();
    }
    static bool Until(const std::function<bool()>& done, unsigned ms = 120000) {
        return orvtest::PumpUntil(done, ms);
    }
    // The window as it is on screen, saved under name.
    ScreenPixels Shot(const std::string& name) {
        frame->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_ERASE | RDW_FRAME);
        orvtest::PumpPending();
        ScreenPixels shot(ScreenRect(frame->GetSafeHwnd()));
        shot.Save(name);
        return shot;
    }
    std::string Post(const std::string& path, const std::string& body) {
        return s_network->Post(path, body);
    }
    std::string Session() const { return frame->GetSessionId().GetString(); }
    // The ids of the search list's rows, in order.
    std::vector<std::string> ListIds() {
        std::vector<std::string> ids;
        results->Lock();
        for (int i = 0; i < results->GetCount(); ++i) ids.push_back(results->GetContact(i)->GetContact().id.GetString());
        results->Unlock();
        return ids;
    }
    // The ids of every person of every path in the path list, in order.
    std::vector<std::string> PathIds() {
        std::vector<std::string> ids;
        paths->Lock();
        for (int i = 0; i < paths->GetCount(); ++i) {
            const ClsPath* path = paths->GetPath(i);
            for (int j = 0; j < path->GetCount(); ++j) ids.push_back(path->GetAt(j)->GetContact().id.GetString());
        }
        paths->Unlock();
        return ids;
    }
    // A query the demo network answers with a few to a hundred members (the
    // first candidate that does), so that no too-many message comes.
    std::string Query() {
        static std::string chosen;
        if (!chosen.empty()) return chosen;
        for (const char* candidate : {"maya pilot", "maya nurse", "maya cohen", "maya levi", "maya chef", "maya smith",
                                      "yael", "omer"}) {
            std::string words = candidate;
            for (char& c : words)
                if (c == ' ') c = ';';
            const std::string answer =
                Post("/api/v1/search", R"({"query":")" + words + R"(","kind":"","session":")" + Session() + "\"}");
            const size_t found = JsonValues(answer, "id").size();
            if (DemoNetwork::JsonString(answer, "code") == "0" && found >= 3 && found <= 100) return chosen = candidate;
        }
        return chosen = "maya";
    }
    // Presses the search button with text in the field, as the member does.
    void SearchFor(const char* text) {
        const int answers = frame->GetSearchAnswerCount();
        search->SetSearchText(text);
        Click(CentreOf(search->GetButton().GetSafeHwnd()));
        ASSERT_TRUE(Until([&] {
            return frame->GetSearchAnswerCount() > answers && !frame->IsSearching() && search->GetEnabledSearchButton();
        })) << "the click's search was never answered";
    }
    void SearchPathTo(const char* destination) {
        finder->SetPathSearchDestination(nullptr);
        finder->GetDestinationEdit().SetWindowText(destination);
        const int answers = frame->GetPathAnswerCount();
        Click(CentreOf(finder->GetButton().GetSafeHwnd()));
        ASSERT_TRUE(Until([&] {
            return frame->GetPathAnswerCount() > answers && !frame->IsSearching() && finder->GetEnabledSearchButton();
        })) << "the click's path search was never answered";
    }

    static std::unique_ptr<DemoNetwork> s_network;
    static std::unique_ptr<TestFrame> s_frame;
    static bool s_started;
    static bool s_richEdit;
    static bool s_windowMade;

    TestFrame* frame = nullptr;
    OrvSkinReader* reader = nullptr;
    OrvSearchCtrl* search = nullptr;
    OrvPathFinderCtrl* finder = nullptr;
    OrvSearchResultCtrl* results = nullptr;
    OrvPathFinderResultCtrl* paths = nullptr;
};

std::unique_ptr<DemoNetwork> SearchFlow::s_network;
std::unique_ptr<TestFrame> SearchFlow::s_frame;
bool SearchFlow::s_started = false;
bool SearchFlow::s_richEdit = false;
bool SearchFlow::s_windowMade = false;

TEST_F(SearchFlow, AfterTheLogInTheMemberIsThePathSource) {
    ASSERT_TRUE(Until([&] { return finder->GetPathSearchSource().GetContact().id == frame->GetUserId(); }));
    char text[200] = {};
    ::GetWindowTextA(finder->GetSourceEdit().GetSafeHwnd(), text, sizeof text);
    EXPECT_STREQ(text, kEmail);
    Shot("orvane_search_1_logged_in.bmp");
}

TEST_F(SearchFlow, ASearchFillsTheListWithWhatTheServerAnswersAndSortsByAHeaderClick) {
    const RECT listRect = ScreenRect(results->GetSafeHwnd());
    const std::string query = Query();
    ASSERT_NO_FATAL_FAILURE(SearchFor(("  " + query + "  ").c_str()));
    char typed[100] = {};
    ::GetWindowTextA(search->GetEdit().GetSafeHwnd(), typed, sizeof typed);
    EXPECT_STREQ(typed, query.c_str()) << "the field shows the trimmed text";

    // The same query on the test's own connection, with the member's
    // session; the blank between the words travels as ";".
    std::string words = query;
    for (char& c : words)
        if (c == ' ') c = ';';
    const std::string answer =
        Post("/api/v1/search", R"({"query":")" + words + R"(","kind":"","session":")" + Session() + "\"}");
    ASSERT_EQ(DemoNetwork::JsonString(answer, "code"), "0") << answer;
    std::vector<std::string> expected = JsonValues(answer, "id");
    ASSERT_FALSE(expected.empty());
    if (expected.size() > 100) expected.resize(100);
    EXPECT_EQ(ListIds(), expected) << "the rows are the server's records in its order";
    EXPECT_EQ(results->GetItemCount(), static_cast<int>(expected.size()) + 1) << "one empty row after the last";
    const std::vector<std::string> firstNames = JsonValues(answer, "firstName");
    ASSERT_GE(firstNames.size(), 1u);
    EXPECT_STREQ(results->GetContact(0)->GetContact().firstName, firstNames[0].c_str());

    ScreenPixels found = Shot("orvane_search_2_results.bmp");
    const HWND list = results->GetSafeHwnd();
    RECT firstRow{};
    ListView_GetItemRect(list, 0, &firstRow, LVIR_BOUNDS);
    {
        RECT listClient{};
        ::GetClientRect(list, &listClient);
        ::IntersectRect(&firstRow, &firstRow, &listClient);
    }
    ::MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&firstRow), 2);
    const RECT windowRect = ScreenRect(frame->GetSafeHwnd());
    EXPECT_GT(found.InkCount(Within(firstRow, windowRect)), 30) << "the first row shows its texts";
    // The empty row, within the list's client area (its columns reach past
    // the list's right edge).
    RECT emptyRow{}, client{};
    ListView_GetItemRect(list, results->GetCount(), &emptyRow, LVIR_BOUNDS);
    ::GetClientRect(list, &client);
    ::IntersectRect(&emptyRow, &emptyRow, &client);
    ::MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&emptyRow), 2);
    if (emptyRow.bottom <= listRect.bottom) {
        EXPECT_LE(found.InkCount(Within(emptyRow, windowRect)), 2) << "the last row is drawn empty";
    }

    // A click on the name header sorts by name; a second click turns it.
    const HWND header = ListView_GetHeader(list);
    RECT nameHeader{};
    Header_GetItemRect(header, 1, &nameHeader);
    POINT at{(nameHeader.left + nameHeader.right) / 2, (nameHeader.top + nameHeader.bottom) / 2};
    ::ClientToScreen(header, &at);
    Click(at);
    ASSERT_TRUE(Until([&] { return results->GetSortOrder().GetColumn() == 1; }, 20000));
    std::vector<CString> names;
    for (int i = 0; i < results->GetCount(); ++i) names.push_back(results->GetContact(i)->GetDisplayName());
    for (size_t i = 1; i < names.size(); ++i)
        EXPECT_LE(names[i - 1].CompareNoCase(names[i]), 0) << names[i - 1].GetString() << " before " << names[i].GetString();
    Shot("orvane_search_3_sorted.bmp");
    const bool descending = results->GetSortOrder().GetDescending();
    Click(at);
    ASSERT_TRUE(Until([&] { return results->GetSortOrder().GetDescending() != descending; }, 20000));
    if (names.size() > 1 && names.front().CompareNoCase(names.back()) != 0) {
        EXPECT_STREQ(results->GetContact(0)->GetDisplayName(), names.back()) << "the other way round";
    }
}

TEST_F(SearchFlow, ADoubleClickOnAResultShowsThatPersonsTree) {
    ASSERT_NO_FATAL_FAILURE(SearchFor(Query().c_str()));
    ASSERT_GE(results->GetCount(), 1);
    const CString id = results->GetContact(0)->GetContact().id;
    const int place = frame->GetHistory().Index();
    DoubleClick(RowPoint(results->GetSafeHwnd(), 0));
    ASSERT_TRUE(Until([&] { return TreeShows(frame->GetTreeControl(), id) && !frame->IsTreePending(); }))
        << "the person's tree never came";
    EXPECT_STREQ(frame->GetCurrentTree()[0].id, id);
    EXPECT_EQ(frame->GetHistory().Index(), place + 1) << "a walk of one step";
    Shot("orvane_search_4_result_tree.bmp");
}

TEST_F(SearchFlow, APathToAnAddressFillsThePathListAsTheServerFindsIt) {
    ASSERT_NO_FATAL_FAILURE(SearchFor(Query().c_str()));
    // A destination that is not one of the member's own contacts.
    std::string destination;
    for (int i = 0; i < results->GetCount() && destination.empty(); ++i)
        if (!results->GetContact(i)->GetContact().emailPrivate)
            destination = results->GetContact(i)->GetContact().email.GetString();
    ASSERT_FALSE(destination.empty());
    finder->SetPathSearchSource(nullptr);
    finder->GetSourceEdit().SetWindowText(kEmail);
    ASSERT_NO_FATAL_FAILURE(SearchPathTo(destination.c_str()));

    const std::string answer = Post("/api/v1/search-path", R"({"source":")" + std::string(kEmail) +
                                                              R"(","destination":")" + destination + R"(","session":")" +
                                                              Session() + "\"}");
    ASSERT_EQ(DemoNetwork::JsonString(answer, "code"), "0") << answer;
    EXPECT_EQ(PathIds(), JsonValues(answer, "id")) << "every path, person by person, as the server found them";
    ASSERT_GE(paths->GetCount(), 1);
    EXPECT_EQ(paths->GetPath(0)->GetSteps(), std::stoi(DemoNetwork::JsonString(answer, "hops")));
    char shown[200] = {};
    ::GetWindowTextA(finder->GetDestinationEdit().GetSafeHwnd(), shown, sizeof shown);
    EXPECT_STREQ(shown, DemoNetwork::JsonString(answer, "destination").c_str()) << "the answer's address is shown";
    ScreenPixels shot = Shot("orvane_search_5_path_by_email.bmp");
    RECT row{};
    ListView_GetItemRect(paths->GetSafeHwnd(), 0, &row, LVIR_BOUNDS);
    ::MapWindowPoints(paths->GetSafeHwnd(), nullptr, reinterpret_cast<POINT*>(&row), 2);
    EXPECT_GT(shot.InkCount(Within(row, ScreenRect(frame->GetSafeHwnd()))), 40) << "the first path is written";

    // A narrow column cuts the path with "..." (the row says so when drawn).
    ListView_SetColumnWidth(paths->GetSafeHwnd(), 1, 90);
    Shot("orvane_search_6_path_cut.bmp");
    EXPECT_TRUE(paths->IsRowCut(0)) << "a path wider than its column ends in ...";
    paths->StretchLastColumn();
    Shot("orvane_search_6_path_whole.bmp");
    EXPECT_FALSE(paths->IsRowCut(0)) << "the stretched column holds the whole path";
}

TEST_F(SearchFlow, APathByKeywordsFillsThePathListAsTheServerFindsIt) {
    finder->SetPathSearchSource(nullptr);
    finder->GetSourceEdit().SetWindowText(kEmail);
    ASSERT_NO_FATAL_FAILURE(SearchPathTo("  software   engineer "));
    const std::string answer = Post("/api/v1/search-path-keywords",
                                    R"({"source":")" + std::string(kEmail) +
                                        R"(","keywords":"software;engineer","session":")" + Session() + "\"}");
    ASSERT_EQ(DemoNetwork::JsonString(answer, "code"), "0") << answer;
    const std::vector<std::string> expected = JsonValues(answer, "id");
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(PathIds(), expected);
    Shot("orvane_search_7_path_by_keywords.bmp");

    // Keywords nobody matches: the list empties and the member is told.
    SearchPathTo("qqqqqzz");
    EXPECT_EQ(paths->GetCount(), 0);
    ASSERT_EQ(frame->messenger.shown.size(), 1u);
    EXPECT_EQ(frame->messenger.shown[0].caption, "Search error");
    frame->messenger.shown.clear();
}

TEST_F(SearchFlow, BadInputIsRefusedBeforeTheServerSeesIt) {
    search->SetSearchText("ab");
    Click(CentreOf(search->GetButton().GetSafeHwnd()));
    ASSERT_TRUE(Until([&] { return !frame->messenger.shown.empty(); }, 20000));
    EXPECT_EQ(frame->messenger.shown[0].text, "Your search query should not be smaller than 3 symbols");
    EXPECT_EQ(frame->messenger.shown[0].caption, "Orvane");
    EXPECT_EQ(frame->messenger.shown[0].owner, frame->GetSafeHwnd());
    EXPECT_FALSE(frame->IsSearching());
    EXPECT_TRUE(search->GetEnabledSearchButton());
    frame->messenger.shown.clear();

    finder->SetPathSearchSource(nullptr);
    finder->GetSourceEdit().SetWindowText(kEmail);
    finder->SetPathSearchDestination(nullptr);
    finder->GetDestinationEdit().SetWindowText("DEMO1@example.com");
    Click(CentreOf(finder->GetButton().GetSafeHwnd()));
    ASSERT_TRUE(Until([&] { return !frame->messenger.shown.empty(); }, 20000));
    EXPECT_EQ(frame->messenger.shown[0].caption, "Parameters error");
    EXPECT_EQ(frame->messenger.shown[0].text, "Source and destination parameters must be different.");
    EXPECT_FALSE(frame->IsSearching());
    frame->messenger.shown.clear();
}

TEST_F(SearchFlow, AResultsMenuAndADroppedTreeNodePlaceContactsAtThePathEnds) {
    ASSERT_NO_FATAL_FAILURE(SearchFor(Query().c_str()));
    ASSERT_GE(results->GetCount(), 1);
    const ORVCONTACTINFO row = results->GetContact(0)->GetContact();
    RightClick(RowPoint(results->GetSafeHwnd(), 0));
    ASSERT_TRUE(Until([&] { return results->GetPopupMenu().GetIsOpen(); }, 20000)) << "the row's menu opens";
    EXPECT_EQ(results->GetMenuRow(), 0);
    Shot("orvane_search_8_result_menu.bmp");
    INPUT escape[2] = {};
    escape[0].type = escape[1].type = INPUT_KEYBOARD;
    escape[0].ki.wVk = escape[1].ki.wVk = VK_ESCAPE;
    escape[1].ki.dwFlags = KEYEVENTF_KEYUP;
    ::SendInput(2, escape, sizeof(INPUT));
    ASSERT_TRUE(Until([&] { return !results->GetPopupMenu().GetIsOpen(); }, 20000));
    // The command as the menu posts it when its item is chosen.
    ::PostMessageA(results->GetSafeHwnd(), WM_COMMAND, ORVMENU_ADD_TO_DESTINATION, 0);
    ASSERT_TRUE(Until([&] { return finder->GetPathSearchDestination().GetContact().id == row.id; }, 20000));
    char shown[300] = {};
    ::GetWindowTextA(finder->GetDestinationEdit().GetSafeHwnd(), shown, sizeof shown);
    if (!row.emailPrivate) {
        EXPECT_STREQ(shown, row.email);
    }

    // A node of the tree dropped on the destination field, delivered as the
    // drop target delivers it.
    ORVCONTACTINFO node;
    {
        const OrvContactArray& tree = frame->GetCurrentTree();
        ASSERT_GE(tree.Count(), 2);
        node = tree[1];
    }
    const HWND destination = finder->GetDestinationEdit().GetSafeHwnd();
    EXPECT_EQ(::SendMessageA(destination, ORV_WM_QUERY_DROP, 0, 0), 1) << "the field takes contacts";
    ::SendMessageA(destination, ORV_WM_CONTACT_DROPPED, 0, reinterpret_cast<LPARAM>(&node));
    EXPECT_STREQ(finder->GetPathSearchDestination().GetContact().id, node.id);
    Shot("orvane_search_9_dropped.bmp");

    // Search Path from the tree's menu: the member to that contact.
    const ORVNAVIGATEINFO command{ORVNAV_COMMAND, ORVNAVCMD_SEARCH_PATH, &node};
    const int answers = frame->GetPathAnswerCount();
    frame->Navigate(&command);
    ASSERT_TRUE(Until([&] {
        return frame->GetPathAnswerCount() > answers && !frame->IsSearching() && finder->GetEnabledSearchButton();
    })) << "the tree's Search Path was never answered";
    EXPECT_STREQ(finder->GetPathSearchSource().GetContact().id, frame->GetUserId());
    ASSERT_GE(paths->GetCount(), 1) << "a person of a tree the member reached is on some path";
    const std::string ends = std::string(R"({"source":")") + frame->GetUserId() + R"(","destination":")" +
                             node.id.GetString() + R"(","session":")" + Session() + "\"}";
    const std::string answer = Post("/api/v1/search-path", ends);
    EXPECT_EQ(PathIds(), JsonValues(answer, "id")) << answer;
    EXPECT_EQ(paths->GetPath(0)->GetSteps(), std::stoi(DemoNetwork::JsonString(answer, "hops")));
    Shot("orvane_search_10_path_from_tree.bmp");
}

TEST_F(SearchFlow, TheTreesMenuPlacesEndsAndTheChatAsksForAPath) {
    ORVCONTACTINFO node;
    {
        const OrvContactArray& tree = frame->GetCurrentTree();
        ASSERT_GE(tree.Count(), 3);
        node = tree[2];
    }
    // "Set as source" and "Set as destination" of the tree's menu, carried
    // out by the navigation worker and placed on this thread.
    const ORVNAVIGATEINFO from{ORVNAV_COMMAND, ORVNAVCMD_PATH_FROM, &node};
    ASSERT_NE(frame->Navigate(&from), 0);
    ASSERT_TRUE(Until([&] { return finder->GetPathSearchSource().GetContact().id == node.id; }, 20000));
    ASSERT_TRUE(Until([&] { return !frame->IsNavigating(); }, 20000));
    const ORVCONTACTINFO own = frame->GetOwnRecord();
    const ORVNAVIGATEINFO to{ORVNAV_COMMAND, ORVNAVCMD_PATH_TO, &own};
    ASSERT_NE(frame->Navigate(&to), 0);
    ASSERT_TRUE(Until([&] { return finder->GetPathSearchDestination().GetContact().id == own.id; }, 20000));
    ASSERT_TRUE(Until([&] { return !frame->IsNavigating(); }, 20000));
    Shot("orvane_search_15_ends_from_tree.bmp");

    // A path from the chat: the partner's identity without its letter is
    // the destination, the member the source; a second one while the
    // first runs is refused with the communication message.
    OrvChatUser partner;
    partner.identity = "O" + node.id;
    const int answers = frame->GetPathAnswerCount();
    frame->SearchPath(partner);
    EXPECT_TRUE(frame->IsSearching());
    frame->SearchPath(partner);
    ASSERT_EQ(frame->messenger.shown.size(), 1u);
    EXPECT_EQ(frame->messenger.shown[0].text, "Failed to communicate with server.\r\nPlease Try again.");
    EXPECT_EQ(frame->messenger.shown[0].caption, "Error");
    EXPECT_EQ(frame->messenger.shown[0].type & MB_ICONMASK, static_cast<UINT>(MB_ICONSTOP));
    frame->messenger.shown.clear();
    ASSERT_TRUE(Until([&] { return frame->GetPathAnswerCount() > answers && !frame->IsSearching(); }));
    const std::string answer = Post("/api/v1/search-path", std::string(R"({"source":")") + frame->GetUserId() +
                                                              R"(","destination":")" + node.id.GetString() +
                                                              R"(","session":")" + Session() + "\"}");
    EXPECT_EQ(PathIds(), JsonValues(answer, "id")) << answer;
    EXPECT_TRUE(frame->IsWindowVisible());
}

TEST_F(SearchFlow, AnswersFillTheRealListsAndGiveTheButtonsBack) {
    // A search answer of 150 people: the message once, 100 rows.
    std::vector<ORVCONTACTINFO> people;
    for (int i = 0; i < 150; ++i) {
        const std::string id = std::to_string(9000 + i);
        people.push_back(apptest::Person(id.c_str(), "Many", ("Person" + id).c_str(), ("m" + id + "@example.com").c_str()));
    }
    search->SetEnabledSearchButton(false);
    frame->OnSearchAnswer("0", 150, people.data());
    EXPECT_TRUE(search->GetEnabledSearchButton());
    ASSERT_EQ(frame->messenger.shown.size(), 1u);
    EXPECT_EQ(frame->messenger.shown[0].caption, "Search results");
    frame->messenger.shown.clear();
    EXPECT_EQ(results->GetCount(), 100);
    EXPECT_EQ(results->GetItemCount(), 101);
    EXPECT_STREQ(results->GetContact(99)->GetContact().id, "9099");
    Shot("orvane_search_13_hundred_rows.bmp");

    // Two paths, one of seven people with long names: 6 steps, cut with
    // "..." in a column of ordinary width.
    std::vector<ORVCONTACTINFO> shortPath(people.begin(), people.begin() + 2);
    std::vector<ORVCONTACTINFO> longPath;
    for (int i = 0; i < 7; ++i)
        longPath.push_back(apptest::Person(std::to_string(7000 + i).c_str(), "Bartholomew-Alexander",
                                           "Montgomery-Worthington", "long@example.com"));
    ORVPATHINFO found[2] = {{2, shortPath.data()}, {7, longPath.data()}};
    finder->SetEnabledSearchButton(false);
    frame->OnSearchPathByKeywordAnswer("0", 2, found);
    EXPECT_TRUE(finder->GetEnabledSearchButton());
    ASSERT_EQ(paths->GetCount(), 2);
    EXPECT_EQ(paths->GetPath(1)->GetSteps(), 6);
    ListView_SetColumnWidth(paths->GetSafeHwnd(), 1, 600);
    Shot("orvane_search_14_long_path.bmp");
    EXPECT_FALSE(paths->IsRowCut(0));
    EXPECT_TRUE(paths->IsRowCut(1)) << "seven long names do not fit 600 pixels";

    // No path for the keywords: the list empties, the member is told.
    frame->OnSearchPathByKeywordAnswer("11", 0, nullptr);
    EXPECT_EQ(paths->GetCount(), 0);
    ASSERT_EQ(frame->messenger.shown.size(), 1u);
    EXPECT_EQ(frame->messenger.shown[0].text, "Path not found");
    EXPECT_EQ(frame->messenger.shown[0].caption, "Search error");
    frame->messenger.shown.clear();
    paths->StretchLastColumn();
}

TEST_F(SearchFlow, TheToolbarWalksBackForwardAndHomeAfterTheseWalks) {
    CTreeControl* tree = frame->GetTreeControl();
    const CString me = frame->GetUserId();
    ASSERT_NO_FATAL_FAILURE(SearchFor(Query().c_str()));
    const CString previousRoot = frame->GetHistory().Current();
    // A person other than the current root, so that the walk moves.
    int pick = 0;
    while (pick + 1 < results->GetCount() && results->GetContact(pick)->GetContact().id == previousRoot) ++pick;
    const CString id = results->GetContact(pick)->GetContact().id;
    ASSERT_NE(id, previousRoot);
    DoubleClick(RowPoint(results->GetSafeHwnd(), pick));
    ASSERT_TRUE(Until([&] { return TreeShows(tree, id) && !frame->IsTreePending(); }));
    // The root one step back in the walk.
    const CString before = previousRoot;

    OrvToolBarCtrl* toolbar = reader->GetToolBarCtrl();
    Click(CentreOf(toolbar->GetButton(0)->GetSafeHwnd()));  // back
    ASSERT_TRUE(Until([&] { return TreeShows(tree, before) && !frame->IsTreePending(); })) << "back";
    Shot("orvane_search_11_back.bmp");
    Click(CentreOf(toolbar->GetButton(1)->GetSafeHwnd()));  // forward
    ASSERT_TRUE(Until([&] { return TreeShows(tree, id) && !frame->IsTreePending(); })) << "forward";
    Click(CentreOf(toolbar->GetButton(2)->GetSafeHwnd()));  // home
    ASSERT_TRUE(Until([&] { return TreeShows(tree, me) && !frame->IsTreePending(); })) << "home";
    Shot("orvane_search_12_home.bmp");
}

}  // namespace
