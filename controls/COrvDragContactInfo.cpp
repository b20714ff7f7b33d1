#include "COrvDragContactInfo.h"

#include "CCriticalSection.h"
#include "CException.h"
#include "CGlobalMemory.h"

#include <cstring>
#include <map>

// {0904614E-F81A-4F86-B3E5-8753F9D928DF}
const GUID COrvDragContactInfo::IID_OrvDragContactInfo = {
    0x0904614E, 0xF81A, 0x4F86, {0xB3, 0xE5, 0x87, 0x53, 0xF9, 0xD9, 0x28, 0xDF}};

namespace {
const UINT kTextBlockFlags = GMEM_MOVEABLE | GMEM_SHARE | GMEM_ZEROINIT;
// Bytes a text block holds beyond its characters.
const size_t kTextBlockSpare = 11;

// The text blocks of live payloads in this process, with their number of
// owners (a payload and its copies).
class TextBlocks {
public:
    static TextBlocks& Instance() {
        static TextBlocks blocks;
        return blocks;
    }
    CCriticalSection& Lock() { return m_lock; }
    // With the lock held.
    void Add(HGLOBAL block) {
        if (block) ++m_owners[block];
    }
    bool Release(HGLOBAL block) {
        auto found = m_owners.find(block);
        if (found == m_owners.end()) return false;
        if (--found->second > 0) return false;
        m_owners.erase(found);
        return true;
    }
    bool IsLive(HGLOBAL block) const { return !block || m_owners.count(block) != 0; }

private:
    CCriticalSection m_lock;
    std::map<HGLOBAL, int> m_owners;
};
}  // namespace

COrvDragContactInfo::COrvDragContactInfo(const ORVCONTACTINFO* contact) : m_fields{} {
    m_fields.signature = IID_OrvDragContactInfo;
    if (!contact) return;
    m_fields.nodeRank = contact->nodeRank;
    m_fields.isMember = contact->isMember;
    m_fields.canChat = contact->canChat;
    m_fields.emailPrivate = contact->emailPrivate;
    m_fields.chatHidden = contact->chatHidden;
    HGLOBAL* blocks[] = {&m_fields.id, &m_fields.firstName, &m_fields.lastName,
                         &m_fields.email, &m_fields.occupation, &m_fields.chatPresence};
    const CString* texts[] = {&contact->id, &contact->firstName, &contact->lastName,
                              &contact->email, &contact->occupation, &contact->chatPresence};
    try {
        for (size_t i = 0; i < 6; ++i) *blocks[i] = strToGlobal(*texts[i]);
    } catch (...) {
        for (HGLOBAL* block : blocks) {
            if (*block) ::GlobalFree(*block);
            *block = nullptr;
        }
        throw;
    }
    AddOwner();
}

COrvDragContactInfo::COrvDragContactInfo(const COrvDragContactInfo& other) : m_fields(other.m_fields) {
    AddOwner();
}

COrvDragContactInfo& COrvDragContactInfo::operator=(const COrvDragContactInfo& other) {
    if (this != &other) {
        other.AddOwner();
        ReleaseOwner();
        m_fields = other.m_fields;
    }
    return *this;
}

COrvDragContactInfo::~COrvDragContactInfo() { ReleaseOwner(); }

void COrvDragContactInfo::AddOwner() const {
    TextBlocks& registry = TextBlocks::Instance();
    CSingleLock hold(registry.Lock());
    for (HGLOBAL block : {m_fields.id, m_fields.firstName, m_fields.lastName, m_fields.email,
                          m_fields.occupation, m_fields.chatPresence})
        registry.Add(block);
}

void COrvDragContactInfo::ReleaseOwner() {
    TextBlocks& registry = TextBlocks::Instance();
    CSingleLock hold(registry.Lock());
    for (HGLOBAL block : {m_fields.id, m_fields.firstName, m_fields.lastName, m_fields.email,
                          m_fields.occupation, m_fields.chatPresence})
        if (block && registry.Release(block)) ::GlobalFree(block);
}

void COrvDragContactInfo::GetContactInfo(ORVCONTACTINFO* contact) const {
    if (contact) FillContact(m_fields, contact);
}

void COrvDragContactInfo::FillContact(const Fields_t& fields, ORVCONTACTINFO* contact) {
    contact->id = globalToStr(fields.id);
    contact->nodeRank = fields.nodeRank;
    contact->firstName = globalToStr(fields.firstName);
    contact->lastName = globalToStr(fields.lastName);
    contact->email = globalToStr(fields.email);
    contact->occupation = globalToStr(fields.occupation);
    contact->isMember = fields.isMember;
    contact->canChat = fields.canChat;
    contact->chatPresence = globalToStr(fields.chatPresence);
    contact->emailPrivate = fields.emailPrivate;
    contact->chatHidden = fields.chatHidden;
}

HGLOBAL COrvDragContactInfo::CreateGlobalBlock(size_t blockSize) const {
    static_assert(sizeof(COrvDragContactInfo) == sizeof(void*) + sizeof(Fields_t),
                  "the fields follow the class table pointer");
    if (blockSize < sizeof(COrvDragContactInfo)) blockSize = sizeof(COrvDragContactInfo);
    CGlobalMemory block = CGlobalMemory::Allocate(blockSize, kTextBlockFlags);
    if (!block) AfxThrowMemoryException();
    CGlobalLock bytes(block.Get());
    if (!bytes.Get()) AfxThrowMemoryException();
    std::memcpy(bytes.Get(), static_cast<const void*>(this), sizeof(COrvDragContactInfo));
    return block.Release();
}

bool COrvDragContactInfo::HasSignature(const void* bytes, size_t size) {
    if (!bytes || size < sizeof(COrvDragContactInfo)) return false;
    GUID signature;
    std::memcpy(&signature, static_cast<const char*>(bytes) + sizeof(void*), sizeof signature);
    return IsEqualGUID(signature, IID_OrvDragContactInfo) != 0;
}

bool COrvDragContactInfo::ReadPayload(const void* bytes, size_t size, ORVCONTACTINFO* contact) {
    if (!contact || !HasSignature(bytes, size)) return false;
    Fields_t fields;
    std::memcpy(&fields, static_cast<const char*>(bytes) + sizeof(void*), sizeof fields);
    TextBlocks& registry = TextBlocks::Instance();
    // Held while reading, so no owner frees a block under the reader.
    CSingleLock hold(registry.Lock());
    for (HGLOBAL block : {fields.id, fields.firstName, fields.lastName, fields.email, fields.occupation,
                          fields.chatPresence})
        if (!registry.IsLive(block)) return false;
    FillContact(fields, contact);
    return true;
}

HGLOBAL COrvDragContactInfo::strToGlobal(const char* text) {
    const size_t length = text ? std::strlen(text) : 0;
    CGlobalMemory block = CGlobalMemory::Allocate(length + kTextBlockSpare, kTextBlockFlags);
    if (!block) AfxThrowMemoryException();
    CGlobalLock bytes(block.Get());
    if (!bytes.Get()) AfxThrowMemoryException();
    if (length) std::memcpy(bytes.Get(), text, length);
    return block.Release();
}

CString COrvDragContactInfo::globalToStr(HGLOBAL block) {
    if (!block) return CString();
    CGlobalLock bytes(block);
    if (!bytes.Get() || bytes.Size() <= kTextBlockSpare - 1) return CString();
    const size_t limit = bytes.Size() - (kTextBlockSpare - 1);
    const char* text = bytes.As<const char>();
    const void* end = std::memchr(text, 0, limit);
    const size_t length = end ? static_cast<size_t>(static_cast<const char*>(end) - text) : limit;
    return CString(text, static_cast<int>(length));
}
