#pragma once
// The contact a drag carries: one ORVCONTACTINFO laid out as a fixed
// payload at the start of a global memory block offered under the
// "OrvaneContact" clipboard format (COrvDropTarget reads it).
#include "ControlsExport.h"

#include "CString.h"
#include "OrvContactInfo.h"

#include <windows.h>

#include <cstddef>
#include <cstdint>

// The payload is the object itself: its class table pointer, the 16-byte
// signature IID_OrvDragContactInfo, then the record's fields in their
// payload order, each string as a handle of a global text block. On the
// 32-bit program it is 64 bytes: 0 class table, 4 signature, 20 id,
// 24 nodeRank, 28 firstName, 32 lastName, 36 email, 40 occupation,
// 44 isMember, 48 canChat, 52 chatPresence, 56 emailPrivate, 60 chatHidden.
//
// The text blocks are this process's: a handle means nothing in another
// one. The library counts the owners of every text block (copies share
// the blocks, the last owner frees them), and a received payload is only
// read when each of its blocks is a live block of this process, so a
// payload from another process, or a stale or forged one, carries no
// contact instead of making the reader follow foreign handles.
class CTL_API COrvDragContactInfo {
public:
    static const GUID IID_OrvDragContactInfo;

    // Fills the signature and the fields from contact (null: an empty
    // contact), one text block per string field. Raises CMemoryException
    // when a block cannot be allocated (none is left behind then).
    explicit COrvDragContactInfo(const ORVCONTACTINFO* contact);
    // Copies share the text blocks.
    COrvDragContactInfo(const COrvDragContactInfo& other);
    COrvDragContactInfo& operator=(const COrvDragContactInfo& other);
    // Gives up the text blocks; the last owner frees them.
    virtual ~COrvDragContactInfo();

    // Copies every field back into contact, reading each text block.
    void GetContactInfo(ORVCONTACTINFO* contact) const;

    // A movable, shareable, zero-filled global block of blockSize bytes (at
    // least the payload) with the payload at its start, for a data object.
    // Raises CMemoryException when the block cannot be allocated. The block
    // is only good while this object (or a copy) lives.
    HGLOBAL CreateGlobalBlock(size_t blockSize = sizeof(COrvDragContactInfo)) const;

    // True when bytes (size of them) hold a payload with the signature.
    static bool HasSignature(const void* bytes, size_t size);
    // Fills contact from the bytes of a received block: true when they hold
    // a payload with the signature whose text blocks are live blocks of this
    // process; otherwise false and contact is left alone.
    static bool ReadPayload(const void* bytes, size_t size, ORVCONTACTINFO* contact);

    // A movable, shareable block of strlen(text) + 11 zero-filled bytes
    // holding the text and its terminating zero; raises CMemoryException.
    static HGLOBAL strToGlobal(const char* text);
    // The text up to the first zero within the block's first (size - 10)
    // bytes; a missing, unreadable or empty block reads as "".
    static CString globalToStr(HGLOBAL block);

private:
    // The words after the class table pointer, copied as they are.
    struct Fields_t {
        GUID signature;
        HGLOBAL id;
        int32_t nodeRank;
        HGLOBAL firstName;
        HGLOBAL lastName;
        HGLOBAL email;
        HGLOBAL occupation;
        int32_t isMember;
        int32_t canChat;
        HGLOBAL chatPresence;
        int32_t emailPrivate;
        int32_t chatHidden;
    };

    void AddOwner() const;
    void ReleaseOwner();
    static void FillContact(const Fields_t& fields, ORVCONTACTINFO* contact);

    Fields_t m_fields;
};

static_assert(sizeof(void*) != 4 || sizeof(COrvDragContactInfo) == 64,
              "the contact payload is 64 bytes on the 32-bit program");
