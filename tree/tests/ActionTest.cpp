// SetData and the actions: which action runs, the action semaphore across
// threads (waiting, refusing, bursts), the hand-over of records from other
// threads, failures that must not leave the tree locked, and the pumping
// between frames.
#include "CNodesList.h"
#include "CRootItem.h"
#include "CTreeException.h"
#include "CTreeItem.h"
#include "OrvSoundReader.h"
#include "OrvSoundSource.h"
#include "TreeTestSupport.h"

#include "CSubclassWnd.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <thread>
#include <vector>

using namespace treetest;

namespace {

constexpr UINT kSelect = 0x8032, kSqueeze = 0x8033, kInstant = 0x8034, kHidden = 0x8035;

// The action messages the tree's window receives, in order.
class ActionSpy : public CSubclassWnd {
public:
    explicit ActionSpy(CTreeControl& tree) { HookWindow(tree.GetSafeHwnd()); }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message >= kSelect && message <= kHidden) actions.push_back(message);
        return CallNext(message, wParam, lParam);
    }
    std::vector<UINT> actions;
};

class RecordingSounds : public OrvSoundSource {
public:
    CString GetSoundFile(const char* eventName) const override {
        events.push_back(eventName);
        if (onAsk) onAsk();
        return "";
    }
    mutable std::vector<std::string> events;
    std::function<void()> onAsk;
};

// A thread joined when the object goes, so none outlives its test.
class Worker {
public:
    template <class F>
    explicit Worker(F&& body) : m_thread(std::forward<F>(body)) {}
    ~Worker() { Join(); }
    void Join() {
        if (m_thread.joinable()) m_thread.join();
    }

private:
    std::thread m_thread;
};

}  // namespace

TEST(TreeActions, TheFirstDataArrivesInstantlyWhateverTheAction) {
    TreeHost host;
    ASSERT_TRUE(host.Ready());
    RecordingSounds sounds;
    host.Tree().Advise(ORV_SOUNDS, &sounds);
    ActionSpy spy(host.Tree());
    std::vector<ORVCONTACTINFO> people = People(6);
    ASSERT_EQ(host.Tree().SetData(people.data(), static_cast<unsigned>(people.size()), ANIM_SELECT), 1);
    EXPECT_FALSE(host.Tree().isAComplete()) << "busy until the action ran";
    EXPECT_TRUE(host.Tree().IsLocked());
    ASSERT_TRUE(host.WaitIdle());
    EXPECT_EQ(spy.actions, std::vector<UINT>{kInstant});
    EXPECT_TRUE(sounds.events.empty());
    CNodesList* list = host.Tree().GetCurrentList();
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(host.Tree().GetBufferedList(), nullptr) << "the buffered list became current";
    for (int i = 0; i < list->GetChildCount(); ++i) EXPECT_EQ(list->GetChild(i)->GetScale(), 1.0);
    host.Tree().Advise(ORV_SOUNDS, nullptr);
}

TEST(TreeActions, SelectWithoutAHighlightedChildSqueezesAndHiddenIsSilent) {
    TreeHost host;
    ASSERT_TRUE(host.Ready());
    RecordingSounds sounds;
    host.Tree().Advise(ORV_SOUNDS, &sounds);
    std::vector<ORVCONTACTINFO> first = People(5);
    ASSERT_TRUE(host.ShowPeople(first));
    ActionSpy spy(host.Tree());

    // The root is highlighted: the select action becomes the squeeze.
    std::vector<ORVCONTACTINFO> second = People(7, "Grace");
    ASSERT_TRUE(host.ShowPeople(second, ANIM_SELECT));
    EXPECT_EQ(spy.actions, std::vector<UINT>{kSqueeze});
    EXPECT_EQ(sounds.events, std::vector<std::string>{"ActionSqueeze"});
    CNodesList* list = host.Tree().GetCurrentList();
    EXPECT_STREQ(list->GetRoot()->GetContact().firstName, "Grace");
    EXPECT_EQ(list->GetHighlighted(), list->GetRoot()) << "the new root is highlighted";
    for (int i = 0; i < list->GetChildCount(); ++i) EXPECT_EQ(list->GetChild(i)->GetScale(), 1.0);

    // With nothing highlighted, the same.
    {
        CSingleLock lock(host.Tree().GetListLock());
        list->ClearHighlight();
    }
    std::vector<ORVCONTACTINFO> third = People(3, "Hedy");
    ASSERT_TRUE(host.ShowPeople(third, ANIM_SELECT));
    EXPECT_EQ(spy.actions.back(), kSqueeze);

    sounds.events.clear();
    std::vector<ORVCONTACTINFO> fourth = People(4, "Ida");
    ASSERT_TRUE(host.ShowPeople(fourth, ANIM_HIDDEN));
    EXPECT_EQ(spy.actions.back(), kHidden);
    EXPECT_TRUE(sounds.events.empty()) << "the hidden action plays nothing";
    EXPECT_STREQ(host.Tree().GetCurrentList()->GetRoot()->GetContact().firstName, "Ida");

    // A highlighted child: the selection, with its sound.
    list = host.Tree().GetCurrentList();
    {
        CSingleLock lock(host.Tree().GetListLock());
        list->Highlight(list->GetVisible(1), false);
    }
    std::vector<ORVCONTACTINFO> fifth = People(4, "Joan");
    ASSERT_TRUE(host.ShowPeople(fifth, ANIM_SELECT));
    EXPECT_EQ(spy.actions.back(), kSelect);
    EXPECT_EQ(sounds.events, std::vector<std::string>{"ActionSelect"});
    host.Tree().Advise(ORV_SOUNDS, nullptr);
}

TEST(TreeActions, AnActionBeyondTheFourPostsNothingAndHoldsTheTreeUntilCompleted) {
    TreeHost host;
    ASSERT_TRUE(host.Ready());
    std::vector<ORVCONTACTINFO> first = People(2);
    ASSERT_TRUE(host.ShowPeople(first));
    ActionSpy spy(host.Tree());
    std::vector<ORVCONTACTINFO> second = People(3, "Grace");
    ASSERT_EQ(host.Tree().SetData(second.data(), 4, static_cast<ANIM_ACTION>(4)), 1);
    PumpPending();
    EXPECT_TRUE(spy.actions.empty());
    EXPECT_TRUE(host.Tree().IsLocked());
    EXPECT_NE(host.Tree().GetBufferedList(), nullptr) << "built, waiting";
    host.Tree().DoActionComplete();
    EXPECT_FALSE(host.Tree().IsLocked());
    EXPECT_TRUE(host.Tree().isAComplete());
}

TEST(TreeActions, NullRecordsAreRefused) {
    TreeHost host;
    ASSERT_TRUE(host.Ready());
    EXPECT_EQ(host.Tree().SetData(nullptr, 5, ANIM_INSTANT), 0);
    EXPECT_FALSE(host.Tree().IsLocked());
    EXPECT_TRUE(host.Tree().isAComplete());
    CTreeControl unmade;
    std::vector<ORVCONTACTINFO> people = People(2);
    EXPECT_EQ(unmade.SetData(people.data(), 3, ANIM_INSTANT), 0) << "no window yet";
}

TEST(TreeActions, SetDataFromAnotherThreadWaitsForTheRunningAction) {
    TreeHost host;
    ASSERT_TRUE(host.Ready());
    std::vector<ORVCONTACTINFO> first = People(4);
    ASSERT_TRUE(host.ShowPeople(first));
    // An action is running: its owner holds the semaphore.
    ASSERT_TRUE(host.Tree().DoStartingAction(1000));
    ASSERT_TRUE(host.Tree().IsLocked());

    std::vector<ORVCONTACTINFO> second = People(6, "Grace");
    std::atomic<bool> started{false}, released{false}, returned{false};
    std::atomic<int> result{-1};
    std::atomic<bool> releasedBeforeReturn{false};
    Worker worker([&] {
        started = true;
        result = host.Tree().SetData(second.data(), static_cast<unsigned>(second.size()), ANIM_INSTANT);
        releasedBeforeReturn = released.load();
        returned = true;
    });
    ASSERT_TRUE(PumpUntil([&] { return started.load(); }));
    PumpPending();
    EXPECT_FALSE(returned) << "waiting for the action";
    EXPECT_EQ(host.Tree().GetBufferedList(), nullptr) << "nothing built while waiting";
    released = true;
    host.Tree().DoActionComplete();
    ASSERT_TRUE(PumpUntil([&] { return returned.load(); }));
    worker.Join();
    EXPECT_EQ(result, 1);
    EXPECT_TRUE(releasedBeforeReturn) << "it waited for the release";
    ASSERT_TRUE(host.WaitIdle());
    EXPECT_STREQ(host.Tree().GetCurrentList()->GetRoot()->GetContact().firstName, "Grace");
}

TEST(TreeActions, SetDataGivesUpWhenTheActionDoesNotEndWithinThirtySeconds) {
    TreeHost host;
    ASSERT_TRUE(host.Ready());
    std::vector<ORVCONTACTINFO> first = People(4);
    ASSERT_TRUE(host.ShowPeople(first));
    CNodesList* current = host.Tree().GetCurrentList();
    ASSERT_TRUE(host.Tree().DoStartingAction(1000));
    std::vector<ORVCONTACTINFO> second = People(6, "Grace");
    std::atomic<bool> returned{false};
    std::atomic<int> result{-1};
    ULONGLONG waited = 0;
    Worker worker([&] {
        const ULONGLONG start = ::GetTickCount64();
        result = host.Tree().SetData(second.data(), static_cast<unsigned>(second.size()), ANIM_INSTANT);
        waited = ::GetTickCount64() - start;
        returned = true;
    });
    ASSERT_TRUE(PumpUntil([&] { return returned.load(); }, 120000));
    worker.Join();
    EXPECT_EQ(result, 0);
    EXPECT_GE(waited, 29900u) << "it waited the full time first";
    EXPECT_EQ(host.Tree().GetCurrentList(), current) << "nothing changed";
    EXPECT_EQ(host.Tree().GetBufferedList(), nullptr);
    EXPECT_TRUE(host.Tree().IsLocked()) << "the holder still holds it";
    host.Tree().DoActionComplete();
    std::vector<ORVCONTACTINFO> third = People(2, "Hedy");
    EXPECT_TRUE(host.ShowPeople(third)) << "the tree takes data again";
}

TEST(TreeActions, NoRecordFromAnotherThreadIsReportedRefusedAndLeavesTheTreeFree) {
    TreeHost host;
    ASSERT_TRUE(host.Ready());
    std::vector<ORVCONTACTINFO> first = People(3);
    ASSERT_TRUE(host.ShowPeople(first));
    MessageBoxCloser closer;
    std::atomic<bool> returned{false};
    std::atomic<int> result{-1};
    Worker worker([&] {
        result = host.Tree().SetData(first.data(), 0, ANIM_INSTANT);
        returned = true;
    });
    ASSERT_TRUE(PumpUntil([&] { return returned.load(); }));
    worker.Join();
    EXPECT_EQ(result, 0);
    ASSERT_EQ(closer.Texts().size(), 1u);
    EXPECT_EQ(closer.Texts()[0], "ETreeException Too few nodes at line 45 in file NodesList\n");
    EXPECT_FALSE(host.Tree().IsLocked()) << "a failed build does not keep the tree locked";
    EXPECT_TRUE(host.Tree().isAComplete());
    std::vector<ORVCONTACTINFO> second = People(2, "Grace");
    EXPECT_TRUE(host.ShowPeople(second));
}

TEST(TreeActions, NoRecordOnTheControlsThreadRaisesAndLeavesTheTreeFree) {
    TreeHost host;
    ASSERT_TRUE(host.Ready());
    MessageBoxCloser closer;
    std::vector<ORVCONTACTINFO> people = People(3);
    EXPECT_THROW(host.Tree().SetData(people.data(), 0, ANIM_INSTANT), CTreeException);
    EXPECT_EQ(closer.Texts().size(), 1u);
    EXPECT_FALSE(host.Tree().IsLocked());
    EXPECT_TRUE(host.Tree().isAComplete());
}

TEST(TreeActions, ABurstOfSetDataFromManyThreadsIsTakenOneAfterAnother) {
    TreeHost host;
    ASSERT_TRUE(host.Ready());
    ActionSpy spy(host.Tree());
    constexpr int kThreads = 6, kCalls = 3;
    std::atomic<int> accepted{0}, finished{0};
    std::vector<std::unique_ptr<Worker>> workers;
    for (int t = 0; t < kThreads; ++t) {
        workers.push_back(std::make_unique<Worker>([&, t] {
            for (int call = 0; call < kCalls; ++call) {
                std::vector<ORVCONTACTINFO> people = People(3 + t + call, "T" + std::to_string(t));
                accepted += host.Tree().SetData(people.data(), static_cast<unsigned>(people.size()),
                                                call % 2 ? ANIM_HIDDEN : ANIM_INSTANT);
            }
            ++finished;
        }));
    }
    ASSERT_TRUE(PumpUntil([&] { return finished.load() == kThreads; }, 120000));
    for (auto& worker : workers) worker->Join();
    ASSERT_TRUE(host.WaitIdle());
    EXPECT_EQ(accepted, kThreads * kCalls);
    EXPECT_EQ(spy.actions.size(), static_cast<size_t>(kThreads * kCalls)) << "one action per call";
    ASSERT_NE(host.Tree().GetCurrentList(), nullptr);
    EXPECT_EQ(host.Tree().GetBufferedList(), nullptr);
}

TEST(TreeActions, SetDataInsideAnActionOnTheControlsThreadIsRefusedAtOnce) {
    TreeHost host;
    ASSERT_TRUE(host.Ready());
    std::vector<ORVCONTACTINFO> first = People(4);
    ASSERT_TRUE(host.ShowPeople(first));
    RecordingSounds sounds;
    std::vector<ORVCONTACTINFO> nested = People(2, "Nested");
    int nestedResult = -1;
    ULONGLONG nestedTook = 0;
    // The squeeze asks for its sound inside the action.
    sounds.onAsk = [&] {
        if (nestedResult != -1) return;
        const ULONGLONG start = ::GetTickCount64();
        nestedResult = host.Tree().SetData(nested.data(), 2, ANIM_INSTANT);
        nestedTook = ::GetTickCount64() - start;
    };
    host.Tree().Advise(ORV_SOUNDS, &sounds);
    std::vector<ORVCONTACTINFO> second = People(5, "Grace");
    ASSERT_TRUE(host.ShowPeople(second, ANIM_SQUEEZE));
    EXPECT_EQ(nestedResult, 0);
    EXPECT_LT(nestedTook, 30000u) << "refused without the full wait";
    EXPECT_STREQ(host.Tree().GetCurrentList()->GetRoot()->GetContact().firstName, "Grace");
    EXPECT_FALSE(host.Tree().IsLocked());
    host.Tree().Advise(ORV_SOUNDS, nullptr);
}

TEST(TreeActions, TwoSetDataOnTheControlsThreadRunBothActions) {
    TreeHost host;
    ASSERT_TRUE(host.Ready());
    ActionSpy spy(host.Tree());
    std::vector<ORVCONTACTINFO> first = People(3);
    std::vector<ORVCONTACTINFO> second = People(4, "Grace");
    ASSERT_EQ(host.Tree().SetData(first.data(), static_cast<unsigned>(first.size()), ANIM_INSTANT), 1);
    // The first action is still queued here: the second call lets it run.
    ASSERT_EQ(host.Tree().SetData(second.data(), static_cast<unsigned>(second.size()), ANIM_HIDDEN), 1);
    ASSERT_TRUE(host.WaitIdle());
    EXPECT_EQ(spy.actions, (std::vector<UINT>{kInstant, kHidden}));
    EXPECT_STREQ(host.Tree().GetCurrentList()->GetRoot()->GetContact().firstName, "Grace");
}

TEST(TreeActions, PumpingStopsAtAQuitMessageAndLeavesItQueued) {
    TreeHost host;
    ASSERT_TRUE(host.Ready());
    ASSERT_TRUE(host.Tree().DoStartingAction(1000));
    ::PostMessageA(host.Tree().GetSafeHwnd(), WM_NULL, 0, 0);
    ::PostQuitMessage(7);
    host.Tree().DoActionComplete();
    EXPECT_FALSE(host.Tree().IsLocked());
    MSG msg;
    ASSERT_TRUE(::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT))
        << "the message before it was pumped, the quit is left for the loop";
    EXPECT_EQ(msg.wParam, 7u);
}

namespace {
// The shipped sound themes, noting the files the tree was given.
class NotingSoundReader : public OrvSoundReader {
public:
    using OrvSoundReader::OrvSoundReader;
    CString GetSoundFile(const char* eventName) const override {
        const CString file = OrvSoundReader::GetSoundFile(eventName);
        files.push_back(std::string(eventName) + "=" + file.GetString());
        return file;
    }
    mutable std::vector<std::string> files;
};
}  // namespace

TEST(TreeActions, TheShippedSoundThemePlaysPagingAndTheActions) {
    TreeHost host;
    ASSERT_TRUE(host.Ready());
    char program[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, program, MAX_PATH);
    std::string folder = program;
    folder = folder.substr(0, folder.find_last_of('\\') + 1) + "Sounds";
    NotingSoundReader sounds(folder.c_str());
    ASSERT_GT(sounds.GetThemaCount(), 0);
    ASSERT_EQ(host.Tree().Advise(ORV_SOUNDS, &sounds), 1);
    std::vector<ORVCONTACTINFO> first = People(25);
    ASSERT_TRUE(host.ShowPeople(first));
    ::PostMessageA(host.Tree().GetSafeHwnd(), WM_KEYDOWN, VK_RIGHT, 1);
    PumpPending();
    std::vector<ORVCONTACTINFO> second = People(3, "Grace");
    ASSERT_TRUE(host.ShowPeople(second, ANIM_SQUEEZE));
    ASSERT_EQ(sounds.files.size(), 2u);
    for (const std::string& event : {std::string("PageSelect"), std::string("ActionSqueeze")}) {
        const bool found = std::any_of(sounds.files.begin(), sounds.files.end(), [&](const std::string& f) {
            return f.rfind(event + "=", 0) == 0 && f.find(event + ".wav") != std::string::npos;
        });
        EXPECT_TRUE(found) << event;
    }
    // Each was a real file, played without waiting and without a default.
    for (const std::string& noted : sounds.files) {
        const std::string file = noted.substr(noted.find('=') + 1);
        EXPECT_NE(::GetFileAttributesA(file.c_str()), INVALID_FILE_ATTRIBUTES) << file;
    }
    host.Tree().Advise(ORV_SOUNDS, nullptr);
}
