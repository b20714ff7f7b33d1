// The contact payload and the data object that carries it, without windows:
// the payload's layout, text blocks and their bounds, shared text blocks of
// copies, the refusal of payloads whose text blocks are not live blocks of
// this process, and the data object's formats, copies and bounds.
#include "CDataObject.h"
#include "CGlobalMemory.h"
#include "COleDataObject.h"
#include "COrvDragContactInfo.h"
#include "COrvDropTarget.h"
#include "DragTestSupport.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <cstring>
#include <string>
#include <vector>

using dragtest::SampleContact;
using dragtest::SameContact;

namespace {
// The payload's words as they lie in memory: class table pointer, then
// the signature, then the fields, each a 32-bit number or a pointer-sized
// handle.
struct PayloadBytes {
    std::vector<unsigned char> bytes;
    template <class T>
    T At(size_t offset) const {
        T value{};
        std::memcpy(&value, bytes.data() + offset, sizeof value);
        return value;
    }
};

PayloadBytes BytesOf(const COrvDragContactInfo& payload) {
    PayloadBytes image;
    image.bytes.resize(sizeof(COrvDragContactInfo));
    std::memcpy(image.bytes.data(), static_cast<const void*>(&payload), sizeof(COrvDragContactInfo));
    return image;
}

// Offsets of the fields on this build: 32-bit words on the 32-bit program,
// handles as wide as pointers (and aligned to them) on the 64-bit one.
struct Layout {
    size_t signature, id, nodeRank, firstName, lastName, email, occupation, isMember, canChat, chatPresence,
        emailPrivate, chatHidden;
};
Layout ThisLayout() {
    const size_t p = sizeof(void*);
    Layout at{};
    at.signature = p;
    at.id = p + 16;
    at.nodeRank = at.id + p;
    at.firstName = (at.nodeRank + 4 + p - 1) / p * p;
    at.lastName = at.firstName + p;
    at.email = at.lastName + p;
    at.occupation = at.email + p;
    at.isMember = at.occupation + p;
    at.canChat = at.isMember + 4;
    at.chatPresence = (at.canChat + 4 + p - 1) / p * p;
    at.emailPrivate = at.chatPresence + p;
    at.chatHidden = at.emailPrivate + 4;
    return at;
}

std::string TextOf(HGLOBAL block) { return std::string(COrvDragContactInfo::globalToStr(block)); }

CGlobalMemory BlockOf(const std::vector<unsigned char>& bytes) {
    CGlobalMemory block = CGlobalMemory::Allocate(bytes.size());
    CGlobalLock at(block.Get());
    std::memcpy(at.Get(), bytes.data(), bytes.size());
    return block;
}
}  // namespace

TEST(ContactPayload, LaysTheFieldsOutInTheirOrderBehindTheSignature) {
    const ORVCONTACTINFO contact = SampleContact();
    COrvDragContactInfo payload(&contact);
    const PayloadBytes image = BytesOf(payload);
    const Layout at = ThisLayout();
    if (sizeof(void*) == 4) {
        EXPECT_EQ(sizeof(COrvDragContactInfo), 64u);
        EXPECT_EQ(at.chatHidden, 60u) << "the 32-bit layout of the payload table";
    }
    EXPECT_EQ(sizeof(COrvDragContactInfo), at.chatHidden + 4 + (sizeof(void*) == 8 ? 0 : 0));
    EXPECT_EQ(image.At<GUID>(at.signature), COrvDragContactInfo::IID_OrvDragContactInfo);
    const GUID expected = {0x0904614E, 0xF81A, 0x4F86, {0xB3, 0xE5, 0x87, 0x53, 0xF9, 0xD9, 0x28, 0xDF}};
    EXPECT_EQ(image.At<GUID>(at.signature), expected);
    EXPECT_EQ(TextOf(image.At<HGLOBAL>(at.id)), "4711");
    EXPECT_EQ(image.At<int32_t>(at.nodeRank), 3);
    EXPECT_EQ(TextOf(image.At<HGLOBAL>(at.firstName)), "Ada");
    EXPECT_EQ(TextOf(image.At<HGLOBAL>(at.lastName)), "Lovelace");
    EXPECT_EQ(TextOf(image.At<HGLOBAL>(at.email)), "ada@example.com");
    EXPECT_EQ(TextOf(image.At<HGLOBAL>(at.occupation)), "Analyst of engines");
    EXPECT_EQ(image.At<int32_t>(at.isMember), 1);
    EXPECT_EQ(image.At<int32_t>(at.canChat), 1);
    EXPECT_EQ(TextOf(image.At<HGLOBAL>(at.chatPresence)), "O4711");
    EXPECT_EQ(image.At<int32_t>(at.emailPrivate), 0);
    EXPECT_EQ(image.At<int32_t>(at.chatHidden), 1);
}

TEST(ContactPayload, TextBlocksHoldTheTextAndElevenMoreZeroBytes) {
    const ORVCONTACTINFO contact = SampleContact();
    COrvDragContactInfo payload(&contact);
    HGLOBAL email = BytesOf(payload).At<HGLOBAL>(ThisLayout().email);
    ASSERT_NE(email, nullptr);
    EXPECT_EQ(::GlobalSize(email), std::strlen("ada@example.com") + 11);
    EXPECT_TRUE(::GlobalFlags(email) & GMEM_DDESHARE) << "shareable";
    CGlobalLock bytes(email);
    const char* text = bytes.As<const char>();
    EXPECT_EQ(std::memcmp(text, "ada@example.com", 15), 0);
    for (size_t i = 15; i < bytes.Size(); ++i) EXPECT_EQ(text[i], 0) << "byte " << i;
}

TEST(ContactPayload, RoundTripsEveryFieldAndAnEmptyPresenceStaysEmpty) {
    ORVCONTACTINFO contact = SampleContact();
    contact.chatPresence = "";
    contact.emailPrivate = 1;
    COrvDragContactInfo payload(&contact);
    ORVCONTACTINFO back;
    back.chatPresence = "stale";
    payload.GetContactInfo(&back);
    std::string difference;
    EXPECT_TRUE(SameContact(back, contact, &difference)) << difference;
    EXPECT_TRUE(back.chatPresence.IsEmpty());

    COrvDragContactInfo empty(nullptr);
    ORVCONTACTINFO none = SampleContact();
    empty.GetContactInfo(&none);
    EXPECT_TRUE(SameContact(none, ORVCONTACTINFO()));
}

TEST(ContactPayload, ReadingABlockStopsAtItsFirstZeroWithinAllButTenBytes) {
    EXPECT_EQ(TextOf(nullptr), "");
    std::vector<unsigned char> unterminated(25, 'x');  // no zero at all
    CGlobalMemory full = BlockOf(unterminated);
    EXPECT_EQ(TextOf(full.Get()), std::string(15, 'x')) << "never beyond size - 10";
    CGlobalMemory tiny = BlockOf(std::vector<unsigned char>(10, 'y'));
    EXPECT_EQ(TextOf(tiny.Get()), "");
    std::vector<unsigned char> early = {'a', 'b', 0, 'c', 'd', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    CGlobalMemory stop = BlockOf(early);
    EXPECT_EQ(TextOf(stop.Get()), "ab");
    CGlobalMemory empty(COrvDragContactInfo::strToGlobal(""));
    EXPECT_EQ(::GlobalSize(empty.Get()), 11u);
    EXPECT_EQ(TextOf(empty.Get()), "");
}

TEST(ContactPayload, CopiesShareTheTextBlocksAndTheLastOwnerFreesThem) {
    const ORVCONTACTINFO contact = SampleContact();
    auto original = std::make_unique<COrvDragContactInfo>(&contact);
    HGLOBAL id = BytesOf(*original).At<HGLOBAL>(ThisLayout().id);
    COrvDragContactInfo copy(*original);
    EXPECT_EQ(BytesOf(copy).At<HGLOBAL>(ThisLayout().id), id) << "shared, not duplicated";
    COrvDragContactInfo assigned(nullptr);
    assigned = copy;
    assigned = assigned;
    original.reset();
    ORVCONTACTINFO back;
    copy.GetContactInfo(&back);
    EXPECT_EQ(std::string(back.id), "4711") << "the copy still owns the blocks";

    const std::vector<unsigned char> image = BytesOf(copy).bytes;
    CGlobalMemory block = BlockOf(image);
    CGlobalLock bytes(block.Get());
    ORVCONTACTINFO read;
    EXPECT_TRUE(COrvDragContactInfo::ReadPayload(bytes.Get(), bytes.Size(), &read));
    {
        COrvDragContactInfo last(nullptr);
        last = copy;
        copy = COrvDragContactInfo(nullptr);
        assigned = COrvDragContactInfo(nullptr);
    }
    read = ORVCONTACTINFO();
    EXPECT_FALSE(COrvDragContactInfo::ReadPayload(bytes.Get(), bytes.Size(), &read))
        << "once the last owner is gone the payload is stale";
    EXPECT_TRUE(read.id.IsEmpty());
}

TEST(ContactPayload, APayloadIsReadOnlyWithTheSignatureAndLiveBlocksOfThisProcess) {
    const ORVCONTACTINFO contact = SampleContact();
    COrvDragContactInfo payload(&contact);
    const Layout at = ThisLayout();
    std::vector<unsigned char> image = BytesOf(payload).bytes;
    ORVCONTACTINFO read;
    ASSERT_TRUE(COrvDragContactInfo::ReadPayload(image.data(), image.size(), &read));
    EXPECT_TRUE(SameContact(read, contact));

    EXPECT_FALSE(COrvDragContactInfo::ReadPayload(image.data(), image.size() - 1, &read)) << "short";
    EXPECT_FALSE(COrvDragContactInfo::ReadPayload(nullptr, 64, &read));
    EXPECT_FALSE(COrvDragContactInfo::ReadPayload(image.data(), image.size(), nullptr));

    std::vector<unsigned char> otherSignature = image;
    otherSignature[at.signature + 15] ^= 0x01;
    EXPECT_FALSE(COrvDragContactInfo::HasSignature(otherSignature.data(), otherSignature.size()));
    ORVCONTACTINFO untouched = SampleContact();
    untouched.firstName = "unchanged";
    EXPECT_FALSE(COrvDragContactInfo::ReadPayload(otherSignature.data(), otherSignature.size(), &untouched));
    EXPECT_EQ(std::string(untouched.firstName), "unchanged");

    // A handle that is no payload block here, as another process's payload
    // or a forged one brings: a real block of this process, and values
    // that are no block at all.
    CGlobalMemory stranger(COrvDragContactInfo::strToGlobal("not a payload block"));
    for (HGLOBAL forged : {stranger.Get(), reinterpret_cast<HGLOBAL>(0x1234), reinterpret_cast<HGLOBAL>(-8)}) {
        std::vector<unsigned char> foreign = image;
        std::memcpy(foreign.data() + at.email, &forged, sizeof forged);
        EXPECT_TRUE(COrvDragContactInfo::HasSignature(foreign.data(), foreign.size()));
        EXPECT_FALSE(COrvDragContactInfo::ReadPayload(foreign.data(), foreign.size(), &untouched));
    }
    EXPECT_EQ(std::string(untouched.firstName), "unchanged");
}

TEST(ContactPayload, AGlobalBlockCarriesThePayloadAtItsStart) {
    const ORVCONTACTINFO contact = SampleContact();
    COrvDragContactInfo payload(&contact);
    CGlobalMemory block(payload.CreateGlobalBlock(74));
    ASSERT_TRUE(block);
    EXPECT_GE(block.Size(), 74u);
    CGlobalLock bytes(block.Get());
    EXPECT_EQ(std::memcmp(bytes.Get(), static_cast<const void*>(&payload), sizeof payload), 0);
    for (size_t i = sizeof payload; i < 74; ++i) EXPECT_EQ(bytes.As<unsigned char>()[i], 0);
    CGlobalMemory small(payload.CreateGlobalBlock(1));
    EXPECT_GE(small.Size(), sizeof payload) << "never shorter than the payload";
}

TEST(ContactDataObject, HandsOutCopiesOfItsBlocksByFormat) {
    CComPtr<CDataObject> data;
    data.Attach(new CDataObject);
    const CLIPFORMAT contactFormat = static_cast<CLIPFORMAT>(COrvDropTarget::GetClipboardFormat());
    ASSERT_NE(contactFormat, 0);
    char name[64] = {};
    ::GetClipboardFormatNameA(contactFormat, name, sizeof name);
    EXPECT_STREQ(name, "OrvaneContact");

    ASSERT_TRUE(data->AddGlobalData(CF_TEXT, COrvDragContactInfo::strToGlobal("Ada Lovelace ada@example.com"), true));
    FORMATETC text{CF_TEXT, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    STGMEDIUM first{}, second{};
    ASSERT_EQ(data->GetData(&text, &first), S_OK);
    ASSERT_EQ(data->GetData(&text, &second), S_OK);
    EXPECT_NE(first.hGlobal, second.hGlobal) << "every receiver gets a block of its own";
    EXPECT_EQ(first.pUnkForRelease, nullptr);
    EXPECT_EQ(TextOf(first.hGlobal), "Ada Lovelace ada@example.com");
    ::ReleaseStgMedium(&first);
    EXPECT_EQ(TextOf(second.hGlobal), "Ada Lovelace ada@example.com") << "the copies are independent";
    ::ReleaseStgMedium(&second);

    FORMATETC missing{contactFormat, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    EXPECT_EQ(data->QueryGetData(&missing), DV_E_FORMATETC);
    STGMEDIUM none{};
    EXPECT_EQ(data->GetData(&missing, &none), DV_E_FORMATETC);
    FORMATETC stream{CF_TEXT, nullptr, DVASPECT_CONTENT, -1, TYMED_ISTREAM};
    EXPECT_EQ(data->QueryGetData(&stream), DV_E_TYMED);
    EXPECT_EQ(data->QueryGetData(&text), S_OK);
    EXPECT_FALSE(data->AddGlobalData(0, COrvDragContactInfo::strToGlobal("x"), true)) << "no format";
    EXPECT_FALSE(data->AddGlobalData(CF_TEXT, nullptr, true)) << "no block";
}

TEST(ContactDataObject, EnumeratesItsFormatsInOrderAndReplacesAFormatOfferedAgain) {
    CComPtr<CDataObject> data;
    data.Attach(new CDataObject);
    const CLIPFORMAT contactFormat = static_cast<CLIPFORMAT>(COrvDropTarget::GetClipboardFormat());
    data->AddGlobalData(contactFormat, COrvDragContactInfo::strToGlobal("one"), true);
    data->AddGlobalData(CF_TEXT, COrvDragContactInfo::strToGlobal("two"), true);
    data->AddGlobalData(contactFormat, COrvDragContactInfo::strToGlobal("three"), true);
    EXPECT_EQ(data->GetCount(), 2);
    CComPtr<IEnumFORMATETC> formats;
    ASSERT_EQ(data->EnumFormatEtc(DATADIR_GET, formats.Receive()), S_OK);
    FORMATETC listed[4] = {};
    ULONG count = 0;
    formats->Next(4, listed, &count);
    ASSERT_EQ(count, 2u);
    EXPECT_EQ(listed[0].cfFormat, contactFormat);
    EXPECT_EQ(listed[1].cfFormat, CF_TEXT);
    EXPECT_EQ(listed[0].tymed, static_cast<DWORD>(TYMED_HGLOBAL));

    COleDataObject received(data.Get());
    EXPECT_TRUE(received.IsDataAvailable(contactFormat));
    EXPECT_EQ(TextOf(received.GetGlobalData(contactFormat).Get()), "three");
    EXPECT_FALSE(received.GetGlobalData(contactFormat, 5)) << "larger than the reader takes";
    IEnumFORMATETC* setFormats = nullptr;
    EXPECT_EQ(data->EnumFormatEtc(DATADIR_SET, &setFormats), E_NOTIMPL);
}

TEST(ContactDataObject, KeepsOthersBlocksAliveAndBoundsWhatOthersStore) {
    CGlobalMemory kept(COrvDragContactInfo::strToGlobal("the caller's"));
    {
        CComPtr<CDataObject> data;
        data.Attach(new CDataObject);
        ASSERT_TRUE(data->AddGlobalData(CF_TEXT, kept.Get(), false));

        // Another component stores formats of its own, as the shell's
        // drag-image service does; its medium stays its own.
        int stored = 1;
        for (int i = 0; i < CDataObject::kMaxFormats + 10; ++i) {
            const CLIPFORMAT format = static_cast<CLIPFORMAT>(0xC100 + i);
            CGlobalMemory block(COrvDragContactInfo::strToGlobal("other"));
            FORMATETC description{format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
            STGMEDIUM medium{};
            medium.tymed = TYMED_HGLOBAL;
            medium.hGlobal = block.Get();
            if (data->SetData(&description, &medium, FALSE) == S_OK) ++stored;
        }
        EXPECT_EQ(stored, CDataObject::kMaxFormats) << "bounded";
        EXPECT_EQ(data->GetCount(), CDataObject::kMaxFormats);

        FORMATETC aspect{CF_TEXT, nullptr, DVASPECT_ICON, -1, TYMED_HGLOBAL};
        STGMEDIUM medium{};
        medium.tymed = TYMED_HGLOBAL;
        medium.hGlobal = kept.Get();
        EXPECT_EQ(data->SetData(&aspect, &medium, FALSE), DV_E_DVASPECT);
    }
    EXPECT_EQ(TextOf(kept.Get()), "the caller's") << "a kept block outlives the data object";
}
